#pragma once
// Collections whose items carry an internal name that links an item of an inherited
// template to the same item of its parent template.
#include "platform/rtl/reflect/collection.h"

#include <QHash>
#include <QString>

class TWriter;
class TReader;

class TkvlCollection;

class TkvlCollectionItem : public TCollectionItem {
    LIRRA_CLASS(TkvlCollectionItem, TCollectionItem)
public:
    // Inside a TkvlCollection the item gets the collection's next free internal name.
    explicit TkvlCollectionItem(TCollection *ACollection);
    ~TkvlCollectionItem() override;

    // The user name when the item has one, else the internal name.
    virtual QString GetInheritedName() const { return FName.isEmpty() ? FInheritedName : FName; }
    virtual void SetInheritedName(const QString &Value);
    virtual bool IsNameStored() const { return false; }
    QString InheritedName() const { return GetInheritedName(); }
    // The item came from the parent template.
    bool IsInherited = false;

protected:
    // Every change of FName goes through here, so that the collection's name index follows.
    void SetItemName(const QString &Value);

    QString FInheritedName;
    QString FName;  // the user name of named items (variables, styles); empty for others

private:
    friend class TkvlCollection;
    void reindex();
    QString FIndexedName;  // the name the collection's index holds for this item
};

class TkvlCollection : public TCollection {
    LIRRA_CLASS(TkvlCollection, TCollection)
public:
    explicit TkvlCollection(const rtl::ClassInfo *ItemClass, TPersistent *Owner = nullptr);

    virtual void SerializeProperties(TWriter *, TPersistent * /*Ancestor*/, TPersistent * /*Owner*/) {}
    virtual void DeserializeProperties(const QString &, TReader *, TPersistent * /*Ancestor*/) {}
    // The first item whose internal name equals Name exactly.
    virtual TkvlCollectionItem *FindByName(const QString &Name) const;
    // Prefix followed by the lowest number from 1 that no item gives as its internal name.
    QString UniqueInheritedName(const QString &Prefix);
    // Changes whenever an item is added, goes or is renamed: a caller may keep an answer such
    // as "no item has this name" for as long as it stays the same.
    uint64_t NamesGeneration() const { return FNamesGeneration; }

protected:
    void Notify(TCollectionItem *Item, bool Added) override;

private:
    friend class TkvlCollectionItem;
    void addName(const QString &Name);
    void removeName(const QString &Name);

    // How many items give each name, and per prefix a number below which every
    // Prefix + number is taken: a template's items get their names in constant time.
    QHash<QString, int> FNameCount;
    QHash<QString, qint64> FFreeFrom;
    uint64_t FNamesGeneration = 1;
};
