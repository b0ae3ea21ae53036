#include "report/vars/kvlcollection.h"

#include "platform/rtl/reflect/classbuilder.h"

#include <algorithm>

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
    if (auto *c = rtl_cast<TkvlCollection>(ACollection)) {
        FInheritedName = c->UniqueInheritedName(c->ItemClass()->name());
        reindex();
    }
}

TkvlCollectionItem::~TkvlCollectionItem()
{
    // The collection's Notify comes after this object stopped being a TkvlCollectionItem.
    if (auto *c = rtl_cast<TkvlCollection>(Collection()))
        c->removeName(FIndexedName);
    FIndexedName.clear();
}

void TkvlCollectionItem::SetInheritedName(const QString &Value)
{
    FInheritedName = Value;
    reindex();
}

void TkvlCollectionItem::SetItemName(const QString &Value)
{
    FName = Value;
    if (auto *c = rtl_cast<TkvlCollection>(Collection()))
        ++c->FNamesGeneration;
    reindex();
}

void TkvlCollectionItem::reindex()
{
    auto *c = rtl_cast<TkvlCollection>(Collection());
    if (!c)
        return;
    const QString now = GetInheritedName();
    if (now == FIndexedName)
        return;
    c->removeName(FIndexedName);
    FIndexedName = now;
    c->addName(now);
}

TkvlCollection::TkvlCollection(const rtl::ClassInfo *ItemClass, TPersistent *Owner) : TCollection(ItemClass, Owner) {}

TkvlCollectionItem *TkvlCollection::FindByName(const QString &Name) const
{
    if (!FNameCount.contains(Name))
        return nullptr;
    for (int i = 0; i < Count(); ++i) {
        auto *it = rtl_cast<TkvlCollectionItem>(Items(i));
        if (it && it->GetInheritedName() == Name)
            return it;
    }
    return nullptr;
}

void TkvlCollection::Notify(TCollectionItem *Item, bool Added)
{
    TCollection::Notify(Item, Added);
    // Items moving between collections; a new item indexes itself once its name is set.
    auto *it = rtl_cast<TkvlCollectionItem>(Item);
    if (!it)
        return;
    if (Added) {
        it->FIndexedName = it->GetInheritedName();
        addName(it->FIndexedName);
    } else {
        removeName(it->FIndexedName);
        it->FIndexedName.clear();
    }
}

void TkvlCollection::addName(const QString &Name)
{
    ++FNamesGeneration;
    if (!Name.isEmpty())
        ++FNameCount[Name];
}

void TkvlCollection::removeName(const QString &Name)
{
    ++FNamesGeneration;
    auto i = FNameCount.find(Name);
    if (i == FNameCount.end())
        return;
    if (--i.value() > 0)
        return;
    FNameCount.erase(i);
    // Prefix + a number written the way UniqueInheritedName writes it is free again.
    for (auto f = FFreeFrom.begin(); f != FFreeFrom.end(); ++f) {
        const QString &prefix = f.key();
        if (Name.size() <= prefix.size() || Name.size() > prefix.size() + 18 || !Name.startsWith(prefix))
            continue;
        const QStringView digits = QStringView(Name).mid(prefix.size());
        if (digits.front() == u'0'
            || !std::all_of(digits.begin(), digits.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; }))
            continue;
        f.value() = std::min(f.value(), digits.toLongLong());
    }
}

QString TkvlCollection::UniqueInheritedName(const QString &Prefix)
{
    qint64 &k = FFreeFrom[Prefix];
    if (k < 1)
        k = 1;
    QString name = Prefix + QString::number(k);
    while (FNameCount.contains(name))
        name = Prefix + QString::number(++k);
    return name;
}
