// Cost per call of variant arithmetic and comparison, and of number formatting.
#include "platform/rtl/format.h"
#include "platform/rtl/variant.h"

#include <benchmark/benchmark.h>

namespace {

template<class Op>
void binary(benchmark::State &state, Variant a, Variant b, Op op)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        Variant r = op(a, b);
        benchmark::DoNotOptimize(r);
    }
}

void BM_AddIntInt(benchmark::State &s) { binary(s, Variant(12345), Variant(678), Variant::add); }
void BM_AddDoubleDouble(benchmark::State &s) { binary(s, Variant(1.5), Variant(2.25), Variant::add); }
void BM_MulIntDouble(benchmark::State &s) { binary(s, Variant(3), Variant(2.5), Variant::mul); }
void BM_DivIntInt(benchmark::State &s) { binary(s, Variant(7), Variant(2), Variant::divide); }
void BM_AddCurrencyInt(benchmark::State &s) { binary(s, Variant::fromCurrency(1.5), Variant(2), Variant::add); }
void BM_AddStringString(benchmark::State &s) { binary(s, Variant(u"abc"), Variant(u"def"), Variant::add); }
void BM_LessIntInt(benchmark::State &s)
{
    binary(s, Variant(3), Variant(4), [](const Variant &a, const Variant &b) { return Variant(a < b); });
}
void BM_EqualIntDouble(benchmark::State &s)
{
    binary(s, Variant(3), Variant(3.0), [](const Variant &a, const Variant &b) { return Variant(a == b); });
}

void BM_CopyString(benchmark::State &state)
{
    const Variant v(QStringLiteral("some text"));
    for (auto _ : state) {
        Variant c = v;
        benchmark::DoNotOptimize(c);
    }
}

void BM_FloatToStr(benchmark::State &state)
{
    const TFormatSettings fs = TFormatSettings::english();
    double v = 1234.5678;
    for (auto _ : state) {
        benchmark::DoNotOptimize(v);
        QString s = rtl::FloatToStr(v, fs);
        benchmark::DoNotOptimize(s);
    }
}

void BM_FormatFloat(benchmark::State &state)
{
    const TFormatSettings fs = TFormatSettings::italian();
    const QString pic = QStringLiteral("#,##0.00");
    double v = 1234567.891;
    for (auto _ : state) {
        benchmark::DoNotOptimize(v);
        QString s = rtl::FormatFloat(pic, v, fs);
        benchmark::DoNotOptimize(s);
    }
}

} // namespace

BENCHMARK(BM_AddIntInt);
BENCHMARK(BM_AddDoubleDouble);
BENCHMARK(BM_MulIntDouble);
BENCHMARK(BM_DivIntInt);
BENCHMARK(BM_AddCurrencyInt);
BENCHMARK(BM_AddStringString);
BENCHMARK(BM_LessIntInt);
BENCHMARK(BM_EqualIntDouble);
BENCHMARK(BM_CopyString);
BENCHMARK(BM_FloatToStr);
BENCHMARK(BM_FormatFloat);

BENCHMARK_MAIN();
