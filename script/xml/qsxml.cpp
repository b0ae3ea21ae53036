#include "script/xml/qsxml.h"

#include "platform/rtl/exceptions.h"

#include <QBuffer>
#include <QFile>
#include <cstring>
#include <vector>

namespace {

[[noreturn]] void invalidFormat()
{
    throw Exception(QStringLiteral("Invalid file format"));
}

bool isBlank(QChar c) { return c.unicode() <= ' '; }

// Finds attribute `name` in a raw attribute text. Only real attribute names count: the
// scan walks name="value" pairs, so text inside another value never matches. A pair
// without '=' or quotes ends the scan.
bool findAttribute(const QString &text, QStringView name, qsizetype &pairStart, qsizetype &valueStart,
                   qsizetype &valueEnd)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n)
            break;
        const qsizetype ns = i;
        while (i < n && text[i] != QLatin1Char('=') && !isBlank(text[i]))
            ++i;
        const qsizetype ne = i;
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n || text[i] != QLatin1Char('='))
            return false;
        ++i;
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n || text[i] != QLatin1Char('"'))
            return false;
        const qsizetype vs = ++i;
        while (i < n && text[i] != QLatin1Char('"'))
            ++i;
        if (i >= n)
            return false;
        if (QStringView(text).mid(ns, ne - ns).compare(name, Qt::CaseInsensitive) == 0) {
            pairStart = ns;
            valueStart = vs;
            valueEnd = i;
            return true;
        }
        ++i;
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------------------------------
// TqsXMLItem

TqsXMLItem::~TqsXMLItem()
{
    Clear();
    if (FParent)
        FParent->FItems.removeOne(this);
}

void TqsXMLItem::SetParent(TqsXMLItem *parent)
{
    if (FParent)
        FParent->FItems.removeOne(this);
    FParent = parent;
}

TqsXMLItem *TqsXMLItem::Add()
{
    auto *item = new TqsXMLItem;
    AddItem(item);
    return item;
}

void TqsXMLItem::AddItem(TqsXMLItem *item)
{
    item->SetParent(this);
    FItems.append(item);
}

void TqsXMLItem::InsertItem(int index, TqsXMLItem *item)
{
    AddItem(item);
    FItems.move(FItems.size() - 1, qBound(0, index, int(FItems.size()) - 1));
}

int TqsXMLItem::Find(const QString &name) const
{
    for (int i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TqsXMLItem *TqsXMLItem::FindItem(const QString &name)
{
    const int i = Find(name);
    if (i >= 0)
        return FItems[i];
    TqsXMLItem *item = Add();
    item->Name = name;
    return item;
}

int TqsXMLItem::IndexOf(const TqsXMLItem *item) const
{
    return int(FItems.indexOf(const_cast<TqsXMLItem *>(item)));
}

TqsXMLItem *TqsXMLItem::Root()
{
    TqsXMLItem *r = this;
    while (r->FParent)
        r = r->FParent;
    return r;
}

void TqsXMLItem::Clear()
{
    const QList<TqsXMLItem *> items = std::move(FItems);
    FItems.clear();
    for (TqsXMLItem *item : items) {
        item->FParent = nullptr;
        delete item;
    }
}

void TqsXMLItem::Assign(const TqsXMLItem *item)
{
    if (!item || item == this)
        return;
    Clear();
    Name = item->Name;
    Text = item->Text;
    Data = item->Data;
    for (const TqsXMLItem *child : item->FItems)
        Add()->Assign(child);
}

QString TqsXMLItem::Prop(const QString &name) const
{
    qsizetype ps, vs, ve;
    if (!findAttribute(Text, name, ps, vs, ve))
        return QString();
    return XMLToStr(Text.mid(vs, ve - vs));
}

bool TqsXMLItem::PropExists(const QString &name) const
{
    qsizetype ps, vs, ve;
    return findAttribute(Text, name, ps, vs, ve);
}

void TqsXMLItem::SetProp(const QString &name, const QString &value)
{
    const QString pair = name + QLatin1String("=\"") + StrToXML(value) + QLatin1Char('"');
    qsizetype ps, vs, ve;
    if (findAttribute(Text, name, ps, vs, ve)) {
        Text.replace(ps, ve + 1 - ps, pair);
        return;
    }
    if (!Text.isEmpty() && !Text.endsWith(QLatin1Char(' ')))
        Text += QLatin1Char(' ');
    Text += pair;
}

// ---------------------------------------------------------------------------------------
// TqsXMLDocument

TqsXMLDocument::TqsXMLDocument() : FRoot(new TqsXMLItem) {}

TqsXMLDocument::~TqsXMLDocument() { delete FRoot; }

void TqsXMLDocument::Clear()
{
    FRoot->Clear();
    FRoot->Name.clear();
    FRoot->Text.clear();
}

void TqsXMLDocument::LoadFromStream(QIODevice *stream)
{
    Clear();
    TqsXMLReader reader(stream);
    reader.ReadHeader();
    reader.ReadRootItem(FRoot);
}

void TqsXMLDocument::SaveToStream(QIODevice *stream) const
{
    TqsXMLWriter writer(stream);
    writer.AutoIndent = AutoIndent;
    writer.WriteHeader();
    writer.WriteRootItem(FRoot);
}

void TqsXMLDocument::LoadFromFile(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, f.errorString()));
    LoadFromStream(&f);
}

void TqsXMLDocument::SaveToFile(const QString &fileName) const
{
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, f.errorString()));
    SaveToStream(&f);
}

void TqsXMLDocument::LoadFromBytes(const QByteArray &bytes)
{
    QByteArray copy(bytes);
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    LoadFromStream(&buf);
}

QByteArray TqsXMLDocument::SaveToBytes() const
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    SaveToStream(&buf);
    buf.close();
    return out;
}

// ---------------------------------------------------------------------------------------
// TqsXMLReader

TqsXMLReader::TqsXMLReader(QIODevice *stream) : FStream(stream)
{
    FPosition = stream->isSequential() ? 0 : stream->pos();
}

TqsXMLReader::~TqsXMLReader()
{
    if (!FStream->isSequential())
        FStream->seek(FPosition);
}

void TqsXMLReader::SetPosition(int64_t offset)
{
    FStream->seek(offset);
    FPosition = offset;
    FBufPos = FBufEnd = 0;
}

bool TqsXMLReader::Fill()
{
    if (FBufPos < FBufEnd)
        return true;
    const qint64 n = FStream->read(FBuffer, sizeof FBuffer);
    if (n <= 0)
        return false;
    FBufPos = 0;
    FBufEnd = int(n);
    return true;
}

bool TqsXMLReader::NextByte(char &c)
{
    if (!Fill())
        return false;
    c = FBuffer[FBufPos++];
    ++FPosition;
    return true;
}

bool TqsXMLReader::ReadTag(QByteArray &tag)
{
    for (;;) {
        // Outside a tag everything up to the next '<' is skipped.
        for (;;) {
            if (!Fill())
                return false;
            const char *from = FBuffer + FBufPos;
            const auto *lt = static_cast<const char *>(memchr(from, '<', size_t(FBufEnd - FBufPos)));
            const int taken = lt ? int(lt - from) + 1 : FBufEnd - FBufPos;
            FBufPos += taken;
            FPosition += taken;
            if (lt)
                break;
        }
        // Inside a tag: collect up to '>', taking whole runs of the buffer at once.
        tag.clear();
        for (;;) {
            if (!Fill())
                invalidFormat();
            const char *from = FBuffer + FBufPos;
            const int n = FBufEnd - FBufPos;
            int i = 0;
            while (i < n && from[i] != '>' && from[i] != '<')
                ++i;
            tag.append(from, i);
            FBufPos += i;
            FPosition += i;
            if (tag.size() > MaxTagBytes)
                invalidFormat();
            if (i < n) {
                const char c = from[i];
                ++FBufPos;
                ++FPosition;
                if (c == '<' && !tag.startsWith("!--"))
                    invalidFormat();
                if (c == '>')
                    break;
                tag.append(c); // a '<' inside a comment
            }
        }
        if (!tag.startsWith("!--"))
            return true;
        // A comment ends at a '>' preceded by exactly two dashes in a row (a third dash
        // starts the count again).
        int dashes = 0;
        for (qsizetype k = 3; k < tag.size(); ++k)
            dashes = (tag[k] == '-' && dashes < 2) ? dashes + 1 : 0;
        if (dashes == 2)
            continue; // the '>' just read closes the comment
        dashes = 0;   // that '>' broke any run of dashes
        char c;
        for (;;) {
            if (!NextByte(c))
                invalidFormat();
            if (c == '>' && dashes == 2)
                break;
            dashes = (c == '-' && dashes < 2) ? dashes + 1 : 0;
        }
    }
}

void TqsXMLReader::SplitTag(const QByteArray &tag, QString &name, QString &text)
{
    // Every blank before the closing bracket goes: "<a x/ >" closes the element as "<a x/>"
    // does, so what was read as open is never written back as closed.
    qsizetype len = tag.size();
    while (len > 0 && tag[len - 1] == ' ')
        --len;
    const qsizetype blank = tag.indexOf(' ');
    if (blank < 0 || blank >= len) {
        name = QString::fromLatin1(tag.constData(), len);
        text.clear();
    } else {
        name = QString::fromLatin1(tag.constData(), blank);
        text = QString::fromUtf8(tag.constData() + blank + 1, len - blank - 1);
    }
}

void TqsXMLReader::ReadHeader()
{
    QByteArray tag;
    if (!ReadTag(tag) || !tag.startsWith("?xml"))
        invalidFormat();
}

void TqsXMLReader::ReadRootItem(TqsXMLItem *root)
{
    QByteArray tag;
    QString name, text;
    // Returns true when the element just read may hold children.
    auto parse = [&](TqsXMLItem *item) {
        SplitTag(tag, name, text);
        bool open = true;
        if (name.endsWith(QLatin1Char('/'))) {
            name.chop(1);
            open = false;
        }
        // A slash left in the name could not be written back as the same element.
        if (name.contains(QLatin1Char('/')))
            invalidFormat();
        if (text.endsWith(QLatin1Char('/'))) {
            text.chop(1);
            open = false;
        }
        item->Name = name;
        item->Text = text;
        return open;
    };
    // An empty name, or one beginning with "/", is an end tag.
    auto isEndTag = [&] {
        SplitTag(tag, name, text);
        return name.isEmpty() || name.startsWith(QLatin1Char('/'));
    };
    if (!ReadTag(tag) || isEndTag())
        return;
    if (!parse(root))
        return;
    std::vector<TqsXMLItem *> stack{root};
    while (!stack.empty()) {
        if (!ReadTag(tag))
            return; // missing end tags at the end of the stream are tolerated
        if (isEndTag()) {
            if (QStringView(name).mid(1).compare(stack.back()->Name, Qt::CaseInsensitive) != 0)
                invalidFormat();
            stack.pop_back();
            continue;
        }
        auto *item = new TqsXMLItem;
        stack.back()->AddItem(item);
        if (parse(item)) {
            if (int(stack.size()) >= MaxDepth)
                invalidFormat();
            stack.push_back(item);
        }
    }
}

// ---------------------------------------------------------------------------------------
// TqsXMLWriter

TqsXMLWriter::TqsXMLWriter(QIODevice *stream) : FStream(stream) {}

TqsXMLWriter::~TqsXMLWriter() { Flush(); }

void TqsXMLWriter::Flush()
{
    if (!FBuffer.isEmpty()) {
        FStream->write(FBuffer);
        FBuffer.clear();
    }
}

void TqsXMLWriter::WriteLine(const QByteArray &s)
{
    FBuffer.append(s);
    if (AutoIndent)
        FBuffer.append("\r\n");
    if (FBuffer.size() > 4096)
        Flush();
}

void TqsXMLWriter::WriteHeader() { WriteLine(QByteArrayLiteral("<?xml version=\"1.0\"?>")); }

void TqsXMLWriter::WriteRootItem(const TqsXMLItem *item)
{
    WriteItem(item, 0);
    Flush();
}

void TqsXMLWriter::WriteItem(const TqsXMLItem *item, int level)
{
    QByteArray line;
    if (AutoIndent)
        line.fill(' ', level);
    line += '<';
    line += item->Name.toLatin1();
    if (!item->Text.isEmpty()) {
        if (!item->Text.startsWith(QLatin1Char(' ')))
            line += ' ';
        line += item->Text.toUtf8();
    }
    line += item->Count() > 0 ? ">" : "/>";
    WriteLine(line);
    if (item->Count() == 0)
        return;
    for (int i = 0; i < item->Count(); ++i)
        WriteItem(item->Items(i), level + 2);
    line.clear();
    if (AutoIndent)
        line.fill(' ', level);
    line += "</";
    line += item->Name.toLatin1();
    line += '>';
    WriteLine(line);
}

// ---------------------------------------------------------------------------------------
// Text functions

namespace {
bool xmlSpecial(char16_t c) { return c == 10 || c == 13 || c == '"' || c == '&' || c == '<' || c == '>'; }
} // namespace

void AppendXML(QString &out, QStringView s)
{
    qsizetype done = 0;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (!xmlSpecial(c))
            continue;
        out.append(s.mid(done, i - done));
        out += QLatin1String("&#");
        out += QString::number(int(c));
        out += QLatin1Char(';');
        done = i + 1;
    }
    out.append(s.mid(done));
}

QString StrToXML(const QString &s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && !xmlSpecial(s[i].unicode()))
        ++i;
    if (i == n)
        return s;
    QString out;
    out.reserve(n + 16);
    AppendXML(out, s);
    return out;
}

QString XMLToStr(const QString &s)
{
    const qsizetype n = s.size();
    if (!s.contains(QLatin1Char('&')))
        return s;
    QString out;
    out.reserve(n);
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c == QLatin1Char('&') && i < n - 1) {
            if (s[i + 1] == QLatin1Char('#') && i + 3 < n) {
                const qsizetype semi = s.indexOf(QLatin1Char(';'), i + 2);
                if (semi > i + 2) {
                    // Decimal digits only; anything else, or a code beyond the last
                    // character, leaves the reference as text.
                    bool ok = true;
                    uint code = 0;
                    for (qsizetype k = i + 2; k < semi && ok; ++k) {
                        const char16_t d = s[k].unicode();
                        ok = d >= '0' && d <= '9';
                        code = code * 10 + (d - '0');
                        if (code > 0x10FFFF)
                            ok = false;
                    }
                    if (ok) {
                        if (code > 0xFFFF) {
                            out += QChar(QChar::highSurrogate(code));
                            out += QChar(QChar::lowSurrogate(code));
                        } else {
                            out += QChar(char16_t(code));
                        }
                        i = semi + 1;
                        continue;
                    }
                }
            } else if (QStringView(s).mid(i, 6) == QLatin1String("&quot;")) {
                out += QLatin1Char('"');
                i += 6;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}
