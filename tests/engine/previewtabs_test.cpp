// The preview's tab list on its own, over a recording host: each tab's state kept across
// switches, and what closing a tab or losing a report frees.
#include "engine/preview/kvlpreviewtabs.h"
#include "report/document/kvlreport.h"
#include "tests/engine/enginefixture.h"
#include "tests/engine/previewfixture.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using previewtest::FixtureStore;

// Pages that count their end.
class CountedPages : public FixtureStore {
public:
    CountedPages(TkvlReport *Report, int *Freed) : FixtureStore(Report), FFreed(Freed) {}
    ~CountedPages() override { ++*FFreed; }

private:
    int *FFreed;
};

// A report that counts its end and owns the pages it shows first.
class CountedReport : public TkvlReport {
public:
    CountedReport(int *Freed, int *PagesFreed) : TkvlReport(nullptr), FFreed(Freed)
    {
        Pages = std::make_unique<CountedPages>(this, PagesFreed);
        SetPreviewPages(Pages.get());
    }
    ~CountedReport() override
    {
        ++*FFreed;
        SetPreviewPages(MainPreviewPages());
    }
    std::unique_ptr<CountedPages> Pages;

private:
    int *FFreed;
};

// The preview's state as a few fields; the report shown is what ShowTabPages last got.
struct Host : TkvlPreviewTabHost {
    double zoom = 1;
    TkvlZoomMode mode = zmDefault;
    int page = 1, left = 0, top = 0;
    TkvlReport *shown = nullptr;
    TkvlCustomPreviewPages *pages = nullptr;
    QStringList detached;
    double TabZoom() const override { return zoom; }
    TkvlZoomMode TabZoomMode() const override { return mode; }
    void SetTabZoom(double Zoom) override { zoom = Zoom, mode = zmDefault; }
    void SetTabZoomMode(TkvlZoomMode Mode) override { mode = Mode; }
    int TabPageNo() const override { return page; }
    int TabLeft() const override { return left; }
    int TabTop() const override { return top; }
    void ShowTabPages(TkvlReport *Report, TkvlCustomPreviewPages *Pages, int PageNo) override
    {
        shown = Report, pages = Pages, page = PageNo;
    }
    void SetTabScroll(int Left, int Top) override { left = Left, top = Top; }
    void DetachTabReport(TkvlReport *Report) override { detached << Report->ReportOptions()->Name; }
    void UpdateTabOutline() override {}
};

TEST(PreviewTabList, EachTabComesBackAsItWasLeft)
{
    ReportClassesRegistered registered;
    int reportsFreed = 0, pagesFreed = 0;
    CountedReport main(&reportsFreed, &pagesFreed);
    Host host;
    TkvlPreviewTabs tabs(&host);
    tabs.AddTab(&main, QString(), QStringLiteral("main"), false);
    host.zoom = 1.5, host.page = 3, host.left = 10, host.top = 40;
    auto *detailPages = new CountedPages(&main, &pagesFreed);
    main.SetPreviewPages(detailPages);
    tabs.AddTab(&main, QStringLiteral("Page2"), QStringLiteral("d"), true);
    tabs.SetCurrentTab(1);
    EXPECT_EQ(host.pages, detailPages);
    EXPECT_EQ(host.page, 1);
    EXPECT_DOUBLE_EQ(host.zoom, 1.5);  // a new tab takes the zoom it was made with
    host.mode = zmPageWidth, host.page = 1, host.left = 0, host.top = 0;

    tabs.SetCurrentTab(0);
    EXPECT_EQ(host.pages, main.Pages.get());
    EXPECT_EQ(main.PreviewPages(), main.Pages.get());
    EXPECT_EQ(host.mode, zmDefault);
    EXPECT_DOUBLE_EQ(host.zoom, 1.5);
    EXPECT_EQ(host.page, 3);
    EXPECT_EQ(host.left, 10);
    EXPECT_EQ(host.top, 40);
    tabs.SetCurrentTab(1);
    EXPECT_EQ(host.mode, zmPageWidth);
    tabs.SetCurrentTab(7);  // beyond the list: nothing
    EXPECT_EQ(tabs.CurTab(), 1);
    tabs.SetCurrentTab(0);
    tabs.DeleteTab(1);
    EXPECT_EQ(pagesFreed, 1);
    EXPECT_EQ(reportsFreed, 0);
}

// A detail report and a detail page of it: whichever tab is closed first, the report and both
// page stores are freed exactly once, and the report never keeps freed pages as its current.
TEST(PreviewTabList, ADetailReportAndItsPageFreedOnceInEitherOrder)
{
    ReportClassesRegistered registered;
    for (const bool reportFirst : {true, false}) {
        SCOPED_TRACE(reportFirst ? "report tab first" : "page tab first");
        int reportsFreed = 0, pagesFreed = 0;
        CountedReport main(&reportsFreed, &pagesFreed);
        Host host;
        TkvlPreviewTabs tabs(&host);
        tabs.AddTab(&main, QString(), QStringLiteral("main"), false);
        auto *detail = new CountedReport(&reportsFreed, &pagesFreed);
        tabs.AddTab(detail, QString(), QStringLiteral("r"), true);
        auto *pagePages = new CountedPages(detail, &pagesFreed);
        detail->SetPreviewPages(pagePages);
        tabs.AddTab(detail, QStringLiteral("Page2"), QStringLiteral("p"), true);
        ASSERT_EQ(tabs.Count(), 3);
        tabs.DeleteTab(reportFirst ? 1 : 2);
        EXPECT_EQ(reportsFreed, 0);
        EXPECT_EQ(pagesFreed, reportFirst ? 0 : 1);
        if (!reportFirst) {
            EXPECT_NE(detail->PreviewPages(), pagePages);
        }
        tabs.DeleteTab(1);
        EXPECT_EQ(reportsFreed, 1);
        EXPECT_EQ(pagesFreed, 2);
        EXPECT_EQ(tabs.Count(), 1);
    }
}

// The first tab's report going away by its owner takes every tab: what the other tabs own is
// freed, the report itself is not.
TEST(PreviewTabList, TheFirstReportGoingTakesEveryTab)
{
    ReportClassesRegistered registered;
    int reportsFreed = 0, pagesFreed = 0;
    auto main = std::make_unique<CountedReport>(&reportsFreed, &pagesFreed);
    Host host;
    TkvlPreviewTabs tabs(&host);
    tabs.AddTab(main.get(), QString(), QStringLiteral("main"), false);
    main->SetPreviewPages(new CountedPages(main.get(), &pagesFreed));
    tabs.AddTab(main.get(), QStringLiteral("Page2"), QStringLiteral("p"), true);
    tabs.AddTab(new CountedReport(&reportsFreed, &pagesFreed), QString(), QStringLiteral("r"), true);
    tabs.SetCurTab(2);
    tabs.ForgetReport(main.get());
    EXPECT_EQ(tabs.Count(), 0);
    EXPECT_EQ(tabs.CurTab(), 0);
    EXPECT_EQ(reportsFreed, 1);  // the detail report, with its pages
    EXPECT_EQ(pagesFreed, 2);    // the detail page's and the detail report's
    EXPECT_EQ(main->PreviewPages(), main->MainPreviewPages());
    main.reset();
    EXPECT_EQ(reportsFreed, 2);
    EXPECT_EQ(pagesFreed, 3);
}

} // namespace
