// Attribute text of one object written and read back, as prepared pages do for every object
// of every page, and a template of a few thousand objects read whole.
#include "../../tests/serial/standins.h"

#include "platform/rtl/stream.h"
#include "report/appearance/frame.h"
#include "report/serial/xmlserializer.h"
#include "report/vars/kvlvariables.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void fillObject(TTestKinds &o)
{
    o.SetLeft(12.5);
    o.Count = 7;
    o.Kind = tkBlue;
    o.Flag = false;
    o.Ratio = 0.25;
    o.Caption = QStringLiteral("Totale fatture del mese");
    o.Memo = {QStringLiteral("one"), QStringLiteral("two")};
    o.Frame()->SetColor(255);
}

void BM_ObjToXML(benchmark::State &state)
{
    registerTestClasses();
    TTestKinds o(nullptr);
    fillObject(o);
    TkvlXMLSerializer s;
    QString out;
    for (auto _ : state) {
        out.clear();
        s.AppendObjXML(out, &o, QStringView(), nullptr);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ObjToXML);

void BM_XMLToObj(benchmark::State &state)
{
    registerTestClasses();
    TTestKinds o(nullptr);
    fillObject(o);
    TkvlXMLSerializer s;
    const QString text = s.ObjToXML(&o);
    TTestKinds r(nullptr);
    for (auto _ : state)
        s.XMLToObj(text, &r);
}
BENCHMARK(BM_XMLToObj);

void BM_ReadTemplate(benchmark::State &state)
{
    registerTestClasses();
    TTestReport rep;
    for (int p = 0; p < 20; ++p) {
        auto *page = new TkvlPage(&rep);
        page->SetName(QStringLiteral("Page%1").arg(p + 1));
        for (int i = 0; i < 200; ++i) {
            auto *m = new TTestMemo(page);
            m->SetName(QStringLiteral("Memo%1_%2").arg(p).arg(i));
            m->SetBounds(i, i * 2, 100, 20);
            m->Lines = {QStringLiteral("[Sum%1]").arg(i)};
        }
    }
    TMemoryStream m;
    rep.SaveToStream(m);
    for (auto _ : state) {
        TTestReport back;
        m.SetPosition(0);
        back.LoadFromStream(m);
        benchmark::DoNotOptimize(back.ObjectCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * m.Size());
}
BENCHMARK(BM_ReadTemplate)->Unit(benchmark::kMillisecond);

// A report of Count named memos: pages of five bands with 200 memos each.
void fillReport(TTestReport &rep, int count)
{
    TkvlPage *page = nullptr;
    TkvlComponent *band = nullptr;
    for (int i = 0; i < count; ++i) {
        if (i % 1000 == 0) {
            page = new TkvlPage(&rep);
            page->SetName(QStringLiteral("Page%1").arg(i / 1000 + 1));
        }
        if (i % 200 == 0) {
            band = new TTestMemo(page);  // any object may hold children
            band->SetName(QStringLiteral("Band%1").arg(i / 200 + 1));
        }
        auto *m = new TTestMemo(band);
        m->SetName(QStringLiteral("Memo%1").arg(i + 1));
        m->SetBounds(i % 200, 0, 100, 20);
    }
}

// Creating and naming every object (each name is checked against the whole report).
void BM_NameObjects(benchmark::State &state)
{
    registerTestClasses();
    for (auto _ : state) {
        auto *rep = new TTestReport;
        fillReport(*rep, int(state.range(0)));
        state.PauseTiming();
        delete rep;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_NameObjects)->Arg(4000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_LoadObjects(benchmark::State &state)
{
    registerTestClasses();
    TMemoryStream m;
    {
        TTestReport rep;
        fillReport(rep, int(state.range(0)));
        rep.SaveToStream(m);
    }
    for (auto _ : state) {
        auto *back = new TTestReport;
        m.SetPosition(0);
        back->LoadFromStream(m);
        state.PauseTiming();
        delete back;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadObjects)->Arg(4000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_DestroyReport(benchmark::State &state)
{
    registerTestClasses();
    for (auto _ : state) {
        state.PauseTiming();
        auto *rep = new TTestReport;
        fillReport(*rep, int(state.range(0)));
        state.ResumeTiming();
        delete rep;
    }
}
BENCHMARK(BM_DestroyReport)->Arg(2000)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

// The same with the processor's caches filled with other data first, as when a report that
// was made a while ago goes: a small report is then no longer cheaper per object for being
// still in the caches.
void BM_DestroyColdReport(benchmark::State &state)
{
    registerTestClasses();
    std::vector<char> other(size_t(64) << 20);
    for (auto _ : state) {
        state.PauseTiming();
        auto *rep = new TTestReport;
        fillReport(*rep, int(state.range(0)));
        for (size_t i = 0; i < other.size(); i += 64)
            other[i] = char(other[i] + 1);
        benchmark::DoNotOptimize(other.data());
        state.ResumeTiming();
        delete rep;
    }
}
BENCHMARK(BM_DestroyColdReport)->Arg(2000)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

// A template's variables as the loader makes them: each new item gets an internal name,
// then its own name.
void BM_LoadVariables(benchmark::State &state)
{
    const int n = int(state.range(0));
    for (auto _ : state) {
        TkvlVariables vars;
        for (int i = 0; i < n; ++i)
            vars.Add()->SetName(QStringLiteral("Var%1").arg(i));
        benchmark::DoNotOptimize(vars.Count());
    }
}
BENCHMARK(BM_LoadVariables)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
