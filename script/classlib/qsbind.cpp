#include "script/classlib/qsbind.h"

#include "platform/rtl/reflect/classinfo.h"
#include "script/core/qsscript.h"

namespace qscl {

void BadObject(const Variant &value, const char *expected)
{
    throw EqsRunError(QStringLiteral("Invalid object reference %1: %2 expected")
                          .arg(value.toString(), QLatin1String(expected)));
}

QString FileArg(const TqsScript *script, Args &h, int i, TqsFileAccess access)
{
    QString name = Str(h, i);
    qsCheckFileAccess(script, name, access);
    return name;
}

TPersistent *ConstructNamed(TqsScript *script, const Variant &instance, TPersistent *owner)
{
    if (instance.isOrdinal())
        return &Self<TPersistent>(instance, "object");
    TqsClassVariable *cls = script->FindClass(instance.toString());
    if (!cls || !cls->FClassRef || !cls->FClassRef->canCreate())
        throw EqsRunError(QStringLiteral("Cannot create an instance of %1").arg(instance.toString()));
    return cls->FClassRef->create(owner);
}

} // namespace qscl
