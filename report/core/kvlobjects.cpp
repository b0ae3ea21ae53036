#include "report/core/kvlobjects.h"

#include "platform/rtl/reflect/classbuilder.h"

LIRRA_DEFINE_CLASS(TkvlView)
LIRRA_DEFINE_CLASS(TkvlPage)
LIRRA_DEFINE_CLASS(TkvlDialogPage)
LIRRA_DEFINE_CLASS(TkvlReport)

void TkvlView::DeclareClass(rtl::ClassBuilder<TkvlView> &b)
{
    b.prop<&TkvlView::Align, &TkvlView::SetAlign>("Align", kvltypes::Align()).def(baNone);
}

void TkvlPage::DeclareClass(rtl::ClassBuilder<TkvlPage> &b)
{
    b.publish("Font");
    b.publish("Visible");
}

void TkvlDialogPage::DeclareClass(rtl::ClassBuilder<TkvlDialogPage> &) {}
void TkvlReport::DeclareClass(rtl::ClassBuilder<TkvlReport> &) {}

TkvlView::TkvlView(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlReportComponent(AOwner, Design)
{
    SetkvComponentStyle(kvComponentStyle() | kvlBit(csDefaultDiff));
}

TkvlPage::TkvlPage(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlComponent(AOwner, Design) {}

TkvlDialogPage::TkvlDialogPage(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlPage(AOwner, Design) {}

TkvlReport::TkvlReport(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlComponent(AOwner, Design) {}

void kvlRegisterObjectTreeClasses()
{
    rtl::RegisterClasses({TkvlComponent::StaticClass(), TkvlReportComponent::StaticClass(), TkvlView::StaticClass(),
                          TkvlPage::StaticClass(), TkvlDialogPage::StaticClass(), TkvlReport::StaticClass()});
}
