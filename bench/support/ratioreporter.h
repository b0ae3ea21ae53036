#pragma once
// Shared by the benchmarks that compare our code with a peer in the same run.
#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>

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
    std::map<std::string, double> times;
};

// Offscreen Qt and the project's fonts, as in the tests; call before the application object.
inline void useOffscreenAndProjectFonts(const char *sourceRoot)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("FONTCONFIG_FILE"))
        qputenv("FONTCONFIG_FILE", QByteArray(sourceRoot).append("/fonts/fonts.conf"));
}

} // namespace benchsupport
