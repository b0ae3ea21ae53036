#include "report/seams/kvlpreviewpages.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/seams/kvlengine.h"

LIRRA_DEFINE_CLASS(TkvlCustomOutline)

void TkvlCustomOutline::DeclareClass(rtl::ClassBuilder<TkvlCustomOutline> &) {}

TkvlCustomEngine *TkvlCustomOutline::Engine() const
{
    return PreviewPages ? PreviewPages->Engine : nullptr;
}

TkvlCustomPreviewPages::~TkvlCustomPreviewPages() = default;
