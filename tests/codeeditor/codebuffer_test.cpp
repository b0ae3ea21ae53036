// The script editor's text: key sequences against the text, caret and marks they leave.
#include "designer/core/codeeditor/codebuffer.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <random>

namespace {

// One step of a sequence: a key with modifiers, typed text, or a caret placement.
struct Step {
    int key = 0;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
    QString text;
    QPoint pos;
};
Step K(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) { return {key, mods, {}, {}}; }
Step Ctrl(int key) { return K(key, Qt::ControlModifier); }
Step T(const QString &text) { return {0, Qt::NoModifier, text, {}}; }
Step At(int x, int y) { return {0, Qt::NoModifier, {}, QPoint(x, y)}; }

void run(TkvlCodeBuffer &b, const std::vector<Step> &steps)
{
    for (const Step &s : steps) {
        if (!s.pos.isNull())
            b.MouseTo(s.pos.x(), s.pos.y(), false);
        else if (!s.text.isEmpty())
            b.KeyPress(s.text, s.mods);
        else
            b.KeyDown(s.key, s.mods);
    }
}

QStringList numbered(int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << QStringLiteral("line %1").arg(i);
    return l;
}

struct Case {
    const char *name;
    QStringList lines;
    std::function<void(TkvlCodeBuffer &)> setup;
    std::vector<Step> steps;
    QStringList expected;
    QPoint caret;
    std::function<void(const TkvlCodeBuffer &)> check;
};

} // namespace

TEST(CodeBuffer, KeySequences)
{
    const QString indented8 = QStringLiteral("        b");
    std::vector<Step> forty;
    for (int i = 0; i < 40; ++i) {
        forty.push_back(T(QStringLiteral("x")));
        forty.push_back(K(Qt::Key_Home));
    }
    for (int i = 0; i < 40; ++i)
        forty.push_back(Ctrl(Qt::Key_Z));

    const std::vector<Case> cases = {
        {"typed run is one undo step", {""}, {}, {T("a"), T("b"), T("c"), Ctrl(Qt::Key_Z)}, {""}, {1, 1}, {}},
        {"typing, moving, typing: two steps", {""}, {},
         {T("a"), T("b"), K(Qt::Key_Left), T("X"), Ctrl(Qt::Key_Z)}, {"ab"}, {2, 1}, {}},
        {"40 steps leave 32", {""}, {}, forty, {"xxxxxxxx"}, {1, 1}, {}},
        {"typing beyond the text pads with blanks", {"abcde"}, {}, {At(20, 1), T("X")},
         {"abcde" + QString(14, ' ') + "X"}, {21, 1}, {}},
        {"Enter keeps the indentation", {"    foo"}, {}, {K(Qt::Key_End), K(Qt::Key_Return)}, {"    foo", "    "},
         {5, 2}, {}},
        {"Enter undone restores the one line", {"    foo"}, {},
         {K(Qt::Key_End), K(Qt::Key_Return), Ctrl(Qt::Key_Z)}, {"    foo"}, {8, 1}, {}},
        {"Enter in mid-line splits it", {"  ab cd"}, {}, {At(6, 1), K(Qt::Key_Return)}, {"  ab ", "  cd"}, {3, 2}, {}},
        {"Enter with a modifier does nothing", {"ab"}, {}, {K(Qt::Key_Return, Qt::ShiftModifier)}, {"ab"}, {1, 1}, {}},
        {"Enter moves the marks below, not the line's own", numbered(7),
         [](TkvlCodeBuffer &b) {
             b.AddBreakPoint(5, QString());
             b.AddBookmark(5, 1); // line 6
         },
         {At(1, 5), K(Qt::Key_End), K(Qt::Key_Return)}, {}, {1, 6},
         [](const TkvlCodeBuffer &b) {
             EXPECT_TRUE(b.IsBreakPoint(5));
             EXPECT_FALSE(b.IsBreakPoint(6));
             EXPECT_EQ(b.Bookmark(1), 6); // line 7
         }},
        {"Backspace unindents to the line above", {"    a", indented8}, {}, {At(9, 2), K(Qt::Key_Backspace)},
         {"    a", "    b"}, {5, 2}, {}},
        {"Backspace at column 1 joins the lines", {"ab  ", "cd"}, {}, {At(1, 2), K(Qt::Key_Backspace)}, {"abcd"},
         {3, 1}, {}},
        {"Backspace deletes the character left", {"abc"}, {}, {At(3, 1), K(Qt::Key_Backspace)}, {"ac"}, {2, 1}, {}},
        {"Tab goes to the next stop", {"ab"}, {}, {K(Qt::Key_Tab)}, {QString(7, ' ') + "ab"}, {8, 1}, {}},
        {"Ctrl+Backspace deletes the word", {"one two"}, {}, {At(6, 1), K(Qt::Key_Backspace, Qt::ControlModifier)},
         {"one "}, {5, 1}, {}},
        {"Ctrl+Del outside a word deletes left", {"ab+cd"}, {}, {At(3, 1), K(Qt::Key_Delete, Qt::ControlModifier)},
         {"a+cd"}, {2, 1}, {}},
        {"Del at the line's end joins the next, padded", {"ab", "cd"}, {}, {At(5, 1), K(Qt::Key_Delete)},
         {"ab  cd"}, {5, 1}, {}},
        {"Del at the end of the last line", {"ab"}, {}, {K(Qt::Key_End), K(Qt::Key_Delete)}, {"ab"}, {3, 1}, {}},
        {"Ctrl+Y deletes the caret line", {"a", "b", "c"}, {}, {At(1, 2), Ctrl(Qt::Key_Y)}, {"a", "c"}, {1, 2}, {}},
        {"Ctrl+Y on the last line clears it", {"a", "bcd"}, {}, {At(3, 2), Ctrl(Qt::Key_Y)}, {"a", ""}, {1, 2}, {}},
        {"Ctrl+Shift+3 removes bookmark 3 of the line", {"a", "b"},
         [](TkvlCodeBuffer &b) { b.AddBookmark(0, 3); },
         {K(Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier)}, {"a", "b"}, {1, 1},
         [](const TkvlCodeBuffer &b) { EXPECT_EQ(b.Bookmark(3), -1); }},
        {"Ctrl+Shift+3 on a line with bookmark 5 does nothing", {"a", "b"},
         [](TkvlCodeBuffer &b) { b.AddBookmark(0, 5); },
         {K(Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier)}, {"a", "b"}, {1, 1},
         [](const TkvlCodeBuffer &b) {
             EXPECT_EQ(b.Bookmark(3), -1);
             EXPECT_EQ(b.Bookmark(5), 0);
         }},
        {"Ctrl+Shift+3 sets, Ctrl+3 goes there", {"a", "b", "c"}, {},
         {At(2, 3), K(Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier), At(1, 1), Ctrl(Qt::Key_3)},
         {"a", "b", "c"}, {1, 3}, [](const TkvlCodeBuffer &b) { EXPECT_EQ(b.Bookmark(3), 2); }},
        {"Ctrl+Right to the next word", {"ab  cd  ", "  ef"}, {}, {K(Qt::Key_Right, Qt::ControlModifier)},
         {"ab  cd  ", "  ef"}, {5, 1}, {}},
        {"Ctrl+Right after the last word goes to the text's end", {"ab  cd  ", "  ef"}, {},
         {At(5, 1), K(Qt::Key_Right, Qt::ControlModifier)}, {"ab  cd  ", "  ef"}, {7, 1}, {}},
        {"Ctrl+Right from the end continues on the next line", {"ab  cd  ", "  ef"}, {},
         {At(7, 1), K(Qt::Key_Right, Qt::ControlModifier)}, {"ab  cd  ", "  ef"}, {3, 2}, {}},
        {"Ctrl+Left from beyond the text", {"ab  cd", "x"}, {}, {At(30, 1), K(Qt::Key_Left, Qt::ControlModifier)},
         {"ab  cd", "x"}, {5, 1}, {}},
        {"Ctrl+Left stops at the line start", {"ab", "  cd"}, {}, {At(3, 2), K(Qt::Key_Left, Qt::ControlModifier)},
         {"ab", "  cd"}, {1, 2}, {}},
        {"Up keeps the column beyond the text", {"a", "abcdef"}, {}, {At(6, 2), K(Qt::Key_Up)}, {"a", "abcdef"},
         {6, 1}, {}},
        {"PageUp at the top goes to line 1", numbered(100), {}, {At(1, 4), K(Qt::Key_PageUp)}, numbered(100), {1, 1},
         {}},
        {"PageDown moves a window less one line", numbered(100), {}, {K(Qt::Key_PageDown)}, numbered(100), {1, 10},
         [](const TkvlCodeBuffer &b) { EXPECT_EQ(b.Offset().y(), 9); }},
        {"PageDown at the end shows the last line on top", numbered(100), {},
         {Ctrl(Qt::Key_End), K(Qt::Key_PageDown)}, numbered(100), {9, 100},
         [](const TkvlCodeBuffer &b) { EXPECT_EQ(b.Offset().y(), 99); }},
        {"PageUp near the top takes the window to the top", numbered(100), {},
         {At(1, 20), K(Qt::Key_Up), K(Qt::Key_PageUp)}, numbered(100), {1, 9},
         [](const TkvlCodeBuffer &b) { EXPECT_EQ(b.Offset().y(), 0); }},
        {"Shift+arrows select from the old caret", {"abcd"}, {},
         {At(2, 1), K(Qt::Key_Right, Qt::ShiftModifier), K(Qt::Key_Right, Qt::ShiftModifier), T("X")}, {"aXd"},
         {3, 1}, {}},
        {"indent of the selected lines", {"a", "", "c"}, {},
         {K(Qt::Key_Down, Qt::ShiftModifier), K(Qt::Key_Down, Qt::ShiftModifier), K(Qt::Key_Right, Qt::ShiftModifier),
          Ctrl(Qt::Key_I)},
         {"  a", "  ", "  c"}, {2, 3}, [](const TkvlCodeBuffer &b) { EXPECT_TRUE(b.HasSelection()); }},
        {"unindent leaves out a last line selected at column 1", {"    a", "   b", "    c"}, {},
         {K(Qt::Key_Down, Qt::ShiftModifier), K(Qt::Key_Down, Qt::ShiftModifier), Ctrl(Qt::Key_U)},
         {"  a", " b", "    c"}, {1, 3}, {}},
        {"a selection over lines deleted takes its marks along", numbered(5),
         [](TkvlCodeBuffer &b) {
             b.AddBookmark(3, 2);      // line 4
             b.AddBreakPoint(3, "x"); // a deleted line
         },
         {At(1, 2), K(Qt::Key_Down, Qt::ShiftModifier), K(Qt::Key_Down, Qt::ShiftModifier), K(Qt::Key_Delete)},
         {"line 1", "line 4", "line 5"}, {1, 2},
         [](const TkvlCodeBuffer &b) {
             EXPECT_EQ(b.Bookmark(2), 1);
             EXPECT_TRUE(b.BreakPoints().empty());
         }},
        {"a 3,000-character line is kept whole", {QString(3000, 'a')}, {}, {K(Qt::Key_End), T("b")},
         {QString(1023, 'a') + "b" + QString(1977, 'a')}, {1024, 1}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TkvlCodeBuffer b;
        b.SetLines(c.lines);
        b.SetWindowSize(80, 10);
        if (c.setup)
            c.setup(b);
        run(b, c.steps);
        if (!c.expected.isEmpty()) {
            EXPECT_EQ(b.Lines(), c.expected);
        }
        EXPECT_EQ(b.Pos(), c.caret);
        if (c.check)
            c.check(b);
    }
}

TEST(CodeBuffer, OutsideChangeDropsUndoAndSelection)
{
    TkvlCodeBuffer b;
    b.SetWindowSize(80, 10);
    run(b, {T("abc"), K(Qt::Key_Left, Qt::ShiftModifier)});
    ASSERT_TRUE(b.HasSelection());
    b.SetText(QStringLiteral("x\r\ny\r\n"));
    EXPECT_EQ(b.Lines(), QStringList({"x", "y"}));
    EXPECT_FALSE(b.HasSelection());
    EXPECT_EQ(b.Pos(), QPoint(1, 1));
    EXPECT_EQ(b.UndoCount(), 0);
    b.KeyDown(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(b.Lines(), QStringList({"x", "y"}));
    // The next edit is undoable again, back to the outside text.
    run(b, {T("q"), Ctrl(Qt::Key_Z)});
    EXPECT_EQ(b.Lines(), QStringList({"x", "y"}));
    b.SetLines({});
    EXPECT_EQ(b.Lines(), QStringList({""}));
}

TEST(CodeBuffer, FindContinuesBehindEachHit)
{
    TkvlCodeBuffer b;
    b.SetLines({"aaaa"}); // a one-line script is searched too
    int from = 0;
    ASSERT_TRUE(b.Find("aa", true, from));
    EXPECT_EQ(b.SelFirst(), QPoint(1, 1));
    EXPECT_EQ(from, 3);
    ASSERT_TRUE(b.Find("aa", true, from));
    EXPECT_EQ(b.SelFirst(), QPoint(3, 1));
    EXPECT_EQ(b.SelLast(), QPoint(5, 1));
    EXPECT_EQ(from, 5);
    EXPECT_FALSE(b.Find("aa", true, from));
    EXPECT_EQ(from, 5);

    b.SetLines({"begin", "  Foo := 1;"});
    from = 0;
    EXPECT_FALSE(b.Find("FOO", true, from));
    ASSERT_TRUE(b.Find("FOO", false, from));
    EXPECT_EQ(b.Pos(), QPoint(3, 2));
    EXPECT_EQ(b.SelText(), "Foo");
    EXPECT_EQ(from, 13); // "begin", CR LF, 2 blanks and "Foo" end at 12
}

TEST(CodeBuffer, PositionsInTheWholeText)
{
    TkvlCodeBuffer b;
    b.SetLines({"ab", "", "cde"});
    EXPECT_EQ(b.PlainPos(QPoint(2, 3)), 2 + 4 + 2);
    for (const QPoint p : {QPoint(1, 1), QPoint(3, 1), QPoint(1, 2), QPoint(1, 3), QPoint(4, 3)})
        EXPECT_EQ(b.PointOf(b.PlainPos(p)), p);
}

TEST(CodeBuffer, ClipboardTextAndPaste)
{
    TkvlCodeBuffer b;
    b.SetLines({"one", "two"});
    EXPECT_EQ(b.Copy(), QString()); // nothing selected
    b.SelectAll();
    EXPECT_EQ(b.Copy(), "one\r\ntwo");
    EXPECT_EQ(b.Cut(), "one\r\ntwo");
    EXPECT_EQ(b.Lines(), QStringList({""}));
    b.Paste("x\r\ny\nz");
    EXPECT_EQ(b.Lines(), QStringList({"x", "y", "z"}));
    EXPECT_EQ(b.Pos(), QPoint(2, 3));
}

TEST(CodeBuffer, CompositionReplacesItsRangeAndCommitTypes)
{
    TkvlCodeBuffer b;
    b.SetLines({"ab"});
    b.SetPos(2, 1);
    b.SetComposition("k", 1);
    b.SetComposition("ka", 2);
    EXPECT_EQ(b.Lines(), QStringList({"akab"}));
    EXPECT_EQ(b.Pos(), QPoint(4, 1));
    b.SetComposition("ka", 0);
    EXPECT_EQ(b.Pos(), QPoint(2, 1));
    b.CommitComposition(QString::fromUtf8("か"));
    EXPECT_EQ(b.Lines(), QStringList({QString::fromUtf8("aかb")}));
    EXPECT_EQ(b.Pos(), QPoint(3, 1));
    EXPECT_FALSE(b.InComposition());
    // A cancelled composition leaves nothing.
    b.SetComposition("zz", 2);
    b.SetComposition(QString(), 0);
    EXPECT_EQ(b.Lines(), QStringList({QString::fromUtf8("aかb")}));
}

TEST(CodeBuffer, ListenersHearOnlyTheLinesReplaced)
{
    TkvlCodeBuffer b;
    b.SetLines(numbered(1000));
    std::vector<std::array<int, 3>> heard;
    b.OnLinesChanged = [&](int f, int r, int a) { heard.push_back({f, r, a}); };
    run(b, {At(3, 500), T("x"), K(Qt::Key_Return), K(Qt::Key_Backspace)});
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0], (std::array<int, 3>{499, 1, 1}));
    EXPECT_EQ(heard[1], (std::array<int, 3>{499, 1, 2}));
    EXPECT_EQ(heard[2], (std::array<int, 3>{499, 2, 1}));
    EXPECT_TRUE(b.Modified());
}

TEST(CodeBuffer, TypingRule)
{
    struct {
        QString text;
        Qt::KeyboardModifiers mods;
        QString typed;
    } const cases[] = {
        {" ", Qt::NoModifier, " "},
        {" ", Qt::ControlModifier, ""},
        {"a", Qt::ControlModifier | Qt::AltModifier, "a"}, // right Alt with Control
        {QString(QChar(127)), Qt::ControlModifier, ""},
        {QString(QChar(127)), Qt::NoModifier, QString(QChar(127))},
        {"\x01", Qt::ControlModifier, ""},
        {QString::fromUtf8("é"), Qt::NoModifier, QString::fromUtf8("é")},
    };
    for (const auto &c : cases) {
        TkvlCodeBuffer b;
        b.KeyPress(c.text, c.mods);
        EXPECT_EQ(b.Line(0), c.typed) << c.text.toStdString();
    }
}

// Edits made without moving the caret by keys (a caller's insertions, a composition) form
// one step, wherever they land: undoing it gives back the text before all of them.
TEST(CodeBuffer, OneStepUndoesScatteredEdits)
{
    std::mt19937 rng(7);
    const QString pieces[] = {"", "x", "\r\n", "ab\r\ncd", "\r\n\r\n"};
    for (int round = 0; round < 200; ++round) {
        TkvlCodeBuffer b;
        b.SetLines(numbered(8));
        b.KeyDown(Qt::Key_Down, Qt::NoModifier); // the next edit opens a step
        const QStringList before = b.Lines();
        for (int e = 0; e < 4; ++e) {
            const int y1 = 1 + int(rng() % b.LineCount()), y2 = std::min(b.LineCount(), y1 + int(rng() % 3));
            b.Select(QPoint(1 + int(rng() % 9), y1), QPoint(1 + int(rng() % 9), y2));
            b.SetSelText(pieces[rng() % std::size(pieces)]);
        }
        ASSERT_EQ(b.UndoCount(), 1);
        b.Undo();
        ASSERT_EQ(b.Lines(), before) << "round " << round;
    }
}
