// The interpreter's speed and size against Lua 5.4 and Qt's QJSEngine, in the same program,
// in each of the four languages: fib(20/25/30) recursive (about 10x the calls each step), an
// integer loop of 100k/1M/10M turns, a float loop, text appends in a loop (1x and 10x),
// compiling 500, 5,000 and 50,000 lines, and the memory a small compiled script needs while
// it runs; and what the host's check on a running script costs (with and without it).
// Without arguments it prints a table of the best of five interleaved runs (thread CPU
// time), each case measured warm at every size: a single cold run of a large compile is
// dominated by the first touch of fresh heap pages. With a filter only the Google Benchmark
// cases run.

#include "script/core/qsscript.h"
#include "script/grammar/qsgrammars.h"
#include "script/items/qsitems.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <QCoreApplication>
#include <QJSEngine>
#include <QStringList>

#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>

namespace {

// ---- Programs

struct Program
{
    const char *dozovo, *iraved, *devav, *jscript, *lua, *js; // ours in the four languages, then the peers
    const char *ours(const char *language) const
    {
        switch (language[1]) {
        case 'o': return dozovo;
        case '+': return iraved;
        case 'e': return devav;
        default: return jscript;
        }
    }
};

const char *const Languages[] = {"DozovoZozedi", "D++Iraved", "DevavAraroz", "JScript"};

// A program's text with its size put in (every %d of the pattern), kept for the program's run.
const char *kept(const char *pattern, int n)
{
    static std::vector<std::unique_ptr<std::string>> keep;
    char buf[512];
    std::snprintf(buf, sizeof buf, pattern, n, n, n);
    keep.push_back(std::make_unique<std::string>(buf));
    return keep.back()->c_str();
}

Program fibOf(int n)
{
    return {kept("function fib(n: Integer): Integer;\n"
                 "begin if n < 2 then Result := n else Result := fib(n - 1) + fib(n - 2) end;\n"
                 "var r: Integer;\nbegin r := fib(%d) end.", n),
            kept("int fib(int n) { if (n < 2) return n; return fib(n - 1) + fib(n - 2); }\nint r;\n{ r = fib(%d); }", n),
            kept("Function fib(n)\n  If n < 2 Then\n    Return n\n  End If\n  Return fib(n - 1) + fib(n - 2)\n"
                 "End Function\nDim r\nr = fib(%d)", n),
            kept("function fib(n) { if (n < 2) return n; return fib(n - 1) + fib(n - 2); }\nvar r = fib(%d);", n),
            kept("local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end\nlocal r = fib(%d)", n),
            kept("(function() { function fib(n) { if (n < 2) return n; return fib(n - 1) + fib(n - 2); } return fib(%d); })()", n)};
}

Program intLoopOf(int n)
{
    return {kept("var s, i: Integer;\nbegin s := 0; for i := 1 to %d do s := (s + i) mod 1000 end.", n),
            kept("int s, i;\n{ s = 0; for (i = 1; i <= %d; i++) s = (s + i) %% 1000; }", n),
            kept("Dim s, i\ns = 0\nFor i = 1 To %d\n  s = (s + i) Mod 1000\nNext", n),
            kept("var s = 0;\nfor (var i = 1; i <= %d; i++) s = (s + i) %% 1000;", n),
            kept("local s = 0\nfor i = 1, %d do s = (s + i) %% 1000 end", n),
            kept("(function() { var s = 0; for (var i = 1; i <= %d; i++) s = (s + i) %% 1000; return s; })()", n)};
}

Program floatLoopOf(int n)
{
    return {kept("var x: Double; i: Integer;\nbegin x := 0; for i := 1 to %d do x := x * 0.5 + 1.25 end.", n),
            kept("double x; int i;\n{ x = 0; for (i = 1; i <= %d; i++) x = x * 0.5 + 1.25; }", n),
            kept("Dim x, i\nx = 0.0\nFor i = 1 To %d\n  x = x * 0.5 + 1.25\nNext", n),
            kept("var x = 0.0;\nfor (var i = 1; i <= %d; i++) x = x * 0.5 + 1.25;", n),
            kept("local x = 0.0\nfor i = 1, %d do x = x * 0.5 + 1.25 end", n),
            kept("(function() { var x = 0.0; for (var i = 1; i <= %d; i++) x = x * 0.5 + 1.25; return x; })()", n)};
}

Program appends(int n)
{
    return {kept("var s: String; i: Integer;\nbegin s := ''; for i := 1 to %d do s := s + 'abcde' end.", n),
            kept("string s; int i;\n{ s = \"\"; for (i = 1; i <= %d; i++) s = s + \"abcde\"; }", n),
            kept("Dim s, i\ns = \"\"\nFor i = 1 To %d\n  s = s & \"abcde\"\nNext", n),
            kept("var s = \"\";\nfor (var i = 1; i <= %d; i++) s = s + \"abcde\";", n),
            kept("local s = ''\nfor i = 1, %d do s = s .. 'abcde' end", n),
            kept("(function() { var s = ''; for (var i = 1; i <= %d; i++) s = s + 'abcde'; return s.length; })()", n)};
}

const Program fib = fibOf(30);
const Program intLoop = intLoopOf(10000000);
const Program floatLoop = floatLoopOf(10000000);

// A script of about `lines` lines: five-line procedures that declare, compute and branch.
QString sourceOf(const char *language, int lines)
{
    const QString lang = QString::fromLatin1(language);
    QString s;
    const int procs = lines / 5;
    if (lang == QLatin1String("DozovoZozedi")) {
        s = QStringLiteral("var x: Integer;\n");
        for (int i = 0; i < procs; ++i)
            s += QStringLiteral("procedure P%1(a: Integer);\nvar b: Integer;\nbegin b := a * 2 + %1;\n"
                                "  if b > 10 then b := b - 1 else b := b + 1; x := x + b;\nend;\n").arg(i);
        s += QStringLiteral("begin x := 0 end.\n");
    } else if (lang == QLatin1String("D++Iraved")) {
        s = QStringLiteral("int x;\n");
        for (int i = 0; i < procs; ++i)
            s += QStringLiteral("void P%1(int a) {\n  int b;\n  b = a * 2 + %1;\n"
                                "  if (b > 10) b = b - 1; else b = b + 1; x = x + b;\n}\n").arg(i);
        s += QStringLiteral("{ x = 0; }\n");
    } else if (lang == QLatin1String("DevavAraroz")) {
        s = QStringLiteral("Dim x\n");
        for (int i = 0; i < procs; ++i)
            s += QStringLiteral("Sub P%1(a)\n  Dim b\n  b = a * 2 + %1\n  x = x + b\nEnd Sub\n").arg(i);
        s += QStringLiteral("x = 0\n");
    } else if (lang == QLatin1String("JScript") || lang == QLatin1String("js")) {
        s = QStringLiteral("var x = 0;\n");
        for (int i = 0; i < procs; ++i)
            s += QStringLiteral("function P%1(a) {\n  var b = a * 2 + %1;\n"
                                "  if (b > 10) b = b - 1; else b = b + 1;\n  x = x + b;\n}\n").arg(i);
    } else { // lua
        s = QStringLiteral("x = 0\n");
        for (int i = 0; i < procs; ++i)
            s += QStringLiteral("function P%1(a)\n  local b = a * 2 + %1\n"
                                "  if b > 10 then b = b - 1 else b = b + 1 end\n  x = x + b\nend\n").arg(i);
    }
    return s;
}

// ---- Engines

void ensureLanguages()
{
    static const bool languages = [] {
        qsRegisterStandardLanguages();
        return true;
    }();
    (void)languages;
}

std::unique_ptr<TqsScript> compiled(const char *language, const QString &source)
{
    ensureLanguages();
    auto s = std::make_unique<TqsScript>();
    s->AddRTTI();
    s->SyntaxType = QString::fromLatin1(language);
    s->Lines = source.split(QLatin1Char('\n'));
    if (!s->Compile()) {
        std::fprintf(stderr, "compile failed: %s at %s\n", qPrintable(s->ErrorMsg), qPrintable(s->ErrorPos));
        std::abort();
    }
    return s;
}

struct Lua
{
    lua_State *L;
    int ref = LUA_NOREF;
    Lua() : L(luaL_newstate()) { luaL_openlibs(L); }
    explicit Lua(const char *source) : Lua() { load(source); }
    ~Lua() { lua_close(L); }
    void load(const char *source)
    {
        if (luaL_loadstring(L, source) != LUA_OK)
            std::abort();
        ref = luaL_ref(L, LUA_REGISTRYINDEX);
    }
    void run()
    {
        lua_rawgeti(L, LUA_REGISTRYINDEX, ref);
        if (lua_pcall(L, 0, 0, 0) != LUA_OK)
            std::abort();
    }
};

void runJs(QJSEngine &engine, const QString &source)
{
    const QJSValue v = engine.evaluate(source);
    if (v.isError()) {
        std::fprintf(stderr, "QJSEngine: %s\n", qPrintable(v.toString()));
        std::abort();
    }
}

// Thread CPU time: steadier than wall time on a shared machine.
double cpuNow()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double timed(const std::function<void()> &f)
{
    const double t0 = cpuNow();
    f();
    return cpuNow() - t0;
}

// Best of five runs of each, interleaved so that the machine's load falls on all alike.
std::vector<double> bestOf5(const std::vector<std::function<void()>> &runs)
{
    std::vector<double> best(runs.size(), 1e30);
    for (int i = 0; i < 5; ++i)
        for (size_t k = 0; k < runs.size(); ++k)
            best[k] = std::min(best[k], timed(runs[k]));
    return best;
}

// The same with an untimed preparation before each timed run.
struct Prepared
{
    std::function<void()> prepare, run;
};
std::vector<double> bestOf5(const std::vector<Prepared> &cases)
{
    std::vector<double> best(cases.size(), 1e30);
    for (int i = 0; i < 5; ++i)
        for (size_t k = 0; k < cases.size(); ++k) {
            cases[k].prepare();
            best[k] = std::min(best[k], timed(cases[k].run));
        }
    return best;
}

void printRow(const char *title, const char *language, double ours, double lua, double js)
{
    std::printf("%-22s %-13s %9.2f ms  Lua %9.2f ms  QJSEngine %9.2f ms  ratio Lua %5.2f  QJSEngine %5.2f\n", title,
                language, ours * 1e3, lua * 1e3, js * 1e3, ours / lua, ours / js);
}

void compareRun(const char *title, const Program &p)
{
    QJSEngine engine;
    Lua lua(p.lua);
    const QString js = QString::fromLatin1(p.js);
    for (const char *language : Languages) {
        auto s = compiled(language, QString::fromLatin1(p.ours(language)));
        const auto t = bestOf5({[&] { s->Execute(); }, [&] { lua.run(); }, [&] { runJs(engine, js); }});
        printRow(title, language, t[0], t[1], t[2]);
    }
}

// The cost of the host's check on a running script: the same program run without a check
// and with one (a hook that lets nothing through, called as often as the script's loops
// and calls allow), interleaved in the same run.
void comparePoll(const char *title, const Program &p)
{
    for (const char *language : Languages) {
        auto plain = compiled(language, QString::fromLatin1(p.ours(language)));
        auto checked = compiled(language, QString::fromLatin1(p.ours(language)));
        int polls = 0;
        checked->SetOnPoll([&polls] {
            ++polls;
            return false;
        });
        const auto t = bestOf5({[&] { plain->Execute(); }, [&] { checked->Execute(); }});
        std::printf("%-22s %-13s %9.2f ms without check  %9.2f ms with  cost %+5.1f%%  (%d calls of the hook)\n", title,
                    language, t[0] * 1e3, t[1] * 1e3, (t[1] / t[0] - 1) * 100, polls);
    }
}

// How our cost grows with ten times the appends (the peers' own growth is quadratic here,
// so they run at 1x only, above).
void appendGrowth()
{
    for (const char *language : Languages) {
        const Program one = appends(100000), ten = appends(1000000);
        auto a = compiled(language, QString::fromLatin1(one.ours(language)));
        auto b = compiled(language, QString::fromLatin1(ten.ours(language)));
        const auto t = bestOf5({[&] { a->Execute(); }, [&] { b->Execute(); }});
        std::printf("%-22s %-13s %9.2f ms at 1x  %9.2f ms at 10x  growth %5.2f\n", "appends 100,000 x10", language,
                    t[0] * 1e3, t[1] * 1e3, t[1] / t[0]);
    }
}

std::unique_ptr<TqsScript> emptyScript(const char *language)
{
    ensureLanguages();
    auto s = std::make_unique<TqsScript>();
    s->AddRTTI();
    s->SyntaxType = QString::fromLatin1(language);
    return s;
}

void compileInto(TqsScript &s, const QString &source)
{
    s.Lines = source.split(QLatin1Char('\n'));
    if (!s.Compile()) {
        std::fprintf(stderr, "compile failed: %s at %s\n", qPrintable(s.ErrorMsg), qPrintable(s.ErrorPos));
        std::abort();
    }
}

// Compiling only: each side's state (our script with its modules, a Lua state with its
// libraries, a QJSEngine) is made before the clock starts and freed after it stops.
void compareCompile(int lines)
{
    const QByteArray luaSource = sourceOf("lua", lines).toUtf8();
    const QString jsSource = sourceOf("js", lines);
    for (const char *language : Languages) {
        const QString source = sourceOf(language, lines);
        std::unique_ptr<TqsScript> ours;
        std::unique_ptr<Lua> lua;
        std::unique_ptr<QJSEngine> engine;
        const auto t = bestOf5({{[&] { ours = emptyScript(language); }, [&] { compileInto(*ours, source); }},
                                {[&] { lua = std::make_unique<Lua>(); }, [&] { lua->load(luaSource.constData()); }},
                                {[&] { engine = std::make_unique<QJSEngine>(); }, [&] { runJs(*engine, jsSource); }}});
        char title[64];
        std::snprintf(title, sizeof title, "compile %d lines", lines);
        printRow(title, language, t[0], t[1], t[2]);
    }
}

size_t heapInUse() { return mallinfo2().uordblks; }

void memoryOnce(size_t &ours, size_t &lua)
{
    const char *source = "var s: String; i: Integer;\n"
                         "function Twice(n: Integer): Integer; begin Result := n * 2 end;\n"
                         "begin s := ''; for i := 1 to 10 do s := s + IntToStr(Twice(i)); Probe end.";
    ensureLanguages();
    {
        const size_t before = heapInUse();
        auto s = std::make_unique<TqsScript>();
        s->AddRTTI();
        s->AddMethod(QStringLiteral("procedure Probe"), [&](const Variant &, const QString &, TqsMethodHelper &) {
            ours = heapInUse() - before;
            return Variant(0);
        });
        s->Lines = QString::fromLatin1(source).split(QLatin1Char('\n'));
        if (!s->Compile())
            std::abort();
        s->Execute();
    }
    {
        const size_t before = heapInUse();
        lua_State *L = luaL_newstate();
        luaL_openlibs(L);
        if (luaL_loadstring(L, "local s = ''\nlocal function twice(n) return n * 2 end\n"
                               "for i = 1, 10 do s = s .. tostring(twice(i)) end") != LUA_OK
            || lua_pcall(L, 0, 0, 0) != LUA_OK)
            std::abort();
        lua = heapInUse() - before;
        lua_close(L);
    }
}

// Heap taken by a small script compiled and running (measured inside its run), and by Lua
// doing the same. Measured on a second run: the first also loads what every script of the
// process shares (the grammars' tables, the locale).
void compareMemory()
{
    for (int warm = 0; warm < 2; ++warm) {
        size_t ours = 0, lua = 0;
        memoryOnce(ours, lua);
        if (warm)
            std::printf("%-22s %-13s %9.1f KB  Lua %9.1f KB\n", "memory, small script", "DozovoZozedi", ours / 1024.0,
                        lua / 1024.0);
    }
}

// ---- Google Benchmark cases

void BM_Script(benchmark::State &state, const char *language, const char *source)
{
    auto s = compiled(language, QString::fromLatin1(source));
    for (auto _ : state)
        s->Execute();
}

void BM_Lua(benchmark::State &state, const char *source)
{
    Lua lua(source);
    for (auto _ : state)
        lua.run();
}

void BM_QJSEngine(benchmark::State &state, const char *source)
{
    QJSEngine engine;
    const QString js = QString::fromLatin1(source);
    for (auto _ : state)
        runJs(engine, js);
}

void BM_Compile(benchmark::State &state, const char *language)
{
    const QString source = sourceOf(language, int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto s = emptyScript(language);
        state.ResumeTiming();
        compileInto(*s, source);
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK_CAPTURE(BM_Script, dozovo_fib30, "DozovoZozedi", fib.dozovo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Script, jscript_fib30, "JScript", fib.jscript)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lua, lua_fib30, fib.lua)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QJSEngine, qjs_fib30, fib.js)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Script, dozovo_loop10M, "DozovoZozedi", intLoop.dozovo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Script, jscript_loop10M, "JScript", intLoop.jscript)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lua, lua_loop10M, intLoop.lua)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QJSEngine, qjs_loop10M, intLoop.js)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Script, dozovo_floatloop10M, "DozovoZozedi", floatLoop.dozovo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lua, lua_floatloop10M, floatLoop.lua)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QJSEngine, qjs_floatloop10M, floatLoop.js)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Compile, dozovo, "DozovoZozedi")->Arg(500)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Compile, jscript, "JScript")->Arg(500)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // QJSEngine wants one
    // Without arguments the whole side-by-side table; "table <part>..." only those parts
    // (calls, loops, check, appends, compile, memory); other arguments go to Google Benchmark.
    const bool table = argc == 1 || std::strcmp(argv[1], "table") == 0;
    if (table) {
        auto wanted = [&](const char *part) {
            if (argc <= 2)
                return true;
            for (int i = 2; i < argc; ++i)
                if (std::strcmp(argv[i], part) == 0)
                    return true;
            return false;
        };
        if (wanted("calls")) {
            compareRun("fib(20)", fibOf(20));
            compareRun("fib(25)", fibOf(25));
            compareRun("fib(30)", fib);
        }
        if (wanted("loops")) {
            compareRun("integer loop 100k", intLoopOf(100000));
            compareRun("integer loop 1M", intLoopOf(1000000));
            compareRun("integer loop 10M", intLoop);
            compareRun("float loop 10M", floatLoop);
        }
        if (wanted("check")) {
            comparePoll("fib(30)", fib);
            comparePoll("integer loop 10M", intLoop);
            comparePoll("float loop 10M", floatLoop);
        }
        if (wanted("appends")) {
            compareRun("appends 100,000", appends(100000));
            appendGrowth();
        }
        if (wanted("compile")) {
            compareCompile(500);
            compareCompile(5000);
            compareCompile(50000);
        }
        if (wanted("memory"))
            compareMemory();
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
