// The designer's undo snapshots against the report's plain template writing and reading of
// the same report: AddUndo against SaveToStream (and against the save of the same content, with
// the picture view writing its index), GetUndo against LoadFromStream, for reports of 100, 1000
// and 10 000 memos (one picture view among them). Each run five times, the fastest
// counting; the ratios to the peer and the growth per memo are printed at the end.
#include "bench/support/ratioreporter.h"
#include "designer/core/undobuffer.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/views/kvlpicture.h"
#include "report/views/picturecache.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

// A report of N memos on bands of 20, with a script and one picture view in the cache.
struct Fixture {
    TkvlReport report{nullptr};
    TkvlPictureCache cache;
    explicit Fixture(int memos)
    {
        auto *page = new TkvlReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        TkvlBand *band = nullptr;
        for (int i = 0; i < memos; ++i) {
            if (i % 20 == 0) {
                band = new TkvlMasterData(page);
                band->SetName(QStringLiteral("MasterData%1").arg(i / 20 + 1));
                band->SetBounds(0, 20 + (i / 20) * 30, 700, 25);
            }
            auto *m = new TkvlMemoView(band);
            m->SetName(QStringLiteral("Memo%1").arg(i + 1));
            m->SetBounds(10 + (i % 20) * 34, 0, 32, 18);
            m->SetText(QStringLiteral("[EVENTS.\"TITOLO\"] %1").arg(i));
        }
        auto *pic = new TkvlPictureView(band);
        pic->SetName(QStringLiteral("Picture1"));
        QImage img(64, 64, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        TMemoryStream s(png);
        pic->LoadPictureFromStream(s, true);
        cache.AddPicture(pic);
        report.ScriptText().SetText(QStringLiteral("begin\r\n\r\nend."));
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

void BM_AddUndo(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    // As in the designer, the stack holds the snapshot before.
    TkvlUndoBuffer undo;
    undo.AddUndo(&f.report);
    for (auto _ : state) {
        undo.AddUndo(&f.report);
        state.PauseTiming();
        undo.ClearUndo();
        undo.AddUndo(&f.report);
        state.ResumeTiming();
    }
}

// The same harness as AddUndo: a new stream per run, freed outside the timing.
void saveRuns(benchmark::State &state, TkvlReport &report)
{
    for (auto _ : state) {
        auto m = std::make_unique<TMemoryStream>();
        report.SaveToStream(*m, true, false);
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
}

void BM_SaveToStream(benchmark::State &state) { saveRuns(state, fixture(int(state.range(0))).report); }

// The plain save of what a snapshot holds: the picture view writes its index, not its picture.
void BM_SaveIndexOnly(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    auto *view = rtl_cast<TkvlPictureView>(f.report.FindObject(QStringLiteral("Picture1")));
    view->PictureStored = false;
    view->ImageIndexStored = true;
    saveRuns(state, f.report);
    view->PictureStored = true;
    view->ImageIndexStored = false;
}

void BM_GetUndo(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    TkvlUndoBuffer undo;
    undo.SetPictureCache(&f.cache);
    undo.AddUndo(&f.report);
    for (auto _ : state) {
        state.PauseTiming();
        undo.AddUndo(&f.report);
        state.ResumeTiming();
        undo.GetUndo(&f.report);
    }
}

void BM_LoadFromStream(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    TMemoryStream saved;
    f.report.SaveToStream(saved, true, false);
    for (auto _ : state) {
        saved.SetPosition(0);
        f.report.Reloading = true;
        f.report.LoadFromStream(saved);
        f.report.Reloading = false;
    }
}

#define SIZES ->Arg(100)->Arg(1000)->Arg(10000)->Repetitions(5)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_AddUndo) SIZES;
BENCHMARK(BM_SaveToStream) SIZES;
BENCHMARK(BM_SaveIndexOnly) SIZES;
BENCHMARK(BM_GetUndo) SIZES;
BENCHMARK(BM_LoadFromStream) SIZES;

} // namespace

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QGuiApplication app(argc, argv);
    rtl::RegisterRootClasses();
    kvlInitReportUnit();
    // Interleaved at random, so that a busy moment of the shared machine falls on all alike.
    std::vector<char *> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int n = int(args.size());
    benchmark::Initialize(&n, args.data());
    benchsupport::FastestRunReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto t = [&](const char *name, const char *memos) {
        const auto it = reporter.fastest.find(std::string(name) + "/" + memos + "/repeats:5");
        return it == reporter.fastest.end() ? 0.0 : it->second;
    };
    for (const char *memos : {"100", "1000", "10000"}) {
        const double add = t("BM_AddUndo", memos), save = t("BM_SaveToStream", memos);
        const double same = t("BM_SaveIndexOnly", memos);
        const double get = t("BM_GetUndo", memos), load = t("BM_LoadFromStream", memos);
        if (save > 0 && load > 0)
            std::printf("%6s memos: AddUndo %.3f ms / save %.3f ms = %.2fx (/ save of the same content %.3f ms = "
                        "%.2fx); GetUndo %.3f ms / load %.3f ms = %.2fx; AddUndo per memo %.2f us\n",
                        memos, add, save, add / save, same, add / same, get, load, get / load,
                        add / std::atof(memos) * 1000);
    }
    return 0;
}
