#pragma once
// Where templates find their record sources: the process-wide list of every record source,
// and the report's own list of the sources it uses.
#include "platform/rtl/reflect/collection.h"
#include "platform/rtl/reflect/component.h"

#include <QString>
#include <mutex>
#include <vector>

class TStringList;
class TkvlComponent;
class TkvlDataSet;
class TkvlReport;

// Every record source in existence, in creation order. One recursive lock guards every
// entry, removal and lookup.
class TkvlGlobalDataSetList {
public:
    void Add(TkvlDataSet *DataSet);
    void Remove(TkvlDataSet *DataSet);
    std::recursive_mutex &Lock() { return FLock; }
    // The sources in creation order; read it holding Lock().
    const std::vector<TkvlDataSet *> &Items() const { return FList; }

private:
    std::recursive_mutex FLock;
    std::vector<TkvlDataSet *> FList;
};

TkvlGlobalDataSetList &kvlGlobalDataSetList();

// The source named Name (ignoring case) for Report: nullptr for an empty name; Fallback
// without a report; otherwise the first source in creation order that no other report
// owns, or Fallback when there is none.
TkvlDataSet *kvlFindDataSet(TkvlDataSet *Fallback, const QString &Name, TkvlReport *Report);
// Empties List and adds the user name and object of every enabled source with a user
// name, in creation order.
void kvlGetDataSetList(TStringList &List);

// The lookup of a binding property of Self (a report or one of its objects): the process
// list when Self has no report or its report's engine options use the process list,
// otherwise only the report's EnabledDataSets (nullptr when missing).
TkvlDataSet *FindDataSet(const TkvlComponent *Self, TkvlDataSet *DataSet, const QString &DSName);

// A record source a report uses, with the name it goes by.
class TkvlDataSetItem : public TCollectionItem {
    LIRRA_CLASS(TkvlDataSetItem, TCollectionItem)
public:
    explicit TkvlDataSetItem(TCollection *ACollection);

    TkvlDataSet *DataSet() const;
    // Also takes the source's user name (empty for nil).
    void SetDataSet(TkvlDataSet *Value);
    // The source's current user name when there is a source, else the stored name.
    QString DataSetName() const;
    // A name is looked up for the list's report as FindDataSet does (entries of the enabled
    // list itself through the process list); a name that is not found keeps the current
    // source, an empty name clears it.
    void SetDataSetName(const QString &Value);

private:
    rtl::ComponentRef<TkvlDataSet> FDataSet;
    QString FDataSetName;
};

// The record sources a report uses, in the template's order (references only).
class TkvlReportDataSets : public TCollection {
    LIRRA_CLASS(TkvlReportDataSets, TCollection)
public:
    explicit TkvlReportDataSets(TkvlReport *AReport);

    TkvlReport *Report() const { return FReport; }
    TkvlDataSetItem *Items(int Index) const { return static_cast<TkvlDataSetItem *>(TCollection::Items(Index)); }
    TkvlDataSetItem *Add(TkvlDataSet *DataSet);
    using TCollection::Add;
    // Sets each source's ReportRef to the report, then initializes it.
    void Initialize();
    void Finalize();
    TkvlDataSetItem *Find(const TkvlDataSet *DataSet) const;
    // The first item whose source's user name matches (ignoring case).
    TkvlDataSetItem *Find(const QString &Name) const;
    // Frees the first such item.
    void Delete(const QString &Name);
    using TCollection::Delete;

private:
    TkvlReport *FReport;
};
