#include "report/vars/kvlcollection.h"

#include "platform/rtl/reflect/classbuilder.h"

#include <vector>

LIRRA_DEFINE_CLASS(TkvlCollectionItem)
LIRRA_DEFINE_CLASS(TkvlCollection)

void TkvlCollectionItem::DeclareClass(rtl::ClassBuilder<TkvlCollectionItem> &b)
{
    using T = TkvlCollectionItem;
    b.prop<&T::InheritedName, [](T &t, const QString &v) { t.SetInheritedName(v); }>("InheritedName").stored(false);
}

void TkvlCollection::DeclareClass(rtl::ClassBuilder<TkvlCollection> &) {}

TkvlCollectionItem::TkvlCollectionItem(TCollection *ACollection) : TCollectionItem(ACollection)
{
    // Our constructor runs before the derived ones, so the name comes from the collection's
    // item class rather than from ClassName().
    if (auto *c = rtl_cast<TkvlCollection>(ACollection))
        FInheritedName = c->UniqueInheritedName(c->ItemClass()->name());
}

TkvlCollection::TkvlCollection(const rtl::ClassInfo *ItemClass, TPersistent *Owner) : TCollection(ItemClass, Owner) {}

TkvlCollectionItem *TkvlCollection::FindByName(const QString &Name) const
{
    for (int i = 0; i < Count(); ++i) {
        auto *it = rtl_cast<TkvlCollectionItem>(Items(i));
        if (it && it->GetInheritedName() == Name)
            return it;
    }
    return nullptr;
}

QString TkvlCollection::UniqueInheritedName(const QString &Prefix) const
{
    std::vector<bool> used(size_t(Count()) + 2, false);
    for (int i = 0; i < Count(); ++i) {
        auto *it = rtl_cast<TkvlCollectionItem>(Items(i));
        if (!it)
            continue;
        const QString n = it->GetInheritedName();
        if (n.size() <= Prefix.size() || !n.startsWith(Prefix))
            continue;
        bool ok = false;
        const qlonglong k = QStringView(n).mid(Prefix.size()).toLongLong(&ok);
        if (ok && k >= 1 && k < qlonglong(used.size()))
            used[size_t(k)] = true;
    }
    size_t k = 1;
    while (used[k])
        ++k;
    return Prefix + QString::number(k);
}
