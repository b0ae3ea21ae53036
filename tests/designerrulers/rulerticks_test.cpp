// The rulers' marks: where ticks and labels go for each unit, zoom, shift and length.
#include "designer/core/rulerticks.h"

#include <gtest/gtest.h>

// Read by GoogleTest beside the type (global).
inline void PrintTo(const TkvlRulerTick &t, std::ostream *os)
{
    *os << "{" << t.Pos << ", " << int(t.Kind) << ", \"" << t.Text.toStdString() << "\"}";
}

namespace {

using K = TkvlTickKind;

// A label font of a fixed width per character.
std::function<int(QStringView)> perChar(int width)
{
    return [width](QStringView s) { return int(s.size()) * width; };
}

TkvlRulerScale scale(TkvlRulerUnits u, double zoom, int length, int offset = 0, int start = 0, int size = 0,
                     bool vertical = false)
{
    TkvlRulerScale r;
    r.Units = u;
    r.Scale = zoom;
    r.Length = length;
    r.Offset = offset;
    r.Start = start;
    r.Size = size;
    r.Vertical = vertical;
    return r;
}

std::vector<TkvlRulerTick> head(std::vector<TkvlRulerTick> t, size_t n)
{
    if (t.size() > n)
        t.resize(n);
    return t;
}

TEST(RulerTicks, FirstMarksPerUnitAndZoom)
{
    struct Case
    {
        const char *name;
        TkvlRulerScale r;
        int charWidth;
        std::vector<TkvlRulerTick> first;
    } cases[] = {
        // 1 cm = 37.8 px: no millimetre ticks, half centimetres, every centimetre labelled
        {"cm 1", scale(ruCM, 1, 400), 6,
         {{19, K::Half, ""}, {38, K::Label, "1"}, {57, K::Half, ""}, {76, K::Label, "2"}, {94, K::Half, ""},
          {113, K::Label, "3"}}},
        // 18.9 px per cm: main ticks only; a label 20 px wide (> 0.7 F) every second centimetre
        {"cm 0.5 narrow", scale(ruCM, 0.5, 400), 10,
         {{19, K::Main, ""}, {38, K::Label, "2"}, {57, K::Main, ""}, {76, K::Label, "4"}}},
        // a label 40 px wide (> 1.5 F) every fourth centimetre
        {"cm 0.5 wide", scale(ruCM, 0.5, 400), 20,
         {{19, K::Main, ""}, {38, K::Main, ""}, {57, K::Main, ""}, {76, K::Label, "4"}, {94, K::Main, ""}}},
        // 96 px per inch: tenths drawn too
        {"inches", scale(ruInches, 1, 400), 6,
         {{10, K::Small, ""}, {19, K::Small, ""}, {29, K::Small, ""}, {38, K::Small, ""}, {48, K::Half, ""},
          {58, K::Small, ""}}},
        // pixels: a label every 100, half ticks at 50, nothing smaller
        {"pixels", scale(ruPixels, 1, 400), 6,
         {{50, K::Half, ""}, {100, K::Label, "100"}, {150, K::Half, ""}, {200, K::Label, "200"}}},
        // characters across: 9.6 px cells, zero in the middle of the first cell (4.8 -> 5)
        {"chars across", scale(ruChars, 1, 400), 6,
         {{15, K::Main, ""}, {24, K::Label, "2"}, {34, K::Main, ""}, {43, K::Label, "4"}}},
        // characters down: 17 px cells, the middle 8.5 rounds to even (8)
        {"chars down", scale(ruChars, 1, 400, 0, 0, 0, true), 6,
         {{25, K::Main, ""}, {42, K::Label, "2"}, {59, K::Main, ""}, {76, K::Label, "4"}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(head(kvlRulerTicks(c.r, perChar(c.charWidth)), c.first.size()), c.first) << c.name;
}

TEST(RulerTicks, LengthShiftAndOffset)
{
    // Size stops the scale: the last mark lies before Offset + Size.
    const auto sized = kvlRulerTicks(scale(ruCM, 1, 400, 10, 0, 100), perChar(6));
    ASSERT_FALSE(sized.empty());
    EXPECT_EQ(sized.back().Pos, 104); // 2.5 cm
    EXPECT_EQ(kvlRulerEnd(scale(ruCM, 1, 400, 10, 0, 100)), 110);
    EXPECT_EQ(kvlRulerEnd(scale(ruCM, 1, 400, 10, 0, 0)), 400);

    // Size 0: the ruler's length plus the shift; marks before Offset are left out.
    const auto shifted = kvlRulerTicks(scale(ruCM, 1, 200, 10, 20), perChar(6));
    ASSERT_FALSE(shifted.empty());
    EXPECT_EQ(shifted.front(), (TkvlRulerTick{28, K::Label, "1"})); // 0.5 cm at 9 is before 10
    EXPECT_LT(shifted.back().Pos, 10 - 20 + 220);
    EXPECT_GE(shifted.back().Pos, 200 - 19);

    for (const auto &r : {scale(ruPixels, 1, 1000), scale(ruCM, 2, 1000), scale(ruChars, 3, 1000, 0, 0, 0, true)})
        for (const TkvlRulerTick &t : kvlRulerTicks(r, perChar(6)))
            EXPECT_NE(t.Text, QStringLiteral("0"));
}

TEST(RulerTicks, Marker)
{
    EXPECT_EQ(kvlRulerMarker(scale(ruCM, 1, 400, 20), 2), 96);      // 75.6 px after the edge
    EXPECT_EQ(kvlRulerMarker(scale(ruPixels, 2, 400, 20), 50), 120); // pixels are not tenths
    EXPECT_EQ(kvlRulerMarker(scale(ruCM, 1, 400, 20, 100), 1), std::nullopt); // before the edge
    EXPECT_EQ(kvlRulerMarker(scale(ruCM, 1, 400, 20), 0), 20);
}

TEST(RulerTicks, ZoomThatGivesNoStepDrawsNothing)
{
    for (double zoom : {0.0, -1.0, std::nan(""), 1e-12})
        EXPECT_TRUE(kvlRulerTicks(scale(ruCM, zoom, 400), perChar(6)).empty()) << zoom;
}

} // namespace
