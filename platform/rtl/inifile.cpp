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
        if (digits.isEmpty() || digits.front() == QLatin1Char('-') || digits.front() == QLatin1Char('+'))
            return false;
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

struct TIniFile::Data {
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
        clear();
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8(bytes);
        if (utf8.hasError())
            text = QString::fromLatin1(bytes); // older files in a single-byte code page
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
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

    QByteArray serialize() const
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
        return out.toUtf8();
    }
};

TIniFile::TIniFile(const QString &fileName)
    : FFileName(fileName), D(std::make_unique<Data>())
{
}

TIniFile::~TIniFile() = default;

namespace {

QString absolutePath(const QString &fileName) { return QFileInfo(fileName).absoluteFilePath(); }

} // namespace

void TIniFile::Refresh() const
{
    const QString path = absolutePath(FFileName);
    const QFileInfo fi(path);
    const bool exists = fi.exists();
    const quint64 gen = generationOf(path);
    if (D->loaded && gen == D->generation && exists == D->existed
        && (!exists || (fi.size() == D->size && fi.lastModified() == D->modified)))
        return;
    D->clear();
    D->loaded = true;
    D->existed = exists;
    D->size = exists ? fi.size() : -1;
    D->modified = exists ? fi.lastModified() : QDateTime();
    D->generation = gen;
    if (!exists)
        return;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        D->parse(f.read(kMaxFileSize));
}

bool TIniFile::UpdateFile()
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

void TIniFile::Changed() { UpdateFile(); }

QString TIniFile::ReadString(const QString &section, const QString &ident, const QString &def) const
{
    Refresh();
    const Line *l = D->findLine(section, ident);
    return l ? l->value : def;
}

void TIniFile::WriteString(const QString &section, const QString &ident, const QString &value)
{
    Refresh();
    Section &s = D->obtain(section);
    const QString key = oneLine(ident).trimmed();
    const auto it = s.keys.constFind(key.toCaseFolded());
    if (it != s.keys.cend()) {
        if (s.lines[*it].value == oneLine(value) && FLastWriteOk)
            return; // the file already says so
        s.lines[*it].value = oneLine(value);
    } else {
        Line l;
        l.entry = true;
        l.key = key;
        l.value = oneLine(value);
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

int TIniFile::ReadInteger(const QString &section, const QString &ident, int def) const
{
    Refresh();
    const Line *l = D->findLine(section, ident);
    int v = 0;
    return l && parseInt(l->value, v) ? v : def;
}

void TIniFile::WriteInteger(const QString &section, const QString &ident, int value)
{
    WriteString(section, ident, QString::number(value));
}

bool TIniFile::ReadBool(const QString &section, const QString &ident, bool def) const
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString &section, const QString &ident, bool value)
{
    WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TIniFile::ReadFloat(const QString &section, const QString &ident, double def) const
{
    Refresh();
    const Line *l = D->findLine(section, ident);
    if (!l)
        return def;
    QString t = l->value.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(v) ? v : def;
}

void TIniFile::WriteFloat(const QString &section, const QString &ident, double value)
{
    WriteString(section, ident, QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest));
}

void TIniFile::ReadSection(const QString &section, QStringList &keys) const
{
    Refresh();
    keys.clear();
    if (const Section *s = D->find(section))
        for (const Line &l : s->lines)
            if (l.entry && s->keys.value(l.key.toCaseFolded()) == &l - s->lines.constData())
                keys.append(l.key);
}

void TIniFile::ReadSections(QStringList &sections) const
{
    Refresh();
    sections.clear();
    for (const Section &s : D->sections)
        sections.append(s.name);
}

void TIniFile::ReadSectionValues(const QString &section, QStringList &values) const
{
    Refresh();
    values.clear();
    if (const Section *s = D->find(section))
        for (const Line &l : s->lines)
            if (l.entry && s->keys.value(l.key.toCaseFolded()) == &l - s->lines.constData())
                values.append(l.key + QLatin1Char('=') + l.value);
}

bool TIniFile::SectionExists(const QString &section) const
{
    Refresh();
    return D->find(section) != nullptr;
}

bool TIniFile::ValueExists(const QString &section, const QString &ident) const
{
    Refresh();
    return D->findLine(section, ident) != nullptr;
}

void TIniFile::EraseSection(const QString &section)
{
    Refresh();
    const auto it = D->index.constFind(fold(section));
    if (it == D->index.cend())
        return;
    D->sections.removeAt(*it);
    D->reindex();
    Changed();
}

void TIniFile::DeleteKey(const QString &section, const QString &ident)
{
    Refresh();
    Section *s = D->find(section);
    if (!s || !s->keys.contains(fold(ident)))
        return;
    const QString k = fold(ident);
    s->lines.removeIf([&](const Line &l) { return l.entry && l.key.toCaseFolded() == k; });
    s->reindex();
    Changed();
}
