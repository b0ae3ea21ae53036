#include "report/resources/resourcexml.h"

#include "platform/rtl/exceptions.h"

#include <QByteArray>
#include <optional>

namespace kvlres {

namespace {

constexpr int MaxDepth = 256;

[[noreturn]] void invalidFormat() { throw Exception(QStringLiteral("Invalid file format")); }

struct Tag {
    QByteArray name;
    QByteArray attrs;
};

class TagReader
{
public:
    explicit TagReader(const QByteArray &data) : d(data) {}

    // The next tag, skipping text between tags and comments; none at the end of the data.
    std::optional<Tag> next()
    {
        for (;;) {
            const qsizetype lt = d.indexOf('<', pos);
            if (lt < 0) {
                pos = d.size();
                return std::nullopt;
            }
            pos = lt + 1;
            if (d.mid(pos, 3) == "!--") {
                skipComment();
                continue;
            }
            const qsizetype gt = d.indexOf('>', pos);
            const qsizetype nextLt = d.indexOf('<', pos);
            if (gt < 0 || (nextLt >= 0 && nextLt < gt))
                invalidFormat();
            QByteArray body = d.mid(pos, gt - pos);
            pos = gt + 1;
            if (body.endsWith(' '))
                body.chop(1);
            Tag t;
            const qsizetype blank = body.indexOf(' ');
            if (blank < 0) {
                t.name = body;
            } else {
                t.name = body.left(blank);
                t.attrs = body.mid(blank + 1);
            }
            return t;
        }
    }

private:
    void skipComment()
    {
        pos += 3;
        int dashes = 0;
        while (pos < d.size()) {
            const char c = d[pos++];
            if (c == '>' && dashes == 2)
                return;
            dashes = (c == '-' && dashes < 2) ? dashes + 1 : 0;
        }
        invalidFormat();
    }

    const QByteArray &d;
    qsizetype pos = 0;
};

// The value of an attribute, found by parsing name="value" pairs in order (so text inside
// another attribute's value never matches); attribute names compare without regard to case.
std::optional<QByteArray> attribute(const QByteArray &attrs, QByteArrayView name)
{
    qsizetype i = 0;
    const qsizetype n = attrs.size();
    while (i < n) {
        while (i < n && (attrs[i] == ' ' || attrs[i] == '\t' || attrs[i] == '\r' || attrs[i] == '\n'))
            ++i;
        const qsizetype eq = attrs.indexOf('=', i);
        if (eq < 0 || eq + 1 >= n || attrs[eq + 1] != '"')
            return std::nullopt;
        const QByteArrayView key = QByteArrayView(attrs).sliced(i, eq - i).trimmed();
        const qsizetype close = attrs.indexOf('"', eq + 2);
        if (close < 0)
            return std::nullopt;
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return attrs.mid(eq + 2, close - eq - 2);
        i = close + 1;
    }
    return std::nullopt;
}

QString attributeText(const QByteArray &attrs, QByteArrayView name)
{
    const std::optional<QByteArray> v = attribute(attrs, name);
    return v ? XmlUnescape(QString::fromUtf8(*v)) : QString();
}

} // namespace

QString XmlUnescape(const QString &Text)
{
    if (!Text.contains(u'&'))
        return Text;
    QString out;
    out.reserve(Text.size());
    const qsizetype n = Text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = Text[i];
        if (c != u'&' || i == n - 1) {
            out += c;
            ++i;
            continue;
        }
        const QStringView rest = QStringView(Text).mid(i);
        if (rest.size() >= 4 && rest[1] == u'#') {
            const qsizetype semi = rest.indexOf(u';');
            if (semi > 2) {
                bool ok = false;
                const uint code = rest.mid(2, semi - 2).toUInt(&ok, 10);
                if (ok && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
                    const char32_t cp = code;
                    out += QString::fromUcs4(&cp, 1);
                    i += semi + 1;
                    continue;
                }
            }
        } else {
            static const struct {
                const char16_t *entity;
                char16_t ch;
            } named[] = {{u"&quot;", u'"'}, {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}};
            bool done = false;
            for (const auto &e : named) {
                const QStringView ent(e.entity);
                if (rest.startsWith(ent)) {
                    out += QChar(e.ch);
                    i += ent.size();
                    done = true;
                    break;
                }
            }
            if (done)
                continue;
        }
        out += c;
        ++i;
    }
    return out;
}

ResourceXml ReadResourceXml(QIODevice &Stream)
{
    const qint64 avail = Stream.isSequential() ? -1 : Stream.size() - Stream.pos();
    if (avail > MaxDocumentSize)
        invalidFormat();
    QByteArray data;
    if (avail > 0)
        data.reserve(avail);
    char block[65536];
    for (;;) {
        const qint64 n = Stream.read(block, sizeof block);
        if (n <= 0)
            break;
        if (data.size() + n > MaxDocumentSize)
            invalidFormat();
        data.append(block, n);
    }

    TagReader reader(data);
    const std::optional<Tag> header = reader.next();
    if (!header || !header->name.startsWith("?xml"))
        invalidFormat();

    ResourceXml result;
    const std::optional<Tag> root = reader.next();
    if (!root || root->name.isEmpty() || root->name.startsWith('/'))
        return result;
    QByteArray rootName = root->name;
    const bool rootEmpty = rootName.endsWith('/') || root->attrs.endsWith('/');
    if (rootName.endsWith('/'))
        rootName.chop(1);
    result.IsResources = rootName == "Resources";
    if (result.IsResources)
        result.CodePage = attributeText(root->attrs, "CodePage").toInt();
    if (rootEmpty)
        return result;

    QList<QByteArray> open{rootName};
    while (!open.isEmpty()) {
        const std::optional<Tag> t = reader.next();
        if (!t || t->name.isEmpty())
            break; // a document cut short is taken as far as it goes
        if (t->name.startsWith('/')) {
            if (QByteArrayView(t->name).sliced(1).compare(open.last(), Qt::CaseInsensitive) != 0)
                invalidFormat();
            open.removeLast();
            continue;
        }
        QByteArray name = t->name;
        const bool empty = name.endsWith('/') || t->attrs.endsWith('/');
        if (name.endsWith('/'))
            name.chop(1);
        if (result.IsResources && open.size() == 1 && name == "StrRes") {
            QByteArray attrs = t->attrs;
            if (attrs.endsWith('/'))
                attrs.chop(1);
            result.Entries.append({attributeText(attrs, "Name"), attributeText(attrs, "Text")});
        }
        if (!empty) {
            if (open.size() >= MaxDepth)
                invalidFormat();
            open.append(name);
        }
    }
    return result;
}

} // namespace kvlres
