#include "platform/rtl/reflect/persistent.h"

#include "platform/rtl/reflect/classbuilder.h"

const rtl::ClassInfo *TPersistent::StaticClass()
{
    static const rtl::ClassInfo *ci = rtl::ClassBuilder<TPersistent>::build(QStringLiteral("TPersistent"));
    return ci;
}

void TPersistent::DeclareClass(rtl::ClassBuilder<TPersistent> &) {}

const rtl::ClassInfo *TPersistent::ClassType() const { return StaticClass(); }

TPersistent::~TPersistent() = default;

void TPersistent::Assign(TPersistent *Source)
{
    if (!Source)
        throw EConvertError(QStringLiteral("Cannot assign a nil to a %1").arg(ClassName()));
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent *Dest)
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                             .arg(ClassName(), Dest ? Dest->ClassName() : QStringLiteral("nil")));
}

void TPersistent::DefineProperties(TFiler &) {}
