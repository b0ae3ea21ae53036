// The whole grouped list (bench/support/groupedlist.h) prepared at 1,000, 10,000 and 100,000
// rows, then exported to a PDF file through the export driver, against its peer in the same
// process: the same prepared pages written with QPdfWriter and a QPainter drawing each memo
// with drawText in its font and size (bench/pdf/painterpeer.h). Ours and the peer run in
// turns, the minimum of the rounds kept. Peak memory is read from the kernel: after preparing
// and after the first export (before the peer runs), both counted from before the preparation.
//
//   bench_pdf_report                 every size, each in a process of its own
//   bench_pdf_report ROWS [ROUNDS]   one size
#include "bench/pdf/painterpeer.h"
#include "bench/support/groupedlist.h"
#include "bench/support/ratioreporter.h"

#include "engine/store/exportdriver.h"
#include "engine/store/previewpages.h"
#include "export/pdf/pdfexport.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/core/kvlobjects.h"
#include "report/pages/kvlreportpage.h"
#include "report/views/kvlview.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

double exportOurs(TkvlPreviewPages &Store, const QString &File)
{
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlPDFExport>();
    f->ShowDialog = false;
    f->ShowProgress = false;
    f->FileName = File;
    const auto t = Clock::now();
    if (!kvlExportPreparedPages(Store, f.get()))
        std::fprintf(stderr, "the export failed\n");
    return msSince(t);
}

// The pages as the export driver places them: the page's origin at its margins.
double exportPeer(TkvlPreviewPages &Store, const QString &File)
{
    const auto t = Clock::now();
    QPdfWriter writer(File);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(96);
    QPainter painter(&writer);
    benchsupport::PainterPeer peer(painter);
    const int count = Store.GetCount();
    for (int i = 0; i < count; ++i) {
        std::shared_ptr<TkvlPage> page = Store.GetPageShared(i);
        if (i > 0)
            writer.newPage();
        if (auto *rp = rtl_cast<TkvlReportPage>(page.get())) {
            page->SetLeft(rp->LeftMargin * kvlPixelsPerMm);
            page->SetTop(rp->TopMargin * kvlPixelsPerMm);
        }
        for (TkvlComponent *obj : page->Objects()) {
            if (auto *v = rtl_cast<TkvlView>(obj))
                peer.Draw(v);
            for (TkvlComponent *child : obj->Objects())
                if (auto *v = rtl_cast<TkvlView>(child))
                    peer.Draw(v);
        }
        page.reset();
        Store.ClearPageCache();
    }
    painter.end();
    return msSince(t);
}

int runChild(int Rows, int Rounds)
{
    {
        benchsupport::GroupedList warm(200);   // fonts and first allocations paid once
        warm.report.PrepareReport();
        auto *store = static_cast<TkvlPreviewPages *>(warm.report.PreviewPages());
        exportOurs(*store, warm.dir.filePath(QStringLiteral("w.pdf")));
        exportPeer(*store, warm.dir.filePath(QStringLiteral("w2.pdf")));
    }
    benchsupport::GroupedList b(Rows);
    benchsupport::resetPeak();
    const double base = double(benchsupport::statusKb("VmRSS")) / 1024.0;
    b.report.PrepareReport();
    const double preparePeak = benchsupport::peakMb();
    auto *store = static_cast<TkvlPreviewPages *>(b.report.PreviewPages());
    const int pages = store->GetCount();
    const QString ours = b.dir.filePath(QStringLiteral("ours.pdf")), theirs = b.dir.filePath(QStringLiteral("peer.pdf"));
    double oursMs = exportOurs(*store, ours);
    const double exportPeak = benchsupport::peakMb();
    double peerMs = exportPeer(*store, theirs);
    for (int r = 1; r < Rounds; ++r) {
        oursMs = std::min(oursMs, exportOurs(*store, ours));
        peerMs = std::min(peerMs, exportPeer(*store, theirs));
    }
    std::printf("rows=%d pages=%d ours=%.3f peer=%.3f bytes=%lld,%lld base=%.1f prepare=%.1f export=%.1f\n", Rows,
                pages, oursMs, peerMs, (long long)QFileInfo(ours).size(), (long long)QFileInfo(theirs).size(), base,
                preparePeak, exportPeak);
    return 0;
}

int runAll(const char *Self)
{
    std::printf("per page: milliseconds and bytes of ours and the peer (minimum of 5 rounds in turns); peak RSS (MB)\n"
                "after preparing and after exporting, counted from before the preparation\n");
    std::printf("%8s %6s %9s %9s %8s %9s %9s %7s %9s %9s %7s\n", "rows", "pages", "ours.ms", "peer.ms", "speed",
                "ours.B", "peer.B", "bytes", "prep.MB", "exp.MB", "peak");
    for (int rows : {1000, 10000, 100000}) {
        QProcess p;
        p.start(QString::fromLocal8Bit(Self), {QString::number(rows), QStringLiteral("5")});
        p.waitForFinished(-1);
        std::fputs(p.readAllStandardError().constData(), stderr);
        int r = 0, pages = 0;
        double ours = 0, peer = 0, base = 0, prep = 0, exp = 0;
        long long bo = 0, bp = 0;
        if (std::sscanf(p.readAllStandardOutput().constData(),
                        "rows=%d pages=%d ours=%lf peer=%lf bytes=%lld,%lld base=%lf prepare=%lf export=%lf", &r,
                        &pages, &ours, &peer, &bo, &bp, &base, &prep, &exp)
                != 9
            || pages == 0) {
            std::printf("%8d: the run failed\n", rows);
            continue;
        }
        std::printf("%8d %6d %9.3f %9.3f %7.2fx %9.0f %9.0f %6.2fx %9.1f %9.1f %+6.1f%%\n", rows, pages, ours / pages,
                    peer / pages, peer / ours, double(bo) / pages, double(bp) / pages, double(bo) / double(bp), prep,
                    exp, (exp / prep - 1) * 100);
        std::fflush(stdout);
    }
    std::printf("goals: speed (the peer's time / ours) at least 2x, bytes (ours / the peer's) at most 1x, the\n"
                "export's peak at most +10%% over the preparation's\n");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return runAll(argv[0]);
    benchsupport::registerEngineClasses();
    kvlRegisterPDFExportClasses();
    return runChild(std::atoi(argv[1]), argc > 2 ? std::max(1, std::atoi(argv[2])) : 5);
}
