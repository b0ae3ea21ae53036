// Property lookup and access as the serializer and the script bindings do them per record.
#include "platform/gfx/tfont.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/variant.h"

#include <benchmark/benchmark.h>

static void FindPropByName(benchmark::State &state)
{
    const rtl::ClassInfo *ci = TFont::StaticClass();
    const QString name = QStringLiteral("orientation");
    for (auto _ : state)
        benchmark::DoNotOptimize(ci->findProp(name));
}
BENCHMARK(FindPropByName);

static void FindPropByKey(benchmark::State &state)
{
    const rtl::ClassInfo *ci = TFont::StaticClass();
    const rtl::PropKey key(QStringLiteral("Orientation"));
    for (auto _ : state)
        benchmark::DoNotOptimize(ci->findProp(key));
}
BENCHMARK(FindPropByKey);

static void GetOrdinal(benchmark::State &state)
{
    TFont f;
    const rtl::PropInfo *p = TFont::StaticClass()->findProp(u"Height");
    for (auto _ : state)
        benchmark::DoNotOptimize(p->getOrd(&f));
}
BENCHMARK(GetOrdinal);

static void SetOrdinalThroughVariant(benchmark::State &state)
{
    TFont f;
    const rtl::PropInfo *p = TFont::StaticClass()->findProp(u"Style");
    const Variant v(3);
    for (auto _ : state)
        p->setValue(&f, v);
}
BENCHMARK(SetOrdinalThroughVariant);

BENCHMARK_MAIN();
