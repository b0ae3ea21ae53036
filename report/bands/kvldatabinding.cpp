#include "report/bands/kvldatabinding.h"

#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"

TkvlDataSet *TkvlDataSetBinding::DataSet() const { return FDataSet.get(); }

void TkvlDataSetBinding::SetDataSet(TkvlDataSet *Value)
{
    FDataSet = Value;
    FName = Value ? Value->UserName() : QString();
}

QString TkvlDataSetBinding::DataSetName() const { return FDataSet ? FDataSet->UserName() : FName; }

void TkvlDataSetBinding::SetDataSetName(const TkvlComponent *Self, const QString &Value)
{
    FName = Value;
    FDataSet = Value.isEmpty() ? nullptr : FindDataSet(Self, FDataSet.get(), Value);
}
