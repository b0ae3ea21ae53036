#pragma once
// Shared pieces of the class-library modules: argument conversion with object references
// resolved and class-checked through the handle table, and the call-back signature.
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/persistent.h"
#include "script/core/qsfileaccess.h"
#include "script/items/qsclasses.h"
#include "script/items/qsitems.h"

namespace qscl {

using Args = TqsMethodHelper;

[[noreturn]] void BadObject(const Variant &value, const char *expected);

// The object of a handle argument, nullptr for nil. A stale handle, a made-up number or an
// object of another class is a script error, never a pointer to the wrong thing.
template<class T>
T *ObjectArg(const Variant &value, const char *expected)
{
    if (value.isEmptyOrNull() || (value.isOrdinal() && value.toInt64() == 0))
        return nullptr;
    if (!value.isOrdinal())
        BadObject(value, expected);
    if (T *obj = rtl::ObjectHandles::objectAs<T>(value.toInt64()))
        return obj;
    BadObject(value, expected);
}

// As ObjectArg, but nil is an error too (the object a member was reached through).
template<class T>
T &Self(const Variant &value, const char *expected)
{
    if (T *obj = ObjectArg<T>(value, expected))
        return *obj;
    BadObject(value, expected);
}

inline QString Str(Args &h, int i) { return h.GetVParam(i).toString(); }
inline int Int(Args &h, int i) { return h.GetVParam(i).toInt(); }
inline int64_t Int64(Args &h, int i) { return h.GetVParam(i).toInt64(); }
inline bool Bool(Args &h, int i) { return h.GetVParam(i).toBool(); }
inline double Float(Args &h, int i) { return h.GetVParam(i).toDouble(); }
// The file name in argument i, once the script's host allowed the access: every binding that
// opens a file by name takes it from here.
QString FileArg(const TqsScript *script, Args &h, int i, TqsFileAccess access);

// Creates an instance of the class a constructor was called through (the class's name is
// the instance value of a class call); called on an object it answers the object.
TPersistent *ConstructNamed(TqsScript *script, const Variant &instance, TPersistent *owner = nullptr);

} // namespace qscl
