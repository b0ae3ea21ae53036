// Text measurement on the layout path: advances of a memo line at 600 dpi, and the
// font switch that every styled run makes.
#include "platform/gfx/fontservice.h"
#include "platform/gfx/recordingcanvas.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

const QString kLine = QStringLiteral("Evento annuale della sede centrale, 12 dicembre 2026 ore 18:30");

void BM_Advances(benchmark::State &state)
{
    gfx::FontDesc f;
    f.height = -83;
    const auto font = gfx::FontService::instance().font(f);
    std::vector<int> adv(size_t(kLine.size()));
    for (auto _ : state)
        benchmark::DoNotOptimize(font->advances(kLine, adv.data()));
    state.SetItemsProcessed(state.iterations() * kLine.size());
}
BENCHMARK(BM_Advances);

void BM_FontSwitchAndMeasure(benchmark::State &state)
{
    gfx::RecordingCanvas canvas;
    gfx::FontDesc plain, bold;
    plain.height = bold.height = -83;
    bold.style = gfx::StyleBold;
    std::vector<int> cum(size_t(kLine.size()));
    bool b = false;
    for (auto _ : state) {
        canvas.setFont((b = !b) ? bold : plain);
        benchmark::DoNotOptimize(canvas.textExtents(kLine, cum.data()));
    }
}
BENCHMARK(BM_FontSwitchAndMeasure);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
