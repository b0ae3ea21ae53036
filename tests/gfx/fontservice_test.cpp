#include "platform/gfx/fontservice.h"
#include "platform/rtl/numeric.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

using gfx::FontDesc;
using gfx::FontService;

namespace {

FontDesc font(const char *name, int height, uint8_t style = 0)
{
    FontDesc d;
    d.name = QString::fromLatin1(name);
    d.height = height;
    d.style = style;
    return d;
}

// Reads a face with FreeType directly, independent of the service's own tables.
struct FtFace {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    explicit FtFace(const QString &file, int index = 0)
    {
        FT_Init_FreeType(&lib);
        FT_New_Face(lib, QFile::encodeName(file).constData(), index, &face);
    }
    ~FtFace()
    {
        if (face)
            FT_Done_Face(face);
        FT_Done_FreeType(lib);
    }
    int advanceUnits(char32_t c) const
    {
        FT_Load_Char(face, c, FT_LOAD_NO_SCALE);
        return int(face->glyph->metrics.horiAdvance);
    }
    const TT_OS2 *os2() const { return static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); }
};

quint32 be32(const QByteArray &b, int at)
{
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
}

void put32(QByteArray &b, int at, quint32 v)
{
    b[at] = char(v >> 24); b[at + 1] = char(v >> 16); b[at + 2] = char(v >> 8); b[at + 3] = char(v);
}

// A collection file holding the given single fonts, each copied whole with its table
// offsets moved to where it now lies.
QByteArray makeCollection(const QList<QByteArray> &fonts)
{
    QByteArray out("ttcf", 4);
    out.append(QByteArray(8 + 4 * fonts.size(), '\0'));
    put32(out, 4, 0x00010000);
    put32(out, 8, quint32(fonts.size()));
    for (int i = 0; i < fonts.size(); ++i) {
        QByteArray f = fonts[i];
        const int base = int(out.size());
        const int n = (uchar(f[4]) << 8) | uchar(f[5]);
        for (int t = 0; t < n; ++t)
            put32(f, 12 + 16 * t + 8, be32(f, 12 + 16 * t + 8) + quint32(base));
        put32(out, 12 + 4 * i, quint32(base));
        out.append(f);
    }
    return out;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(FontService, ResolvesTemplateFamiliesToFixedFaces)
{
    struct Case { const char *name; uint8_t style; const char *file; };
    const Case cases[] = {
        {"Arial", 0, "LiberationSans-Regular.ttf"},
        {"arial", 0, "LiberationSans-Regular.ttf"},
        {"Arial", gfx::StyleBold, "LiberationSans-Bold.ttf"},
        {"Arial", gfx::StyleBold | gfx::StyleItalic, "LiberationSans-BoldItalic.ttf"},
        {"Times New Roman", gfx::StyleItalic, "LiberationSerif-Italic.ttf"},
        {"Courier New", 0, "LiberationMono-Regular.ttf"},
        {"Tahoma", 0, "tahoma.ttf"},
    };
    for (const Case &c : cases) {
        const QString file = FontService::instance().fontFile(font(c.name, -13, c.style));
        EXPECT_EQ(QFileInfo(file).fileName(), QString::fromLatin1(c.file)) << c.name << int(c.style);
        EXPECT_EQ(FontService::instance().faceIndex(font(c.name, -13, c.style)), 0);
    }
}

TEST(FontService, AdvancesAtSixHundredDpiAreScaledFontUnitsRoundedPerGlyph)
{
    // 10 points at 600 dpi: em = 83 pixels.
    const FontDesc arial = font("Arial", -83);
    const auto sf = FontService::instance().scaledFont(arial);
    FtFace ft(FontService::instance().fontFile(arial));
    ASSERT_TRUE(ft.face);
    ASSERT_EQ(ft.face->units_per_EM, 2048);
    const QString text = QStringLiteral("AaWw il1.,;M@ \u00e8\u00e0\u20ac");
    std::vector<int> adv(size_t(text.size()));
    const int total = sf->advances(text, adv.data());
    int sum = 0;
    for (int i = 0; i < text.size(); ++i) {
        const int expect = int(rtl::Round(ft.advanceUnits(text[i].unicode()) * 83.0 / 2048.0));
        EXPECT_EQ(adv[size_t(i)], expect) << "char " << int(text[i].unicode());
        sum += expect;
    }
    EXPECT_EQ(total, sum);
    // Known values: 'W' is 1933 units, 'i' 455.
    EXPECT_EQ(sf->textWidth(u"W"), 78);
    EXPECT_EQ(sf->textWidth(u"i"), 18);
}

TEST(FontService, CellMetricsComeFromTheWindowsMetrics)
{
    const FontDesc arial = font("Arial", -83);
    FtFace ft(FontService::instance().fontFile(arial));
    ASSERT_TRUE(ft.os2());
    const gfx::TextMetrics &m = FontService::instance().font(arial)->metrics();
    EXPECT_EQ(ft.os2()->usWinAscent, 1854);
    EXPECT_EQ(ft.os2()->usWinDescent, 434);
    EXPECT_EQ(m.ascent, 75);    // 1854 * 83 / 2048 = 75.13
    EXPECT_EQ(m.descent, 18);   // 434 * 83 / 2048 = 17.59
    EXPECT_EQ(m.height, 93);
    EXPECT_EQ(m.internalLeading, 10);
    EXPECT_EQ(m.emHeight, 83);

    // A positive height is the cell height.
    const gfx::TextMetrics &c = FontService::instance().font(font("Arial", 93))->metrics();
    EXPECT_EQ(c.height, 93);
    EXPECT_NEAR(FontService::instance().emHeight(font("Arial", 93)), 93.0 * 2048 / 2288, 1e-9);
}

TEST(FontService, SurrogatePairCarriesItsAdvanceOnTheFirstUnit)
{
    const auto sf = FontService::instance().scaledFont(font("DejaVu Sans", -100));
    const QString s = QString::fromUcs4(U"a\U0001D400b");
    ASSERT_EQ(s.size(), 4);
    int adv[4];
    sf->advances(s, adv);
    EXPECT_EQ(adv[2], 0);
    EXPECT_EQ(adv[0], sf->textWidth(u"a"));
    EXPECT_EQ(adv[3], sf->textWidth(u"b"));
}

TEST(FontService, UnknownFamilyStillMeasures)
{
    const auto f = FontService::instance().font(font("No Such Family 123", -20));
    EXPECT_GT(f->textWidth(u"abc"), 0);
    EXPECT_GT(f->metrics().height, 0);
}

TEST(FontService, OutlineMetricsOfArial)
{
    const gfx::OutlineMetrics om = FontService::instance().outlineMetrics(font("Arial", -13));
    FtFace ft(FontService::instance().fontFile(font("Arial", -13)));
    EXPECT_EQ(om.unitsPerEm, 2048);
    EXPECT_EQ(om.familyName, QStringLiteral("Liberation Sans"));
    EXPECT_EQ(om.xMin, ft.face->bbox.xMin);
    EXPECT_EQ(om.yMax, ft.face->bbox.yMax);
    EXPECT_EQ(om.capHeight, ft.os2()->sCapHeight);
    EXPECT_EQ(om.avgCharWidth, ft.os2()->xAvgCharWidth);
    EXPECT_EQ(om.weight, 400);
    EXPECT_EQ(om.italicAngle, 0.0);
    EXPECT_EQ(om.scaled(om.winAscent, 1000), 905);   // 1854 / 2048 em
    const gfx::OutlineMetrics it = FontService::instance().outlineMetrics(font("Arial", -13, gfx::StyleItalic));
    EXPECT_LT(it.italicAngle, -5.0);
    EXPECT_EQ(FontService::instance().outlineMetrics(font("Arial", -13, gfx::StyleBold)).weight, 700);
}

TEST(FontService, FontDataIsTheResolvedFile)
{
    const FontDesc arial = font("Arial", -13);
    const QByteArray data = FontService::instance().fontData(arial, true);
    EXPECT_EQ(data, readFile(FontService::instance().fontFile(arial)));
    EXPECT_EQ(FontService::instance().fontData(arial, false), data);
    EXPECT_FALSE(FontService::instance().isCollection(arial));
}

TEST(FontService, ExtractsOneFaceOfACollection)
{
    const QByteArray sans = readFile(FontService::instance().fontFile(font("Arial", -13)));
    const QByteArray serif = readFile(FontService::instance().fontFile(font("Times New Roman", -13)));
    const QByteArray ttc = makeCollection({sans, serif});
    const QByteArray face = gfx::extractCollectionFace(ttc, 1);
    ASSERT_FALSE(face.isEmpty());
    FT_Library lib;
    FT_Init_FreeType(&lib);
    FT_Face f = nullptr;
    ASSERT_EQ(FT_New_Memory_Face(lib, reinterpret_cast<const FT_Byte *>(face.constData()),
                                 FT_Long(face.size()), 0, &f), 0);
    EXPECT_STREQ(f->family_name, "Liberation Serif");
    EXPECT_EQ(f->num_faces, 1);
    FT_Done_Face(f);
    FT_Done_FreeType(lib);

    // Damaged or out-of-range collections give nothing, never a read past the data.
    EXPECT_TRUE(gfx::extractCollectionFace(ttc, 2).isEmpty());
    EXPECT_TRUE(gfx::extractCollectionFace(ttc, -1).isEmpty());
    EXPECT_TRUE(gfx::extractCollectionFace(ttc.left(20), 1).isEmpty());
    EXPECT_TRUE(gfx::extractCollectionFace(ttc.left(ttc.size() - 1000), 1).isEmpty());
}

TEST(FontService, DrawsWithARawFontOfTheSameFile)
{
    const auto sf = FontService::instance().scaledFont(font("Arial", -83));
    const QRawFont raw = sf->rawFont();
    ASSERT_TRUE(raw.isValid());
    EXPECT_EQ(raw.familyName(), QStringLiteral("Liberation Sans"));
    EXPECT_DOUBLE_EQ(raw.pixelSize(), 83.0);
    uint32_t g = 0;
    sf->glyphIndexes(u"W", &g);
    const QList<quint32> qg = raw.glyphIndexesForString(QStringLiteral("W"));
    ASSERT_EQ(qg.size(), 1);
    EXPECT_EQ(g, qg[0]);
}

TEST(FontService, ListsInstalledFamiliesSortedOnce)
{
    const auto fams = FontService::instance().families();
    ASSERT_FALSE(fams.empty());
    bool sans = false, tahoma = false;
    for (size_t i = 0; i < fams.size(); ++i) {
        sans = sans || fams[i].name == QStringLiteral("Liberation Sans");
        tahoma = tahoma || fams[i].name == QStringLiteral("Tahoma");
        if (i) {
            EXPECT_LT(fams[i - 1].name.compare(fams[i].name, Qt::CaseInsensitive), 0);
        }
    }
    EXPECT_TRUE(sans);
    EXPECT_TRUE(tahoma);
}

TEST(FakeMeasurer, EveryCharacterHasTheSameWidth)
{
    gfx::FakeMeasurer fake(7, 9, 3);
    const auto f = fake.font(font("Whatever", -40));
    int adv[3];
    EXPECT_EQ(f->advances(u"iWm", adv), 21);
    EXPECT_EQ(adv[0], 7);
    EXPECT_EQ(adv[2], 7);
    EXPECT_EQ(f->metrics().height, 12);
}

TEST(FontService, StylesTheFaceLacksAreSimulated)
{
    struct Case { const char *name; uint8_t style; bool bold, italic; };
    const Case cases[] = {
        {"Arial", gfx::StyleBold | gfx::StyleItalic, false, false},
        {"Tahoma", gfx::StyleBold, false, false},
        {"Tahoma", gfx::StyleItalic, false, true},
        {"DejaVu Math TeX Gyre", gfx::StyleBold, true, false},
        {"Arial", 0, false, false},
    };
    for (const Case &c : cases) {
        const auto sf = FontService::instance().scaledFont(font(c.name, -20, c.style));
        EXPECT_EQ(sf->syntheticBold(), c.bold) << c.name << int(c.style);
        EXPECT_EQ(sf->syntheticItalic(), c.italic) << c.name << int(c.style);
    }
}

TEST(FontService, CharsetIsTheFirstCodePageRangeOfTheFace)
{
    // Independent reading of the face's OS/2 table, then the Windows set of its first bit.
    const FontDesc arial = font("Arial", -16);
    FtFace ft(FontService::instance().fontFile(arial));
    ASSERT_TRUE(ft.os2());
    const gfx::OutlineMetrics om = FontService::instance().outlineMetrics(arial);
    EXPECT_EQ(om.codePageRange1, quint32(ft.os2()->ulCodePageRange1));
    EXPECT_TRUE(om.codePageRange1 & 1u);  // Latin 1
    EXPECT_EQ(om.windowsCharset(), 0);

    struct Case { quint32 r1, r2; int charset; };
    const Case cases[] = {
        {0, 0, 0},                     // no ranges: ANSI
        {1u << 2 | 1u << 3, 0, 204},   // Cyrillic before Greek
        {1u << 17, 0, 128},            // Japanese
        {1u << 31, 0, 2},              // symbol
        {0, 1u << 31, 255},            // OEM pages only
    };
    for (const Case &c : cases) {
        gfx::OutlineMetrics m;
        m.codePageRange1 = c.r1;
        m.codePageRange2 = c.r2;
        EXPECT_EQ(m.windowsCharset(), c.charset) << c.r1 << " " << c.r2;
    }
}
