// Printed objects under the mouse: the hit test, enter and leave, cursors, drill-down groups and
// hyperlinks, against a preview that records what it is asked.
#include "engine/run/kvlengine.h"
#include "engine/store/previewnavigator.h"
#include "platform/rtl/stream.h"
#include "platform/ui/fakes.h"
#include "tests/engine/mousefixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace preparedtest;

namespace {

class FakePreview : public RecordingPreview, public TkvlPreviewNavigator {
public:
    QStringList Tabs;
    std::vector<std::unique_ptr<TkvlReport>> DetailReports;
    std::vector<std::unique_ptr<TkvlCustomPreviewPages>> DetailPages;

    void SetPosition(int PageNo, int Top) override { Calls << QStringLiteral("SetPosition %1 %2").arg(PageNo).arg(Top); }
    void SetPageNo(int PageNo) override { Calls << QStringLiteral("SetPageNo %1").arg(PageNo); }
    bool HasTab(const QString &Name) override { return Tabs.contains(Name); }
    void SwitchToTab(const QString &Name) override { Calls << QStringLiteral("SwitchToTab ") + Name; }
    void AddReportTab(std::unique_ptr<TkvlReport> R, const QString &Name, const QString &Caption) override
    {
        Calls << QStringLiteral("AddReportTab %1 %2").arg(Name, Caption);
        Tabs << Name;
        DetailReports.push_back(std::move(R));
    }
    void AddPagesTab(TkvlReport *, std::unique_ptr<TkvlCustomPreviewPages> Pages, const QString &Name,
                     const QString &DetailPage, const QString &Caption) override
    {
        Calls << QStringLiteral("AddPagesTab %1 %2 %3").arg(Name, DetailPage, Caption);
        Tabs << Name;
        DetailPages.push_back(std::move(Pages));
    }
    void Invalidate() override { Calls << QStringLiteral("Invalidate"); }
    void RepaintWorkspace() override { Calls << QStringLiteral("Repaint"); }
    void ShowReportHint(const QString &Text, QPoint At) override
    {
        Calls << QStringLiteral("Hint %1 %2,%3").arg(Text).arg(At.x()).arg(At.y());
    }
    void HideReportHint() override { Calls << QStringLiteral("HideHint"); }
};

struct MouseFixture : MouseReport {
    MouseFixture()
    {
        preview.UseReportHints = true;
        report->SetPreview(&preview);
    }
    ~MouseFixture() { report->SetPreview(nullptr); }

    FakePreview preview;
};

} // namespace

// The object drawn last wins; moving between objects leaves the first before entering the
// second, and moving out of every object leaves once.
TEST(ObjectOver, HitTestEnterAndLeave)
{
    MouseFixture f;
    f.mouse(50, 50);    // Back only
    f.mouse(150, 50);   // Back and Front overlap: Front
    f.mouse(160, 55);   // still Front: nothing new
    f.mouse(500, 130);  // inside band D, outside every view
    f.mouse(500, 130);
    EXPECT_EQ(f.events, (QStringList{QStringLiteral("enter Back"), QStringLiteral("leave Back"),
                                     QStringLiteral("enter Front"), QStringLiteral("leave Front")}));
    f.click(150, 50);   // the link of the later object: page 2
    EXPECT_EQ(f.preview.Calls.filter(QStringLiteral("Set")), QStringList{QStringLiteral("SetPageNo 2")});
    f.preview.Calls.clear();
    f.click(50, 50);    // Back: anchor a1 on page 2 (index 1), top 0
    EXPECT_EQ(f.preview.Calls.filter(QStringLiteral("Set")), QStringList{QStringLiteral("SetPosition 2 0")});
}

TEST(ObjectOver, CursorsHintsAndStatus)
{
    struct Case {
        const char *Name;
        int X, Y;
        int Cursor;
    };
    const Case cases[] = {
        {"no object", 500, 130, 0},
        {"link without a cursor of its own", 150, 50, crHandPoint},
        {"link with its own cursor", 10, 95, crHelp},
        {"no link", 250, 95, 0},
        {"inside a drill-down header", 10, 10, crHandPoint},
        {"drill-down header outside its views", 300, 10, crHandPoint},
    };
    MouseFixture f;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(f.mouse(c.X, c.Y), c.Cursor);
    }
    f.preview.Calls.clear();
    f.mouse(250, 95);
    EXPECT_TRUE(f.preview.Calls.contains(QStringLiteral("Hint breve 250,95")));
}

// A click inside a drill-down header toggles its group and prepares again; the link of the
// object clicked is not followed.
TEST(ObjectOver, DrillDownClickTogglesTheGroup)
{
    MouseFixture f;
    f.click(10, 10);
    EXPECT_EQ(f.report->DrillState().Text().trimmed(), QStringLiteral("g1"));
    EXPECT_TRUE(f.preview.Calls.contains(QStringLiteral("RefreshReport")));
    EXPECT_TRUE(f.services.shell.urls.isEmpty());
    f.click(10, 10);
    EXPECT_EQ(f.report->DrillState().Count(), 0);
    // The right button does not toggle.
    int cursor = 0;
    f.store->ObjectOver(0, 10, 10, mbRight, 0, 1, 0, 0, cursor, meClick);
    EXPECT_EQ(f.report->DrillState().Count(), 0);
}

TEST(ObjectOver, LinksToAddressesPagesAndBadPages)
{
    MouseFixture f;
    f.click(10, 95);
    EXPECT_EQ(f.services.shell.urls, QStringList{QStringLiteral("https://esempio.it/aiuto")});
    f.preview.Calls.clear();
    f.click(70, 95);  // page "x": nothing moves
    EXPECT_TRUE(f.preview.Calls.filter(QStringLiteral("Set")).isEmpty());
    // A program is never started from a link.
    TkvlView *help = rtl_cast<TkvlView>(f.store->GetPage(0)->FindObject(QStringLiteral("Help")));
    ASSERT_TRUE(help);
    help->Hyperlink()->FValue = QStringLiteral("file:///bin/sh");
    f.services.shell.urls.clear();
    f.click(10, 95);
    EXPECT_TRUE(f.services.shell.urls.isEmpty());
    EXPECT_EQ(f.services.shell.documents, QStringList{QStringLiteral("/bin")});
}

// A detail report opens in a new tab once; the second click switches to it. A detail report
// that cannot be loaded opens nothing and leaves no report behind.
TEST(ObjectOver, DetailReportLinks)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("dettaglio.kr3"));
    {
        TkvlReport t(nullptr);
        auto *p = new TkvlReportPage(&t);
        p->SetName(QStringLiteral("Page1"));
        p->SetPaperSize(9);
        auto *b = new TkvlReportTitle(p);
        b->SetName(QStringLiteral("Title"));
        b->SetBounds(0, 0, 600, 30);
        newMemo(b, QStringLiteral("M"), 0, 0, 100, 20, QStringLiteral("dettaglio"));
        t.SaveToFile(file);
    }
    {
        MouseFixture f;
        TkvlView *rep = rtl_cast<TkvlView>(f.store->GetPage(0)->FindObject(QStringLiteral("Rep")));
        rep->Hyperlink()->FDetailReport = dir.filePath(QStringLiteral("manca.kr3"));
        rtl::ComponentRef<TkvlReport> made;
        f.report->OnLoadDetailTemplate = [&](TkvlReport *R, const QString &, TkvlHyperlink *) {
            made = R;
            return false;
        };
        f.click(130, 95);
        EXPECT_TRUE(f.preview.Tabs.isEmpty());
        EXPECT_EQ(made.get(), nullptr);

        rep->Hyperlink()->FDetailReport = file;
        f.click(130, 95);
        f.click(130, 95);
        EXPECT_EQ(f.preview.Calls.filter(QStringLiteral("Tab")),
                  (QStringList{QStringLiteral("AddReportTab dett Dettaglio"), QStringLiteral("SwitchToTab dett")}));
        ASSERT_EQ(f.preview.DetailReports.size(), 1u);
        EXPECT_EQ(f.preview.DetailReports[0]->PreviewPages()->GetCount(), 1);
    }
}

// A detail page is prepared into pages of its own, shown in a new tab; the report keeps its
// main pages.
TEST(ObjectOver, DetailPageLinks)
{
    MouseFixture f;
    f.click(190, 95);
    ASSERT_EQ(f.preview.Calls.filter(QStringLiteral("Tab")), QStringList{QStringLiteral("AddPagesTab pag Detail Pagina")});
    ASSERT_EQ(f.preview.DetailPages.size(), 1u);
    EXPECT_EQ(f.preview.DetailPages[0]->GetCount(), 1);
    EXPECT_EQ(f.report->PreviewPages(), f.store);
    EXPECT_EQ(f.report->Engine()->PreviewPages, f.store);
    EXPECT_EQ(f.report->Preview(), &f.preview);
    EXPECT_EQ(f.store->GetCount(), 2);
}

// Modified by a click handler: the page is stored whole, with the change.
TEST(ObjectOver, APageModifiedByAClickIsStored)
{
    MouseFixture f;
    f.modifyOnClick = true;
    auto *plain = rtl_cast<TkvlMemoView>(f.store->GetPage(0)->FindObject(QStringLiteral("Plain")));
    plain->SetText(QStringLiteral("cambiato"));
    f.click(250, 95);
    EXPECT_TRUE(f.preview.Calls.contains(QStringLiteral("Invalidate")));
    f.store->ClearPageCache();
    auto *again = rtl_cast<TkvlMemoView>(f.store->GetPage(0)->FindObject(QStringLiteral("Plain")));
    EXPECT_EQ(again->Text().trimmed(), QStringLiteral("cambiato"));
}

TEST(ObjectOver, NothingWhileTheEngineRuns)
{
    MouseFixture f;
    f.report->Engine()->Running = true;
    EXPECT_EQ(f.click(10, 10), 0);
    EXPECT_EQ(f.click(150, 50), 0);
    f.report->Engine()->Running = false;
    EXPECT_TRUE(f.events.isEmpty());
    EXPECT_TRUE(f.preview.Calls.isEmpty());
    EXPECT_EQ(f.report->DrillState().Count(), 0);
}

// Pages read from a prepared-report file: a drill-down click and a detail-page link leave them
// as they are and prepare nothing.
TEST(ObjectOver, PagesFromAFileAreNotPreparedAgain)
{
    MouseFixture f;
    TMemoryStream s;
    f.store->SaveToStream(s);
    s.Seek(0, soBeginning);
    f.store->LoadFromStream(s);
    ASSERT_TRUE(f.store->LoadedFromFile());
    f.click(10, 10);
    f.click(190, 95);
    EXPECT_EQ(f.report->DrillState().Count(), 0);
    EXPECT_FALSE(f.preview.Calls.contains(QStringLiteral("RefreshReport")));
    EXPECT_TRUE(f.preview.Tabs.isEmpty());
    EXPECT_EQ(f.store->GetCount(), 2);
}
