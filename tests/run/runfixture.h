#pragma once
// A report over a fake band engine: the engine's run calls a test's function, and its
// aggregate answers come from an aggregate list the test fills.
#include "platform/ui/fakes.h"
#include "report/aggregates/kvlaggregates.h"
#include "report/data/kvldataset.h"
#include "report/document/kvlreport.h"
#include "report/seams/kvlengine.h"

#include <gtest/gtest.h>
#include <functional>
#include <memory>

class FakeEngine : public TkvlCustomEngine {
public:
    explicit FakeEngine(TkvlReport *r) : TkvlCustomEngine(r), Aggregates(r) {}
    TkvlAggregateList Aggregates;
    // The band whose memos are printing (where aggregate calls are asked from).
    TkvlBand *Printing = nullptr;
    std::function<bool(FakeEngine &)> OnRun;
    int Runs = 0;

    void EndPage() override {}
    void NewColumn() override {}
    void NewPage() override {}
    void ShowBand(TkvlBand *) override {}
    void ShowBand(const rtl::ClassInfo *) override {}
    double HeaderHeight() override { return 0; }
    double FooterHeight() override { return 0; }
    double FreeSpace() override { return 0; }
    Variant GetAggregateValue(const QString &Name, const QString &Expression, TkvlBand *Band, int Flags) override
    {
        return Aggregates.GetValue(Printing, CurVColumn, Name, Expression, Band, Flags);
    }
    bool Run(bool, bool, TkvlPage *) override
    {
        ++Runs;
        Running = true;
        const bool ok = OnRun ? OnRun(*this) : true;
        Running = false;
        return ok;
    }
};

// A record source of Rows rows whose values a test gives per field; field types by name
// prefix: "S" text, "B" Boolean, "D" date, others numeric.
class TestDataSet : public TkvlUserDataSet {
public:
    using TkvlUserDataSet::TkvlUserDataSet;
    std::function<Variant(const QString &Field, int Row)> Values;
    int Rows = 0;
    Variant GetValue(const QString &Field) override { return Values ? Values(Field, RecNo()) : Variant::null(); }
    TkvlFieldType GetFieldType(const QString &Field) override
    {
        switch (Field.isEmpty() ? u'N' : Field[0].unicode()) {
        case u'S': return fftString;
        case u'B': return fftBoolean;
        case u'D': return fftDateTime;
        default: return fftNumeric;
        }
    }
    void First() override { FRecNo = 0; }
    void Next() override { ++FRecNo; }
    bool Eof() override { return FRecNo >= Rows; }
};

void registerRunClassesOnce();

// Adds (or sets) a report variable outside any category.
void setVariable(TkvlReport &Report, const QString &Name, const Variant &Value);

class RunFixture : public ::testing::Test {
protected:
    RunFixture();
    ~RunFixture() override;

    FakeEngine &engine() const { return *static_cast<FakeEngine *>(report->Engine()); }
    // A record source named Name, listed in the report.
    TestDataSet *addDataSet(const QString &Name);

    ui::FakeMessageBoxes boxes;
    ui::IMessageBoxes *previousBoxes = nullptr;
    std::vector<std::unique_ptr<TestDataSet>> dataSets;
    std::unique_ptr<TkvlReport> report;
};
