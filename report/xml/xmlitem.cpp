#include "report/xml/xmlitem.h"
#include "report/xml/xmlarena.h"
#include "report/xml/xmltext.h"
#include "report/base/codepage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace xml_detail {
namespace {

template <typename Char>
inline bool isBlank(Char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

inline char16_t upper(char16_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    // One unit to one unit: surrogates and characters whose upper case would change
    // the length stay as they are.
    if (QChar::isSurrogate(c))
        return c;
    const char32_t u = QChar::toUpper(char32_t(c));
    return u <= 0xFFFF ? char16_t(u) : c;
}

bool sameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x != y && upper(x) != upper(y))
            return false;
    }
    return true;
}

// The pair-by-pair scan over the units of a text; Same compares a name found with the one
// looked for.
template <typename Char, typename SameName>
bool findAttr(const Char *p, qsizetype n, SameName Same, AttrSpan &Span)
{
    qsizetype i = 0;
    for (;;) {
        while (i < n && isBlank(p[i]))
            ++i;
        if (i >= n)
            return false;
        const qsizetype nameStart = i;
        while (i < n && p[i] != '=' && !isBlank(p[i]))
            ++i;
        const qsizetype nameEnd = i;
        while (i < n && isBlank(p[i]))
            ++i;
        if (i >= n || p[i] != '=')
            return false;
        ++i;
        while (i < n && isBlank(p[i]))
            ++i;
        if (i >= n || p[i] != '"')
            return false;
        const qsizetype valueStart = ++i;
        while (i < n && p[i] != '"')
            ++i;
        if (i >= n)
            return false;
        if (Same(p + nameStart, nameEnd - nameStart)) {
            Span = {nameStart, valueStart, i};
            return true;
        }
        ++i;
    }
}

} // namespace

bool FindAttr(QStringView Text, QStringView Name, AttrSpan &Span)
{
    if (Name.isEmpty())
        return false;
    return findAttr(
        reinterpret_cast<const char16_t *>(Text.data()), Text.size(),
        [&](const char16_t *n, qsizetype size) { return sameName(QStringView(n, size), Name); }, Span);
}

bool FindAttr(const char *Text, qsizetype Size, QLatin1StringView Name, AttrSpan &Span)
{
    if (Name.isEmpty())
        return false;
    // Bytes of multi-byte characters are never ASCII, so comparing bytes finds exactly the
    // ASCII names the decoded text would show.
    return findAttr(
        Text, Size,
        [&](const char *n, qsizetype size) {
            if (size != Name.size())
                return false;
            for (qsizetype i = 0; i < size; ++i) {
                const char a = n[i], b = Name.data()[i];
                if (a != b && !(uchar(a | 0x20) >= 'a' && uchar(a | 0x20) <= 'z' && (a | 0x20) == (b | 0x20)))
                    return false;
            }
            return true;
        },
        Span);
}

} // namespace xml_detail

using xml_detail::AttrSpan;
using xml_detail::FindAttr;

TkvlXMLItem::~TkvlXMLItem()
{
    Clear();
    detach();
}

void TkvlXMLItem::operator delete(TkvlXMLItem *Item, std::destroying_delete_t)
{
    TkvlXMLArena *arena = Item->FArena;
    Item->~TkvlXMLItem();
    if (arena)
        arena->ItemDestroyed();
    else
        ::operator delete(Item);
}

void TkvlXMLItem::decodeRaw() const
{
    FText = FRawAnsi ? cp::FromAnsi(FRaw, FRawSize) : QString::fromUtf8(FRaw, FRawSize);
    FRaw = nullptr;
}

void TkvlXMLItem::freeList()
{
    if (FCapacity > 0)
        std::free(FList);
    FList = nullptr;
    FCount = FCapacity = 0;
}

void TkvlXMLItem::reserveOne()
{
    if (FCount < FCapacity)
        return;
    const int capacity = std::max(4, FCount * 2);
    auto **list = static_cast<TkvlXMLItem **>(std::malloc(sizeof(TkvlXMLItem *) * size_t(capacity)));
    if (!list)
        throw std::bad_alloc();
    if (FCount > 0)
        std::memcpy(list, FList, sizeof(TkvlXMLItem *) * size_t(FCount));
    if (FCapacity > 0)
        std::free(FList);
    FList = list;
    FCapacity = capacity;
}

void TkvlXMLItem::detach()
{
    if (!FParent)
        return;
    TkvlXMLItem *p = FParent;
    FParent = nullptr;
    // Most removals take the last child.
    int i = p->FCount - 1;
    while (i >= 0 && p->FList[i] != this)
        --i;
    if (i < 0)
        return;
    if (i < p->FCount - 1) {
        if (p->FCapacity == 0)
            p->reserveOne();  // the arena's list is not written to
        std::memmove(p->FList + i, p->FList + i + 1, sizeof(TkvlXMLItem *) * size_t(p->FCount - 1 - i));
    }
    --p->FCount;
}

void TkvlXMLItem::appendOwned(TkvlXMLItem *Item)
{
    reserveOne();
    FList[FCount++] = Item;
    Item->FParent = this;
}

TkvlXMLItem *TkvlXMLItem::Add()
{
    auto *item = new TkvlXMLItem;
    appendOwned(item);
    return item;
}

TkvlXMLItem *TkvlXMLItem::Add(const QString &Name)
{
    TkvlXMLItem *item = Add();
    item->FName = Name;
    return item;
}

TkvlXMLItem *TkvlXMLItem::AddInArena(TkvlXMLArena &Arena, const QString &Name, QStringView Text)
{
    const qsizetype size = kvlUtf8Size(Text);
    char *raw = size > 0 ? static_cast<char *>(Arena.Allocate(size_t(size), 1)) : nullptr;
    if (raw)
        kvlToUtf8(Text, raw);
    auto *item = new (Arena.Allocate(sizeof(TkvlXMLItem), alignof(TkvlXMLItem))) TkvlXMLItem;
    item->FArena = &Arena;
    Arena.ItemCreated();
    item->FName = Name;
    item->setRaw(raw, int(size), false);
    try {
        appendOwned(item);
    } catch (...) {
        delete item;
        throw;
    }
    return item;
}

void TkvlXMLItem::AddItem(TkvlXMLItem *Item)
{
    Item->detach();
    appendOwned(Item);
}

void TkvlXMLItem::InsertItem(int Index, TkvlXMLItem *Item)
{
    AddItem(Item);
    Index = std::clamp(Index, 0, FCount - 1);
    std::rotate(FList + Index, FList + FCount - 1, FList + FCount);
}

int TkvlXMLItem::Find(const QString &Name) const
{
    for (int i = 0; i < FCount; ++i)
        if (FList[i]->FName.compare(Name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TkvlXMLItem *TkvlXMLItem::FindItem(const QString &Name)
{
    const int i = Find(Name);
    return i >= 0 ? Items(i) : Add(Name);
}

int TkvlXMLItem::IndexOf(const TkvlXMLItem *Item) const
{
    for (int i = 0; i < FCount; ++i)
        if (FList[i] == Item)
            return i;
    return -1;
}

TkvlXMLItem *TkvlXMLItem::Root()
{
    TkvlXMLItem *r = this;
    while (r->FParent)
        r = r->FParent;
    return r;
}

void TkvlXMLItem::Clear()
{
    if (FList) {
        // The list is taken first and children are unlinked before they go, so that none
        // searches it. An arena list is read before its last element goes, which may free it.
        TkvlXMLItem **list = FList;
        const int count = FCount;
        const bool own = FCapacity > 0;
        FList = nullptr;
        FCount = FCapacity = 0;
        for (int i = 0; i < count; ++i) {
            TkvlXMLItem *child = list[i];
            child->FParent = nullptr;
            delete child;
        }
        if (own)
            std::free(list);
    }
    if (FUnloadable)
        FLoaded = false;
}

QString TkvlXMLItem::Prop(const QString &Name) const
{
    AttrSpan s;
    if (!FindAttr(Text(), Name, s))
        return {};
    return kvlXMLToStr(FText.mid(s.ValueStart, s.ValueEnd - s.ValueStart));
}

bool TkvlXMLItem::PropExists(const QString &Name) const
{
    AttrSpan s;
    return FindAttr(Text(), Name, s);
}

void TkvlXMLItem::SetProp(const QString &Name, const QString &Value)
{
    const QString pair = Name + QLatin1String("=\"") + kvlStrToXML(Value) + QLatin1Char('"');
    Text();
    AttrSpan s;
    if (FindAttr(FText, Name, s)) {
        FText.replace(s.NameStart, s.ValueEnd + 1 - s.NameStart, pair);
        return;
    }
    if (!FText.isEmpty() && !FText.endsWith(QLatin1Char(' ')))
        FText += QLatin1Char(' ');
    FText += pair;
}

void TkvlXMLItem::DeleteProp(const QString &Name)
{
    Text();
    AttrSpan s;
    if (!FindAttr(FText, Name, s))
        return;
    qsizetype end = s.ValueEnd + 1;
    // Also the blank that separated it from the next attribute.
    if (end < FText.size() && FText.at(end) == QLatin1Char(' '))
        ++end;
    FText.remove(s.NameStart, end - s.NameStart);
}
