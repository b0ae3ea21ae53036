#pragma once
// Objects by name, ignoring case (the same rule as SameName). Used where a container may
// hold thousands of named objects and a name lookup per insertion or rename would otherwise
// walk all of them. Several objects may share a name; callers pick among them.
//
// One flat table of (hash, object) slots, probed linearly: no block per entry and no copy of
// the name, so filling, emptying and dropping a large index touch memory in few places. The
// name compared on lookup is the object's own (T::Name()); an owner renaming an object
// removes it under the old name and adds it under the new one.
#include "platform/rtl/reflect/typeinfo.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>

namespace rtl {

template <class T> class NameIndex {
public:
    // Empty names are not indexed.
    void add(QStringView name, T *obj)
    {
        if (name.isEmpty() || !obj)
            return;
        if (2 * (FUsed + 1) > FCapacity)
            rehash(FCount + 1);
        const uint32_t h = NameHash(name);
        size_t i = h & (FCapacity - 1);
        while (FSlots[i].obj && FSlots[i].obj != tombstone())
            i = (i + 1) & (FCapacity - 1);
        if (!FSlots[i].obj)
            ++FUsed;
        FSlots[i] = {h, obj};
        ++FCount;
    }
    void remove(QStringView name, const T *obj)
    {
        if (name.isEmpty() || !FCount)
            return;
        const uint32_t h = NameHash(name);
        for (size_t i = h & (FCapacity - 1); FSlots[i].obj; i = (i + 1) & (FCapacity - 1))
            if (FSlots[i].obj == obj && FSlots[i].hash == h) {
                FSlots[i].obj = tombstone();
                --FCount;
                return;
            }
    }
    // Calls fn(T *) for every object indexed under that name.
    template <class F> void forEach(QStringView name, F &&fn) const
    {
        if (!FCount)
            return;
        const uint32_t h = NameHash(name);
        for (size_t i = h & (FCapacity - 1); FSlots[i].obj; i = (i + 1) & (FCapacity - 1)) {
            const Slot &s = FSlots[i];
            if (s.hash == h && s.obj != tombstone() && SameName(s.obj->Name(), name))
                fn(s.obj);
        }
    }
    size_t size() const { return FCount; }
    void reserve(size_t n)
    {
        if (2 * n > FCapacity)
            rehash(n);
    }

private:
    struct Slot {
        uint32_t hash;
        T *obj;  // nullptr: never used; tombstone(): removed
    };
    static T *tombstone() { return reinterpret_cast<T *>(uintptr_t(alignof(T))); }

    // A table at most half full of live and removed slots, for at least n objects.
    void rehash(size_t n)
    {
        size_t capacity = 16;
        while (capacity < 2 * n + 2)
            capacity *= 2;
        std::unique_ptr<Slot[]> old = std::move(FSlots);
        const size_t oldCapacity = FCapacity;
        FSlots = std::make_unique<Slot[]>(capacity);  // zeroed: every slot empty
        FCapacity = capacity;
        FUsed = FCount;
        for (size_t j = 0; j < oldCapacity; ++j) {
            const Slot &s = old[j];
            if (!s.obj || s.obj == tombstone())
                continue;
            size_t i = s.hash & (capacity - 1);
            while (FSlots[i].obj)
                i = (i + 1) & (capacity - 1);
            FSlots[i] = s;
        }
    }

    std::unique_ptr<Slot[]> FSlots;
    size_t FCapacity = 0;
    size_t FCount = 0;  // live objects
    size_t FUsed = 0;   // live and removed slots
};

} // namespace rtl
