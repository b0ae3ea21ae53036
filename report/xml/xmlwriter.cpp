#include "report/xml/xmlwriter.h"
#include "report/xml/xmldocument.h"
#include "report/xml/xmlitem.h"
#include "report/xml/xmltext.h"
#include "report/base/codepage.h"
#include "platform/rtl/stream.h"

#include <algorithm>
#include <vector>

namespace {

constexpr qsizetype kFlushAt = 4096;
constexpr qsizetype kSwapBlock = 256 * 1024;
const char kHeader[] = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>";
const char kMarker[] = " ld=\"0\"";

} // namespace

TkvlXMLWriter::TkvlXMLWriter(TStream &Stream, TkvlXMLDocument *Document)
    : FStream(Stream), FDocument(Document), FStreamPos(Stream.Position())
{
    FBuffer.reserve(2 * kFlushAt);
}

TkvlXMLWriter::~TkvlXMLWriter()
{
    try {
        flush();
    } catch (...) {
    }
}

void TkvlXMLWriter::flush()
{
    if (FBuffer.isEmpty())
        return;
    if (FStreamMoved) {
        FStream.SetPosition(FStreamPos);
        FStreamMoved = false;
    }
    FStream.WriteBuffer(FBuffer.constData(), FBuffer.size());
    FStreamPos += FBuffer.size();
    FBuffer.resize(0);
}

void TkvlXMLWriter::newLine()
{
    if (FAutoIndent)
        FBuffer.append("\r\n", 2);
    if (FBuffer.size() > kFlushAt)
        flush();
}

void TkvlXMLWriter::indent(int N)
{
    if (FAutoIndent && N > 0)
        FBuffer.append(N, ' ');
}

void TkvlXMLWriter::appendName(const QString &S)
{
    // Names are ASCII but for the rare element of a foreign file.
    const qsizetype n = S.size();
    const qsizetype old = FBuffer.size();
    FBuffer.resize(old + n);
    char *d = FBuffer.data() + old;
    const char16_t *p = reinterpret_cast<const char16_t *>(S.constData());
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] >= 0x80) {
            FBuffer.resize(old);
            cp::AppendAnsi(FBuffer, S);
            return;
        }
        d[i] = char(p[i]);
    }
}

void TkvlXMLWriter::appendUtf8(const QString &S)
{
    const qsizetype old = FBuffer.size();
    FBuffer.resize(old + 3 * S.size());
    FBuffer.resize(kvlToUtf8(S, FBuffer.data() + old) - FBuffer.data());
}

void TkvlXMLWriter::WriteHeader()
{
    FBuffer.append(kHeader, int(sizeof kHeader - 1));
    newLine();
}

void TkvlXMLWriter::writeStartTag(TkvlXMLItem *Item, int Indent, bool HasChildren)
{
    indent(Indent);
    FBuffer.append('<');
    appendName(Item->Name());
    if (Item->FRaw && !Item->FRawAnsi) {
        // Text not decoded since it was read as UTF-8: written back as it came.
        if (Item->FRaw[0] != ' ')
            FBuffer.append(' ');
        FBuffer.append(Item->FRaw, Item->FRawSize);
    } else if (const QString &text = Item->Text(); !text.isEmpty()) {
        if (!text.startsWith(QLatin1Char(' ')))
            FBuffer.append(' ');
        appendUtf8(text);
    }
    // The marker always follows a blank, so the reader recognises it.
    if (Item->Unloadable()) {
        FBuffer.append(kMarker, int(sizeof kMarker - 1));
    } else if (HasChildren || !Item->Value().isEmpty()) {
        // The reader drops one blank at the end of a tag and takes a final '/' for an empty
        // element: keep a tag ending in '/' from reading as one.
        if (FBuffer.endsWith('/'))
            FBuffer.append("  ", 2);
        else if (FBuffer.endsWith("/ "))
            FBuffer.append(' ');
    }
    if (HasChildren) {
        FBuffer.append('>');
    } else if (!Item->Value().isEmpty()) {
        // Element text is escaped too: a raw '<' would break the file for every reader.
        FBuffer.append('>');
        appendUtf8(kvlStrToXML(Item->Value()));
        FBuffer.append("</", 2);
        appendName(Item->Name());
        FBuffer.append('>');
    } else {
        FBuffer.append("/>", 2);
    }
    newLine();
}

void TkvlXMLWriter::writeEndTag(TkvlXMLItem *Item, int Indent)
{
    indent(Indent);
    FBuffer.append("</", 2);
    appendName(Item->Name());
    FBuffer.append('>');
    newLine();
}

// An element swapped out unchanged is written with its children copied from the swap file,
// which holds them as this writer writes them when it does not indent.
bool TkvlXMLWriter::copySwappedChildren(TkvlXMLItem *Item, int Indent)
{
    int64_t from = 0, to = 0;
    if (FAutoIndent || !FDocument || !FDocument->SwappedChildren(Item, from, to))
        return false;
    writeStartTag(Item, Indent, true);
    appendSwapped(from, to);
    writeEndTag(Item, Indent);
    return true;
}

void TkvlXMLWriter::appendSwapped(int64_t From, int64_t To)
{
    while (From < To) {
        if (From < FSwapBlockFrom || From >= FSwapBlockTo) {
            FSwapBlock.resize(size_t(kSwapBlock));
            const qsizetype got = FDocument->ReadSwapFile(From, FSwapBlock.data(), kSwapBlock);
            FStreamMoved = true;
            if (got <= 0)
                throw EReadError(QStringLiteral("Stream read error"));
            FSwapBlockFrom = From;
            FSwapBlockTo = From + got;
        }
        const char *bytes = FSwapBlock.data() + (From - FSwapBlockFrom);
        const qsizetype n = qsizetype(std::min(To, FSwapBlockTo) - From);
        From += n;
        if (n < kFlushAt) {
            FBuffer.append(bytes, n);
            if (FBuffer.size() > kFlushAt)
                flush();
            continue;
        }
        flush();
        if (FStreamMoved) {
            FStream.SetPosition(FStreamPos);
            FStreamMoved = false;
        }
        FStream.WriteBuffer(bytes, n);
        FStreamPos += n;
    }
}

void TkvlXMLWriter::WriteRootItem(TkvlXMLItem *Item)
{
    struct Frame {
        TkvlXMLItem *Item;
        int Next;       // index of the next child to write
        int Indent;
        bool Reloaded;  // read back from the swap stream: cleared again when written
    };
    std::vector<Frame> stack;
    stack.reserve(16);

    auto visit = [&](TkvlXMLItem *item, int ind) {
        bool reloaded = false;
        if (item->Unloadable() && !item->Loaded() && copySwappedChildren(item, ind))
            return;
        if (item->Unloadable() && !item->Loaded() && FDocument) {
            FDocument->LoadItem(item);
            FStreamMoved = true;
            reloaded = item->Loaded();
        }
        const bool hasChildren = item->Count() > 0;
        writeStartTag(item, ind, hasChildren);
        if (hasChildren)
            stack.push_back({item, 0, ind, reloaded});
        else if (reloaded)
            item->Clear();
    };

    FRootChildrenFrom = FRootChildrenTo = 0;
    visit(Item, 0);
    if (!stack.empty())
        FRootChildrenFrom = FStreamPos + FBuffer.size();
    while (!stack.empty()) {
        Frame &f = stack.back();
        if (f.Next < f.Item->Count()) {
            TkvlXMLItem *child = f.Item->Items(f.Next++);
            visit(child, f.Indent + 2);
            continue;
        }
        if (stack.size() == 1)
            FRootChildrenTo = FStreamPos + FBuffer.size();
        writeEndTag(f.Item, f.Indent);
        if (f.Reloaded)
            f.Item->Clear();
        stack.pop_back();
    }
    flush();
}
