#include "platform/rtl/inifile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QMutex>
#include <QSaveFile>
#include <QStringDecoder>
#include <cmath>

namespace {

// An ini file larger than this is not a settings file: read no more of it.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

// Bumped on every write through any TIniFile of the process, per file, so that
// other instances on the same file reload even within one clock tick.
QMutex gGenerationsLock;
QHash<QString, quint64> gGenerations;

quint64 generationOf(const QString &path)
{
    QMutexLocker lock(&gGenerationsLock);
    return gGenerations.value(path, 0);
}

quint64 bumpGeneration(const QString &path)
{
    QMutexLocker lock(&gGenerationsLock);
    return ++gGenerations[path];
}

struct Line {
    bool entry = false;
    QString key;   // as written in the file
    QString value; // unquoted
    QString raw;   // comments and blank lines, kept as they are
};

struct Section {
    QString name;
    QList<Line> lines;
    QHash<QString, int> keys; // folded key -> first line holding it

    void reindex()
    {
        keys.clear();
        // Walking back leaves the first occurrence of a repeated key, the one readers see.
        for (int i = int(lines.size()) - 1; i >= 0; --i)
            if (lines[i].entry)
                keys[lines[i].key.toCaseFolded()] = i;
    }
};

QString fold(const QString &s) { return s.trimmed().toCaseFolded(); }

// Line breaks inside a name or value would split the file's structure.
QString oneLine(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

bool isQuote(QChar c) { return c == QLatin1Char('"') || c == QLatin1Char('\''); }

QString unquote(const QString &v)
{
    if (v.size() >= 2 && isQuote(v.front()) && v.back() == v.front())
        return v.mid(1, v.size() - 2);
    return v;
}

// Quoted when reading would otherwise change it (surrounding blanks or quotes).
QString encodeValue(const QString &v)
{
    if (v.isEmpty())
        return v;
    const bool blanks = v.front().isSpace() || v.back().isSpace();
    const bool quoted = v.size() >= 2 && isQuote(v.front()) && v.back() == v.front();
    if (blanks || quoted)
        return QLatin1Char('"') + v + QLatin1Char('"');
    return v;
}

bool parseInt(const QString &text, int &out)
{
    QString t = text.trimmed();
    bool neg = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        neg = t.front() == QLatin1Char('-');
        t.remove(0, 1);
    }
    if (t.isEmpty() || t.front().isSpace() || t.front() == QLatin1Char('-') || t.front() == QLatin1Char('+'))
        return false;
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(QLatin1Char('$')) || t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        // Hexadecimal spans the whole 32 bits: $FFFFFFFF is -1.
        const QString digits = t.mid(t.front() == QLatin1Char('$') ? 1 : 2);
        if (digits.isEmpty())
            return false;
        for (QChar c : digits) {
            const char16_t u = c.unicode();
            if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f')))
                return false;
        }
        const quint64 u = digits.toULongLong(&ok, 16);
        if (!ok || u > 0xFFFFFFFFull)
            return false;
        v = qint64(qint32(quint32(u)));
    } else {
        for (QChar c : t)
            if (!c.isDigit())
                return false;
        v = t.toLongLong(&ok, 10);
        if (!ok)
            return false;
    }
    if (neg)
        v = -v;
    if (v < INT32_MIN || v > INT32_MAX)
        return false;
    out = int(v);
    return true;
}

} // namespace

struct TCustomIniFile::Data {
    QStringList preamble; // lines before the first section
    QList<Section> sections;
    QHash<QString, int> index; // folded section name -> position

    // What the model was last read from or written to.
    bool loaded = false;
    bool existed = false;
    qint64 size = -1;
    QDateTime modified;
    quint64 generation = 0;

    void clear()
    {
        preamble.clear();
        sections.clear();
        index.clear();
    }

    void reindex()
    {
        index.clear();
        for (int i = 0; i < sections.size(); ++i)
            index.insert(sections[i].name.toCaseFolded(), i);
    }

    const Section *find(const QString &name) const
    {
        const auto it = index.constFind(fold(name));
        return it == index.cend() ? nullptr : &sections[*it];
    }

    Section *find(const QString &name)
    {
        const auto it = index.constFind(fold(name));
        return it == index.cend() ? nullptr : &sections[*it];
    }

    Section &obtain(const QString &name)
    {
        if (Section *s = find(name))
            return *s;
        Section s;
        s.name = oneLine(name).trimmed();
        sections.append(s);
        index.insert(fold(s.name), int(sections.size()) - 1);
        return sections.back();
    }

    const Line *findLine(const QString &section, const QString &key) const
    {
        const Section *s = find(section);
        if (!s)
            return nullptr;
        const auto it = s->keys.constFind(fold(key));
        return it == s->keys.cend() ? nullptr : &s->lines[*it];
    }

    void parse(const QByteArray &bytes)
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8(bytes);
        if (utf8.hasError())
            text = QString::fromLatin1(bytes); // older files in a single-byte code page
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        parseText(text);
    }

    void parseText(const QString &text)
    {
        clear();
        Section *current = nullptr;
        const QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));
        for (QStringView lineView : lines) {
            if (lineView.endsWith(QLatin1Char('\r')))
                lineView.chop(1);
            const QString line = lineView.toString();
            const QString t = line.trimmed();
            if (t.startsWith(QLatin1Char('['))) {
                const qsizetype close = t.lastIndexOf(QLatin1Char(']'));
                const QString name = (close > 0 ? t.mid(1, close - 1) : t.mid(1)).trimmed();
                // A repeated section continues the first one.
                current = &obtain(name);
                continue;
            }
            Line l;
            const qsizetype eq = t.indexOf(QLatin1Char('='));
            if (current && eq >= 0 && !t.startsWith(QLatin1Char(';'))) {
                l.entry = true;
                l.key = t.left(eq).trimmed();
                l.value = unquote(t.mid(eq + 1).trimmed());
            } else {
                l.raw = line;
            }
            if (current)
                current->lines.append(l);
            else
                preamble.append(line);
        }
        // The split leaves one empty piece after the final line break.
        auto dropTrailingBlank = [](auto &list, auto isBlank) {
            if (!list.isEmpty() && isBlank(list.back()))
                list.removeLast();
        };
        if (current)
            dropTrailingBlank(sections.back().lines, [](const Line &l) { return !l.entry && l.raw.isEmpty(); });
        else
            dropTrailingBlank(preamble, [](const QString &s) { return s.isEmpty(); });
        for (Section &s : sections)
            s.reindex();
    }

    QByteArray serialize() const { return serializeText().toUtf8(); }

    QString serializeText() const
    {
        QString out;
        for (const QString &l : preamble)
            out += l + QLatin1Char('\n');
        for (const Section &s : sections) {
            out += QLatin1Char('[') + s.name + QLatin1String("]\n");
            for (const Line &l : s.lines) {
                if (l.entry)
                    out += l.key + QLatin1Char('=') + encodeValue(l.value) + QLatin1Char('\n');
                else
                    out += l.raw + QLatin1Char('\n');
            }
        }
        return out;
    }
};

namespace {

QString absolutePath(const QString &fileName) { return QFileInfo(fileName).absoluteFilePath(); }

// Date-times as days since 1899-12-30, the time of day as the fraction.
const QDate kEpoch(1899, 12, 30);

double toDays(const QDate &d, const QTime &t)
{
    const double days = double(kEpoch.daysTo(d));
    const double frac = t.msecsSinceStartOfDay() / 86400000.0;
    // Before the epoch the fraction still counts forward from midnight.
    return days < 0 ? days - frac : days + frac;
}

void fromDays(double v, QDate &d, QTime &t)
{
    const double whole = std::trunc(v);
    double frac = std::fabs(v - whole);
    d = kEpoch.addDays(qint64(whole));
    qint64 ms = qint64(std::llround(frac * 86400000.0));
    if (ms >= 86400000)
        ms = 86400000 - 1;
    t = QTime::fromMSecsSinceStartOfDay(int(ms));
}

} // namespace

TCustomIniFile::TCustomIniFile(const QString &fileName) : FFileName(fileName), D(std::make_unique<Data>()) {}

TCustomIniFile::~TCustomIniFile() = default;

void TCustomIniFile::LoadFromFile() const
{
    const QString path = absolutePath(FFileName);
    const QFileInfo fi(path);
    const bool exists = fi.exists();
    D->clear();
    D->loaded = true;
    D->existed = exists;
    D->size = exists ? fi.size() : -1;
    D->modified = exists ? fi.lastModified() : QDateTime();
    D->generation = generationOf(path);
    if (!exists)
        return;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        D->parse(f.read(kMaxFileSize));
}

bool TCustomIniFile::UpdateFile()
{
    const QString path = absolutePath(FFileName);
    const QFileInfo fi(path);
    QDir().mkpath(fi.absolutePath());
    QSaveFile f(path);
    bool ok = f.open(QIODevice::WriteOnly);
    if (ok) {
        const QByteArray bytes = D->serialize();
        ok = f.write(bytes) == bytes.size() && f.commit();
    }
    if (!ok)
        f.cancelWriting();
    FLastWriteOk = ok;
    D->generation = bumpGeneration(path);
    if (ok) {
        const QFileInfo after(path);
        D->existed = true;
        D->size = after.size();
        D->modified = after.lastModified();
    }
    return ok;
}

QString TCustomIniFile::ReadString(const QString &section, const QString &ident, const QString &def) const
{
    BeforeAccess();
    const Line *l = D->findLine(section, ident);
    return l ? l->value : def;
}

void TCustomIniFile::WriteString(const QString &section, const QString &ident, const QString &value)
{
    BeforeAccess();
    Section &s = D->obtain(section);
    const QString key = oneLine(ident).trimmed();
    const QString v = oneLine(value);
    const auto it = s.keys.constFind(key.toCaseFolded());
    if (it != s.keys.cend()) {
        if (s.lines[*it].value == v && FLastWriteOk)
            return; // nothing to change
        s.lines[*it].value = v;
    } else {
        Line l;
        l.entry = true;
        l.key = key;
        l.value = v;
        // New keys go after the section's last entry, before trailing comments or blanks.
        qsizetype at = s.lines.size();
        while (at > 0 && !s.lines[at - 1].entry)
            --at;
        if (at == 0)
            at = s.lines.size();
        s.lines.insert(at, l);
        s.reindex();
    }
    Changed();
}

void TCustomIniFile::ReadSection(const QString &section, QStringList &keys) const
{
    BeforeAccess();
    keys.clear();
    if (const Section *s = D->find(section))
        for (qsizetype i = 0; i < s->lines.size(); ++i)
            if (s->lines[i].entry && s->keys.value(s->lines[i].key.toCaseFolded()) == i)
                keys.append(s->lines[i].key);
}

void TCustomIniFile::ReadSections(QStringList &sections) const
{
    BeforeAccess();
    sections.clear();
    for (const Section &s : D->sections)
        sections.append(s.name);
}

void TCustomIniFile::ReadSectionValues(const QString &section, QStringList &values) const
{
    BeforeAccess();
    values.clear();
    if (const Section *s = D->find(section))
        for (qsizetype i = 0; i < s->lines.size(); ++i)
            if (s->lines[i].entry && s->keys.value(s->lines[i].key.toCaseFolded()) == i)
                values.append(s->lines[i].key + QLatin1Char('=') + s->lines[i].value);
}

bool TCustomIniFile::SectionExists(const QString &section) const
{
    BeforeAccess();
    return D->find(section) != nullptr;
}

bool TCustomIniFile::ValueExists(const QString &section, const QString &ident) const
{
    BeforeAccess();
    return D->findLine(section, ident) != nullptr;
}

void TCustomIniFile::EraseSection(const QString &section)
{
    BeforeAccess();
    const auto it = D->index.constFind(fold(section));
    if (it == D->index.cend())
        return;
    D->sections.removeAt(*it);
    D->reindex();
    Changed();
}

void TCustomIniFile::DeleteKey(const QString &section, const QString &ident)
{
    BeforeAccess();
    Section *s = D->find(section);
    const QString k = fold(ident);
    if (!s || !s->keys.contains(k))
        return;
    s->lines.removeIf([&](const Line &l) { return l.entry && l.key.toCaseFolded() == k; });
    s->reindex();
    Changed();
}

int TCustomIniFile::ReadInteger(const QString &section, const QString &ident, int def) const
{
    int v = 0;
    return parseInt(ReadString(section, ident, QString()), v) ? v : def;
}

void TCustomIniFile::WriteInteger(const QString &section, const QString &ident, int value)
{
    WriteString(section, ident, QString::number(value));
}

bool TCustomIniFile::ReadBool(const QString &section, const QString &ident, bool def) const
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString &section, const QString &ident, bool value)
{
    WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TCustomIniFile::ReadFloat(const QString &section, const QString &ident, double def) const
{
    QString t = ReadString(section, ident, QString()).trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(v) ? v : def;
}

void TCustomIniFile::WriteFloat(const QString &section, const QString &ident, double value)
{
    WriteString(section, ident, QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest));
}

double TCustomIniFile::ReadDate(const QString &section, const QString &ident, double def) const
{
    const QDate d = QDate::fromString(ReadString(section, ident, QString()).trimmed(), QStringLiteral("yyyy-MM-dd"));
    return d.isValid() ? toDays(d, QTime(0, 0)) : def;
}

void TCustomIniFile::WriteDate(const QString &section, const QString &ident, double value)
{
    QDate d;
    QTime t;
    fromDays(value, d, t);
    WriteString(section, ident, d.toString(QStringLiteral("yyyy-MM-dd")));
}

double TCustomIniFile::ReadDateTime(const QString &section, const QString &ident, double def) const
{
    const QDateTime dt = QDateTime::fromString(ReadString(section, ident, QString()).trimmed(),
                                               QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return dt.isValid() ? toDays(dt.date(), dt.time()) : def;
}

void TCustomIniFile::WriteDateTime(const QString &section, const QString &ident, double value)
{
    QDate d;
    QTime t;
    fromDays(value, d, t);
    WriteString(section, ident,
                d.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + t.toString(QStringLiteral("HH:mm:ss")));
}

double TCustomIniFile::ReadTime(const QString &section, const QString &ident, double def) const
{
    const QTime t = QTime::fromString(ReadString(section, ident, QString()).trimmed(), QStringLiteral("HH:mm:ss"));
    return t.isValid() ? t.msecsSinceStartOfDay() / 86400000.0 : def;
}

void TCustomIniFile::WriteTime(const QString &section, const QString &ident, double value)
{
    QDate d;
    QTime t;
    fromDays(value, d, t);
    WriteString(section, ident, t.toString(QStringLiteral("HH:mm:ss")));
}

int TCustomIniFile::ReadBinaryStream(const QString &section, const QString &ident, QByteArray &value) const
{
    value.clear();
    const QString text = ReadString(section, ident, QString()).trimmed();
    if (text.size() % 2 != 0)
        return 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f')))
            return 0;
    }
    value = QByteArray::fromHex(text.toLatin1());
    return int(value.size());
}

void TCustomIniFile::WriteBinaryStream(const QString &section, const QString &ident, const QByteArray &value)
{
    WriteString(section, ident, QString::fromLatin1(value.toHex().toUpper()));
}

QStringList TCustomIniFile::GetStrings() const
{
    BeforeAccess();
    QStringList lines = D->serializeText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

void TCustomIniFile::SetStrings(const QStringList &lines)
{
    BeforeAccess();
    D->parseText(lines.join(QLatin1Char('\n')));
    Changed();
}

TMemIniFile::TMemIniFile(const QString &fileName) : TCustomIniFile(fileName) { LoadFromFile(); }

void TMemIniFile::Clear() { Model().clear(); }

TIniFile::TIniFile(const QString &fileName) : TCustomIniFile(fileName) {}

void TIniFile::BeforeAccess() const
{
    // Reload when this file changed on disk or through another instance since it was read.
    const Data &d = Model();
    const QString path = absolutePath(FileName());
    const QFileInfo fi(path);
    const bool exists = fi.exists();
    if (d.loaded && generationOf(path) == d.generation && exists == d.existed
        && (!exists || (fi.size() == d.size && fi.lastModified() == d.modified)))
        return;
    LoadFromFile();
}

void TIniFile::Changed() { UpdateFile(); }
