#pragma once
// The prepared pages' store of distinct pictures: each picture is written once, into a
// segment in memory or in a temporary file, and found again by its number (1-based).
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

class TPicture;
class TStream;
class TkvlPictureView;
class TkvlXMLItem;

class TkvlPictureCache {
public:
    TkvlPictureCache();
    // Clears first, so no temporary file outlives the cache.
    ~TkvlPictureCache();
    TkvlPictureCache(const TkvlPictureCache &) = delete;
    TkvlPictureCache &operator=(const TkvlPictureCache &) = delete;

    // Frees every segment and deletes the temporary files; the entries are emptied.
    void Clear();
    int Count() const { return int(FItems.size()); }

    // Files the view's picture as a new entry and sets its ImageIndex (0 without a picture).
    void AddPicture(TkvlPictureView *View);
    // The same for a bare picture; nullptr does nothing.
    void AddPicture(const TPicture *Picture, int &ImageIndex);
    // Gives the view entry ImageIndex; 0 or out of range clears its picture; without segments
    // nothing happens. The pictures of the last few entries read stay decoded and every
    // picture given out shares their pixels: a picture on many pages is decoded and held once.
    void GetPicture(TkvlPictureView *View);
    // The same for a bare picture; out of range or no segments does nothing.
    void GetPicture(TPicture *Picture, int Index);

    // One child "item" per entry, its bytes as hexadecimal text in the attribute "stream".
    void SaveToXML(TkvlXMLItem *Item);
    // Clear, then one entry per child element.
    void LoadFromXML(TkvlXMLItem *Item);

    // Both are ignored once a segment exists.
    const QString &TempDir() const { return FTempDir; }
    void SetTempDir(const QString &Value);
    bool UseFileCache() const { return FUseFileCache; }
    void SetUseFileCache(bool Value);
    // Temporary files of the segments in file mode.
    const QStringList &TempFile() const { return FTempFiles; }

    // A segment takes no new picture once it is larger than this.
    static constexpr int64_t kSegmentLimit = 1789569705;

private:
    struct Entry {
        int Segment;
        int64_t Offset;
    };
    // A new entry at the end of the current segment (a new segment when needed), with the
    // segment positioned there.
    TStream &NewEntry();
    // The byte range of entry Index.
    int64_t EntryEnd(int Index) const;
    bool Append(const TPicture &Picture);
    // Entry Index (1-based, in range) decoded, or nullptr when its data is no picture.
    TPicture *Decoded(int Index);

    struct DecodedEntry {
        int Index;
        std::unique_ptr<TPicture> Picture;
    };
    static constexpr size_t kDecodedKept = 4;

    std::vector<Entry> FItems;
    std::vector<std::unique_ptr<TStream>> FSegments;
    std::vector<DecodedEntry> FDecoded;  // the most recently read first
    QStringList FTempFiles;
    QString FTempDir;
    bool FUseFileCache = false;
};
