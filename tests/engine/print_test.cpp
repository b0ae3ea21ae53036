// Printing prepared pages, checked against a printer that records the job.
#include "engine/print/kvlprint.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/ui/fakes.h"
#include "platform/ui/services.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "tests/engine/recordingprinter.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using printtest::RecordingPages;
using printtest::RecordingPrinter;

// Template pages the prepared pages are made of.
enum Kind { A4, A4Duplex, BinA, BinB, Big420x297, Big400x297, Tall297x420, A5, A6, Narrow100x200, KindCount };

struct Fixture {
    Fixture()
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
        pages = std::make_unique<RecordingPages>(report.get(), printer);
        pages->Initialize();
        pages->BeginPass();
        for (int k = 0; k < KindCount; ++k) {
            auto *p = new TkvlReportPage(report.get());
            p->SetName(QStringLiteral("Page%1").arg(k + 1));
            p->SetPaperSize(9);
            switch (Kind(k)) {
            case A4Duplex: p->Duplex = dmVertical; break;
            case BinA: p->Bin = 1, p->BinOtherPages = 2; break;
            case BinB: p->Bin = 1, p->BinOtherPages = 3; break;
            case Big420x297: p->SetPaperWidth(420), p->SetPaperHeight(297); break;
            case Big400x297: p->SetPaperWidth(400), p->SetPaperHeight(297); break;
            case Tall297x420: p->SetPaperWidth(297), p->SetPaperHeight(420); break;
            case A5: p->SetPaperSize(11); break;
            case A6: p->SetPaperWidth(105), p->SetPaperHeight(148); break;
            case Narrow100x200: p->SetPaperWidth(100), p->SetPaperHeight(200); break;
            default: break;
            }
            templates.push_back(p);
            pages->AddSourcePage(p);
        }
    }
    ~Fixture() { ui::install(oldBoxes); }

    void add(Kind K, int Count = 1)
    {
        for (int i = 0; i < Count; ++i)
            pages->AddPage(templates[size_t(K)]);
    }
    bool print() { return kvlPrintPreviewPages(pages.get(), &printer); }

    QStringList log;
    RecordingPrinter printer{log};
    std::unique_ptr<TkvlReport> report;
    std::unique_ptr<RecordingPages> pages;
    std::vector<TkvlReportPage *> templates;
    ui::FakeMessageBoxes boxes;
    ui::IMessageBoxes *oldBoxes = ui::install(&boxes);
};

const QString kA4 = QStringLiteral("params 9 210x297 P bin7 dup0 x1");

TEST(PrintJob, RecordedJobs)
{
    struct Case {
        const char *what;
        std::vector<std::pair<Kind, int>> pages;
        std::function<void(TkvlPrintOptions &, TkvlReport &)> options;
        QStringList expected;
    };
    const Case cases[] = {
        {"pages 2-4 of five",
         {{A4, 5}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.PageNumbers = QStringLiteral("2-4"); },
         {kA4, "BeginDoc", "page[2#1 x1 -4,-5]", "page[3#1 x1 -4,-5]", "page[4#1 x1 -4,-5]", "EndDoc"}},
        {"page 9 of five prints nothing",
         {{A4, 5}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.PageNumbers = QStringLiteral("9"); },
         {}},
        {"even pages in reverse",
         {{A4, 4}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.PrintPages = ppEven, o.Reverse = true; },
         {kA4, "BeginDoc", "page[4#1 x1 -4,-5]", "page[2#1 x1 -4,-5]", "EndDoc"}},
        {"odd pages",
         {{A4, 4}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.PrintPages = ppOdd; },
         {kA4, "BeginDoc", "page[1#1 x1 -4,-5]", "page[3#1 x1 -4,-5]", "EndDoc"}},
        {"three copies collated",
         {{A4, 2}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.Copies = 3; },
         {kA4, "BeginDoc", "page[1#1 x1 -4,-5]", "page[2#1 x1 -4,-5]", "page[1#2 x1 -4,-5]", "page[2#2 x1 -4,-5]",
          "page[1#3 x1 -4,-5]", "page[2#3 x1 -4,-5]", "EndDoc"}},
        {"three copies made by the printer",
         {{A4, 2}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.Copies = 3, o.Collate = false; },
         {"params 9 210x297 P bin7 dup0 x3", "BeginDoc", "page[1#1 x1 -4,-5]", "page[2#1 x1 -4,-5]", "EndDoc"}},
        {"collated duplex copies of three pages start on a new sheet",
         {{A4Duplex, 3}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.Copies = 2; },
         {"params 9 210x297 P bin7 dup1 x1", "BeginDoc", "page[1#1 x1 -4,-5]", "page[2#1 x1 -4,-5]",
          "page[3#1 x1 -4,-5]", "page[]", "page[1#2 x1 -4,-5]", "page[2#2 x1 -4,-5]", "page[3#2 x1 -4,-5]", "page[]",
          "EndDoc"}},
        {"the options' duplex mode beats the pages'",
         {{A4Duplex, 2}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.Duplex = dmSimplex; },
         {"params 9 210x297 P bin7 dup3 x1", "BeginDoc", "page[1#1 x1 -4,-5]", "page[2#1 x1 -4,-5]", "EndDoc"}},
        {"two templates sharing a bin: the first page takes it, the later ones their other bin",
         {{BinA, 1}, {BinB, 1}, {BinA, 1}},
         nullptr,
         {"params 9 210x297 P bin1 dup0 x1", "BeginDoc", "page[1#1 x1 -4,-5]", "params 9 210x297 P bin3 dup0 x1",
          "page[2#1 x1 -4,-5]", "params 9 210x297 P bin2 dup0 x1", "page[3#1 x1 -4,-5]", "EndDoc"}},
        {"a page changing size sets the printer again",
         {{A4, 1}, {A5, 1}, {A5, 1}},
         nullptr,
         {kA4, "BeginDoc", "page[1#1 x1 -4,-5]", "params 11 148x210 P bin7 dup0 x1", "page[2#1 x1 -4,-5]",
          "page[3#1 x1 -4,-5]", "EndDoc"}},
        // Printable width 210 - 4 - 6 = 200 mm; neighbours advance 197 mm, so they overlap by
        // the 3 mm splicing line, which is left blank (clipped) on the later sheet.
        {"420 x 297 split on A4",
         {{Big420x297, 1}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.PrintMode = pmSplit, o.PrintOnSheet = 9; },
         {kA4, "BeginDoc", "page[1#1 x1 -4,-5 clip0,0]", "page[1#1 x1 -201,-5 clip71,0]",
          "page[1#1 x1 -398,-5 clip71,0]", "EndDoc"}},
        {"400 x 297 split on A4: a remainder of 6 mm adds no sheet",
         {{Big400x297, 1}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.PrintMode = pmSplit, o.PrintOnSheet = 9; },
         {kA4, "BeginDoc", "page[1#1 x1 -4,-5 clip0,0]", "page[1#1 x1 -201,-5 clip71,0]", "EndDoc"}},
        // Printable height of the turned sheet 210 - 5 - 7 = 198 mm, advance 195 mm.
        {"297 x 420 split on turned A4 sheets",
         {{Tall297x420, 1}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.PrintMode = pmSplit, o.PrintOnSheet = 9; },
         {"params 9 297x210 L bin7 dup0 x1", "BeginDoc", "page[1#1 x1 -4,-5 clip0,0]",
          "page[1#1 x1 -4,-200 clip0,35]", "page[1#1 x1 -4,-395 clip0,35]", "EndDoc"}},
        {"A5 pages joined two on a turned A4",
         {{A5, 3}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.PrintMode = pmJoin, o.PrintOnSheet = 9; },
         {"params 9 297x210 L bin7 dup0 x1", "BeginDoc", "page[1#1 x1 -4,-5|2#1 x1 144,-5]", "page[3#1 x1 -4,-5]",
          "EndDoc"}},
        {"A6 pages joined four on A4, two copies side by side",
         {{A6, 3}},
         [](TkvlPrintOptions &o, TkvlReport &) {
             o.PrintMode = pmJoin, o.PrintOnSheet = 9, o.Copies = 2, o.Collate = false;
         },
         {kA4, "BeginDoc", "page[1#1 x1 -4,-5|1#2 x1 101,-5|2#1 x1 -4,143|2#2 x1 101,143]",
          "page[3#1 x1 -4,-5|3#2 x1 101,-5]", "EndDoc"}},
        {"A5 pages joined, two copies collated",
         {{A5, 2}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.PrintMode = pmJoin, o.PrintOnSheet = 9, o.Copies = 2; },
         {"params 9 297x210 L bin7 dup0 x1", "BeginDoc", "page[1#1 x1 -4,-5|2#1 x1 144,-5]",
          "page[1#2 x1 -4,-5|2#2 x1 144,-5]", "EndDoc"}},
        // 210 / 100 across, 297 / 200 down: the smaller factor both ways.
        {"100 x 200 scaled to A4",
         {{Narrow100x200, 1}},
         [](TkvlPrintOptions &o, TkvlReport &) { o.PrintMode = pmScale, o.PrintOnSheet = 9; },
         {kA4, "BeginDoc", "page[1#1 x1.485 ps1.485 -4,-5]", "EndDoc"}},
        {"cancelled on page 2: aborted, not ended",
         {{A4, 4}},
         [](TkvlPrintOptions &, TkvlReport &r) {
             r.OnProgress = [](TkvlReport *R, TkvlProgressType, int Page) {
                 if (Page == 2)
                     R->Terminated = true;
             };
         },
         {kA4, "BeginDoc", "page[1#1 x1 -4,-5]", "page[2#1 x1 -4,-5]", "Abort"}},
        {"cancelled on the last page: aborted all the same",
         {{A4, 2}},
         [](TkvlPrintOptions &, TkvlReport &r) {
             r.OnProgress = [](TkvlReport *R, TkvlProgressType, int Page) {
                 if (Page == 2)
                     R->Terminated = true;
             };
         },
         {kA4, "BeginDoc", "page[1#1 x1 -4,-5]", "page[2#1 x1 -4,-5]", "Abort"}},
    };
    for (const Case &c : cases) {
        Fixture f;
        for (auto [kind, count] : c.pages)
            f.add(kind, count);
        if (c.options)
            c.options(*f.report->PrintOptions(), *f.report);
        const QString pagesBefore = f.report->PrintOptions()->PageNumbers;
        EXPECT_TRUE(f.print()) << c.what;
        EXPECT_EQ(printtest::lines(f.log), printtest::lines(c.expected)) << c.what;
        EXPECT_EQ(f.pages->FCopyNo, 0) << c.what;
        EXPECT_EQ(f.report->PrintOptions()->PageNumbers, pagesBefore) << c.what;
        EXPECT_TRUE(f.boxes.shown.isEmpty()) << c.what;
    }
}

TEST(PrintJob, RaisingPageEventAbortsTheJobAndPassesOn)
{
    Fixture f;
    f.add(A4, 3);
    QStringList events;
    f.report->OnPrintReport = [&](TkvlReport *) { events.append(QStringLiteral("before")); };
    f.report->OnAfterPrintReport = [&](TkvlReport *R) {
        // Fired before the options are put back.
        events.append(QStringLiteral("after ") + R->PrintOptions()->PageNumbers);
    };
    f.report->OnPrintPage = [&](TkvlPage *, int) {
        if (f.log.size() == 3)
            throw std::runtime_error("guasto");
    };
    f.report->PrintOptions()->PageNumbers = QStringLiteral("1-3");
    EXPECT_THROW(f.print(), std::runtime_error);
    EXPECT_EQ(printtest::lines(f.log), printtest::lines({kA4, "BeginDoc", "page[1#1 x1 -4,-5]", "Abort"}));
    EXPECT_EQ(events, (QStringList{"before", "after 1-3"}));
    EXPECT_EQ(f.pages->FCopyNo, 0);
}

// A dialog that answers at once and changes the options as the real one does.
class FakePrintDialog final : public TkvlPrintDialogService {
public:
    bool accept = true;
    TkvlDuplexMode duplex = dmHorizontal;
    int calls = 0;
    bool Execute(TkvlReport *Report, TkvlDuplexMode &Duplex) override
    {
        ++calls;
        if (!accept)
            return false;
        Report->PrintOptions()->PageNumbers = QStringLiteral("2");
        Duplex = duplex;
        return true;
    }
};

TEST(PrintJob, DialogAndOptions)
{
    FakePrintDialog dialog;
    TkvlPrintDialogService *old = kvlInstallPrintDialog(&dialog);
    {
        // Cancelled: nothing printed, False.
        Fixture f;
        f.add(A4, 2);
        f.report->PrintOptions()->ShowDialog = true;
        dialog.accept = false;
        EXPECT_FALSE(f.print());
        EXPECT_TRUE(f.log.isEmpty());
        EXPECT_EQ(f.pages->FCopyNo, 0);
    }
    {
        // Accepted: the dialog's pages and duplex print; the options are put back (but the
        // duplex mode), and the output file serves this job only.
        Fixture f;
        f.add(A4, 2);
        TkvlPrintOptions *o = f.report->PrintOptions();
        o->ShowDialog = true;
        o->PrnOutFileName = QStringLiteral("/tmp/lavoro.prn");
        dialog.accept = true;
        QString fileDuringJob;
        f.report->OnPrintPage = [&](TkvlPage *, int) { fileDuringJob = f.printer.FileName; };
        EXPECT_TRUE(f.print());
        // One side printed two-sided: the sheet's back is fed empty.
        EXPECT_EQ(printtest::lines(f.log), printtest::lines({"params 9 210x297 P bin7 dup2 x1", "BeginDoc",
                                                             "page[2#1 x1 -4,-5]", "page[]", "EndDoc"}));
        EXPECT_EQ(fileDuringJob, QStringLiteral("/tmp/lavoro.prn"));
        EXPECT_EQ(f.printer.FileName, QString());
        EXPECT_EQ(o->PageNumbers, QString());
        EXPECT_EQ(o->Duplex, dmHorizontal);  // the dialog's choice is kept
    }
    kvlInstallPrintDialog(old);
    EXPECT_EQ(dialog.calls, 2);
}

TEST(PrintJob, BadPageListRaisesAfterRestoring)
{
    Fixture f;
    f.add(A4, 2);
    f.report->PrintOptions()->PageNumbers = QStringLiteral("1,x");
    bool after = false;
    f.report->OnAfterPrintReport = [&](TkvlReport *) { after = true; };
    EXPECT_ANY_THROW(f.print());
    EXPECT_TRUE(after);
    EXPECT_TRUE(f.log.isEmpty());
    EXPECT_EQ(f.report->PrintOptions()->PageNumbers, QStringLiteral("1,x"));
}

TEST(PrintJob, WithoutPrintersTheUserIsTold)
{
    // No print system is installed in this program: the printer list holds the virtual printer.
    Fixture f;
    f.add(A4, 1);
    EXPECT_FALSE(kvlPrintPreviewPages(f.pages.get()));
    ASSERT_EQ(f.boxes.shown.size(), 1);
    EXPECT_EQ(f.boxes.shown.front().text, QStringLiteral("Nessuna stampante installata"));
}

} // namespace
