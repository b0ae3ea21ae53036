#include "engine/run/kvlreportaggregates.h"

#include "platform/rtl/reflect/persistent.h"
#include "report/aggregates/kvlaggregates.h"
#include "report/pages/kvlreportpage.h"

namespace {

class ReportAggregates final : public TkvlEngineAggregates {
public:
    explicit ReportAggregates(TkvlReport *Report) : FList(Report) {}

    void Clear() override { FList.Clear(); }
    void AddItems(TkvlPage *Page) override
    {
        if (auto *p = rtl_cast<TkvlReportPage>(Page))
            FList.AddItems(p);
    }
    void AddValue(TkvlBand *DataBand, int VColumn) override { FList.AddValue(DataBand, VColumn); }
    void DeleteValue(TkvlBand *DataBand) override { FList.DeleteValue(DataBand); }
    void Reset(TkvlBand *ParentBand) override { FList.Reset(ParentBand); }
    void StartKeep() override { FList.StartKeep(); }
    void EndKeep() override { FList.EndKeep(); }
    void ClearValues() override { FList.ClearValues(); }
    Variant GetValue(TkvlBand *ParentBand, int VColumn, const QString &Name, const QString &Expression,
                     TkvlBand *DataBand, int Flags) override
    {
        return FList.GetValue(ParentBand, VColumn, Name, Expression, DataBand, Flags);
    }

private:
    TkvlAggregateList FList;
};

} // namespace

std::unique_ptr<TkvlEngineAggregates> kvlMakeReportAggregates(TkvlReport *Report)
{
    return std::make_unique<ReportAggregates>(Report);
}
