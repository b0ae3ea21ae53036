// The gesture core without widgets: hit tests, the step gate, every drag and release, and keys.
#include "designer/core/workspaceunits.h"
#include "report/appearance/frame.h"
#include "report/dmp/kvldmpviews.h"
#include "report/views/kvlline.h"
#include "tests/designergestures/gfixture.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using gesturetest::absBounds;
using gesturetest::Page;
using M = TkvlDesignMode1;

// A band from y 40 to 240 holding a memo whose page box is (100, 60, 80, 40).
struct OneMemo : Page {
    TkvlMasterData *band = makeBand("Band", 0, 40, 700, 200);
    TkvlMemoView *memo = view(band, "Memo", 100, 20, 80, 40);
    OneMemo()
    {
        load();
        select({memo});
    }
};

void expectBounds(const TkvlComponent *c, double l, double t, double w, double h, const char *what)
{
    EXPECT_NEAR(c->Left(), l, 1e-6) << what;
    EXPECT_NEAR(c->Top(), t, 1e-6) << what;
    EXPECT_NEAR(c->Width(), w, 1e-6) << what;
    EXPECT_NEAR(c->Height(), h, 1e-6) << what;
}

TEST(GestureHits, HandlesOfBoxesAndLines)
{
    struct Case {
        const char *what;
        bool line, diagonal;
        double w, h;
        int x, y;
        TkvlCursorType expected;
    } cases[] = {
        {"top-left corner", false, false, 80, 40, 100, 60, ct1},
        {"bottom-right, 3 past", false, false, 80, 40, 183, 103, ct2},
        {"bottom-right, 4 past", false, false, 80, 40, 184, 100, ct0},
        {"top-right, 2 before", false, false, 80, 40, 178, 58, ct3},
        {"bottom-left", false, false, 80, 40, 100, 100, ct4},
        {"right middle", false, false, 80, 40, 180, 80, ct5},
        {"left middle", false, false, 80, 40, 100, 80, ct6},
        {"top middle", false, false, 80, 40, 140, 60, ct7},
        {"bottom middle", false, false, 80, 40, 140, 100, ct8},
        {"inside", false, false, 80, 40, 130, 75, ct0},
        {"diagonal start", true, true, 80, 40, 100, 60, ct9},
        {"diagonal end", true, true, 80, 40, 180, 100, ct10},
        {"diagonal other corner", true, true, 80, 40, 180, 60, ct0},
        {"vertical line top", true, false, 0, 40, 100, 60, ct7},
        {"vertical line middle", true, false, 0, 40, 100, 80, ct0},
        {"vertical line bottom", true, false, 0, 40, 100, 100, ct8},
        {"horizontal line left", true, false, 80, 0, 100, 60, ct6},
        {"horizontal line right", true, false, 80, 0, 180, 60, ct5},
        {"horizontal line middle", true, false, 80, 0, 140, 60, ct0},
    };
    for (const Case &c : cases) {
        Page p;
        auto *b = p.makeBand("Band", 0, 40, 700, 200);
        TkvlComponent *v = c.line ? static_cast<TkvlComponent *>(p.view<TkvlLineView>(b, "L", 100, 20, c.w, c.h))
                                  : p.view(b, "M", 100, 20, c.w, c.h);
        if (c.diagonal)
            static_cast<TkvlLineView *>(v)->Diagonal = true;
        p.load();
        p.select({v});
        p.ws.MouseMove(Qt::NoModifier, c.x, c.y);  // hover with one object selected
        EXPECT_EQ(p.ws.FCT, c.expected) << c.what;
        EXPECT_EQ(p.ws.FMode1, c.expected == ct0 ? M::dmNone : M::dmSize) << c.what;
        EXPECT_EQ(p.ws.Cursor(), TkvlGestures::CTtoCursor(c.expected)) << c.what;
    }
}

TEST(GestureHits, PressSelectsByCaptionObjectShiftAndEmptySpace)
{
    struct Case {
        const char *what;
        QPoint at;
        Qt::KeyboardModifiers keys;
        const char *expected;  // name of the only selected object
    } cases[] = {
        {"caption strip above the band", {300, 25}, Qt::NoModifier, "Band"},
        {"object lying on the band", {120, 70}, Qt::NoModifier, "Memo"},
        {"band around the object", {300, 100}, Qt::NoModifier, "Band"},
        {"shift-click on the only selected object", {120, 70}, Qt::ShiftModifier, "Page1"},
        {"empty space below the band", {300, 400}, Qt::NoModifier, "Page1"},
        {"above the caption strip", {300, 15}, Qt::NoModifier, "Page1"},
    };
    for (const Case &c : cases) {
        OneMemo p;
        p.click(c.at, c.keys);
        ASSERT_EQ(p.lists.Selected.size(), 1u) << c.what;
        EXPECT_EQ(p.lists.Selected.front()->Name(), QLatin1String(c.expected)) << c.what;
    }
    OneMemo p;
    p.click({330, 70}, Qt::NoModifier);  // the band, then the memo added with Shift
    p.click({120, 70}, Qt::ShiftModifier);
    EXPECT_EQ(p.lists.Selected, (std::vector<TkvlComponent *>{p.band, p.memo}));
    EXPECT_EQ(p.modified, 0);
}

TEST(GestureSteps, GridKeepsTheRemainderAndAltInvertsIt)
{
    // 10 pixels a millimetre, grid 1 mm: press at 270, then moves in pixels.
    struct Case {
        const char *what;
        Qt::KeyboardModifiers keys;
        std::vector<int> moves;
        double expectedMm;
    } cases[] = {
        {"2.5 mm moves 2 mm", Qt::NoModifier, {295}, 2},
        {"the half millimetre left counts", Qt::NoModifier, {295, 301}, 3},
        {"below one step nothing moves", Qt::NoModifier, {278}, 0},
        {"alt moves freely", Qt::AltModifier, {295}, 2.5},
    };
    for (const Case &c : cases) {
        OneMemo p;
        p.ws.SetScale(10 / kvlWs01cm);
        p.ws.FGridX = p.ws.FGridY = kvlWs01cm;
        std::vector<QPoint> to;
        for (int x : c.moves)
            to.push_back(QPoint(x, 170));
        // Alt on the press would pick the memo for editing in place: only the moves hold it.
        p.ws.MouseMove(Qt::NoModifier, 270, 170);
        p.ws.MouseDown(Qt::LeftButton, Qt::NoModifier, 270, 170);
        for (QPoint t : to)
            p.ws.MouseMove(c.keys, t.x(), t.y());
        p.ws.MouseUp(Qt::LeftButton, c.keys, to.back().x(), 170);
        EXPECT_NEAR(p.memo->Left(), 100 + c.expectedMm * kvlWs01cm, 1e-6) << c.what;
        EXPECT_NEAR(p.memo->Top(), 20, 1e-9) << c.what;
        EXPECT_EQ(p.modified, c.expectedMm != 0 ? 1 : 0) << c.what;
    }
}

TEST(GestureSteps, ZeroGridStepLeavesThatDirectionUnsnapped)
{
    OneMemo p;
    p.ws.FGridX = 0;
    p.drag({120, 70}, {{123, 79}});
    EXPECT_NEAR(p.memo->Left(), 103, 1e-9);
    EXPECT_NEAR(p.memo->Top(), 28, 1e-9);
}

TEST(GestureSize, DraggingPastTheOppositeEdgeFlipsTheHandle)
{
    struct Case {
        const char *what;
        QPoint from, to;
        TkvlCursorType handle;
        double l, t, w, h;
    } cases[] = {
        {"left handle past the right edge", {100, 80}, {200, 80}, ct5, 180, 20, 20, 40},
        {"top-left past both edges", {100, 60}, {200, 120}, ct2, 180, 60, 20, 20},
        {"bottom handle above the top", {140, 100}, {140, 40}, ct7, 100, 0, 80, 20},
        {"right handle grows", {180, 80}, {200, 80}, ct5, 100, 20, 100, 40},
    };
    for (const Case &c : cases) {
        OneMemo p;
        p.ws.MouseMove(Qt::NoModifier, c.from.x(), c.from.y());
        p.ws.MouseDown(Qt::LeftButton, Qt::NoModifier, c.from.x(), c.from.y());
        p.ws.MouseMove(Qt::NoModifier, c.to.x(), c.to.y());
        EXPECT_EQ(p.ws.FCT, c.handle) << c.what;
        p.ws.MouseUp(Qt::LeftButton, Qt::NoModifier, c.to.x(), c.to.y());
        expectBounds(p.memo, c.l, c.t, c.w, c.h, c.what);
        EXPECT_EQ(p.modified, 1) << c.what;
    }
}

TEST(GestureSize, BandEdgeGrowsTheBand)
{
    OneMemo p;
    p.ws.MouseMove(Qt::NoModifier, 300, 241);
    EXPECT_EQ(p.ws.FMode1, M::dmSizeBand);
    EXPECT_EQ(p.ws.Cursor(), TkvlCursorKind::SplitV);
    p.drag({300, 241}, {{300, 262}});
    EXPECT_NEAR(p.band->Height(), 220, 1e-9);
    EXPECT_EQ(p.modified, 1);
}

TEST(GestureMove, ColumnBandCarriesItsViewsAndStaysAtTheTop)
{
    Page p;
    auto *rows = p.makeBand("Rows", 0, 40, 700, 200);
    auto *column = p.makeBand<TkvlMasterData>("Column", 400, 0, 100, 300);
    column->SetVertical(true);
    auto *inColumn = p.view(rows, "InColumn", 410, 20, 60, 20);
    auto *outside = p.view(rows, "Outside", 100, 20, 60, 20);
    p.load();
    const TkvlRect before = absBounds(inColumn);
    p.drag({450, 280}, {{470, 320}});
    EXPECT_NEAR(column->Left(), 420, 1e-9);
    EXPECT_NEAR(column->Top(), 0, 1e-9);
    EXPECT_NEAR(inColumn->GetAbsLeft(), before.Left + 20, 1e-9);
    EXPECT_NEAR(inColumn->GetAbsTop(), before.Top, 1e-9);
    EXPECT_NEAR(outside->GetAbsLeft(), 100, 1e-9);
    EXPECT_EQ(p.modified, 1);
}

TEST(GestureMove, InheritedViewStaysInsideItsParent)
{
    OneMemo p;
    p.memo->Ancestor = true;
    p.drag({120, 70}, {{140, 30}});  // 40 up would put it above the band
    EXPECT_NEAR(p.memo->Left(), 120, 1e-9);
    EXPECT_NEAR(p.memo->Top(), 20, 1e-9);
    p.drag({140, 70}, {{140, 78}});  // downwards inside the band is fine
    EXPECT_NEAR(p.memo->Top(), 28, 1e-9);
}

TEST(GestureMove, AlignedViewDragsAndGetsItsAlignmentBack)
{
    OneMemo p;
    p.memo->SetAlign(baRight);
    p.drag({120, 70}, {{128, 70}});
    EXPECT_EQ(p.memo->Align(), baRight);
    EXPECT_EQ(p.modified, 1);
}

TEST(GestureScale, GroupScalesFromItsCornerAndAZeroStartStaysUnscaled)
{
    struct Case {
        const char *what;
        double aw, ah, bl, bt, bw, bh;  // A at (100, 60), B in page units
        QPoint from, to;
        double al2, at2, aw2, ah2, bl2, bt2, bw2, bh2;  // expected, page units
    } cases[] = {
        {"doubled", 40, 20, 160, 100, 40, 20, {200, 120}, {300, 180}, 100, 60, 80, 40, 220, 140, 80, 40},
        {"no width at the start", 0, 40, 100, 120, 0, 40, {100, 160}, {140, 200}, 100, 60, 0, 56, 100, 144, 0, 56},
    };
    for (const Case &c : cases) {
        Page p;
        auto *band = p.makeBand("Band", 0, 40, 700, 400);
        auto *a = p.view(band, "A", 100, 20, c.aw, c.ah);
        auto *b = p.view(band, "B", c.bl, c.bt - 40, c.bw, c.bh);
        p.load();
        p.select({a, b});
        p.ws.MouseMove(Qt::NoModifier, c.from.x(), c.from.y());
        ASSERT_EQ(p.ws.FMode1, M::dmScale) << c.what;
        p.drag(c.from, {c.to});
        const TkvlRect ra = absBounds(a), rb = absBounds(b);
        EXPECT_NEAR(ra.Left, c.al2, 1e-6) << c.what;
        EXPECT_NEAR(ra.Top, c.at2, 1e-6) << c.what;
        EXPECT_NEAR(ra.Right, c.aw2, 1e-6) << c.what;
        EXPECT_NEAR(ra.Bottom, c.ah2, 1e-6) << c.what;
        EXPECT_NEAR(rb.Left, c.bl2, 1e-6) << c.what;
        EXPECT_NEAR(rb.Top, c.bt2, 1e-6) << c.what;
        EXPECT_NEAR(rb.Right, c.bw2, 1e-6) << c.what;
        EXPECT_NEAR(rb.Bottom, c.bh2, 1e-6) << c.what;
    }
}

TEST(GestureRubberBand, SelectsWhatItTouches)
{
    struct Case {
        const char *what;
        QPoint from, to;
        std::vector<const char *> expected;
    } cases[] = {
        {"touching edges", {90, 300}, {100, 50}, {"A", "Line"}},
        {"crossing the diagonal", {170, 300}, {185, 175}, {"Line"}},
        {"beside the diagonal inside its box", {105, 300}, {120, 185}, {"Page1"}},
        {"over nothing", {400, 300}, {420, 260}, {"Page1"}},
    };
    for (const Case &c : cases) {
        Page p;
        auto *band = p.makeBand("Band", 0, 40, 700, 200);
        p.view(band, "A", 100, 20, 80, 40);
        p.view(band, "B", 300, 20, 80, 40);
        auto *line = p.view<TkvlLineView>(band, "Line", 100, 110, 80, 40);  // (100, 150) to (180, 190)
        line->Diagonal = true;
        p.load();
        p.drag(c.from, {c.to});
        std::vector<QString> names;
        for (TkvlComponent *s : p.lists.Selected)
            names.push_back(s->Name());
        std::vector<QString> expected(c.expected.begin(), c.expected.end());
        EXPECT_EQ(names, expected) << c.what;
    }
}

TEST(GestureInsert, ReleasesGiveTheDrawnOrTheArmedBox)
{
    struct Case {
        const char *what;
        bool line;
        uint16_t flags;
        std::vector<QPoint> moves;  // after hovering and pressing at the first point
        TkvlRect expected;          // left, top, width, height
    } cases[] = {
        {"click", false, 0, {{41, 50}}, {40, 48, 100, 18}},
        {"no width, height 20", false, 0, {{41, 50}, {41, 70}}, {40, 48, 100, 18}},
        {"width 20, no height", false, 0, {{41, 50}, {61, 50}}, {40, 48, 20, 0}},
        {"dragged up and left", false, 0, {{41, 50}, {21, 30}}, {24, 32, 16, 16}},
        {"straight line left and a little up", true, 0, {{101, 101}, {41, 91}}, {44, 100, 56, 8}},
        {"diagonal line keeps its direction", true, 1, {{101, 101}, {41, 91}}, {100, 100, -56, -8}},
    };
    for (const Case &c : cases) {
        Page p;
        p.load();
        if (c.line)
            p.ws.SetInsertion(TkvlLineView::StaticClass(), 0, 0, c.flags);
        else
            p.ws.SetInsertion(TkvlMemoView::StaticClass(), 100, 18, 0);
        EXPECT_EQ(p.ws.Cursor(), c.line ? TkvlCursorKind::Pencil : TkvlCursorKind::CrossHair) << c.what;
        std::vector<QPoint> rest(c.moves.begin() + 1, c.moves.end());
        p.ws.MouseMove(Qt::NoModifier, c.moves[0].x(), c.moves[0].y());
        p.ws.MouseDown(Qt::LeftButton, Qt::NoModifier, c.moves[0].x(), c.moves[0].y());
        for (QPoint m : rest)
            p.ws.MouseMove(Qt::NoModifier, m.x(), m.y());
        const QPoint end = c.moves.back();
        p.ws.MouseUp(Qt::LeftButton, Qt::NoModifier, end.x(), end.y());
        const TkvlInsertion &in = p.ws.FInsertion;
        EXPECT_EQ(p.inserted, 1) << c.what;
        EXPECT_NEAR(in.Left, c.expected.Left, 1e-9) << c.what;
        EXPECT_NEAR(in.Top, c.expected.Top, 1e-9) << c.what;
        EXPECT_NEAR(in.Width, c.expected.Right, 1e-9) << c.what;
        EXPECT_NEAR(in.Height, c.expected.Bottom, 1e-9) << c.what;
        EXPECT_EQ(p.ws.FMode1, c.line ? M::dmInsertLine : M::dmInsertObject) << c.what;  // still armed
    }
}

TEST(GestureInsert, LeavingParksTheOutlineAndAltPicksAMemoToEdit)
{
    OneMemo p;
    p.ws.SetInsertion(TkvlMemoView::StaticClass(), 100, 18, 0);
    p.ws.MouseMove(Qt::NoModifier, 300, 300);
    p.ws.MouseLeave();
    EXPECT_NEAR(p.ws.FInsertion.Left, -4000, 1e-9);
    EXPECT_NEAR(p.ws.FInsertion.Top, -4000, 1e-9);
    p.ws.MouseMove(Qt::AltModifier, 120, 70);  // over the memo with Alt: edit it in place
    EXPECT_EQ(p.ws.FMode1, M::dmInplaceEdit);
    EXPECT_EQ(p.ws.FInplaceObject, p.memo);
    EXPECT_EQ(p.ws.Cursor(), TkvlCursorKind::IBeam);
    p.ws.MouseMove(Qt::NoModifier, 300, 300);  // Alt let go: the armed memo is back
    EXPECT_EQ(p.ws.FMode1, M::dmInsertObject);
    p.ws.SetInsertion(nullptr, 0, 0, 0);
    EXPECT_EQ(p.ws.FMode, dmSelect);
}

TEST(GestureKeys, NudgeAndSizeByPixelGridAndCell)
{
    struct Case {
        const char *what;
        int key;
        Qt::KeyboardModifiers keys;
        bool charGrid;
        double dl, dt, dw, dh;
    } cases[] = {
        {"ctrl+right: one pixel", Qt::Key_Right, Qt::ControlModifier, false, 1, 0, 0, 0},
        {"ctrl+shift+right: one grid step", Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier, false, 4, 0, 0, 0},
        {"ctrl+up on a character grid: one cell", Qt::Key_Up, Qt::ControlModifier, true, 0, -kvlWsCharY, 0, 0},
        {"shift+down: one grid step taller", Qt::Key_Down, Qt::ShiftModifier, false, 0, 0, 0, 4},
        {"shift+left: one grid step narrower", Qt::Key_Left, Qt::ShiftModifier, false, 0, 0, -4, 0},
    };
    for (const Case &c : cases) {
        OneMemo p;
        if (c.charGrid) {
            p.ws.SetGridType(gtChar);
            p.ws.FGridX = kvlWsCharX;
            p.ws.FGridY = kvlWsCharY;
        }
        p.ws.KeyDown(c.key, c.keys);
        p.ws.KeyUp(c.key, c.keys);
        expectBounds(p.memo, 100 + c.dl, 20 + c.dt, 80 + c.dw, 40 + c.dh, c.what);
        EXPECT_EQ(p.modified, 1) << c.what;
    }
}

TEST(GestureKeys, SizeNeverGoesBelowZero)
{
    Page p;
    auto *band = p.makeBand("Band", 0, 40, 700, 200);
    auto *thin = p.view(band, "Thin", 100, 20, 4, 40);
    p.load();
    p.select({thin});
    for (int i = 0; i < 2; ++i)
        p.ws.KeyDown(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_NEAR(thin->Width(), 0, 1e-9);
}

TEST(GestureKeys, ArrowsSelectTheNearestInTheirDirection)
{
    // A (100, 60) and B (300, 60) in a row, C below and to the right of A.
    struct Case {
        const char *what;
        const char *from;
        int key;
        const char *expected;
    } cases[] = {
        {"right along the row", "A", Qt::Key_Right, "B"},
        {"left along the row", "B", Qt::Key_Left, "A"},
        {"right with nothing there", "B", Qt::Key_Right, "B"},
        {"down to the one below", "A", Qt::Key_Down, "C"},
        {"up with nothing there", "A", Qt::Key_Up, "A"},
    };
    for (const Case &c : cases) {
        Page p;
        auto *band = p.makeBand("Band", 0, 40, 700, 300);
        p.view(band, "A", 100, 20, 80, 40);
        p.view(band, "B", 300, 20, 80, 40);
        p.view(band, "C", 150, 150, 80, 40);
        p.load();
        p.select({p.page->FindObject(QString::fromLatin1(c.from))});
        p.ws.KeyDown(c.key, Qt::NoModifier);
        ASSERT_EQ(p.lists.Selected.size(), 1u) << c.what;
        EXPECT_EQ(p.lists.Selected.front()->Name(), QLatin1String(c.expected)) << c.what;
        EXPECT_EQ(p.modified, 0) << c.what;
    }
}

TEST(GestureKeys, TabWalksTheBandsChildrenAndWraps)
{
    OneMemo p;
    auto *second = p.view(p.band, "Second", 300, 20, 80, 40);
    p.load();
    p.select({p.band});
    const char *expected[] = {"Memo", "Second", "Memo"};
    for (const char *name : expected) {
        p.ws.KeyDown(Qt::Key_Tab, Qt::NoModifier);
        ASSERT_EQ(p.lists.Selected.size(), 1u);
        EXPECT_EQ(p.lists.Selected.front()->Name(), QLatin1String(name));
    }
    (void)second;
}

TEST(GestureKeys, StickLeavesACellForFrameLinesOfTextObjects)
{
    struct Case {
        const char *what;
        int key;
        TkvlFrameTyp own, other;
        double expectedLeft, expectedTop;
    } cases[] = {
        {"no lines", Qt::Key_Right, 0, 0, 192 - 96, 0},
        {"own right line", Qt::Key_Right, kvlFrameBit(ftRight), 0, 192 - 96 - kvlWsCharX, 0},
        {"neighbour's left line", Qt::Key_Right, 0, kvlFrameBit(ftLeft), 192 - 96 - kvlWsCharX, 0},
        {"neighbour's right line does not count", Qt::Key_Right, 0, kvlFrameBit(ftRight), 192 - 96, 0},
    };
    for (const Case &c : cases) {
        Page p;
        auto *band = p.makeBand("Band", 0, 40, 700, 200);
        auto *s = p.view<TkvlDMPMemoView>(band, "S", 0, 0, 96, 17);
        auto *n = p.view<TkvlDMPMemoView>(band, "N", 192, 0, 96, 17);  // whole cells
        s->Frame()->SetTyp(c.own);
        n->Frame()->SetTyp(c.other);
        p.load();
        p.select({s});
        p.ws.KeyDown(c.key, Qt::AltModifier);
        EXPECT_NEAR(s->Left(), c.expectedLeft, 1e-9) << c.what;
        EXPECT_NEAR(s->Top(), c.expectedTop, 1e-9) << c.what;
    }
}

TEST(GestureKeys, DeletingAnInheritedObjectRefusesAndKeepsIt)
{
    OneMemo p;
    p.memo->Ancestor = true;
    EXPECT_THROW(p.ws.KeyDown(Qt::Key_Delete, Qt::NoModifier), EDesignerError);
    EXPECT_EQ(p.page->FindObject(u"Memo"), p.memo);
}

} // namespace
