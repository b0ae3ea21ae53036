#pragma once
// Totals that footers print: one item per aggregate call found in the memos of the bands
// that can print totals, fed by the engine with each record of its data band, read back
// by the report's SUM, AVG, MIN, MAX and COUNT functions, and reset when a group or page
// starts again.
#include "platform/rtl/reflect/component.h"
#include "platform/rtl/variant.h"

#include <QString>
#include <memory>
#include <vector>

class TkvlBand;
class TkvlCustomMemoView;
class TkvlReport;
class TkvlReportPage;

enum TkvlAggregateFunction : uint8_t { agSum, agAvg, agMin, agMax, agCount };

// "SUM", "AVG", "MIN", "MAX" ignoring case; any other name is agCount.
TkvlAggregateFunction kvlAggregateFunction(const QString &Name);

class TkvlAggregateItem {
public:
    // Vertical columns 1 .. MaxVColumn have slots of their own.
    static constexpr int MaxVColumn = 1000;

    TkvlAggregateFunction AggregateFunction = agCount;
    QString Expression;    // empty for agCount
    QString OriginalName;  // the whole call text, trimmed
    QString MemoName;
    rtl::ComponentRef<TkvlBand> Band;        // fed by its records
    rtl::ComponentRef<TkvlBand> ParentBand;  // prints the result
    bool IsPageFooter = false;
    bool CountInvisibleBands = false;  // flag 1
    bool DontReset = false;            // flag 2
    int ItemsCount = 0;
    Variant ItemsValue = Variant::null();
    int LastCount = 0;
    Variant LastValue = Variant::null();
    // One slot per vertical column, empty until a column is first fed.
    std::vector<Variant> ItemsArray;
    std::vector<int> ItemsCountArray;
    int VColumn = 0;
    bool Keeping = false;
    int TempItemsCount = 0;
    Variant TempItemsValue = Variant::null();
    TkvlReport *Report = nullptr;

    // Adds the current record's value (the expression evaluated by the report).
    void Calc();
    // Takes the last addition back.
    void DeleteValue();
    // Unless DontReset holds a counted total.
    void Reset();
    // Every state back to empty, DontReset or not.
    void Clear();
    void StartKeep();
    void EndKeep();
    // The total: the average as a division, the count, or the value; Null gives 0.
    Variant Value() const;
    int Flags() const { return (CountInvisibleBands ? 1 : 0) | (DontReset ? 2 : 0); }

private:
    void Add(int &Count, Variant &Value, const Variant &V) const;
    void Merge(Variant &Value, const Variant &V) const;
};

class TkvlAggregateList {
public:
    explicit TkvlAggregateList(TkvlReport *AReport);
    ~TkvlAggregateList();
    TkvlAggregateList(const TkvlAggregateList &) = delete;
    TkvlAggregateList &operator=(const TkvlAggregateList &) = delete;

    TkvlReport *Report() const { return FReport; }
    int Count() const { return int(FItems.size()); }
    TkvlAggregateItem *Items(int Index) const { return FItems[size_t(Index)].get(); }

    // Finds the calls of one page's footers and summaries over the band links the engine
    // set, and adds their items.
    void AddItems(TkvlReportPage *Page);
    // Finds the calls of one memo; items without a band argument are fed by DataBand.
    void AddMemoItems(TkvlCustomMemoView *Memo, TkvlBand *DataBand);
    void AddValue(TkvlBand *Band, int VColumn = 0);
    void DeleteValue(TkvlBand *Band);
    void Reset(TkvlBand *ParentBand);
    void StartKeep();
    void EndKeep();
    void ClearValues();
    // The first item printed in ParentBand with that function, expression (trimmed, case
    // ignored), data band (when one is given) and flags; Null when none.
    Variant GetValue(TkvlBand *ParentBand, int VColumn, const QString &Name, const QString &Expression,
                     TkvlBand *Band, int Flags);
    // The first item printed in ParentBand whose call text is ComplexName; Null when none.
    Variant GetValue(TkvlBand *ParentBand, const QString &ComplexName, int VColumn);
    void Clear();

private:
    friend class TkvlAggregateFinder;
    TkvlReport *FReport;
    std::vector<std::unique_ptr<TkvlAggregateItem>> FItems;
};
