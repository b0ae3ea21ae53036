// Expressions, stores, loops, control flow and calls at run time.
#include "backtest.h"
#include "script/core/qslanguages.h"
#include "script/core/qsmessages.h"

#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

Variant eval(const char *language, const char *expression)
{
    auto s = backtest::make(language, QString());
    return s->Evaluate(QString::fromUtf8(expression));
}

// Runs a DozovoZozedi program and answers variable r.
Variant runR(const QString &source)
{
    auto s = backtest::make("DozovoZozedi", source);
    const QString err = backtest::run(*s);
    EXPECT_EQ(err, QString()) << source.toStdString();
    return s->Variables(QStringLiteral("r"));
}

} // namespace

TEST(QsExpressions, PrecedenceAndAssociativity)
{
    struct Case
    {
        const char *language, *expression;
        Variant expected;
    } cases[] = {
        {"DozovoZozedi", "10 - 4 - 3", Variant(3)},
        {"DozovoZozedi", "1 + 2 * 3", Variant(7)},
        {"DozovoZozedi", "(1 + 2) * 3", Variant(9)},
        {"DozovoZozedi", "2 * (3 + 4) - 1", Variant(13)},
        {"DozovoZozedi", "100 div 10 div 5", Variant(2)},
        {"DozovoZozedi", "7 / 2", Variant(3.5)},
        {"DozovoZozedi", "7 div 2", Variant(3)},
        {"DozovoZozedi", "-2 * 3", Variant(-6)},
        {"DozovoZozedi", "not True and False", Variant(false)},
        {"DozovoZozedi", "not (True and False)", Variant(true)},
        {"DozovoZozedi", "1 < 2 = True", Variant(true)},
        {"DozovoZozedi", "4 in [1, 3..5]", Variant(true)},
        {"DozovoZozedi", "2 in [1, 3..5]", Variant(false)},
        {"DozovoZozedi", "5 in [1, 3..5]", Variant(true)},
        {"D++Iraved", "10 - 4 - 3", Variant(3)},
        {"D++Iraved", "1 << 2 + 1", Variant(5)},
        {"D++Iraved", "7 / 2", Variant(3.5)},
        {"DevavAraroz", "10 - 4 - 3", Variant(3)},
        {"DevavAraroz", "1 + 2 & 3", Variant(QStringLiteral("33"))},
        {"DevavAraroz", "\"a\" & Null", Variant(QStringLiteral("a"))},
        {"JScript", "10 - 4 - 3", Variant(3)},
        {"JScript", "(1 + 2) * 3 % 5", Variant(4)},
    };
    for (const Case &c : cases) {
        const Variant v = eval(c.language, c.expression);
        EXPECT_TRUE(v.identical(c.expected)) << c.language << ": " << c.expression << " gave " << v.toString().toStdString();
    }
}

// F sets x to 100 and answers 1; x starts at 1.
TEST(QsExpressions, LeftOperandIsReadBeforeTheRightRuns)
{
    const struct
    {
        const char *statements;
        int r;
    } cases[] = {
        {"r := x + F; r := r * 1000 + x", 2100},
        {"r := F + x", 101},
        {"r := x * (F + 1)", 2},
        {"r := x mod (F + 1)", 1},
        {"r := (x + 0) - F", 0},
        {"r := (x + 0) - (F + 0)", 0},
        {"if x < F + 1 then r := 1 else r := 0", 1},
        {"if x = F then r := 1 else r := 0", 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(runR(QStringLiteral("var r, x: Integer;\nfunction F: Integer; begin x := 100; Result := 1 end;\n"
                                      "begin x := 1; %1 end.")
                           .arg(QLatin1String(c.statements)))
                      .toInt(),
                  c.r)
            << c.statements;
}

TEST(QsExpressions, ShortCircuitOnlyBetweenBooleans)
{
    const QString program = QStringLiteral(
        "var r, calls: Integer; b: Boolean; v: Variant;\n"
        "function F: Boolean; begin calls := calls + 1; Result := True end;\n"
        "begin calls := 0; v := False;\n"
        " b := False and F; b := True or F;\n"  // skipped
        " r := calls * 10;\n"
        " b := True and F; b := False or F;\n"  // evaluated
        " v := v and F;\n"                      // a Variant side: both evaluated
        " r := r + calls\nend.");
    EXPECT_EQ(runR(program).toInt(), 3);
}

TEST(QsExpressions, TypeConflictsAreCompileErrors)
{
    struct Case
    {
        const char *source, *pos;
    } cases[] = {
        // the position is the operator's (just after it)
        {"var s: String;\nbegin s := 'a' + 1 end.", "2:17"},
        {"var s: String;\nbegin s := 'a' * 'b' end.", "2:17"},
        {"var b: Boolean;\nbegin b := True + 1 end.", "2:18"},
        {"var b: Boolean;\nbegin b := (1 > 2) or (2 < 3) and 4 end.", "2:34"},
    };
    for (const Case &c : cases) {
        auto s = backtest::make("DozovoZozedi", QString::fromLatin1(c.source));
        EXPECT_FALSE(s->Compile()) << c.source;
        EXPECT_EQ(s->ErrorMsg, qsMessage(u"SIncompatibleTypes")) << c.source;
        EXPECT_EQ(s->ErrorPos, QString::fromLatin1(c.pos)) << c.source;
    }
}

TEST(QsStatements, StoresConvertToTheDeclaredType)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral(
        "var i: Integer; f: Double; t: String; b: Boolean; v: Variant; d: TDateTime;\n"
        "begin v := 2.6; i := v; f := Now; v := 5; t := v; v := 2.6; b := v; v := 'x'; d := 2 end."));
    s->AddMethod(QStringLiteral("function Now: Variant"),
                 [](const Variant &, const QString &, TqsMethodHelper &) { return Variant::fromDate(45000.5); });
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_TRUE(s->Variables(QStringLiteral("i")).identical(Variant(3)));
    EXPECT_EQ(s->Variables(QStringLiteral("f")).type(), varDate); // a date stays a date
    EXPECT_TRUE(s->Variables(QStringLiteral("t")).identical(Variant(QStringLiteral("5"))));
    EXPECT_TRUE(s->Variables(QStringLiteral("b")).identical(Variant(true)));
    EXPECT_TRUE(s->Variables(QStringLiteral("v")).identical(Variant(QStringLiteral("x"))));
    EXPECT_TRUE(s->Variables(QStringLiteral("d")).identical(Variant(2.0)));
}

TEST(QsStatements, CountedLoopBounds)
{
    struct Case
    {
        const char *loop;
        int turns, last;
    } cases[] = {
        {"for i := 1 to 0 do n := n + 1", 0, -7},
        {"for i := 0 downto 1 do n := n + 1", 0, -7},
        {"for i := 5 to 5 do n := n + 1", 1, 5},
        {"for i := 3 downto 1 do n := n + 1", 3, 1},
        // the bounds are fixed: changing the variable does not change the turns
        {"for i := 1 to 3 do begin n := n + 1; i := 10 end", 3, 10},
        {"for i := 1 to 10 do begin n := n + 1; if i = 4 then break end", 4, 4},
    };
    for (const Case &c : cases) {
        auto s = backtest::make("DozovoZozedi", QStringLiteral("var i, n: Integer;\nbegin n := 0; i := -7; %1 end.").arg(QLatin1String(c.loop)));
        ASSERT_EQ(backtest::run(*s), QString()) << c.loop;
        EXPECT_EQ(s->Variables(QStringLiteral("n")).toInt(), c.turns) << c.loop;
        EXPECT_EQ(s->Variables(QStringLiteral("i")).toInt(), c.last) << c.loop;
    }
    // A counted loop over a Float variable leaves an integer in it.
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var f: Double;\nbegin for f := 1 to 2 do ; end."));
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_TRUE(s->Variables(QStringLiteral("f")).identical(Variant(2)));
    // DevavAraroz steps, downwards too.
    auto vb = backtest::make("DevavAraroz", QStringLiteral("Dim r, i\nr = \"\"\nFor i = 10 To 1 Step -3\n r = r & i & \",\"\nNext"));
    ASSERT_EQ(backtest::run(*vb), QString());
    EXPECT_EQ(vb->Variables(QStringLiteral("r")).toString(), QStringLiteral("10,7,4,1,"));
}

TEST(QsStatements, FinallyRunsWholeAndKeepsExit)
{
    // exit and break inside the protected part still run the whole finally part
    EXPECT_EQ(runR(QStringLiteral("var r: String;\nprocedure P; begin try r := r + 'a'; exit; r := r + 'x' finally r := r + 'b'; r := r + 'c' end; r := r + 'y' end;\n"
                                  "begin r := ''; P; r := r + '|';\n"
                                  " while True do try break finally r := r + 'd'; r := r + 'e' end;\n"
                                  " r := r + '|' end."))
                  .toString(),
              QStringLiteral("abc|de|"));
    // an exit inside the finally part is kept
    EXPECT_EQ(runR(QStringLiteral("var r: String;\nprocedure P; begin try r := r + 'a' finally r := r + 'b'; exit end; r := r + 'x' end;\n"
                                  "begin r := ''; P end."))
                  .toString(),
              QStringLiteral("ab"));
    // an exception passes on after the finally part
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var r: String; x: Integer;\nbegin r := ''; try x := 1 div 0 finally r := 'f' end end."));
    ASSERT_TRUE(s->Compile());
    EXPECT_THROW(s->Execute(), EDivByZero);
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QStringLiteral("f"));
}

TEST(QsStatements, StrayBreakDoesNotLeakIntoTheNextRun)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var r: Integer;\nbegin r := r + 1; break; r := 100 end."));
    ASSERT_EQ(backtest::run(*s), QString());
    s->Execute();
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toInt(), 2);
}

TEST(QsStatements, CaseBranchWithEmptyStatementStillMatches)
{
    auto s = backtest::make("D++Iraved", QStringLiteral("int r;\n{ r = 0; switch (4) { case 1: r = 1; case 4: ; default: r = 9; } }"));
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toInt(), 0);
}

TEST(QsStatements, CaseConditionRunsBeforeTheLineHook)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var r: String;\nfunction F: Integer; begin r := r + 'f'; Result := 1 end;\n"
                                                           "begin r := '';\ncase F of\n1: r := r + '1' end end."));
    ASSERT_TRUE(s->Compile());
    s->SetOnRunLine([&](TqsScript *, const QString &, const QString &pos) {
        if (pos.startsWith(QLatin1String("4:")))
            s->SetVariables(QStringLiteral("r"), Variant(s->Variables(QStringLiteral("r")).toString() + QLatin1Char('L')));
    });
    s->Execute();
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QStringLiteral("fL1"));
}

TEST(QsCalls, RecursionRestoresLocalsAndWritesBackVarParams)
{
    EXPECT_EQ(runR(QStringLiteral("var r: Integer;\nfunction Fact(n: Integer): Integer;\nvar t: Integer;\n"
                                  "begin t := n; if n <= 1 then Result := 1 else Result := Fact(n - 1) * t end;\n"
                                  "begin r := Fact(10) end."))
                  .toInt(),
              3628800);
    // a var parameter changed in a recursive call keeps the change in the caller
    EXPECT_EQ(runR(QStringLiteral("var r: Integer;\nprocedure Count(var c: Integer; n: Integer);\n"
                                  "begin c := c + 1; if n > 0 then Count(c, n - 1) end;\n"
                                  "begin r := 0; Count(r, 4) end."))
                  .toInt(),
              5);
}

// Each activation has locals of its own: a loop counter, a text being built and a with
// variable survive the recursive calls made meanwhile, a nested function reads the locals
// of the activation it runs in, and a procedure with many locals works the same.
TEST(QsCalls, EveryActivationKeepsItsOwnLocals)
{
    EXPECT_EQ(runR(QStringLiteral("var r: String;\n"
                                  "function Walk(n: Integer): String;\n"
                                  "var a, b, c, d, e, f, g, h, i: Integer; s: String;\n"
                                  "  function Inner: String; begin Result := IntToStr(n) + ':' + IntToStr(a) end;\n"
                                  "begin\n"
                                  "  a := n * 10; s := '';\n"
                                  "  for i := 1 to 2 do begin\n"
                                  "    if n > 0 then s := s + Walk(n - 1);\n"
                                  "    s := s + Inner + ';'\n"
                                  "  end;\n"
                                  "  Result := s\n"
                                  "end;\n"
                                  "begin r := Walk(2) end."))
                  .toString(),
              QStringLiteral("0:0;0:0;1:10;0:0;0:0;1:10;2:20;0:0;0:0;1:10;0:0;0:0;1:10;2:20;"));
    // a local starts each call afresh, not with what the previous call left
    EXPECT_EQ(runR(QStringLiteral("var r: String;\nfunction F: String; var s: String; begin s := s + 'x'; Result := s end;\n"
                                  "begin r := F + F + F end."))
                  .toString(),
              QStringLiteral("xxx"));
}

TEST(QsCalls, RunawayRecursionIsAScriptError)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var r: String;\nprocedure P; begin P end;\n"
                                                           "begin try P except r := ExceptionClassName end end."));
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QStringLiteral("EqsRunError"));
}

// Two reports may prepare on two threads: the call depth, the saved locals of re-entered
// activations and the line hooks belong to each run, not to the process.
TEST(QsCalls, ScriptsRecurseOnTwoThreadsAtOnce)
{
    struct Job
    {
        const char *language, *source;
        int expected;
        int result;
        QString error;
    } jobs[] = {
        {"DozovoZozedi",
         "var r: Integer;\nfunction Fact(n: Integer): Integer;\nvar t: Integer;\n"
         "begin t := n; if n <= 1 then Result := 1 else Result := Fact(n - 1) * t end;\n"
         "function Deep(n: Integer): Integer; begin if n = 0 then Result := 0 else Result := Deep(n - 1) + 1 end;\n"
         "var i: Integer;\nbegin r := 0; for i := 1 to 300 do r := r + Fact(12) mod 1000 + Deep(1000) end.",
         300 * (479001600 % 1000 + 1000), 0, {}},
        {"JScript",
         "var r = 0;\nfunction Fib(n) { var a = n; if (a < 2) return a; return Fib(a - 1) + Fib(a - 2); }\n"
         "function Deep(n) { if (n == 0) return 0; return Deep(n - 1) + 1; }\n"
         "for (var i = 0; i < 20; i++) r = r + Fib(15) + Deep(1000);",
         20 * (610 + 1000), 0, {}},
    };
    for (Job &j : jobs) {
        backtest::ensureLanguages();
        (void)qsGetLanguage(QString::fromLatin1(j.language));
    }
    std::vector<std::thread> threads;
    for (Job &j : jobs)
        threads.emplace_back([&j] {
            try {
                auto s = backtest::make(j.language, QString::fromLatin1(j.source));
                // a line hook on one thread's script must not slow or disturb the other
                int lines = 0;
                if (QLatin1String(j.language) == QLatin1String("JScript"))
                    s->SetOnRunLine([&lines](TqsScript *, const QString &, const QString &) { ++lines; });
                j.error = backtest::run(*s);
                j.result = s->Variables(QStringLiteral("r")).toInt();
            } catch (const Exception &e) {
                j.error = e.message();
            }
        });
    for (std::thread &t : threads)
        t.join();
    for (const Job &j : jobs) {
        EXPECT_EQ(j.error, QString()) << j.language;
        EXPECT_EQ(j.result, j.expected) << j.language;
    }
}

TEST(QsCalls, CallFunctionArguments)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral(
        "var g: Integer;\nfunction F(a: Integer; b: Integer = 7; c: Variant): Variant;\n"
        "begin Result := IntToStr(a) + '/' + IntToStr(b) + '/' + VarToStr(c) end;\n"
        "procedure V(var x: Integer); begin x := x * 2 end;\nbegin end."));
    ASSERT_TRUE(s->Compile());
    // beyond the parameters: ignored; missing: the default, else Null
    EXPECT_EQ(s->CallFunction(QStringLiteral("F"), Variant::arrayOf({Variant(1), Variant(2), Variant(3), Variant(4)})).toString(),
              QStringLiteral("1/2/3"));
    EXPECT_EQ(s->CallFunction(QStringLiteral("F"), Variant::arrayOf({Variant(1)})).toString(), QStringLiteral("1/7/"));
    Variant params = Variant::arrayOf({Variant(21)});
    s->CallFunction1(QStringLiteral("V"), params);
    EXPECT_EQ(params.arrayGet(0).toInt(), 42);
    // not a script procedure: Null, nothing runs
    EXPECT_TRUE(s->CallFunction(QStringLiteral("g"), Variant()).isNull());
    EXPECT_TRUE(s->CallFunction(QStringLiteral("IntToStr"), Variant::arrayOf({Variant(1)})).isNull());
}

TEST(QsCalls, MacroFunctionReceivesSourceText)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var r: Variant;\nbegin r := SUM(a  +  1, 2) end."));
    s->AddMethod(QStringLiteral("macrofunction SUM(Expr: Variant; Band: Variant = 0): Variant"),
                 [](const Variant &, const QString &name, TqsMethodHelper &h) {
                     return Variant(name + QLatin1Char(':') + h.GetVParam(0).toString() + QLatin1Char(':') + h.GetVParam(1).toString());
                 });
    // the report's own SUM, registered later, hides a module's
    s->AddVariable(QStringLiteral("a"), QStringLiteral("Integer"), Variant(1));
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QStringLiteral("SUM:a  +  1:2"));
}

TEST(QsCalls, IndexErrorsAreScriptErrors)
{
    struct Case
    {
        const char *body, *cls;
    } cases[] = {
        {"s := 'ab'; v := s[3]", "EqsRunError"},
        {"s := 'ab'; s[0] := 'x'", "EqsRunError"},
        {"v := VarArrayCreate([0, 2, 0, 2], 12); v := v[1]", "EqsRunError"},
        {"v := VarArrayCreate([0, 2], 12); v := v[1, 1]", "EqsRunError"},
        {"v := VarArrayCreate([0, 2], 12); v[5] := 1", "EVariantBadIndexError"},
        {"v := VarArrayCreate([0, 1, 0, 1, 0, 1, 0, 1], 12)", "EVariantArrayCreateError"},
        {"v := VarArrayCreate([0, 100000000], 12)", "EVariantArrayCreateError"},
    };
    for (const Case &c : cases) {
        auto s = backtest::make("DozovoZozedi", QStringLiteral("var s: String; v: Variant; r: String;\n"
                                                               "begin try %1 except r := ExceptionClassName end end.")
                                                    .arg(QLatin1String(c.body)));
        ASSERT_EQ(backtest::run(*s), QString()) << c.body;
        EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QString::fromLatin1(c.cls)) << c.body;
    }
}

TEST(QsCalls, ProcedureOfATerminatedScopeReturnsAtOnce)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var r: Integer;\nprocedure P; begin r := r + 1 end;\n"
                                                           "begin r := 0; P; Terminate; P; r := r + 100 end."));
    s->AddMethod(QStringLiteral("procedure Terminate"), [&](const Variant &, const QString &, TqsMethodHelper &) {
        s->Terminate();
        return Variant();
    });
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toInt(), 1);
}

TEST(QsExpressions, TextJoiningIsNeverAddition)
{
    // x = x & e must not become the compound addition
    auto s = backtest::make("DevavAraroz", QStringLiteral("Dim r, n\nr = 1\nr = r & 2\nr = r & Null\nn = 5 & 5"));
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_TRUE(s->Variables(QStringLiteral("r")).identical(Variant(QStringLiteral("12"))));
    EXPECT_TRUE(s->Variables(QStringLiteral("n")).identical(Variant(QStringLiteral("55"))));
}

TEST(QsCalls, OldCallbackFormReadsArgumentsBack)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var a, b: Variant; r: Variant;\nbegin a := 1; b := 'two'; r := Swap(a, b) end."));
    s->AddMethod(QStringLiteral("function Swap(var x, y: Variant): Integer"), [](const Variant &, const QString &name, Variant &args) {
        EXPECT_EQ(name, QStringLiteral("SWAP"));
        const Variant x = args.arrayGet(0);
        args.arrayPut(0, args.arrayGet(1));
        args.arrayPut(1, x);
        return Variant(2);
    });
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("a")).toString(), QStringLiteral("two"));
    EXPECT_EQ(s->Variables(QStringLiteral("b")).toInt(), 1);
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toInt(), 2);
}
