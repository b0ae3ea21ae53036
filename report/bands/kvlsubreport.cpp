#include "report/bands/kvlsubreport.h"

#include "platform/gfx/canvas.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlresourcetext.h"
#include "report/pages/kvlreportpage.h"

LIRRA_DEFINE_CLASS(TkvlSubreport)

void TkvlSubreport::DeclareClass(rtl::ClassBuilder<TkvlSubreport> &b)
{
    using T = TkvlSubreport;
    b.prop<&T::Page, &T::SetPage>("Page");
    b.prop<&T::PrintOnParent>("PrintOnParent").def(false);
    b.description([] { return kvlResourceText(QStringLiteral("obSubRep")); });
}

TkvlSubreport::TkvlSubreport(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlView(AOwner, Design)
{
    // The object stands for the page it prints; it never goes into prepared pages itself.
    SetkvComponentStyle(kvComponentStyle() & TkvlComponentStyle(~kvlBit(csPreviewVisible)));
    Frame()->SetTyp(kvlFrameAll);
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetSize(8);
    SetColor(12632256);  // silver
}

TkvlReportPage *TkvlSubreport::Page() const { return FPage.get(); }

void TkvlSubreport::SetPage(TkvlReportPage *Value)
{
    if (TkvlReportPage *old = FPage.get(); old && old != Value && old->SubReport() == this)
        old->SetSubReport(nullptr);
    FPage = Value;
    if (Value)
        Value->SetSubReport(this);
}

void TkvlSubreport::Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY)
{
    TkvlView::Draw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
    Canvas->setFont(Font()->Desc());
    Canvas->setBkMode(gfx::BkMode::Transparent);
    Canvas->textOut(X + 2, Y + 2, Name());
}
