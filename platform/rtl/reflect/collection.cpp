#include "platform/rtl/reflect/collection.h"

#include "platform/rtl/reflect/classbuilder.h"

#include <algorithm>

LIRRA_DEFINE_CLASS(TCollectionItem)
LIRRA_DEFINE_CLASS(TCollection)

void TCollectionItem::DeclareClass(rtl::ClassBuilder<TCollectionItem> &) {}
void TCollection::DeclareClass(rtl::ClassBuilder<TCollection> &) {}

// ---- TCollectionItem --------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection *ACollection) { SetCollection(ACollection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection *Value)
{
    if (FCollection == Value)
        return;
    if (FCollection)
        FCollection->removeItem(this);
    if (Value)
        Value->insertItem(this, Value->Count());
}

int TCollectionItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

void TCollectionItem::SetIndex(int Value)
{
    if (!FCollection)
        return;
    auto &v = FCollection->FItems;
    const int cur = Index();
    Value = std::clamp(Value, 0, int(v.size()) - 1);
    if (cur < 0 || cur == Value)
        return;
    v.erase(v.begin() + cur);
    v.insert(v.begin() + Value, this);
    Changed(true);
}

TPersistent *TCollectionItem::GetOwner() const { return FCollection; }

QString TCollectionItem::GetNamePath() const
{
    if (!FCollection)
        return ClassName();
    return QStringLiteral("%1[%2]").arg(FCollection->GetNamePath()).arg(Index());
}

void TCollectionItem::Changed(bool AllItems)
{
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
    else if (FCollection)
        FCollection->FPendingUpdate = true;
}

// ---- TCollection ------------------------------------------------------------------------

TCollection::TCollection(const rtl::ClassInfo *ItemClass, TPersistent *Owner)
    : FItemClass(ItemClass ? ItemClass : TCollectionItem::StaticClass()), FOwner(Owner)
{
    if (!FItemClass->inheritsFrom(TCollectionItem::StaticClass()))
        throw EPropertyError(QStringLiteral("%1 is not a collection item class").arg(FItemClass->name()));
}

TCollection::~TCollection()
{
    ++FUpdateCount;  // no change notifications while dying
    while (!FItems.empty())
        delete FItems.back();
}

TCollectionItem *TCollection::Add()
{
    TPersistent *p = FItemClass->create(this);
    // The item joined the collection in its constructor.
    return static_cast<TCollectionItem *>(p);
}

TCollectionItem *TCollection::Insert(int index)
{
    TCollectionItem *item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EPropertyError(QStringLiteral("List index out of bounds (%1)").arg(index));
    delete FItems[size_t(index)];
}

void TCollection::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    EndUpdate();
}

int TCollection::IndexOf(const TCollectionItem *item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TCollectionItem *TCollection::FindItemID(int ID) const
{
    for (TCollectionItem *i : FItems)
        if (i->FID == ID)
            return i;
    return nullptr;
}

void TCollection::Exchange(int i, int j)
{
    std::swap(FItems.at(size_t(i)), FItems.at(size_t(j)));
    changed();
}

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FPendingUpdate) {
        FPendingUpdate = false;
        Update(nullptr);
    }
}

void TCollection::Assign(TPersistent *Source)
{
    auto *src = rtl_cast<TCollection>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    if (src == this)
        return;
    BeginUpdate();
    try {
        while (!FItems.empty())
            delete FItems.back();
        for (TCollectionItem *item : src->FItems)
            Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    FPendingUpdate = true;
    EndUpdate();
}

QString TCollection::GetNamePath() const
{
    return FOwner ? FOwner->GetNamePath() : ClassName();
}

void TCollection::Update(TCollectionItem *) {}
void TCollection::Notify(TCollectionItem *, bool) {}

void TCollection::insertItem(TCollectionItem *item, int index)
{
    FItems.insert(FItems.begin() + index, item);
    item->FCollection = this;
    item->FID = FNextID++;
    Notify(item, true);
    changed();
}

void TCollection::removeItem(TCollectionItem *item)
{
    Notify(item, false);
    // Items leave mostly from the end (a collection frees its items last first): search
    // from there, so that emptying a large collection stays linear.
    auto it = std::find(FItems.rbegin(), FItems.rend(), item);
    if (it != FItems.rend())
        FItems.erase(std::next(it).base());
    item->FCollection = nullptr;
    changed();
}

void TCollection::changed()
{
    if (FUpdateCount == 0)
        Update(nullptr);
    else
        FPendingUpdate = true;
}
