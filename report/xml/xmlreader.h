#pragma once
// Buffered reader of the library's XML files. It knows start tags, end tags and comments;
// text between tags is skipped.
#include "report/xml/xmlitem.h"

#include <QByteArray>
#include <QString>

#include "platform/rtl/exceptions.h"

#include <array>
#include <cstdint>
#include <vector>

class TStream;

// Raised for any malformed input, always with the message "Invalid file format".
class TkvlInvalidXMLException : public Exception
{
public:
    TkvlInvalidXMLException() : Exception(QStringLiteral("Invalid file format")) {}
    const char *className() const override { return "TkvlInvalidXMLException"; }
};

class TkvlXMLReader
{
public:
    // Deeper nesting or longer tags are taken as hostile input.
    static constexpr int kMaxDepth = 4096;
    static constexpr qsizetype kMaxTagLength = qsizetype(256) << 20;

    // Reading starts at the stream's current position.
    explicit TkvlXMLReader(TStream &Stream);
    // Leaves the stream right after the last byte consumed.
    ~TkvlXMLReader();
    TkvlXMLReader(const TkvlXMLReader &) = delete;
    TkvlXMLReader &operator=(const TkvlXMLReader &) = delete;

    // Reads the XML header; sets OldFormat for a file in the old single-byte form.
    void ReadHeader();
    // Reads one element with its children into Item. An element marked ld="0" loses the
    // marker; with ReadChildren false its children are skipped and it becomes unloadable
    // and not loaded, remembering where it starts.
    void ReadRootItem(TkvlXMLItem *Item, bool ReadChildren = true);
    void SetPosition(int64_t Offset);
    int64_t Position() const { return FBase + FBufPos; }

    bool OldFormat() const { return FOldFormat; }
    void SetOldFormat(bool Value) { FOldFormat = Value; }

private:
    friend class TkvlXMLDocument;

    struct Tag {
        bool End = true;          // an end tag, or the end of the stream
        bool SelfClosing = false;
        QString Name;
        const char *TextData = nullptr;
        qsizetype TextSize = 0;
    };

    bool fill();
    int getByte();
    [[noreturn]] void invalid() const;
    void readTag(Tag &T);
    void skipComment();
    QString internName(const char *Data, qsizetype Size);
    QString decodeText(const char *Data, qsizetype Size) const;
    bool openElement(TkvlXMLItem *Item, const Tag &T, bool ReadChildren, int64_t Start);
    void finishElement(TkvlXMLItem *Item, bool Unload, int64_t Start);

    TStream &FStream;
    int64_t FBase;  // stream position of FBuf[0]
    int FBufPos = 0, FBufEnd = 0;
    bool FOldFormat = false;
    TkvlXMLItem::Holder FHolder = TkvlXMLItem::Holder::None;
    // Reading an element back: marked elements inside it stay unloadable (with their children).
    bool FKeepUnloadable = false;
    char FBuf[65536];  // large enough that reading a big file costs few system calls
    std::vector<char> FTag;

    struct NameSlot {
        QByteArray Bytes;
        QString Name;
    };
    std::array<NameSlot, 256> FNames;
};
