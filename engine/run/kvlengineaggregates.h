#pragma once
// What the band engine asks of the report's aggregate totals. The engine feeds the totals band
// by band through these calls; the report's aggregate list answers them. The default answers
// nothing, so a run works (without totals) before a list is attached.
#include "platform/rtl/variant.h"

#include <QString>

class TkvlBand;
class TkvlPage;

class TkvlEngineAggregates {
public:
    TkvlEngineAggregates() = default;
    virtual ~TkvlEngineAggregates() = default;
    TkvlEngineAggregates(const TkvlEngineAggregates &) = delete;
    TkvlEngineAggregates &operator=(const TkvlEngineAggregates &) = delete;

    // Forgets every item (start of a run).
    virtual void Clear() {}
    // Registers the totals printed on one template page.
    virtual void AddItems(TkvlPage *Page) { (void)Page; }
    // A row of DataBand was shown: every total it feeds takes the current value.
    virtual void AddValue(TkvlBand *DataBand, int VColumn)
    {
        (void)DataBand;
        (void)VColumn;
    }
    // Takes back the last AddValue of DataBand.
    virtual void DeleteValue(TkvlBand *DataBand) { (void)DataBand; }
    // ParentBand was printed: the totals printed in it start again.
    virtual void Reset(TkvlBand *ParentBand) { (void)ParentBand; }
    virtual void StartKeep() {}
    virtual void EndKeep() {}
    // Resets every total, also running ones (between the passes).
    virtual void ClearValues() {}
    virtual Variant GetValue(TkvlBand *ParentBand, int VColumn, const QString &Name, const QString &Expression,
                             TkvlBand *DataBand, int Flags)
    {
        (void)ParentBand;
        (void)VColumn;
        (void)Name;
        (void)Expression;
        (void)DataBand;
        (void)Flags;
        return Variant::null();
    }
};
