// Printers of a private CUPS scheduler: a PDF queue on the cups-pdf driver and a file queue
// (the default) that keeps the documents it receives, unchanged, in a file.
#include "platform/gfx/canvas.h"
#include "platform/print/printerdialog.h"
#include "platform/ui/fakes.h"
#include "platform/ui/services.h"
#include "report/printers/kvlprinters.h"
#include "tests/print/cupsscheduler.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::CupsScheduler;

// pdfinfo's account of a PDF: page count and each page's size in points.
struct PdfInfo {
    int pages = 0;
    QList<QSizeF> sizes;
};

PdfInfo pdfInfo(const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                        QStringLiteral("100"), file});
    p.waitForFinished(20000);
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    PdfInfo info;
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    if (auto m = pages.match(out); m.hasMatch())
        info.pages = m.captured(1).toInt();
    const QRegularExpression size(QStringLiteral("^Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                  QRegularExpression::MultilineOption);
    for (auto it = size.globalMatch(out); it.hasNext();) {
        auto m = it.next();
        info.sizes.append(QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()));
    }
    return info;
}

constexpr double kPtPerMm = 72 / 25.4;

class CupsPrinters : public ::testing::Test {
protected:
    void SetUp() override { old = ui::install(&boxes); }
    void TearDown() override
    {
        ui::install(old);
        EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.shown.front().text.toStdString();
    }
    TkvlPrinter *printer(const char *name)
    {
        TkvlPrinters &list = kvlPrinters();
        list.SetPrinterIndex(list.IndexOf(QString::fromLatin1(name)));
        return dynamic_cast<TkvlPrinter *>(list.GetCurrentPrinter());
    }
    ui::FakeMessageBoxes boxes;
    ui::IMessageBoxes *old = nullptr;
};

TEST_F(CupsPrinters, ListsTheQueuesAndSelectsTheDefault)
{
    REQUIRE_CUPS_SCHEDULER();
    TkvlPrinters &list = kvlPrinters();
    EXPECT_TRUE(list.HasPhysicalPrinters());
    EXPECT_EQ(list.Printers(), (QStringList{QString::fromLatin1(CupsScheduler::PdfQueue),
                                            QString::fromLatin1(CupsScheduler::FileQueue)}));
    EXPECT_EQ(list.PrinterIndex(), 1);  // the scheduler's default
    list.SetPrinterIndex(0);
    EXPECT_EQ(list.PrinterIndex(), 0);
    list.SetPrinterIndex(-1);
    EXPECT_EQ(list.PrinterIndex(), 1);
    EXPECT_EQ(list.GetCurrentPrinter()->Name(), QString::fromLatin1(CupsScheduler::FileQueue));
}

TEST_F(CupsPrinters, DriverPapersAndSettings)
{
    REQUIRE_CUPS_SCHEDULER();
    TkvlPrinter *p = printer(CupsScheduler::PdfQueue);
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(p->Initialized());
    EXPECT_GT(p->DPI().y(), 0);
    EXPECT_EQ(p->Papers().front().number, 256);
    const int a4 = p->PaperIndex(9);
    ASSERT_GT(a4, 0);
    EXPECT_EQ(p->Papers()[a4].name, QStringLiteral("A4"));
    EXPECT_EQ(p->PaperNameToNumber(QStringLiteral("a4")), 9);
    // The queue has no input slots: the automatic bin only.
    EXPECT_EQ(p->Bins(), (TkvlPaperList{{7, QStringLiteral("Default")}}));

    p->SetViewParams(9, 0, 0, poPortrait);
    EXPECT_EQ(p->Paper(), 9);
    EXPECT_EQ(p->PaperWidth(), 210);
    EXPECT_EQ(p->PaperHeight(), 297);
    p->SetViewParams(9, 0, 0, poLandscape);
    EXPECT_EQ(p->PaperWidth(), 297);
    EXPECT_EQ(p->PaperHeight(), 210);
    // Custom paper: the device is set to A4, the page's size is reported.
    p->SetViewParams(256, 100, 150, poPortrait);
    EXPECT_EQ(p->Paper(), 256);
    EXPECT_EQ(p->DeviceMode().paper, 9);
    EXPECT_EQ(p->PaperWidth(), 100);
    EXPECT_EQ(p->PaperHeight(), 150);

    // Printing in landscape on custom paper 100 x 150: the sheet goes upright, 150 wide and
    // 100 long.
    p->SetPrintParams(256, 100, 150, poLandscape, 7, 0, 2);
    EXPECT_EQ(p->DeviceMode().paper, 256);
    EXPECT_EQ(p->DeviceMode().widthMm, 150);
    EXPECT_EQ(p->DeviceMode().heightMm, 100);
    EXPECT_TRUE(p->DeviceMode().landscape);
    EXPECT_EQ(p->DeviceMode().copies, 2);
    // The page's duplex modes: none takes the device's default, simplex is 1.
    struct {
        int page, device;
    } duplex[] = {{0, p->DefDuplex()}, {1, 2}, {2, 3}, {3, 1}};
    for (auto c : duplex) {
        p->SetPrintParams(9, 210, 297, poPortrait, 7, c.page, 1);
        EXPECT_EQ(p->DeviceMode().duplex, c.device) << c.page;
        EXPECT_EQ(p->DeviceMode().bin, p->DefBin());
    }
}

// The printer's own dialog, answered at once: long-edge duplex.
class FakePrinterDialog final : public print::IPrinterDialog {
public:
    int calls = 0;
    bool Execute(const QString &, const QList<print::NumberedName> &, print::PageSetup &setup) override
    {
        ++calls;
        setup.duplex = print::DuplexVertical;
        return true;
    }
};

TEST_F(CupsPrinters, DialogChoicesLastUntilTheJobEnds)
{
    REQUIRE_CUPS_SCHEDULER();
    TkvlPrinter *p = printer(CupsScheduler::PdfQueue);
    ASSERT_NE(p, nullptr);
    FakePrinterDialog dialog;
    print::IPrinterDialog *old = print::install(&dialog);
    p->PropertiesDlg();
    print::install(old);
    EXPECT_EQ(dialog.calls, 1);
    EXPECT_EQ(p->Duplex(), 2);
    EXPECT_EQ(p->Bin(), 7);
    p->SetPrintParams(9, 210, 297, poPortrait, 7, 3, 1);  // the user's choice beats the page's
    EXPECT_EQ(p->DeviceMode().duplex, 2);
    p->EndDoc();
    EXPECT_EQ(p->Duplex(), -1);
    EXPECT_EQ(p->Bin(), -1);
    p->SetPrintParams(9, 210, 297, poPortrait, 7, 3, 1);
    EXPECT_EQ(p->DeviceMode().duplex, 1);
}

TEST_F(CupsPrinters, InputSlotsBecomeNumberedBins)
{
    REQUIRE_CUPS_SCHEDULER();
    TkvlPrinter *p = printer(CupsScheduler::FileQueue);
    ASSERT_NE(p, nullptr);
    // Known kinds keep their numbers (upper 1, lower 2, manual 4); the others count from 256.
    QList<int> numbers;
    for (const auto &b : p->Bins())
        numbers.append(b.number);
    EXPECT_EQ(numbers, (QList<int>{7, 1, 2, 4, 256}));
    EXPECT_EQ(p->Bins().front().name, QStringLiteral("Default"));
    EXPECT_EQ(p->BinNameToNumber(p->Bins()[4].name), 256);
    EXPECT_EQ(p->BinNameToNumber(QStringLiteral("nessuno")), 7);
    // The printable border of the driver: 14 points on every side, about 5 mm.
    p->SetViewParams(9, 0, 0, poPortrait);
    EXPECT_EQ(p->LeftMargin(), 5);
    EXPECT_EQ(p->TopMargin(), 5);
    EXPECT_EQ(p->RightMargin(), 5);
    EXPECT_EQ(p->BottomMargin(), 5);
}

TEST_F(CupsPrinters, TwoPagesOnCustomLandscapePaperReachTheQueue)
{
    REQUIRE_CUPS_SCHEDULER();
    TkvlPrinter *p = printer(CupsScheduler::FileQueue);
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(p->Initialized());
    // A landscape page of 100 x 150 mm paper: 150 wide, 100 high.
    p->SetPrintParams(256, 150, 100, poLandscape, 7, 0, 1);
    p->Title = QStringLiteral("Due pagine");
    ASSERT_TRUE(p->BeginDoc());
    for (int page = 0; page < 2; ++page) {
        p->BeginPage();
        TCanvas *c = p->Canvas()->Canvas();
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(c->isPrinter());
        EXPECT_EQ(c->ppiY(), p->DPI().y());
        c->rectangle(100, 100, 1000, 600);
        c->extTextOut(200, 200, 0, nullptr, QStringLiteral("Pagina %1").arg(page + 1), nullptr);
        p->EndPage();
    }
    p->EndDoc();
    const QByteArray pdf = testsupport::cupsScheduler().waitForOutput();
    ASSERT_TRUE(pdf.startsWith("%PDF")) << pdf.left(40).toStdString();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("got.pdf"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(pdf);
    f.close();
    const PdfInfo info = pdfInfo(file);
    EXPECT_EQ(info.pages, 2);
    ASSERT_EQ(info.sizes.size(), 2);
    for (const QSizeF &s : info.sizes) {
        EXPECT_NEAR(s.width(), 150 * kPtPerMm, 0.5);
        EXPECT_NEAR(s.height(), 100 * kPtPerMm, 0.5);
    }
}

TEST_F(CupsPrinters, PagesChangingBinOrDuplexGoAsFurtherJobs)
{
    REQUIRE_CUPS_SCHEDULER();
    TkvlPrinter *p = printer(CupsScheduler::FileQueue);
    ASSERT_NE(p, nullptr);
    struct Page {
        int bin, duplex;  // the page's duplex mode: 0 none, 1 vertical
    };
    struct Expected {
        const char *source, *sides;
        int pages, copies;
    };
    struct Case {
        const char *what;
        QList<Page> pages;
        int copies;
        QList<Expected> jobs;
    } cases[] = {
        {"one bin", {{1, 0}, {1, 0}}, 2, {{"top", "one-sided", 2, 2}}},
        {"first page from another bin, last page two-sided",
         {{1, 0}, {2, 0}, {2, 0}, {2, 1}},
         1,
         {{"top", "one-sided", 1, 1}, {"bottom", "one-sided", 2, 1}, {"bottom", "two-sided-long-edge", 1, 1}}},
        {"copies of several jobs stay collated",
         {{4, 0}, {2, 0}},
         2,
         {{"manual", "one-sided", 1, 1}, {"bottom", "one-sided", 1, 1}, {"manual", "one-sided", 1, 1},
          {"bottom", "one-sided", 1, 1}}},
    };
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("job.pdf"));
    for (const Case &c : cases) {
        const QList<CupsScheduler::Job> before = testsupport::cupsScheduler().jobs();
        const int last = before.isEmpty() ? 0 : before.back().id;
        p->Title = QString::fromLatin1(c.what);
        bool begun = false;
        for (const Page &page : c.pages) {
            p->SetPrintParams(9, 210, 297, poPortrait, page.bin, page.duplex, c.copies);
            if (!begun) {
                begun = p->BeginDoc();
                ASSERT_TRUE(begun) << c.what;
            }
            p->BeginPage();
            p->Canvas()->Canvas()->rectangle(100, 100, 400, 400);
            p->EndPage();
        }
        p->EndDoc();
        const QList<CupsScheduler::Job> jobs = testsupport::cupsScheduler().jobs(last);
        ASSERT_EQ(jobs.size(), c.jobs.size()) << c.what;
        for (qsizetype i = 0; i < jobs.size(); ++i) {
            const CupsScheduler::Job &got = jobs[i];
            const Expected &want = c.jobs[i];
            EXPECT_EQ(got.name, QString::fromLatin1(c.what)) << i;
            EXPECT_EQ(got.source, QLatin1String(want.source)) << c.what << " job " << i;
            EXPECT_EQ(got.sides, QLatin1String(want.sides)) << c.what << " job " << i;
            EXPECT_EQ(got.copies, want.copies) << c.what << " job " << i;
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(got.document);
            f.close();
            EXPECT_EQ(pdfInfo(file).pages, want.pages) << c.what << " job " << i;
        }
    }
}

TEST_F(CupsPrinters, PrintToFileWritesThePdfThere)
{
    REQUIRE_CUPS_SCHEDULER();
    TkvlPrinter *p = printer(CupsScheduler::PdfQueue);
    ASSERT_NE(p, nullptr);
    QTemporaryDir dir;
    p->FileName = dir.filePath(QStringLiteral("stampa.prn"));
    p->SetPrintParams(9, 210, 297, poPortrait, 7, 0, 1);
    ASSERT_TRUE(p->BeginDoc());
    p->BeginPage();
    p->Canvas()->Canvas()->rectangle(10, 10, 200, 200);
    p->EndPage();
    p->EndDoc();
    const PdfInfo info = pdfInfo(p->FileName);
    EXPECT_EQ(info.pages, 1);
    ASSERT_EQ(info.sizes.size(), 1);
    EXPECT_NEAR(info.sizes[0].width(), 210 * kPtPerMm, 0.5);
    EXPECT_NEAR(info.sizes[0].height(), 297 * kPtPerMm, 0.5);
}

TEST_F(CupsPrinters, RawTextGoesToTheQueueUntouched)
{
    REQUIRE_CUPS_SCHEDULER();
    TkvlPrinter *p = printer(CupsScheduler::FileQueue);
    ASSERT_NE(p, nullptr);
    const QByteArray text = "RIGA 1\r\nRIGA 2\r\n\f";
    ASSERT_TRUE(p->BeginRAWDoc());
    p->WriteRAWDoc(text.left(8));
    p->WriteRAWDoc(text.mid(8));
    p->EndRAWDoc();
    EXPECT_EQ(testsupport::cupsScheduler().waitForOutput(text.size()), text);
}

} // namespace
