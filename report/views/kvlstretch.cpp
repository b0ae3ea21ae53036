#include "report/views/kvlstretch.h"

#include "platform/rtl/reflect/classbuilder.h"

LIRRA_DEFINE_CLASS(TkvlStretcheable)

const rtl::TypeInfo *kvltypes::StretchMode()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlStretchMode"), {"smDontStretch", "smActualHeight", "smMaxHeight"});
    return t;
}

void TkvlStretcheable::DeclareClass(rtl::ClassBuilder<TkvlStretcheable> &b)
{
    b.prop<&TkvlStretcheable::StretchMode>("StretchMode", kvltypes::StretchMode()).def(smDontStretch);
}
