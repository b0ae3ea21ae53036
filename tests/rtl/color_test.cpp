#include "platform/rtl/color.h"

#include <gtest/gtest.h>

namespace {

TEST(TColor, WindowsByteOrderAndSignedSystemColours)
{
    EXPECT_EQ(rtl::RGB(0x12, 0x34, 0x56), 0x563412);
    EXPECT_EQ(rtl::GetRValue(clRed), 0xFF);
    EXPECT_EQ(rtl::GetBValue(clBlue), 0xFF);
    EXPECT_EQ(clBtnFace, -16777201);
    EXPECT_EQ(clNone, 536870911);
}

struct Resolve {
    TColor in;
    TColor rgb;
};

TEST(TColor, ColorToRGBResolvesOnlySystemColours)
{
    const Resolve cases[] = {
        {clYellow, clYellow},
        {clNone, clNone},
        {clDefault, clDefault},
        {clWindow, clWhite},
        {clBtnFace, rtl::RGB(0xF0, 0xF0, 0xF0)},
        {cl3DLight, rtl::RGB(0xE3, 0xE3, 0xE3)},
        {clHighlight, rtl::RGB(0x00, 0x78, 0xD7)},
        {clSystemColor | 0xFF, clBlack}, // past the table
    };
    for (const Resolve &c : cases)
        EXPECT_EQ(rtl::ColorToRGB(c.in), c.rgb) << c.in;
}

TEST(TColor, QColorConversion)
{
    EXPECT_EQ(rtl::ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(rtl::ToQColor(clInfoBk), QColor(0xFF, 0xFF, 0xE1));
    EXPECT_EQ(rtl::ToQColor(clNone).alpha(), 0);
    EXPECT_EQ(rtl::FromQColor(QColor(0x11, 0x22, 0x33, 0x44)), rtl::RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(rtl::FromQColor(QColor::fromHsv(240, 255, 255)), clBlue);
}

struct Text {
    const char *text;
    bool ok;
    TColor color;
};

TEST(TColor, StringsAndNames)
{
    const Text cases[] = {
        {"clRed", true, clRed},
        {"CLBTNFACE", true, clBtnFace},
        {"clLtGray", true, clSilver},
        {"clNone", true, clNone},
        {"$00FF8000", true, 0xFF8000},
        {"0x10", true, 0x10},
        {"-16777201", true, clBtnFace},
        {"$FFFFFFFF", true, -1},
        {"clNoSuchColour", false, 0},
        {"$", false, 0},
        {"12abc", false, 0},
        {"", false, 0},
    };
    for (const Text &c : cases) {
        TColor v = 0;
        EXPECT_EQ(rtl::TryStringToColor(QString::fromLatin1(c.text), v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.color) << c.text;
        }
    }
    EXPECT_EQ(rtl::ColorToString(clSilver), QStringLiteral("clSilver"));
    EXPECT_EQ(rtl::ColorToString(cl3DLight), QStringLiteral("cl3DLight"));
    EXPECT_EQ(rtl::ColorToString(0xFF8000), QStringLiteral("$00FF8000"));
    EXPECT_EQ(rtl::ColorToString(-2), QStringLiteral("$FFFFFFFE"));
}

} // namespace
