// Drawing through the recorder: where each run lands, with which advances and font.
#include "textfixture.h"

using texttest::Layout;

namespace {

std::vector<const gfx::DrawRecord *> texts(const gfx::RecordingCanvas &c)
{
    std::vector<const gfx::DrawRecord *> out;
    for (const auto &r : c.records())
        if (r.kind == gfx::DrawRecord::Text)
            out.push_back(&r);
    return out;
}

struct Drawn {
    Layout l;
    gfx::RecordingCanvas canvas;
    Drawn() { canvas.setMeasurer(&l.measurer); }
    std::vector<const gfx::DrawRecord *> Draw(TkvlHAlign h, TkvlVAlign v = vaTop)
    {
        canvas.clear();
        l.text.DrawText(&canvas, h, v);
        return texts(canvas);
    }
};

TEST(TextDraw, IncArraySpreadsEvenly)
{
    const struct {
        int count, step;
        std::vector<int> expected;
    } cases[] = {
        {0, 1, {0, 0, 0, 0, 0, 0, 0, 0}},
        {1, 1, {0, 0, 0, 1, 0, 0, 0, 0}},
        {3, 1, {0, 1, 0, 0, 1, 0, 1, 0}},
        {3, -1, {0, -1, 0, 0, -1, 0, -1, 0}},
        {8, 2, {2, 2, 2, 2, 2, 2, 2, 2}},
    };
    for (const auto &c : cases) {
        std::vector<int> a(8, 0);
        IncArray(a.data(), 0, 7, c.step, c.count);
        EXPECT_EQ(a, c.expected) << c.count;
    }
}

TEST(TextDraw, AlignmentOffsets)
{
    const struct {
        TkvlHAlign align;
        uint8_t style;
        int x;
    } cases[] = {
        {haLeft, 0, 10},
        {haCenter, 0, 10 + (120 - 48) / 2},
        {haRight, 0, 10 + 120 - 48 + 1 - 1},
        {haRight, gfx::StyleBold, 10 + 120 - 48 + 1 - 2},   // bold or italic: one more to the left
        {haBlock, 0, 10},                                    // no blank: as left
    };
    for (const auto &c : cases) {
        Drawn d;
        d.l.font.SetStyle(c.style);
        d.l.text.SetFont(d.l.font);
        d.l.SetBox(5, 200, QPoint(10, 20));
        d.l.Set("ab");
        const auto r = d.Draw(c.align);
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0]->a, c.x) << c.align;
        EXPECT_EQ(r[0]->b, 20);
        EXPECT_EQ(r[0]->dx, (std::vector<int>{24, 24}));
        EXPECT_EQ(r[0]->font.height, -96);
    }
}

TEST(TextDraw, JustifiesOverBlanksButNotTheParagraphsLastLine)
{
    for (bool rtl : {false, true}) {
        Drawn d;
        d.l.text.SetOptions(true, true, rtl, false, false, true, 0);
        d.l.SetBox(6, 400, QPoint(10, 20));
        d.l.Set("aa bb cc d");
        const auto r = d.Draw(haBlock);
        ASSERT_EQ(r.size(), 2u);
        EXPECT_EQ(r[0]->text, "aa bb");
        EXPECT_EQ(r[0]->a, 10);
        EXPECT_EQ(r[0]->dx, (std::vector<int>{24, 24, 48, 24, 24}));   // 144 - 120 to the blank
        EXPECT_EQ(r[0]->options & gfx::TextRtlReading, rtl ? unsigned(gfx::TextRtlReading) : 0u);
        EXPECT_EQ(r[1]->text, "cc d");
        EXPECT_EQ(r[1]->b, 20 + 96);
        EXPECT_EQ(r[1]->dx, (std::vector<int>{24, 24, 24, 24}));
        EXPECT_EQ(r[1]->a, rtl ? 10 + 144 - 96 : 10);   // left, or right when read right to left
    }
}

TEST(TextDraw, WysiwygPutsEveryCharacterAtItsScaledLayoutPosition)
{
    Drawn d;
    d.l.SetBox(10);
    // At scale 1.1 the 72-point screen em is rnd(105.6) = 106 pixels: 26 a character, while
    // the 600-dpi layout puts the edges at 150 k / 6.25 * 1.1 = 26.4 k: 26, 53, 79, 106, 132.
    const QRect r(0, 0, 240, 1000);
    d.l.text.SetDimensions(1.1, 1.1, 1, r, r);
    d.l.Set("abcde");
    auto rec = d.Draw(haLeft);
    ASSERT_EQ(rec.size(), 1u);
    EXPECT_EQ(rec[0]->dx, (std::vector<int>{26, 27, 26, 27, 26}));
    // Without Wysiwyg the device's own widths stay.
    d.l.text.SetOptions(true, true, false, false, false, false, 0);
    d.l.Set("abcde");
    rec = d.Draw(haLeft);
    EXPECT_EQ(rec[0]->dx, (std::vector<int>{26, 26, 26, 26, 26}));
}

TEST(TextDraw, RunsPerStyleWithSubscriptOffsetAndMonoFont)
{
    Drawn d;
    d.l.SetBox(20, 400, QPoint(0, 0));
    d.l.Set("a<b>bc</b><sub>d</sub><font color=red>e");
    auto r = d.Draw(haLeft);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0]->text, "a");
    EXPECT_EQ(r[1]->text, "bc");
    EXPECT_TRUE(r[1]->font.bold());
    EXPECT_EQ(r[1]->a, 24);
    EXPECT_EQ(r[2]->text, "d");
    EXPECT_EQ(r[2]->a, 72);
    EXPECT_EQ(r[2]->b, 48);                 // lowered by its size, rnd(72 / 1.5) points
    EXPECT_EQ(r[2]->font.height, -64);      // 48 points at 96 dpi
    EXPECT_EQ(r[2]->dx, std::vector<int>{16});   // a small character: rnd(24 / 1.5)
    EXPECT_EQ(r[3]->font.color, 0x0000FF);
    EXPECT_EQ(r[3]->a, 88);

    d.l.text.SetMonoFont(true);
    d.l.Set("<font color=red>e");
    r = d.Draw(haLeft);
    EXPECT_EQ(r[0]->font.color, 0);
}

TEST(TextDraw, PrinterFontFollowsItsResolution)
{
    Drawn d;
    gfx::RecordingCanvas printer(600, 600, true);
    printer.setMeasurer(&d.l.measurer);
    EXPECT_TRUE(TkvlDrawText::IsPrinter(&printer));
    d.l.SetBox(10);
    const QRect r(0, 0, 1500, 6000);
    d.l.text.SetDimensions(6.25, 6.25, 1, QRect(0, 0, 240, 960), r);
    d.l.Set("ab cd");
    d.l.text.DrawText(&printer, haLeft, vaTop);
    const auto t = texts(printer);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0]->font.height, -600);
    EXPECT_EQ(t[0]->dx, (std::vector<int>{150, 150, 150, 150, 150}));
}

TEST(TextDraw, StartPointOfEveryRotationRange)
{
    // Box (100, 100)-(300, 200); one line 96 pixels high. Worked from the table of start
    // points: at 45 degrees DX = rnd((200 - s * 96) / c) = 187 and rnd(s * 187) = 132.
    const struct {
        int rotation;
        TkvlVAlign valign;
        int x, y;
    } cases[] = {
        {0, vaTop, 100, 100},     {45, vaTop, 100, 232},    {90, vaTop, 100, 200},
        {135, vaTop, 232, 200},   {180, vaTop, 300, 200},   {225, vaTop, 300, 68},
        {270, vaTop, 300, 100},   {315, vaTop, 168, 100},   {0, vaBottom, 100, 104},
        {0, vaCenter, 100, 102},  {90, vaBottom, 204, 200}, {180, vaBottom, 300, 196},
    };
    for (const auto &c : cases) {
        Drawn d;
        d.l.text.SetOptions(true, true, false, false, false, true, c.rotation);
        const QRect r(100, 100, 200, 100);
        d.l.text.SetDimensions(1, 1, 1, r, r);
        d.l.Set("ab");
        const auto t = d.Draw(haLeft, c.valign);
        ASSERT_EQ(t.size(), 1u);
        EXPECT_EQ(QPoint(t[0]->a, t[0]->b), QPoint(c.x, c.y)) << c.rotation << " " << c.valign;
        EXPECT_EQ(t[0]->font.orientation, c.rotation * 10);
    }
}

TEST(TextDraw, RotatedLinesAdvanceAcrossTheirDirection)
{
    Drawn d;
    d.l.text.SetOptions(true, true, false, false, false, true, 90);
    const QRect r(0, 0, 400, 48);   // two characters along the height
    d.l.text.SetDimensions(1, 1, 1, r, r);
    d.l.Set("ab cd");
    const auto t = d.Draw(haLeft);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(QPoint(t[0]->a, t[0]->b), QPoint(0, 48));
    EXPECT_EQ(QPoint(t[1]->a, t[1]->b), QPoint(96, 48));
}

TEST(TextDraw, HeightDifferenceSpreadOverLineAdvancesAndNeverDividedForOneLine)
{
    // Scale 1.1 with a half-pixel line spacing: each advance is rnd(0.55) + 106 = 107 while
    // the layout's height for n lines is rnd((0.5 * 6.25 * n + 600 * n) / 6.25 * 1.1).
    Drawn d;
    d.l.text.SetGaps(0, 0, 0.5);
    const QRect r(0, 0, 48, 1000);
    d.l.text.SetDimensions(1.1, 1.1, 1, r, r);
    d.l.Set("ab");   // 106 against 107: one line has no advance to correct
    auto t = d.Draw(haLeft);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0]->b, 0);
    d.l.Set("ab cd");   // 212 against 214: the one advance takes both pixels
    t = d.Draw(haLeft);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1]->b, 105);
    d.l.text.SetText(QStringList(), false);
    EXPECT_TRUE(d.Draw(haLeft).empty());
}

} // namespace
