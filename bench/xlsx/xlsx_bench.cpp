// Spreadsheet export to one sheet of 2, 20 and 200 pages of 50 rows of ten memos (a third of
// them numbers under a number format, a few styles, repeated texts), fed as the export
// driver feeds them: 1,000 to 100,000 cells. Milliseconds per page are printed.
#include "bench/support/ratioreporter.h"
#include "export/xlsx/xlsxexport.h"

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

constexpr int kRows = 50, kColumns = 10;

struct Page {
    TkvlReportPage page{nullptr};
    TkvlBand *band = new TkvlMasterData(&page);
    std::vector<TkvlMemoView *> memos;
    Page()
    {
        band->SetBounds(0, 0, 1000, kRows * 18);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                auto *m = new TkvlMemoView(band);
                m->Font()->SetName(QStringLiteral("Arial"));
                m->Font()->SetSize(9);
                m->SetBounds(c * 90, r * 18, 90, 18);
                if (c % 3 == 0) {
                    m->DisplayFormat()->Kind = fkNumeric;
                    m->DisplayFormat()->FormatStr = QStringLiteral("%2.2f");
                    m->SetText(QStringLiteral("%1.%2").arg(r * 37 + c).arg(r % 100, 2, 10, QLatin1Char('0')));
                } else {
                    m->SetText(QStringLiteral("Sala %1").arg((r + c) % 20));
                }
                if (c == 1)
                    m->Font()->SetStyle(FontStyleBit(fsBold));
                if (r % 2 == 0)
                    m->SetColor(clSilver);
                memos.push_back(m);
            }
    }
};

void BM_XlsxExport(benchmark::State &state)
{
    Page p;
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlXLSXExport>();
    f->UseFileCache = false;
    for (auto _ : state) {
        TMemoryStream out;
        f->Stream = &out;
        f->Start();
        for (int i = 0; i < state.range(0); ++i) {
            f->StartPage(&p.page, i);
            f->ExportObject(p.band);
            for (TkvlMemoView *m : p.memos)
                f->ExportObject(m);
            f->FinishPage(&p.page, i);
        }
        f->Finish();
        benchmark::DoNotOptimize(out.Size());
    }
    state.counters["cells/s"] = benchmark::Counter(double(p.memos.size()) * double(state.range(0)),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_XlsxExport)->Arg(2)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

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
    for (const char *n : {"2", "20", "200"}) {
        const auto t = reporter.times.find(std::string("BM_XlsxExport/") + n);
        if (t != reporter.times.end())
            std::printf("%4s pages (%6d cells): %.3f ms/page\n", n, std::atoi(n) * kRows * kColumns,
                        t->second / std::atof(n));
    }
    return 0;
}
