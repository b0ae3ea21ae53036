// Loading a template into the designer beside the report's own load of the same file, in one
// run: ReloadReport (tabs, the first page shown with its bands laid out, the picture cache and
// the first undo snapshot) on templates of 100, 1,000 and 10,000 memos in 20 bands, against
// TkvlReport::LoadFromFile of the file. Goal: at most 2x, growing linearly. The ratios are
// printed at the end.
#include "bench/support/ratioreporter.h"
#include "designer/core/designercore.h"
#include "designer/core/undobuffer.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

constexpr int kBands = 20;

// The window as far as loading needs it.
class BenchView : public TkvlDesignerView {
public:
    TkvlWorkspace ws;
    QStringList lines;
    TkvlWorkspace &Workspace() override { return ws; }
    void SetTabs(const QStringList &) override {}
    void SetTabIndex(int) override {}
    void ShowCodePanel(bool) override {}
    QStringList CodeLines() const override { return lines; }
    void SetCodeLines(const QStringList &Lines) override { lines = Lines; }
    void SetLanguage(const QString &) override {}
    QPoint ScrollPosition() const override { return {}; }
    void SetScrollPosition(QPoint) override {}
    int AskSave(const QString &) override { return 0; }
};

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// A template of N memos spread over 20 master-data bands, written once per size.
QString templateFile(int N)
{
    static std::map<int, QString> files;
    if (auto it = files.find(N); it != files.end())
        return it->second;
    TkvlReport report(nullptr);
    auto *data = new TkvlDataPage(&report);
    data->SetName(QStringLiteral("Data"));
    auto *page = new TkvlReportPage(&report);
    page->SetDefaults();
    page->SetName(QStringLiteral("Page1"));
    std::vector<TkvlBand *> bands;
    for (int b = 0; b < kBands; ++b) {
        auto *band = new TkvlMasterData(page);
        band->SetName(QStringLiteral("MasterData%1").arg(b + 1));
        band->SetBounds(0, 20 + b * 60, 700, 40);
        bands.push_back(band);
    }
    for (int i = 0; i < N; ++i) {
        auto *m = new TkvlMemoView(bands[size_t(i % kBands)]);
        m->SetName(QStringLiteral("Memo%1").arg(i + 1));
        m->SetBounds((i / kBands) % 20 * 35, 0, 33, 16);
        m->SetText(QStringLiteral("[EVENTS.\"TITLE\"] %1").arg(i));
    }
    const QString file = folder().filePath(QStringLiteral("t%1.kv3").arg(N));
    report.SaveToFile(file);
    return files[N] = file;
}

// A designer on the loaded template, made ready as the window's first show does.
struct LoadedDesigner {
    explicit LoadedDesigner(int N)
    {
        report.LoadFromFile(templateFile(N));
        core.SetView(&view, false);
        core.Init();
    }
    TkvlReport report{nullptr};
    BenchView view;
    TkvlDesignerCore core{nullptr, &report, false};
};

void BM_ReportLoad(benchmark::State &state)
{
    const QString file = templateFile(int(state.range(0)));
    TkvlReport report(nullptr);
    for (auto _ : state)
        report.LoadFromFile(file);
}

void BM_DesignerReloadReport(benchmark::State &state)
{
    LoadedDesigner d(int(state.range(0)));
    for (auto _ : state) {
        d.core.Lock();
        d.core.ReloadReport();
        benchmark::DoNotOptimize(d.core.Objects.data());
    }
}

// The two halves of ReloadReport: showing the first page, and the first undo snapshot.
void BM_DesignerShowFirstPage(benchmark::State &state)
{
    LoadedDesigner d(int(state.range(0)));
    d.core.ReloadReport();
    for (auto _ : state)
        d.core.ReloadPages(-2);
}

void BM_DesignerSnapshot(benchmark::State &state)
{
    LoadedDesigner d(int(state.range(0)));
    d.core.ReloadReport();
    for (auto _ : state) {
        d.core.UndoBuffer()->ClearUndo();
        d.core.SetModified(false);
    }
}

BENCHMARK(BM_DesignerShowFirstPage)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DesignerSnapshot)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportLoad)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DesignerReloadReport)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

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
    for (const char *n : {"100", "1000", "10000"}) {
        const auto a = reporter.times.find(std::string("BM_DesignerReloadReport/") + n);
        const auto b = reporter.times.find(std::string("BM_ReportLoad/") + n);
        if (a != reporter.times.end() && b != reporter.times.end())
            std::printf("ReloadReport vs load %6s: %10.3f vs %10.3f  ratio %.2f\n", n, a->second, b->second,
                        a->second / b->second);
    }
    return 0;
}
