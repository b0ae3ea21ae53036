// The table reader: moves, the font header's load, cmap formats, composite walks,
// checksum warnings and damaged fonts.
#include "export/truetype/cmaptable.h"
#include "export/truetype/fontheader.h"
#include "export/truetype/glyphtable.h"
#include "export/truetype/truetypecollection.h"
#include "platform/gfx/fontdesc.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/fakes.h"
#include "tests/truetype/fixtures.h"

#include <gtest/gtest.h>

using namespace ttfix;
using namespace ttf;

namespace {

TableEntry entryOf(const QByteArray &font, const char *tag)
{
    const int rec = tableRecord(font, tag);
    return {be32At(font, rec), be32At(font, rec + 4), be32At(font, rec + 8), be32At(font, rec + 12)};
}

TEST(StoreTable, HeadMovesFiftySixBytesAndNothingMovesInPlace)
{
    QByteArray font = readFile(liberationSans());
    const TableEntry head = entryOf(font, "head");
    ASSERT_EQ(head.length, 54u);
    FontBuffer buf(reinterpret_cast<uint8_t *>(font.data()), size_t(font.size()));

    FontHeaderClass t(head);
    QByteArray out(200, '\xEE');
    EXPECT_EQ(t.StoreTable(buf, out, 100), 156u);
    EXPECT_EQ(out.mid(100, 54), font.mid(head.offset, 54));
    EXPECT_EQ(out.mid(154, 2), QByteArray(2, '\0'));
    EXPECT_EQ(out.mid(156), QByteArray(44, '\xEE'));
    EXPECT_EQ(out.left(100), QByteArray(100, '\xEE'));
    EXPECT_EQ(t.saved.offset, 100u);

    // The same buffer at the same place: no copy (the bytes after head stay as they were).
    const QByteArray before = font;
    const char *data = font.constData();
    EXPECT_EQ(t.StoreTable(buf, font, head.offset), head.offset + 56);
    EXPECT_EQ(font.constData(), data);
    EXPECT_EQ(font, before);
}

TEST(FontHeader, LoadZeroesTheAdjustmentInTheCollectionsOwnCopy)
{
    ui::FakeServices fakes;
    const QByteArray source = readFile(liberationSans());
    const uint32_t at = entryOf(source, "head").offset + 8;
    ASSERT_NE(be32At(source, int(at)), 0u);
    TrueTypeCollection tc;
    tc.Initialize(source);
    TrueTypeFont *font = tc.LoadFont(gfx::FontDesc(), 0);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(be32At(tc.buffer(), int(at)), 0u);
    EXPECT_NE(be32At(source, int(at)), 0u);   // the caller's bytes are untouched
    EXPECT_EQ(font->font_header->unitsPerEm, 2048);
    EXPECT_EQ(font->font_header->get_indexToLocFormat(), IndexToLoc_LongType);
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

struct CmapCase {
    const char *name;
    QString (*file)();
    char16_t ch;
    uint16_t glyph;
};
QString Format12() { return made(QStringLiteral("format12.ttf")); }
QString Format0() { return made(QStringLiteral("composite.ttf")); }

const CmapCase kCmapCases[] = {
    {"Format4Letter", liberationSans, u'A', 36},
    {"Format4Accented", liberationSans, u'\u00C1', 131},
    {"Format4Missing", liberationSans, u'\u4E00', 0},
    {"Format4AboveLastSegment", liberationSans, u'\uFFFF', 0},
    {"Format12Alone", Format12, u'A', 0},
    {"Format0Alone", Format0, u'A', 0},
};

void PrintTo(const CmapCase &c, std::ostream *os) { *os << c.name; }

class Cmap : public ::testing::TestWithParam<CmapCase> {};

TEST_P(Cmap, GlyphOfCharacter)
{
    ui::FakeServices fakes;
    TrueTypeCollection tc;
    tc.Initialize(readFile(GetParam().file()));
    TrueTypeFont *font = tc.LoadFont(gfx::FontDesc(), 0);
    ASSERT_NE(font->cmap_table, nullptr);
    EXPECT_EQ(font->cmap_table->GetGlyphIndex(GetParam().ch), GetParam().glyph);
}

INSTANTIATE_TEST_SUITE_P(Formats, Cmap, ::testing::ValuesIn(kCmapCases),
                         [](const auto &info) { return std::string(info.param.name); });

// A composite glyph: header, then components of (flags, glyph, arguments, transform).
QByteArray composite(const std::vector<std::pair<uint16_t, uint16_t>> &components)
{
    QByteArray g("\xFF\xFF\0\0\0\0\0\0\0\0", 10);
    for (size_t i = 0; i < components.size(); ++i) {
        uint16_t flags = components[i].first;
        if (i + 1 < components.size())
            flags |= MORE_COMPONENTS;
        g.append(char(flags >> 8)).append(char(flags)).append(char(components[i].second >> 8)).append(char(components[i].second));
        int extra = (flags & ARG_1_AND_2_ARE_WORDS) ? 4 : 2;
        extra += (flags & WE_HAVE_A_SCALE) ? 2 : (flags & WE_HAVE_AN_X_AND_Y_SCALE) ? 4 : (flags & WE_HAVE_A_TWO_BY_TWO) ? 8 : 0;
        g.append(QByteArray(extra, '\x01'));
    }
    return g;
}

struct GlyphCase {
    const char *name;
    std::vector<std::pair<uint16_t, uint16_t>> components;
    int cut;   // bytes cut from the end
    std::vector<uint16_t> expected;
    bool damaged;
};

const GlyphCase kGlyphCases[] = {
    {"WordsAndScaleThenBytesAndMatrix",
     {{ARG_1_AND_2_ARE_WORDS | WE_HAVE_A_SCALE, 7}, {WE_HAVE_A_TWO_BY_TWO, 9}}, 0, {7, 9}, false},
    {"XAndYScale", {{WE_HAVE_AN_X_AND_Y_SCALE, 3}, {ARG_1_AND_2_ARE_WORDS, 4}, {0, 5}}, 0, {3, 4, 5}, false},
    {"MatrixCutShort", {{0, 2}, {WE_HAVE_A_TWO_BY_TWO, 9}}, 1, {}, true},
    {"MoreComponentsPastTheEnd", {{0, 2}, {0, 3}}, 6, {}, true},
};

void PrintTo(const GlyphCase &c, std::ostream *os) { *os << c.name; }

class CheckGlyph : public ::testing::TestWithParam<GlyphCase> {};

TEST_P(CheckGlyph, ListsDirectComponentsWithinTheGlyph)
{
    const GlyphCase &c = GetParam();
    QByteArray glyf = composite(c.components);
    glyf.chop(c.cut);
    const uint32_t size = uint32_t(glyf.size());
    glyf.append(QByteArray(16, '\x20'));   // what follows the glyph must not be read
    FontBuffer buf(reinterpret_cast<uint8_t *>(glyf.data()), size_t(glyf.size()));
    GlyphTableClass t(TableEntry{Tag("glyf"), 0, 0, uint32_t(glyf.size())});
    t.Load(buf);
    if (c.damaged) {
        EXPECT_THROW(t.CheckGlyph(0, size), Exception);
    } else {
        EXPECT_EQ(t.CheckGlyph(0, size), c.expected);
        EXPECT_EQ(t.GetGlyphHeader(0).numberOfContours, -1);
    }
}

INSTANTIATE_TEST_SUITE_P(Flags, CheckGlyph, ::testing::ValuesIn(kGlyphCases),
                         [](const auto &info) { return std::string(info.param.name); });

struct ChecksumCase {
    const char *name;
    std::vector<const char *> damaged;
};

void PrintTo(const ChecksumCase &c, std::ostream *os) { *os << c.name; }

class ChecksumWarning : public ::testing::TestWithParam<ChecksumCase> {};

TEST_P(ChecksumWarning, ShownOnceAndTheFontStillPacks)
{
    ui::FakeServices fakes;
    QByteArray source = readFile(liberationSans());
    for (const char *tag : GetParam().damaged) {
        const uint32_t at = entryOf(source, tag).offset + 20;
        source[at] = char(source[at] ^ 0x40);
    }
    TrueTypeCollection tc;
    tc.Initialize(source);
    TrueTypeFont *font = tc.LoadFont(gfx::FontDesc(), 0);
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    const ui::MessageRequest &box = fakes.messages.shown.front();
    EXPECT_EQ(box.caption, QStringLiteral("Font table checksum error"));
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Table ID \"%1\" checksum error.").arg(QLatin1String(GetParam().damaged[0]))))
        << box.text.toStdString();
    EXPECT_EQ(box.buttons, ui::mbYes | ui::mbNo);
    const QByteArray subset = tc.PackFont(font, {36, 68});
    EXPECT_EQ(wordSum(subset), 0xB1B0AFBAu);
    // Every table of the subset carries the checksum of its own bytes.
    TrueTypeCollection again;
    again.Initialize(subset);
    again.LoadFont(gfx::FontDesc(), 0);
    EXPECT_EQ(fakes.messages.shown.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Tables, ChecksumWarning,
                         ::testing::Values(ChecksumCase{"OneTable", {"name"}}, ChecksumCase{"TwoTables", {"kern", "post"}}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ChecksumFault, RaisedWithThrowException)
{
    QByteArray source = readFile(liberationSans());
    const uint32_t at = entryOf(source, "name").offset;
    source[at + 30] = char(source[at + 30] ^ 1);
    FontBuffer buf(reinterpret_cast<uint8_t *>(source.data()), size_t(source.size()));
    TrueTypeFont font(buf, 0, ChecksumFaultAction_ThrowException);
    try {
        font.PrepareFont({});
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Table ID \"name\" checksum error."))) << e.message().toStdString();
    }
}

// Damage applied to Liberation Sans: each is found before anything is read outside the bytes.
struct DamageCase {
    const char *name;
    void (*damage)(QByteArray &);
    const char *message;
};

const DamageCase kDamageCases[] = {
    {"CutInTheDirectory", [](QByteArray &f) { f.truncate(100); }, "TrueType font format error"},
    {"CutInTheLastTable", [](QByteArray &f) { f.chop(4000); }, "TrueType font format error"},
    {"TableBeyondTheEnd",
     [](QByteArray &f) { put32At(f, tableRecord(f, "glyf") + 12, 0x7FFFFFF0); },
     "TrueType font format error"},
    {"MoreMetricsThanHmtxHolds",
     [](QByteArray &f) {
         const int hhea = int(be32At(f, tableRecord(f, "hhea") + 8));
         f[hhea + 34] = '\xFF';
         f[hhea + 35] = '\xFF';
     },
     "TrueType font format error"},
    {"LocaGoingBackwards",
     [](QByteArray &f) { put32At(f, int(be32At(f, tableRecord(f, "loca") + 8)) + 4 * 37, 0); },
     "TrueType font format error"},
    {"GlyphPastGlyf",
     [](QByteArray &f) {
         const int loca = int(be32At(f, tableRecord(f, "loca") + 8));
         put32At(f, loca + 4 * 37, 0x7FFFFFF0);
     },
     "TrueType font format error"},
    {"UnknownLocaFormat",
     [](QByteArray &f) { f[int(be32At(f, tableRecord(f, "head") + 8)) + 51] = 2; },
     "Unsupported Index to Location format"},
    {"ZeroUnitsPerEm",
     [](QByteArray &f) {
         const int head = int(be32At(f, tableRecord(f, "head") + 8));
         f[head + 18] = 0;
         f[head + 19] = 0;
     },
     "TrueType font format error"},
    {"NameRecordPastStorage",
     [](QByteArray &f) {
         const int name = int(be32At(f, tableRecord(f, "name") + 8));
         for (int i = 0; i < 60; ++i)
             put32At(f, name + 6 + 12 * i + 8, 0xFFF0FFF0);
     },
     "TrueType font format error"},
    {"CollectionOfTooManyFaces",
     [](QByteArray &f) { f = QByteArray("ttcf\0\1\0\0\x7F\0\0\0", 12) + f; },
     "TrueType font format error"},
    {"UnknownCollectionVersion",
     [](QByteArray &f) { f = QByteArray("ttcf\0\3\0\0\0\0\0\1\0\0\0\20", 16) + f; },
     "Unknown font collection version"},
    {"NotAFont", [](QByteArray &f) { f = "wOFF" + f; }, "TrueType font format error"},
};

void PrintTo(const DamageCase &c, std::ostream *os) { *os << c.name; }

class Damaged : public ::testing::TestWithParam<DamageCase> {};

TEST_P(Damaged, RaisesAClearError)
{
    ui::FakeServices fakes;
    QByteArray source = readFile(liberationSans());
    GetParam().damage(source);
    try {
        TrueTypeCollection tc;
        tc.Initialize(source);
        // Glyphs 36 (A) and 37 pack: the damage to loca is in their entries.
        tc.PackFont(tc.LoadFont(gfx::FontDesc(), 0), {36, 37, 131});
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_EQ(e.message(), QString::fromLatin1(GetParam().message));
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, Damaged, ::testing::ValuesIn(kDamageCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
