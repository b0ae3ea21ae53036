// The grammar walk: intermediate programs, syntax errors and their positions, included
// units, the language switch and hostile sources.
#include "platform/rtl/exceptions.h"
#include "script/core/qslanguages.h"
#include "script/core/qsmessages.h"
#include "scripttest.h"
#include "tests/testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <latch>
#include <thread>
#include <vector>

using scripttest::walk;

namespace {

QString lang(const char *name) { return QString::fromLatin1(name); }
QString src(const char *text) { return QString::fromUtf8(text); }

} // namespace

// Golden intermediate programs: each tests/data/script/golden/<language>.src compiles to
// the neighbouring .il file (LIRRA_UPDATE_GOLDEN=1 rewrites them after a reviewed change).
TEST(QsCompiler, GoldenIntermediatePrograms)
{
    scripttest::ensureLanguages();
    const struct
    {
        const char *file, *language;
    } goldens[] = {{"dozovo", "DozovoZozedi"}, {"iraved", "D++Iraved"}, {"devav", "DevavAraroz"}, {"jscript", "JScript"}};
    const QString dir = testsupport::dataFile(QStringLiteral("script/golden"));
    for (const auto &g : goldens) {
        QFile in(dir + QLatin1Char('/') + QLatin1String(g.file) + QLatin1String(".src"));
        ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << g.file;
        TqsScript script;
        script.SyntaxType = lang(g.language);
        script.Lines = QString::fromUtf8(in.readAll()).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
        QByteArray il;
        QBuffer buf(&il);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(script.GetILCode(&buf)) << g.file << ": " << qPrintable(script.ErrorMsg) << " at "
                                            << qPrintable(script.ErrorPos);
        QFile golden(dir + QLatin1Char('/') + QLatin1String(g.file) + QLatin1String(".il"));
        if (qEnvironmentVariableIsSet("LIRRA_UPDATE_GOLDEN")) {
            ASSERT_TRUE(golden.open(QIODevice::WriteOnly));
            golden.write(il);
            continue;
        }
        ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << g.file;
        EXPECT_EQ(QString::fromUtf8(il).remove(QLatin1Char('\r')), QString::fromUtf8(golden.readAll()).remove(QLatin1Char('\r')))
            << g.file;
        // What was written reads back as the same tree.
        TqsXMLDocument back;
        back.LoadFromBytes(il);
        EXPECT_EQ(back.Root()->Name, QStringLiteral("program"));
        EXPECT_EQ(back.Root()->Items(back.Root()->Count() - 1)->Name, QStringLiteral("types"));
    }
}

TEST(QsCompiler, ConstructsEveryLanguageWritesAlike)
{
    struct Case
    {
        const char *language, *source, *il;
    } cases[] = {
        {"DozovoZozedi", "begin end.", "compoundstmt"},
        {"DozovoZozedi", "begin x := -a[1] * 2 end.",
         "compoundstmt(assignstmt(dsgn(node:x) expr(op:unminus dsgn(node:a node:[ expr(number:1)) op:* number:2)))"},
        // A count gives one bound, a range two.
        {"DozovoZozedi", "var a: array[10, 1..2] of Integer; begin end.",
         "var(ident:a array(dim(expr(number:10)) dim(expr(number:1) expr(number:2))) type:Integer) compoundstmt"},
        // A trailing comma before the colon is forgiven (term on the identifier).
        {"DozovoZozedi", "var a, b, : Integer; begin end.", "var(ident:a ident:b type:Integer) compoundstmt"},
        // ";" before END in a case statement is forgiven (skip on the selector loop).
        {"DozovoZozedi", "begin case x of 1: y; else z; end end.",
         "compoundstmt(casestmt(expr(dsgn(node:x)) caseselector(set(expr(number:1)) callstmt(dsgn(node:y))) "
         "callstmt(dsgn(node:z))))"},
        {"DozovoZozedi", "begin x := <Total[2]> end.",
         "compoundstmt(assignstmt(dsgn(node:x) expr(dsgn(node:Get expr(string:'Total[2]')))))"},
        {"DozovoZozedi", "begin x := '&#65;' + 'a''b' end.",
         "compoundstmt(assignstmt(dsgn(node:x) expr(string:'&#65;' op:+ string:'a'b')))"},
        {"DozovoZozedi", "begin if a >= b then x else y end.",
         "compoundstmt(ifstmt(expr(dsgn(node:a) op:>= dsgn(node:b)) thenstmt(callstmt(dsgn(node:x))) "
         "elsestmt(callstmt(dsgn(node:y)))))"},
        // A partly matched repetition stays: the builder drops the dangling operator.
        {"DozovoZozedi", "begin x := 1 + 2 + ; end.",
         "compoundstmt(assignstmt(dsgn(node:x) expr(number:1 op:+ number:2 op:+)))"},
        {"DozovoZozedi", "begin for i := 9 downto 0 do ; end. junk after the end",
         "compoundstmt(forstmt(ident:i expr(number:9) downto:downto expr(number:0)))"},
        {"D++Iraved", "{ x++; y -= 0x10; }",
         "compoundstmt(callstmt(dsgn(node:x) modificator:+) assignstmt(dsgn(node:y) modificator:- expr(number:$10)))"},
        {"D++Iraved", "{ do x = 1; while (!y); }",
         "compoundstmt(repeatstmt(assignstmt(dsgn(node:x) expr(number:1)) expr(op:not dsgn(node:y)) inverse:))"},
        {"D++Iraved", "int a[2][3], b = 1; {}",
         "var(type:int ident:a array(dim(expr(number:2)) dim(expr(number:3))) ident:b init(expr(number:1))) compoundstmt"},
        {"DevavAraroz", "Function F(ByRef a)\nEnd Function",
         "compoundstmt(function(name:F parameters(varparams var(ident:a)) exit))"},
        {"DevavAraroz", "x = a & \"b\" : y = 1", "compoundstmt(assignstmt(dsgn(node:x) expr(dsgn(node:a) op:strcat "
                                                "string:'b')) assignstmt(dsgn(node:y) expr(number:1)))"},
        {"DevavAraroz", "If a Then\nx\nElseIf b Then\ny\nEnd If",
         "compoundstmt(ifstmt(expr(dsgn(node:a)) thenstmt(compoundstmt(callstmt(dsgn(node:x)))) "
         "elsestmt(ifstmt(expr(dsgn(node:b)) thenstmt(compoundstmt(callstmt(dsgn(node:y))))))))"},
        {"JScript", "var a = [1, 2..3]\nfor (i = 0; i < 2; i++) f()",
         "compoundstmt(var(ident:a init(expr(set(expr(number:1) expr(number:2) range:. expr(number:3))))) "
         "cppforstmt(assignstmt(dsgn(node:i) expr(number:0)) expr(dsgn(node:i) op:< number:2) "
         "callstmt(dsgn(node:i) modificator:+) callstmt(dsgn(node:f))))"},
        {"JScript", "", "compoundstmt"},
    };
    for (const Case &c : cases) {
        const auto r = walk(lang(c.language), src(c.source));
        EXPECT_TRUE(r.ok) << c.source << ": " << qPrintable(r.msg) << " at " << qPrintable(r.pos);
        EXPECT_EQ(r.il, src(c.il)) << c.source;
    }
}

TEST(QsCompiler, PositionsOfNodesAndTokens)
{
    scripttest::ensureLanguages();
    TqsScript script;
    script.SyntaxType = QStringLiteral("DevavAraroz");
    script.Lines = QStringList{QStringLiteral("Function F"), QStringLiteral("  x = 1 + 23"), QStringLiteral("End Function")};
    TqsILParser parser(&script);
    parser.SelectLanguage(script.SyntaxType);
    ASSERT_TRUE(parser.MakeILScript(script.SourceText()));
    const TqsXMLItem *function = parser.ILScript().Root()->Items(0)->Items(0);
    EXPECT_EQ(function->Prop(QStringLiteral("pos")), QStringLiteral("1:1"));
    const TqsXMLItem *assign = function->Items(1)->Items(0);
    EXPECT_EQ(assign->Name, QStringLiteral("assignstmt"));
    EXPECT_EQ(assign->Prop(QStringLiteral("pos")), QStringLiteral("2:3"));
    const TqsXMLItem *expr = assign->Items(1);
    EXPECT_EQ(expr->Prop(QStringLiteral("pos")), QStringLiteral("2:7"));
    EXPECT_EQ(expr->Prop(QStringLiteral("pos1")), QStringLiteral("2:13"));
    EXPECT_EQ(expr->Items(2)->Prop(QStringLiteral("pos")), QStringLiteral("2:13")); // just after "23"
    // The exit node stands between END and FUNCTION, at FUNCTION.
    EXPECT_EQ(function->Items(2)->Name, QStringLiteral("exit"));
    EXPECT_EQ(function->Items(2)->Prop(QStringLiteral("pos")), QStringLiteral("3:5"));
}

TEST(QsCompiler, SyntaxErrorsAndTheirPositions)
{
    struct Case
    {
        const char *language, *source, *msg, *pos;
    } cases[] = {
        {"DozovoZozedi", "begin x : = 1 end.", "'=' expected", "1:11"},
        {"DozovoZozedi", "begin x := end.", "Expression expected", "1:12"},
        {"DozovoZozedi", "begin x := 1\ny := 2 end.", "';' expected", "2:1"},
        {"DozovoZozedi", "begin for i := 1 do end.", "'TO' or 'DOWNTO' expected", "1:18"},
        {"DozovoZozedi", "begin try x := 1 end end.", "'FINALLY' or 'EXCEPT' expected", "1:18"},
        {"DozovoZozedi", "begin x := 'open end.", "Expression expected", "1:12"},
        {"DozovoZozedi", "begin x := 1 + 2", "';' expected", "2:1"},
        {"D++Iraved", "{ x = 1 }", "';' expected", "1:9"},
        {"D++Iraved", "{ if x) y = 1; }", "'(' expected", "1:6"},
        {"D++Iraved", "#define 5\n{}", "Identifier expected", "1:9"},
        {"D++Iraved", "{ do x++; y = 1; }", "'WHILE' expected", "1:11"},
        {"DevavAraroz", "x = 1 2", "End of line expected", "1:7"},
        {"DevavAraroz", "If x Then\ny = 1", "'END' expected", "3:1"},
        {"DevavAraroz", "For i = 1 10\nNext", "'TO' expected", "1:11"},
        {"DevavAraroz", "Select Case x\nCase 1\nEnd Select", "':' expected", "2:7"},
        {"JScript", "if x", "'(' expected", "1:4"},
        {"JScript", "function (a) {}", "Expression expected", "1:10"},
        // Text that matches no rule is an error, not a silently shorter program.
        {"D++Iraved", "{} x", "Statement expected", "1:4"},
        {"DevavAraroz", "+++\nx = 1", "End of line expected", "1:1"},
        {"DevavAraroz", "x = 1\n+++\ny = 2", "End of line expected", "2:1"},
        {"JScript", "x = 1; )", "Statement expected", "1:8"},
        {"JScript", "switch (x) { y }", "Statement expected", "1:1"},
        {"JScript", "x = 1 /* never closed", "Statement expected", "1:7"},
        {"JScript", "x = \"never closed", "Expression expected", "1:5"},
    };
    for (const Case &c : cases) {
        const auto r = walk(lang(c.language), src(c.source));
        EXPECT_FALSE(r.ok) << c.source;
        EXPECT_EQ(r.msg, src(c.msg)) << c.source;
        EXPECT_EQ(r.pos, src(c.pos)) << c.source;
    }
}

// Reports may prepare on two threads at once: scripts of two languages compile side by side,
// each language's grammar built once on first use (here by the threads themselves: the names
// are new) and then shared by every script without one changing another's walk.
TEST(QsCompiler, ScriptsOfTwoLanguagesCompileOnTwoThreadsAtOnce)
{
    scripttest::ensureLanguages();
    qsRegisterLanguage(QStringLiteral("@threadsPascal"), qsGetLanguage(QStringLiteral("DozovoZozedi")));
    qsRegisterLanguage(QStringLiteral("@threadsJS"), qsGetLanguage(QStringLiteral("JScript")));
    struct Case
    {
        const char *language, *source, *il, *msg, *pos;
    } cases[] = {
        {"@threadsPascal", "begin if a >= b then x else y end.",
         "compoundstmt(ifstmt(expr(dsgn(node:a) op:>= dsgn(node:b)) thenstmt(callstmt(dsgn(node:x))) "
         "elsestmt(callstmt(dsgn(node:y)))))",
         "", ""},
        {"@threadsPascal", "begin x := 1\ny := 2 end.", "", "';' expected", "2:1"},
        {"@threadsJS", "var a = [1, 2..3]\nfor (i = 0; i < 2; i++) f()",
         "compoundstmt(var(ident:a init(expr(set(expr(number:1) expr(number:2) range:. expr(number:3))))) "
         "cppforstmt(assignstmt(dsgn(node:i) expr(number:0)) expr(dsgn(node:i) op:< number:2) "
         "callstmt(dsgn(node:i) modificator:+) callstmt(dsgn(node:f))))",
         "", ""},
        {"@threadsJS", "if x", "", "'(' expected", "1:4"},
    };
    constexpr int kThreadsPerLanguage = 2, kRounds = 20;
    std::vector<std::vector<QString>> faults(2 * kThreadsPerLanguage);
    std::vector<std::shared_ptr<const TqsGrammar>> grammars(faults.size());
    std::latch start(std::ptrdiff_t(faults.size()));
    std::vector<std::thread> threads;
    for (size_t t = 0; t < faults.size(); ++t) {
        threads.emplace_back([&, t] {
            const char *language = t % 2 == 0 ? "@threadsPascal" : "@threadsJS";
            start.arrive_and_wait();
            for (int round = 0; round < kRounds; ++round) {
                for (const Case &c : cases) {
                    if (qstrcmp(c.language, language) != 0)
                        continue;
                    const auto r = walk(lang(c.language), src(c.source));
                    if (r.ok != (*c.msg == 0) || r.il != src(c.il) || r.msg != src(c.msg) || r.pos != src(c.pos))
                        faults[t].push_back(QStringLiteral("%1: %2 [%3 at %4]").arg(src(c.source), r.il, r.msg, r.pos));
                    if (*c.msg == 0)
                        continue; // the fixtures declare nothing: only a failing compile is comparable
                    TqsScript script;
                    script.SyntaxType = lang(c.language);
                    script.Lines = src(c.source).split(QLatin1Char('\n'));
                    if (script.Compile() || script.ErrorMsg != src(c.msg) || script.ErrorPos != src(c.pos))
                        faults[t].push_back(QStringLiteral("compile %1: %2").arg(src(c.source), script.ErrorMsg));
                }
            }
            grammars[t] = qsGetCompiledLanguage(lang(language));
        });
    }
    for (std::thread &th : threads)
        th.join();
    for (size_t t = 0; t < faults.size(); ++t)
        EXPECT_EQ(faults[t], std::vector<QString>()) << "thread " << t;
    // One graph per language, shared by its threads; none of the standard ones reused.
    EXPECT_EQ(grammars[0], grammars[2]);
    EXPECT_EQ(grammars[1], grammars[3]);
    EXPECT_NE(grammars[0], grammars[1]);
    EXPECT_NE(grammars[0], qsGetCompiledLanguage(QStringLiteral("DozovoZozedi")));
}

TEST(QsCompiler, CompileReportsThroughTheScriptFields)
{
    scripttest::ensureLanguages();
    TqsScript script;
    EXPECT_EQ(script.SyntaxType, QStringLiteral("DozovoZozedi"));
    EXPECT_FALSE(script.Compile());
    EXPECT_EQ(script.ErrorMsg, QStringLiteral("'BEGIN' expected"));
    EXPECT_EQ(script.ErrorPos, QStringLiteral("1:1"));
    script.ErrorUnit = QStringLiteral("old"); // left from an earlier compile
    script.Lines = QStringList{QStringLiteral("begin end.")};
    EXPECT_TRUE(script.Compile());
    EXPECT_TRUE(script.ErrorMsg.isEmpty() && script.ErrorPos.isEmpty() && script.ErrorUnit.isEmpty());
}

TEST(QsCompiler, LanguageSwitchOnTheFirstLine)
{
    auto r = walk(lang("DozovoZozedi"), src("#language DevavAraroz \nx = 1"));
    ASSERT_TRUE(r.ok) << qPrintable(r.msg);
    EXPECT_EQ(r.il, src("compoundstmt(assignstmt(dsgn(node:x) expr(number:1)))"));
    // Nothing of the first language carries over: DevavAraroz's "rem" comments and
    // D++Iraved's case-sensitive keywords are gone after the switch.
    r = walk(lang("DevavAraroz"), src("#LANGUAGE JScript\nrem = 1"));
    ASSERT_TRUE(r.ok) << qPrintable(r.msg);
    EXPECT_EQ(r.il, src("compoundstmt(assignstmt(dsgn(node:rem) expr(number:1)))"));
    r = walk(lang("D++Iraved"), src("#language DozovoZozedi\nBEGIN END."));
    EXPECT_TRUE(r.ok) << qPrintable(r.msg);
}

// A language nobody registered fails the compile like any error of the text: with the
// message and the place, in the main text, in an included unit, or as the script's own.
TEST(QsCompiler, UnregisteredLanguageFailsWithMessageAndPosition)
{
    scripttest::ensureLanguages();
    const struct
    {
        const char *language, *source, *unit, *msg, *pos, *errorUnit;
    } cases[] = {
        {"DozovoZozedi", "#language JS\nbegin end.", "", "Language 'JS' not found", "1:11", ""},
        {"JScript", "#language   Klingon", "", "Language 'Klingon' not found", "1:13", ""},
        {"DozovoZozedi", "uses 'u';\nbegin end.", "#language JS\nbegin end.", "Language 'JS' not found", "1:11", "u"},
        {"JS", "begin end.", "", "Language 'JS' not found", "1:1", ""},
    };
    for (const auto &c : cases) {
        TqsScript script;
        script.SyntaxType = lang(c.language);
        script.Lines = src(c.source).split(QLatin1Char('\n'));
        const QString unit = src(c.unit);
        script.OnGetUnit = [&unit](TqsScript *, const QString &, QString &text) { text = unit; };
        EXPECT_FALSE(script.Compile()) << c.source;
        EXPECT_EQ(script.ErrorMsg, src(c.msg)) << c.source;
        EXPECT_EQ(script.ErrorPos, src(c.pos)) << c.source;
        EXPECT_EQ(script.ErrorUnit, src(c.errorUnit)) << c.source;
    }
}

TEST(QsCompiler, LanguageSwitchResetsTheDeclarationRule)
{
    scripttest::ensureLanguages();
    TqsScript script;
    TqsILParser parser(&script);
    parser.SelectLanguage(QStringLiteral("JScript"));
    EXPECT_FALSE(parser.NeedDeclareVars());
    ASSERT_TRUE(parser.MakeILScript(QStringLiteral("#language DozovoZozedi\r\nbegin end.")));
    EXPECT_TRUE(parser.NeedDeclareVars());
    EXPECT_EQ(parser.LangName(), QStringLiteral("DozovoZozedi"));
}

TEST(QsCompiler, UnitsAreIncludedOnceInReverseOrderOfListing)
{
    QStringList asked;
    const auto units = [&asked](TqsScript &s) {
        s.OnGetUnit = [&asked](TqsScript *, const QString &name, QString &text) {
            asked << name;
            if (name == QLatin1String("a"))
                text = QStringLiteral("uses 'c';\nbegin end.");
            else if (name == QLatin1String("b"))
                text = QStringLiteral("uses 'C', 'a';\nbegin end.");
            else
                text = QStringLiteral("begin end.");
        };
    };
    const auto r = walk(lang("DozovoZozedi"), src("uses 'a', 'b', 'A';\nbegin end."), units);
    ASSERT_TRUE(r.ok) << qPrintable(r.msg);
    EXPECT_EQ(asked, (QStringList{QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("C")}));
    // "A" (no uses of its own here), then "b" holding "C"; "a" named again gets nothing.
    EXPECT_EQ(r.il, src("uses(program(compoundstmt)) uses(program(uses(program(compoundstmt)) compoundstmt)) compoundstmt"));
}

TEST(QsCompiler, ErrorInsideAUnitNamesTheUnit)
{
    const auto units = [](TqsScript &s) {
        s.OnGetUnit = [](TqsScript *, const QString &name, QString &text) {
            // Linux line ends in a unit behave like CR LF.
            text = name == QLatin1String("outer.vb") ? QStringLiteral("Imports \"inner.vb\"\nx = 1\n")
                                                     : QStringLiteral("y = 1\ny = = 2\n");
        };
    };
    const auto r = walk(lang("DevavAraroz"), src("Imports \"outer.vb\"\nz = 1"), units);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.msg, QStringLiteral("Expression expected"));
    EXPECT_EQ(r.pos, QStringLiteral("2:5"));
    EXPECT_EQ(r.unit, QStringLiteral("inner.vb"));
}

TEST(QsCompiler, FailingUnitsAreWalkedOnceEach)
{
    // Every unit lists every name and then fails; walking one twice would make this
    // exponential in the number of names.
    QStringList names;
    for (int i = 0; i < 24; ++i)
        names << QStringLiteral("'u%1'").arg(i);
    const QString text = QStringLiteral("uses ") + names.join(QStringLiteral(", ")) + QStringLiteral(";\nbegin x := end.");
    QStringList asked;
    const auto units = [&](TqsScript &s) {
        s.OnGetUnit = [&](TqsScript *, const QString &name, QString &unitText) {
            asked << name;
            unitText = text;
        };
    };
    const auto r = walk(lang("DozovoZozedi"), text, units);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.msg, QStringLiteral("Expression expected"));
    EXPECT_EQ(r.unit, QStringLiteral("u0")); // the innermost unit
    EXPECT_EQ(asked.size(), 24);
    asked.removeDuplicates();
    EXPECT_EQ(asked.size(), 24);
}

TEST(QsCompiler, EndlessChainsOfUnitsStop)
{
    const auto endless = [](TqsScript &s) {
        s.OnGetUnit = [](TqsScript *, const QString &name, QString &text) {
            text = QStringLiteral("import \"") + name + QStringLiteral("x\"\nx = ((((1))))");
        };
    };
    const auto r = walk(lang("JScript"), src("import \"u\""), endless);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.msg, QStringLiteral("Program nested too deeply"));
    EXPECT_TRUE(r.unit.startsWith(QLatin1String("uxxx")));
}

TEST(QsCompiler, UnitsAreFoundAlongTheIncludePath)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("lib"));
    QFile f(dir.filePath(QStringLiteral("lib/u.js")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("var q = \"\xc3\xa8\"\n");
    f.close();
    const auto path = [&dir](TqsScript &s) {
        s.IncludePath = QStringList{dir.filePath(QStringLiteral("none")), dir.filePath(QStringLiteral("lib"))};
    };
    const auto r = walk(lang("JScript"), src("import \"u.js\""), path);
    ASSERT_TRUE(r.ok) << qPrintable(r.msg);
    EXPECT_EQ(r.il, QStringLiteral("compoundstmt(uses(program(compoundstmt(var(ident:q init(expr(string:'\u00e8')))))))"));
    // a unit that cannot be read is the compile's error, at its name
    const auto missing = walk(lang("JScript"), src("var a;\nimport \"missing.js\""), path);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.msg.startsWith(QStringLiteral("Cannot open file"))) << qPrintable(missing.msg);
    EXPECT_EQ(missing.pos, QStringLiteral("2:8"));
}

TEST(QsCompiler, HostileSourcesGiveErrorsNotCrashes)
{
    struct Case
    {
        const char *language;
        QString source;
        const char *msg;
    } cases[] = {
        {"DozovoZozedi", QStringLiteral("begin x := ") + QString(100000, QLatin1Char('(')) + QStringLiteral("1 end."),
         "Program nested too deeply"},
        {"D++Iraved", QStringLiteral("{") + QString(100000, QLatin1Char('{')), "Program nested too deeply"},
        {"JScript", QStringLiteral("x = ") + QString(50000, QLatin1Char('-')) + QStringLiteral("1"),
         "Expression expected"},
        {"DozovoZozedi", QStringLiteral("begin x := '") + QString(500000, QLatin1Char('a')) + QStringLiteral(" end."),
         "Expression expected"},
        {"DozovoZozedi", QStringLiteral("begin { never closed"), "';' expected"},
    };
    for (const Case &c : cases) {
        const auto r = walk(lang(c.language), c.source);
        EXPECT_FALSE(r.ok) << c.language;
        EXPECT_EQ(r.msg, src(c.msg)) << c.language;
        EXPECT_FALSE(r.pos.isEmpty());
    }
    // Deep but reasonable nesting still compiles.
    const auto r = walk(lang("DozovoZozedi"),
                        QStringLiteral("begin x := ") + QString(100, QLatin1Char('(')) + QStringLiteral("1")
                            + QString(100, QLatin1Char(')')) + QStringLiteral(" end."));
    EXPECT_TRUE(r.ok) << qPrintable(r.msg);
}
