#pragma once
// Component references read by name, resolved once the whole tree exists.
#include "platform/rtl/reflect/component.h"

#include <QString>
#include <functional>
#include <vector>

namespace rtl {

class FixupList {
public:
    struct Item {
        TPersistent *obj;       // the object whose property refers
        const PropInfo *prop;   // a Component property of obj
        QString name;           // the referenced name as read
        ComponentLink holder;   // the component obj belongs to; the item is dropped if it dies
        bool held = false;      // a holder was known when the item was added
    };

    // `holder` is the component that owns obj (obj itself when it is a component); while it
    // lives obj is assumed alive. Without any holder the caller keeps obj alive until resolve.
    void add(TPersistent *obj, const PropInfo *prop, const QString &name, TComponent *holder = nullptr);
    // Resolves the items in the order added: `find` maps a name to a component (nullptr when
    // unknown). A name that is not found, or a component of a class the property cannot hold,
    // leaves the property as it was. Empties the list. Returns the number of references set.
    int resolve(const std::function<TComponent *(const QString &)> &find);
    void clear() { FItems.clear(); }
    bool isEmpty() const { return FItems.empty(); }
    int count() const { return int(FItems.size()); }
    const Item &item(int i) const { return FItems[size_t(i)]; }
    // Appends copies of other's pending items.
    void append(const FixupList &other);

private:
    std::vector<Item> FItems;
};

} // namespace rtl
