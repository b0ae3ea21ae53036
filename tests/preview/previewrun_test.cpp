// The preview control while its report really prepares: the band engine writes the report's
// own store, and the store's progress reaches the preview page by page.
#include "engine/run/kvlengine.h"
#include "engine/store/previewpages.h"
#include "engine/widgets/kvlpreview.h"
#include "engine/widgets/kvlpreviewworkspace.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/ui/fakes.h"
#include "report/bands/kvlband.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldbdataset.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "script/grammar/qsgrammars.h"
#include "tests/dataset/memdataset.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace {

void registerOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlInitResources();
        qsRegisterStandardLanguages();
        kvlRegisterBandEngine();
        kvlRegisterPreviewPagesStore();
        return true;
    }();
    (void)done;
}

// A report of one row a page (600 x 900 pixels) over Rows numbered rows, attached to a preview in a window.
struct RunFixture {
    explicit RunFixture(int Rows)
    {
        registerOnce();
        data.columns = {{QStringLiteral("ID"), TFieldType::ftInteger}};
        for (int i = 1; i <= Rows; ++i)
            data.rows.push_back({i});
        report = std::make_unique<TkvlReport>(nullptr);
        source.SetName(QStringLiteral("fROWS"));
        source.SetUserName(QStringLiteral("ROWS"));
        source.SetDataSet(&data);
        report->DataSets()->Add(&source);
        auto *page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 0;
        page->SetSizeAndDimensions(256, 600 / kvlPixelsPerMm, 900 / kvlPixelsPerMm);
        auto *band = new TkvlMasterData(page);
        band->SetName(QStringLiteral("MasterData1"));
        band->SetBounds(0, 0, 600, 800); // one row fills a page
        band->SetDataSet(&source);
        auto *memo = new TkvlMemoView(band);
        memo->SetName(QStringLiteral("Memo1"));
        memo->SetBounds(0, 0, 600, 40);
        memo->SetText(QStringLiteral("riga"));
        window.resize(1000, 700);
        preview = new TkvlPreview(&window);
        preview->setGeometry(0, 0, 1000, 700);
        window.show();
        report->SetPreview(preview);
    }
    ~RunFixture() { report.reset(); }

    ui::FakeServices fakes;
    MemDataSet data;
    TkvlDBDataset source{nullptr};
    QWidget window;
    TkvlPreview *preview = nullptr; // owned by the window
    std::unique_ptr<TkvlReport> report;
};

TEST(PreviewRun, PagesAppearWhileTheReportPreparesAndClosingEndsTheRun)
{
    RunFixture f(2000);
    struct Seen {
        bool running = false;
        int storePages = 0, laidOut = 0, vertPosition = -1;
        bool closed = true;
    } seen;
    int progressCalls = 0;
    f.report->OnProgress = [&](TkvlReport *, TkvlProgressType Kind, int Page) {
        ++progressCalls;
        EXPECT_EQ(Kind, ptRunning);
        if (Page != 10)
            return;
        // Queued now, so it runs in the events processed after this page: the user scrolls the
        // first pages, then closes the window.
        QTimer::singleShot(0, f.preview, [&] {
            seen.running = f.preview->Running() && f.report->Engine()->Running;
            seen.storePages = f.report->PreviewPages()->GetCount();
            seen.laidOut = f.preview->Workspace()->PageList().Count();
            QTest::keyClick(f.preview->Workspace(), Qt::Key_PageDown);
            seen.vertPosition = f.preview->Workspace()->VertPosition();
            seen.closed = f.window.close();
        });
    };
    f.report->PrepareReport();
    EXPECT_TRUE(seen.running);
    EXPECT_EQ(seen.storePages, 10);
    EXPECT_EQ(seen.laidOut, 10);
    EXPECT_GT(seen.vertPosition, 0);
    // The window does not close under the run: closing stops it before another page is made.
    EXPECT_FALSE(seen.closed);
    EXPECT_EQ(progressCalls, 10);
    EXPECT_EQ(f.report->PreviewPages()->GetCount(), 10);
    EXPECT_FALSE(f.preview->Running());
    EXPECT_EQ(f.preview->PageCount(), 10);
    EXPECT_EQ(f.preview->Workspace()->PageList().Count(), 10);
    // Then the window closes.
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.window.isVisible());
}

TEST(PreviewRun, TheFirstPagesOfTheFinalPassAreLaidOutOneByOne)
{
    for (const bool doublePass : {false, true}) {
        SCOPED_TRACE(doublePass);
        RunFixture f(120);
        f.report->EngineOptions()->DoublePass = doublePass;
        // Pages laid out when the store reports a page (before the preview hears of it).
        int firstPassLaidOut = 0, at30 = -1, at100 = -1;
        f.report->OnProgress = [&](TkvlReport *R, TkvlProgressType, int Page) {
            const int laidOut = f.preview->Workspace()->PageList().Count();
            if (!R->Engine()->FinalPass)
                firstPassLaidOut = std::max(firstPassLaidOut, laidOut);
            else if (Page == 30)
                at30 = laidOut;
            else if (Page == 100)
                at100 = laidOut;
        };
        ASSERT_TRUE(f.report->PrepareReport());
        EXPECT_EQ(firstPassLaidOut, 0);
        EXPECT_EQ(at30, 29);
        EXPECT_EQ(at100, 50);
        EXPECT_FALSE(f.preview->Running());
        EXPECT_EQ(f.preview->PageCount(), 120);
        EXPECT_EQ(f.preview->Workspace()->PageList().Count(), 120);
    }
}

TEST(PreviewRun, APreviewOutlivingItsReportNeitherDrawsNorHitsIt)
{
    auto f = std::make_unique<RunFixture>(30);
    ASSERT_TRUE(f->report->PrepareReport());
    TkvlPreview *preview = f->preview;
    ASSERT_EQ(preview->PageCount(), 30);
    f->report.reset(); // the store goes with it
    EXPECT_EQ(preview->PreviewPages, nullptr);
    EXPECT_EQ(preview->Workspace()->PreviewPages(), nullptr);
    EXPECT_EQ(preview->Workspace()->PageList().Count(), 0);
    // Painting, the mouse and the keys find nothing to reach.
    f->window.grab();
    QWidget *vp = preview->Workspace()->viewport();
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, QPoint(300, 100));
    QTest::mouseDClick(vp, Qt::LeftButton, Qt::NoModifier, QPoint(300, 100));
    QTest::mouseMove(vp, QPoint(320, 140));
    QTest::keyClick(preview->Workspace(), Qt::Key_End);
    QTest::keyClick(preview->Workspace(), Qt::Key_F3);
    EXPECT_EQ(preview->PageCount(), 0);
    EXPECT_TRUE(f->window.close());
}

} // namespace
