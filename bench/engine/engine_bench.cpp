// A list report prepared through PrepareReport with the report's own expressions: a page
// header with the page number, a group on the site with a COUNT footer, a data band of five
// memos (number, title, two formatted dates, site) over in-memory rows ordered by site (20
// sites), the store swapping pages (UseFileCache, MaxMemSize 10, PagesInCache 50). The peer,
// in the same process: the same rows' five memos doing GetData and CalcHeight and the store
// adding the band, without the engine.
//
// The rows are made from their index as they are read: the process holds no copy of them.
// Memory touched for the first time costs a page fault per 4 KB (ten microseconds and more on
// a virtual machine); the faults column shows how much of it a preparation still touches.
//
//   bench_engine                 runs every case below, each in a process of its own
//   bench_engine ROWS [once|twice|double|save FILE]
//       once: one preparation; twice: two in one process; double: one in two passes;
//       save: one preparation, its prepared pages saved to FILE (to compare builds' stores)
#include "../support/groupedlist.h"
#include "../support/ratioreporter.h"

#include "engine/run/kvlengine.h"
#include "engine/store/previewpages.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/ui/fakes.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldataset.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "script/grammar/qsgrammars.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <sys/resource.h>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using benchsupport::peakMb;
using benchsupport::resetPeak;
using benchsupport::statusKb;
using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

// The process's processor time (user and system, page faults included): on a machine shared
// with other work the elapsed time also counts the waits for a processor.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Page faults of the process so far (memory touched for the first time, mostly).
long minorFaults()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

struct Figures {
    double EngineMs = 0, PeerMs = 0;
    double EngineCpuMs = 0, PeerCpuMs = 0;
    int Pages = 0;
    double EngineFaults = 0;  // page faults while preparing
    double PeakMb = 0;
    double BaseMb = 0;  // resident before the preparation
};

struct Bench : benchsupport::GroupedList {
    explicit Bench(int Rows) : GroupedList(Rows) {}

    Figures prepare(bool DoublePass)
    {
        report.EngineOptions()->DoublePass = DoublePass;
        Figures f;
        const auto t = Clock::now();
        const double cpu = cpuMs();
        const long faults = minorFaults();
        if (!report.PrepareReport())
            std::fprintf(stderr, "preparation failed: %s\n", qPrintable(report.Errors().Text()));
        f.EngineMs = msSince(t);
        f.EngineCpuMs = cpuMs() - cpu;
        f.EngineFaults = double(minorFaults() - faults);
        f.Pages = report.PreviewPages()->GetCount();
        return f;
    }

    // The same rows' memos filled and measured, and the band added, pages as the engine made them.
    void peer(int RowsPerPage, Figures &F)
    {
        TkvlCustomPreviewPages *store = report.PreviewPages();
        store->Clear();
        store->Initialize();
        store->BeginPass();
        report.PrepareScript();
        report.DataSets()->Initialize();
        // The preparation may have rebuilt the template: look the band up again.
        auto *band = rtl_cast<TkvlMasterData>(report.FindObject(QStringLiteral("MasterData1")));
        if (!band)
            return;
        auto *page = rtl_cast<TkvlReportPage>(band->Parent());
        std::vector<TkvlMemoView *> memos;
        for (TkvlComponent *c : band->Objects())
            if (auto *m = rtl_cast<TkvlMemoView>(c))
                memos.push_back(m);
        const auto t = Clock::now();
        const double cpu = cpuMs();
        int row = 0;
        for (source.First(); !source.Eof(); source.Next(), ++row) {
            if (row % RowsPerPage == 0)
                store->AddPage(page);
            band->SetTop(20 + (row % RowsPerPage) * 20);
            for (TkvlMemoView *m : memos) {
                m->BeforePrint();
                m->GetData();
                benchmark::DoNotOptimize(m->CalcHeight());
            }
            store->AddObject(band);
            for (TkvlMemoView *m : memos)
                m->AfterPrint();
        }
        store->Finish();
        F.PeerMs = msSince(t);
        F.PeerCpuMs = cpuMs() - cpu;
        report.DataSets()->Finalize();
    }
};

int runChild(int Rows, const std::string &Mode, const char *File)
{
    // Fonts, the script compiler and the first pages' allocations are paid once per process,
    // not per row: a small preparation first.
    {
        Bench warm(200);
        warm.prepare(false);
    }
    Bench b(Rows);
    auto line = [&](const char *Label, const Figures &f) {
        std::printf("%s rows=%d engine=%.3f peer=%.3f cpu=%.3f,%.3f faults=%.1f pages=%d peak=%.1f base=%.1f\n",
                    Label, Rows, f.EngineMs * 1000 / Rows, f.PeerMs * 1000 / Rows, f.EngineCpuMs * 1000 / Rows,
                    f.PeerCpuMs * 1000 / Rows, f.EngineFaults * 1000 / Rows, f.Pages, f.PeakMb, f.BaseMb);
        std::fflush(stdout);
    };
    resetPeak();
    const double base = double(statusKb("VmRSS")) / 1024.0;
    Figures first = b.prepare(Mode == "double");
    if (Mode == "save") {
        b.report.PreviewPages()->SaveToFile(QString::fromLocal8Bit(File ? File : "prepared.kp3"));
        return 0;
    }
    first.BaseMb = base;
    first.PeakMb = peakMb();
    const int perPage = first.Pages > 0 ? std::max(1, Rows / first.Pages) : 40;
    if (Mode == "twice") {
        line("first", first);
        resetPeak();
        const double base2 = double(statusKb("VmRSS")) / 1024.0;
        Figures second = b.prepare(false);
        second.BaseMb = base2;
        second.PeakMb = peakMb();
        b.peer(perPage, second);
        line("second", second);
        return 0;
    }
    b.peer(perPage, first);
    line(Mode == "double" ? "double" : "once", first);
    return 0;
}

// One case in a process of its own; its printed lines by label.
std::map<std::string, Figures> runCase(const char *Self, int Rows, const char *Mode)
{
    QProcess p;
    p.start(QString::fromLocal8Bit(Self), {QString::number(Rows), QLatin1String(Mode)});
    p.waitForFinished(-1);
    std::map<std::string, Figures> out;
    for (const QByteArray &l : p.readAllStandardOutput().split('\n')) {
        char label[16] = {};
        int rows = 0;
        Figures f;
        if (std::sscanf(l.constData(),
                        "%15s rows=%d engine=%lf peer=%lf cpu=%lf,%lf faults=%lf pages=%d peak=%lf base=%lf", label,
                        &rows, &f.EngineMs, &f.PeerMs, &f.EngineCpuMs, &f.PeerCpuMs, &f.EngineFaults, &f.Pages,
                        &f.PeakMb, &f.BaseMb)
            == 10)
            out[label] = f;
    }
    std::fputs(p.readAllStandardError().constData(), stderr);
    return out;
}

int runAll(const char *Self)
{
    std::printf("ms per 1,000 rows (reference 40), elapsed and processor time; the engine's page faults per\n"
                "1,000 rows; pages, peak RSS and RSS before preparing (MB)\n");
    std::printf("%-22s %9s %9s %7s %9s %9s %7s %7s %8s %8s\n", "case", "engine", "peer", "ratio", "eng.cpu",
                "peer.cpu", "faults", "pages", "peak", "before");
    auto show = [](const char *Name, const Figures &f) {
        std::printf("%-22s %9.2f %9.2f %7.2f %9.2f %9.2f %7.1f %7d %8.1f %8.1f\n", Name, f.EngineMs, f.PeerMs,
                    f.PeerMs > 0 ? f.EngineMs / f.PeerMs : 0, f.EngineCpuMs, f.PeerCpuMs, f.EngineFaults, f.Pages,
                    f.PeakMb, f.BaseMb);
        std::fflush(stdout);
    };
    const Figures least = runCase(Self, 1000, "once")["once"];
    show("1,000 rows", least);
    const Figures small = runCase(Self, 10000, "once")["once"];
    show("10,000 rows", small);
    const Figures large = runCase(Self, 100000, "once")["once"];
    show("100,000 rows", large);
    auto twice = runCase(Self, 100000, "twice");
    show("100,000 first of two", twice["first"]);
    show("100,000 second of two", twice["second"]);
    const Figures two = runCase(Self, 100000, "double")["double"];
    show("100,000 two passes", two);

    std::printf("\ngoals:\n");
    std::printf("  engine at most 1.5x the peer:           %.2f (100,000 rows)\n",
                large.PeerMs > 0 ? large.EngineMs / large.PeerMs : 0);
    std::printf("  per 1,000 rows at 100,000 within 10%%:   %+.1f%% (processor time %+.1f%%; 1,000 rows %+.1f%%)\n",
                small.EngineMs > 0 ? (large.EngineMs / small.EngineMs - 1) * 100 : 0,
                small.EngineCpuMs > 0 ? (large.EngineCpuMs / small.EngineCpuMs - 1) * 100 : 0,
                small.EngineCpuMs > 0 ? (least.EngineCpuMs / small.EngineCpuMs - 1) * 100 : 0);
    std::printf("  two passes at most 2.1x one:            %.2f\n", large.EngineMs > 0 ? two.EngineMs / large.EngineMs : 0);
    std::printf("  peak under 200 MB at 100,000:           %.1f MB\n", large.PeakMb);
    std::printf("  at most 16 MB above 10,000 rows:        %+.1f MB (%+.1f MB above the rows held before)\n",
                large.PeakMb - small.PeakMb, (large.PeakMb - large.BaseMb) - (small.PeakMb - small.BaseMb));
    std::printf("  second preparation within 10%% in time:  %+.1f%%\n",
                twice["first"].EngineMs > 0 ? (twice["second"].EngineMs / twice["first"].EngineMs - 1) * 100 : 0);
    std::printf("  and within 8 MB in peak:                %+.1f MB\n", twice["second"].PeakMb - twice["first"].PeakMb);
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
    return runChild(std::atoi(argv[1]), argc > 2 ? argv[2] : "once", argc > 3 ? argv[3] : nullptr);
}
