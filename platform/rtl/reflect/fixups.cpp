#include "platform/rtl/reflect/fixups.h"

namespace rtl {

void FixupList::add(TPersistent *obj, const PropInfo *prop, const QString &name, TComponent *holder)
{
    if (!obj || !prop || prop->kind() != TypeKind::Component)
        return;
    if (!holder)
        holder = rtl_cast<TComponent>(obj);
    FItems.push_back(Item{obj, prop, name, ComponentLink(holder), holder != nullptr});
}

int FixupList::resolve(const std::function<TComponent *(const QString &)> &find)
{
    std::vector<Item> items;
    items.swap(FItems);
    int n = 0;
    for (const Item &i : items) {
        if (i.held && !i.holder.get())
            continue;  // the referring component is gone
        TComponent *c = find(i.name);
        if (!c || (i.prop->allowedClass() && !c->InheritsFrom(i.prop->allowedClass())))
            continue;
        i.prop->setObject(i.obj, c);
        ++n;
    }
    return n;
}

void FixupList::append(const FixupList &other)
{
    for (const Item &i : other.FItems)
        FItems.push_back(i);
}

} // namespace rtl
