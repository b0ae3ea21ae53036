#include "script/system/qssysregister.h"

#include "script/items/qsitems.h"
#include "script/system/qssysfuncs.h"

namespace {

// The widest declaration of the library has five parameters.
constexpr int MaxArgs = 6;

Variant CallEntry(const TqsSysFunction *f, TqsMethodHelper &h)
{
    Variant a[MaxArgs];
    const int n = std::min({f->paramCount, h.ParamCount(), MaxArgs});
    for (int i = 0; i < n; ++i)
        a[i] = h.Params(i)->FValue;
    Variant r = f->fn(a);
    // Var parameters go back through the helper; the interpreter stores them in the
    // caller's variables.
    for (int i = 0; i < n; ++i)
        if (f->varParams & (1u << i))
            h.Params(i)->FValue = std::move(a[i]);
    return r;
}

} // namespace

void qsAddSysFunction(TqsScript *script, const TqsSysFunction &f)
{
    const TqsSysFunction *entry = &f;
    script->AddMethod(
        QString::fromLatin1(f.syntax),
        [entry](const Variant &, const QString &, TqsMethodHelper &h) { return CallEntry(entry, h); },
        QString::fromLatin1(f.category));
}
