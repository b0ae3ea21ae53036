// The script object as hosts and the debugger use it.
#include "backtest.h"
#include "script/core/qsmessages.h"

#include <QBuffer>
#include <QFile>
#include "script/xml/qsxml.h"
#include <functional>
#include <gtest/gtest.h>

TEST(QsScriptObject, EvaluateInEachLanguage)
{
    struct Case
    {
        const char *language, *expression;
        Variant expected;
    } cases[] = {
        {"DozovoZozedi", "g * 2 + 1", Variant(11)},
        {"D++Iraved", "g * 2 + 1", Variant(11)},
        {"DevavAraroz", "g * 2 + 1", Variant(11)},
        {"JScript", "g * 2 + 1", Variant(11)},
    };
    for (const Case &c : cases) {
        auto s = backtest::make(c.language, QString());
        s->AddVariable(QStringLiteral("g"), QStringLiteral("Integer"), Variant(5));
        EXPECT_TRUE(s->Evaluate(QString::fromLatin1(c.expression)).identical(c.expected)) << c.language;
        EXPECT_FALSE(s->EvaluteRiseError);
        // an incomplete expression answers the compile message, raising nothing
        const Variant bad = s->Evaluate(QStringLiteral("g * "));
        EXPECT_TRUE(s->EvaluteRiseError) << c.language;
        EXPECT_TRUE(bad.isString() && !bad.toString().isEmpty()) << c.language;
    }
    auto s = backtest::make("Klingon", QString());
    EXPECT_THROW(s->Evaluate(QStringLiteral("1")), Exception);
}

// The hook may run a nested event loop; meanwhile Evaluate sees the stopped procedure's
// locals, and Terminate and detaching the hook work.
TEST(QsScriptObject, LineHookEvaluateAndTerminate)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral(
        "var r: Integer;\nprocedure P(n: Integer);\nvar i: Integer;\nbegin\n"
        " for i := 1 to 1000000 do\n  r := r + n\nend;\nbegin r := 0; P(3); r := r + 1000 end."));
    ASSERT_TRUE(s->Compile());
    int lines = 0;
    QString seen;
    int iSeen = 0;
    s->SetOnRunLine([&](TqsScript *sender, const QString &unit, const QString &pos) {
        EXPECT_EQ(unit, QString());
        ++lines;
        if (pos == QLatin1String("6:3") && lines > 10 && seen.isEmpty()) {
            EXPECT_NE(sender, s.get()); // the procedure's scope
            seen = s->Evaluate(QStringLiteral("n * 100 + i")).toString();
            iSeen = s->Evaluate(QStringLiteral("i")).toInt();
            s->Terminate();
        }
    });
    s->Execute();
    EXPECT_GT(iSeen, 1);
    EXPECT_EQ(seen, QString::number(300 + iSeen));
    EXPECT_LT(s->Variables(QStringLiteral("r")).toInt(), 100); // neither the loop nor the caller went on
    EXPECT_FALSE(s->Terminated());
    // detaching the hook from inside it
    lines = 0;
    s->SetOnRunLine([&](TqsScript *, const QString &, const QString &) {
        ++lines;
        s->SetOnRunLine({});
    });
    s->SetVariables(QStringLiteral("r"), Variant(0));
    s->Execute();
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toInt(), 3 * 1000000 + 1000);
}

TEST(QsScriptObject, TerminateStopsALoop)
{
    auto s = backtest::make("JScript", QStringLiteral("var n = 0;\nwhile (true) { n = n + 1; }"));
    ASSERT_TRUE(s->Compile());
    s->SetOnRunLine([&](TqsScript *, const QString &, const QString &) {
        const Variant n = s->Variables(QStringLiteral("n"));
        if (!n.isNull() && n.toInt() >= 50)
            s->Terminate();
    });
    s->Execute();
    EXPECT_EQ(s->Variables(QStringLiteral("n")).toInt(), 50);
}

TEST(QsScriptObject, BuilderMessagesWithPositions)
{
    struct Case
    {
        const char *language, *source, *key, *arg, *pos;
    } cases[] = {
        {"DozovoZozedi", "var a: Integer; a: String;\nbegin end.", "SIdRedeclared", "'a'", "1:18"},
        {"DozovoZozedi", "var a: TNothing;\nbegin end.", "SUnknownType", "'TNothing'", "1:6"},
        {"DozovoZozedi", "var a: Integer;\nbegin a := 'x' end.", "SIncompatibleTypes", ": 'Integer', 'String'", "2:15"},
        {"DozovoZozedi", "begin\n  x := 1 end.", "SIdUndeclared", "'x'", "2:4"},
        {"DozovoZozedi", "var s: String;\nbegin s.Foo := 1 end.", "SStringError", "", "2:12"},
        {"DozovoZozedi", "var a: array[3] of Integer;\nbegin a.x := 1 end.", "SIndexRequired", "", "2:10"},
        {"DozovoZozedi", "var i: Integer;\nbegin i[1] := 1 end.", "SArrayRequired", "", "2:9"},
        {"DozovoZozedi", "procedure P(a, b: Integer); begin end;\nbegin P(1) end.", "SNotEnoughParams", "", "2:8"},
        {"DozovoZozedi", "procedure P(a: Integer = 1); begin end;\nbegin P(1, 2) end.", "STooManyParams", "", "2:8"},
        {"DozovoZozedi", "var a: array[3] of Integer;\nbegin a[1, 2] := 1 end.", "STooManyParams", "", "2:9"},
        {"DozovoZozedi", "const C = 1;\nbegin C := 2 end.", "SLeftCantAssigned", "", "2:7"},
        {"DozovoZozedi", "function F: Integer; begin end;\nbegin F := 2 end.", "SLeftCantAssigned", "", "2:7"},
        {"DozovoZozedi", "var s: String;\nbegin for s := 1 to 2 do end.", "SForError", "", "2:12"},
        {"DozovoZozedi", "var i: Integer;\nbegin with i do end.", "SClassRequired", "", "2:13"},
        {"DozovoZozedi", "var x: Variant;\nbegin x := @P.Q end.", "SVarRequired", "", "2:13"},
        {"DozovoZozedi", "var a: array[1, 1, 1, 1] of Integer;\nbegin end.", "", "Too many array dimensions", "1:24"},
        {"DozovoZozedi", "const C = 1 div 0;\nbegin end.", "", "Division by zero", "1:18"},
        {"D++Iraved", "int f() { return 1; }\n{ f = 2; }", "SLeftCantAssigned", "", "2:3"},
        {"JScript", "function f(a) { }\nf(1, 2);", "STooManyParams", "", "2:2"},
        {"D++Iraved", "{\n  return 1; }", "SIdUndeclared", "'Result'", "2:10"},
        {"DozovoZozedi", "procedure P; begin x := 1 end;\nvar x: Integer;\nbegin end.", "SIdUndeclared", "'x'", "1:21"},
    };
    for (const Case &c : cases) {
        auto s = backtest::make(c.language, QString::fromLatin1(c.source));
        EXPECT_FALSE(s->Compile()) << c.source;
        const QString expected = (*c.key ? qsMessage(QString::fromLatin1(c.key)) : QString()) + QString::fromLatin1(c.arg);
        EXPECT_EQ(s->ErrorMsg, expected) << c.source;
        EXPECT_EQ(s->ErrorPos, QString::fromLatin1(c.pos)) << c.source;
        EXPECT_EQ(s->ErrorUnit, QString()) << c.source;
    }
}

TEST(QsScriptObject, CompileAddsAndKeepsItems)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var a: Integer;\nbegin a := 1 end."));
    ASSERT_TRUE(s->Compile());
    const int count = s->Count();
    // a second compile of the same declarations fails: the names are still there
    EXPECT_FALSE(s->Compile());
    EXPECT_EQ(s->ErrorMsg, qsMessage(u"SIdRedeclared") + QStringLiteral("'a'"));
    // items built before an error stay
    s->Lines = QStringList{QStringLiteral("var b: Integer; b: Integer;"), QStringLiteral("begin end.")};
    EXPECT_FALSE(s->Compile());
    EXPECT_EQ(s->Count(), count + 1);
    s->Clear();
    EXPECT_TRUE(s->ErrorMsg.isEmpty());
    EXPECT_TRUE(s->Find(u"Integer")); // binding modules stay
    EXPECT_FALSE(s->Find(u"a"));
    // an empty DozovoZozedi text
    s->Lines.clear();
    EXPECT_FALSE(s->Compile());
    EXPECT_EQ(s->ErrorPos, QStringLiteral("1:1"));
}

TEST(QsScriptObject, RegistrationAndClearing)
{
    auto s = backtest::make("DozovoZozedi", QString());
    TqsScript child;
    child.Parent = s.get();
    EXPECT_NE(s->AddConst(QStringLiteral("K"), QStringLiteral("Integer"), Variant(2.6)), nullptr);
    EXPECT_EQ(child.AddVariable(QStringLiteral("k"), QStringLiteral("String"), Variant(1)), nullptr); // present up the chain
    EXPECT_EQ(s->Variables(QStringLiteral("K")).toInt(), 3);
    s->SetVariables(QStringLiteral("K"), Variant(9)); // read-only
    EXPECT_EQ(s->Variables(QStringLiteral("K")).toInt(), 3);
    s->SetVariables(QStringLiteral("fresh"), Variant(QStringLiteral("x")));
    EXPECT_EQ(s->Variables(QStringLiteral("FRESH")).toString(), QStringLiteral("x"));
    s->AddEnum(QStringLiteral("THAlign"), QStringLiteral("haLeft, haRight ,haCenter"));
    s->AddEnumSet(QStringLiteral("TStyles"), QStringLiteral("fsBold,fsItalic,fsUnderline"));
    EXPECT_EQ(s->Variables(QStringLiteral("haCenter")).toInt(), 2);
    EXPECT_EQ(s->Variables(QStringLiteral("fsUnderline")).toInt(), 4);
    // names of another owner survive ClearItems
    int owner = 0;
    s->AddedBy = &owner;
    s->AddVariable(QStringLiteral("Report"), QStringLiteral("Variant"), Variant(1));
    s->AddedBy = nullptr;
    s->Lines = QStringList{QStringLiteral("var x: Integer;"), QStringLiteral("begin x := Report + K end.")};
    ASSERT_TRUE(s->Compile());
    EXPECT_TRUE(s->IsExecutableLine(2));
    EXPECT_FALSE(s->IsExecutableLine(1));
    s->ClearItems(&owner);
    EXPECT_FALSE(s->Find(u"Report"));
    EXPECT_TRUE(s->Find(u"x"));
    EXPECT_TRUE(s->Find(u"K"));
    s->ClearRTTI();
    EXPECT_FALSE(s->Find(u"Integer"));
    EXPECT_FALSE(s->RTTIAdded());
}

TEST(QsScriptObject, LaterRegistrationHidesEarlier)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var r: Variant;\nbegin r := IntToStr(1) end."));
    s->AddMethod(QStringLiteral("function IntToStr(i: Integer): String"),
                 [](const Variant &, const QString &, TqsMethodHelper &) { return Variant(QStringLiteral("mine")); });
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QStringLiteral("mine"));
}

TEST(QsScriptObject, IntermediateProgramFromOutside)
{
    backtest::ensureLanguages();
    // a program written by GetILCode builds and runs
    auto src = backtest::make("DozovoZozedi", QStringLiteral("var r: Integer;\nbegin r := 6 * 7 end."));
    QByteArray il;
    {
        QBuffer b(&il);
        b.open(QIODevice::WriteOnly);
        ASSERT_TRUE(src->GetILCode(&b));
    }
    auto s = backtest::make("DozovoZozedi", QString());
    QBuffer in(&il);
    in.open(QIODevice::ReadOnly);
    ASSERT_TRUE(s->SetILCode(&in));
    s->Execute();
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toInt(), 42);
    // missing or unknown parts fail with an error
    for (const char *bad : {"<?xml version=\"1.0\"?><program><assignstmt/></program>",
                            "<?xml version=\"1.0\"?><program><forstmt><ident text=\"r\"/></forstmt></program>",
                            "<?xml version=\"1.0\"?><program><assignstmt><dsgn/><expr/></assignstmt></program>",
                            "<?xml version=\"1.0\"?><program><callstmt><dsgn><expr/></dsgn></callstmt></program>",
                            "<?xml version=\"1.0\"?><program><assignstmt><dsgn><node text=\"r\"/></dsgn><expr><op text=\"@@\"/></expr></assignstmt></program>",
                            "<?xml version=\"1.0\"?><nothing/>", "<<<"}) {
        auto t = backtest::make("DozovoZozedi", QString());
        QByteArray bytes(bad);
        QBuffer b(&bytes);
        b.open(QIODevice::ReadOnly);
        EXPECT_FALSE(t->SetILCode(&b)) << bad;
        EXPECT_FALSE(t->ErrorMsg.isEmpty()) << bad;
    }
}

TEST(QsScriptObject, EvaluateAddsModulesOnlyWhenMissing)
{
    backtest::ensureLanguages();
    TqsScript bare;
    EXPECT_TRUE(bare.Evaluate(QStringLiteral("True")).identical(Variant(true))); // from the temporary's own modules
    auto withModules = backtest::make("DozovoZozedi", QString());
    TqsScript child;
    child.Parent = withModules.get();
    child.SyntaxType = QStringLiteral("JScript");
    int added = 0;
    qsRTTIModules().push_back([](TqsScript *s) -> TqsRTTIModule * {
        s->AddVariable(QStringLiteral("moduleCount"), QStringLiteral("Variant"), Variant(1));
        return new TqsRTTIModule(s);
    });
    (void)added;
    // the parent has modules: the temporary adds none, so the late module's name is unknown
    EXPECT_TRUE(child.Evaluate(QStringLiteral("moduleCount")).isNull());
    EXPECT_EQ(bare.Evaluate(QStringLiteral("moduleCount")).toInt(), 1);
    qsRTTIModules().pop_back();
}

TEST(QsScriptObject, UnitsAndHostVariableHook)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral("uses 'Lib';\nvar r: Integer;\nbegin r := Twice(Host) end."));
    s->OnGetUnit = [](TqsScript *, const QString &name, QString &text) {
        if (name == QLatin1String("Lib"))
            text = QStringLiteral("function Twice(x: Integer): Integer;\nbegin Result := x * 2 end;\nbegin end.");
    };
    s->OnGetVarValue = [](const QString &name, TqsVarType, Variant &value, const Variant &old) {
        if (name == QLatin1String("Host"))
            value = Variant(old.toInt() + 20); // supplied by the host when read
    };
    s->AddVariable(QStringLiteral("Host"), QStringLiteral("Integer"), Variant(1));
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toInt(), 42);
    EXPECT_TRUE(s->IsExecutableLine(2, QStringLiteral("Lib")));
    // an error inside a unit names the unit
    auto bad = backtest::make("DozovoZozedi", QStringLiteral("uses 'Lib';\nbegin end."));
    bad->OnGetUnit = [](TqsScript *, const QString &, QString &text) { text = QStringLiteral("begin\n  y := 1 end."); };
    EXPECT_FALSE(bad->Compile());
    EXPECT_EQ(bad->ErrorMsg, qsMessage(u"SIdUndeclared") + QStringLiteral("'y'"));
    EXPECT_EQ(bad->ErrorUnit, QStringLiteral("Lib"));
    EXPECT_EQ(bad->ErrorPos, QStringLiteral("2:4"));
}

// Every failing compile answers false with its message: a unit that cannot be read (at the
// place that names it) and a language that is not registered included.
TEST(QsScriptObject, CompileFailuresComeBackAsErrors)
{
    auto missing = backtest::make("DozovoZozedi", QStringLiteral("uses 'Lib',\n  'Nowhere';\nbegin end."));
    missing->IncludePath = QStringList{QStringLiteral("/nonexistent")};
    missing->OnGetUnit = [](TqsScript *, const QString &name, QString &text) {
        if (name != QLatin1String("Lib"))
            throw Exception(QStringLiteral("No unit ") + name);
        text = QStringLiteral("begin end.");
    };
    EXPECT_FALSE(missing->Compile());
    EXPECT_EQ(missing->ErrorMsg, QStringLiteral("No unit Nowhere"));
    EXPECT_EQ(missing->ErrorPos, QStringLiteral("2:3"));
    missing->OnGetUnit = nullptr;
    EXPECT_FALSE(missing->Compile());
    EXPECT_TRUE(missing->ErrorMsg.startsWith(QStringLiteral("Cannot open file \"/nonexistent/"))) << qPrintable(missing->ErrorMsg);

    auto unknown = backtest::make("Klingon", QStringLiteral("x"));
    EXPECT_FALSE(unknown->Compile());
    EXPECT_EQ(unknown->ErrorMsg, qsMessage(u"SLangNotFound").replace(QStringLiteral("%s"), QStringLiteral("Klingon")));
}

// Every stored program with one element taken out builds or fails with an error; none crashes.
TEST(QsScriptObject, ProgramsWithMissingPartsNeverCrash)
{
    backtest::ensureLanguages();
    const QString dir = qEnvironmentVariable("LIRRA_TEST_DATA") + QStringLiteral("/script/golden/");
    const struct
    {
        const char *file, *language;
    } goldens[] = {{"dozovo", "DozovoZozedi"}, {"iraved", "D++Iraved"}, {"devav", "DevavAraroz"}, {"jscript", "JScript"}};
    for (const auto &g : goldens) {
        QFile f(dir + QLatin1String(g.file) + QLatin1String(".il"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << g.file;
        const QByteArray il = f.readAll();
        TqsXMLDocument whole;
        whole.LoadFromBytes(il);
        std::vector<TqsXMLItem *> all;
        std::function<void(TqsXMLItem *)> collect = [&](TqsXMLItem *x) {
            for (int i = 0; i < x->Count(); ++i) {
                all.push_back(x->Items(i));
                collect(x->Items(i));
            }
        };
        collect(whole.Root());
        for (size_t k = 0; k < all.size(); ++k) {
            TqsXMLDocument doc;
            doc.LoadFromBytes(il);
            std::vector<TqsXMLItem *> items;
            std::function<void(TqsXMLItem *)> walk = [&](TqsXMLItem *x) {
                for (int i = 0; i < x->Count(); ++i) {
                    items.push_back(x->Items(i));
                    walk(x->Items(i));
                }
            };
            walk(doc.Root());
            TqsXMLItem *victim = items[k];
            victim->SetParent(nullptr);
            delete victim;
            QByteArray cut = doc.SaveToBytes();
            auto s = backtest::make(g.language, QString());
            s->AddVariable(QStringLiteral("Foo"), QStringLiteral("Variant"), Variant());
            QBuffer b(&cut);
            b.open(QIODevice::ReadOnly);
            s->SetILCode(&b); // either way, no crash
        }
    }
}

TEST(QsScriptObject, DeclarationOrderAndGlobals)
{
    // a procedure may be called before its text
    auto d = backtest::make("DozovoZozedi", QStringLiteral("var r: Integer;\nprocedure Q; begin P end;\nprocedure P; begin r := 7 end;\nbegin Q end."));
    ASSERT_EQ(backtest::run(*d), QString());
    EXPECT_EQ(d->Variables(QStringLiteral("r")).toInt(), 7);
    // undeclared names assigned inside a function are globals of the script
    auto js = backtest::make("JScript", QStringLiteral("function f() { fresh = 5; }\nf();"));
    ASSERT_EQ(backtest::run(*js), QString());
    EXPECT_EQ(js->Variables(QStringLiteral("fresh")).toInt(), 5);
    EXPECT_TRUE(js->FindLocal(u"fresh"));
}
