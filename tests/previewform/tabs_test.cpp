// The preview's tabs: the strip from two tabs on, each tab's page, scroll and zoom kept, what a
// closed tab frees, the close cross.
#include "tests/previewform/formtest.h"

#include "engine/widgets/kvlpreviewtabstrip.h"
#include "engine/widgets/kvlpreviewworkspace.h"

#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace formtest;

// A detail page of the fixture's report: fresh pages that the tab owns.
RecordingStore *detailPages(FormFixture &F, int Pages, bool *Gone)
{
    auto *pages = new RecordingStore(F.report.get(), Gone);
    pages->addPages(Pages, 500, 700);
    F.report->SetPreviewPages(pages);
    return pages;
}

TEST(PreviewTabs, StripShownFromTwoTabs)
{
    FormFixture f(kvlDefaultPreviewButtons, 5);
    f.open();
    TkvlPreview *p = f.form->PreviewControl();
    TkvlPreviewTabStrip *strip = p->Tabs();
    EXPECT_EQ(strip->count(), 1);
    EXPECT_FALSE(strip->isVisibleTo(f.form.get()));
    bool gone = false;
    detailPages(f, 2, &gone);
    p->AddPreviewTab(f.report.get(), QStringLiteral("dettaglio"), QStringLiteral("Page2"), true, QString());
    EXPECT_TRUE(strip->isVisibleTo(f.form.get()));
    EXPECT_TRUE(p->HasVisibleTabs());
    EXPECT_EQ(strip->tabText(1), QStringLiteral("dettaglio"));
    EXPECT_TRUE(p->HasTab(QStringLiteral("dettaglio")));
    EXPECT_FALSE(p->HasTab(QStringLiteral("Dettaglio")));
    p->RemoveTab(1);
    EXPECT_FALSE(strip->isVisibleTo(f.form.get()));
    EXPECT_TRUE(gone);
}

TEST(PreviewTabs, ClosingReturnsToTheLeftTabAsItWasLeft)
{
    struct Case {
        const char *name;
        TkvlZoomMode mode;  // of the first tab when it is left
        double zoom;
        TkvlZoomMode back;
        double backZoom;  // 0: fitted to the width again
    } cases[] = {
        {"zoom 1.5", zmDefault, 1.5, zmDefault, 1.5},
        {"page width", zmPageWidth, 0, zmPageWidth, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FormFixture f(kvlDefaultPreviewButtons, 5);
        f.open();
        TkvlPreview *p = f.form->PreviewControl();
        if (c.mode == zmDefault)
            p->SetZoom(c.zoom);
        else
            p->SetZoomMode(c.mode);
        p->SetPageNo(3);
        p->Workspace()->SetVertPosition(p->Workspace()->VertPosition() + 40);
        const int top = p->Workspace()->VertPosition();
        bool gone = false;
        RecordingStore *pages = detailPages(f, 2, &gone);
        p->AddPreviewTab(f.report.get(), QStringLiteral("d"), QStringLiteral("Page2"), true, QString());
        EXPECT_EQ(p->PreviewPages, pages);
        EXPECT_EQ(p->PageCount(), 2);
        p->SetZoom(0.5);
        f.form->resize(f.form->width() - 100, f.form->height());
        QCoreApplication::processEvents();

        p->RemoveTab(1);
        EXPECT_TRUE(gone);
        EXPECT_EQ(p->PreviewPages, f.store.get());
        EXPECT_EQ(f.report->PreviewPages(), f.store.get());
        EXPECT_EQ(f.report->Preview(), p);
        EXPECT_EQ(p->PageCount(), 5);
        EXPECT_EQ(p->PageNo(), 3);
        EXPECT_EQ(p->ZoomMode(), c.back);
        if (c.backZoom > 0) {
            EXPECT_DOUBLE_EQ(p->Zoom(), c.backZoom);
            EXPECT_EQ(p->Workspace()->VertPosition(), top);
        } else {
            // Fitted to the narrower window: a page of 794 wide fills the workspace's width.
            const double fitted = p->Zoom();
            p->SetZoomMode(zmPageWidth);
            EXPECT_DOUBLE_EQ(p->Zoom(), fitted);
        }
    }
}

TEST(PreviewTabs, ClosedTabsFreeWhatTheyOwn)
{
    FormFixture f(kvlDefaultPreviewButtons, 5);
    f.open();
    TkvlPreview *p = f.form->PreviewControl();
    TkvlPreviewTabStrip *strip = p->Tabs();
    bool pagesGone = false, reportGone = false;
    detailPages(f, 2, &pagesGone);
    p->AddPreviewTab(f.report.get(), QStringLiteral("pagina"), QStringLiteral("Page2"), true, QString());
    auto *detail = new CountedReport(&reportGone, 3);
    p->AddPreviewTabOrSwitch(detail, QString(), QString(), true, QStringLiteral("Dettaglio"));
    ASSERT_EQ(strip->count(), 3);
    EXPECT_EQ(strip->tabText(2), QStringLiteral("Dettaglio"));
    EXPECT_EQ(f.form->PreviewControl()->Report, detail);
    EXPECT_EQ(f.form->PreviewControl()->PageCount(), 3);

    // Switching back and forth keeps each tab's pages.
    strip->setCurrentIndex(0);
    EXPECT_EQ(f.form->PreviewControl()->PageCount(), 5);
    p->SwitchToTab(static_cast<const TkvlReport *>(detail));
    EXPECT_EQ(f.form->PreviewControl()->Report, detail);

    // The detail page's tab frees its pages alone; the report lives on in the first tab.
    p->RemoveTab(1);
    EXPECT_TRUE(pagesGone);
    EXPECT_FALSE(reportGone);
    EXPECT_EQ(f.report->PreviewPages(), f.store.get());
    ASSERT_EQ(strip->count(), 2);

    // The detail report's tab frees the report, while it is the current tab.
    strip->setCurrentIndex(1);
    p->RemoveTab(1);
    EXPECT_TRUE(reportGone);
    EXPECT_EQ(f.form->PreviewControl()->Report, f.report.get());
    EXPECT_EQ(f.form->PreviewControl()->PageCount(), 5);
    EXPECT_EQ(p->TabList().Count(), 1);
}

TEST(PreviewTabs, TheCloseCross)
{
    FormFixture f(kvlDefaultPreviewButtons, 5);
    f.open();
    TkvlPreviewTabStrip *strip = f.form->PreviewControl()->Tabs();
    bool gone = false;
    detailPages(f, 2, &gone);
    f.form->PreviewControl()->AddPreviewTab(f.report.get(), QStringLiteral("d"), QStringLiteral("Page2"), true,
                                            QString());
    QCoreApplication::processEvents();

    // The first tab's cross does nothing.
    strip->setCurrentIndex(0);
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->tabRect(0).left() + 12, 10));
    EXPECT_EQ(strip->count(), 2);
    // Beside the cross a click only selects.
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->tabRect(1).left() + 30, 10));
    EXPECT_EQ(strip->currentIndex(), 1);
    EXPECT_EQ(strip->count(), 2);
    // On the cross of the selected tab it closes the tab.
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->tabRect(1).left() + 12, 10));
    EXPECT_EQ(strip->count(), 1);
    EXPECT_TRUE(gone);
    EXPECT_EQ(f.form->PreviewControl()->PreviewPages, f.store.get());
}

TEST(PreviewTabs, ClearAllTabsGivesTheFirstTabItsPagesBack)
{
    FormFixture f(kvlDefaultPreviewButtons, 5);
    f.open();
    bool gone = false;
    detailPages(f, 2, &gone);
    TkvlPreview *p = f.form->PreviewControl();
    p->AddPreviewTab(f.report.get(), QStringLiteral("d"), QStringLiteral("Page2"), true, QString());
    p->ClearAllTabs();
    EXPECT_TRUE(gone);
    EXPECT_EQ(f.report->PreviewPages(), f.store.get());
    EXPECT_EQ(f.report->Preview(), nullptr);
    EXPECT_EQ(p->Tabs()->count(), 1);
}

// Three closable tabs (a page of the report, a detail report, a page of that detail report)
// closed in every order: after each close the preview shows pages that still exist and draws
// them, and at the end only what the tabs owned is gone.
TEST(PreviewTabs, TabsClosedInAnyOrderNeverShowFreedPages)
{
    const std::vector<QString> names = {QStringLiteral("pagina"), QStringLiteral("dettaglio"),
                                        QStringLiteral("pagina del dettaglio")};
    std::vector<int> order = {0, 1, 2};
    do {
        FormFixture f(kvlDefaultPreviewButtons, 5);
        f.open();
        TkvlPreview *p = f.form->PreviewControl();
        bool gone[3] = {false, false, false};
        RecordingStore *stores[3] = {detailPages(f, 2, &gone[0]), nullptr, nullptr};
        p->AddPreviewTab(f.report.get(), names[0], QStringLiteral("Page2"), true, QString());
        auto *detail = new CountedReport(&gone[1], 3);
        stores[1] = detail->Store.get();
        p->AddPreviewTab(detail, names[1], QString(), true, QString());
        stores[2] = new RecordingStore(detail, &gone[2]);
        stores[2]->addPages(4, 500, 700);
        detail->SetPreviewPages(stores[2]);
        p->AddPreviewTab(detail, names[2], QStringLiteral("Page2"), true, QString());
        ASSERT_EQ(p->TabList().Count(), 4);

        for (int closing : order) {
            SCOPED_TRACE(names[size_t(closing)].toStdString());
            const int index = p->TabList().IndexOfName(names[size_t(closing)]);
            ASSERT_GT(index, 0);
            // Close the tab while it is current, or from another tab.
            p->SetCurrentTab(closing % 2 == 0 ? index : 0);
            p->RemoveTab(index);
            // The detail report lives while any of its tabs is open; its pages with it.
            const bool detailOpen = p->TabList().IndexOfName(names[1]) >= 0 || p->TabList().IndexOfName(names[2]) >= 0;
            EXPECT_EQ(gone[1], !detailOpen);
            EXPECT_EQ(gone[0], p->TabList().IndexOfName(names[0]) < 0);
            EXPECT_EQ(gone[2], p->TabList().IndexOfName(names[2]) < 0);
            bool live = p->PreviewPages == f.store.get();
            for (int i = 0; i < 3; ++i)
                live = live || (!gone[i] && p->PreviewPages == stores[i]);
            EXPECT_TRUE(live);
            EXPECT_EQ(p->Report->PreviewPages(), p->PreviewPages);
            f.form->grab();
        }
        EXPECT_EQ(p->TabList().Count(), 1);
        EXPECT_EQ(p->PreviewPages, f.store.get());
        EXPECT_EQ(f.report->PreviewPages(), f.store.get());
        EXPECT_TRUE(gone[0] && gone[1] && gone[2]);
    } while (std::next_permutation(order.begin(), order.end()));
}

// The report the preview shows goes away while detail tabs are open: the tabs go with it,
// their objects are freed and nothing of them is drawn.
TEST(PreviewTabs, TheShownReportGoingAwayTakesItsTabs)
{
    FormFixture f(kvlDefaultPreviewButtons, 5);
    f.open();
    TkvlPreview *p = f.form->PreviewControl();
    bool pagesGone = false, detailGone = false;
    detailPages(f, 2, &pagesGone);
    p->AddPreviewTab(f.report.get(), QStringLiteral("pagina"), QStringLiteral("Page2"), true, QString());
    p->AddPreviewTab(new CountedReport(&detailGone, 3), QStringLiteral("d"), QString(), true, QString());
    p->SetCurrentTab(1);
    f.report.reset();
    EXPECT_TRUE(pagesGone);
    EXPECT_TRUE(detailGone);
    EXPECT_EQ(p->TabList().Count(), 0);
    EXPECT_EQ(p->Tabs()->count(), 0);
    EXPECT_EQ(p->PreviewPages, nullptr);
    f.store->Drawn.clear();
    f.form->grab();
    EXPECT_TRUE(f.store->Drawn.empty());
    f.report = std::make_unique<TkvlReport>(nullptr);  // for the fixture's end
}

// With EachReportInTab a further report attached to the preview opens in a tab of its own,
// which the preview does not own: closing it lets the report go without freeing it.
TEST(PreviewTabs, EachReportInTabOpensATabThatDoesNotOwnTheReport)
{
    FormFixture f(kvlDefaultPreviewButtons, 5);
    f.open();
    TkvlPreview *p = f.form->PreviewControl();
    p->SetEachReportInTab(true);
    bool gone = false;
    auto other = std::make_unique<CountedReport>(&gone, 2);
    other->ReportOptions()->Name = QStringLiteral("Altro");
    other->SetPreview(p);
    ASSERT_EQ(p->TabList().Count(), 2);
    EXPECT_EQ(p->Tabs()->tabText(1), QStringLiteral("Altro"));
    EXPECT_EQ(p->Report, other.get());
    EXPECT_EQ(p->PageCount(), 2);
    p->RemoveTab(1);
    EXPECT_FALSE(gone);
    EXPECT_EQ(other->Preview(), nullptr);
    EXPECT_EQ(p->Report, f.report.get());
    EXPECT_EQ(p->PageCount(), 5);
}

} // namespace

