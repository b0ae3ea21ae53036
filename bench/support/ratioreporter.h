#pragma once
// Shared by the benchmarks that compare our code with a peer in the same run.
#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace benchsupport {

// Keeps each run's adjusted real time by benchmark name, so that runs can be compared at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration)
                times[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    // One line comparing "Ours/Arg" with "Peer/Arg", when both ran.
    void PrintRatio(const char *Ours, const char *Peer, const char *Arg) const
    {
        const auto a = times.find(std::string(Ours) + "/" + Arg);
        const auto b = times.find(std::string(Peer) + "/" + Arg);
        if (a != times.end() && b != times.end())
            std::printf("%-18s %6s: %10.3f vs %10.3f  ratio %.2f\n", Ours, Arg, a->second, b->second, a->second / b->second);
    }
    std::map<std::string, double> times;
};

// Keeps, besides, the fastest of the repeated runs of each benchmark ("BM_X/arg/repeats:N").
class FastestRunReporter : public RatioReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration) {
                const auto it = fastest.find(r.benchmark_name());
                const double t = r.GetAdjustedRealTime();
                if (it == fastest.end() || t < it->second)
                    fastest[r.benchmark_name()] = t;
            }
        RatioReporter::ReportRuns(runs);
    }
    std::map<std::string, double> fastest;
};

// Offscreen Qt and the project's fonts, as in the tests; call before the application object.
inline void useOffscreenAndProjectFonts(const char *sourceRoot)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("FONTCONFIG_FILE"))
        qputenv("FONTCONFIG_FILE", QByteArray(sourceRoot).append("/fonts/fonts.conf"));
}

} // namespace benchsupport
