// A prepared report printed for real: through a private CUPS scheduler to a queue that keeps
// the PDF it is sent, or to a ".prn" file; checked with poppler's pdfinfo, pdftotext and
// pdftoppm against what the preview draws.
#include "engine/print/kvlprint.h"
#include "engine/store/previewpages.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/ui/fakes.h"
#include "platform/ui/services.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/printers/kvlprinters.h"
#include "tests/print/cupsscheduler.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::CupsScheduler;

constexpr double kPtPerMm = 72 / 25.4;

QString run(const QString &Program, const QStringList &Args)
{
    QProcess p;
    p.start(Program, Args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// pdfinfo's page sizes (points), each page rendered by pdftoppm (grey, 36 dots per inch) and
// its words as pdftotext reads them.
struct Pdf {
    QList<QSizeF> sizes;
    QList<QImage> pages;
    QList<QStringList> words;
};

constexpr int kRenderDpi = 36;

Pdf readPdf(const QString &File)
{
    Pdf pdf;
    const QString info = run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                                         QStringLiteral("-l"), QStringLiteral("100"), File});
    const QRegularExpression size(QStringLiteral("^Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                  QRegularExpression::MultilineOption);
    for (auto it = size.globalMatch(info); it.hasNext();) {
        auto m = it.next();
        pdf.sizes.append(QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()));
    }
    QTemporaryDir dir;
    for (qsizetype i = 1; i <= pdf.sizes.size(); ++i) {
        const QString prefix = dir.filePath(QStringLiteral("p%1").arg(i));
        run(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(kRenderDpi),
                                         QStringLiteral("-f"), QString::number(i), QStringLiteral("-l"),
                                         QString::number(i), QStringLiteral("-singlefile"), File, prefix});
        pdf.pages.append(QImage(prefix + QStringLiteral(".pgm")));
        pdf.words.append(run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(i), QStringLiteral("-l"),
                                                           QString::number(i), File, QStringLiteral("-")})
                             .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts));
    }
    return pdf;
}

// Inked pixels of a rendered page inside and outside the given boxes (millimetres).
struct Ink {
    int inside = 0, outside = 0;
    QList<int> perBox;
};

Ink inkOf(const QImage &Page, const QList<QRectF> &BoxesMm)
{
    Ink ink;
    ink.perBox.resize(BoxesMm.size());
    const double k = kRenderDpi / 25.4;
    for (int y = 0; y < Page.height(); ++y)
        for (int x = 0; x < Page.width(); ++x) {
            // Any visible ink: text at this resolution is mostly antialiased grey.
            if (qGray(Page.pixel(x, y)) > 192)
                continue;
            bool in = false;
            for (qsizetype b = 0; b < BoxesMm.size(); ++b)
                if (BoxesMm[b].contains((x + 0.5) / k, (y + 0.5) / k)) {
                    ++ink.perBox[b];
                    in = true;
                }
            ++(in ? ink.inside : ink.outside);
        }
    return ink;
}

Pdf readPdf(const QByteArray &Bytes)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("job.pdf"));
    QFile f(file);
    f.open(QIODevice::WriteOnly);
    f.write(Bytes);
    f.close();
    return readPdf(file);
}

// A report of prepared pages of one paper, one line of text on each, near the top left.
struct Report {
    Report(int Pages, int Paper, double Width = 0, double Height = 0)
    {
        static const bool once = [] {
            rtl::RegisterRootClasses();
            kvlInitReportUnit();
            kvlRegisterPreviewPagesStore();
            return true;
        }();
        (void)once;
        report = std::make_unique<TkvlReport>(nullptr);
        report->ShowProgress = false;
        report->EngineOptions()->NewSilentMode = simSilent;
        report->PrintOptions()->ShowDialog = false;
        auto *page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        if (Paper == kvlCustomPaper) {
            page->SetPaperWidth(Width);
            page->SetPaperHeight(Height);
        } else {
            page->SetPaperSize(Paper);
        }
        auto *band = new TkvlMasterData(page);
        band->SetName(QStringLiteral("MasterData1"));
        band->SetBounds(0, 20, 300, 30);
        auto *memo = new TkvlMemoView(band);
        memo->SetName(QStringLiteral("Memo1"));
        memo->SetBounds(10, 4, 250, 24);
        store = static_cast<TkvlPreviewPages *>(report->PreviewPages());
        store->Initialize();
        store->BeginPass();
        store->AddSourcePage(page);
        for (int p = 0; p < Pages; ++p) {
            store->AddPage(page);
            memo->SetText(QStringLiteral("Pagina %1 stampata").arg(p + 1));
            store->AddObject(band);
        }
    }
    std::unique_ptr<TkvlReport> report;
    TkvlPreviewPages *store;
};

class PrintJobs : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldBoxes = ui::install(&boxes);
        TkvlPrinters &list = kvlPrinters();
        list.SetPrinterIndex(list.IndexOf(QString::fromLatin1(CupsScheduler::FileQueue)));
    }
    void TearDown() override
    {
        ui::install(oldBoxes);
        EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.shown.front().text.toStdString();
    }
    int lastJob() const
    {
        const auto jobs = testsupport::cupsScheduler().jobs();
        return jobs.isEmpty() ? 0 : jobs.back().id;
    }
    ui::FakeMessageBoxes boxes;
    ui::IMessageBoxes *oldBoxes = nullptr;
};

// Where the fixture's line of text stands on its page (millimetres, with room for the glyphs).
const QRectF kTextBox(0.5, 4, 70, 11);

QRectF scaled(const QRectF &R, double K) { return QRectF(R.topLeft() * K, R.size() * K); }

// The words the preview draws on the given pages, in order.
QStringList previewWords(TkvlPreviewPages *Store, const QList<int> &Pages)
{
    QStringList words;
    for (int p : Pages) {
        gfx::RecordingCanvas canvas;
        Store->DrawPage(p, &canvas, 1, 1, 0, 0);
        for (const auto &t : canvas.textRecords())
            words << t.text.split(u' ', Qt::SkipEmptyParts);
    }
    return words;
}

TEST_F(PrintJobs, EveryModeReachesTheQueueWithThePagesInPlace)
{
    REQUIRE_CUPS_SCHEDULER();
    const double a3OnA4 = std::min(210 / 297.0, 297 / 420.0);
    struct Case {
        const char *what;
        int pages, paper;
        double width, height;
        TkvlPrintMode mode;
        QSizeF sheetMm;
        // Where the text of the pages on each sheet must stand (no ink elsewhere).
        QList<QList<QRectF>> sheets;
        // The pages whose text each sheet carries.
        QList<QList<int>> texts;
    } cases[] = {
        {"plain", 3, 9, 0, 0, pmDefault, {210, 297}, {{kTextBox}, {kTextBox}, {kTextBox}}, {{0}, {1}, {2}}},
        {"A3 scaled to A4", 2, 8, 0, 0, pmScale, {210, 297}, {{scaled(kTextBox, a3OnA4)}, {scaled(kTextBox, a3OnA4)}},
         {{0}, {1}}},
        {"A5 joined two on a turned A4",
         3, 11, 0, 0, pmJoin, {297, 210}, {{kTextBox, kTextBox.translated(148, 0)}, {kTextBox}}, {{0, 1}, {2}}},
        // The text stands at the top left: on the first of the three sheets only.
        {"420 x 297 split on A4", 1, kvlCustomPaper, 420, 297, pmSplit, {210, 297}, {{kTextBox}, {}, {}},
         {{0}, {}, {}}},
    };
    for (const Case &c : cases) {
        Report r(c.pages, c.paper, c.width, c.height);
        TkvlPrintOptions *o = r.report->PrintOptions();
        o->PrintMode = c.mode;
        o->PrintOnSheet = 9;
        const int last = lastJob();
        ASSERT_TRUE(kvlPrintPreviewPages(r.store)) << c.what;
        const auto jobs = testsupport::cupsScheduler().jobs(last);
        ASSERT_EQ(jobs.size(), 1) << c.what;
        const Pdf pdf = readPdf(jobs.front().document);
        ASSERT_EQ(pdf.sizes.size(), c.sheets.size()) << c.what;
        for (qsizetype s = 0; s < c.sheets.size(); ++s) {
            EXPECT_NEAR(pdf.sizes[s].width(), c.sheetMm.width() * kPtPerMm, 1) << c.what << " sheet " << s;
            EXPECT_NEAR(pdf.sizes[s].height(), c.sheetMm.height() * kPtPerMm, 1) << c.what << " sheet " << s;
            const Ink ink = inkOf(pdf.pages[s], c.sheets[s]);
            EXPECT_EQ(ink.outside, 0) << c.what << " sheet " << s;
            for (qsizetype b = 0; b < ink.perBox.size(); ++b)
                EXPECT_GT(ink.perBox[b], 20) << c.what << " sheet " << s << " text " << b;
            EXPECT_EQ(pdf.words[s], previewWords(r.store, c.texts[s])) << c.what << " sheet " << s;
        }
    }
}

TEST_F(PrintJobs, PrintToFileGivesThePdfAndCancelLeavesNone)
{
    REQUIRE_CUPS_SCHEDULER();
    QTemporaryDir dir;
    {
        Report r(3, 9);
        const QString file = dir.filePath(QStringLiteral("stampa.prn"));
        r.report->PrintOptions()->PrnOutFileName = file;
        const int last = lastJob();
        ASSERT_TRUE(kvlPrintPreviewPages(r.store));
        EXPECT_TRUE(testsupport::cupsScheduler().jobs(last).isEmpty());  // nothing went to the queue
        const Pdf pdf = readPdf(file);
        ASSERT_EQ(pdf.sizes.size(), 3);
        for (int p = 0; p < 3; ++p) {
            EXPECT_NEAR(pdf.sizes[p].width(), 210 * kPtPerMm, 1);
            const Ink ink = inkOf(pdf.pages[p], {kTextBox});
            EXPECT_EQ(ink.outside, 0);
            EXPECT_GT(ink.inside, 20);
            EXPECT_EQ(pdf.words[p], previewWords(r.store, {p}));
        }
        EXPECT_EQ(kvlPrinters().GetCurrentPrinter()->FileName, QString());
    }
    {
        // Cancelled on page 2: no file, no job.
        Report r(3, 9);
        const QString file = dir.filePath(QStringLiteral("annullata.prn"));
        r.report->PrintOptions()->PrnOutFileName = file;
        r.report->OnProgress = [](TkvlReport *R, TkvlProgressType, int Page) {
            if (Page == 2)
                R->Terminated = true;
        };
        const int last = lastJob();
        ASSERT_TRUE(kvlPrintPreviewPages(r.store));
        EXPECT_FALSE(QFileInfo::exists(file));
        EXPECT_TRUE(testsupport::cupsScheduler().jobs(last).isEmpty());
    }
}

} // namespace
