// The preview's tabs: the strip from two tabs on, each tab's page, scroll and zoom kept, what a
// closed tab frees, the close cross.
#include "tests/previewform/formtest.h"

#include "engine/widgets/kvlpreviewtabstrip.h"
#include "engine/widgets/kvlpreviewworkspace.h"

#include <QTest>
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
    TkvlPreviewTabStrip *strip = f.form->TabStrip();
    EXPECT_EQ(strip->count(), 1);
    EXPECT_FALSE(strip->isVisibleTo(f.form.get()));
    bool gone = false;
    detailPages(f, 2, &gone);
    strip->AddPreviewTab(f.report.get(), QStringLiteral("dettaglio"), QStringLiteral("Page2"), true, QString());
    EXPECT_TRUE(strip->isVisibleTo(f.form.get()));
    EXPECT_TRUE(strip->HasVisibleTabs());
    EXPECT_EQ(strip->tabText(1), QStringLiteral("dettaglio"));
    EXPECT_TRUE(strip->HasTab(QStringLiteral("dettaglio")));
    EXPECT_FALSE(strip->HasTab(QStringLiteral("Dettaglio")));
    strip->RemoveTab(1);
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
        f.form->TabStrip()->AddPreviewTab(f.report.get(), QStringLiteral("d"), QStringLiteral("Page2"), true,
                                          QString());
        EXPECT_EQ(p->PreviewPages, pages);
        EXPECT_EQ(p->PageCount(), 2);
        p->SetZoom(0.5);
        f.form->resize(f.form->width() - 100, f.form->height());
        QCoreApplication::processEvents();

        f.form->TabStrip()->RemoveTab(1);
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
    TkvlPreviewTabStrip *strip = f.form->TabStrip();
    bool pagesGone = false, reportGone = false;
    detailPages(f, 2, &pagesGone);
    strip->AddPreviewTab(f.report.get(), QStringLiteral("pagina"), QStringLiteral("Page2"), true, QString());
    auto *detail = new CountedReport(&reportGone, 3);
    strip->AddPreviewTabOrSwitch(detail, QString(), QString(), true, QStringLiteral("Dettaglio"));
    ASSERT_EQ(strip->count(), 3);
    EXPECT_EQ(strip->tabText(2), QStringLiteral("Dettaglio"));
    EXPECT_EQ(f.form->PreviewControl()->Report, detail);
    EXPECT_EQ(f.form->PreviewControl()->PageCount(), 3);

    // Switching back and forth keeps each tab's pages.
    strip->setCurrentIndex(0);
    EXPECT_EQ(f.form->PreviewControl()->PageCount(), 5);
    strip->SwitchToTab(static_cast<const TkvlReport *>(detail));
    EXPECT_EQ(f.form->PreviewControl()->Report, detail);

    // The detail page's tab frees its pages alone; the report lives on in the first tab.
    strip->RemoveTab(1);
    EXPECT_TRUE(pagesGone);
    EXPECT_FALSE(reportGone);
    EXPECT_EQ(f.report->PreviewPages(), f.store.get());
    ASSERT_EQ(strip->count(), 2);

    // The detail report's tab frees the report, while it is the current tab.
    strip->setCurrentIndex(1);
    strip->RemoveTab(1);
    EXPECT_TRUE(reportGone);
    EXPECT_EQ(f.form->PreviewControl()->Report, f.report.get());
    EXPECT_EQ(f.form->PreviewControl()->PageCount(), 5);
    EXPECT_EQ(strip->TabList().Count(), 1);
}

TEST(PreviewTabs, TheCloseCross)
{
    FormFixture f(kvlDefaultPreviewButtons, 5);
    f.open();
    TkvlPreviewTabStrip *strip = f.form->TabStrip();
    bool gone = false;
    detailPages(f, 2, &gone);
    strip->AddPreviewTab(f.report.get(), QStringLiteral("d"), QStringLiteral("Page2"), true, QString());
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
    f.form->TabStrip()->AddPreviewTab(f.report.get(), QStringLiteral("d"), QStringLiteral("Page2"), true, QString());
    f.form->TabStrip()->ClearAllTabs();
    EXPECT_TRUE(gone);
    EXPECT_EQ(f.report->PreviewPages(), f.store.get());
    EXPECT_EQ(f.report->Preview(), nullptr);
    EXPECT_EQ(f.form->TabStrip()->count(), 1);
}

} // namespace
