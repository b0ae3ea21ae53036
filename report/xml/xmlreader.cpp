#include "report/xml/xmlreader.h"
#include "report/xml/xmlarena.h"
#include "report/base/codepage.h"
#include "platform/rtl/stream.h"

#include <cstring>

using xml_detail::AttrSpan;

TkvlXMLReader::TkvlXMLReader(TStream &Stream) : FStream(Stream), FBase(Stream.Position())
{
    FTag.reserve(4096);
}

TkvlXMLReader::~TkvlXMLReader()
{
    try {
        FStream.SetPosition(Position());
    } catch (...) {
        // A stream that cannot seek back has nothing more to give anyway.
    }
}

void TkvlXMLReader::invalid() const { throw TkvlInvalidXMLException(); }

void TkvlXMLReader::SetPosition(int64_t Offset)
{
    FStream.SetPosition(Offset);
    FBase = Offset;
    FBufPos = FBufEnd = 0;
}

bool TkvlXMLReader::fill()
{
    FBase += FBufEnd;
    FBufPos = FBufEnd = 0;
    FBufEnd = int(FStream.Read(FBuf, sizeof FBuf));
    return FBufEnd > 0;
}

inline int TkvlXMLReader::getByte()
{
    if (FBufPos == FBufEnd && !fill())
        return -1;
    return uchar(FBuf[FBufPos++]);
}

void TkvlXMLReader::skipComment()
{
    // Ends at a '>' after exactly two dashes in a row; a third dash starts the count again.
    int dashes = 0;
    for (;;) {
        const int c = getByte();
        if (c < 0)
            invalid();
        if (c == '-') {
            if (++dashes == 3)
                dashes = 0;
        } else if (c == '>' && dashes == 2) {
            return;
        } else {
            dashes = 0;
        }
    }
}

void TkvlXMLReader::readTag(Tag &T)
{
    for (;;) {
        // Outside a tag everything up to the next '<' is skipped.
        for (;;) {
            if (FBufPos == FBufEnd && !fill()) {
                T.End = true;
                T.SelfClosing = false;
                T.Name.clear();
                T.TextData = nullptr;
                T.TextSize = 0;
                return;
            }
            const void *lt = std::memchr(FBuf + FBufPos, '<', size_t(FBufEnd - FBufPos));
            if (lt) {
                FBufPos = int(static_cast<const char *>(lt) - FBuf) + 1;
                break;
            }
            FBufPos = FBufEnd;
        }
        FTag.clear();
        bool closed = false;
        while (FTag.size() < 3) {
            const int c = getByte();
            if (c < 0 || c == '<')
                invalid();
            if (c == '>') {
                closed = true;
                break;
            }
            FTag.push_back(char(c));
        }
        if (!closed && FTag[0] == '!' && FTag[1] == '-' && FTag[2] == '-') {
            skipComment();
            continue;
        }
        while (!closed) {
            if (FBufPos == FBufEnd && !fill())
                invalid();
            const char *start = FBuf + FBufPos;
            const size_t avail = size_t(FBufEnd - FBufPos);
            const char *gt = static_cast<const char *>(std::memchr(start, '>', avail));
            const size_t len = gt ? size_t(gt - start) : avail;
            if (std::memchr(start, '<', len))
                invalid();
            if (qsizetype(FTag.size() + len) > kMaxTagLength)
                invalid();
            FTag.insert(FTag.end(), start, start + len);
            FBufPos += int(len);
            if (gt) {
                ++FBufPos;
                closed = true;
            }
        }
        break;
    }

    const char *d = FTag.data();
    qsizetype n = qsizetype(FTag.size());
    if (n > 0 && d[n - 1] == ' ')
        --n;
    const char *blank = static_cast<const char *>(std::memchr(d, ' ', size_t(n)));
    qsizetype nameLen = blank ? blank - d : n;
    T.TextData = blank ? blank + 1 : d + n;
    T.TextSize = blank ? n - nameLen - 1 : 0;
    T.End = nameLen == 0 || d[0] == '/';
    T.SelfClosing = false;
    if (!T.End) {
        // A slash right after the name closes an element without attributes.
        if (!blank && d[nameLen - 1] == '/') {
            --nameLen;
            T.SelfClosing = true;
        }
        if (T.TextSize > 0 && T.TextData[T.TextSize - 1] == '/') {
            --T.TextSize;
            T.SelfClosing = true;
        }
    }
    T.Name = internName(d, nameLen);
}

QString TkvlXMLReader::internName(const char *Data, qsizetype Size)
{
    // Documents repeat a handful of names many times: share one string per name.
    uint32_t h = 2166136261u;
    for (qsizetype i = 0; i < Size; ++i)
        h = (h ^ uchar(Data[i])) * 16777619u;
    NameSlot &slot = FNames[h % FNames.size()];
    if (slot.Bytes.size() != Size || std::memcmp(slot.Bytes.constData(), Data, size_t(Size)) != 0) {
        slot.Bytes = QByteArray(Data, Size);
        slot.Name = cp::FromAnsi(Data, Size);
    }
    return slot.Name;
}

QString TkvlXMLReader::decodeText(const char *Data, qsizetype Size) const
{
    if (Size <= 0)
        return {};
    return FOldFormat ? cp::FromAnsi(Data, Size) : QString::fromUtf8(Data, Size);
}

void TkvlXMLReader::ReadHeader()
{
    Tag t;
    readTag(t);
    if (!t.Name.startsWith(QLatin1String("?xml")))
        invalid();
    const QByteArrayView text(t.TextData, t.TextSize);
    FOldFormat = false;
    const qsizetype v = text.indexOf("version=");
    if (v >= 0) {
        const qsizetype q = text.indexOf('"', v + 8);
        if (q >= 0 && q + 3 < text.size())
            FOldFormat = text.sliced(q + 1, 3) == "1.0" && !text.contains("standalone=");
    }
}

void TkvlXMLReader::finishElement(TkvlXMLItem *Item, bool Unload, int64_t Start)
{
    if (!Unload)
        return;
    Item->FUnloadable = true;
    Item->Clear();
    Item->FLoaded = false;
    Item->FOffset = Start;
    Item->FHolder = FHolder;
}

namespace {

// Strips every ld="0" marker (with the blank before it) from an attribute text, in place.
// Returns whether there was one.
template <typename Find, typename At, typename Remove>
bool stripMarkers(Find find, At at, Remove remove)
{
    bool found = false;
    AttrSpan s;
    while (find(s) && s.ValueEnd - s.ValueStart == 1 && at(s.ValueStart) == '0') {
        qsizetype from = s.NameStart;
        if (from > 0 && at(from - 1) == ' ')
            --from;
        remove(from, s.ValueEnd + 1 - from);
        found = true;
    }
    return found;
}

// Whether the bytes of an attribute text may hold an ld="0" marker: a quoted "0" after an
// '=' after the two letters of the name (blanks allowed between). Only then is the text
// scanned attribute by attribute, which costs far more than this search.
bool mayHoldMarker(const char *Text, qsizetype Size)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const char *end = Text + Size;
    // Found by its '0', which is rarer than quotes and searched for far faster than the
    // three bytes together.
    for (const char *p = Text + 1; p < end - 1;) {
        const void *found = std::memchr(p, '0', size_t(end - 1 - p));
        if (!found)
            return false;
        const char *zero = static_cast<const char *>(found);
        p = zero + 1;
        if (zero[-1] != '"' || zero[1] != '"')
            continue;
        const char *b = zero - 1;
        while (b > Text && blank(b[-1]))
            --b;
        if (b == Text || *--b != '=')
            continue;
        while (b > Text && blank(b[-1]))
            --b;
        if (b - Text < 2 || (b[-1] | 0x20) != 'd' || (b[-2] | 0x20) != 'l')
            continue;
        if (b - Text == 2 || blank(b[-3]) || b[-3] == '"')
            return true;
    }
    return false;
}

} // namespace

void TkvlXMLReader::ReadRootItem(TkvlXMLItem *Item, bool ReadChildren)
{
    struct Frame {
        TkvlXMLItem *Item;  // nil inside an element whose children are skipped
        QString Name;
        int64_t Start;
        size_t First;  // where its children begin in the pending list
        bool Unload;
        bool Skipping;
    };
    std::vector<Frame> stack;
    // Children wait here until their parent closes, so each list is made once at its size.
    std::vector<TkvlXMLItem *> pending;
    // The elements of this read live in an arena of their own that they keep alive; so
    // elements read again after being swapped out do not pile up in an older one.
    TkvlXMLArena *arena = new TkvlXMLArena;
    struct ArenaRelease {
        TkvlXMLArena *Arena;
        ~ArenaRelease() { Arena->Release(); }
    } release{arena};

    auto attachChildren = [&](Frame &f) {
        if (!f.Item || pending.size() == f.First)
            return;
        TkvlXMLItem *item = f.Item;
        const size_t n = pending.size() - f.First;
        if (item->FArena == arena && item->FCount == 0) {
            auto **list = static_cast<TkvlXMLItem **>(arena->Allocate(sizeof(TkvlXMLItem *) * n, alignof(TkvlXMLItem *)));
            std::memcpy(list, pending.data() + f.First, sizeof(TkvlXMLItem *) * n);
            item->adoptList(list, int(n));
        } else {
            for (size_t i = f.First; i < pending.size(); ++i)
                item->appendOwned(pending[i]);
        }
        pending.resize(f.First);
    };

    // Takes the tag into Item (unless it already has a name), strips the partial-loading
    // marker and opens a level for the children.
    auto open = [&](TkvlXMLItem *item, const Tag &t, int64_t start, bool skipping) {
        bool marked = false;
        if (item && item->FName.isEmpty() && item->FArena == arena) {
            // Kept as read, decoded when first asked for.
            item->FName = t.Name;
            char *raw = t.TextSize > 0 ? arena->CopyBytes(t.TextData, size_t(t.TextSize)) : nullptr;
            qsizetype size = t.TextSize;
            // Every marker goes, so that reading what the writer wrote gives the same text.
            if (size >= 6 && mayHoldMarker(raw, size))
                marked = stripMarkers([&](AttrSpan &s) { return xml_detail::FindAttr(raw, size, QLatin1StringView("ld"), s); },
                                      [&](qsizetype i) { return raw[i]; },
                                      [&](qsizetype from, qsizetype n) {
                                          std::memmove(raw + from, raw + from + n, size_t(size - from - n));
                                          size -= n;
                                      });
            item->setRaw(raw, int(size), FOldFormat);
        } else if (item) {
            if (item->FName.isEmpty()) {
                item->FName = t.Name;
                item->FText = decodeText(t.TextData, t.TextSize);
                item->FRaw = nullptr;
            }
            QString &text = const_cast<QString &>(item->Text());
            marked = stripMarkers([&](AttrSpan &s) { return xml_detail::FindAttr(text, u"ld", s); },
                                  [&](qsizetype i) { return text.at(i).unicode(); },
                                  [&](qsizetype from, qsizetype n) { text.remove(from, n); });
        }
        const bool unload = marked && !ReadChildren;
        if (marked && ReadChildren && FKeepUnloadable && item)
            item->FUnloadable = true;
        if (t.SelfClosing) {
            if (item)
                finishElement(item, unload, start);
            return;
        }
        if (stack.size() >= size_t(kMaxDepth))
            invalid();
        stack.push_back({item, t.Name, start, pending.size(), unload, skipping || unload});
    };

    try {
        Tag t;
        int64_t start = Position();
        readTag(t);
        if (t.End)
            return;
        open(Item, t, start, false);

        while (!stack.empty()) {
            start = Position();
            readTag(t);
            if (t.End) {
                Frame &f = stack.back();
                // An empty name (the end of the stream) closes without a check.
                if (!t.Name.isEmpty()) {
                    const QStringView endName = QStringView(t.Name).mid(1);
                    if (endName != f.Name && endName.compare(f.Name, Qt::CaseInsensitive) != 0)
                        invalid();
                }
                attachChildren(f);
                if (f.Item)
                    finishElement(f.Item, f.Unload, f.Start);
                stack.pop_back();
                continue;
            }
            if (stack.back().Skipping) {
                open(nullptr, t, start, true);
                continue;
            }
            auto *child = new (arena->Allocate(sizeof(TkvlXMLItem), alignof(TkvlXMLItem))) TkvlXMLItem;
            child->FArena = arena;
            arena->ItemCreated();
            child->FParent = stack.back().Item;
            pending.push_back(child);
            open(child, t, start, false);
        }
    } catch (...) {
        // The tree read so far stays: children still waiting join their parents.
        while (!stack.empty()) {
            attachChildren(stack.back());
            stack.pop_back();
        }
        throw;
    }
}
