// The workspace gestures on pages of 100, 1,000 and 10,000 memos in 20 bands with a tenth of
// them selected, beside their floors, in one run:
//   a hover with the button up;
//   a drag step of one grid step, beside the same objects moved by their setters alone
//   (goal: at most 3x);
//   the release of a one-step drag, beside the setters plus the page's AdjustBands timed alone
//   (goal: at most 3x that sum).
// All should grow linearly. The ratios are printed at the end.
#include "bench/support/ratioreporter.h"
#include "designer/core/gestures.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

constexpr int kBands = 20;
constexpr int kWidth = 1920, kBandHeight = 60;

struct Page {
    std::unique_ptr<TkvlReport> report = std::make_unique<TkvlReport>(nullptr);
    TkvlReportPage *page = new TkvlReportPage(report.get());
    TkvlObjectLists lists;
    TkvlGestures ws;
    std::vector<TkvlComponent *> chosen;
    QPoint grip;  // a point on the first selected memo, in pixels

    explicit Page(int N)
    {
        page->SetName(QStringLiteral("Page1"));
        std::vector<TkvlBand *> bands;
        for (int b = 0; b < kBands; ++b) {
            auto *band = new TkvlMasterData(page);
            band->SetName(QStringLiteral("MasterData%1").arg(b + 1));
            band->SetBounds(0, 20 + b * (kBandHeight + 20), kWidth, kBandHeight);
            bands.push_back(band);
        }
        const int perBand = N / kBands, columns = 20;
        for (int i = 0; i < N; ++i) {
            TkvlBand *band = bands[size_t(i / perBand % kBands)];
            const int k = i % perBand;
            auto *m = new TkvlMemoView(band);
            m->SetName(QStringLiteral("Memo%1").arg(i + 1));
            m->SetBounds((k % columns) * (kWidth / columns) + 8, (k / columns) % 3 * 12 + 8, kWidth / columns - 16, 10);
            if (i % 10 == 0)
                chosen.push_back(m);
        }
        lists.Load(page);
        ws.SetLists(&lists);
        ws.SetPage(page);
        ws.FFreeBandsPlacement = true;
        ws.FGridX = ws.FGridY = 4;
        ws.SetPageDimensions(kWidth, 2000, TkvlMargins{});
        ws.AdjustBands(true);
        lists.Selected = chosen;
        const TkvlComponent *first = chosen.front();
        grip = QPoint(int(first->GetAbsLeft() + 20), int(first->GetAbsTop() + 5));
    }
};

void BM_Hover(benchmark::State &state)
{
    Page p(int(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        const int x = 700 + (i++ & 1) * 13;
        p.ws.MouseMove(Qt::NoModifier, x, 500);
    }
}

void BM_DragStep(benchmark::State &state)
{
    Page p(int(state.range(0)));
    p.ws.MouseMove(Qt::NoModifier, p.grip.x(), p.grip.y());
    p.ws.MouseDown(Qt::LeftButton, Qt::NoModifier, p.grip.x(), p.grip.y());
    int i = 0;
    for (auto _ : state) {
        const int d = (i++ & 1) ? 0 : 4;  // one grid step there and back
        p.ws.MouseMove(Qt::NoModifier, p.grip.x() + d, p.grip.y() + d);
    }
    p.ws.MouseUp(Qt::LeftButton, Qt::NoModifier, p.grip.x(), p.grip.y());
}

void BM_SettersAlone(benchmark::State &state)
{
    Page p(int(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        const double d = (i++ & 1) ? -4 : 4;
        for (TkvlComponent *c : p.chosen) {
            c->SetLeft(c->Left() + d);
            c->SetTop(c->Top() + d);
        }
    }
}

void BM_Release(benchmark::State &state)
{
    Page p(int(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int d = (i++ & 1) ? -4 : 4;
        p.ws.MouseMove(Qt::NoModifier, p.grip.x(), p.grip.y());
        p.ws.MouseDown(Qt::LeftButton, Qt::NoModifier, p.grip.x(), p.grip.y());
        p.ws.MouseMove(Qt::NoModifier, p.grip.x() + d, p.grip.y());
        p.grip.rx() += d;
        state.ResumeTiming();
        p.ws.MouseUp(Qt::LeftButton, Qt::NoModifier, p.grip.x(), p.grip.y());
    }
}

void BM_AdjustBandsAlone(benchmark::State &state)
{
    Page p(int(state.range(0)));
    for (auto _ : state)
        p.ws.AdjustBands(true);
}

BENCHMARK(BM_Hover)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragStep)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SettersAlone)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Release)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AdjustBandsAlone)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QGuiApplication app(argc, argv);
    rtl::RegisterRootClasses();
    kvlInitReportUnit();
    kvlInitResources();
    benchmark::Initialize(&argc, argv);
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto time = [&](const char *name, const char *n) {
        const auto it = reporter.times.find(std::string(name) + "/" + n);
        return it == reporter.times.end() ? -1.0 : it->second;
    };
    for (const char *n : {"100", "1000", "10000"}) {
        const double step = time("BM_DragStep", n), floor = time("BM_SettersAlone", n);
        const double release = time("BM_Release", n), layout = time("BM_AdjustBandsAlone", n);
        std::printf("%6s: drag step %9.2f us vs setters %9.2f us  ratio %.2f (goal 3)\n", n, step, floor,
                    step / floor);
        std::printf("%6s: release   %9.2f us vs setters + layout %9.2f us  ratio %.2f (goal 3)\n", n, release,
                    floor + layout, release / (floor + layout));
    }
    return 0;
}
