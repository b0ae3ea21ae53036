#pragma once
// A report with the band engine over a recording store, record sources over in-memory
// datasets, and a small evaluator standing in for the report's expressions: field names of the
// bound source, "Line#", "Page#", "TotalPages", SUM(field) through the engine's totals, and
// named values a test sets.
#include "engine/run/kvlengine.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldbdataset.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "tests/dataset/memdataset.h"
#include "tests/engine/recordingstore.h"

#include <gtest/gtest.h>

#include <QHash>
#include <functional>
#include <map>
#include <memory>
#include <optional>

// Totals by footer band: every shown row adds its AMOUNT to every footer's total; a footer
// that prints starts its total again.
class FooterTotals : public TkvlEngineAggregates {
public:
    TkvlDataSet *Source = nullptr;
    std::map<const TkvlBand *, double> Totals;
    void AddValue(TkvlBand *, int) override;
    void Reset(TkvlBand *ParentBand) override;
    Variant GetValue(TkvlBand *ParentBand, int, const QString &, const QString &, TkvlBand *, int) override;
};

// Registers the report classes and the engine before a fixture's report is made.
struct ReportClassesRegistered {
    ReportClassesRegistered();
};

class EngineTest : public ::testing::Test, private ReportClassesRegistered {
protected:
    EngineTest();
    ~EngineTest() override;

    TkvlEngine &engine() { return *static_cast<TkvlEngine *>(report.Engine()); }
    // A page 200 pixels wide whose printable height is HeightPx (no margins).
    TkvlReportPage *addPage(double HeightPx = 1000);
    template <class B> B *addBand(TkvlComponent *Parent, const QString &Name, double Top, const QString &Text = {},
                                  double Height = 20)
    {
        auto *b = new B(Parent);
        b->SetName(Name);
        b->SetBounds(0, Top, 200, Height);
        if (!Text.isEmpty())
            addMemo(b, Text);
        return b;
    }
    TkvlMemoView *addMemo(TkvlComponent *Band, const QString &Text);
    // A record source named Name over the rows (columns ID, CITY, MONTH, AMOUNT, FLAG).
    TkvlDBDataset *addSource(const QString &Name, std::vector<std::vector<Variant>> Rows);
    // Loads a template from tests/data/engine and binds its record sources to the datasets.
    void load(const QString &File);
    bool run() { return engine().Run(true); }
    // Binds each data band and page that names a source to the source of that name.
    void bindSources();
    template <class T> T *find(const char *Name) { return rtl_cast<T>(report.FindObject(QString::fromLatin1(Name))); }
    // Texts of every page in the order they were added, pages separated by " / ".
    QString texts() const;

    TkvlReport report{nullptr};
    RecordingStore store{&report};
    QHash<QString, Variant> values;     // named values the evaluator answers
    std::function<std::optional<Variant>(const QString &Expr)> lookup;  // asked first
    TkvlDataSet *fieldSource = nullptr;  // where field names are read
    std::function<void(const QString &Event, Variant &Params)> onEvent;
    QStringList events;  // script events in the order they ran
    std::vector<std::unique_ptr<MemDataSet>> datasets;
    FooterTotals *totals = nullptr;  // owned by the engine
};

// Rows with ID 1..N, CITY "C", MONTH "M", AMOUNT = ID, FLAG = odd ID.
std::vector<std::vector<Variant>> numberedRows(int N);
