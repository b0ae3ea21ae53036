#pragma once
// Owned lists of persistent items with published properties (variables, styles, ...).
#include "platform/rtl/reflect/persistent.h"

#include <cstdint>
#include <vector>

class TCollection;

class TCollectionItem : public TPersistent {
    LIRRA_CLASS(TCollectionItem, TPersistent)
public:
    // Joins ACollection (at its end) when one is given.
    explicit TCollectionItem(TCollection *ACollection);
    ~TCollectionItem() override;  // leaves its collection

    TCollection *Collection() const { return FCollection; }
    void SetCollection(TCollection *Value);
    int Index() const;
    void SetIndex(int Value);  // moves the item inside its collection
    int ID() const { return FID; }
    virtual QString DisplayName() const { return ClassName(); }
    TPersistent *GetOwner() const override;
    QString GetNamePath() const override;

protected:
    // Tells the collection that this item changed (all items when AllItems).
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection *FCollection = nullptr;
    int FID = 0;
};

class TCollection : public TPersistent {
    LIRRA_CLASS(TCollection, TPersistent)
public:
    // Items are made from ItemClass (TCollectionItem or a descendant).
    explicit TCollection(const rtl::ClassInfo *ItemClass, TPersistent *Owner = nullptr);
    ~TCollection() override;

    const rtl::ClassInfo *ItemClass() const { return FItemClass; }
    int Count() const { return int(FItems.size()); }
    TCollectionItem *Items(int index) const { return FItems[size_t(index)]; }
    TCollectionItem *Add();
    TCollectionItem *Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TCollectionItem *item) const;
    TCollectionItem *FindItemID(int ID) const;
    void Exchange(int i, int j);

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Copies a collection of the same kind: items are re-made from this collection's item
    // class and assigned one by one.
    void Assign(TPersistent *Source) override;
    TPersistent *GetOwner() const override { return FOwner; }
    QString GetNamePath() const override;

protected:
    // A change of Item (nullptr: of the whole list), after updates end.
    virtual void Update(TCollectionItem *Item);
    virtual void Notify(TCollectionItem *Item, bool Added);

private:
    friend class TCollectionItem;
    void insertItem(TCollectionItem *item, int index);
    void removeItem(TCollectionItem *item);
    void changed();

    const rtl::ClassInfo *FItemClass;
    TPersistent *FOwner;
    std::vector<TCollectionItem *> FItems;
    int FNextID = 0;
    int FUpdateCount = 0;
    bool FPendingUpdate = false;
};
