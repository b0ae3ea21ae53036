// The workspace's paint and band layout beside their peers, in one run:
//   painting a 1920 x 1080 view at zoom 1 of pages with 100, 1,000 and 10,000 memos in 20 bands,
//   beside the same objects' own Draw onto an image of the same size (goal: at most 1.5x);
//   AdjustBands on 20 bands holding 200, 2,000 and 20,000 views, beside a plain pass reading
//   every view's bounds and testing them against each band's rectangle (goal: at most 3x).
// Both should grow linearly. The ratios are printed at the end.
#include "bench/support/ratioreporter.h"
#include "designer/core/workspace.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

constexpr int kBands = 20;
constexpr int kWidth = 1920, kHeight = 1080;

// A page of 20 stacked bands with N memos spread over them and across the view.
struct Page {
    std::unique_ptr<TkvlReport> report = std::make_unique<TkvlReport>(nullptr);
    TkvlReportPage *page = new TkvlReportPage(report.get());
    std::vector<TkvlBand *> bands;
    TkvlObjectLists lists;
    TkvlWorkspace ws;

    explicit Page(int N)
    {
        page->SetName(QStringLiteral("Page1"));
        const double bandHeight = kHeight / double(kBands) - 19;
        for (int b = 0; b < kBands; ++b) {
            auto *band = new TkvlMasterData(page);
            band->SetName(QStringLiteral("MasterData%1").arg(b + 1));
            band->SetBounds(0, 19 + b * (bandHeight + 19), kWidth, bandHeight);
            bands.push_back(band);
        }
        const int perBand = N / kBands, columns = 20;
        for (int i = 0; i < N; ++i) {
            TkvlBand *band = bands[size_t(i / perBand % kBands)];
            const int k = i % perBand;
            auto *m = new TkvlMemoView(band);
            m->SetName(QStringLiteral("Memo%1").arg(i + 1));
            m->SetBounds((k % columns) * (kWidth / columns), (k / columns) % 3 * 5, kWidth / columns - 4, 14);
            m->SetText(QStringLiteral("Evento %1").arg(i));
        }
        lists.Load(page);
        ws.SetLists(&lists);
        ws.SetPage(page);
        ws.FFreeBandsPlacement = true;  // the bands stay where they are, views attach
        ws.AdjustBands(true);
        ws.PrepareDraw();
    }
};

void BM_WorkspacePaint(benchmark::State &state)
{
    Page p(int(state.range(0)));
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    auto paint = [&] {
        gfx::PainterCanvas canvas(&img, 96, 96);
        p.ws.Paint(&canvas, kWidth, kHeight);
        canvas.flush();
    };
    paint();  // the process's one-time font and image set-up stays out of the figure
    for (auto _ : state) {
        paint();
        benchmark::DoNotOptimize(img.bits());
    }
}

void BM_ObjectsOwnDraw(benchmark::State &state)
{
    Page p(int(state.range(0)));
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    auto draw = [&] {
        gfx::PainterCanvas canvas(&img, 96, 96);
        for (TkvlComponent *c : p.lists.Objects)
            if (auto *rc = rtl_cast<TkvlReportComponent>(c))
                rc->Draw(&canvas, 1, 1, 0, 0);
        canvas.flush();
    };
    draw();  // the same one-time set-up, out of the figure
    for (auto _ : state) {
        draw();
        benchmark::DoNotOptimize(img.bits());
    }
}

void BM_AdjustBands(benchmark::State &state)
{
    Page p(int(state.range(0)));
    for (auto _ : state)
        p.ws.AdjustBands(true);
}

void BM_BoundsAgainstBands(benchmark::State &state)
{
    Page p(int(state.range(0)));
    for (auto _ : state) {
        int hits = 0;
        for (TkvlComponent *c : p.lists.Objects) {
            auto *v = rtl_cast<TkvlView>(c);
            if (!v)
                continue;
            const double top = v->GetAbsTop(), left = v->Left();
            for (const TkvlBand *b : p.bands)
                hits += top >= b->Top() && top < b->Top() + b->Height() && left < b->Left() + b->Width();
        }
        benchmark::DoNotOptimize(hits);
    }
}

BENCHMARK(BM_WorkspacePaint)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ObjectsOwnDraw)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdjustBands)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoundsAgainstBands)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond);

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
    auto ratio = [&](const char *ours, const char *peer, const char *n) { reporter.PrintRatio(ours, peer, n); };
    for (const char *n : {"100", "1000", "10000"})
        ratio("BM_WorkspacePaint", "BM_ObjectsOwnDraw", n);
    for (const char *n : {"200", "2000", "20000"})
        ratio("BM_AdjustBands", "BM_BoundsAgainstBands", n);
    return 0;
}
