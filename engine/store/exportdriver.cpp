#include "engine/store/exportdriver.h"

#include "engine/store/previewpages.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlexportfilter.h"
#include "report/seams/kvlpreview.h"
#include "report/utils/textutils.h"
#include "report/views/kvlpicture.h"

#include <QCoreApplication>

#include <memory>
#include <vector>

namespace {

// Raised when the user cancelled: it unwinds the page and the export, and Export swallows it.
// Deliberately outside the common exception base, so no handler for errors takes it.
struct EExportTerminated {};

class ExportRun {
public:
    ExportRun(TkvlPreviewPages &Pages, TkvlCustomExportFilter &Filter)
        : FPages(Pages), FFilter(Filter), FReport(*Pages.Report)
    {
    }

    // The page list from the filter's PageNumbers; raises EConvertError on a bad range.
    void BuildPageList()
    {
        FCount = FPages.GetCount();
        FWanted.assign(size_t(FCount), FFilter.PageNumbers.trimmed().isEmpty());
        if (!FFilter.PageNumbers.trimmed().isEmpty()) {
            QStringList list;
            kvlParsePageNumbers(FFilter.PageNumbers, list, FCount);
            for (const QString &n : list) {
                const int i = n.toInt() - 1;
                if (i >= 0 && i < FCount)
                    FWanted[size_t(i)] = true;
            }
        }
        // Header and footer suppression counts from the exported pages, not from the store.
        for (int i = 0; i < FCount; ++i)
            if (FWanted[size_t(i)]) {
                if (FFirstExported < 0)
                    FFirstExported = i;
                FLastExported = i;
            }
    }

    bool DoExport()
    {
        if (FFilter.OnBeginExport)
            FFilter.OnBeginExport(&FFilter);
        if (!FFilter.Start()) {
            const QString reason = FFilter.StartError();
            if (!reason.isEmpty()) {
                FReport.Errors().Add(reason);
                FReport.ReportErrors();
            }
            return false;
        }
        TkvlCustomPreview *preview = FReport.Preview();
        try {
            if (preview)
                preview->Lock();
            if (FFilter.ShowProgress)
                FReport.InternalOnProgressStart(ptExporting);
            const bool threadSafe = FReport.EngineOptions()->EnableThreadSafe;
            for (int i = 0; i < FCount; ++i) {
                ExportPage(i);
                if (!threadSafe && QCoreApplication::instance())
                    QCoreApplication::processEvents();
            }
        } catch (const EExportTerminated &) {
            EndExport(preview);
            FFilter.Finish();
            throw;
        } catch (...) {
            // The filter learns of the failure before its Finish, so it can drop what it
            // wrote; a failing Finish is not reported over the error that caused it.
            try {
                EndExport(preview);
            } catch (...) {
            }
            FFilter.ExportFailed = true;
            try {
                FFilter.Finish();
            } catch (...) {
            }
            throw;
        }
        EndExport(preview);
        FFilter.Finish();
        return true;
    }

private:
    void EndExport(TkvlCustomPreview *Preview)
    {
        if (Preview)
            Preview->Unlock();
        if (FFilter.ShowProgress)
            FReport.InternalOnProgressStop(ptExporting);
    }

    void ExportPage(int Index)
    {
        if (Index >= FCount || !FWanted[size_t(Index)])
            return;
        std::shared_ptr<TkvlPage> held = FPages.GetPageShared(Index);
        TkvlPage *page = held.get();
        if (!page)
            return;
        if (FFilter.ShowProgress)
            FReport.InternalOnProgress(ptExporting, Index + 1);
        const double oldLeft = page->Left(), oldTop = page->Top();
        FFilter.StartPage(page, Index);
        try {
            auto *rp = rtl_cast<TkvlReportPage>(page);
            if (rp) {
                const bool mirror = rp->MirrorMargins && Index % 2 == 1;
                page->SetLeft((mirror ? rp->RightMargin : rp->LeftMargin) * kvlPixelsPerMm);
                page->SetTop(rp->TopMargin * kvlPixelsPerMm);
                ExportBackground(*rp);
            }
            for (TkvlComponent *obj : page->Objects()) {
                if (FFilter.SuppressPageHeadersFooters
                    && ((obj->Is<TkvlPageHeader>() && Index != FFirstExported)
                        || (obj->Is<TkvlPageFooter>() && Index != FLastExported)))
                    continue;
                ExportObject(obj);
                for (TkvlComponent *child : obj->Objects())
                    ExportObject(child);
            }
        } catch (...) {
            // The page goes back where the preview draws it, whatever the filter does next.
            RestorePage(page, oldLeft, oldTop);
            FFilter.FinishPage(page, Index);
            throw;
        }
        RestorePage(page, oldLeft, oldTop);
        FFilter.FinishPage(page, Index);
    }

    void RestorePage(TkvlPage *Page, double Left, double Top)
    {
        Page->SetLeft(Left);
        Page->SetTop(Top);
        if (!FReport.Preview())
            FPages.ClearPageCache();
    }

    void ExportBackground(TkvlReportPage &Page)
    {
        TkvlPictureView bg(nullptr);
        bg.SetName(QStringLiteral("_pagebackground"));
        bg.SetColor(Page.Color());
        bg.SetFrame(Page.Frame());
        if (TPicture *picture = Page.BackPicture())
            bg.SetPicture(picture);
        bg.Stretched = true;
        bg.KeepAspectRatio = false;
        bg.SetBounds(Page.Left(), Page.Top(),
                     Page.Width() - (Page.LeftMargin + Page.RightMargin) * kvlPixelsPerMm,
                     Page.Height() - (Page.TopMargin + Page.BottomMargin) * kvlPixelsPerMm);
        ExportObject(&bg);
    }

    void ExportObject(TkvlComponent *Obj)
    {
        if (FFilter.DataOnly && !(Obj->Parent() && Obj->Parent()->Is<TkvlDataBand>()))
            return;
        if (auto *view = rtl_cast<TkvlView>(Obj); view && !(view->Visibility & kvlBit(vsExport)))
            return;
        if (auto *memo = rtl_cast<TkvlCustomMemoView>(Obj)) {
            memo->TotalPages = FCount;
            memo->CopyNo = 1;
            memo->ExtractMacros();
            if (memo->AutoWidth) {
                if (!FScratch)
                    FScratch = std::make_unique<gfx::RecordingCanvas>();
                memo->Draw(FScratch.get(), 1, 1, 0, 0);
                FScratch->clear();
            }
        }
        FFilter.ExportObject(Obj);
        if (FReport.Terminated)
            throw EExportTerminated();
    }

    TkvlPreviewPages &FPages;
    TkvlCustomExportFilter &FFilter;
    TkvlReport &FReport;
    int FCount = 0;
    std::vector<bool> FWanted;
    int FFirstExported = -1, FLastExported = -1;
    std::unique_ptr<gfx::RecordingCanvas> FScratch;  // where auto-width memos measure themselves
};

} // namespace

bool kvlExportPreparedPages(TkvlPreviewPages &Pages, TkvlCustomExportFilter *Filter)
{
    Pages.FCopyNo = 0;
    if (!Filter || !Pages.Report)
        return false;
    TkvlReport &report = *Pages.Report;
    Filter->CreationTime = rtl::Now();
    Filter->Report = &report;
    if (Filter->OnBeforeExport)
        Filter->OnBeforeExport(Filter);
    if (Filter->ShowDialog && Filter->ShowModal() != mrOk)
        return false;
    if (Filter->CurPage)
        Filter->PageNumbers = report.Preview() ? QString::number(Pages.CurPreviewPage) : QStringLiteral("1");
    Filter->ExportFailed = false;
    report.Terminated = false;
    ExportRun run(Pages, *Filter);
    try {
        // A page range that does not read is an error of this export, not of the caller.
        run.BuildPageList();
        return run.DoExport();
    } catch (const EExportTerminated &) {
        return true;
    } catch (const std::exception &e) {
        const auto *err = dynamic_cast<const Exception *>(&e);
        report.Errors().Add(err ? err->message() : QString::fromUtf8(e.what()));
        report.ReportErrors();
        return false;
    }
}
