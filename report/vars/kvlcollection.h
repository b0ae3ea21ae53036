#pragma once
// Collections whose items carry an internal name that links an item of an inherited
// template to the same item of its parent template.
#include "platform/rtl/reflect/collection.h"

#include <QString>

class TWriter;
class TReader;

class TkvlCollectionItem : public TCollectionItem {
    LIRRA_CLASS(TkvlCollectionItem, TCollectionItem)
public:
    // Inside a TkvlCollection the item gets the collection's next free internal name.
    explicit TkvlCollectionItem(TCollection *ACollection);

    virtual QString GetInheritedName() const { return FInheritedName; }
    virtual void SetInheritedName(const QString &Value) { FInheritedName = Value; }
    virtual bool IsNameStored() const { return false; }
    QString InheritedName() const { return GetInheritedName(); }
    // The item came from the parent template.
    bool IsInherited = false;

protected:
    QString FInheritedName;
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
    QString UniqueInheritedName(const QString &Prefix) const;
};
