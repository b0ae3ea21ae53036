// Spreadsheet export to one sheet of 2, 20 and 200 pages of 50 rows of ten memos (a third of
// them numbers under a number format, a few styles, repeated texts), fed as the export
// driver feeds them: 1,000 to 100,000 cells, written to a file. Beside it, in the same run,
// the C spreadsheet writer library writes the same values with the same styles to a file
// (synced to the disk, as ours is). Milliseconds per page are printed, and for the last run of
// ours the time and heap blocks (malloc, Qt's buffers included) of the grid and of the
// writing of the sheet, the package parts and the ZIP.
#include "bench/support/allocationcount.h"
#include "bench/support/ratioreporter.h"
#include "export/xlsx/xlsxexport.h"

#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/bands/kvlband.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/views/kvlviews.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#ifdef LIRRA_BENCH_XLSXWRITER
#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>
#endif
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

constexpr int kRows = 50, kColumns = 10;

// Value of a cell of the page: numbers in every third column, repeated room names elsewhere.
bool IsNumber(int c) { return c % 3 == 0; }
double NumberOf(int r, int c) { return (r * 37 + c) + (r % 100) / 100.0; }

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
                if (IsNumber(c)) {
                    m->DisplayFormat()->Kind = fkNumeric;
                    m->DisplayFormat()->FormatStr = QStringLiteral("%2.2f");
                    m->SetText(QString::number(NumberOf(r, c), 'f', 2));
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

// Heap blocks of the last run of ours, for the summary: while the grid is built (Start and the
// pages) and while the sheet, the package parts and the ZIP are written (Finish).
long gGridAllocations = 0, gFinishAllocations = 0, gCells = 0;
double gGridMs = 0, gFinishMs = 0;
// File sizes at 200 pages, to show that both write the same amount.
std::map<std::string, qint64> gBytes;

void BM_XlsxExport(benchmark::State &state)
{
    Page p;
    QTemporaryDir dir;
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlXLSXExport>();
    f->UseFileCache = false;
    f->FileName = dir.filePath(QStringLiteral("ours.xlsx"));
    QElapsedTimer clock;
    for (auto _ : state) {
        clock.start();
        const long before = benchsupport::heapAllocations();
        f->Start();
        for (int i = 0; i < state.range(0); ++i) {
            f->StartPage(&p.page, i);
            f->ExportObject(p.band);
            for (TkvlMemoView *m : p.memos)
                f->ExportObject(m);
            f->FinishPage(&p.page, i);
        }
        const long grid = benchsupport::heapAllocations();
        gGridMs = double(clock.nsecsElapsed()) / 1e6;
        f->Finish();
        gFinishMs = double(clock.nsecsElapsed()) / 1e6 - gGridMs;
        gGridAllocations = grid - before;
        gFinishAllocations = benchsupport::heapAllocations() - grid;
        gCells = long(p.memos.size()) * state.range(0);
    }
    state.counters["cells/s"] = benchmark::Counter(double(p.memos.size()) * double(state.range(0)),
                                                   benchmark::Counter::kIsIterationInvariantRate);
    gBytes["ours/" + std::to_string(state.range(0))] = QFileInfo(f->FileName).size();
}
#ifdef LIRRA_BENCH_XLSXWRITER
void BM_LibXlsxWriter(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray file = dir.filePath(QStringLiteral("peer.xlsx")).toLocal8Bit();
    std::vector<std::string> rooms;
    for (int i = 0; i < 20; ++i)
        rooms.push_back("Sala " + std::to_string(i));
    for (auto _ : state) {
        lxw_workbook *wb = workbook_new(file.constData());
        lxw_worksheet *ws = workbook_add_worksheet(wb, nullptr);
        // Styles by (number, bold, silver fill), as the memos have them.
        lxw_format *formats[2][2][2];
        for (int n = 0; n < 2; ++n)
            for (int b = 0; b < 2; ++b)
                for (int g = 0; g < 2; ++g) {
                    lxw_format *fm = workbook_add_format(wb);
                    format_set_font_name(fm, "Arial");
                    format_set_font_size(fm, 9);
                    format_set_text_wrap(fm);
                    format_set_align(fm, LXW_ALIGN_LEFT);
                    format_set_align(fm, LXW_ALIGN_VERTICAL_TOP);
                    if (n)
                        format_set_num_format(fm, "0.00");
                    if (b)
                        format_set_bold(fm);
                    if (g)
                        format_set_bg_color(fm, LXW_COLOR_SILVER);
                    formats[n][b][g] = fm;
                }
        for (int page = 0; page < state.range(0); ++page)
            for (int r = 0; r < kRows; ++r) {
                const lxw_row_t row = lxw_row_t(page * kRows + r);
                worksheet_set_row(ws, row, 13.5, nullptr);
                for (int c = 0; c < kColumns; ++c) {
                    lxw_format *fm = formats[IsNumber(c)][c == 1][r % 2 == 0];
                    if (IsNumber(c))
                        worksheet_write_number(ws, row, lxw_col_t(c), NumberOf(r, c), fm);
                    else
                        worksheet_write_string(ws, row, lxw_col_t(c), rooms[size_t((r + c) % 20)].c_str(), fm);
                }
            }
        if (workbook_close(wb) != LXW_NO_ERROR)
            state.SkipWithError("the peer could not write its file");
        // Ours puts its file in place only once it is on the disk (written beside the target,
        // synced, renamed over it); the peer's file is synced too, so that both are compared
        // at the same durability.
        const int fd = ::open(file.constData(), O_RDONLY);
        if (fd < 0 || ::fsync(fd) != 0)
            state.SkipWithError("the peer's file could not be synced");
        if (fd >= 0)
            ::close(fd);
    }
    gBytes["peer/" + std::to_string(state.range(0))] = QFileInfo(QString::fromLocal8Bit(file)).size();
}
#endif

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
    // Ours and the peer in turns, size by size, both warmed up before they are timed: a run of
    // one iteration would time ours with its memory touched for the first time against a peer
    // timed over many runs.
    for (int n : {2, 20, 200}) {
        benchmark::RegisterBenchmark("BM_XlsxExport", BM_XlsxExport)
            ->Arg(n)
            ->MinWarmUpTime(0.5)
            ->Unit(benchmark::kMillisecond);
#ifdef LIRRA_BENCH_XLSXWRITER
        benchmark::RegisterBenchmark("BM_LibXlsxWriter", BM_LibXlsxWriter)
            ->Arg(n)
            ->MinWarmUpTime(0.5)
            ->Unit(benchmark::kMillisecond);
#endif
    }
    benchmark::Initialize(&argc, argv);
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");   // past the console reporter's last colour code
    for (const char *n : {"2", "20", "200"}) {
        // A run's name is the benchmark's, its argument and its options ("/min_warmup_time:...").
        const auto run = [&](const std::string &Name) {
            for (auto it = reporter.times.begin(); it != reporter.times.end(); ++it)
                if (it->first == Name || it->first.rfind(Name + "/", 0) == 0)
                    return it;
            return reporter.times.end();
        };
        const auto ours = run(std::string("BM_XlsxExport/") + n);
        const auto peer = run(std::string("BM_LibXlsxWriter/") + n);
        if (ours == reporter.times.end())
            continue;
        std::printf("%4s pages (%6d cells): ours %.3f ms/page", n, std::atoi(n) * kRows * kColumns,
                    ours->second / std::atof(n));
        if (peer != reporter.times.end())
            std::printf(", peer %.3f ms/page, ours/peer %.2f", peer->second / std::atof(n), ours->second / peer->second);
        const double oursBytes = double(gBytes[std::string("ours/") + n]);
        const double peerBytes = double(gBytes[std::string("peer/") + n]);
        std::printf("; file bytes ours %.0f, peer %.0f, ours/peer %.2f", oursBytes, peerBytes,
                    peerBytes > 0 ? oursBytes / peerBytes : 0);
        std::printf("\n");
    }
    if (gCells > 0)
        std::printf("last run of ours (%ld cells): grid %.1f ms, %.3f heap blocks per cell; sheet, parts and ZIP "
                    "%.1f ms, %.3f heap blocks per cell\n",
                    gCells, gGridMs, double(gGridAllocations) / double(gCells), gFinishMs,
                    double(gFinishAllocations) / double(gCells));
    return 0;
}
