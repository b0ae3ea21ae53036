#include "report/core/kvlobjects.h"

#include "platform/gfx/picture.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/data/kvldatasetlist.h"
#include "report/options/kvloptions.h"

LIRRA_DEFINE_CLASS(TkvlPage)

void TkvlPage::DeclareClass(rtl::ClassBuilder<TkvlPage> &b)
{
    b.publish("Font");
    b.publish("Visible");
}

TkvlPage::TkvlPage(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlComponent(AOwner, Design) {}

void kvlRegisterObjectTreeClasses()
{
    rtl::RegisterClasses({TkvlComponent::StaticClass(), TkvlReportComponent::StaticClass(), TkvlView::StaticClass(),
                          TkvlPage::StaticClass(), TkvlDialogPage::StaticClass(), TkvlReport::StaticClass(),
                          TPicture::StaticClass()});
}
