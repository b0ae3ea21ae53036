// The script editor beside QPlainTextEdit with a highlighter colouring the same keywords,
// same text, font (Courier New 10), size (1920 x 1080) and keystrokes, in one run:
//   a character typed at the top, middle and end of scripts of 1,000 / 10,000 / 100,000
//   lines, each followed by the repaint it causes;
//   opening the text with its first paint; a page scroll; a search without a match.
// At the end the goals are printed: keystroke against the peer at 10,000 lines, keystroke
// flatness from 1,000 to 100,000 lines, and growth of opening and search from 10,000 to
// 100,000 lines (10 is linear).
#include "bench/support/ratioreporter.h"
#include "designer/widgets/syntaxmemo.h"
#include "script/grammar/qsgrammars.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTest>
#include <QTextDocument>
#include <cstdio>
#include <memory>

namespace {

const char kKeywords[] = "and|array|begin|break|case|const|continue|div|do|downto|else|end|except|exit|finally|"
                         "for|function|goto|if|in|is|label|mod|not|of|or|procedure|program|repeat|shl|shr|then|"
                         "to|try|until|uses|var|while|with|xor";

class PeerHighlighter : public QSyntaxHighlighter {
public:
    explicit PeerHighlighter(QTextDocument *doc)
        : QSyntaxHighlighter(doc), FWords(QStringLiteral("\\b(%1)\\b").arg(QLatin1String(kKeywords)),
                                          QRegularExpression::CaseInsensitiveOption)
    {
        FBold.setFontWeight(QFont::Bold);
    }

protected:
    void highlightBlock(const QString &text) override
    {
        for (auto it = FWords.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            setFormat(int(m.capturedStart()), int(m.capturedLength()), FBold);
        }
    }

private:
    QRegularExpression FWords;
    QTextCharFormat FBold;
};

QStringList script(int lines)
{
    QStringList out;
    out.reserve(lines);
    for (int i = 0; i < lines; ++i)
        switch (i % 4) {
        case 0: out << QStringLiteral("begin"); break;
        case 1: out << QStringLiteral("  x := x + %1; s := 'abc'; { note }").arg(i); break;
        case 2: out << QStringLiteral("  if x > 3 then y := x div 2 else y := 0;"); break;
        default: out << QStringLiteral("end;"); break;
        }
    return out;
}

const QStringList &cachedScript(int lines)
{
    static std::map<int, QStringList> cache;
    auto it = cache.find(lines);
    if (it == cache.end())
        it = cache.emplace(lines, script(lines)).first;
    return it->second;
}

// One editor of either kind, shown at 1920 x 1080 with the text loaded and painted.
struct Editor {
    Editor(bool ours, int lines)
    {
        if (ours) {
            memo = std::make_unique<TkvlSyntaxMemo>();
            memo->SetSyntax(QStringLiteral("DozovoZozedi"));
            widget = memo.get();
        } else {
            peer = std::make_unique<QPlainTextEdit>();
            peer->setFont(QFont(QStringLiteral("Courier New"), 10));
            peer->setLineWrapMode(QPlainTextEdit::NoWrap);
            new PeerHighlighter(peer->document());
            widget = peer.get();
        }
        widget->resize(1920, 1080);
        widget->show();
        load(cachedScript(lines));
        widget->setFocus();
        QApplication::processEvents();
    }
    void load(const QStringList &text)
    {
        if (memo)
            memo->SetLines(text);
        else
            peer->setPlainText(text.join(QLatin1Char('\n')));
        QApplication::processEvents();
    }
    // Caret to the start of a line, counted from 1.
    void goTo(int line)
    {
        if (memo)
            memo->SetPos(1, line);
        else {
            QTextCursor c(peer->document()->findBlockByNumber(line - 1));
            peer->setTextCursor(c);
            peer->ensureCursorVisible();
        }
        QApplication::processEvents();
    }
    bool find(const QString &text)
    {
        if (memo) {
            int from = 0;
            return memo->Find(text, false, from);
        }
        return !peer->document()->find(text).isNull();
    }
    QWidget *input() const { return widget; }

    std::unique_ptr<TkvlSyntaxMemo> memo;
    std::unique_ptr<QPlainTextEdit> peer;
    QWidget *widget = nullptr;
};

int linesOf(const benchmark::State &s) { return int(s.range(1)); }
bool oursOf(const benchmark::State &s) { return s.range(0) == 0; }

// A character typed, and the repaint it causes; a Backspace outside the timing keeps the
// line as it was.
void Keystroke(benchmark::State &state)
{
    Editor e(oursOf(state), linesOf(state));
    const int where = int(state.range(2));
    const int line = where == 0 ? 2 : where == 1 ? linesOf(state) / 2 : linesOf(state) - 2;
    e.goTo(line);
    QTest::keyClick(e.input(), Qt::Key_End);
    QApplication::processEvents();
    for (auto _ : state) {
        QTest::keyClick(e.input(), Qt::Key_Q);
        QApplication::processEvents();
        state.PauseTiming();
        QTest::keyClick(e.input(), Qt::Key_Backspace);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void OpenAndPaint(benchmark::State &state)
{
    Editor e(oursOf(state), 1);
    const QStringList &text = cachedScript(linesOf(state));
    for (auto _ : state) {
        e.load(text);
        state.PauseTiming();
        e.load({QString()});
        state.ResumeTiming();
    }
}

void PageScroll(benchmark::State &state)
{
    Editor e(oursOf(state), linesOf(state));
    e.goTo(linesOf(state) / 2);
    bool down = true;
    for (auto _ : state) {
        QTest::keyClick(e.input(), down ? Qt::Key_PageDown : Qt::Key_PageUp);
        QApplication::processEvents();
        down = !down;
    }
}

void FindNothing(benchmark::State &state)
{
    Editor e(oursOf(state), linesOf(state));
    for (auto _ : state)
        benchmark::DoNotOptimize(e.find(QStringLiteral("zzq")));
}

void lineArgs(benchmark::internal::Benchmark *b, bool where)
{
    for (int ours : {0, 1})
        for (int lines : {1000, 10000, 100000})
            if (where)
                for (int w : {0, 1, 2})
                    b->Args({ours, lines, w});
            else
                b->Args({ours, lines});
    b->ArgNames(where ? std::vector<std::string>{"peer", "lines", "where"}
                      : std::vector<std::string>{"peer", "lines"});
    b->Unit(benchmark::kMillisecond);
}

double at(const std::map<std::string, double> &t, const std::string &name)
{
    const auto it = t.find(name);
    return it == t.end() ? 0 : it->second;
}

} // namespace

BENCHMARK(Keystroke)->Apply([](auto *b) { lineArgs(b, true); })->MinTime(0.3);
BENCHMARK(OpenAndPaint)->Apply([](auto *b) { lineArgs(b, false); })->MinTime(0.3);
BENCHMARK(PageScroll)->Apply([](auto *b) { lineArgs(b, false); })->MinTime(0.3);
BENCHMARK(FindNothing)->Apply([](auto *b) { lineArgs(b, false); })->MinTime(0.3);

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QApplication app(argc, argv);
    qsRegisterStandardLanguages();
    benchmark::Initialize(&argc, argv);
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto &t = reporter.times;
    auto name = [](const char *what, int peer, int lines, int where = -1) {
        std::string s = std::string(what) + "/peer:" + std::to_string(peer) + "/lines:" + std::to_string(lines);
        if (where >= 0)
            s += "/where:" + std::to_string(where);
        return s + "/min_time:0.300";
    };
    std::printf("\nGoals (10,000 lines unless said):\n");
    for (int w = 0; w < 3; ++w) {
        const double ours = at(t, name("Keystroke", 0, 10000, w)), peer = at(t, name("Keystroke", 1, 10000, w));
        const double flat = at(t, name("Keystroke", 0, 100000, w)) / std::max(1e-9, at(t, name("Keystroke", 0, 1000, w)));
        std::printf("  keystroke %-6s ours/peer %.2f (goal <= 1)   100k/1k lines %.2f (goal <= 2)\n",
                    w == 0 ? "top" : w == 1 ? "middle" : "end", ours / std::max(1e-9, peer), flat);
    }
    for (const char *what : {"OpenAndPaint", "FindNothing"})
        std::printf("  %-12s 100k/10k lines %.1f (linear: about 10)\n", what,
                    at(t, name(what, 0, 100000)) / std::max(1e-9, at(t, name(what, 0, 10000))));
    return 0;
}
