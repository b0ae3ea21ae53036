// Colouring of script text and the completion rules.
#include "designer/core/codeeditor/codebuffer.h"
#include "designer/core/codeeditor/codecompletion.h"
#include "designer/core/codeeditor/syntaxhighlighter.h"
#include "script/grammar/qsgrammars.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Languages : ::testing::Test {
    static void SetUpTestSuite() { qsRegisterStandardLanguages(); }
};

// The classes of line Y's characters as letters: t text, c comment, k keyword, s string,
// n number.
std::string classes(const TkvlSyntaxHighlighter &h, int Y, int length)
{
    std::string out;
    for (int x = 1; x <= length; ++x)
        out += " tbcksn"[h.Attr(x, Y)];
    return out;
}

// A scan of the whole text from the top, as the tokenizer reads it, split into lines.
std::vector<QByteArray> scanFromTop(const QStringList &lines, const QString &syntax)
{
    TqsParser p;
    kvlSetSyntaxRules(p, syntax);
    const QString text = lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
    p.SetText(text);
    QByteArray a(text.size(), char(caText));
    auto mark = [&](int from, int to, TCharAttr v) {
        for (int i = from; i < to && i < a.size(); ++i)
            a[i] = char(v);
    };
    while (p.Position() <= p.Size()) {
        const int p0 = p.Position();
        p.SkipSpaces();
        const int p1 = p.Position();
        mark(p0 - 1, p1 - 1, caComment);
        if (p1 > p.Size())
            break;
        const QString w = p.GetWord();
        if (!w.isEmpty())
            mark(p1 - 1, p.Position() - 1, p.IsKeyWord(w) ? caKeyword : caText);
        else if (!p.GetNumber().isEmpty())
            mark(p1 - 1, p.Position() - 1, caNumber);
        else if (!p.GetString().isEmpty())
            mark(p1 - 1, p.Position() - 1, caString);
        else
            p.SetPosition(p1 + 1);
    }
    std::vector<QByteArray> out;
    int at = 0;
    for (const QString &l : lines) {
        QByteArray line = a.mid(at, l.size());
        for (int i = 0; i < l.size(); ++i)
            if (l[i].unicode() < 32)
                line[i] = char(caText);
        out.push_back(line);
        at += int(l.size()) + 2;
    }
    return out;
}

} // namespace

TEST_F(Languages, ClassesOfALanguageAndOfSql)
{
    struct {
        const char *syntax;
        QString line;
        std::string expected;
    } const cases[] = {
        {"DozovoZozedi", "begin s := 'ab'; { x } n := 123; end",
         "kkkkkctcttcsssstccccccctcttcnnntckkk"},
        {"DozovoZozedi", "x := $1F // note", "tcttcnnncccccccc"},
        {"SQL", "select a from t -- note", "kkkkkkctckkkkctcccccccc"},
        {"SQL", "/* c */ where \"q\" 0x1A", "cccccccckkkkkcssscnnnn"},
        {"JScript", "if (a) /* x */ b = \"s\";", "kkctttccccccccctctcssst"},
        {"DevavAraroz", "Dim x ' note", "kkkctccccccc"},
        {"nothing known", "begin 12", "tttttcnn"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.syntax);
        QStringList lines{c.line};
        TkvlSyntaxHighlighter h;
        h.SetSyntax(c.syntax);
        h.SetLines(&lines);
        h.Compute(0);
        EXPECT_EQ(classes(h, 1, int(c.line.size())), c.expected);
    }
}

TEST_F(Languages, TabsAndFormFeedsArePlainText)
{
    QStringList lines{QStringLiteral("{ a\tb }\fx")};
    TkvlSyntaxHighlighter h;
    h.SetSyntax(QStringLiteral("DozovoZozedi"));
    h.SetLines(&lines);
    h.Compute(0);
    EXPECT_EQ(classes(h, 1, 9), "ccctccctt");
}

TEST_F(Languages, ComputedLazilyDownToTheLineAsked)
{
    QStringList lines;
    for (int i = 0; i < 1000; ++i)
        lines << QStringLiteral("begin x := %1; end;").arg(i);
    TkvlSyntaxHighlighter h;
    h.SetSyntax(QStringLiteral("DozovoZozedi"));
    h.SetLines(&lines);
    h.Compute(40);
    EXPECT_EQ(h.ComputedCount(), 41);
    EXPECT_EQ(h.LineAttrs(41), nullptr);
    // A comment opened at the top recolours down to the window, not further.
    lines[0] = QStringLiteral("{ begin");
    h.LinesChanged(0, 1, 1);
    EXPECT_EQ(h.Compute(40), 40);
    EXPECT_EQ(h.ComputedCount(), 41);
    EXPECT_EQ(h.Attr(1, 41), caComment);
    // A keystroke that leaves the state alone rescans its line only.
    lines[10] = QStringLiteral("begin y := 1; end;");
    h.LinesChanged(10, 1, 1);
    EXPECT_EQ(h.Compute(40), 10);
}

TEST_F(Languages, AfterRandomEditsTheColoursEqualAScanFromTheTop)
{
    const std::pair<const char *, QStringList> scripts[] = {
        {"DozovoZozedi",
         {"program p;", "{ block", "  comment }", "var s: string;", "begin", "  s := 'it''s' + #13#10;",
          "  (* other", "  block *) x := $FF + 12.5e3; // line", "end."}},
        {"JScript", {"var a = \"x\\\"y\";", "/* one", " two */ if (a) {", "  b = 0x1F; // c", "}"}},
        {"DevavAraroz", {"Dim a", "' note", "rem more", "a = \"s\" /\\ b \\/ 3", "remote = 1"}},
        {"SQL", {"select a, b", "from t /* c", "d */ where x = \"q\" -- e", "order by 1"}},
    };
    const QString snippets[] = {"{", "}", "(*", "*)", "/*", "*/", "'", "\"", "//", "--", "'", "\r\n",
                                "begin", "12", " ", "x", "\\", "/\\", "\\/", "rem "};
    std::mt19937 rng(58);
    for (const auto &[syntax, script] : scripts) {
        SCOPED_TRACE(syntax);
        TkvlCodeBuffer b;
        TkvlSyntaxHighlighter h;
        h.SetSyntax(syntax);
        h.SetLines(&b.Lines());
        b.OnLinesChanged = [&](int f, int r, int a) { h.LinesChanged(f, r, a); };
        b.SetLines(script);
        h.Compute(2);
        for (int step = 0; step < 400; ++step) {
            const int y = 1 + int(rng() % b.LineCount());
            const int x = 1 + int(rng() % (b.Line(y - 1).size() + 2));
            b.SetPos(x, y);
            switch (rng() % 4) {
            case 0: { // delete a stretch, possibly across lines
                const int y2 = std::min(b.LineCount(), y + int(rng() % 2));
                b.Select(QPoint(x, y), QPoint(1 + int(rng() % 6), y2));
                b.SetSelText(QString());
                break;
            }
            default: b.SetSelText(snippets[rng() % std::size(snippets)]); break;
            }
            if (rng() % 2)
                h.Compute(int(rng() % b.LineCount()));
            if (rng() % 3)
                continue; // several edits between checks, as between two paints
            h.Compute(b.LineCount() - 1);
            const std::vector<QByteArray> expected = scanFromTop(b.Lines(), syntax);
            for (int i = 0; i < b.LineCount(); ++i) {
                ASSERT_NE(h.LineAttrs(i), nullptr);
                ASSERT_EQ(*h.LineAttrs(i), expected[i]) << "step " << step << " line " << i << ": "
                                                        << b.Line(i).toStdString();
            }
        }
    }
}

TEST(Completion, NameInFrontOfTheCaret)
{
    struct {
        QString line;
        int caret;
        QString name;
    } const cases[] = {
        {"x := Report.Page1.Memo1.Fo", 25, " Report.Page1.Memo1."},
        {"Memo1.", 7, "Memo1"}, // the character at the caret column is never read
        {"a := Items[i + 1].Fo", 19, " Items."},
        {"s := Copy(Memo1.Text, 1, 2).Le", 29, " Copy."},
        {"Memo1(')', 2).F", 15, "Memo1."},
        {"x := y)", 8, " y"},
        {"Memo1.Font   ", 20, "Memo1.Fon"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kvlCompletionName(c.line, c.caret), c.name) << c.line.toStdString();
}

TEST(Completion, WhatAnItemInserts)
{
    struct {
        QString item;
        QString text;
        int caretBack;
    } const cases[] = {
        {"Font: TFont", "Font", 0},
        {"Create(AOwner)", "Create()", 1},
        {"Create(AOwner: TComponent): Constructor", "Create()", 1},
        {"Clear", "Clear", 0},
        {"_x1(a)", "_x1()", 1},
        {"(odd)", "(odd", 0}, // the first character always counts
    };
    for (const auto &c : cases) {
        const TkvlCompletionInsert ins = kvlCompletionInsert(c.item);
        EXPECT_EQ(ins.Text, c.text) << c.item.toStdString();
        EXPECT_EQ(ins.CaretBack, c.caretBack) << c.item.toStdString();
    }
}
