// The workspace's selection bookkeeping, grouping and deleting.
#include "tests/designerworkspace/wsfixture.h"

#include <gtest/gtest.h>

namespace {

using wstest::Workspace;

TEST(WorkspaceModel, ThePageOrTheReportAloneCountsAsNothingSelected)
{
    Workspace w;
    auto *band = w.band<TkvlMasterData>("MasterData1", 100, 40);
    auto *m = w.memo(band, "Memo1", 10, 5, 50, 20);
    auto *n = w.memo(band, "Memo2", 200, 10, 30, 40);
    w.load();
    std::vector<TkvlRect> reports;
    w.ws.OnNotifyPosition = [&](const TkvlRect &r) { reports.push_back(r); };
    const struct {
        std::vector<TkvlComponent *> selection;
        int count;
    } cases[] = {
        {{w.page}, 0}, {{w.report.get()}, 0}, {{m}, 1}, {{m, n}, 2}, {{w.page, m}, 2},
    };
    for (const auto &c : cases) {
        w.lists.Selected = c.selection;
        EXPECT_EQ(w.ws.SelectedCount(), c.count);
    }
    w.select({w.page});
    w.ws.UpdateView();
    w.select({m});
    w.ws.UpdateView();
    w.select({m, n});
    w.ws.UpdateView();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0], (TkvlRect{0, 0, 0, 0}));
    EXPECT_EQ(reports[1], (TkvlRect{10, 5, 50, 20}));  // its own place in its band
    EXPECT_EQ(reports[2], (TkvlRect{10, 105, 220, 45}));  // the union on the page
    EXPECT_EQ(w.ws.GetRightBottomObject(), n);
}

TEST(WorkspaceModel, GroupingTakesTheLowestFreeNumberAndSelectingAMemberTakesTheGroup)
{
    Workspace w;
    auto *band = w.band<TkvlMasterData>("MasterData1", 100, 40);
    auto *g1 = w.memo(band, "G1", 0, 0);
    auto *g3 = w.memo(band, "G3", 0, 20);
    auto *a = w.memo(band, "A", 120, 0);
    auto *b = w.memo(band, "B", 120, 20);
    auto *c = w.memo(band, "C", 240, 0);
    g1->SetGroupIndex(1);
    g3->SetGroupIndex(3);
    w.load();
    w.select({a, b});
    w.ws.GroupObjects();
    EXPECT_EQ(a->GroupIndex(), 2);
    EXPECT_EQ(b->GroupIndex(), 2);
    w.ws.GroupObjects();  // their own number is cleared first, so it comes back
    EXPECT_EQ(a->GroupIndex(), 2);

    int changes = 0;
    w.ws.OnSelectionChanged = [&] { ++changes; };
    w.select({c, b});
    w.ws.SelectionChanged();
    EXPECT_EQ(w.lists.Selected, (std::vector<TkvlComponent *>{c, b, a}));
    EXPECT_EQ(changes, 1);

    w.select({a, b});
    w.ws.UngroupObjects();
    EXPECT_EQ(a->GroupIndex(), 0);
    EXPECT_EQ(g3->GroupIndex(), 3);
}

TEST(WorkspaceModel, DeletingRemovesObjectsAndChildrenButKeepsTheProtected)
{
    Workspace w;
    auto *band = w.band<TkvlMasterData>("MasterData1", 100, 40);
    auto *inBand = w.memo(band, "InBand", 0, 0);
    auto *keep = w.memo(w.page, "Keep", 0, 300);
    keep->SetRestrictions(kvlBit(rfDontDelete));
    auto *plain = w.memo(w.page, "Plain", 0, 400);
    w.load();

    // A band with its memo and a plain memo go; the protected memo stays, selected.
    w.select({band, keep, plain});
    w.ws.DeleteObjects();
    EXPECT_EQ(w.lists.Selected, (std::vector<TkvlComponent *>{keep}));
    EXPECT_EQ(w.page->FindObject(u"MasterData1"), nullptr);
    EXPECT_EQ(w.page->FindObject(u"Plain"), nullptr);
    for (TkvlComponent *gone : {static_cast<TkvlComponent *>(band), static_cast<TkvlComponent *>(inBand),
                                static_cast<TkvlComponent *>(plain)})
        EXPECT_EQ(std::count(w.lists.Objects.begin(), w.lists.Objects.end(), gone), 0);
    EXPECT_EQ(w.modified, 1);

    // Deleting the last selected objects selects the page.
    auto *last = w.memo(w.page, "Last", 0, 500);
    w.load();
    w.select({last});
    w.ws.DeleteObjects();
    EXPECT_EQ(w.lists.Selected, (std::vector<TkvlComponent *>{w.page}));
    EXPECT_EQ(w.modified, 2);

    // Nothing selected: nothing happens, no notification.
    w.ws.DeleteObjects();
    EXPECT_EQ(w.modified, 2);
}

// With an inherited object anywhere in the selection nothing is deleted: the check comes first,
// so no half-done delete escapes the layout, undo and the modified flag.
TEST(WorkspaceModel, AnInheritedObjectStopsTheWholeDelete)
{
    Workspace w;
    auto *first = w.memo(w.page, "First", 0, 0);
    auto *inherited = w.memo(w.page, "Inherited", 0, 100);
    inherited->Ancestor = true;
    w.load();
    w.select({first, inherited});
    try {
        w.ws.DeleteObjects();
        ADD_FAILURE() << "no error";
    } catch (const EDesignerError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Could not delete Inherited, it was introduced in the ancestor report"));
    }
    EXPECT_EQ(w.page->FindObject(u"First"), first);
    EXPECT_EQ(w.lists.Selected.size(), 2u);
    EXPECT_EQ(w.modified, 0);
}

TEST(WorkspaceModel, ScaleGivesTheSheetAndThePrintableArea)
{
    Workspace w;
    w.ws.SetPageDimensions(794, 1123, TkvlMargins{38, 38, 38, 38});
    const struct {
        double scale;
        QSize panel;
        QRect area;
    } cases[] = {
        // left = Round(38 s); width = panel - Round(75 s)
        {1, QSize(794, 1123), QRect(38, 38, 794 - 75, 1123 - 75)},
        {0.5, QSize(397, 562), QRect(19, 19, 397 - 38, 562 - 38)},  // 561.5 and 37.5 round to even
        {2, QSize(1588, 2246), QRect(76, 76, 1588 - 150, 2246 - 150)},
    };
    for (const auto &c : cases) {
        w.ws.SetScale(c.scale);
        EXPECT_EQ(w.ws.PanelSize(), c.panel) << c.scale;
        EXPECT_EQ(w.ws.WorkspaceRect(), c.area) << c.scale;
    }
}

TEST(WorkspaceModel, ModifyIsRaisedOncePerChange)
{
    Workspace w;
    w.ws.DoModify();
    EXPECT_EQ(w.modified, 0);
    w.ws.FModifyFlag = true;
    w.ws.DoModify();
    w.ws.DoModify();
    EXPECT_EQ(w.modified, 1);
}

} // namespace
