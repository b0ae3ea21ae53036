#include "report/data/kvldatasetlist.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/options/kvloptions.h"

#include <algorithm>

LIRRA_DEFINE_CLASS(TkvlDataSetItem)
LIRRA_DEFINE_CLASS(TkvlReportDataSets)

namespace {

bool sameUserName(const TkvlDataSet *DataSet, const QString &Name)
{
    return DataSet->UserName().compare(Name, Qt::CaseInsensitive) == 0;
}

} // namespace

// ---- the process-wide list --------------------------------------------------------------

void TkvlGlobalDataSetList::Add(TkvlDataSet *DataSet)
{
    std::lock_guard lock(FLock);
    FList.push_back(DataSet);
}

void TkvlGlobalDataSetList::Remove(TkvlDataSet *DataSet)
{
    std::lock_guard lock(FLock);
    std::erase(FList, DataSet);
}

TkvlGlobalDataSetList &kvlGlobalDataSetList()
{
    // Never freed: record sources of static lifetime may leave it during shutdown.
    static TkvlGlobalDataSetList *list = new TkvlGlobalDataSetList;
    return *list;
}

TkvlDataSet *kvlFindDataSet(TkvlDataSet *Fallback, const QString &Name, TkvlReport *Report)
{
    if (Name.isEmpty())
        return nullptr;
    if (!Report)
        return Fallback;
    TkvlGlobalDataSetList &list = kvlGlobalDataSetList();
    std::lock_guard lock(list.Lock());
    for (TkvlDataSet *ds : list.Items()) {
        const auto *owner = rtl_cast<TkvlReport>(ds->Owner());
        if (owner && owner != Report)
            continue;
        if (sameUserName(ds, Name))
            return ds;
    }
    return Fallback;
}

void kvlGetDataSetList(TStringList &List)
{
    TkvlGlobalDataSetList &list = kvlGlobalDataSetList();
    std::lock_guard lock(list.Lock());
    List.Clear();
    for (TkvlDataSet *ds : list.Items())
        if (!ds->UserName().isEmpty() && ds->Enabled)
            List.AddObject(ds->UserName(), ds);
}

namespace {

// The lookup for Report: the process list, or only the report's enabled sources when its
// engine options switch that list off.
TkvlDataSet *findForReport(TkvlReport *Report, TkvlDataSet *DataSet, const QString &DSName)
{
    if (!Report || Report->EngineOptions()->UseGlobalDataSetList)
        return kvlFindDataSet(DataSet, DSName, Report);
    const TkvlDataSetItem *item = Report->EnabledDataSets()->Find(DSName);
    return item ? item->DataSet() : nullptr;
}

} // namespace

TkvlDataSet *FindDataSet(const TkvlComponent *Self, TkvlDataSet *DataSet, const QString &DSName)
{
    TkvlReport *report = nullptr;
    if (Self) {
        report = const_cast<TkvlReport *>(rtl_cast<TkvlReport>(Self));
        if (!report)
            report = Self->GetReport();
    }
    return findForReport(report, DataSet, DSName);
}

// ---- a report's list --------------------------------------------------------------------

void TkvlDataSetItem::DeclareClass(rtl::ClassBuilder<TkvlDataSetItem> &b)
{
    using T = TkvlDataSetItem;
    b.prop<&T::DataSet, &T::SetDataSet>("DataSet");
    b.prop<&T::DataSetName, &T::SetDataSetName>("DataSetName");
}

TkvlDataSetItem::TkvlDataSetItem(TCollection *ACollection) : TCollectionItem(ACollection) {}

TkvlDataSet *TkvlDataSetItem::DataSet() const
{
    return FDataSet.get();
}

void TkvlDataSetItem::SetDataSet(TkvlDataSet *Value)
{
    FDataSet = Value;
    FDataSetName = Value ? Value->UserName() : QString();
}

QString TkvlDataSetItem::DataSetName() const
{
    return FDataSet ? FDataSet->UserName() : FDataSetName;
}

void TkvlDataSetItem::SetDataSetName(const QString &Value)
{
    FDataSetName = Value;
    if (Value.isEmpty()) {
        FDataSet = nullptr;
        return;
    }
    const auto *sets = rtl_cast<TkvlReportDataSets>(Collection());
    TkvlReport *report = sets ? sets->Report() : nullptr;
    // The enabled list is the host's offer: its own entries bind through the process list.
    TkvlDataSet *found = report && sets == report->EnabledDataSets()
        ? kvlFindDataSet(FDataSet.get(), Value, report)
        : findForReport(report, FDataSet.get(), Value);
    if (found)
        FDataSet = found;  // a name that is not found keeps the current source
}

void TkvlReportDataSets::DeclareClass(rtl::ClassBuilder<TkvlReportDataSets> &) {}

TkvlReportDataSets::TkvlReportDataSets(TkvlReport *AReport)
    : TCollection(TkvlDataSetItem::StaticClass(), AReport), FReport(AReport)
{
}

TkvlDataSetItem *TkvlReportDataSets::Add(TkvlDataSet *DataSet)
{
    auto *item = static_cast<TkvlDataSetItem *>(TCollection::Add());
    item->SetDataSet(DataSet);
    return item;
}

void TkvlReportDataSets::Initialize()
{
    for (int i = 0; i < Count(); ++i)
        if (TkvlDataSet *ds = Items(i)->DataSet()) {
            ds->SetReportRef(FReport);
            ds->Initialize();
        }
}

void TkvlReportDataSets::Finalize()
{
    for (int i = 0; i < Count(); ++i)
        if (TkvlDataSet *ds = Items(i)->DataSet())
            ds->Finalize();
}

TkvlDataSetItem *TkvlReportDataSets::Find(const TkvlDataSet *DataSet) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->DataSet() == DataSet)
            return Items(i);
    return nullptr;
}

TkvlDataSetItem *TkvlReportDataSets::Find(const QString &Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (TkvlDataSet *ds = Items(i)->DataSet(); ds && sameUserName(ds, Name))
            return Items(i);
    return nullptr;
}

void TkvlReportDataSets::Delete(const QString &Name)
{
    if (TkvlDataSetItem *item = Find(Name))
        delete item;
}
