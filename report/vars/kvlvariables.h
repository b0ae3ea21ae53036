#pragma once
// Report variables: an ordered list of names and values, grouped into categories by marker
// entries whose name begins with one blank. Dictionary files (.kq3) hold one such list.
#include "platform/rtl/variant.h"
#include "report/vars/kvlcollection.h"

#include <QString>
#include <QStringList>

class TStream;
class TkvlXMLItem;

class TkvlVariable : public TkvlCollectionItem {
    LIRRA_CLASS(TkvlVariable, TkvlCollectionItem)
public:
    explicit TkvlVariable(TCollection *ACollection);
    void Assign(TPersistent *Source) override;

    const QString &Name() const { return FName; }
    void SetName(const QString &Value) { SetItemName(Value); }
    const Variant &Value() const { return FValue; }
    void SetValue(const Variant &Value) { FValue = Value; }
    QString DisplayName() const override { return FName; }

private:
    Variant FValue = Variant::null();
};

class TkvlVariables : public TkvlCollection {
    LIRRA_CLASS(TkvlVariables, TkvlCollection)
public:
    explicit TkvlVariables(TPersistent *Owner = nullptr);

    TkvlVariable *Add() { return static_cast<TkvlVariable *>(TCollection::Add()); }
    TkvlVariable *Insert(int Index) { return static_cast<TkvlVariable *>(TCollection::Insert(Index)); }
    TkvlVariable *Items(int Index) const { return static_cast<TkvlVariable *>(TCollection::Items(Index)); }

    // First entry of that name ignoring case (category markers included), or -1.
    int IndexOf(const QString &Name) const;
    // The value, or Null when there is no such entry.
    Variant Variables(const QString &Name) const;
    // Replaces the value, or appends an entry at the end.
    void SetVariables(const QString &Name, const Variant &Value);

    void GetCategoriesList(QStringList &List, bool ClearList = true) const;
    // Names of the category's variables; with an empty category those before the first marker.
    void GetVariablesList(const QString &Category, QStringList &List) const;
    void DeleteCategory(const QString &Name);
    void DeleteVariable(const QString &Name);
    // Replaces the value of an existing entry of that name wherever it is; otherwise adds the
    // entry after the category's last variable. Nothing when the category does not exist.
    void AddVariable(const QString &Category, const QString &Name, const Variant &Value);

    // Dictionary files. Malformed XML raises; a document whose root is not "variables"
    // leaves the list empty.
    void LoadFromFile(const QString &FileName);
    void LoadFromStream(TStream &Stream);
    void LoadFromXMLItem(TkvlXMLItem *Item, bool OldXMLFormat);
    void SaveToFile(const QString &FileName);
    void SaveToStream(TStream &Stream);
    void SaveToXMLItem(TkvlXMLItem *Item);

    static bool IsCategory(const QString &Name) { return Name.startsWith(u' '); }

private:
    int categoryIndex(const QString &Category) const;
    // Index after the last variable of the category whose marker is at Marker.
    int categoryEnd(int Marker) const;
};

// Values offered to scripts by a key whose text is compared with the names ignoring case.
class TkvlArray : public TCollection {
    LIRRA_CLASS(TkvlArray, TCollection)
public:
    explicit TkvlArray(TPersistent *Owner = nullptr);
    TkvlVariable *Items(int Index) const { return static_cast<TkvlVariable *>(TCollection::Items(Index)); }
    int IndexOf(const Variant &Key) const;
    Variant Variables(const Variant &Key) const;
    void SetVariables(const Variant &Key, const Variant &Value);
};

void kvlRegisterVariableClasses();
