#include "report/data/kvldatabase.h"

#include "platform/rtl/reflect/classbuilder.h"

LIRRA_DEFINE_CLASS(TkvlCustomDatabase)
LIRRA_DEFINE_CLASS(TkvlDBComponents)

void TkvlCustomDatabase::DeclareClass(rtl::ClassBuilder<TkvlCustomDatabase> &) {}
void TkvlDBComponents::DeclareClass(rtl::ClassBuilder<TkvlDBComponents> &) {}
