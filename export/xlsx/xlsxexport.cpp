#include "export/xlsx/xlsxexport.h"

#include "export/grid/iematrix.h"
#include "export/office/kvlfileutils.h"
#include "export/xlsx/xlsxoffice.h"
#include "export/xlsx/xlsxworkbook.h"
#include "export/zip/kvlzip.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/views/kvlview.h"

#include <algorithm>
#include <exception>

LIRRA_DEFINE_CLASS(TkvlXLSXExport)

namespace {

const rtl::TypeInfo *PictureTypeInfo()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlPictureType"), {"gpPNG", "gpBMP", "gpEMF", "gpWMF", "gpJPG", "gpGIF"});
    return t;
}

} // namespace

void TkvlXLSXExport::DeclareClass(rtl::ClassBuilder<TkvlXLSXExport> &b)
{
    using T = TkvlXLSXExport;
    b.prop<&T::ChunkSize>("ChunkSize").def(0);
    b.prop<&T::EmptyLines>("EmptyLines").def(true);
    b.prop<&T::ExportPageBreaks>("ExportPageBreaks").def(true);
    b.prop<&T::OpenAfterExport>("OpenAfterExport").def(false);
    b.prop<&T::PictureType>("PictureType", PictureTypeInfo()).def(gpPNG);
    b.prop<&T::SingleSheet>("SingleSheet").def(true);
    b.prop<&T::Wysiwyg>("Wysiwyg").def(true);
    b.description([] { return kvlGet(9200); });
}

void kvlRegisterXLSXExportClasses() { rtl::RegisterClasses({TkvlXLSXExport::StaticClass()}); }

// The set-up of the page finished last, for the sheets written at the end.
struct TkvlXLSXExport::PageSetup {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
    int PaperSize = 0;
    bool Landscape = false;
};

TkvlXLSXExport::TkvlXLSXExport(TComponent *AOwner)
    : TkvlCustomExportFilter(AOwner), FLastPage(std::make_unique<PageSetup>())
{
    FilterDesc = kvlGet(9200);
    DefaultExt = QStringLiteral(".xlsx");
}

TkvlXLSXExport::~TkvlXLSXExport() { Cleanup(); }

TModalResult TkvlXLSXExport::ShowModal()
{
    if (Stream)
        return mrOk;
    return TModalResult(kvlRunExportDialog(*this));
}

void TkvlXLSXExport::Cleanup()
{
    if (FBook && !FBook->Folder().isEmpty())
        DeleteFolder(FBook->Folder());
    FBook.reset();
    FMatrix.reset();
}

void TkvlXLSXExport::Fail(const QString &Message)
{
    if (FError.isEmpty())
        FError = Message;
}

bool TkvlXLSXExport::Start()
{
    SetStartError(QString());
    FError.clear();
    Cleanup();
    if (!kvlPrepareExportTarget(*this, QStringLiteral(".xlsx")))
        return false;
    if (!FOutput.Open(Stream, FileName)) {
        SetStartError(FOutput.Error());
        return false;
    }

    FMatrix = std::make_unique<TkvlIEMatrix>(UseFileCache, kvlReportTempDir(Report));
    TkvlIEMatrix &m = *FMatrix;
    m.Background = false;
    m.BackgroundImage = false;
    m.Printable = ExportNotPrintable;
    m.Inaccuracy = Wysiwyg ? 2.0 : 10.0;
    m.MaxCellWidth = 0;
    m.MaxCellHeight = 0;
    m.Images = true;
    m.EMFPictures = true;
    m.WrapText = false;
    m.DeleteHTMLTags = true;
    m.BrushAsBitmap = false;
    m.EmptyLines = EmptyLines;
    m.FramesOptimization = true;
    m.DotMatrix = false;
    // A continuous export shows the page header once at the top and the footer once at the end.
    SuppressPageHeadersFooters = !EmptyLines;

    FBook = std::make_unique<TkvlXLSXWorkbook>(kvlReportTempDir(Report), PictureType);
    *FLastPage = PageSetup();
    return true;
}

void TkvlXLSXExport::ExportObject(TkvlComponent *Obj)
{
    TkvlCustomExportFilter::ExportObject(Obj);
    if (!FMatrix)
        return;
    // Objects lie at their place within the page plus the grid's margin of error.
    if (TkvlPage *page = Obj->Page())
        page->SetTop(FMatrix->Inaccuracy);
    auto *v = rtl_cast<TkvlView>(Obj);
    if (v && v->Name() != QLatin1String("_pagebackground") && (v->Visibility & kvlBit(vsExport)))
        FMatrix->AddObject(v);
}

void TkvlXLSXExport::WriteSheets(int FirstRow, int LastRow, int Index, bool RowBreaks)
{
    TkvlXLSXSheetRange r;
    r.FirstRow = FirstRow;
    r.LastRow = LastRow;
    r.Index = Index;
    r.LeftMargin = FLastPage->Left;
    r.TopMargin = FLastPage->Top;
    r.RightMargin = FLastPage->Right;
    r.BottomMargin = FLastPage->Bottom;
    r.PaperSize = FLastPage->PaperSize;
    r.Landscape = FLastPage->Landscape;
    r.RowBreaks = RowBreaks;
    FBook->AddSheet(*FMatrix, r);
}

void TkvlXLSXExport::FinishPage(TkvlPage *Page, int Index)
{
    if (!FMatrix || !FError.isEmpty())
        return;
    if (auto *p = rtl_cast<TkvlReportPage>(Page)) {
        FLastPage->Left = p->LeftMargin;
        FLastPage->Top = p->TopMargin;
        FLastPage->Right = p->RightMargin;
        FLastPage->Bottom = p->BottomMargin;
        FLastPage->PaperSize = p->PaperSize();
        FLastPage->Landscape = p->Orientation() == poLandscape;
        FMatrix->AddPage(p->Orientation(), p->PaperWidth(), p->PaperHeight(), p->LeftMargin, p->TopMargin,
                         p->RightMargin, p->BottomMargin, p->MirrorMargins, Index);
    }
    if (SingleSheet || ChunkSize > 0)
        return;
    try {
        FMatrix->Prepare();
        WriteSheets(0, FMatrix->Height() - 2, Index + 1, false);
        FMatrix->Clear();
    } catch (const std::exception &e) {
        Fail(QString::fromUtf8(e.what()));
    }
}

void TkvlXLSXExport::Finish()
{
    if (!FBook) {
        FOutput.Discard();
        Cleanup();
        return;
    }
    if (!ExportFailed && FError.isEmpty()) {
        try {
            TkvlIEMatrix &m = *FMatrix;
            if (SingleSheet || ChunkSize > 0)
                m.Prepare();
            const int lastRow = m.Height() - 2;
            if (SingleSheet) {
                WriteSheets(0, lastRow, 1, ExportPageBreaks);
            } else if (ChunkSize > 0) {
                int index = 1;
                for (int first = 0; first <= lastRow; first += ChunkSize)
                    WriteSheets(first, std::min(first + ChunkSize - 1, lastRow), index++, false);
            }
            // A workbook needs a sheet, even for a report with nothing to show.
            if (FBook->SheetCount() == 0) {
                m.Clear();
                m.Prepare();
                WriteSheets(0, -1, 1, false);
            }
            FBook->Finish(Report ? Report->ReportOptions()->Author : QString());
            // The XML parts come from memory, the pictures from the package folder.
            TkvlZipArchive zip;
            zip.RootFolder = FBook->Folder();
            for (const auto &[name, bytes] : FBook->Parts())
                zip.AddData(name, bytes);
            if (!FBook->Folder().isEmpty())
                zip.AddDir(FBook->Folder());
            zip.SaveToStream(*FOutput.Stream());
            if (zip.Errors().Count() > 0)
                Fail(zip.Errors()[0]);
        } catch (const std::exception &e) {
            Fail(QString::fromUtf8(e.what()));
        }
    }
    Cleanup();
    if (ExportFailed || !FError.isEmpty()) {
        FOutput.Discard();
        // The driver reports a failure of its own already; one of this filter it learns here.
        if (!ExportFailed)
            throw Exception(FError);
        return;
    }
    kvlCompleteExport(FOutput, Report, OpenAfterExport, FileName);
}
