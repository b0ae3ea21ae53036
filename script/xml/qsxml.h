#pragma once
// The script engine's own small XML layer: grammars, the intermediate program and the
// catalogue of script names. Not a general XML parser: an element is a name and one raw
// attribute text, attributes are found by scanning that text, text between tags is
// skipped. Malformed input raises Exception("Invalid file format").
#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

class QIODevice;

class TqsXMLItem
{
public:
    TqsXMLItem() = default;
    ~TqsXMLItem();
    TqsXMLItem(const TqsXMLItem &) = delete;
    TqsXMLItem &operator=(const TqsXMLItem &) = delete;

    QString Name;
    QString Text;          // raw attribute text, values escaped by StrToXML
    intptr_t Data = 0;     // caller's tag, never read here

    int Count() const { return int(FItems.size()); }
    TqsXMLItem *Items(int index) const { return FItems.at(index); }
    TqsXMLItem *operator[](int index) const { return FItems.at(index); }
    TqsXMLItem *Parent() const { return FParent; }
    // Removes the element from its old parent's list; does not enter the new parent's list
    // (AddItem does both).
    void SetParent(TqsXMLItem *parent);

    TqsXMLItem *Add();
    void AddItem(TqsXMLItem *item);
    void InsertItem(int index, TqsXMLItem *item);
    int Find(const QString &name) const;        // index of the first child so named, or -1
    TqsXMLItem *FindItem(const QString &name);  // that child, appended when missing
    int IndexOf(const TqsXMLItem *item) const;
    TqsXMLItem *Root();
    void Clear();                               // frees the children
    void Assign(const TqsXMLItem *item);        // deep copy of name, text, data, children

    QString Prop(const QString &name) const;
    void SetProp(const QString &name, const QString &value);
    bool PropExists(const QString &name) const;

private:
    QList<TqsXMLItem *> FItems;
    TqsXMLItem *FParent = nullptr;
};

class TqsXMLDocument
{
public:
    TqsXMLDocument();
    ~TqsXMLDocument();
    TqsXMLDocument(const TqsXMLDocument &) = delete;
    TqsXMLDocument &operator=(const TqsXMLDocument &) = delete;

    TqsXMLItem *Root() const { return FRoot; }
    bool AutoIndent = false;

    void Clear();
    void LoadFromStream(QIODevice *stream);
    void SaveToStream(QIODevice *stream) const;
    void LoadFromFile(const QString &fileName);
    void SaveToFile(const QString &fileName) const;
    // In-memory conveniences over the stream forms.
    void LoadFromBytes(const QByteArray &bytes);
    QByteArray SaveToBytes() const;

private:
    TqsXMLItem *FRoot;
};

// Buffered reader. Reading starts at the stream's current position; destroying the
// reader puts the stream back just after the last byte consumed.
class TqsXMLReader
{
public:
    explicit TqsXMLReader(QIODevice *stream);
    ~TqsXMLReader();
    void ReadHeader();
    void ReadRootItem(TqsXMLItem *item);
    void SetPosition(int64_t offset);

    // Hostile input stays bounded: deeper nesting or longer tags are "Invalid file format".
    static constexpr int MaxDepth = 4096;
    static constexpr int MaxTagBytes = 64 * 1024 * 1024;

private:
    bool ReadTag(QByteArray &tag); // false at the end of the stream outside a tag
    bool Fill(); // false at the end of the stream
    bool NextByte(char &c);
    static void SplitTag(const QByteArray &tag, QString &name, QString &text);

    QIODevice *FStream;
    int64_t FPosition = 0; // logical position: bytes consumed
    char FBuffer[4096];
    int FBufPos = 0, FBufEnd = 0;
};

class TqsXMLWriter
{
public:
    explicit TqsXMLWriter(QIODevice *stream);
    ~TqsXMLWriter();
    bool AutoIndent = false;
    void WriteHeader();
    void WriteRootItem(const TqsXMLItem *item);

private:
    void WriteItem(const TqsXMLItem *item, int level);
    void WriteLine(const QByteArray &s);
    void Flush();

    QIODevice *FStream;
    QByteArray FBuffer;
};

// Attribute escaping: LF, CR, double quote, ampersand and angle brackets become "&#n;".
QString StrToXML(const QString &s);
// Appends s escaped as StrToXML does, without a copy when nothing needs escaping.
void AppendXML(QString &out, QStringView s);
// Decodes "&#n;" references and "&quot;"; every other ampersand stays.
QString XMLToStr(const QString &s);
