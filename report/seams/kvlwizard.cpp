#include "report/seams/kvlwizard.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/seams/kvldesigner.h"

LIRRA_DEFINE_CLASS(TkvlCustomWizard)

void TkvlCustomWizard::DeclareClass(rtl::ClassBuilder<TkvlCustomWizard> &b)
{
    b.description([] { return QString(); });
}

TkvlCustomWizard::TkvlCustomWizard(TComponent *AOwner)
    : TComponent(AOwner), FDesigner(rtl_cast<TkvlCustomDesigner>(AOwner)),
      FReport(FDesigner ? FDesigner->Report() : nullptr)
{
}
