// A one-page template of 1,000, 10,000 and 100,000 memos in one band, loaded from its file
// and prepared, against its peer in the same process: the same memos created in code (named,
// placed, given their text) and prepared. Each size in a process of its own; the load and
// the creation in turns, the minimum of the rounds kept. Growth should be linear: the time
// per 1,000 memos the same at every size.
//
//   bench_objects                 every size
//   bench_objects MEMOS [ROUNDS]  one size
#include "bench/support/groupedlist.h"
#include "bench/support/ratioreporter.h"

#include "engine/store/previewpages.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

constexpr int kColumns = 200;

// The template made in code: one page, a report title band, the memos in a grid of 200
// columns of small memos side by side, as many rows as they fill (500 at 100,000 memos).
std::unique_ptr<TkvlReport> create(int Memos)
{
    auto report = std::make_unique<TkvlReport>(nullptr);
    report->EngineOptions()->NewSilentMode = simSilent;
    auto *page = new TkvlReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(9);
    auto *band = new TkvlReportTitle(page);
    band->SetName(QStringLiteral("ReportTitle1"));
    band->SetBounds(0, 0, 700, 1000);
    for (int i = 0; i < Memos; ++i) {
        auto *m = new TkvlMemoView(band);
        m->SetName(QStringLiteral("Memo%1").arg(i + 1));
        m->SetBounds((i % kColumns) * 3.5, (i / kColumns) * 2, 3.5, 2);
        m->SetText(QStringLiteral("Voce %1").arg(i + 1));
    }
    return report;
}

double prepare(TkvlReport &Report)
{
    const auto t = Clock::now();
    if (!Report.PrepareReport())
        std::fprintf(stderr, "preparation failed: %s\n", qPrintable(Report.Errors().Text()));
    return msSince(t);
}

int runChild(int Memos, int Rounds)
{
    ui::FakeServices fakes;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("objects.kv3"));
    create(Memos)->SaveToFile(file);
    double loadMs = 1e300, createMs = 1e300, prepareLoadedMs = 1e300, prepareCreatedMs = 1e300;
    for (int r = 0; r < Rounds; ++r) {
        {
            auto t = Clock::now();
            TkvlReport loaded(nullptr);
            if (!loaded.LoadFromFile(file, true))
                std::fprintf(stderr, "the template did not load\n");
            loadMs = std::min(loadMs, msSince(t));
            loaded.EngineOptions()->NewSilentMode = simSilent;
            prepareLoadedMs = std::min(prepareLoadedMs, prepare(loaded));
        }
        {
            auto t = Clock::now();
            std::unique_ptr<TkvlReport> made = create(Memos);
            createMs = std::min(createMs, msSince(t));
            prepareCreatedMs = std::min(prepareCreatedMs, prepare(*made));
        }
    }
    std::printf("memos=%d load=%.3f create=%.3f prepload=%.3f prepcreate=%.3f\n", Memos, loadMs, createMs,
                prepareLoadedMs, prepareCreatedMs);
    return 0;
}

int runAll(const char *Self)
{
    std::printf("milliseconds per 1,000 memos (minimum of 3 rounds in turns): loading the template against\n"
                "creating the same memos in code, and preparing each\n");
    std::printf("%8s %9s %9s %7s %10s %10s %7s\n", "memos", "load", "create", "ratio", "prep.load", "prep.made",
                "ratio");
    for (int memos : {1000, 10000, 100000}) {
        QProcess p;
        p.start(QString::fromLocal8Bit(Self), {QString::number(memos), QStringLiteral("3")});
        p.waitForFinished(-1);
        std::fputs(p.readAllStandardError().constData(), stderr);
        int n = 0;
        double load = 0, made = 0, prepLoad = 0, prepMade = 0;
        if (std::sscanf(p.readAllStandardOutput().constData(), "memos=%d load=%lf create=%lf prepload=%lf prepcreate=%lf",
                        &n, &load, &made, &prepLoad, &prepMade)
            != 5) {
            std::printf("%8d: the run failed\n", memos);
            continue;
        }
        const double k = 1000.0 / memos;
        std::printf("%8d %9.3f %9.3f %6.2fx %10.3f %10.3f %6.2fx\n", memos, load * k, made * k, load / made,
                    prepLoad * k, prepMade * k, prepLoad / prepMade);
        std::fflush(stdout);
    }
    std::printf("goals: loading at most 1.5x the creation; each column the same per 1,000 memos at every size\n");
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
    return runChild(std::atoi(argv[1]), argc > 2 ? std::max(1, std::atoi(argv[2])) : 3);
}
