#include "report/bands/kvlband.h"
#include "report/bands/kvlsubreport.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/appearance/frame.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/data/kvldataset.h"
#include "report/memo/kvlmemo.h"
#include "report/resources/kvlresources.h"

#include <cmath>
#include <unordered_set>

LIRRA_DEFINE_CLASS(TkvlFillGaps)
LIRRA_DEFINE_CLASS(TkvlBand)
LIRRA_DEFINE_CLASS(TkvlReportTitle)
LIRRA_DEFINE_CLASS(TkvlReportSummary)
LIRRA_DEFINE_CLASS(TkvlPageHeader)
LIRRA_DEFINE_CLASS(TkvlPageFooter)
LIRRA_DEFINE_CLASS(TkvlHeader)
LIRRA_DEFINE_CLASS(TkvlFooter)
LIRRA_DEFINE_CLASS(TkvlDataBand)
LIRRA_DEFINE_CLASS(TkvlMasterData)
LIRRA_DEFINE_CLASS(TkvlDetailData)
LIRRA_DEFINE_CLASS(TkvlSubdetailData)
LIRRA_DEFINE_CLASS(TkvlDataBand4)
LIRRA_DEFINE_CLASS(TkvlDataBand5)
LIRRA_DEFINE_CLASS(TkvlDataBand6)
LIRRA_DEFINE_CLASS(TkvlGroupHeader)
LIRRA_DEFINE_CLASS(TkvlGroupFooter)
LIRRA_DEFINE_CLASS(TkvlChild)
LIRRA_DEFINE_CLASS(TkvlColumnHeader)
LIRRA_DEFINE_CLASS(TkvlColumnFooter)
LIRRA_DEFINE_CLASS(TkvlOverlay)
LIRRA_DEFINE_CLASS(TkvlNullBand)

namespace {

QString bandDescription() { return kvlResourceText(QStringLiteral("obBand")); }
QString dataBandDescription() { return kvlResourceText(QStringLiteral("obDataBand")); }

// The kinds in band-number order.
const rtl::ClassInfo *bandClass(int Number)
{
    static const rtl::ClassInfo *const table[] = {
        TkvlReportTitle::StaticClass(),  TkvlReportSummary::StaticClass(), TkvlPageHeader::StaticClass(),
        TkvlPageFooter::StaticClass(),   TkvlHeader::StaticClass(),        TkvlFooter::StaticClass(),
        TkvlMasterData::StaticClass(),   TkvlDetailData::StaticClass(),    TkvlSubdetailData::StaticClass(),
        TkvlDataBand4::StaticClass(),    TkvlDataBand5::StaticClass(),     TkvlDataBand6::StaticClass(),
        TkvlGroupHeader::StaticClass(),  TkvlGroupFooter::StaticClass(),   TkvlChild::StaticClass(),
        TkvlColumnHeader::StaticClass(), TkvlColumnFooter::StaticClass(),  TkvlOverlay::StaticClass(),
    };
    return table[Number];
}
constexpr int kBandKinds = 18;

// Nearest whole number of cells (ties to even), back in pixels.
double snap(double Value, double Cell) { return std::nearbyint(Value / Cell) * Cell; }

template <class T> void publishChildGroup(rtl::ClassBuilder<T> &b)
{
    b.publish("AllowSplit");
    b.publish("Child");
    b.publish("KeepChild");
    b.publish("PrintChildIfInvisible");
    b.publish("StartNewPage");
    b.publish("Stretched");
}

} // namespace

// ---- declarations ------------------------------------------------------------------------

void TkvlFillGaps::DeclareClass(rtl::ClassBuilder<TkvlFillGaps> &b)
{
    b.prop<&TkvlFillGaps::Top>("Top");
    b.prop<&TkvlFillGaps::Left>("Left");
    b.prop<&TkvlFillGaps::Bottom>("Bottom");
    b.prop<&TkvlFillGaps::Right>("Right");
}

void TkvlFillGaps::Assign(TPersistent *Source)
{
    if (auto *g = rtl_cast<TkvlFillGaps>(Source)) {
        Top = g->Top;
        Left = g->Left;
        Bottom = g->Bottom;
        Right = g->Right;
        return;
    }
    TPersistent::Assign(Source);
}

void TkvlBand::DeclareClass(rtl::ClassBuilder<TkvlBand> &b)
{
    using T = TkvlBand;
    b.declare<&T::AllowSplit>("AllowSplit").def(false);
    b.declare<&T::Child, &T::SetChild>("Child");
    b.declare<&T::KeepChild>("KeepChild").def(false);
    b.declare<&T::PrintChildIfInvisible>("PrintChildIfInvisible").def(false);
    b.declare<&T::StartNewPage>("StartNewPage").def(false);
    b.declare<&T::Stretched>("Stretched").def(false);
    b.declare<&T::OutlineText>("OutlineText");
    b.prop<&T::FillType, &T::SetFillType>("FillType", kvlFillTypeType());
    b.prop<&T::Fill, &T::SetFill>("Fill");
    b.prop<&T::FillGap>("FillGap");
    b.prop<&T::Frame, &T::SetFrame>("Frame");
    b.publish("Font");
    b.publish("Height");
    b.publish("Left");
    b.publish("ParentFont");
    b.publish("Restrictions");
    b.publish("Top");
    b.prop<&T::Vertical, &T::SetVertical>("Vertical").def(false);
    b.publish("Visible");
    b.publish("Width");
    b.prop<&T::OnAfterCalcHeight>("OnAfterCalcHeight", kvltypes::Event("TkvlNotifyEvent"));
    b.publish("OnAfterPrint");
    b.publish("OnBeforePrint");
    b.description(bandDescription);
}

void TkvlReportTitle::DeclareClass(rtl::ClassBuilder<TkvlReportTitle> &b) { publishChildGroup(b); }
void TkvlReportSummary::DeclareClass(rtl::ClassBuilder<TkvlReportSummary> &b) { publishChildGroup(b); }
void TkvlChild::DeclareClass(rtl::ClassBuilder<TkvlChild> &b) { publishChildGroup(b); }

void TkvlPageHeader::DeclareClass(rtl::ClassBuilder<TkvlPageHeader> &b)
{
    b.publish("Child");
    b.publish("PrintChildIfInvisible");
    b.prop<&TkvlPageHeader::PrintOnFirstPage>("PrintOnFirstPage").def(true);
    b.publish("Stretched");
}

void TkvlPageFooter::DeclareClass(rtl::ClassBuilder<TkvlPageFooter> &b)
{
    b.prop<&TkvlPageFooter::PrintOnFirstPage>("PrintOnFirstPage").def(true);
    b.prop<&TkvlPageFooter::PrintOnLastPage>("PrintOnLastPage").def(true);
}

void TkvlHeader::DeclareClass(rtl::ClassBuilder<TkvlHeader> &b)
{
    b.publish("AllowSplit");
    b.publish("Child");
    b.publish("KeepChild");
    b.publish("PrintChildIfInvisible");
    b.prop<&TkvlHeader::ReprintOnNewPage>("ReprintOnNewPage").def(false);
    b.publish("StartNewPage");
    b.publish("Stretched");
}

void TkvlFooter::DeclareClass(rtl::ClassBuilder<TkvlFooter> &b)
{
    b.publish("AllowSplit");
    b.publish("Child");
    b.publish("KeepChild");
    b.publish("PrintChildIfInvisible");
    b.publish("Stretched");
}

void TkvlDataBand::DeclareClass(rtl::ClassBuilder<TkvlDataBand> &b)
{
    using T = TkvlDataBand;
    b.publish("AllowSplit");
    b.publish("Child");
    b.prop<&T::Columns>("Columns").def(0);
    b.prop<&T::ColumnWidth>("ColumnWidth");
    b.prop<&T::ColumnGap>("ColumnGap");
    b.prop<&T::DataSet, &T::SetDataSet>("DataSet");
    b.prop<&T::DataSetName, &T::SetDataSetName>("DataSetName");
    b.prop<&T::FooterAfterEach>("FooterAfterEach").def(false);
    b.prop<&T::Filter>("Filter");
    b.publish("KeepChild");
    b.prop<&T::KeepFooter>("KeepFooter").def(false);
    b.prop<&T::KeepHeader>("KeepHeader").def(false);
    b.prop<&T::KeepTogether>("KeepTogether").def(false);
    b.publish("OutlineText");
    b.publish("PrintChildIfInvisible");
    b.prop<&T::PrintIfDetailEmpty>("PrintIfDetailEmpty").def(false);
    b.prop<&T::RowCount, &T::SetRowCount>("RowCount").stored(true);
    b.publish("StartNewPage");
    b.publish("Stretched");
    b.prop<&T::OnMasterDetail>("OnMasterDetail", kvltypes::Event("TkvlNotifyEvent"));
    b.description(dataBandDescription);
}

void TkvlMasterData::DeclareClass(rtl::ClassBuilder<TkvlMasterData> &) {}
void TkvlDetailData::DeclareClass(rtl::ClassBuilder<TkvlDetailData> &) {}
void TkvlSubdetailData::DeclareClass(rtl::ClassBuilder<TkvlSubdetailData> &) {}
void TkvlDataBand4::DeclareClass(rtl::ClassBuilder<TkvlDataBand4> &) {}
void TkvlDataBand5::DeclareClass(rtl::ClassBuilder<TkvlDataBand5> &) {}
void TkvlDataBand6::DeclareClass(rtl::ClassBuilder<TkvlDataBand6> &) {}

void TkvlGroupHeader::DeclareClass(rtl::ClassBuilder<TkvlGroupHeader> &b)
{
    using T = TkvlGroupHeader;
    b.publish("AllowSplit");
    b.publish("Child");
    b.prop<&T::Condition>("Condition");
    b.prop<&T::DrillDown>("DrillDown").def(false);
    b.prop<&T::ExpandDrillDown>("ExpandDrillDown").def(false);
    b.publish("KeepChild");
    b.prop<&T::KeepTogether>("KeepTogether").def(false);
    b.prop<&T::ReprintOnNewPage>("ReprintOnNewPage").def(false);
    b.publish("OutlineText");
    b.publish("PrintChildIfInvisible");
    b.prop<&T::ResetPageNumbers>("ResetPageNumbers").def(false);
    b.prop<&T::ShowFooterIfDrillDown>("ShowFooterIfDrillDown").def(false);
    b.prop<&T::ShowChildIfDrillDown>("ShowChildIfDrillDown").def(false);
    b.publish("StartNewPage");
    b.publish("Stretched");
    b.prop<&T::DrillName>("DrillName");
}

void TkvlGroupFooter::DeclareClass(rtl::ClassBuilder<TkvlGroupFooter> &b)
{
    b.publish("AllowSplit");
    b.publish("Child");
    b.prop<&TkvlGroupFooter::HideIfSingleDataRecord>("HideIfSingleDataRecord").def(false);
    b.publish("KeepChild");
    b.publish("PrintChildIfInvisible");
    b.publish("Stretched");
}

void TkvlColumnHeader::DeclareClass(rtl::ClassBuilder<TkvlColumnHeader> &b)
{
    b.publish("Child");
    b.publish("Stretched");
}

void TkvlColumnFooter::DeclareClass(rtl::ClassBuilder<TkvlColumnFooter> &) {}

void TkvlOverlay::DeclareClass(rtl::ClassBuilder<TkvlOverlay> &b)
{
    b.prop<&TkvlOverlay::PrintOnTop>("PrintOnTop").def(false);
}

void TkvlNullBand::DeclareClass(rtl::ClassBuilder<TkvlNullBand> &) {}

// ---- band -------------------------------------------------------------------------------

TkvlBand::TkvlBand(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlReportComponent(AOwner, Design),
      FFill(kvlCreateFill(ftBrush)),
      FFillGap(std::make_unique<TkvlFillGaps>()),
      FFrame(std::make_unique<TkvlFrame>())
{
}

TkvlBand::~TkvlBand() = default;

TkvlChild *TkvlBand::Child() const { return static_cast<TkvlChild *>(FChild.get()); }

void TkvlBand::SetChild(TkvlChild *Value)
{
    // Follow the chain from Value; a damaged template may hold a loop that does not pass
    // through this band, so every band is visited once at most.
    std::unordered_set<const TkvlBand *> seen;
    for (const TkvlBand *b = Value; b && seen.insert(b).second; b = b->Child())
        if (b == this)
            throw EComponentError(kvlResourceText(QStringLiteral("clCirRefNotAllow")));
    FChild = Value;
}

void TkvlBand::SetFillType(TkvlFillType Value)
{
    if (Value != FFillType || kvlGetFillType(FFill.get()) != Value)
        FFill.reset(kvlCreateFill(Value));
    FFillType = Value;
}

void TkvlBand::SetFill(TkvlCustomFill *Value)
{
    if (!Value || Value == FFill.get())
        return;
    SetFillType(kvlGetFillType(Value));
    FFill->Assign(Value);
}

void TkvlBand::SetFrame(TkvlFrame *Value)
{
    if (Value && Value != FFrame.get())
        FFrame->Assign(Value);
}

void TkvlBand::SetLeft(double Value)
{
    double w = 0, h = 0;
    if (auto *page = rtl_cast<TkvlPage>(Parent()); page && page->GetCellSize(w, h))
        Value = snap(Value, w);
    TkvlReportComponent::SetLeft(Value);
}

void TkvlBand::SetTop(double Value)
{
    double w = 0, h = 0;
    if (auto *page = rtl_cast<TkvlPage>(Parent()); page && page->GetCellSize(w, h))
        Value = snap(Value, h);
    TkvlReportComponent::SetTop(Value);
}

void TkvlBand::SetHeight(double Value)
{
    double w = 0, h = 0;
    if (auto *page = rtl_cast<TkvlPage>(Parent()); page && page->GetCellSize(w, h))
        Value = snap(Value, h);
    TkvlReportComponent::SetHeight(Value);
}

QString TkvlBand::BandName() const
{
    QString s = ClassName();
    if (const qsizetype k = s.indexOf(QLatin1String("Tkvl")); k >= 0)
        s.remove(k, 4);
    if (const qsizetype k = s.indexOf(QLatin1String("Band")); k >= 0)
        s.remove(k, 4);
    return s;
}

int TkvlBand::BandNumber() const
{
    for (int i = kBandKinds - 1; i >= 0; --i)
        if (ClassType()->inheritsFrom(bandClass(i)))
            return i;
    return 0;
}

void TkvlBand::Draw(TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    if (!IsDesigning)
        return;
    const double l = GetAbsLeft(), t = GetAbsTop();
    auto rx = [&](double v) { return int(std::nearbyint(OffsetX + ScaleX * v)); };
    auto ry = [&](double v) { return int(std::nearbyint(OffsetY + ScaleY * v)); };
    FFill->Draw(Canvas, rx(l), ry(t), rx(l + Width()), ry(t + Height()), ScaleX, ScaleY);
}

bool TkvlBand::NeedsFillMemo() const
{
    if (Is<TkvlNullBand>())
        return false;
    if (FFrame->Typ() != 0 || FFillType != ftBrush)
        return true;
    const auto *brush = static_cast<const TkvlBrushFill *>(FFill.get());
    return brush->FBackColor != clNone || brush->FForeColor != 0 || brush->FStyle != bsSolid;
}

TkvlRect TkvlBand::FillMemoBounds() const
{
    const double left = FFillGap->Left, top = FFillGap->Top;
    return TkvlRect{left, top, left + Width() - FFillGap->Left - FFillGap->Right,
                    top + Height() - FFillGap->Top - FFillGap->Bottom};
}

TkvlMemoView *TkvlBand::FillMemo() const { return FFillMemo.get(); }

void TkvlBand::CreateFillMemo()
{
    if (!NeedsFillMemo())
        return;
    if (!FFillMemo)
        FFillMemo = new TkvlMemoView(this);
    TkvlMemoView *memo = FFillMemo.get();
    memo->SetFillType(FFillType);
    memo->SetFill(FFill.get());
    memo->SetFrame(FFrame.get());
    const TkvlRect r = FillMemoBounds();
    memo->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    // First among the band's objects, so it is drawn and exported beneath them.
    memo->SetParentAt(this, 0);
}

void TkvlBand::DisposeFillMemo()
{
    delete FFillMemo.get();
    FFillMemo = nullptr;
}

// ---- data band --------------------------------------------------------------------------

TkvlDataBand::TkvlDataBand(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlBand(AOwner, Design), FVirtualDataSet(std::make_unique<TkvlUserDataSet>(nullptr))
{
    FVirtualDataSet->RangeEnd = reCount;
}

TkvlDataBand::~TkvlDataBand() = default;

void TkvlDataBand::SetRowCount(int32_t Value)
{
    FRowCount = Value;
    FVirtualDataSet->RangeEndCount = Value;
}

void TkvlDataBand::SetCurColumn(int32_t Value)
{
    if (Value > Columns)
        Value = 1;
    FCurColumn = Value;
    if (FCurColumn == 1)
        MaxY = 0;
    // Straight to the field: the engine adds the page position itself.
    TkvlComponent::SetLeft((ColumnWidth + ColumnGap) * (FCurColumn - 1));
}

void kvlRegisterBandClasses()
{
    rtl::RegisterClasses({TkvlFillGaps::StaticClass(), TkvlBand::StaticClass(), TkvlReportTitle::StaticClass(),
                          TkvlReportSummary::StaticClass(), TkvlPageHeader::StaticClass(),
                          TkvlPageFooter::StaticClass(), TkvlHeader::StaticClass(), TkvlFooter::StaticClass(),
                          TkvlDataBand::StaticClass(), TkvlMasterData::StaticClass(), TkvlDetailData::StaticClass(),
                          TkvlSubdetailData::StaticClass(), TkvlDataBand4::StaticClass(),
                          TkvlDataBand5::StaticClass(), TkvlDataBand6::StaticClass(),
                          TkvlGroupHeader::StaticClass(), TkvlGroupFooter::StaticClass(), TkvlChild::StaticClass(),
                          TkvlColumnHeader::StaticClass(), TkvlColumnFooter::StaticClass(),
                          TkvlOverlay::StaticClass(), TkvlNullBand::StaticClass(), TkvlSubreport::StaticClass()});
    // The descriptions' texts, unless a language file gave them already.
    TkvlResources &res = kvlResources();
    for (const auto &[key, text] : {std::pair{"obBand", "Sezione"}, std::pair{"obDataBand", "Oggetto sezione dati"},
                                    std::pair{"obSubRep", "Sottoreport"}})
        if (res.IndexOf(QLatin1String(key)) < 0)
            res.Add(QLatin1String(key), QString::fromUtf8(text));
}
