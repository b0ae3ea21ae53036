// The tool bars' state for 1, 100, 1000 and 10 000 selected memos against reading each memo's
// font, frame and colour through the reflection registry; one insertion of a memo into pages
// of 100, 1000 and 10 000 objects against adding the same memo under a fixed name. Ratios to
// the peers are printed at the end.
#include "tests/nulldesigner.h"
#include "bench/support/ratioreporter.h"
#include "designer/core/controlstate.h"
#include "designer/core/insertion.h"
#include "designer/core/sampleformat.h"
#include "designer/core/workspace.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/variant.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvldesigner.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

class BenchDesigner : public TNullDesigner {
public:
    using TNullDesigner::TNullDesigner;
};

// A page of N memos, all in the window's lists.
struct Fixture {
    TkvlReport report{nullptr};
    TkvlReportPage *page;
    BenchDesigner designer{nullptr, &report, false};
    explicit Fixture(int memos)
    {
        page = new TkvlReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        for (int i = 0; i < memos; ++i) {
            auto *m = new TkvlMemoView(page);
            m->SetName(QStringLiteral("Memo%1").arg(i + 1));
            m->SetBounds(10 + (i % 20) * 34, (i / 20) * 20, 32, 18);
        }
        designer.SetPage(page);
        designer.Objects = page->GetAllObjects();
        designer.Objects.push_back(&report);
        designer.Objects.push_back(page);
    }
};

Fixture &fixture(int memos)
{
    static std::map<int, std::unique_ptr<Fixture>> all;
    auto &f = all[memos];
    if (!f)
        f = std::make_unique<Fixture>(memos);
    return *f;
}

void BM_UpdateControls(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    std::vector<TkvlComponent *> selected = f.page->GetAllObjects();
    TkvlControlInput in;
    in.PageKind = pkReport;
    in.Page = f.page;
    in.Report = &f.report;
    in.Selected = selected;
    in.ObjectCount = int(f.designer.Objects.size());
    in.PageCount = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(UpdateControls(in));
}

// Peer: what any look at the selection costs, its font, frame and colour read by name.
void BM_ReadSelection(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    std::vector<TkvlComponent *> selected = f.page->GetAllObjects();
    const rtl::PropKey font(QStringLiteral("Font")), frame(QStringLiteral("Frame")), color(QStringLiteral("Color"));
    for (auto _ : state) {
        for (TkvlComponent *c : selected) {
            const rtl::ClassInfo *cls = c->ClassType();
            benchmark::DoNotOptimize(cls->findProp(font)->getValue(c));
            benchmark::DoNotOptimize(cls->findProp(frame)->getValue(c));
            benchmark::DoNotOptimize(cls->findProp(color)->getValue(c));
        }
    }
}

// One memo drawn on the page, taken away again outside the timing.
void BM_Insert(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    TkvlInsertion insertion;
    TSampleFormat sample;
    TkvlInsertContext ctx;
    ctx.Designer = &f.designer;
    ctx.Insertion = &insertion;
    ctx.Sample = &sample;
    for (auto _ : state) {
        insertion.ComponentClass = TkvlMemoView::StaticClass();
        insertion.Left = 40;
        insertion.Top = 40;
        insertion.Width = 100;
        insertion.Height = 18;
        TkvlComponent *m = OnInsertObject(ctx);
        state.PauseTiming();
        f.designer.Objects.pop_back();
        delete m;
        state.ResumeTiming();
    }
}

// Peer: the same memo made, named with a fixed name, formatted and listed.
void BM_AddFixedName(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    TSampleFormat sample;
    for (auto _ : state) {
        auto *m = new TkvlMemoView(f.page);
        m->SetBounds(40, 40, 100, 18);
        m->SetName(QStringLiteral("NewMemo"));
        sample.ApplySample(m);
        f.designer.Objects.push_back(m);
        f.designer.SelectedObjects.assign(1, m);
        state.PauseTiming();
        f.designer.Objects.pop_back();
        delete m;
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_UpdateControls)->Arg(1)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_ReadSelection)->Arg(1)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_Insert)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_AddFixedName)->Arg(100)->Arg(1000)->Arg(10000);

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QGuiApplication app(argc, argv);
    kvlInitReportUnit();
    benchmark::Initialize(&argc, argv);
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto t = [&](const char *name) { return reporter.times[name]; };
    for (const char *n : {"1", "100", "1000", "10000"})
        std::printf("UpdateControls/%s: %.2fx its peer\n", n,
                    t((std::string("BM_UpdateControls/") + n).c_str()) / t((std::string("BM_ReadSelection/") + n).c_str()));
    for (const char *n : {"100", "1000", "10000"})
        std::printf("Insert/%s: %.2fx its peer\n", n,
                    t((std::string("BM_Insert/") + n).c_str()) / t((std::string("BM_AddFixedName/") + n).c_str()));
    std::printf("Insert 10000 / 100: %.2fx\n", t("BM_Insert/10000") / t("BM_Insert/100"));
    return 0;
}
