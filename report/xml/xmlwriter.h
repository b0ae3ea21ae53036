#pragma once
// Buffered writer of the library's XML files.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

class TStream;
class TkvlXMLItem;
class TkvlXMLDocument;

class TkvlXMLWriter
{
public:
    // Document, when given, reads back its elements that are swapped out.
    explicit TkvlXMLWriter(TStream &Stream, TkvlXMLDocument *Document = nullptr);
    // Writes what is still buffered; errors are lost here, so WriteRootItem is the place to see them.
    ~TkvlXMLWriter();
    TkvlXMLWriter(const TkvlXMLWriter &) = delete;
    TkvlXMLWriter &operator=(const TkvlXMLWriter &) = delete;

    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool Value) { FAutoIndent = Value; }

    void WriteHeader();
    // Writes the element tree and flushes the buffer.
    void WriteRootItem(TkvlXMLItem *Item);
    // Where the last root element's children went in the stream (the end tag not
    // included); From == To when it had none.
    void RootChildren(int64_t &From, int64_t &To) const
    {
        From = FRootChildrenFrom;
        To = FRootChildrenTo;
    }

private:
    void flush();
    void newLine();
    void indent(int N);
    void appendName(const QString &S);
    void appendUtf8(const QString &S);
    void writeStartTag(TkvlXMLItem *Item, int Indent, bool HasChildren);
    void writeEndTag(TkvlXMLItem *Item, int Indent);
    bool copySwappedChildren(TkvlXMLItem *Item, int Indent);
    void appendSwapped(int64_t From, int64_t To);

    TStream &FStream;
    TkvlXMLDocument *FDocument;
    int64_t FStreamPos;  // where the next bytes go
    // The document was asked to read: it may have moved the stream (the swap file can be both).
    bool FStreamMoved = false;
    bool FAutoIndent = false;
    QByteArray FBuffer;
    int64_t FRootChildrenFrom = 0, FRootChildrenTo = 0;
    // A block of the swap file read ahead: swapped elements lie there mostly in the order
    // they are written.
    std::vector<char> FSwapBlock;
    int64_t FSwapBlockFrom = 0, FSwapBlockTo = 0;
};
