#include "engine/print/kvlprint.h"

#include "engine/store/previewpages.h"
#include "platform/gfx/canvas.h"
#include "report/document/kvlreport.h"
#include "report/pages/kvlreportpage.h"
#include "report/printers/kvlprinters.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvlpreview.h"
#include "report/utils/messages.h"
#include "report/utils/textutils.h"

#include <QRect>
#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

namespace {

TkvlPrintDialogService *gPrintDialog = nullptr;

// Pieces of length B that cover the length A (millimetres); a remainder under 11 mm is left to
// the pieces' overlap rather than given a piece of its own.
int trySplit(double A, double B)
{
    if (B <= 0)
        return 1;
    const double n = std::trunc(A / B);
    if (std::abs(n * B - A) >= 11)
        return int(n) + 1;
    return std::max(1, int(std::nearbyint(A / B)));
}

struct Split {
    int cols = 1, rows = 1;
    bool turned = false;  // the sheet is used in landscape
};

// Columns and rows of sheets for one page; the turned sheet when it needs fewer.
Split splitPage(double PageW, double PageH, double SheetW, double SheetH)
{
    const Split upright{trySplit(PageW, SheetW), trySplit(PageH, SheetH), false};
    const Split turned{trySplit(PageW, SheetH), trySplit(PageH, SheetW), true};
    return turned.cols * turned.rows < upright.cols * upright.rows ? turned : upright;
}

// Whole pages of length Page along a sheet of length Sheet: at least one; half a millimetre
// of rounding in the sizes does not lose a page.
int wholeFit(double Sheet, double Page)
{
    return Page <= 0 ? 1 : std::max(1, int(std::floor((Sheet + 0.5) / Page)));
}

int px(double V) { return int(std::nearbyint(V)); }

// One print job over a store's pages on one printer.
class PrintJob {
public:
    PrintJob(TkvlPreviewPages *Pages, TkvlCustomPrinter &Printer, TkvlDuplexMode Duplex)
        : FPages(Pages), FReport(Pages->Report), FOpts(FReport->PrintOptions()), FPrinter(Printer),
          FDialogDuplex(Duplex)
    {
    }

    // The sheet of the split, join and scale modes, set up in portrait.
    void SetUpSheet()
    {
        if (FOpts->PrintMode == pmDefault)
            return;
        FPrinter.SetViewParams(FOpts->PrintOnSheet, FPrinter.PaperWidth(), FPrinter.PaperHeight(), poPortrait);
        FSheetW = FPrinter.PaperWidth() != 0 ? FPrinter.PaperWidth() : FPrinter.DefPaperWidth();
        FSheetH = FPrinter.PaperHeight() != 0 ? FPrinter.PaperHeight() : FPrinter.DefPaperHeight();
        FMarginL = FPrinter.LeftMargin();
        FMarginT = FPrinter.TopMargin();
        FMarginR = FPrinter.RightMargin();
        FMarginB = FPrinter.BottomMargin();
    }

    void SetPageList(const QStringList &List)
    {
        FList = List;
        FCount = FPages->GetCount();
        FToPrint = FList.isEmpty() ? FCount : int(FList.size());
    }

    // Runs the job; an exception aborts the open document and passes on.
    void Run()
    {
        FReport->Terminated = false;
        FReport->InternalOnProgressStart(ptPrinting);
        try {
            const QString name = FReport->ReportOptions()->Name;
            FPrinter.Title = name.isEmpty() ? FReport->FileName : name;
            const int copies = std::max(1, FOpts->Copies);
            if (FOpts->Collate && FOpts->PrintMode != pmJoin) {
                for (FCopy = 1; FCopy <= copies; ++FCopy) {
                    if (!RunMode())
                        break;
                    if (FBackSide && FOpen) {
                        // An odd number of sides: the next copy starts on a sheet of its own.
                        FBackSide = false;
                        FPrinter.BeginPage();
                        FPrinter.EndPage();
                    }
                    if (FReport->Terminated)
                        break;
                }
            } else if (FOpts->Collate) {
                // Joined pages make their copies themselves; collated, each copy is one run.
                for (FCopy = 1; FCopy <= copies && !FReport->Terminated; ++FCopy)
                    if (!RunMode())
                        break;
            } else {
                RunMode();
            }
            // A cancel that came after the last page still drops the job.
            if (FOpen && FReport->Terminated)
                Abort();
            if (FOpen) {
                FOpen = false;
                FPrinter.EndDoc();
            }
        } catch (...) {
            if (FOpen)
                Abort();
            FReport->InternalOnProgressStop(ptPrinting);
            throw;
        }
        FReport->InternalOnProgressStop(ptPrinting);
    }

private:
    // False when the job stopped (aborted, or the document could not be started).
    bool RunMode()
    {
        if (FOpts->PrintMode == pmJoin)
            return PrintJoined();
        for (int i = 0; i < FToPrint; ++i) {
            const int N = FOpts->Reverse ? FToPrint - 1 - i : i;
            const bool go = FOpts->PrintMode == pmSplit ? PrintSplitPage(N) : PrintPage(N);
            if (!go)
                return false;
        }
        return true;
    }

    // The page index of the N-th page to print; -1 for an entry that prints nothing.
    int PageIndex(int N) const
    {
        if (!FList.isEmpty()) {
            if (N >= FList.size())
                return -1;
            const int v = FList[N].toInt() - 1;
            return v >= 0 && v < FCount ? v : -1;
        }
        return N < FCount ? N : -1;
    }

    bool Selected(int Index) const
    {
        const bool odd = (Index + 1) % 2 == 1;
        return FOpts->PrintPages == ppAll || (FOpts->PrintPages == ppOdd) == odd;
    }

    // Copy number for the memos and copies for the printer; tells the host.
    int PrepareCopy(TkvlPage *Page, int CopyNo)
    {
        FPages->FCopyNo = CopyNo;
        if (FReport->OnPrintPage)
            FReport->OnPrintPage(Page, CopyNo);
        return FOpts->Collate ? 1 : std::max(1, FOpts->Copies);
    }

    int PageDuplex(const TkvlReportPage *Page) const
    {
        return FDialogDuplex != dmNone ? FDialogDuplex : Page->Duplex;
    }

    bool BeginDoc()
    {
        if (!FStarted) {
            FStarted = true;
            FOpen = FPrinter.BeginDoc();
        }
        return FOpen;
    }

    void Abort()
    {
        FOpen = false;
        FPrinter.Abort();
    }

    void Draw(int Index, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
    {
        FPages->DrawPage(Index, FPrinter.Canvas()->Canvas(), ScaleX, ScaleY, OffsetX, OffsetY);
    }

    void Remember(const TkvlReportPage *Page, int Bin, int Duplex, TPrinterOrientation Orientation)
    {
        FPrevPaper = Page->PaperSize();
        FPrevW = std::lround(Page->PaperWidth());
        FPrevH = std::lround(Page->PaperHeight());
        FPrevBin = Bin;
        FPrevOrientation = Orientation;
        FPrevDuplex = Duplex;
    }

    // The sheet in the orientation asked for, for the printer (portrait lengths turned).
    void SetSheet(TPrinterOrientation Orientation, int Bin, int Duplex, int Copies)
    {
        const bool land = Orientation == poLandscape;
        FPrinter.SetPrintParams(FOpts->PrintOnSheet, land ? FSheetH : FSheetW, land ? FSheetW : FSheetH, Orientation,
                                Bin, Duplex, Copies);
    }

    std::shared_ptr<TkvlPage> Build(int Index, TkvlReportPage *&Page)
    {
        std::shared_ptr<TkvlPage> held = FPages->GetPageShared(Index);
        Page = rtl_cast<TkvlReportPage>(held.get());
        return held;
    }

    // The page at position N of the job, built and counted as a copy; no page when it is not
    // printed. False when the report was stopped: the job is aborted.
    struct Taken {
        int index = -1;
        TkvlReportPage *page = nullptr;
        std::shared_ptr<TkvlPage> held;
        int copies = 1;
    };
    bool TakePage(int N, Taken &t)
    {
        t.index = PageIndex(N);
        if (t.index < 0 || !Selected(t.index))
            return true;
        if (FReport->Terminated) {
            Abort();
            return false;
        }
        t.held = Build(t.index, t.page);
        if (t.page)
            t.copies = PrepareCopy(t.page, FOpts->Collate ? FCopy : 1);
        return true;
    }

    bool PrintPage(int N)
    {
        Taken t;
        if (!TakePage(N, t))
            return false;
        if (!t.page)
            return true;
        const int index = t.index;
        TkvlReportPage *const page = t.page;
        const int copies = t.copies;

        int bin = page->Bin;
        if (FUsedBins.contains(page->Bin))
            bin = page->BinOtherPages;
        else
            FUsedBins.append(page->Bin);

        const int duplex = PageDuplex(page);
        if (duplex != FPrevDuplex)
            FBackSide = false;
        if (duplex == dmVertical || duplex == dmHorizontal)
            FBackSide = !FBackSide;

        const TPrinterOrientation orientation = page->Orientation();
        double scale = 1;
        if (FOpts->PrintMode == pmScale) {
            if (!FStarted || bin != FPrevBin || orientation != FPrevOrientation || duplex != FPrevDuplex) {
                SetSheet(orientation, bin, duplex, copies);
                FTurnedW = FPrinter.PaperWidth();
                FTurnedH = FPrinter.PaperHeight();
            }
            // One factor for both directions, as memos are told.
            scale = std::min(FTurnedW / page->PaperWidth(), FTurnedH / page->PaperHeight());
            FPages->FPrintScale = scale;
        } else if (!FStarted || page->PaperSize() != FPrevPaper || std::lround(page->PaperWidth()) != FPrevW ||
                   std::lround(page->PaperHeight()) != FPrevH || bin != FPrevBin ||
                   orientation != FPrevOrientation || duplex != FPrevDuplex) {
            FPrinter.SetPrintParams(page->PaperSize(), page->PaperWidth(), page->PaperHeight(), orientation, bin,
                                    duplex, copies);
        }

        if (!BeginDoc())
            return false;
        FPrinter.BeginPage();
        const QPoint dpi = FPrinter.DPI();
        Draw(index, scale * dpi.x() / 96, scale * dpi.y() / 96, -FPrinter.LeftMargin() * dpi.x() / 25.4,
             -FPrinter.TopMargin() * dpi.y() / 25.4);
        FReport->InternalOnProgress(ptPrinting, index + 1);
        FPrinter.EndPage();
        Remember(page, bin, duplex, orientation);
        FPages->ClearPageCache();
        return true;
    }

    bool PrintSplitPage(int N)
    {
        Taken t;
        if (!TakePage(N, t))
            return false;
        if (!t.page)
            return true;
        const int index = t.index;
        TkvlReportPage *const page = t.page;
        const int copies = t.copies;
        const int bin = index == 0 ? page->Bin : page->BinOtherPages;
        const int duplex = PageDuplex(page);

        const double pw = page->PaperWidth(), ph = page->PaperHeight();
        Split s = splitPage(pw, ph, FSheetW, FSheetH);
        // Where pieces meet, each sheet direction loses its own unprintable margins and the
        // splicing line; the count is made again on the smaller sheet.
        const int acrossSheetWidth = s.turned ? s.rows : s.cols;
        const int acrossSheetHeight = s.turned ? s.cols : s.rows;
        const double reduceW = acrossSheetWidth > 1 ? FOpts->SplicingLine + FMarginL + FMarginR : 0;
        const double reduceH = acrossSheetHeight > 1 ? FOpts->SplicingLine + FMarginT + FMarginB : 0;
        s = splitPage(pw, ph, FSheetW - reduceW, FSheetH - reduceH);
        const TPrinterOrientation orientation = s.turned ? poLandscape : poPortrait;
        if (!FStarted || orientation != FPrevOrientation || bin != FPrevBin || duplex != FPrevDuplex)
            SetSheet(orientation, bin, duplex, copies);
        if (!BeginDoc())
            return false;

        const QPoint dpi = FPrinter.DPI();
        const double kx = dpi.x() / 25.4, ky = dpi.y() / 25.4;
        const double lpx = FPrinter.LeftMargin() * kx, tpx = FPrinter.TopMargin() * ky;
        const double rpx = FPrinter.RightMargin() * kx, bpx = FPrinter.BottomMargin() * ky;
        const double sx = FOpts->SplicingLine * kx, sy = FOpts->SplicingLine * ky;
        const double D = (s.turned ? FSheetH : FSheetW) * kx;
        const double E = (s.turned ? FSheetW : FSheetH) * ky;
        const double pageWpx = pw * kx, pageHpx = ph * ky;
        for (int r = 0; r < s.rows; ++r)
            for (int c = 0; c < s.cols; ++c) {
                // Neighbouring sheets' printable areas overlap by the splicing line, which is
                // printed on the first of the two and left blank on the second for gluing.
                const double ox = -lpx - c * (D - lpx - rpx - sx);
                const double oy = -tpx - r * (E - tpx - bpx - sy);
                FPrinter.BeginPage();
                TCanvas *canvas = FPrinter.Canvas()->Canvas();
                if (canvas) {
                    canvas->saveClip();
                    const QPoint from(c > 0 ? px(sx) : 0, r > 0 ? px(sy) : 0);
                    const QPoint to(px(pageWpx + ox) - 1, px(pageHpx + oy) - 1);
                    canvas->intersectClipRect(QRect(from, to));
                }
                FPages->DrawPage(index, canvas, dpi.x() / 96.0, dpi.y() / 96.0, ox, oy);
                // The canvas lives for one sheet; a failure aborts the job, which drops it.
                if (canvas)
                    canvas->restoreClip();
                FPrinter.EndPage();
            }
        FReport->InternalOnProgress(ptPrinting, index + 1);
        Remember(page, bin, duplex, orientation);
        FPages->ClearPageCache();
        return true;
    }

    bool PrintJoined()
    {
        int N = 0;
        auto nextIndex = [&]() {
            while (N < FToPrint) {
                const int i = PageIndex(N++);
                if (i >= 0)
                    return i;
            }
            return -1;
        };
        // Cells in order: each page to print, then (uncollated) its further copies beside it.
        const int copies = FOpts->Collate ? 1 : std::max(1, FOpts->Copies);
        int copy = 1, cellIndex = -1, cellCopy = 1;
        auto nextCell = [&]() {
            if (copy == 1) {
                cellIndex = nextIndex();
                if (cellIndex < 0)
                    return false;
            }
            cellCopy = copy;
            copy = copy % copies + 1;
            return true;
        };
        if (FPages->GetCount() == 0 || !nextCell())
            return true;

        TkvlReportPage *first = nullptr;
        std::shared_ptr<TkvlPage> held = Build(cellIndex, first);
        if (!first)
            return true;
        const double pw = first->PaperWidth(), ph = first->PaperHeight();
        int across = wholeFit(FSheetW, pw), down = wholeFit(FSheetH, ph);
        const int acrossTurned = wholeFit(FSheetH, pw), downTurned = wholeFit(FSheetW, ph);
        const bool turned = acrossTurned * downTurned > across * down;
        if (turned) {
            across = acrossTurned;
            down = downTurned;
        }
        const TPrinterOrientation orientation = turned ? poLandscape : poPortrait;
        if (!FStarted)
            SetSheet(orientation, first->Bin, PageDuplex(first), 1);
        held.reset();
        if (!BeginDoc())
            return false;

        const QPoint dpi = FPrinter.DPI();
        const double kx = dpi.x() / 25.4, ky = dpi.y() / 25.4;
        const double lpx = FPrinter.LeftMargin() * kx, tpx = FPrinter.TopMargin() * ky;
        bool have = true;
        while (have) {
            FPrinter.BeginPage();
            for (int r = 0; r < down && have; ++r)
                for (int c = 0; c < across && have; ++c) {
                    if (cellCopy > 1)
                        FPages->ClearPageCache();
                    TkvlReportPage *page = nullptr;
                    const std::shared_ptr<TkvlPage> cell = Build(cellIndex, page);
                    PrepareCopy(cell.get(), FOpts->Collate ? FCopy : cellCopy);
                    Draw(cellIndex, dpi.x() / 96.0, dpi.y() / 96.0, -lpx + c * pw * kx, -tpx + r * ph * ky);
                    have = nextCell();
                }
            FReport->InternalOnProgress(ptPrinting, ++FSheets);
            FPrinter.EndPage();
            if (FReport->Terminated) {
                Abort();
                return false;
            }
            FPages->ClearPageCache();
        }
        return true;
    }

    TkvlPreviewPages *FPages;
    TkvlReport *FReport;
    TkvlPrintOptions *FOpts;
    TkvlCustomPrinter &FPrinter;
    TkvlDuplexMode FDialogDuplex;

    QStringList FList;
    int FCount = 0, FToPrint = 0;
    int FCopy = 1;
    bool FStarted = false;  // BeginDoc was called
    bool FOpen = false;     // the document is open: neither ended nor aborted
    int FSheets = 0;

    int FPrevPaper = -1, FPrevBin = -1, FPrevDuplex = -1;
    long FPrevW = -1, FPrevH = -1;
    int FPrevOrientation = -1;
    bool FBackSide = false;
    QList<int> FUsedBins;

    // The sheet in portrait and its unprintable margins; the sheet as last set in the
    // page's orientation (scale mode).
    double FSheetW = 0, FSheetH = 0;
    double FMarginL = 0, FMarginT = 0, FMarginR = 0, FMarginB = 0;
    double FTurnedW = 0, FTurnedH = 0;
};

// Puts back what printing changed, also when it fails: the print options, the copy number
// and the output file of the printer that printed (the dialog's or the options' file serves
// one job; the next job goes to the printer again).
class Restorer {
public:
    explicit Restorer(TkvlPreviewPages *Pages) : FPages(Pages), FOpts(Pages->Report->PrintOptions())
    {
        FSaved.Assign(FOpts);
    }
    ~Restorer()
    {
        FPages->FCopyNo = 0;
        FOpts->Assign(&FSaved);
        if (FPrinter)
            FPrinter->FileName = FFileName;
    }
    Restorer(const Restorer &) = delete;
    Restorer &operator=(const Restorer &) = delete;
    void KeepFileName(TkvlCustomPrinter *Printer, const QString &FileName)
    {
        FPrinter = Printer;
        FFileName = FileName;
    }

private:
    TkvlPreviewPages *FPages;
    TkvlPrintOptions *FOpts;
    TkvlPrintOptions FSaved;
    TkvlCustomPrinter *FPrinter = nullptr;
    QString FFileName;
};

// The attached preview control stays locked while the job runs.
class PreviewLock {
public:
    explicit PreviewLock(TkvlReport *Report) : FPreview(Report->Preview())
    {
        if (FPreview)
            FPreview->Lock();
    }
    ~PreviewLock()
    {
        if (FPreview)
            FPreview->Unlock();
    }
    PreviewLock(const PreviewLock &) = delete;
    PreviewLock &operator=(const PreviewLock &) = delete;

private:
    TkvlCustomPreview *FPreview;
};

} // namespace

TkvlPrintDialogService *kvlInstallPrintDialog(TkvlPrintDialogService *Dialog)
{
    TkvlPrintDialogService *old = gPrintDialog;
    gPrintDialog = Dialog;
    return old;
}

bool kvlPrintPreviewPages(TkvlPreviewPages *Pages, TkvlCustomPrinter *Printer)
{
    if (!Pages || !Pages->Report)
        return false;
    TkvlReport *report = Pages->Report;
    TkvlPrinters &printers = kvlPrinters();
    if (!Printer && !printers.HasPhysicalPrinters()) {
        kvlErrorMsg(kvlResources().Get(QStringLiteral("clNoPrinters")));
        return false;
    }
    auto current = [&] { return Printer ? Printer : printers.GetCurrentPrinter(); };
    Pages->FPrintScale = 1;
    TkvlPrintOptions *opts = report->PrintOptions();
    Restorer restore(Pages);
    TkvlDuplexMode duplex = opts->Duplex;
    if (!Printer)
        report->SelectPrinter();
    TkvlCustomPrinter *before = current();
    const QString beforeFile = before ? before->FileName : QString();
    if (opts->ShowDialog && gPrintDialog) {
        if (!gPrintDialog->Execute(report, duplex))
            return false;
        opts->Duplex = duplex;
    }
    TkvlCustomPrinter *printer = current();
    if (!printer)
        return false;
    restore.KeepFileName(printer, printer == before ? beforeFile : QString());
    std::unique_lock<std::recursive_mutex> lock(printers.Lock(), std::defer_lock);
    if (!Printer)
        lock.lock();
    if (!opts->PrnOutFileName.isEmpty())
        printer->FileName = opts->PrnOutFileName;

    PrintJob job(Pages, *printer, duplex);
    try {
        job.SetUpSheet();
        if (report->OnPrintReport)
            report->OnPrintReport(report);
        report->DoNotifyEvent(report, report->OnReportPrint, !report->EngineOptions()->DestroyForms);
        PreviewLock locked(report);
        QStringList list;
        kvlParsePageNumbers(opts->PageNumbers, list, Pages->GetCount());
        job.SetPageList(list);
        if (printer->Initialized()) {
            Pages->ClearPageCache();
            job.Run();
        } else {
            kvlErrorMsg(QStringLiteral("Printer selected is not valid"));
        }
    } catch (...) {
        if (report->OnAfterPrintReport)
            report->OnAfterPrintReport(report);
        throw;
    }
    if (report->OnAfterPrintReport)
        report->OnAfterPrintReport(report);
    return true;
}

void kvlRegisterPrinting()
{
    kvlSetPrintRoutine([](TkvlPreviewPages *Pages) { return kvlPrintPreviewPages(Pages); });
}
