#pragma once
// Process-wide table of weak object references. Scripts hold objects as plain Integer
// variants (handles); a handle turns back into its object only while the object lives.
//
//  - 0 is nil; the same live object always gets the same handle;
//  - a handle is never reused, even after its object died;
//  - a stale or made-up number gives nullptr, never a dangling pointer.
//
// Three kinds of objects can be registered:
//  - classes derived from rtl::HandleTracked (released by its destructor);
//  - QObjects (released when they emit destroyed());
//  - any other address, which its owner must release() before it dies.
// Look-ups are typed: objectAs<T>() checks the object's class with dynamic_cast where T is
// polymorphic, so a handle of one class never yields a pointer of another.
#include "platform/rtl/variant.h"

#include <QObject>
#include <atomic>
#include <cstdint>
#include <type_traits>

namespace rtl {

class HandleTracked;

class ObjectHandles
{
public:
    static constexpr int32_t FirstHandle = 0x100000; // small numbers are never handles

    static int32_t handleOf(const HandleTracked *obj);
    static int32_t handleOf(const QObject *obj);
    static int32_t handleOfRaw(const void *obj);
    // Handle of obj if it is registered, else 0 (does not register).
    static int32_t existingHandle(const void *obj);

    // The live object of a handle; nullptr for 0, stale, unknown handles or another kind.
    static HandleTracked *tracked(int64_t handle);
    static QObject *qobject(int64_t handle);
    static void *raw(int64_t handle);

    template<class T>
    static T *objectAs(int64_t handle)
    {
        if constexpr (std::is_base_of_v<HandleTracked, T>)
            return dynamic_cast<T *>(tracked(handle));
        else if constexpr (std::is_base_of_v<QObject, T>)
            return qobject_cast<T *>(qobject(handle));
        else
            return static_cast<T *>(raw(handle));
    }

    // obj is being destroyed: its handle goes stale for good. Harmless for unknown objects.
    static void release(const void *obj);
    // Number of live entries (for leak checks in tests).
    static int liveCount();
};

// Base that releases the object's handle on destruction.
class HandleTracked
{
public:
    HandleTracked() = default;
    // A copy is another object: it has no handle until asked for one.
    HandleTracked(const HandleTracked &) {}
    HandleTracked &operator=(const HandleTracked &) { return *this; }
    virtual ~HandleTracked();
    int32_t handle() const { return ObjectHandles::handleOf(this); }

private:
    friend class ObjectHandles;
    // Set once the object is in the table, so that the many objects that never get a
    // handle die without taking the table's lock.
    mutable std::atomic<bool> registered_{false};
};

// Object reference as a Variant: an Integer holding the handle (0 for nullptr).
template<class T>
Variant objectToVariant(const T *obj)
{
    if constexpr (std::is_base_of_v<HandleTracked, T>)
        return Variant(int(ObjectHandles::handleOf(static_cast<const HandleTracked *>(obj))));
    else if constexpr (std::is_base_of_v<QObject, T>)
        return Variant(int(ObjectHandles::handleOf(static_cast<const QObject *>(obj))));
    else
        return Variant(int(ObjectHandles::handleOfRaw(obj)));
}

// Object of a Variant holding a handle: nullptr for Empty, Null, 0, stale or foreign handles;
// a value that is not a number raises EVariantTypeCastError.
template<class T>
T *variantToObject(const Variant &v)
{
    if (v.isEmptyOrNull())
        return nullptr;
    return ObjectHandles::objectAs<T>(v.toInt64());
}

} // namespace rtl
