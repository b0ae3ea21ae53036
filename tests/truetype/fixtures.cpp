#include "tests/truetype/fixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <memory>

namespace ttfix {

QString liberationSans() { return QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"); }
QString liberationSansBold() { return QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"); }
QString liberationMono() { return QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf"); }
QString dejaVuSans() { return QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"); }
QString tahoma() { return QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"); }

static QString scriptDir()
{
    return QString::fromLocal8Bit(qgetenv("LIRRA_SOURCE_DIR")) + QStringLiteral("/tests/truetype/");
}

ProcessResult python(const QString &script, const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), QStringList{scriptDir() + script} + args);
    ProcessResult r;
    if (!p.waitForFinished(120000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput() + p.readAllStandardError();
    return r;
}

QString made(const QString &name)
{
    static QTemporaryDir dir;
    static const bool done = python(QStringLiteral("make_fixtures.py"), {dir.path()}).exitCode == 0;
    return done ? dir.filePath(name) : QString();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

namespace {
struct Library {
    FT_Library lib = nullptr;
    Library() { FT_Init_FreeType(&lib); }
    ~Library() { FT_Done_FreeType(lib); }
};
struct Face {
    FT_Face face = nullptr;
    Face(FT_Library lib, const QByteArray &b, int index)
    {
        FT_New_Memory_Face(lib, reinterpret_cast<const FT_Byte *>(b.constData()), FT_Long(b.size()), index, &face);
    }
    ~Face()
    {
        if (face)
            FT_Done_Face(face);
    }
};

// The glyph's bitmap with its placement and advance, as one comparable value. Hinted by
// the font's own instructions; never auto-hinted, which derives its zones from other
// glyphs of the face (those a subset drops).
QByteArray drawn(FT_Face face, uint32_t glyph)
{
    if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER | FT_LOAD_NO_BITMAP | FT_LOAD_NO_AUTOHINT) != 0)
        return "failed";
    const FT_GlyphSlot s = face->glyph;
    QByteArray out = QByteArray::number(s->bitmap_left) + ',' + QByteArray::number(s->bitmap_top) + ',' +
                     QByteArray::number(qint64(s->advance.x)) + ',' + QByteArray::number(s->bitmap.width) + ',' +
                     QByteArray::number(s->bitmap.rows) + ':';
    for (unsigned r = 0; r < s->bitmap.rows; ++r)
        out.append(reinterpret_cast<const char *>(s->bitmap.buffer + r * s->bitmap.pitch), s->bitmap.width);
    return out;
}
} // namespace

std::vector<uint32_t> glyphsOf(const QByteArray &font, int face, const QString &text)
{
    Library l;
    Face f(l.lib, font, face);
    std::vector<uint32_t> out;
    for (char32_t c : text.toUcs4())
        out.push_back(f.face ? FT_Get_Char_Index(f.face, c) : 0);
    return out;
}

std::vector<uint32_t> drawnDifferently(const QByteArray &source, int face, const QByteArray &subset,
                                       const std::vector<uint32_t> &glyphs)
{
    Library l;
    Face a(l.lib, source, face), b(l.lib, subset, 0);
    if (!a.face || !b.face)
        return {0xFFFFFFFF};
    FT_Set_Pixel_Sizes(a.face, 0, 48);
    FT_Set_Pixel_Sizes(b.face, 0, 48);
    std::vector<uint32_t> out;
    for (uint32_t g : glyphs)
        if (drawn(a.face, g) != drawn(b.face, g))
            out.push_back(g);
    return out;
}

uint32_t be32At(const QByteArray &b, int at)
{
    const auto *p = reinterpret_cast<const uint8_t *>(b.constData()) + at;
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

void put32At(QByteArray &b, int at, uint32_t v)
{
    b[at] = char(v >> 24);
    b[at + 1] = char(v >> 16);
    b[at + 2] = char(v >> 8);
    b[at + 3] = char(v);
}

uint32_t wordSum(const QByteArray &bytes)
{
    uint32_t s = 0;
    for (int i = 0; i + 4 <= bytes.size(); i += 4)
        s += be32At(bytes, i);
    return s;
}

int tableRecord(const QByteArray &font, const char *tag, uint32_t selector)
{
    const int n = (uchar(font[selector + 4]) << 8) | uchar(font[selector + 5]);
    for (int i = 0; i < n; ++i) {
        const int at = int(selector) + 12 + 16 * i;
        if (std::memcmp(font.constData() + at, tag, 4) == 0)
            return at;
    }
    return -1;
}

} // namespace ttfix
