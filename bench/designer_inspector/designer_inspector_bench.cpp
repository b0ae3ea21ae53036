// The inspector's rows for 1, 10, 100 and 1,000 selected memos, beside the plain reflective
// read of every published property of the same memos (the floor), in one run:
//   Floor     every published property of each memo read as a value;
//   List      the property list of the selection (shared rows, editors, members);
//   Rebuild   the inspector showing the selection (list, events tab, rows, in-place editor).
// At the end the goals are printed: at most 20x the floor for one memo, at most 5x for
// 1,000 memos, growing linearly.
#include "bench/support/ratioreporter.h"
#include "designer/core/propeditors.h"
#include "designer/widgets/inspector.h"
#include "platform/rtl/variant.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "tests/designerinspector/inspectorfixture.h"

#include <QApplication>
#include <cstdio>

namespace {

struct Memos {
    explicit Memos(int Count)
    {
        auto *page = new TkvlReportPage(&report);
        auto *band = new TkvlMasterData(page);
        band->SetBounds(0, 20, 700, 40 + Count);
        for (int i = 0; i < Count; ++i) {
            auto *m = new TkvlMemoView(band);
            m->SetName(QStringLiteral("Memo%1").arg(i + 1));
            m->SetBounds(10 + i % 50, i % 20, 90, 18);
            objects.push_back(m);
        }
    }
    TkvlReport report{nullptr};
    std::vector<TkvlComponent *> objects;
};

void Floor(benchmark::State &state)
{
    Memos m(int(state.range(0)));
    Variant v;
    for (auto _ : state) {
        for (TkvlComponent *o : m.objects)
            for (const rtl::PropInfo *p : o->ClassType()->props()) {
                v = p->getValue(o);
                benchmark::DoNotOptimize(v);
            }
    }
}

void List(benchmark::State &state)
{
    Memos m(int(state.range(0)));
    TkvlPropertyRules rules;  // kept between rebuilds, as the inspector keeps it
    for (auto _ : state) {
        auto list = kvlCreatePropertyList(m.objects, nullptr, &rules);
        benchmark::DoNotOptimize(list.get());
    }
}

void Rebuild(benchmark::State &state)
{
    Memos m(int(state.range(0)));
    FakeDesigner designer(&m.report);
    designer.SelectedObjects = m.objects;
    TkvlObjectInspector insp(&designer, nullptr);
    insp.resize(260, 600);
    insp.show();
    for (auto _ : state) {
        insp.SetSelectedObjects(&designer.SelectedObjects);
        benchmark::DoNotOptimize(insp.Count());
    }
}

void memoArgs(benchmark::internal::Benchmark *b)
{
    b->ArgName("memos");
    for (int n : {1, 10, 100, 1000})
        b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

double at(const std::map<std::string, double> &t, const char *what, int memos)
{
    const auto it = t.find(std::string(what) + "/memos:" + std::to_string(memos) + "/min_time:0.200");
    return it == t.end() ? 0 : it->second;
}

} // namespace

BENCHMARK(Floor)->Apply(memoArgs)->MinTime(0.2);
BENCHMARK(List)->Apply(memoArgs)->MinTime(0.2);
BENCHMARK(Rebuild)->Apply(memoArgs)->MinTime(0.2);

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QApplication app(argc, argv);
    registerDesignerOnce();
    benchmark::Initialize(&argc, argv);
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto &t = reporter.times;
    std::printf("\nGoals (rebuild and list against the floor):\n");
    for (const char *what : {"List", "Rebuild"}) {
        const double one = at(t, what, 1) / std::max(1e-9, at(t, "Floor", 1));
        const double many = at(t, what, 1000) / std::max(1e-9, at(t, "Floor", 1000));
        const double growth = at(t, what, 1000) / std::max(1e-9, at(t, what, 100));
        std::printf("  %-8s 1 memo %.1fx (goal <= 20)   1,000 memos %.1fx (goal <= 5)   1,000/100 %.1f (10 is linear)\n",
                    what, one, many, growth);
    }
    return 0;
}
