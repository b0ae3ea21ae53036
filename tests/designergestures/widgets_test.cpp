// The workspace inside the scroll box, driven with QTest mouse and keys as a user would.
#include "designer/widgets/designerworkspace.h"
#include "designer/widgets/inplacememo.h"
#include "designer/widgets/marginspanel.h"
#include "designer/widgets/scrollbox.h"
#include "platform/ui/fakes.h"
#include "report/views/kvlline.h"
#include "tests/designerworkspace/wsfixture.h"

#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A page of 700 x 1100 with margins of 20, shown at (10, 10) in a 500 x 400 scroll box: one
// band from 40 to 240 with two memos, (100, 60, 80, 40) and (300, 60, 80, 40) on the page.
struct Window {
    bool initialized = (wstest::initOnce(), true);
    std::unique_ptr<TkvlReport> report = std::make_unique<TkvlReport>(nullptr);
    TkvlReportPage *page = new TkvlReportPage(report.get());
    TkvlMasterData *band = new TkvlMasterData(page);
    TkvlMemoView *memo = new TkvlMemoView(band);
    TkvlMemoView *memo2 = new TkvlMemoView(band);
    TkvlObjectLists lists;
    QWidget top;
    TkvlScrollBox *box = new TkvlScrollBox(&top);
    TkvlDesignerWorkspace *ws;

    Window()
    {
        page->SetName(QStringLiteral("Page1"));
        band->SetName(QStringLiteral("Band"));
        band->SetBounds(0, 40, 600, 200);
        memo->SetName(QStringLiteral("Memo"));
        memo->SetBounds(100, 20, 80, 40);
        memo2->SetName(QStringLiteral("Memo2"));
        memo2->SetBounds(300, 20, 80, 40);
        lists.Load(page);
        ws = new TkvlDesignerWorkspace(box->Content());
        TkvlGestures &core = ws->Core();
        core.SetLists(&lists);
        core.SetPage(page);
        core.FFreeBandsPlacement = true;
        core.FBandHeader = 20;
        core.FGridX = core.FGridY = 4;
        core.SetPageDimensions(700, 1100, TkvlMargins{20, 20, 20, 20});
        ws->SetOrigin(QPoint(10, 10));
        box->setGeometry(0, 0, 500, 400);
        top.resize(500, 400);
        top.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&top));
    }
    TkvlGestures &core() { return ws->Core(); }
    // Hover, press, moves and release on one control.
    static void drag(QWidget *w, QPoint from, std::initializer_list<QPoint> to,
                     Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mouseMove(w, from);
        QTest::mousePress(w, Qt::LeftButton, keys, from);
        QPoint last = from;
        for (QPoint p : to) {
            QTest::mouseMove(w, p);
            last = p;
        }
        QTest::mouseRelease(w, Qt::LeftButton, keys, last);
    }
};

TEST(GestureWidgets, MemoDragsByGridStepsWithOneChange)
{
    Window w;
    QSignalSpy modified(w.ws, &TkvlDesignerWorkspace::Modified);
    QSignalSpy positions(w.ws, &TkvlDesignerWorkspace::PositionChanged);
    Window::drag(w.ws, {120, 70}, {{130, 70}, {141, 79}});
    EXPECT_DOUBLE_EQ(w.memo->Left(), 120);
    EXPECT_DOUBLE_EQ(w.memo->Top(), 28);
    EXPECT_EQ(modified.count(), 1);
    ASSERT_FALSE(positions.isEmpty());
    EXPECT_EQ(positions.last().value(0).toDouble(), 120);  // the memo's own bounds
    EXPECT_EQ(w.lists.Selected, std::vector<TkvlComponent *>{w.memo});
    EXPECT_TRUE(w.box->hasFocus());  // a press on a report page focuses the scroll box
}

TEST(GestureWidgets, RubberBandStartsInTheMargins)
{
    Window w;
    // The panel's (5, 5) is the workspace's (-15, -15); the band ends over the first memo.
    TMarginsPanel *panel = w.ws->MarginsPanel();
    Window::drag(panel, {5, 5}, {{100, 60}, {170, 90}});
    EXPECT_EQ(w.lists.Selected, std::vector<TkvlComponent *>{w.memo});
}

TEST(GestureWidgets, BandEdgeDragGrowsTheBand)
{
    Window w;
    QSignalSpy modified(w.ws, &TkvlDesignerWorkspace::Modified);
    QTest::mouseMove(w.ws, {250, 241});
    EXPECT_EQ(w.ws->cursor().shape(), Qt::SplitVCursor);
    Window::drag(w.ws, {250, 241}, {{250, 262}});
    EXPECT_DOUBLE_EQ(w.band->Height(), 220);
    EXPECT_EQ(modified.count(), 1);
}

TEST(GestureWidgets, ArmedLineIsDrawnTwice)
{
    Window w;
    std::vector<TkvlInsertion> drawn;
    QObject::connect(w.ws, &TkvlDesignerWorkspace::Inserted, [&] { drawn.push_back(w.core().FInsertion); });
    w.core().SetInsertion(TkvlLineView::StaticClass(), 0, 0, 0);  // one press on the tool
    EXPECT_EQ(w.ws->cursor().shape(), Qt::BitmapCursor);          // the pencil
    Window::drag(w.ws, {101, 301}, {{161, 301}});
    Window::drag(w.ws, {101, 351}, {{101, 411}});
    ASSERT_EQ(drawn.size(), 2u);
    const double expected[2][4] = {{100, 300, 60, 0}, {100, 348, 0, 60}};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_DOUBLE_EQ(drawn[i].Left, expected[i][0]) << i;
        EXPECT_DOUBLE_EQ(drawn[i].Top, expected[i][1]) << i;
        EXPECT_DOUBLE_EQ(drawn[i].Width, expected[i][2]) << i;
        EXPECT_DOUBLE_EQ(drawn[i].Height, expected[i][3]) << i;
    }
}

TEST(GestureWidgets, AltOverAMemoAndAClickEditInPlace)
{
    Window w;
    QTest::mouseMove(w.ws, {150, 80});
    w.box->setFocus();
    QTest::keyPress(w.box, Qt::Key_Alt, Qt::AltModifier);  // the hover is shown without moving
    EXPECT_EQ(w.ws->cursor().shape(), Qt::IBeamCursor);
    QTest::mouseClick(w.ws, Qt::LeftButton, Qt::AltModifier, {150, 80});
    QTest::keyRelease(w.box, Qt::Key_Alt);
    EXPECT_TRUE(w.ws->InplaceMemo()->isVisible());
    EXPECT_EQ(w.lists.Selected, std::vector<TkvlComponent *>{w.memo});
}

TEST(GestureWidgets, DoubleClickEditsAndItsPressIsSwallowed)
{
    Window w;
    w.core().OnEdit = [&] { w.ws->InplaceMemo()->Edit(w.memo); };
    QTest::mouseClick(w.ws, Qt::LeftButton, {}, {150, 80});
    QTest::mouseDClick(w.ws, Qt::LeftButton, {}, {150, 80});
    EXPECT_TRUE(w.ws->InplaceMemo()->isVisible());
    QTest::mouseClick(w.ws, Qt::LeftButton, {}, {450, 500});  // the next press closes it
    EXPECT_FALSE(w.ws->InplaceMemo()->isVisible());
}

TEST(GestureWidgets, KeysReachTheWorkspaceThroughTheScrollBox)
{
    Window w;
    QSignalSpy modified(w.ws, &TkvlDesignerWorkspace::Modified);
    QTest::mouseClick(w.ws, Qt::LeftButton, {}, {150, 80});
    ASSERT_TRUE(w.box->hasFocus());
    QTest::keyClick(w.box, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(w.memo->Left(), 101);
    EXPECT_EQ(modified.count(), 1);
    QTest::keyClick(w.box, Qt::Key_Tab);
    EXPECT_EQ(w.lists.Selected, std::vector<TkvlComponent *>{w.memo2});
    QTest::keyClick(w.box, Qt::Key_Left);
    EXPECT_EQ(w.lists.Selected, std::vector<TkvlComponent *>{w.memo});
    EXPECT_TRUE(w.box->hasFocus());
    EXPECT_EQ(w.box->horizontalScrollBar()->value(), 0);
}

TEST(GestureWidgets, DeletingAnInheritedMemoShowsWhy)
{
    ui::FakeServices fakes;
    Window w;
    w.memo->Ancestor = true;
    QTest::mouseClick(w.ws, Qt::LeftButton, {}, {150, 80});
    QTest::keyClick(w.box, Qt::Key_Delete);
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown.front().text,
              QStringLiteral("Could not delete Memo, it was introduced in the ancestor report"));
    EXPECT_EQ(w.page->FindObject(u"Memo"), w.memo);
}

TEST(GestureWidgets, DragPastTheViewportScrollsIt)
{
    Window w;
    QScrollBar *bar = w.box->verticalScrollBar();
    ASSERT_EQ(bar->value(), 0);
    Window::drag(w.ws, {150, 80}, {{150, 200}, {150, 480}});
    EXPECT_GT(bar->value(), 0);
    // The sheet's point under the mouse stands at the viewport's bottom edge.
    EXPECT_EQ(bar->value(), 480 + 20 + 10 - w.box->viewport()->height());
}

TEST(GestureWidgets, RightClickOpensThePopupWithoutStartingAGesture)
{
    Window w;
    QMenu menu;
    menu.addAction(QStringLiteral("Proprietà"));
    w.ws->SetPopupMenu(&menu);
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = menu.isVisible();
        menu.close();
    });
    QTest::mouseClick(w.ws, Qt::RightButton, {}, {150, 80});
    QTest::qWait(20);
    EXPECT_TRUE(shown);
    EXPECT_EQ(w.lists.Selected, std::vector<TkvlComponent *>{w.memo});
    EXPECT_FALSE(w.core().FMouseDown);
}

} // namespace
