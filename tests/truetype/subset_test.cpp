// Subsets checked against their source faces: fontTools verifies structure, checksums and
// kept outlines; FreeType draws the kept glyphs; widths come from the source's metrics.
#include "export/truetype/truetypecollection.h"
#include "platform/gfx/fontdesc.h"
#include "platform/ui/fakes.h"
#include "tests/truetype/fixtures.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ttfix;

namespace {

struct SubsetCase {
    const char *name;
    QString (*file)();
    int face;
    QString text;                  // characters whose glyphs are kept
    std::vector<uint32_t> extra;   // glyph ids kept besides them
};

QString Composite() { return made(QStringLiteral("composite.ttf")); }
QString ShortOs2() { return made(QStringLiteral("shortos2.ttf")); }
QString Collection() { return made(QStringLiteral("collection.ttc")); }

const QString kMixed = QStringLiteral("Αλφάβητο ελληνικό, кириллица Съешь же ещё этих мягких французских булок ŁódźŠŽ");

const SubsetCase kSubsetCases[] = {
    {"LiberationItalian", liberationSans, 0, kItalian, {}},
    // Glyph ids at or above the glyph count are ignored; a value twice is kept once.
    {"LiberationOutOfRange", liberationSans, 0, QStringLiteral("AA"), {65000, 2620}},
    {"LiberationEmpty", liberationSans, 0, QString(), {}},
    // DejaVu Sans: composite accents; glyphs past numberOfHMetrics take the last advance.
    {"DejaVuMixed", dejaVuSans, 0, kItalian + kMixed, {6250, 6252}},
    {"TahomaItalian", tahoma, 0, kItalian, {}},
    // The last glyph is a composite of a composite of a period and an accented A.
    {"CompositeOfComposite", Composite, 0, QString(), {2620}},
    {"ShortOs2Last", ShortOs2, 0, kItalian, {}},
    {"CollectionBoldFace", Collection, 1, kItalian, {}},
};

void PrintTo(const SubsetCase &c, std::ostream *os) { *os << c.name; }

class Subset : public ::testing::TestWithParam<SubsetCase> {};

TEST_P(Subset, PassesFontToolsAndDrawsAsTheSource)
{
    const SubsetCase &c = GetParam();
    const QString path = c.file();
    const QByteArray source = readFile(path);
    ASSERT_FALSE(source.isEmpty()) << path.toStdString();
    std::vector<uint32_t> glyphs = glyphsOf(source, c.face, c.text);
    glyphs.insert(glyphs.end(), c.extra.begin(), c.extra.end());

    ui::FakeServices fakes;
    ttf::TrueTypeCollection tc;
    tc.Initialize(source);
    gfx::FontDesc desc;
    ttf::TrueTypeFont *font = tc.LoadFont(desc, c.face);
    ASSERT_NE(font, nullptr);
    const QByteArray subset = tc.PackFont(font, glyphs);
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
    EXPECT_EQ(wordSum(subset), 0xB1B0AFBAu);

    QTemporaryDir dir;
    QFile out(dir.filePath(QStringLiteral("subset.ttf")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(subset);
    out.close();
    QStringList ids;
    for (uint32_t g : glyphs)
        ids << QString::number(g);
    const ProcessResult r = python(QStringLiteral("check_subset.py"),
                                   {path, QString::number(c.face), out.fileName(), ids.join(QLatin1Char(','))});
    ASSERT_EQ(r.exitCode, 0) << r.out.toStdString();

    const QJsonObject report = QJsonDocument::fromJson(r.out).object();
    const QJsonArray kept = report.value(QStringLiteral("kept")).toArray();
    const QJsonObject widths = report.value(QStringLiteral("widths")).toObject();
    std::vector<uint32_t> keptIds;
    for (const auto &v : kept) {
        const uint32_t g = uint32_t(v.toInt());
        keptIds.push_back(g);
        EXPECT_EQ(font->get_GlyphWidth(g), widths.value(QString::number(g)).toInt()) << "glyph " << g;
    }
    EXPECT_EQ(font->get_Indices().size(), keptIds.size());
    EXPECT_EQ(drawnDifferently(source, c.face, subset, keptIds), std::vector<uint32_t>{});
}

INSTANTIATE_TEST_SUITE_P(Fonts, Subset, ::testing::ValuesIn(kSubsetCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(SubsetStructure, EmptyKeepListKeepsEveryTableWithEmptyGlyphs)
{
    ui::FakeServices fakes;
    const QByteArray source = readFile(liberationSans());
    ttf::TrueTypeCollection tc;
    tc.Initialize(source);
    ttf::TrueTypeFont *font = tc.LoadFont(gfx::FontDesc(), 0);
    const QByteArray subset = tc.PackFont(font, {});
    const int glyf = tableRecord(subset, "glyf"), loca = tableRecord(subset, "loca");
    ASSERT_GE(glyf, 0);
    ASSERT_GE(loca, 0);
    EXPECT_EQ(be32At(subset, glyf + 12), 0u);
    const uint32_t at = be32At(subset, loca + 8), len = be32At(subset, loca + 12);
    EXPECT_EQ(len, be32At(source, tableRecord(source, "loca") + 12));
    EXPECT_EQ(subset.mid(at, len), QByteArray(len, '\0'));
    // The first table starts right after the directory of the tables kept.
    const int n = (uchar(subset[4]) << 8) | uchar(subset[5]);
    uint32_t first = UINT32_MAX;
    for (int i = 0; i < n; ++i)
        first = std::min(first, be32At(subset, 12 + 16 * i + 8));
    EXPECT_EQ(first, uint32_t(12 + 16 * n));
}

TEST(SubsetStructure, PostBecomesVersionThreeWithItsHeaderFields)
{
    ui::FakeServices fakes;
    const QByteArray source = readFile(liberationSans());
    ASSERT_EQ(be32At(source, be32At(source, tableRecord(source, "post") + 8)), 0x00020000u);
    ttf::TrueTypeCollection tc;
    tc.Initialize(source);
    const QByteArray subset = tc.PackFont(tc.LoadFont(gfx::FontDesc(), 0), {36});
    const int rec = tableRecord(subset, "post");
    const uint32_t at = be32At(subset, rec + 8);
    EXPECT_EQ(be32At(subset, rec + 12), 32u);
    EXPECT_EQ(be32At(subset, at), 0x00030000u);
    const uint32_t src = be32At(source, tableRecord(source, "post") + 8);
    EXPECT_EQ(subset.mid(at + 4, 28), source.mid(src + 4, 28));
}

TEST(SubsetWidths, OwnAdvanceTimesThousandDivEm)
{
    // Liberation Mono: unitsPerEm 2048, every advance 1229 (outlined M, empty space).
    ui::FakeServices fakes;
    const QByteArray source = readFile(liberationMono());
    const std::vector<uint32_t> glyphs = glyphsOf(source, 0, QStringLiteral("M "));
    ttf::TrueTypeCollection tc;
    tc.Initialize(source);
    ttf::TrueTypeFont *font = tc.LoadFont(gfx::FontDesc(), 0);
    tc.PackFont(font, glyphs);
    EXPECT_EQ(font->get_GlyphWidth(glyphs[0]), 600);
    EXPECT_EQ(font->get_GlyphWidth(glyphs[1]), 600);
    EXPECT_EQ(font->get_GlyphWidth(glyphs[0] + 1), 0);   // not kept
}

} // namespace
