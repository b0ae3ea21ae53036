#pragma once
// An XML document of the library: the root element, loading and saving, and partial
// loading (elements marked ld="0" stay on disk until needed; elements can be swapped out
// to a temporary file).
#include "report/xml/xmlitem.h"
#include "report/xml/xmlreader.h"
#include "report/xml/xmlwriter.h"
#include "report/xml/xmltext.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <unordered_map>

class TStream;

class TkvlXMLDocument
{
public:
    TkvlXMLDocument();
    ~TkvlXMLDocument();
    TkvlXMLDocument(const TkvlXMLDocument &) = delete;
    TkvlXMLDocument &operator=(const TkvlXMLDocument &) = delete;

    TkvlXMLItem *Root() const { return FRoot.get(); }
    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool Value) { FAutoIndent = Value; }
    // Folder of the swap file; empty or missing: the system's temporary folder.
    const QString &TempDir() const { return FTempDir; }
    void SetTempDir(const QString &Value) { FTempDir = Value; }
    // The last load read a file of the old single-byte form.
    bool OldVersion() const { return FOldVersion; }

    // Empties the root and closes the streams of partial loading (the swap file is deleted).
    void Clear();
    // Reads from the stream's position. With AllowPartialLoading the document takes the
    // stream over (it frees it on the next load, on Clear and when destroyed) and leaves
    // marked elements unloaded; otherwise the stream stays the caller's.
    void LoadFromStream(TStream *Stream, bool AllowPartialLoading = false);
    // Loads with partial loading; the file stays open while the document needs it.
    void LoadFromFile(const QString &FileName);
    void SaveToStream(TStream &Stream);
    // Writes FileName + ".tmp", then renames it over FileName (the old file stays whole
    // until the new one is complete), then loads the document from the saved file.
    void SaveToFile(const QString &FileName);

    // Reads an unloaded element's children back.
    void LoadItem(TkvlXMLItem *Item);
    // Moves a loaded, unloadable element's children to the swap file.
    void UnloadItem(TkvlXMLItem *Item);
    void CreateTempFile();
    void DeleteTempFile();
    const QString &TempFileName() const { return FTempFileName; }
    // Where the children of an element that UnloadItem moved out lie in the swap file (From
    // up to To, the end tag not included), so that a writer can copy them as they are
    // instead of reading them back; false when the element is not held there that way.
    bool SwappedChildren(const TkvlXMLItem *Item, int64_t &From, int64_t &To) const;
    // Reads up to Size bytes of the swap file at From into To; answers how many it read.
    qsizetype ReadSwapFile(int64_t From, char *To, qsizetype Size);

private:
    std::unique_ptr<TkvlXMLItem> FRoot;
    bool FAutoIndent = false;
    bool FOldVersion = false;
    QString FTempDir;
    // The stream taken over by a partial load and the swap file: an unloaded element
    // records which of them holds it, so both stay readable.
    std::unique_ptr<TStream> FLoadStream;
    std::unique_ptr<TStream> FSwapStream;
    QString FTempFileName;
    struct SwappedSpan {
        int64_t Offset, From, To;
    };
    std::unordered_map<const TkvlXMLItem *, SwappedSpan> FSwapped;
};
