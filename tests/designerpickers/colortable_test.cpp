// The shared palette's custom slots, where a pointer lands in the pickers, and colour names.
#include "designer/core/colortable.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorTable, CustomColoursFillTheLastRowThenDropTheOldest)
{
    TkvlColorTable t;
    const TkvlColorTable fresh;
    for (int i = 0; i < 3; ++i)
        t.AddCustom(0x010101 * (i + 1));
    EXPECT_EQ(t.Color(5, 0), 0x010101);
    EXPECT_EQ(t.Color(5, 1), 0x020202);
    EXPECT_EQ(t.Color(5, 2), 0x030303);
    EXPECT_EQ(t.Color(5, 3), clBtnFace);
    for (int i = 3; i < 8; ++i)
        t.AddCustom(0x010101 * (i + 1));
    t.AddCustom(0x090909); // ninth
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(t.Color(5, c), 0x010101 * (c + 2)) << c;
    EXPECT_EQ(t.Color(5, 7), 0x090909);
    for (int i = 0; i < TkvlColorTable::FirstCustom; ++i)
        EXPECT_EQ(t.Color(i), fresh.Color(i)) << i;
}

TEST(ColorTable, ColoursAlreadyThereAddNothing)
{
    TkvlColorTable t;
    t.AddCustom(0x123456);
    const TColor present[] = {clRed, 0xFFF4CC, clBtnFace, clNone, 0x123456};
    for (TColor c : present) {
        t.AddCustom(c);
        EXPECT_EQ(t.Color(5, 1), clBtnFace) << c;
    }
    EXPECT_EQ(t.IndexOf(0x123456), 40);
}

TEST(PickerGeometry, ColourGridHits)
{
    const QSize s(kvlColorGrid::Width, kvlColorGrid::Height);
    const struct {
        QPoint p;
        std::optional<int> hit;
    } cases[] = {
        {{0, 0}, 0},                       // above and left of the first cell: toward zero
        {{14, 14}, 0},
        {{23, 23}, 1 * 8 + 1},
        {{154, 10}, 7},                    // right of the last column
        {{30, 112}, 5 * 8 + 1},
        {{30, 113}, kvlColorGrid::Button}, // row 6
        {{150, 142}, kvlColorGrid::Button},
        {{-40, 10}, std::nullopt},         // a release dragged out of the drop-down
        {{155, 10}, std::nullopt},
        {{20, 143}, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kvlColorGrid::HitTest(c.p, s), c.hit) << c.p.x() << "," << c.p.y();
    EXPECT_EQ(kvlColorGrid::HoverRect(9, s), QRect(QPoint(23, 23), QPoint(40, 40)));
    EXPECT_EQ(kvlColorGrid::HoverRect(kvlColorGrid::Button, s), QRect(QPoint(5, 113), QPoint(148, 136)));
}

TEST(PickerGeometry, LineRowsAndFrameLines)
{
    const QSize sel(kvlLineRows::SelectorWidth, kvlLineRows::SelectorHeight);
    const struct {
        int y;
        std::optional<int> row;
    } rows[] = {{0, 0}, {20, 0}, {21, 1}, {84, 4}, {85, 5}, {105, 5}, {-1, std::nullopt}, {106, std::nullopt}};
    for (const auto &c : rows)
        EXPECT_EQ(kvlLineRows::HitTest(QPoint(40, c.y), sel), c.row) << c.y;

    const QSize s(100, 80);
    const struct {
        QPoint p;
        std::optional<TkvlFrameType> line;
    } lines[] = {
        {{50, 10}, ftTop},     {{50, 70}, ftBottom},          {{10, 40}, ftLeft},
        {{90, 40}, ftRight},   {{13, 6}, ftTop},              {{12, 10}, std::nullopt},
        {{50, 5}, std::nullopt}, {{50, 40}, std::nullopt},    {{10, 12}, std::nullopt},
        {{95, 40}, std::nullopt},
    };
    for (const auto &c : lines)
        EXPECT_EQ(kvlFrameSampleHit(c.p, s), c.line) << c.p.x() << "," << c.p.y();
}

TEST(ColorNames, ShortNamesAndHex)
{
    const struct {
        TColor c;
        const char *name;
    } cases[] = {
        {clRed, "Red"}, {0x0080FF40, "$80FF40"}, {clBtnFace, "BtnFace"}, {0x12345678, "$12345678"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kvlColorDisplayName(c.c), QString::fromLatin1(c.name));
}

} // namespace
