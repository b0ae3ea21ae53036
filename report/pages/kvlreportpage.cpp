#include "report/pages/kvlreportpage.h"
#include "report/pages/pagebounds.h"

#include "platform/rtl/format.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlresourcetext.h"
#include "report/bands/kvlsubreport.h"
#include "report/data/kvldataset.h"
#include "report/resources/kvlresources.h"
#include "report/views/kvlpicture.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <mutex>

LIRRA_DEFINE_CLASS(TkvlReportPage)
LIRRA_DEFINE_CLASS(TkvlDataPage)

namespace {

const rtl::TypeInfo *orientationType()
{
    static const rtl::TypeInfo *t = rtl::EnumType(QStringLiteral("TPrinterOrientation"), {"poPortrait", "poLandscape"});
    return t;
}

const rtl::TypeInfo *duplexType()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlDuplexMode"), {"dmNone", "dmVertical", "dmHorizontal", "dmSimplex"});
    return t;
}

double rnd(double v) { return std::nearbyint(v); }

} // namespace

double Round8(double Value) { return std::nearbyint(Value * 1e8) / 1e8; }

void TkvlReportPage::DeclareClass(rtl::ClassBuilder<TkvlReportPage> &b)
{
    using T = TkvlReportPage;
    b.prop<&T::Orientation, &T::SetOrientation>("Orientation", orientationType()).def(poPortrait);
    b.prop<&T::PaperWidth, &T::SetPaperWidth>("PaperWidth");
    b.prop<&T::PaperHeight, &T::SetPaperHeight>("PaperHeight");
    b.prop<&T::PaperSize, &T::SetPaperSize>("PaperSize").stored(true);
    b.prop<&T::LeftMargin>("LeftMargin");
    b.prop<&T::RightMargin>("RightMargin");
    b.prop<&T::TopMargin>("TopMargin");
    b.prop<&T::BottomMargin>("BottomMargin");
    b.prop<&T::MirrorMargins>("MirrorMargins").def(false);
    b.prop<&T::Columns, &T::SetColumns>("Columns").def(0);
    b.prop<&T::ColumnWidth>("ColumnWidth");
    b.prop<[](T &p) -> TStringList & { return p.ColumnPositions(); }>("ColumnPositions", rtl::types::TStrings());
    b.prop<&T::Bin>("Bin").def(kvlDefaultBin);
    b.prop<&T::BinOtherPages>("BinOtherPages").def(kvlDefaultBin);
    b.prop<&T::BackPicture, &T::SetBackPicture>("BackPicture");
    b.prop<&T::BackPictureVisible>("BackPictureVisible").def(true);
    b.prop<&T::BackPicturePrintable>("BackPicturePrintable").def(true);
    b.prop<&T::BackPictureStretched>("BackPictureStretched").def(true);
    b.prop<&T::PageCount, &T::SetPageCount>("PageCount").def(1);
    b.prop<&T::Color, &T::SetColor>("Color", rtl::types::TColor()).def(clNone);
    b.prop<&T::DataSet, &T::SetDataSet>("DataSet");
    b.prop<&T::DataSetName, &T::SetDataSetName>("DataSetName");
    b.prop<&T::Duplex>("Duplex", duplexType()).def(dmNone);
    b.prop<&T::Frame, &T::SetFrame>("Frame");
    b.prop<&T::EndlessHeight>("EndlessHeight").def(false);
    b.prop<&T::EndlessWidth>("EndlessWidth").def(false);
    b.prop<&T::LargeDesignHeight>("LargeDesignHeight").def(false);
    b.prop<&T::OutlineText>("OutlineText");
    b.prop<&T::PrintIfEmpty>("PrintIfEmpty").def(true);
    b.prop<&T::PrintOnPreviousPage>("PrintOnPreviousPage").def(false);
    b.prop<&T::ShowTitleOnPreviousPage>("ShowTitleOnPreviousPage").def(true);
    b.prop<&T::ResetPageNumbers>("ResetPageNumbers").def(false);
    b.prop<&T::TitleBeforeHeader>("TitleBeforeHeader").def(true);
    b.prop<[](T &p) -> TStringList & { return p.HGuides(); }>("HGuides", rtl::types::TStrings());
    b.prop<[](T &p) -> TStringList & { return p.VGuides(); }>("VGuides", rtl::types::TStrings());
    b.prop<&T::OnAfterPrint>("OnAfterPrint", kvltypes::Event("TkvlNotifyEvent"));
    b.prop<&T::OnBeforePrint>("OnBeforePrint", kvltypes::Event("TkvlNotifyEvent"));
    b.prop<&T::OnManualBuild>("OnManualBuild", kvltypes::Event("TkvlNotifyEvent"));
    b.description([] { return kvlResourceText(QStringLiteral("obRepPage")); });
}

void TkvlDataPage::DeclareClass(rtl::ClassBuilder<TkvlDataPage> &b)
{
    b.publish("Height");
    b.publish("Left");
    b.publish("Top");
    b.publish("Width");
    b.description([] { return kvlResourceText(QStringLiteral("obDataPage")); });
}

// ---- report page ------------------------------------------------------------------------

TkvlReportPage::TkvlReportPage(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlPage(AOwner, Design), FBackPictureView(std::make_unique<TkvlPictureView>(nullptr))
{
    FBackPictureView->SetColor(clNone);
    FBackPictureView->KeepAspectRatio = false;
    SetPaperSize(kvlA4Paper);
    SetBaseName(QStringLiteral("Page"));
}

TkvlReportPage::~TkvlReportPage() = default;

TPicture *TkvlReportPage::BackPicture() const { return FBackPictureView->Picture(); }
void TkvlReportPage::SetBackPicture(TPicture *Value) { FBackPictureView->SetPicture(Value); }
TColor TkvlReportPage::Color() const { return FBackPictureView->Color(); }
void TkvlReportPage::SetColor(TColor Value) { FBackPictureView->SetColor(Value); }
TkvlFrame *TkvlReportPage::Frame() const { return FBackPictureView->Frame(); }
void TkvlReportPage::SetFrame(TkvlFrame *Value) { FBackPictureView->SetFrame(Value); }
TkvlSubreport *TkvlReportPage::SubReport() const { return FSubReport.get(); }
void TkvlReportPage::SetSubReport(TkvlSubreport *Value) { FSubReport = Value; }

void TkvlReportPage::SetOrientation(TPrinterOrientation Value)
{
    if (Value == FOrientation)
        return;
    std::swap(FPaperWidth, FPaperHeight);
    const double l = LeftMargin, t = TopMargin, r = RightMargin, bm = BottomMargin;
    if (Value == poLandscape) {
        LeftMargin = t;
        RightMargin = bm;
        TopMargin = r;
        BottomMargin = l;
    } else {
        LeftMargin = bm;
        RightMargin = t;
        TopMargin = l;
        BottomMargin = r;
    }
    FOrientation = Value;
    UpdateDimensions();
}

void TkvlReportPage::SetPaperWidth(double Value)
{
    FPaperWidth = Round8(Value);
    FPaperSize = kvlCustomPaper;
    UpdateDimensions();
}

void TkvlReportPage::SetPaperHeight(double Value)
{
    FPaperHeight = Round8(Value);
    FPaperSize = kvlCustomPaper;
    UpdateDimensions();
}

void TkvlReportPage::SetPaperSize(int32_t Value)
{
    FPaperSize = Value;
    if (Value >= kvlCustomPaper)
        return;
    double w = 0, h = 0;
    if (kvlGetPaperDimensions(Value, w, h)) {
        if (FOrientation == poLandscape)
            std::swap(w, h);
        FPaperWidth = w;
        FPaperHeight = h;
    }
    UpdateDimensions();
}

void TkvlReportPage::SetSizeAndDimensions(int32_t ASize, double AWidth, double AHeight)
{
    FPaperSize = ASize;
    FPaperWidth = Round8(AWidth);
    FPaperHeight = Round8(AHeight);
    UpdateDimensions();
}

void TkvlReportPage::SetSheetDirect(double AWidth, double AHeight)
{
    FPaperWidth = AWidth;
    FPaperHeight = AHeight;
    UpdateDimensions();
}

int32_t kvlMaxColumns(const TkvlReportPage &Page)
{
    const double pixels = (Page.PaperWidth() - Page.LeftMargin - Page.RightMargin) * kvlPixelsPerMm;
    return pixels >= 1 && pixels < INT32_MAX ? int32_t(pixels) : pixels >= INT32_MAX ? INT32_MAX : 1;
}

void TkvlReportPage::SetColumns(int32_t Value)
{
    // One text per column: a column count from a template is never more than can be seen.
    Value = std::min(Value, kvlMaxColumns(*this));
    FColumns = Value;
    FColumnPositions.Clear();
    if (Value <= 0)
        return;
    ColumnWidth = (FPaperWidth - LeftMargin - RightMargin) / Value;
    for (int i = 0; i < Value; ++i)
        FColumnPositions.Add(rtl::FloatToStr(i * ColumnWidth));
}

void TkvlReportPage::SetPageCount(int32_t Value)
{
    if (Value > 0)
        FPageCount = Value;
}

void TkvlReportPage::ClearGuides()
{
    FHGuides.Clear();
    FVGuides.Clear();
}

void TkvlReportPage::SetDefaults()
{
    LeftMargin = RightMargin = TopMargin = BottomMargin = 10;
    {
        TkvlPrinters &printers = kvlPrinters();
        std::lock_guard<std::recursive_mutex> lock(printers.Lock());
        if (TkvlCustomPrinter *p = printers.GetCurrentPrinter()) {
            FPaperSize = p->DefPaper();
            FPaperWidth = p->DefPaperWidth();
            FPaperHeight = p->DefPaperHeight();
            FOrientation = p->DefOrientation();
        }
    }
    UpdateDimensions();
}

void TkvlReportPage::UpdateDimensions()
{
    SetWidth(rnd(FPaperWidth * kvlPixelsPerMm));
    SetHeight(rnd(FPaperHeight * kvlPixelsPerMm));
}

TkvlBand *TkvlReportPage::FindBand(const rtl::ClassInfo *BandClass) const
{
    for (TkvlComponent *c : Objects())
        if (c->InheritsFrom(BandClass))
            return rtl_cast<TkvlBand>(c);
    return nullptr;
}

double TkvlReportPage::PrintableWidth() const { return (FPaperWidth - LeftMargin - RightMargin) * kvlPixelsPerMm; }

double TkvlReportPage::PrintableHeight() const
{
    return (FPaperHeight - TopMargin - BottomMargin) * kvlPixelsPerMm;
}

void TkvlReportPage::AlignChildren()
{
    SetWidth(PrintableWidth());
    SetHeight(PrintableHeight());
    TkvlPage::AlignChildren();
    for (TkvlComponent *c : Objects()) {
        auto *band = rtl_cast<TkvlBand>(c);
        if (!band)
            continue;
        if (band->Vertical()) {
            band->SetHeight(PrintableHeight() - band->Top());
        } else if (FColumns > 1
                   && !(band->Is<TkvlNullBand>() || band->Is<TkvlReportSummary>() || band->Is<TkvlPageHeader>()
                        || band->Is<TkvlPageFooter>() || band->Is<TkvlReportTitle>() || band->Is<TkvlOverlay>())) {
            band->SetWidth(ColumnWidth * kvlPixelsPerMm);
        } else {
            band->SetWidth(Width() - band->Left());
        }
        band->AlignChildren();
    }
    UpdateDimensions();
}

void TkvlReportPage::Draw(TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    TkvlPictureView &v = *FBackPictureView;
    if (BackPictureStretched) {
        v.SetWidth(PrintableWidth());
        v.SetHeight(PrintableHeight());
    } else {
        v.SetWidth(v.Picture()->Width());
        v.SetHeight(v.Picture()->Height());
    }
    if (!BackPictureVisible || (IsPrinting && !BackPicturePrintable))
        return;
    v.IsPrinting = IsPrinting;
    v.Draw(Canvas, ScaleX, ScaleY, OffsetX + ScaleX * LeftMargin * kvlPixelsPerMm,
           OffsetY + ScaleY * TopMargin * kvlPixelsPerMm);
}

// ---- data page --------------------------------------------------------------------------

TkvlDataPage::TkvlDataPage(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlPage(AOwner, Design)
{
    SetWidth(1000);
    SetHeight(1000);
}

void kvlRegisterPageClasses()
{
    rtl::RegisterClasses({TkvlReportPage::StaticClass(), TkvlDataPage::StaticClass()});
    // The description's text, unless a language file gave it already (the data page's key
    // has none: the key itself is shown).
    TkvlResources &res = kvlResources();
    if (res.IndexOf(QStringLiteral("obRepPage")) < 0)
        res.Add(QStringLiteral("obRepPage"), QStringLiteral("Pagina del report"));
}
