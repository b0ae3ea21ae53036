// The dock sites' model and the drag manager, without widgets.
#include "designer/core/docklayout.h"
#include "designer/core/dragmanager.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(DockSiteModel, DockingSizesTheSiteAndEmptyingShrinksIt)
{
    TkvlDockSiteModel m;
    m.DockOver(150, 400); // a left site remembers the dragged window's width
    EXPECT_EQ(m.PanelSize, 150);
    m.DockDrop(QStringLiteral("Inspector"), 400);
    EXPECT_EQ(m.Thickness, 150);
    EXPECT_TRUE(m.SplitterVisible());
    // A site already thicker than the window keeps its thickness.
    m.Thickness = 220;
    m.DockOver(120, 300);
    m.DockDrop(QStringLiteral("DataTree"), 300, 0);
    EXPECT_EQ(m.Thickness, 220);
    EXPECT_EQ(m.Docked, (std::vector<TkvlDockEntry>{{"DataTree", 300}, {"Inspector", 400}}));
    EXPECT_TRUE(m.UnDock(QStringLiteral("inspector")));
    EXPECT_FALSE(m.UnDock(QStringLiteral("Inspector")));
    EXPECT_EQ(m.Thickness, 220);
    EXPECT_TRUE(m.UnDock(QStringLiteral("DataTree")));
    EXPECT_EQ(m.Thickness, 0);
    EXPECT_FALSE(m.SplitterVisible());

    TkvlDockSiteModel top;
    top.Side = TkvlDockSide::Top;
    top.DockOver(150, 90); // a top site takes the height
    top.DockDrop(QStringLiteral("Watch"), 150);
    EXPECT_EQ(top.Thickness, 90);
}

TEST(DockSiteModel, CollapseAndSplitterDrag)
{
    TkvlDockSiteModel m;
    m.Thickness = 180;
    m.ToggleCollapse();
    EXPECT_TRUE(m.Collapsed);
    EXPECT_EQ(m.Thickness, 0);
    m.ToggleCollapse();
    EXPECT_FALSE(m.Collapsed);
    EXPECT_EQ(m.Thickness, 180);

    struct Case
    {
        TkvlDockSide side;
        int dx, dy, thickness;
    } cases[] = {
        {TkvlDockSide::Left, 30, 7, 130},  {TkvlDockSide::Right, 30, 7, 70},  {TkvlDockSide::Top, 7, 30, 130},
        {TkvlDockSide::Bottom, 7, 30, 70}, {TkvlDockSide::Left, -500, 0, 0},
    };
    for (const Case &c : cases) {
        TkvlDockSiteModel s;
        s.Side = c.side;
        s.Thickness = 100;
        s.DragSplitter(c.dx, c.dy);
        EXPECT_EQ(s.Thickness, c.thickness) << int(c.side) << " " << c.dx;
    }
}

TEST(DockSiteModel, SplitterGripAndCursor)
{
    using namespace kvldocksplitter;
    // A bar 100 pixels long has its middle at 50: the hand within 20 pixels of it.
    EXPECT_EQ(CursorAt(TkvlDockSide::Left, 30, 100), Cursor::Hand);
    EXPECT_EQ(CursorAt(TkvlDockSide::Left, 70, 100), Cursor::Hand);
    EXPECT_EQ(CursorAt(TkvlDockSide::Left, 29, 100), Cursor::SplitHorizontal);
    EXPECT_EQ(CursorAt(TkvlDockSide::Bottom, 71, 100), Cursor::SplitVertical);
    EXPECT_EQ(GripRect(TkvlDockSide::Left, 100), QRect(0, 36, 6, 29));
    EXPECT_EQ(GripRect(TkvlDockSide::Top, 100), QRect(36, 0, 29, 6));
    const std::vector<QPoint> dots = GripDots(TkvlDockSide::Right, 100);
    ASSERT_EQ(dots.size(), 7u);
    EXPECT_EQ(dots.front(), QPoint(2, 41));
    EXPECT_EQ(dots.back(), QPoint(2, 59));
    EXPECT_EQ(GripDots(TkvlDockSide::Top, 100).front(), QPoint(41, 2));
}

const QSet<QString> kKnown{"Inspector", "DataTree", "ReportTree"};
bool known(const QString &name) { return kKnown.contains(name); }

TEST(DockSiteModel, LayoutTextRoundTrip)
{
    TkvlDockSiteModel m;
    m.Docked = {{"DataTree", 210}, {"Inspector", 330}};
    TkvlDockSiteModel back;
    ASSERT_TRUE(back.ApplyLayoutText(m.LayoutText(), known, 2000));
    EXPECT_EQ(back.Docked, m.Docked);
}

// A stored layout is read piece by piece: what cannot be used is skipped and the windows
// docked now are never lost.
TEST(DockSiteModel, HostileLayoutTexts)
{
    struct Case
    {
        const char *name;
        QByteArray text;
        bool read;
        std::vector<TkvlDockEntry> docked;
    } cases[] = {
        {"empty", "", false, {{"ReportTree", 50}}},
        {"foreign", "\x01\x02\xff garbage", false, {{"ReportTree", 50}}},
        {"unknown window", "kvldock 1\n100 Ghost\n120 DataTree", true, {{"DataTree", 120}, {"ReportTree", 50}}},
        {"sizes off screen", "kvldock 1\n-40 DataTree\n99999999999 Inspector", true,
         {{"DataTree", 0}, {"Inspector", 2000}, {"ReportTree", 50}}},
        {"bad lines", "kvldock 1\nDataTree\nx Inspector\n12 in:valid\n7 Inspector extra\n", true, {{"ReportTree", 50}}},
        {"twice", "kvldock 1\n10 DataTree\n20 datatree", true, {{"DataTree", 10}, {"ReportTree", 50}}},
        {"moves a docked one", "kvldock 1\n30 ReportTree\n40 Inspector", true, {{"ReportTree", 30}, {"Inspector", 40}}},
    };
    for (const Case &c : cases) {
        TkvlDockSiteModel m;
        m.Docked = {{"ReportTree", 50}};
        EXPECT_EQ(m.ApplyLayoutText(c.text, known, 2000), c.read) << c.name;
        EXPECT_EQ(m.Docked, c.docked) << c.name;
    }
}

// ---- drag manager

struct Log
{
    QStringList lines;
};

class FakeTarget : public TkvlDragTarget
{
public:
    FakeTarget(Log &log, QString name, bool accept) : FLog(log), FName(std::move(name)), FAccept(accept) {}
    bool DragOver(TkvlDragObject &, QPoint pos, TkvlDragState state) override
    {
        static const char *states[] = {"enter", "move", "leave"};
        FLog.lines << QStringLiteral("%1 %2 %3,%4").arg(FName, states[int(state)]).arg(pos.x()).arg(pos.y());
        return FAccept;
    }
    void DragDrop(TkvlDragObject &, QPoint pos) override
    {
        FLog.lines << QStringLiteral("%1 drop %2,%3").arg(FName).arg(pos.x()).arg(pos.y());
    }

private:
    Log &FLog;
    QString FName;
    bool FAccept;
};

class FakeSource : public TkvlDragSource
{
public:
    FakeSource(Log &log, bool floats) : FLog(log), FFloats(floats) {}
    void EndDrag(TkvlDragObject &d, TkvlDragTarget *target, bool cancelled) override
    {
        FLog.lines << QStringLiteral("end %1 %2 at %3,%4")
                          .arg(target ? "taken" : "nothing", cancelled ? "cancelled" : "dropped")
                          .arg(d.Pos.x())
                          .arg(d.Pos.y());
    }
    bool DropsOnNothing() const override { return FFloats; }

private:
    Log &FLog;
    bool FFloats;
};

// Two places side by side: "a" (x 0..99, takes drops) and "b" (x 100..199, refuses);
// positions are reported relative to the place.
class DragManagerTest : public ::testing::Test
{
protected:
    Log log;
    FakeTarget a{log, "a", true}, b{log, "b", false};
    TkvlDragManager manager{[this](const TkvlDragObject &, QPoint p, QPoint &local) -> TkvlDragTarget * {
        if (p.y() < 0 || p.y() >= 100 || p.x() < 0 || p.x() >= 200)
            return nullptr;
        local = QPoint(p.x() % 100, p.y());
        return p.x() < 100 ? static_cast<TkvlDragTarget *>(&a) : &b;
    }};
};

TEST_F(DragManagerTest, BeginsPastTheThresholdAndDropsOnTheAcceptingPlace)
{
    FakeSource source(log, false);
    manager.BeginDrag(&source, nullptr, QPoint(300, 50), 5);
    manager.MouseMove(QPoint(297, 47)); // not yet far enough
    EXPECT_FALSE(manager.Dragging());
    EXPECT_EQ(manager.Cursor(), TkvlDragCursor::Default);
    manager.MouseMove(QPoint(250, 50));
    EXPECT_TRUE(manager.Dragging());
    EXPECT_EQ(manager.Cursor(), TkvlDragCursor::NoDrop);
    manager.MouseMove(QPoint(150, 50));
    EXPECT_EQ(manager.Cursor(), TkvlDragCursor::NoDrop);
    manager.MouseMove(QPoint(50, 50));
    manager.MouseMove(QPoint(60, 55));
    EXPECT_EQ(manager.Cursor(), TkvlDragCursor::Drag);
    manager.MouseUp(QPoint(61, 56));
    EXPECT_FALSE(manager.Armed());
    EXPECT_EQ(log.lines, (QStringList{"b enter 50,50", "b leave 50,50", "a enter 50,50", "a move 60,55",
                                      "a move 61,56", "a drop 61,56", "end taken dropped at 61,56"}));
}

TEST_F(DragManagerTest, RefusedPlacesNothingAndEsc)
{
    struct Case
    {
        const char *name;
        bool floats;
        QPoint last;
        bool cancel;
        QString end;
        TkvlDragCursor cursor;
    } cases[] = {
        {"refused", false, QPoint(150, 10), false, "end nothing dropped at 150,10", TkvlDragCursor::NoDrop},
        {"nothing", false, QPoint(500, 10), false, "end nothing dropped at 500,10", TkvlDragCursor::NoDrop},
        {"refused, source floats", true, QPoint(150, 10), false, "end nothing dropped at 150,10", TkvlDragCursor::Drag},
        {"esc over a taker", false, QPoint(10, 10), true, "end nothing cancelled at 10,10", TkvlDragCursor::Drag},
    };
    for (const Case &c : cases) {
        log.lines.clear();
        FakeSource source(log, c.floats);
        manager.BeginDrag(&source, nullptr, QPoint(400, 10), 0);
        manager.MouseMove(c.last);
        EXPECT_EQ(manager.Cursor(), c.cursor) << c.name;
        if (c.cancel)
            manager.Cancel();
        else
            manager.MouseUp(c.last);
        EXPECT_EQ(log.lines.last(), c.end) << c.name;
        EXPECT_FALSE(log.lines.join(' ').contains("drop ")) << c.name;
        // After the end nothing more reaches anyone.
        const qsizetype n = log.lines.size();
        manager.MouseMove(QPoint(20, 20));
        manager.MouseUp(QPoint(20, 20));
        EXPECT_EQ(log.lines.size(), n) << c.name;
    }
}

TEST_F(DragManagerTest, ReleaseBeforeTheDragBeganIsAClick)
{
    FakeSource source(log, true);
    manager.BeginDrag(&source, nullptr, QPoint(10, 10), 5);
    manager.MouseUp(QPoint(11, 11));
    EXPECT_FALSE(manager.Armed());
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(DragManagerTest, APlaceThatGoesAwayIsNotCalledAgain)
{
    FakeSource source(log, false);
    manager.BeginDrag(&source, nullptr, QPoint(10, 10), 0);
    manager.TargetGone(&a);
    manager.Cancel();
    EXPECT_EQ(log.lines, (QStringList{"a enter 10,10", "end nothing cancelled at 10,10"}));
}

} // namespace
