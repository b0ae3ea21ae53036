#include "platform/rtl/stringlist.h"

#include "platform/rtl/exceptions.h"

#include <algorithm>

using rtl::raise;
namespace msg = rtl::msg;

TStringList::TStringList(const QStringList &lines)
{
    m_items.reserve(size_t(lines.size()));
    for (const QString &s : lines)
        m_items.push_back({s, nullptr});
}

void TStringList::check(int i) const
{
    if (i < 0 || i >= Count())
        raise<EStringListError>(msg::ListIndexError, QString::number(i));
}

const QString &TStringList::Strings(int i) const
{
    check(i);
    return m_items[size_t(i)].s;
}

void TStringList::SetStrings(int i, const QString &s)
{
    if (m_sorted)
        raise<EStringListError>(msg::SortedListError);
    check(i);
    m_items[size_t(i)].s = s;
}

void *TStringList::Objects(int i) const
{
    check(i);
    return m_items[size_t(i)].obj;
}

void TStringList::SetObjects(int i, void *obj)
{
    check(i);
    m_items[size_t(i)].obj = obj;
}

int TStringList::compareStrings(const QString &a, const QString &b) const
{
    return QString::compare(a, b, m_caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

void TStringList::insertItem(int i, const QString &s, void *obj)
{
    m_items.insert(m_items.begin() + i, Item{s, obj});
}

int TStringList::Add(const QString &s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const QString &s, void *obj)
{
    int at = Count();
    if (m_sorted) {
        if (Find(s, at)) {
            if (m_duplicates == dupIgnore)
                return at;
            if (m_duplicates == dupError)
                raise<EStringListError>(msg::DuplicateString);
            // dupAccept: after the equal ones, keeping insertion order among them
            while (at < Count() && compareStrings(m_items[size_t(at)].s, s) == 0)
                ++at;
        }
    }
    insertItem(at, s, obj);
    return at;
}

void TStringList::AddStrings(const TStringList &other)
{
    const std::vector<Item> copy = other.m_items; // other may be this list
    for (const Item &it : copy)
        AddObject(it.s, it.obj);
}

void TStringList::Insert(int i, const QString &s) { InsertObject(i, s, nullptr); }

void TStringList::InsertObject(int i, const QString &s, void *obj)
{
    if (m_sorted)
        raise<EStringListError>(msg::SortedListError);
    if (i < 0 || i > Count())
        raise<EStringListError>(msg::ListIndexError, QString::number(i));
    insertItem(i, s, obj);
}

void TStringList::Delete(int i)
{
    check(i);
    m_items.erase(m_items.begin() + i);
}

void TStringList::Clear() { m_items.clear(); }

void TStringList::Exchange(int i, int j)
{
    check(i);
    check(j);
    std::swap(m_items[size_t(i)], m_items[size_t(j)]);
}

void TStringList::Move(int from, int to)
{
    if (from == to)
        return;
    check(from);
    check(to);
    Item it = m_items[size_t(from)];
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, std::move(it));
}

void TStringList::Assign(const TStringList &other)
{
    if (this == &other)
        return;
    m_items = other.m_items;
    m_sorted = other.m_sorted;
    m_caseSensitive = other.m_caseSensitive;
    m_duplicates = other.m_duplicates;
    Delimiter = other.Delimiter;
    QuoteChar = other.QuoteChar;
    NameValueSeparator = other.NameValueSeparator;
    StrictDelimiter = other.StrictDelimiter;
    LineBreak = other.LineBreak;
}

int TStringList::IndexOf(const QString &s) const
{
    if (m_sorted) {
        int at = 0;
        return Find(s, at) ? at : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (compareStrings(m_items[size_t(i)].s, s) == 0)
            return i;
    return -1;
}

int TStringList::IndexOfName(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        const QString &s = m_items[size_t(i)].s;
        const qsizetype p = s.indexOf(NameValueSeparator);
        if (p >= 0 && QString::compare(QStringView(s).left(p), name,
                                       m_caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TStringList::IndexOfObject(const void *obj) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_items[size_t(i)].obj == obj)
            return i;
    return -1;
}

bool TStringList::Find(const QString &s, int &index) const
{
    const auto it = std::lower_bound(m_items.begin(), m_items.end(), s,
                                     [this](const Item &a, const QString &b) { return compareStrings(a.s, b) < 0; });
    index = int(it - m_items.begin());
    return it != m_items.end() && compareStrings(it->s, s) == 0;
}

void TStringList::Sort()
{
    std::stable_sort(m_items.begin(), m_items.end(),
                     [this](const Item &a, const Item &b) { return compareStrings(a.s, b.s) < 0; });
}

void TStringList::CustomSort(const std::function<int(const TStringList &, int, int)> &compare)
{
    // The comparer sees indexes into this list: sort a permutation, then apply it.
    std::vector<int> order(m_items.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(m_items.size());
    for (int i : order)
        sorted.push_back(m_items[size_t(i)]);
    m_items = std::move(sorted);
}

void TStringList::SetSorted(bool on)
{
    if (on && !m_sorted)
        Sort();
    m_sorted = on;
}

void TStringList::SetCaseSensitive(bool on)
{
    if (on == m_caseSensitive)
        return;
    m_caseSensitive = on;
    if (m_sorted)
        Sort();
}

QString TStringList::Text() const
{
    QString out;
    for (const Item &it : m_items) {
        out += it.s;
        out += LineBreak;
    }
    return out;
}

void TStringList::SetText(const QString &text)
{
    Clear();
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            Add(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        Add(text.mid(start));
}

QString TStringList::DelimitedText() const
{
    if (Count() == 1 && m_items[0].s.isEmpty())
        return QString(2, QuoteChar);
    QString out;
    for (size_t k = 0; k < m_items.size(); ++k) {
        const QString &s = m_items[k].s;
        const bool quote = std::any_of(s.begin(), s.end(), [this](QChar c) {
            return c == QuoteChar || c == Delimiter || (!StrictDelimiter && c.unicode() <= u' ');
        });
        if (k > 0)
            out += Delimiter;
        if (quote) {
            out += QuoteChar;
            for (QChar c : s) {
                out += c;
                if (c == QuoteChar)
                    out += c;
            }
            out += QuoteChar;
        } else {
            out += s;
        }
    }
    return out;
}

void TStringList::SetDelimitedText(const QString &text)
{
    Clear();
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto blank = [&](qsizetype k) { return !StrictDelimiter && k < n && text[k].unicode() <= u' '; };
    while (blank(i))
        ++i;
    while (i < n) {
        QString item;
        if (text[i] == QuoteChar) {
            ++i;
            while (i < n) {
                if (text[i] == QuoteChar) {
                    if (i + 1 < n && text[i + 1] == QuoteChar) {
                        item += QuoteChar;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            const qsizetype start = i;
            while (i < n && text[i] != Delimiter && (StrictDelimiter || text[i].unicode() > u' '))
                ++i;
            item = text.mid(start, i - start);
        }
        Add(item);
        while (blank(i))
            ++i;
        if (i < n && text[i] == Delimiter) {
            ++i;
            if (i == n)
                Add(QString());
            while (blank(i))
                ++i;
        }
    }
}

QString TStringList::CommaText() const
{
    TStringList copy;
    copy.m_items = m_items;
    copy.StrictDelimiter = false;
    return copy.DelimitedText();
}

void TStringList::SetCommaText(const QString &text)
{
    const QChar d = Delimiter, q = QuoteChar;
    const bool strict = StrictDelimiter;
    Delimiter = u',';
    QuoteChar = u'"';
    StrictDelimiter = false;
    SetDelimitedText(text);
    Delimiter = d;
    QuoteChar = q;
    StrictDelimiter = strict;
}

QString TStringList::Names(int i) const
{
    const QString &s = Strings(i);
    const qsizetype p = s.indexOf(NameValueSeparator);
    return p < 0 ? QString() : s.left(p);
}

QString TStringList::ValueFromIndex(int i) const
{
    const QString &s = Strings(i);
    const qsizetype p = s.indexOf(NameValueSeparator);
    return p < 0 ? QString() : s.mid(p + 1);
}

QString TStringList::Values(const QString &name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? QString() : ValueFromIndex(i);
}

void TStringList::SetValues(const QString &name, const QString &value)
{
    const int i = IndexOfName(name);
    if (value.isEmpty()) {
        if (i >= 0)
            Delete(i);
        return;
    }
    QString line = name + NameValueSeparator + value;
    if (i < 0) {
        Add(line);
    } else if (m_sorted) {
        // The changed line moves to its sorted place, keeping its object.
        void *obj = m_items[size_t(i)].obj;
        Delete(i);
        AddObject(line, obj);
    } else {
        m_items[size_t(i)].s = std::move(line);
    }
}

QStringList TStringList::toQStringList() const
{
    QStringList out;
    out.reserve(Count());
    for (const Item &it : m_items)
        out << it.s;
    return out;
}
