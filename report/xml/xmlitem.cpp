#include "report/xml/xmlitem.h"
#include "report/xml/xmltext.h"

#include <algorithm>

namespace xml_detail {
namespace {

inline bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

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

} // namespace

bool FindAttr(QStringView Text, QStringView Name, AttrSpan &Span)
{
    if (Name.isEmpty())
        return false;
    const char16_t *p = reinterpret_cast<const char16_t *>(Text.data());
    const qsizetype n = Text.size();
    qsizetype i = 0;
    for (;;) {
        while (i < n && isBlank(p[i]))
            ++i;
        if (i >= n)
            return false;
        const qsizetype nameStart = i;
        while (i < n && p[i] != u'=' && !isBlank(p[i]))
            ++i;
        const qsizetype nameEnd = i;
        while (i < n && isBlank(p[i]))
            ++i;
        if (i >= n || p[i] != u'=')
            return false;
        ++i;
        while (i < n && isBlank(p[i]))
            ++i;
        if (i >= n || p[i] != u'"')
            return false;
        const qsizetype valueStart = ++i;
        while (i < n && p[i] != u'"')
            ++i;
        if (i >= n)
            return false;
        if (sameName(Text.mid(nameStart, nameEnd - nameStart), Name)) {
            Span = {nameStart, valueStart, i};
            return true;
        }
        ++i;
    }
}

} // namespace xml_detail

using xml_detail::AttrSpan;
using xml_detail::FindAttr;

TkvlXMLItem::~TkvlXMLItem()
{
    Clear();
    detach();
}

void TkvlXMLItem::detach()
{
    if (!FParent)
        return;
    auto &list = *FParent->FItems;
    // Most removals take the last child.
    if (!list.empty() && list.back() == this)
        list.pop_back();
    else
        list.erase(std::find(list.begin(), list.end(), this));
    FParent = nullptr;
}

void TkvlXMLItem::appendOwned(TkvlXMLItem *Item)
{
    if (!FItems)
        FItems = std::make_unique<std::vector<TkvlXMLItem *>>();
    FItems->push_back(Item);
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

void TkvlXMLItem::AddItem(TkvlXMLItem *Item)
{
    Item->detach();
    appendOwned(Item);
}

void TkvlXMLItem::InsertItem(int Index, TkvlXMLItem *Item)
{
    AddItem(Item);
    auto &list = *FItems;
    Index = std::clamp(Index, 0, int(list.size()) - 1);
    std::rotate(list.begin() + Index, list.end() - 1, list.end());
}

int TkvlXMLItem::Find(const QString &Name) const
{
    for (int i = 0; i < Count(); ++i)
        if ((*FItems)[size_t(i)]->FName.compare(Name, Qt::CaseInsensitive) == 0)
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
    if (!FItems)
        return -1;
    const auto it = std::find(FItems->begin(), FItems->end(), Item);
    return it == FItems->end() ? -1 : int(it - FItems->begin());
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
    if (FItems) {
        // Children are unlinked first so that each one need not search this list.
        std::unique_ptr<std::vector<TkvlXMLItem *>> items = std::move(FItems);
        for (TkvlXMLItem *child : *items) {
            child->FParent = nullptr;
            delete child;
        }
    }
    if (FUnloadable)
        FLoaded = false;
}

QString TkvlXMLItem::Prop(const QString &Name) const
{
    AttrSpan s;
    if (!FindAttr(FText, Name, s))
        return {};
    return kvlXMLToStr(FText.mid(s.ValueStart, s.ValueEnd - s.ValueStart));
}

bool TkvlXMLItem::PropExists(const QString &Name) const
{
    AttrSpan s;
    return FindAttr(FText, Name, s);
}

void TkvlXMLItem::SetProp(const QString &Name, const QString &Value)
{
    const QString pair = Name + QLatin1String("=\"") + kvlStrToXML(Value) + QLatin1Char('"');
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
    AttrSpan s;
    if (!FindAttr(FText, Name, s))
        return;
    qsizetype end = s.ValueEnd + 1;
    // Also the blank that separated it from the next attribute.
    if (end < FText.size() && FText.at(end) == QLatin1Char(' '))
        ++end;
    FText.remove(s.NameStart, end - s.NameStart);
}
