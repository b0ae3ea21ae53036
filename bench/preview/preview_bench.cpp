// The preview's per-page paths beside their peers, in one run:
//   layout (UpdatePages) over 1,000 / 10,000 / 100,000 page sizes, ms per page;
//   painting a 1920 x 1080 view at zoom 1 of pages with 300 objects, beside the store
//   drawing the same pages onto a plain image;
//   searching 1,000 such pages for a text that is not there, beside building and recording
//   the same pages.
#include "bench/support/ratioreporter.h"
#include "engine/store/previewpages.h"
#include "engine/widgets/kvlpreview.h"
#include "engine/widgets/kvlpreviewworkspace.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/ui/fakes.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "tests/engine/previewfixture.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

double msSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// A real store whose pages each hold 60 rows of 5 memos: 300 objects a page.
struct RealPages {
    explicit RealPages(int Pages)
    {
        report = std::make_unique<TkvlReport>(nullptr);
        report->EngineOptions()->NewSilentMode = simSilent;
        report->PreviewOptions()->PagesInCache = 50;
        page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        page->SetPaperSize(9);
        band = new TkvlMasterData(page);
        band->SetName(QStringLiteral("MasterData1"));
        band->SetBounds(0, 0, 700, 17);
        for (int m = 0; m < 5; ++m) {
            auto *memo = new TkvlMemoView(band);
            memo->SetName(QStringLiteral("Memo%1").arg(m + 1));
            memo->SetBounds(10 + 140 * m, 1, 130, 15);
            memos.push_back(memo);
        }
        store = static_cast<TkvlPreviewPages *>(report->PreviewPages());
        store->Initialize();
        store->BeginPass();
        store->AddSourcePage(page);
        for (int p = 0; p < Pages; ++p) {
            store->AddPage(page);
            for (int r = 0; r < 60; ++r) {
                band->SetTop(r * 17);
                for (int m = 0; m < 5; ++m)
                    memos[size_t(m)]->SetText(QStringLiteral("p%1 r%2 m%3").arg(p).arg(r).arg(m));
                store->AddObject(band);
            }
        }
        band->SetTop(0);
        store->Finish();
    }
    std::unique_ptr<TkvlReport> report;
    TkvlReportPage *page;
    TkvlMasterData *band;
    std::vector<TkvlMemoView *> memos;
    TkvlPreviewPages *store;
};

void benchLayout()
{
    std::printf("UpdatePages       pages      ms   us/page   cpu ms  cpu us/page\n");
    for (int n : {1000, 10000, 100000}) {
        previewtest::FixtureStore store;
        store.addPages(n);
        TkvlPreview preview;
        preview.resize(1200, 900);
        preview.Init(nullptr, &store);
        preview.PreviewPages = &store;
        const int reps = n >= 100000 ? 20 : n >= 10000 ? 100 : 1000;
        // The best of five rounds, by the clock and by this thread's processor time: on a
        // shared machine a round can lose the processor.
        double ms = 1e300, cpuMs = 1e300;
        for (int round = 0; round < 5; ++round) {
            const auto t0 = std::chrono::steady_clock::now();
            const double c0 = threadCpuMs();
            for (int i = 0; i < reps; ++i)
                preview.UpdatePages();
            cpuMs = std::min(cpuMs, (threadCpuMs() - c0) / reps);
            ms = std::min(ms, msSince(t0) / reps);
        }
        std::printf("UpdatePages  %10d %7.3f %9.4f %8.3f %9.4f\n", n, ms, ms * 1000 / n, cpuMs, cpuMs * 1000 / n);
    }
}

void benchPaint()
{
    RealPages pages(8);
    TkvlPreview preview;
    preview.resize(1920, 1080);
    preview.Init(pages.report.get(), pages.store);
    preview.show();
    TkvlPreviewWorkspace *ws = preview.Workspace();
    QImage view(ws->viewport()->size(), QImage::Format_RGB32);
    QImage plain(ws->viewport()->size(), QImage::Format_RGB32);
    // The pages the view shows, where it shows them.
    std::vector<std::pair<int, QRect>> visible;
    for (int i = 0; i < ws->PageList().Count(); ++i) {
        const QRect r = ws->PageBounds(i);
        if (r.intersects(ws->viewport()->rect()))
            visible.emplace_back(i, r);
    }
    const int reps = 20;
    ws->viewport()->render(&view); // warm the page cache and the fonts
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i)
        ws->viewport()->render(&view);
    const double paintMs = msSince(t0) / reps;
    if (qEnvironmentVariableIsSet("LIRRA_BENCH_SAVE"))
        view.save(QStringLiteral("/tmp/preview_bench_view.png"));
    t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) {
        QPainter p(&plain);
        gfx::PainterCanvas canvas(&p, 96, 96);
        for (const auto &[index, r] : visible)
            pages.store->DrawPage(index, &canvas, 1, 1, r.left(), r.top());
    }
    const double drawMs = msSince(t0) / reps;
    std::printf("paint 1920x1080 (%zu pages): %.2f ms   DrawPage onto an image: %.2f ms   ratio %.2f\n",
                visible.size(), paintMs, drawMs, paintMs / drawMs);
}

void benchSearch()
{
    const int n = 1000;
    RealPages pages(n);
    TkvlPreview preview;
    preview.resize(1200, 900);
    preview.Init(pages.report.get(), pages.store);
    // Each side runs twice, alternating, and keeps its better time: the first pass over the
    // pages warms what both share.
    const auto record = [&] {
        pages.store->ClearPageCache();
        const auto t0 = std::chrono::steady_clock::now();
        gfx::RecordingCanvas canvas;
        for (int i = 0; i < n; ++i) {
            canvas.clear();
            pages.store->DrawPage(i, &canvas, 1, 1, 0, 0);
        }
        return msSince(t0);
    };
    const auto search = [&] {
        pages.store->ClearPageCache();
        const auto t0 = std::chrono::steady_clock::now();
        preview.FindText(QStringLiteral("not on any page"), true, false);
        return msSince(t0);
    };
    double recordMs = record(), searchMs = search();
    recordMs = std::min(recordMs, record());
    searchMs = std::min(searchMs, search());
    std::printf("FindText %d pages: %.1f ms   building and recording them: %.1f ms   ratio %.2f\n", n, searchMs,
                recordMs, searchMs / recordMs);
}

} // namespace

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QApplication app(argc, argv);
    rtl::RegisterRootClasses();
    kvlInitReportUnit();
    kvlInitResources();
    kvlRegisterPreviewPagesStore();
    ui::FakeServices services; // the search's "not found" answers at once
    // LIRRA_BENCH_ONLY=layout (or paint, search) runs one part, for a profiler.
    const QByteArray only = qgetenv("LIRRA_BENCH_ONLY");
    if (only.isEmpty() || only == "layout")
        benchLayout();
    if (only.isEmpty() || only == "paint")
        benchPaint();
    if (only.isEmpty() || only == "search")
        benchSearch();
    return 0;
}
