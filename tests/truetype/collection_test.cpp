// Font lookup: which face of a file or collection a report font gets, and what it is
// called when it stands in for another font.
#include "export/truetype/truetypecollection.h"
#include "platform/gfx/fontdesc.h"
#include "platform/gfx/fontservice.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/fakes.h"
#include "tests/truetype/fixtures.h"

#include <gtest/gtest.h>

using namespace ttfix;

namespace {

gfx::FontDesc fontOf(const QString &name, uint8_t style)
{
    gfx::FontDesc d;
    d.name = name;
    d.style = style;
    return d;
}

QString Collection() { return made(QStringLiteral("collection.ttc")); }
QString TahomaBold() { return QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf"); }

struct LookupCase {
    const char *name;
    QString (*file)();
    const char *font;
    uint8_t style;
    int faceIndex;
    size_t face;
    const char *substitution;
};

const LookupCase kLookupCases[] = {
    {"IndexRegular", Collection, "Liberation Sans", 0, 0, 0, ""},
    {"IndexBold", Collection, "Liberation Sans", gfx::StyleBold, 1, 1, ""},
    {"IndexOtherName", Collection, "Arial", gfx::StyleBold, 1, 1, "Arial Bold - Liberation Sans Bold"},
    {"NameBold", Collection, "Liberation Sans", gfx::StyleBold, -1, 1, ""},
    {"NameMissFirstFace", Collection, "Liberation Sans", gfx::StyleItalic, -1, 0,
     "Liberation Sans Italic - Liberation Sans"},
    {"SingleFontOtherName", liberationSans, "Arial", 0, 0, 0, "Arial - Liberation Sans"},
    {"SingleFontOwnName", liberationSans, "Liberation Sans", 0, 0, 0, ""},
    {"BoldTahoma", TahomaBold, "Tahoma", gfx::StyleBold, -1, 0, ""},
    {"TahomaBoldByName", TahomaBold, "Tahoma Bold", 0, -1, 0, "Tahoma Negreta - Tahoma Bold"},
};

void PrintTo(const LookupCase &c, std::ostream *os) { *os << c.name; }

class Lookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(Lookup, FaceAndSubstitutionName)
{
    const LookupCase &c = GetParam();
    ui::FakeServices fakes;
    ttf::TrueTypeCollection tc;
    tc.Initialize(readFile(c.file()));
    ttf::TrueTypeFont *font = tc.LoadFont(fontOf(QString::fromUtf8(c.font), c.style), c.faceIndex);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, tc.get_FontCollection()[c.face].get());
    EXPECT_EQ(font->FSubstitutionName, QString::fromUtf8(c.substitution));
}

INSTANTIATE_TEST_SUITE_P(Faces, Lookup, ::testing::ValuesIn(kLookupCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Collection, OnlyFacesUpToTheMatchArePrepared)
{
    ui::FakeServices fakes;
    ttf::TrueTypeCollection tc;
    tc.Initialize(readFile(Collection()));
    ASSERT_EQ(tc.get_FontCollection().size(), 2u);
    tc.LoadFont(fontOf(QStringLiteral("Liberation Sans"), 0));
    EXPECT_TRUE(tc.get_FontCollection()[0]->prepared());
    EXPECT_FALSE(tc.get_FontCollection()[1]->prepared());
    EXPECT_EQ(tc.get_Item(QStringLiteral("Ascender - Liberation Sans")), tc.get_FontCollection()[0].get());
    EXPECT_THROW(tc.get_Item(QStringLiteral("Liberation Sans")), Exception);
}

TEST(Collection, PostScriptOutlinesGiveNoFace)
{
    ttf::TrueTypeCollection tc;
    tc.Initialize(QByteArray("OTTO\0\0\0\0\0\0\0\0", 12));
    EXPECT_TRUE(tc.get_PostScriptOutlines());
    EXPECT_EQ(tc.LoadFont(gfx::FontDesc()), nullptr);
}

TEST(Collection, FaceWithPostScriptOutlinesInACollection)
{
    ui::FakeServices fakes;
    QByteArray bytes = readFile(Collection());
    const int face = int(be32At(bytes, 12));
    bytes.replace(face, 4, "OTTO");
    ttf::TrueTypeCollection tc;
    tc.Initialize(bytes);
    EXPECT_EQ(tc.LoadFont(gfx::FontDesc(), 0), nullptr);
    EXPECT_TRUE(tc.get_PostScriptOutlines());
}

TEST(Collection, FaceOfTheFontServiceAndItsSubset)
{
    // What the PDF writer does: the whole file and the face the font service resolved.
    ui::FakeServices fakes;
    gfx::FontService &fs = gfx::FontService::instance();
    const gfx::FontDesc arial = fontOf(QStringLiteral("Arial"), gfx::StyleBold);
    ttf::TrueTypeCollection tc;
    tc.Initialize(fs.fontData(arial, true));
    ttf::TrueTypeFont *font = tc.LoadFont(arial, fs.faceIndex(arial));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->FSubstitutionName, QStringLiteral("Arial Bold - Liberation Sans Bold"));
    EXPECT_EQ(font->GetFamilyName(), QStringLiteral("Liberation Sans"));
    const QByteArray subset = tc.PackFont(font, {36});
    EXPECT_EQ(wordSum(subset), 0xB1B0AFBAu);
}

} // namespace
