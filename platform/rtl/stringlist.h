#pragma once
// List of strings with optional attached object pointers, sorting, duplicate control,
// name=value lines and delimited-text conversion.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList
{
public:
    TStringList() = default;
    explicit TStringList(const QStringList &lines);

    int Count() const { return int(m_items.size()); }
    // Index errors raise EStringListError "List index out of bounds (n)".
    const QString &Strings(int i) const;
    const QString &operator[](int i) const { return Strings(i); }
    void SetStrings(int i, const QString &s); // not allowed on a sorted list
    void *Objects(int i) const;
    void SetObjects(int i, void *obj);

    // Adds in order, or at the sorted position. On a sorted list a duplicate is skipped
    // (dupIgnore, returning the existing index), added (dupAccept) or refused (dupError).
    int Add(const QString &s);
    int AddObject(const QString &s, void *obj);
    void AddStrings(const TStringList &other);
    void Insert(int i, const QString &s); // not allowed on a sorted list
    void InsertObject(int i, const QString &s, void *obj);
    void Delete(int i);
    void Clear();
    void Exchange(int i, int j);
    void Move(int from, int to);
    void Assign(const TStringList &other); // strings, objects and settings

    int IndexOf(const QString &s) const;
    int IndexOfName(const QString &name) const;
    int IndexOfObject(const void *obj) const;
    // Binary search of a sorted list: true when found (index = first match), else
    // index = where s would go.
    bool Find(const QString &s, int &index) const;
    void Sort();
    void CustomSort(const std::function<int(const TStringList &, int, int)> &compare);

    // Lines each followed by LineBreak; setting splits at CR LF, LF or CR.
    QString Text() const;
    void SetText(const QString &text);
    // Items joined by Delimiter; items with blanks, quotes or delimiters are quoted with
    // QuoteChar (doubling inner quotes). Reading splits at Delimiter and, unless
    // StrictDelimiter, at blanks too.
    QString DelimitedText() const;
    void SetDelimitedText(const QString &text);
    // DelimitedText with ',' and '"'.
    QString CommaText() const;
    void SetCommaText(const QString &text);

    // name=value lines.
    QString Names(int i) const; // "" for a line without separator
    QString ValueFromIndex(int i) const;
    QString Values(const QString &name) const;
    void SetValues(const QString &name, const QString &value); // empty value deletes the line

    bool Sorted() const { return m_sorted; }
    void SetSorted(bool on);
    TDuplicates Duplicates() const { return m_duplicates; }
    void SetDuplicates(TDuplicates d) { m_duplicates = d; }
    bool CaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool on);

    QChar Delimiter = u',';
    QChar QuoteChar = u'"';
    QChar NameValueSeparator = u'=';
    bool StrictDelimiter = false;
    QString LineBreak = QStringLiteral("\r\n");

    QStringList toQStringList() const;
    int compareStrings(const QString &a, const QString &b) const;

private:
    struct Item
    {
        QString s;
        void *obj = nullptr;
    };
    void check(int i) const;
    void insertItem(int i, const QString &s, void *obj);

    std::vector<Item> m_items;
    bool m_sorted = false;
    bool m_caseSensitive = false;
    TDuplicates m_duplicates = dupIgnore;
};
