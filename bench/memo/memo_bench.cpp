// Filling and sizing a memo "[A] [B #N0,00] [C]" for each record, as the band engine does
// (BeforePrint, GetData, CalcHeight, AfterPrint), against its peer: the same values asked of
// the same stand-in evaluator, formatted alone, and the same texts laid out alone. The script
// engine is not measured, and getting a value costs both sides the same, so the difference is
// the memo's own work. Run at 1000, 10 000 and 100 000 records, each five times interleaved at
// random, the fastest run of each counting (the machine may be shared); the memos per second,
// the overhead of the memo's own work and its heap allocations are printed at the end.
#include "bench/support/allocationcount.h"
#include "bench/support/ratioreporter.h"
#include "report/core/kvlobjects.h"
#include "report/memo/kvlmemo.h"
#include "report/memo/memoformat.h"

#include "platform/gfx/tfont.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/views/kvlviews.h"

#include <QGuiApplication>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <new>

namespace {

constexpr int kRows = 97;  // distinct records, cycled

struct Row {
    Variant a, b, c;
};

const std::vector<Row> &rows()
{
    static const std::vector<Row> all = [] {
        std::vector<Row> out;
        for (int i = 0; i < kRows; ++i)
            out.push_back({Variant(QStringLiteral("Riunione %1").arg(i)), Variant(i * 12.375), Variant(i * 7)});
        return out;
    }();
    return all;
}

// The record the stand-in evaluator answers from.
struct Source {
    int row = 0;
};

struct Bench {
    Source source;
    TkvlReport report{nullptr};
    TkvlMemoView *memo;
    TFont font;

    Bench()
    {
        report.Evaluator = [this](const QString &Expr) -> Variant {
            const Row &r = rows()[size_t(source.row)];
            switch (Expr.isEmpty() ? u' ' : Expr[0].unicode()) {
            case u'A': return r.a;
            case u'B': return r.b;
            case u'C': return r.c;
            default: return Variant::null();
            }
        };
        memo = new TkvlMemoView(&report);
        memo->SetBounds(0, 0, 227, 20);
        font.SetName(QStringLiteral("Arial"));
        font.SetSize(10);
        memo->SetFont(&font);
        memo->SetText(QStringLiteral("[A] [B #N0,00] [C]"));
    }
};

// One record of the memo, as the band engine runs it.
double memoRecord(Bench &b, int row)
{
    b.source.row = row;
    b.memo->BeforePrint();
    b.memo->GetData();
    const double h = b.memo->CalcHeight();
    b.memo->AfterPrint();
    return h;
}

// The peer's record: the same three values asked of the evaluator and formatted, and the same
// line laid out.
struct Peer {
    Bench b;
    TkvlFormat text{nullptr}, number{nullptr};
    QStringList line{QString()};
    const QRect box{2, 1, 224, 19};
    const QString a = QStringLiteral("A"), bee = QStringLiteral("B"), c = QStringLiteral("C");

    Peer()
    {
        number.Kind = fkNumeric;
        number.FormatStr = QStringLiteral("0.00");
        number.DecimalSeparator = QStringLiteral(",");
    }

    double Record(int row)
    {
        const TFormatSettings &fs = rtl::FormatSettings();
        b.source.row = row;
        line[0] = kvlFormatMemoValue(b.report.Calc(a), text, fs) + QLatin1Char(' ')
            + kvlFormatMemoValue(b.report.Calc(bee), number, fs) + QLatin1Char(' ')
            + kvlFormatMemoValue(b.report.Calc(c), text, fs);
        TkvlGraphLock lock;
        TkvlDrawText &L = kvlDrawText();
        L.SetFont(b.font);
        L.SetOptions(true, false, false, false, true, true, 0);
        L.SetGaps(0, 0, 2);
        L.SetDimensions(1, 1, 1, box, box);
        L.SetText(line, false);
        return L.CalcHeight();
    }
};

void BM_Memo(benchmark::State &state)
{
    Bench b;
    for (auto _ : state)
        for (int64_t i = 0; i < state.range(0); ++i)
            benchmark::DoNotOptimize(memoRecord(b, int(i % kRows)));
}
BENCHMARK(BM_Memo)->Arg(1000)->Arg(10000)->Arg(100000)->Repetitions(5)->Unit(benchmark::kMillisecond);

void BM_FormatAndLayout(benchmark::State &state)
{
    Peer p;
    for (auto _ : state)
        for (int64_t i = 0; i < state.range(0); ++i)
            benchmark::DoNotOptimize(p.Record(int(i % kRows)));
}
BENCHMARK(BM_FormatAndLayout)->Arg(1000)->Arg(10000)->Arg(100000)->Repetitions(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QGuiApplication app(argc, argv);
    rtl::RegisterRootClasses();
    kvlRegisterObjectTreeClasses();
    kvlRegisterViewClasses();
    kvlRegisterMemoClasses();
    std::vector<char *> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int n = int(args.size());
    benchmark::Initialize(&n, args.data());
    benchsupport::FastestRunReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char *records : {"1000", "10000", "100000"}) {
        const std::string n = records;
        const auto memo = reporter.fastest.find(std::string("BM_Memo/") + n + "/repeats:5");
        const auto peer = reporter.fastest.find(std::string("BM_FormatAndLayout/") + n + "/repeats:5");
        if (memo != reporter.fastest.end() && peer != reporter.fastest.end())
            std::printf("%7s records: memo %.2f ms (%.0f memos/s), values + format + layout %.2f ms, overhead %+.1f%%\n",
                        records, memo->second, std::atof(records) / memo->second * 1000, peer->second,
                        (memo->second / peer->second - 1) * 100);
    }
    // Heap blocks taken per record once warmed up: operator new, and malloc, which Qt's
    // strings use.
    Bench b;
    Peer peer;
    for (int i = 0; i < 3; ++i) {
        memoRecord(b, i);
        peer.Record(i);
    }
    const long news = benchsupport::operatorNewAllocations(), mallocs = benchsupport::heapAllocations();
    memoRecord(b, 5);
    const long memoNews = benchsupport::operatorNewAllocations() - news;
    const long memoMallocs = benchsupport::heapAllocations() - mallocs;
    const long peerMallocs0 = benchsupport::heapAllocations();
    peer.Record(5);
    std::printf("heap blocks per record: memo %ld (operator new %ld), peer %ld\n",
                memoMallocs, memoNews, benchsupport::heapAllocations() - peerMallocs0);
    return 0;
}
