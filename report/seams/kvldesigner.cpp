#include "report/seams/kvldesigner.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlobjects.h"

LIRRA_DEFINE_CLASS(TkvlCustomDesigner)

TkvlDesignerClass kvlDesignerClass = nullptr;

void TkvlCustomDesigner::DeclareClass(rtl::ClassBuilder<TkvlCustomDesigner> &) {}

TkvlCustomDesigner::TkvlCustomDesigner(TComponent *AOwner, TkvlReport *AReport, bool APreviewDesigner)
    : TComponent(AOwner), FReport(AReport), FIsPreviewDesigner(APreviewDesigner)
{
}

void TkvlCustomDesigner::SetModified(bool Value)
{
    FModified = Value;
    if (Value && FReport)
        FReport->Modified = true;
}
