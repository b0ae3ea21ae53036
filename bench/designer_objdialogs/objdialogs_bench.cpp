// The display-format fill and the text-object editor beside their peers, in one run:
//   the format list filled from texts with 10, 100 and 1,000 bracketed expressions, beside
//   kvlGetBrackedVariableW walking the same text (goal: at most 3x);
//   the text-object editor shown and closed with OK on texts of 1,000, 10,000 and 100,000
//   lines, beside a bare QPlainTextEdit set to and read from the same text (goal: at most 2x
//   from 10,000 lines).
// Both should grow linearly. The ratios are printed at the end.
#include "bench/support/ratioreporter.h"
#include "designer/core/formateditor.h"
#include "designer/core/resources/designerstrings.h"
#include "designer/widgets/memoeditorform.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/resources/kvlresources.h"
#include "report/utils/textutils.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

QString expressions(int N)
{
    QString s;
    for (int i = 0; i < N; ++i)
        s += QStringLiteral("Campo %1: [EVENTS.\"F%1\"] con [SUM(<EVENTS.\"N%1\">,MasterData1)]\r\n").arg(i);
    return s;
}

QString lines(int N)
{
    QString s;
    for (int i = 0; i < N; ++i)
        s += QStringLiteral("Riga %1 del testo di un evento del calendario\r\n").arg(i);
    return s;
}

struct Memo {
    std::unique_ptr<TkvlReport> report = std::make_unique<TkvlReport>(nullptr);
    TkvlMemoView *memo = new TkvlMemoView(report.get());
    explicit Memo(const QString &Text) { memo->SetText(Text); }
};

void BM_FillFormats(benchmark::State &state)
{
    // Half the expressions come in each line: N lines give 2N expressions; N/2 keeps the count.
    Memo m(expressions(int(state.range(0)) / 2));
    TkvlFormatEditor e;
    e.SetMemo(m.memo);
    for (auto _ : state) {
        e.Fill();
        benchmark::DoNotOptimize(e.Entries().size());
    }
}

void BM_BrackedWalk(benchmark::State &state)
{
    const QString text = Memo(expressions(int(state.range(0)) / 2)).memo->Text();
    const QString open = QStringLiteral("["), close = QStringLiteral("]");
    for (auto _ : state) {
        int found = 0, from = 0;
        for (;;) {
            const int at = text.indexOf(open, from);
            if (at < 0)
                break;
            int i = at + 1, j = 0;
            const QString expr = kvlGetBrackedVariableW(text, open, close, i, j);
            if (i == j)
                break;
            found += int(expr.size() > 0);
            from = j;
        }
        benchmark::DoNotOptimize(found);
    }
}

void BM_MemoEditorOk(benchmark::State &state)
{
    Memo m(lines(int(state.range(0))));
    for (auto _ : state) {
        TkvlMemoEditorForm f(nullptr, nullptr);
        f.MemoView = m.memo;
        f.show();
        f.done(QDialog::Accepted);
        benchmark::DoNotOptimize(f.Text.size());
    }
}

void BM_PlainTextEditPeer(benchmark::State &state)
{
    const QString text = Memo(lines(int(state.range(0)))).memo->Text();
    for (auto _ : state) {
        QPlainTextEdit edit;
        edit.setPlainText(text);
        edit.show();
        const QString back = edit.toPlainText();
        benchmark::DoNotOptimize(back.size());
    }
}

BENCHMARK(BM_FillFormats)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BrackedWalk)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoEditorOk)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainTextEditPeer)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QApplication app(argc, argv);
    kvlInitReportUnit();
    kvlAddDesignerStrings();
    benchmark::Initialize(&argc, argv);
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char *ours, const char *peer, const char *n) { reporter.PrintRatio(ours, peer, n); };
    for (const char *n : {"10", "100", "1000"})
        ratio("BM_FillFormats", "BM_BrackedWalk", n);
    for (const char *n : {"1000", "10000", "100000"})
        ratio("BM_MemoEditorOk", "BM_PlainTextEditPeer", n);
    return 0;
}
