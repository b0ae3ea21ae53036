// Front-end speed: the grammar walk over a large script in each language, and the
// tokenizer alone. Prints source bytes per second.
#include "script/compiler/qsilparser.h"
#include "script/core/qsscript.h"
#include "script/grammar/qsgrammars.h"
#include "script/parser/qsparser.h"

#include <benchmark/benchmark.h>

namespace {

QString dozovoSource(int procedures)
{
    QString s = QStringLiteral("var total: Integer;\r\n");
    for (int i = 0; i < procedures; ++i)
        s += QStringLiteral("procedure P%1(var a: Integer; b: String = 'x');\r\nvar i: Integer;\r\nbegin\r\n"
                            "  for i := 0 to 10 do\r\n    if (a mod 2 = 0) and (b <> '') then a := a + i * 3 - Length(b)\r\n"
                            "    else Inc(total, <Sum[%1]>);\r\n  case a of 1, 2..5: a := $FF; else a := -1; end;\r\nend;\r\n")
                 .arg(i);
    return s + QStringLiteral("begin total := 0; end.\r\n");
}

QString jscriptSource(int functions)
{
    QString s;
    for (int i = 0; i < functions; ++i)
        s += QStringLiteral("function f%1(&a, b) {\r\n  for (var i = 0; i < 10; i++) {\r\n"
                            "    if (a % 2 == 0 && b != \"\") a += i * 3 - b.Length; else total = total + 1;\r\n  }\r\n"
                            "  switch (a) { case 1, 2..5: a = 0xFF; default: a = -1; }\r\n  return a;\r\n}\r\n")
                 .arg(i);
    return s;
}

void walkBench(benchmark::State &state, const QString &language, const QString &source)
{
    static const bool registered = [] {
        qsRegisterStandardLanguages();
        return true;
    }();
    (void)registered;
    TqsScript script;
    for (auto _ : state) {
        TqsILParser parser(&script);
        parser.SelectLanguage(language);
        if (!parser.MakeILScript(source))
            state.SkipWithError(qPrintable(script.ErrorMsg + QLatin1Char(' ') + script.ErrorPos));
        benchmark::DoNotOptimize(parser.ILScript().Root());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * source.size());
}

void BM_WalkDozovo(benchmark::State &state) { walkBench(state, QStringLiteral("DozovoZozedi"), dozovoSource(500)); }
void BM_WalkJScript(benchmark::State &state) { walkBench(state, QStringLiteral("JScript"), jscriptSource(500)); }

// The expression cache compiles one small wrapper per distinct expression.
void BM_WalkSmallExpression(benchmark::State &state)
{
    walkBench(state, QStringLiteral("DozovoZozedi"),
              QStringLiteral("function qsEvaluateFUNC: Variant; begin Result := [Qty] * <Price> + 1 end; begin end."));
}

// Reading an intermediate program back, as the builder does for a stored one.
void BM_ReadIntermediateProgram(benchmark::State &state)
{
    static const bool registered = [] {
        qsRegisterStandardLanguages();
        return true;
    }();
    (void)registered;
    TqsScript script;
    TqsILParser parser(&script);
    parser.SelectLanguage(QStringLiteral("DozovoZozedi"));
    parser.MakeILScript(dozovoSource(500));
    parser.ILScript().AutoIndent = true;
    const QByteArray il = parser.ILScript().SaveToBytes();
    for (auto _ : state) {
        TqsXMLDocument doc;
        doc.LoadFromBytes(il);
        benchmark::DoNotOptimize(doc.Root());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * il.size());
}

void BM_Tokenize(benchmark::State &state)
{
    const QString source = dozovoSource(500);
    TqsParser parser;
    for (auto _ : state) {
        parser.SetText(source);
        int tokens = 0;
        while (parser.Position() <= parser.Size()) {
            if (!parser.GetWordView().isEmpty() || !parser.GetNumber().isEmpty() || !parser.GetString().isEmpty()
                || !parser.GetCharView().isEmpty())
                ++tokens;
            else
                parser.SetPosition(parser.Position() + 1);
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * source.size());
}

} // namespace

BENCHMARK(BM_WalkDozovo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkJScript)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkSmallExpression)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadIntermediateProgram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tokenize)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
