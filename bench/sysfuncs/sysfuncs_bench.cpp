// Built-in functions as report expressions call them, once per record: a script loop of
// scalar calls, and the same calls straight on the library table.
#include "script/core/qsscript.h"
#include "script/grammar/qsgrammars.h"
#include "script/system/qssysfuncs.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

std::unique_ptr<TqsScript> compiled(const char *source)
{
    static const bool languages = [] {
        qsRegisterStandardLanguages();
        return true;
    }();
    (void)languages;
    auto s = std::make_unique<TqsScript>();
    s->AddRTTI();
    s->Lines = QString::fromLatin1(source).split(QLatin1Char('\n'));
    if (!s->Compile()) {
        std::fprintf(stderr, "compile failed: %s at %s\n", qPrintable(s->ErrorMsg), qPrintable(s->ErrorPos));
        std::abort();
    }
    return s;
}

// 100 000 turns of scalar calls: rounding, truncation, date parts, a var argument.
void ScriptScalarCalls(benchmark::State &state)
{
    auto s = compiled("var i, n: Integer; d: Extended;\n"
                      "begin n := 0; for i := 1 to 100000 do begin\n"
                      "  d := i / 7; n := n + Round(d) - Trunc(d) + DayOfWeek(d); Inc(n) end end.");
    for (auto _ : state)
        s->Execute();
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(ScriptScalarCalls)->Unit(benchmark::kMillisecond);

// The loop above without its calls, for the interpreter's own share.
void ScriptLoopWithoutCalls(benchmark::State &state)
{
    auto s = compiled("var i, n: Integer; d: Extended;\n"
                      "begin n := 0; for i := 1 to 100000 do begin\n"
                      "  d := i / 7; n := (n + i - i + i) mod 7 + 1 end end.");
    for (auto _ : state)
        s->Execute();
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(ScriptLoopWithoutCalls)->Unit(benchmark::kMillisecond);

// The same kind of call on the table entry, as the script's call-back makes it.
void DirectRound(benchmark::State &state)
{
    const TqsSysFunction *round = qsFindSysFunction(u"ROUND");
    Variant args[6];
    double x = 0.5;
    for (auto _ : state) {
        args[0] = Variant(x);
        benchmark::DoNotOptimize(round->fn(args));
        x += 1.0;
    }
}
BENCHMARK(DirectRound);

} // namespace

BENCHMARK_MAIN();
