// The preview's page layout, hit test and position arithmetic.
#include "engine/preview/kvlblend.h"
#include "engine/preview/kvlpagelist.h"
#include "platform/gfx/canvas.h"

#include <gtest/gtest.h>

namespace {

struct Size {
    int w, h;
};

struct LayoutCase {
    const char *name;
    std::vector<Size> pages;
    int clientWidth;
    int index;           // page whose rectangle is checked (may be missing: the default)
    bool rtl;
    QRect expected;      // left, top, width, height
};

TEST(PageLayout, PlacesPagesInCentredRows)
{
    const LayoutCase cases[] = {
        // (500 - 200) / 2 centres it; the row's trailing gap adds 10 more.
        {"narrow page centred", {{200, 300}}, 500, 0, false, QRect(160, 10, 200, 300)},
        {"wide page at 10", {{600, 300}}, 500, 0, false, QRect(10, 10, 600, 300)},
        {"mirrored right to left", {{200, 300}}, 500, 0, true, QRect(140, 10, 200, 300)},
        // Three fit into 330 (100 + 10 each); the fourth wraps below the tallest of the row,
        // centred alone: (330 - 100) / 2 + 10.
        {"row of unequal heights", {{100, 200}, {100, 300}, {100, 250}, {100, 100}}, 330, 3, false,
         QRect(125, 320, 100, 100)},
        // The full row is 320 wide plus its trailing gap: 5 pixels each side, then 10 more.
        {"second of a row", {{100, 200}, {100, 300}, {100, 250}}, 330, 1, false, QRect(125, 10, 100, 300)},
        // A4 at 96 dpi is 794 x 1123; centred in 1000 at scale 1.
        {"default A4 rectangle", {{100, 100}}, 1000, 5, false, QRect(103, 10, 794, 1123)},
        // 301.5 -> 302 and 566.5 -> 566: halves go to the even neighbour.
        {"default A4 at half scale", {}, 1000, 0, false, QRect(302, 5, 397, 561)},
        {"default A4 in a narrow client", {}, 500, 0, false, QRect(10, 10, 794, 1123)},
    };
    for (const LayoutCase &c : cases) {
        // Laid out after the pages are added, and while they are added.
        for (const bool whileAdding : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (whileAdding ? " while adding" : ""));
            TkvlPageList list;
            if (whileAdding)
                list.BeginLayout(c.clientWidth);
            for (Size s : c.pages)
                list.AddPage(s.w, s.h, 1);
            if (whileAdding)
                list.EndLayout();
            else
                list.CalcBounds(c.clientWidth);
            const double scale = QString::fromLatin1(c.name).contains(QLatin1String("half")) ? 0.5 : 1;
            EXPECT_EQ(list.GetPageBounds(c.index, c.clientWidth, scale, c.rtl), c.expected);
        }
    }
}

TEST(PageLayout, ZoomScalesItemsAndMaxBoundsCoverTheLayout)
{
    TkvlPageList list;
    EXPECT_EQ(list.GetMaxBounds(), QPoint(0, 0));
    list.AddPage(794, 1123, 0.5); // 397 x 561.5 -> 562 (half to even)
    list.AddPage(794, 1123, 0.5);
    list.CalcBounds(500);         // one page per row
    EXPECT_EQ(list.Item(0).Width, 397);
    EXPECT_EQ(list.Item(0).Height, 562);
    EXPECT_EQ(list.Item(1).OffsetY, 10 + 562 + 10);
    EXPECT_EQ(list.GetMaxBounds(), QPoint(397 + 10, 10 + 562 + 10 + 562));
}

TEST(PageLayout, FindsPagesByScrollPositionAndByPoint)
{
    // One column of pages 100 high: tops at 10, 120, 230, ...
    TkvlPageList column;
    for (int i = 0; i < 100; ++i)
        column.AddPage(100, 100, 1);
    column.CalcBounds(150);
    ASSERT_EQ(column.Item(1).OffsetY, 120);

    // Two pages side by side on one row.
    TkvlPageList row;
    row.AddPage(100, 100, 1);
    row.AddPage(100, 100, 1);
    row.CalcBounds(400); // x = 0 -> 210 wide, centred: offsets 105, 215

    struct Case {
        const char *name;
        const TkvlPageList *list;
        int y, x, expected;
    } cases[] = {
        {"above the first page", &column, -30, 0, -1},
        {"within a fifth of the next top", &column, 100, 0, 1},
        {"just over a fifth above", &column, 99, 0, 0},
        {"deep in the list", &column, 120 + 110 * 60, 0, 61},
        {"click in the gap between pages", &column, 115, 50, 0},
        {"precise hit on a page", &column, 121, 50, 1},
        {"first page of a row", &row, 50, 110, 0},
        {"second page of a row", &row, 50, 220, 1},
        {"beside the row", &row, 50, 5, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.list->FindPage(c.y, c.x), c.expected);
    }
}

TEST(PageLayout, PositionArithmeticRoundTrips)
{
    // 10 mm of margin = 37.7953 px; 100 px below it at zoom 2 = 275.59 -> 276.
    EXPECT_EQ(kvlPreviewPosition(500, 10, 0, 2), 490);
    EXPECT_EQ(kvlPreviewPosition(500, 10, 100, 2), 500 + 276 - 10);
    EXPECT_EQ(kvlPreviewTopPosition(766, 500, 10, 2), 100);
    EXPECT_EQ(kvlPreviewTopPosition(490, 500, 0, 1), 0);
}

TEST(PageLayout, RefreshStepFollowsTheSecondPagesTime)
{
    const std::pair<long long, int> cases[] = {{0, 50}, {4, 50}, {5, 20}, {9, 20}, {10, 5}, {1000, 5}};
    for (auto [ms, step] : cases)
        EXPECT_EQ(kvlPreviewRefreshStep(ms), step) << ms << " ms";
}

TEST(Blend, MixesChannelsRoundingHalfUp)
{
    struct Case {
        TColor c1, c2;
        int p;
        TColor expected;
    } cases[] = {
        // 30 % of 255 + 70 % of 0 = 76.5 -> 77 (half up), per channel.
        {0x0000FF, 0x000000, 30, 0x00004D},
        {0x000000, 0xFFFFFF, 30, 0xB3B3B3},          // 178.5 -> 179
        {0x0A141E, 0x1E140A, 50, 0x141414},
        {0xFFFFFF, 0x000000, 100, 0x1A1A1A},         // per mille from 100 up: 25.5 -> 26
        {0x123456, 0x654321, 0, 0x654321},
        {clWhite, clBlack, 99, 0xFCFCFC},           // 252.45 -> 252
    };
    for (const Case &c : cases)
        EXPECT_EQ(Blend(c.c1, c.c2, c.p), c.expected) << c.p;
    // A system colour is resolved before mixing: 0 % of it is the other colour alone.
    EXPECT_EQ(Blend(clBtnFace, 0x102030, 0), 0x102030);
    EXPECT_EQ(Blend(clBtnFace, 0x102030, 99), Blend(TColor(gfx::colorToRgb(clBtnFace)), 0x102030, 99));
}

} // namespace
