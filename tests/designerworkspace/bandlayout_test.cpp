// Band layout: print order, stacking on the grid with the group gap, views attached to the band
// they lie in, dialog controls in the controls that hold them. Expected tops follow the stacking
// rule: next top = Round((top + height + caption + gap) / step) * step (+ group gap).
#include "designer/core/bandlayout.h"
#include "tests/designerworkspace/wsfixture.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/pages/kvldialogpage.h"

#include <QWidget>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

// A control that takes child controls, and one that does not.
class TkvlTestPanelControl final : public TkvlDialogControl {
    LIRRA_CLASS(TkvlTestPanelControl, TkvlDialogControl)
public:
    explicit TkvlTestPanelControl(TComponent *AOwner) : TkvlDialogControl(AOwner)
    {
        SetControl(std::make_unique<QWidget>());
    }
};
LIRRA_DEFINE_CLASS(TkvlTestPanelControl)
void TkvlTestPanelControl::DeclareClass(rtl::ClassBuilder<TkvlTestPanelControl> &) {}

class TkvlTestLabelControl final : public TkvlDialogControl {
    LIRRA_CLASS(TkvlTestLabelControl, TkvlDialogControl)
public:
    explicit TkvlTestLabelControl(TComponent *AOwner) : TkvlDialogControl(AOwner)
    {
        SetControl(std::make_unique<QWidget>());
    }
};
LIRRA_DEFINE_CLASS(TkvlTestLabelControl)
void TkvlTestLabelControl::DeclareClass(rtl::ClassBuilder<TkvlTestLabelControl> &) {}

namespace {

using wstest::Workspace;

constexpr double mm = 3.77953;         // one millimetre, the default grid step
constexpr double caption = 5 * mm;     // the centimetre grid's caption strip
constexpr double groupGap = 10 * mm;   // one centimetre after the top group, before the bottom

double stacked(double prevTop, double prevHeight, double header, double gap, double step)
{
    return std::nearbyint((prevTop + prevHeight + header + gap) / step) * step;
}

struct Case {
    const char *name;
    std::function<void(Workspace &)> run;
};

void expectOrder(const std::vector<TkvlBand *> &bands)
{
    for (size_t i = 1; i < bands.size(); ++i)
        EXPECT_LT(bands[i - 1]->Top(), bands[i]->Top()) << bands[i - 1]->Name().toStdString() << " before "
                                                        << bands[i]->Name().toStdString();
}

TEST(BandLayout, StacksAttachesAndReparents)
{
    const Case cases[] = {
        {"title, data and footer in print order",
         [](Workspace &w) {
             auto *data = w.band<TkvlMasterData>("MasterData1", 500, 20);
             auto *title = w.band<TkvlReportTitle>("ReportTitle1", 300, 20);
             auto *footer = w.band<TkvlPageFooter>("PageFooter1", 100, 20);
             w.load();
             w.ws.AdjustBands(true);
             expectOrder({title, data, footer});
             EXPECT_DOUBLE_EQ(title->Top(), Round8(caption));
             EXPECT_DOUBLE_EQ(data->Top(), Round8(stacked(title->Top(), 20, caption, 0, mm) + groupGap));
             EXPECT_DOUBLE_EQ(footer->Top(), Round8(stacked(data->Top(), 20, caption, 0, mm) + groupGap));
             // Bands come first in the list, in their own order.
             EXPECT_EQ(w.lists.Objects[0], data);
             EXPECT_EQ(w.lists.Objects[1], title);
             EXPECT_EQ(w.lists.Objects[2], footer);
         }},
        {"title before or after the page header",
         [](Workspace &w) {
             auto *header = w.band<TkvlPageHeader>("PageHeader1", 0, 20);
             auto *title = w.band<TkvlReportTitle>("ReportTitle1", 0, 20);
             w.load();
             w.page->TitleBeforeHeader = true;
             w.ws.AdjustBands(true);
             expectOrder({title, header});
             w.page->TitleBeforeHeader = false;
             w.ws.AdjustBands(true);
             expectOrder({header, title});
         }},
        {"the 98.26778 of a title 20 high with a band gap of 4",
         [](Workspace &w) {
             auto *title = w.band<TkvlReportTitle>("ReportTitle1", 0, 20);
             auto *data = w.band<TkvlMasterData>("MasterData1", 200, 20);
             w.ws.FGapBetweenBands = 4;
             w.load();
             w.ws.AdjustBands(true);
             EXPECT_DOUBLE_EQ(title->Top(), 18.89765);
             EXPECT_DOUBLE_EQ(data->Top(), 98.26778);
         }},
        {"equal tops: the later band first",
         [](Workspace &w) {
             auto *a = w.band<TkvlMasterData>("A", 100, 20);
             auto *b = w.band<TkvlMasterData>("B", 100, 20);
             w.load();
             w.ws.AdjustBands(true);
             expectOrder({b, a});
         }},
        {"a child band of another kind right after its parent, in the parent's group",
         [](Workspace &w) {
             auto *title = w.band<TkvlReportTitle>("ReportTitle1", 0, 20);
             auto *data = w.band<TkvlMasterData>("MasterData1", 300, 20);
             auto *child = w.band<TkvlChild>("Child1", 900, 10);
             title->SetChild(child);
             w.load();
             w.ws.AdjustBands(true);
             expectOrder({title, child, data});
             // No group gap between the title and its child; one after the child.
             EXPECT_DOUBLE_EQ(child->Top(), Round8(stacked(title->Top(), 20, caption, 0, mm)));
             EXPECT_DOUBLE_EQ(data->Top(), Round8(stacked(child->Top(), 10, caption, 0, mm) + groupGap));
         }},
        {"captions off: bands touch but for the band gap",
         [](Workspace &w) {
             auto *a = w.band<TkvlMasterData>("A", 10, 2 * mm);
             auto *b = w.band<TkvlMasterData>("B", 50, 20);
             w.ws.FGapBetweenBands = 0;
             w.ws.SetShowBandCaptions(false);
             EXPECT_EQ(w.ws.FBandHeader, 0);
             w.load();
             w.ws.AdjustBands(true);
             EXPECT_DOUBLE_EQ(a->Top(), 0);
             EXPECT_DOUBLE_EQ(b->Top(), Round8(2 * mm));
         }},
        {"a memo in the gap goes to the page, and into the band it is moved to",
         [](Workspace &w) {
             auto *title = w.band<TkvlReportTitle>("ReportTitle1", 0, 20);
             auto *data = w.band<TkvlMasterData>("MasterData1", 100, 40);
             auto *m = w.memo(title, "Memo1", 10, 5);
             w.load();
             w.ws.AdjustBands(true);
             EXPECT_EQ(m->Parent(), title);
             EXPECT_DOUBLE_EQ(m->Top(), 5);
             const double gapTop = title->Top() + 20 + 5;  // below the title, above the data band's area
             m->SetTop(gapTop - title->Top());
             w.ws.AdjustBands(true);
             EXPECT_EQ(m->Parent(), w.page);
             EXPECT_NEAR(m->Top(), gapTop, 1e-9);
             m->SetTop(data->Top() + 7);
             w.ws.AdjustBands(true);
             EXPECT_EQ(m->Parent(), data);
             EXPECT_NEAR(m->Top(), 7, 1e-9);
             // Without attaching, the views are released to the page.
             w.ws.AdjustBands(false);
             EXPECT_EQ(m->Parent(), w.page);
             EXPECT_NEAR(m->Top(), data->Top() + 7, 1e-9);
         }},
        {"free placement keeps the bands but still attaches",
         [](Workspace &w) {
             auto *data = w.band<TkvlMasterData>("MasterData1", 500, 40);
             auto *title = w.band<TkvlReportTitle>("ReportTitle1", 300, 20);
             auto *m = w.memo(w.page, "Memo1", 0, 510);
             w.ws.FFreeBandsPlacement = true;
             w.load();
             w.ws.AdjustBands(true);
             EXPECT_DOUBLE_EQ(data->Top(), 500);
             EXPECT_DOUBLE_EQ(title->Top(), 300);
             EXPECT_EQ(m->Parent(), data);
             EXPECT_DOUBLE_EQ(m->Top(), 10);
         }},
        {"a band at 1,500,000 after one at 300,000",
         [](Workspace &w) {
             auto *far = w.band<TkvlMasterData>("Far", 1500000, 20);
             auto *near = w.band<TkvlMasterData>("Near", 300000, 20);
             w.load();
             w.ws.AdjustBands(true);
             expectOrder({near, far});
         }},
        {"a zero grid step stacks without grid rounding",
         [](Workspace &w) {
             auto *title = w.band<TkvlReportTitle>("ReportTitle1", 0, 20.3);
             auto *data = w.band<TkvlMasterData>("MasterData1", 100, 20);
             w.ws.FGridY = 0;
             w.ws.FGapBetweenBands = 4;
             w.load();
             w.ws.AdjustBands(true);
             EXPECT_DOUBLE_EQ(data->Top(), Round8(title->Top() + 20.3 + caption + 4 + groupGap));
         }},
        {"a two-column page attaches only views left of the band's right edge",
         [](Workspace &w) {
             w.page->SetColumns(2);
             w.page->ColumnWidth = 90;
             auto *data = w.band<TkvlMasterData>("MasterData1", 100, 40);
             data->SetWidth(90 * mm);
             w.load();
             w.ws.AdjustBands(true);
             auto *inside = w.memo(w.page, "Inside", 100, data->Top() + 2);
             auto *outside = w.memo(w.page, "Outside", 90 * mm + 10, data->Top() + 2);
             w.load();
             w.ws.AdjustBands(true);
             EXPECT_EQ(inside->Parent(), data);
             EXPECT_EQ(outside->Parent(), w.page);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Workspace w;
        c.run(w);
    }
}

// A band grows around its objects; one sticking out above moves everything down.
TEST(BandLayout, BandHeightGrowsAroundItsObjects)
{
    Workspace w;
    auto *b = w.band<TkvlMasterData>("MasterData1", 100, 20);
    auto *high = w.memo(b, "High", 0, -10, 50, 18);
    auto *low = w.memo(b, "Low", 0, 15, 50, 18);
    auto *bottom = w.memo(b, "Bottom", 0, 60, 50, 18);
    bottom->SetAlign(baBottom);  // aligned to the bottom: not counted
    w.ws.AdjustBandHeight(b);
    EXPECT_DOUBLE_EQ(b->Height(), 43);  // from -10 to 33
    EXPECT_DOUBLE_EQ(high->Top(), 0);
    EXPECT_DOUBLE_EQ(low->Top(), 25);
    EXPECT_DOUBLE_EQ(bottom->Top(), 70);
    w.ws.AdjustBandHeight(b);  // never shrinks, nothing above any more
    EXPECT_DOUBLE_EQ(b->Height(), 43);
}

// A view keeps its place on the page wherever the layout puts it, and the order of a band's
// objects follows the object list.
TEST(BandLayout, ViewsKeepTheirPlaceOnThePage)
{
    Workspace w;
    auto *a = w.band<TkvlMasterData>("A", 100, 40);
    auto *b = w.band<TkvlMasterData>("B", 200, 40);
    auto *m1 = w.memo(a, "M1", 0, 30);
    auto *m2 = w.memo(a, "M2", 0, 2);
    auto *m3 = w.memo(b, "M3", 0, 35);
    w.load();
    w.ws.AdjustBands(true);
    // B moves up over A's lower part (taking M3 along) and gets shorter: M1 now lies in both
    // (the later band takes it), M3 below B in neither.
    w.ws.FFreeBandsPlacement = true;
    b->SetTop(a->Top() + 25);
    b->SetHeight(30);
    std::vector<std::pair<TkvlComponent *, double>> before;
    for (TkvlComponent *m : {m1, m2, m3})
        before.push_back({m, m->GetAbsTop()});
    w.ws.AdjustBands(true);
    EXPECT_EQ(m1->Parent(), b);
    EXPECT_EQ(m2->Parent(), a);
    EXPECT_EQ(m3->Parent(), w.page);
    for (const auto &[m, top] : before)
        EXPECT_NEAR(m->GetAbsTop(), top, 1e-9) << m->Name().toStdString();
    EXPECT_EQ(b->Objects(), (std::vector<TkvlComponent *>{m1}));
    EXPECT_EQ(a->Objects(), (std::vector<TkvlComponent *>{m2}));
}

// On a dialog page a control enters a control that accepts children when its top-left corner
// lies inside, and leaves it again when moved out.
TEST(BandLayout, DialogControlsEnterAndLeavePanels)
{
    struct View : TkvlWorkspaceView {
        int fronts = 0;
        void Invalidate() override {}
        void GeometryChanged() override {}
        void BringToFront() override { ++fronts; }
        bool AcceptsControls(TkvlComponent *C) override { return C->Is<TkvlTestPanelControl>(); }
    } view;
    wstest::initOnce();
    rtl::RegisterClasses({TkvlTestPanelControl::StaticClass(), TkvlTestLabelControl::StaticClass()});
    TkvlReport report(nullptr);
    auto *page = new TkvlDialogPage(&report);
    auto *label = new TkvlTestLabelControl(page);  // takes no children
    label->SetBounds(0, 0, 400, 300);
    auto *panel = new TkvlTestPanelControl(page);
    panel->SetBounds(10, 10, 200, 100);
    auto *edit = new TkvlTestLabelControl(page);
    edit->SetBounds(50, 40, 80, 20);
    TkvlObjectLists lists;
    lists.Load(page);
    TkvlWorkspace ws;
    ws.SetView(&view);
    ws.SetLists(&lists);
    ws.SetPage(page);
    ws.AdjustBands(true);
    EXPECT_EQ(edit->Parent(), panel);
    EXPECT_DOUBLE_EQ(edit->Left(), 40);
    EXPECT_DOUBLE_EQ(edit->Top(), 30);
    EXPECT_EQ(panel->Parent(), page);  // the label before it takes nothing
    edit->SetLeft(300);
    ws.AdjustBands(true);
    EXPECT_EQ(edit->Parent(), page);
    EXPECT_DOUBLE_EQ(edit->Left(), 310);
    EXPECT_DOUBLE_EQ(edit->Top(), 40);
    EXPECT_EQ(view.fronts, 1);
}

} // namespace
