// A record source walked as a data band walks it: every row, six fields read by name each.
// Prints fields per second; run by hand.
#include "report/core/kvlobjects.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldbdataset.h"
#include "tests/dataset/memdataset.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 20000;

void BM_ReadAllFields(benchmark::State &state)
{
    MemDataSet data;
    data.columns = {{QStringLiteral("ID"), TFieldType::ftInteger},         {QStringLiteral("TITLE"), TFieldType::ftString},
                    {QStringLiteral("START_EVENT"), TFieldType::ftDateTime}, {QStringLiteral("END_EVENT"), TFieldType::ftDateTime},
                    {QStringLiteral("SEDE"), TFieldType::ftString},         {QStringLiteral("COLOR"), TFieldType::ftFixedChar}};
    for (int i = 0; i < kRows; ++i)
        data.rows.push_back({i, QStringLiteral("Evento %1").arg(i), Variant::fromDate(40000 + i), Variant::fromDate(40000.5 + i),
                             QStringLiteral("Roma"), QStringLiteral("#FF0000")});
    TkvlReport report(nullptr);
    auto *src = new TkvlDBDataset(&report);
    src->SetUserName(QStringLiteral("EVENTS"));
    src->SetDataSet(&data);
    for (const char *f : {"ID", "TITLE", "START_EVENT", "END_EVENT", "SEDE", "COLOR"})
        src->FieldAliases().Add(QLatin1String(f) + QLatin1Char('=') + QLatin1String(f));
    const QString names[] = {QStringLiteral("ID"),        QStringLiteral("Title"), QStringLiteral("START_EVENT"),
                             QStringLiteral("end_event"), QStringLiteral("SEDE"),  QStringLiteral("COLOR")};
    report.DataSets()->Add(src);
    int64_t fields = 0;
    for (auto _ : state) {
        report.DataSets()->Initialize();
        for (src->First(); !src->Eof(); src->Next())
            for (const QString &n : names) {
                benchmark::DoNotOptimize(src->GetValue(n));
                ++fields;
            }
        report.DataSets()->Finalize();
    }
    state.counters["fields/s"] = benchmark::Counter(double(fields), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadAllFields)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
