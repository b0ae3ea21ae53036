#pragma once
// Objects by name, ignoring case (the same rule as SameName). Used where a container may
// hold thousands of named objects and a name lookup per insertion or rename would otherwise
// walk all of them. Several objects may share a name; callers pick among them.
#include "platform/rtl/reflect/typeinfo.h"

#include <QString>
#include <QStringView>
#include <unordered_map>

namespace rtl {

struct NameKeyHash {
    using is_transparent = void;
    size_t operator()(QStringView s) const { return NameHash(s); }
};

struct NameKeyEqual {
    using is_transparent = void;
    bool operator()(QStringView a, QStringView b) const { return SameName(a, b); }
};

template <class T> class NameIndex {
public:
    // Empty names are not indexed.
    void add(const QString &name, T *obj)
    {
        if (!name.isEmpty())
            FMap.emplace(name, obj);
    }
    void remove(QStringView name, const T *obj)
    {
        if (name.isEmpty())
            return;
        auto [it, end] = FMap.equal_range(name);
        for (; it != end; ++it)
            if (it->second == obj) {
                FMap.erase(it);
                return;
            }
    }
    // Calls fn(T *) for every object indexed under that name.
    template <class F> void forEach(QStringView name, F &&fn) const
    {
        auto [it, end] = FMap.equal_range(name);
        for (; it != end; ++it)
            fn(it->second);
    }
    size_t size() const { return FMap.size(); }
    void reserve(size_t n) { FMap.reserve(n); }

private:
    std::unordered_multimap<QString, T *, NameKeyHash, NameKeyEqual> FMap;
};

} // namespace rtl
