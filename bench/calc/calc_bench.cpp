// Evaluating report expressions through the report (Calc: name resolution in order, then the
// compiled function from the expression cache) against the peer, the arithmetic expression's
// compiled function called directly through the script object. A 100 000-row record source
// feeds a field; the five expressions are a field, a system variable, a report variable, an
// arithmetic expression and an IIF. Each size runs five times; the fastest counts (the machine
// may be shared). Calls per second and the arithmetic ratio are printed at the end.
#include "bench/support/ratioreporter.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/run/kvlexpressioncache.h"
#include "report/vars/kvlvariables.h"
#include "script/classlib/qsclassesrtti.h"
#include "script/core/qsscript.h"
#include "script/grammar/qsgrammars.h"
#include "script/items/qsitems.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

constexpr int kRows = 100000;

class RowSource : public TkvlUserDataSet {
public:
    using TkvlUserDataSet::TkvlUserDataSet;
    Variant GetValue(const QString &) override { return Variant(FRecNo % 1000); }
    void First() override { FRecNo = 0; }
    void Next() override { FRecNo = FRecNo + 1 < kRows ? FRecNo + 1 : 0; }
    bool Eof() override { return false; }
};

const QString &arithmetic()
{
    static const QString s = QStringLiteral("(17 + 4) * 3 - 5");
    return s;
}

struct Setup {
    RowSource source{nullptr};
    TkvlReport report{nullptr};
    QString expressions[5];

    Setup()
    {
        source.SetUserName(QStringLiteral("DS"));
        report.DataSets()->Add(&source);
        report.Variables().SetVariables(QStringLiteral("Rate"), Variant(12.5));
        report.PrepareScript();
        expressions[0] = QStringLiteral("DS.\"N\"");
        expressions[1] = QStringLiteral("Line#");
        expressions[2] = QStringLiteral("Rate");
        expressions[3] = arithmetic();
        expressions[4] = QStringLiteral("IIF(2 > 1, 'a', 'b')");
        for (const QString &e : expressions)
            report.Calc(e);
        source.First();
    }
};

Setup &setup()
{
    static Setup s;
    return s;
}

void BM_CalcFiveExpressions(benchmark::State &state)
{
    Setup &s = setup();
    for (auto _ : state)
        for (int64_t i = 0; i < state.range(0); ++i) {
            if (i % 5 == 0)
                s.source.Next();
            benchmark::DoNotOptimize(s.report.Calc(s.expressions[i % 5]));
        }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_CalcArithmetic(benchmark::State &state)
{
    Setup &s = setup();
    for (auto _ : state)
        for (int64_t i = 0; i < state.range(0); ++i)
            benchmark::DoNotOptimize(s.report.Calc(arithmetic()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_DirectArithmetic(benchmark::State &state)
{
    Setup &s = setup();
    TqsProcVariable *f = s.report.ExpressionCache().Find(arithmetic());
    if (!f) {
        state.SkipWithError("not compiled");
        return;
    }
    for (auto _ : state)
        for (int64_t i = 0; i < state.range(0); ++i)
            benchmark::DoNotOptimize(f->Invoke(nullptr, 0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_CalcFiveExpressions)->Arg(10000)->Arg(100000)->Arg(1000000)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcArithmetic)->Arg(10000)->Arg(100000)->Arg(1000000)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DirectArithmetic)->Arg(10000)->Arg(100000)->Arg(1000000)->Repetitions(5)->Unit(benchmark::kMillisecond);

// Keeps the fastest repetition of each benchmark and size.
class FastestRunReporter : public benchsupport::RatioReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration) {
                const std::string key = r.run_name.function_name + "/" + r.run_name.args;
                const double t = r.GetAdjustedRealTime();
                auto it = fastest.find(key);
                if (it == fastest.end() || t < it->second)
                    fastest[key] = t;
            }
        RatioReporter::ReportRuns(runs);
    }
    std::map<std::string, double> fastest;  // milliseconds per iteration
};

} // namespace

int main(int argc, char **argv)
{
    rtl::RegisterRootClasses();
    kvlInitReportUnit();
    qsRegisterStandardLanguages();
    qsRegisterClassLibModules();
    benchmark::Initialize(&argc, argv);
    FastestRunReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\ncalls per second (fastest of five):\n");
    for (const char *size : {"10000", "100000", "1000000"}) {
        const double n = std::atof(size);
        auto rate = [&](const char *name) {
            auto it = reporter.fastest.find(std::string(name) + "/" + size);
            return it == reporter.fastest.end() || it->second <= 0 ? 0.0 : n / (it->second / 1000.0);
        };
        const double five = rate("BM_CalcFiveExpressions"), calc = rate("BM_CalcArithmetic"),
                     direct = rate("BM_DirectArithmetic");
        std::printf("%8s calls: five expressions %.0f/s, arithmetic Calc %.0f/s, direct %.0f/s, Calc/direct time %.2fx\n",
                    size, five, calc, direct, calc > 0 ? direct / calc : 0.0);
    }
    benchmark::Shutdown();
    return 0;
}
