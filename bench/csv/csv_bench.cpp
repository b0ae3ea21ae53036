// Comma-separated export of 10, 100 and 1000 pages of 60 rows of five memos (the first of
// each row spanning two columns of the row below it), fed as the export driver feeds them,
// against its peer: the same memos' texts laid out alone, the work no export can skip. The
// milliseconds per page, objects per second and heap allocations per grid cell are printed.
#include "bench/support/allocationcount.h"
#include "bench/support/ratioreporter.h"
#include "export/csv/csvexport.h"
#include "export/grid/iematrix.h"

#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/bands/kvlband.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/views/kvlviews.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kRows = 60, kColumns = 5;

// One prepared page; the driver hands a page's views to the filter once per page.
struct Page {
    TkvlReportPage page{nullptr};
    TkvlBand *band = new TkvlMasterData(&page);
    std::vector<TkvlMemoView *> memos;
    Page()
    {
        band->SetBounds(0, 0, 700, kRows * 18);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                // Even rows: the first memo spans the first two columns of the odd row below.
                const bool span = r % 2 == 0 && c == 0;
                if (r % 2 == 0 && c == 1)
                    continue;
                auto *m = new TkvlMemoView(band);
                m->Font()->SetName(QStringLiteral("Arial"));
                m->Font()->SetSize(9);
                m->SetBounds(c * 120, r * 18, span ? 240 : 120, 18);
                m->SetText(QStringLiteral("Evento %1; sala %2").arg(r * kColumns + c).arg(c));
                memos.push_back(m);
            }
    }
};

void Export(TkvlCSVExport &f, Page &p, int Pages)
{
    f.Start();
    for (int i = 0; i < Pages; ++i) {
        f.StartPage(&p.page, i);
        f.ExportObject(p.band);
        for (TkvlMemoView *m : p.memos)
            f.ExportObject(m);
        f.FinishPage(&p.page, i);
    }
    f.Finish();
}

void BM_CsvExport(benchmark::State &state)
{
    Page p;
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlCSVExport>();
    f->Separator = QStringLiteral(";");
    f->UTF8 = true;
    for (auto _ : state) {
        TMemoryStream out;
        f->Stream = &out;
        Export(*f, p, int(state.range(0)));
        benchmark::DoNotOptimize(out.Size());
    }
    state.counters["objects/s"] = benchmark::Counter(double(p.memos.size()) * double(state.range(0)),
                                                     benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CsvExport)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_LayoutOnly(benchmark::State &state)
{
    Page p;
    for (auto _ : state)
        for (int i = 0; i < state.range(0); ++i)
            for (TkvlMemoView *m : p.memos)
                benchmark::DoNotOptimize(m->WrapText(true));
}
BENCHMARK(BM_LayoutOnly)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QGuiApplication app(argc, argv);
    rtl::RegisterRootClasses();
    kvlRegisterObjectTreeClasses();
    kvlRegisterViewClasses();
    kvlRegisterMemoClasses();
    kvlRegisterBandClasses();
    kvlRegisterPageClasses();
    benchmark::Initialize(&argc, argv);
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double first = 0;
    for (const char *n : {"10", "100", "1000"}) {
        const auto csv = reporter.times.find(std::string("BM_CsvExport/") + n);
        const auto peer = reporter.times.find(std::string("BM_LayoutOnly/") + n);
        if (csv == reporter.times.end() || peer == reporter.times.end())
            continue;
        const double pages = std::atof(n), perPage = csv->second / pages;
        if (first == 0)
            first = perPage;
        std::printf("%5s pages: %.3f ms/page (%+.1f%% against 10 pages), layout alone %.3f ms/page\n", n, perPage,
                    (perPage / first - 1) * 100, peer->second / pages);
    }
    // Allocations of writing one page, set against its grid cells.
    Page p;
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlCSVExport>();
    TMemoryStream out;
    f->Stream = &out;
    f->Start();
    for (int i = 0; i < 2; ++i) {
        f->StartPage(&p.page, i);
        for (TkvlMemoView *m : p.memos)
            f->ExportObject(m);
        if (i == 1)
            break;
        f->FinishPage(&p.page, i);
    }
    const long before = benchsupport::heapAllocations();
    f->FinishPage(&p.page, 1);
    const long allocations = benchsupport::heapAllocations() - before;
    const TkvlIEMatrix *m = f->Matrix();
    const long cells = long(m->Width()) * long(m->Height());
    std::printf("writing one page: %ld heap allocations for %ld cells and %d objects\n", allocations, cells,
                m->ObjectsCount());
    f->Finish();
    return 0;
}
