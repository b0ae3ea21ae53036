#include "fixtures.h"

LIRRA_DEFINE_CLASS(TkvlProbeView)
LIRRA_DEFINE_CLASS(TkvlProbeBand)
void TkvlProbeView::DeclareClass(rtl::ClassBuilder<TkvlProbeView> &) {}
void TkvlProbeBand::DeclareClass(rtl::ClassBuilder<TkvlProbeBand> &) {}
