// Evaluating expressions: the cache of compiled functions, errors, names resolved in order,
// the script functions Get, Set, IIF and SUM, and events into script procedures.
#include "platform/rtl/exceptions.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlresourcetext.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/run/kvlexpressioncache.h"
#include "report/vars/kvlvariables.h"
#include "script/core/qsscript.h"
#include "script/items/qsitems.h"
#include "tests/run/runfixture.h"

namespace {

class Evaluation : public RunFixture {
protected:
    Evaluation()
    {
        report->EngineOptions()->DestroyForms = false;
        ds = addDataSet(QStringLiteral("DS"));
        ds->Rows = 3;
        ds->Values = [this](const QString &f, int row) { return fieldValue ? fieldValue(f, row) : Variant(row + 1); };
    }
    void prepare(const QString &Script = QStringLiteral("begin end."))
    {
        report->ScriptText().SetText(Script);
        ASSERT_TRUE(report->PrepareScript()) << report->Errors().Text().toStdString();
    }
    void setVariable(const QString &Name, const Variant &Value)
    {
        ::setVariable(*report, Name, Value);
    }

    TestDataSet *ds = nullptr;
    std::function<Variant(const QString &, int)> fieldValue;
};

TEST_F(Evaluation, EachDistinctTextIsCompiledOnceIntoTheNextNumberedFunction)
{
    prepare();
    TkvlExpressionCache &cache = report->ExpressionCache();
    EXPECT_EQ(report->Calc(QStringLiteral("1 + 1")), Variant(2));
    EXPECT_EQ(report->Calc(QStringLiteral("2 * 3")), Variant(6));
    EXPECT_EQ(report->Calc(QStringLiteral("1 + 1")), Variant(2));
    EXPECT_EQ(cache.Count(), 2);
    EXPECT_EQ(static_cast<TqsScriptItem *>(cache.Find(QStringLiteral("1 + 1"))), static_cast<TqsScriptItem *>(cache.Script().FindLocal(u"kv3f0")));
    EXPECT_EQ(static_cast<TqsScriptItem *>(cache.Find(QStringLiteral("2 * 3"))), cache.Script().FindLocal(u"kv3f1"));
    // Texts that differ only in case are different expressions.
    EXPECT_EQ(report->Calc(QStringLiteral("'Yes'")), Variant(QStringLiteral("Yes")));
    EXPECT_EQ(report->Calc(QStringLiteral("'YES'")), Variant(QStringLiteral("YES")));
    EXPECT_EQ(cache.Count(), 4);
}

TEST_F(Evaluation, EveryLanguageCompilesItsOwnFunctionForm)
{
    const struct {
        const char *language, *expression;
        Variant expected;
        QString script;  // an empty program of the language
    } cases[] = {
        {"DozovoZozedi", "2 + 3", Variant(5), QStringLiteral("begin end.")},
        {"D++Iraved", "2 + 3", Variant(5), QStringLiteral("{}")},
        {"DevavAraroz", "2 + 3", Variant(5), QStringLiteral("x = 1")},
        {"JScript", "2 + 3", Variant(5), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.language);
        report->ScriptLanguage = QString::fromLatin1(c.language);
        report->ScriptText().SetText(c.script);
        ASSERT_TRUE(report->PrepareScript()) << report->Errors().Text().toStdString();
        EXPECT_EQ(report->Calc(QString::fromLatin1(c.expression)), c.expected);
        EXPECT_NE(report->ExpressionCache().Script().FindLocal(u"kv3f0"), nullptr);
    }
}

TEST_F(Evaluation, AnExpressionThatDoesNotCompileIsNotKept)
{
    prepare();
    report->CurObject = QStringLiteral("Memo1");
    EXPECT_THROW(report->Calc(QStringLiteral("1 +")), Exception);
    EXPECT_EQ(report->ExpressionCache().Count(), 0);
    ASSERT_EQ(report->Errors().Count(), 1);
    EXPECT_TRUE(report->Errors()[0].startsWith(QStringLiteral("Memo1: ") + kvlResourceText(QStringLiteral("clExprError")) + QStringLiteral(" '1 +': ")));
    // The failed text left no function behind: the next one is still kv3f0.
    EXPECT_EQ(report->Calc(QStringLiteral("7")), Variant(7));
    EXPECT_EQ(static_cast<TqsScriptItem *>(report->ExpressionCache().Find(QStringLiteral("7"))),
              report->ExpressionCache().Script().FindLocal(u"kv3f0"));
}

TEST_F(Evaluation, DivisionByZeroIsNullOnlyWhenIgnored)
{
    prepare();
    report->CurObject = QStringLiteral("Memo1");
    report->EngineOptions()->IgnoreDevByZero = true;
    EXPECT_TRUE(report->Calc(QStringLiteral("1 / 0")).isNull());
    EXPECT_EQ(report->Errors().Count(), 0);
    report->EngineOptions()->IgnoreDevByZero = false;
    try {
        report->Calc(QStringLiteral("1 / 0"));
        FAIL() << "no exception";
    } catch (const Exception &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Memo1: Floating point division by zero"));
    }
    EXPECT_EQ(report->Errors().Count(), 1);
    // The marker form names no object and says where the error came from.
    EXPECT_THROW(report->Calc(QStringLiteral("1 / 0"), TkvlReport::CalcMarker), Exception);
    EXPECT_TRUE(report->Errors().IndexOf(kvlResourceText(QStringLiteral("clErrorInExp")) +
                                         QStringLiteral("Floating point division by zero")) >= 0);
}

TEST_F(Evaluation, NamesResolveInOrder)
{
    prepare(QStringLiteral("var ScriptVar: Integer;\r\nbegin ScriptVar := 11; end."));
    report->Script()->Execute();
    setVariable(QStringLiteral("DS.\"N\""), Variant(QStringLiteral("99")));  // a field of that name wins
    setVariable(QStringLiteral("Sum23"), Variant(QStringLiteral("2+3")));
    setVariable(QStringLiteral("TwoLines"), Variant(QStringLiteral("2+3\r\nmore")));
    setVariable(QStringLiteral("Line"), Variant(QStringLiteral("100")));  // the system variable wins
    setVariable(QStringLiteral("Hosted"), Variant(QStringLiteral("1")));  // the host's answer wins
    report->OnGetValue = [](const QString &Name, Variant &Value) {
        if (Name == QLatin1String("Hosted"))
            Value = Variant(QStringLiteral("host"));
    };
    kvlGlobalVariables().SetVariables(QStringLiteral("GlobalOne"), Variant(42));
    engine().CurLine = 4;
    engine().CurLineThrough = 17;
    ds->First();
    ds->Next();  // row 1: the field gives 2

    const struct {
        const char *name;
        Variant expected;
    } cases[] = {
        {"DS.\"N\"", Variant(2)},
        {"Sum23", Variant(5)},
        {"TwoLines", Variant(QStringLiteral("2+3\r\nmore"))},
        {"line", Variant(4)},
        {"Line#", Variant(17)},
        {"Hosted", Variant(QStringLiteral("host"))},
        {"GlobalOne", Variant(42)},
        {"ScriptVar", Variant(11)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Variant v;
        EXPECT_TRUE(report->DoGetValue(QString::fromUtf8(c.name), v));
        EXPECT_EQ(v, c.expected);
    }
    Variant v;
    EXPECT_FALSE(report->DoGetValue(QStringLiteral("Nowhere"), v));
    EXPECT_TRUE(v.isNull());
    kvlGlobalVariables().DeleteVariable(QStringLiteral("GlobalOne"));
}

// What a run remembers about a text (not a variable, its compiled function) gives way to a
// variable of that name made later, in the report or process-wide, and to a cleared cache.
TEST_F(Evaluation, ATextEvaluatedOnceStillSeesVariablesMadeLater)
{
    prepare();
    const QString text = QStringLiteral("2 + 3");
    const struct {
        const char *what;
        std::function<void()> change, undo;
        Variant expected;
    } cases[] = {
        {"report variable", [&] { report->Variables().SetVariables(text, Variant(7)); },
         [&] { report->Variables().DeleteVariable(text); }, Variant(7)},
        {"process-wide variable", [&] { kvlGlobalVariables().SetVariables(text, Variant(8)); },
         [&] { kvlGlobalVariables().DeleteVariable(text); }, Variant(8)},
        {"cache cleared", [&] { report->ExpressionCache().Clear(); }, [] {}, Variant(5)},
        {"host's hook", [&] { report->OnGetValue = [](const QString &, Variant &V) { V = Variant(6); }; },
         [&] { report->OnGetValue = nullptr; }, Variant(6)},
        {"host's new hook", [&] { report->OnNewGetValue = [](TkvlReport *, const QString &, Variant &V) { V = Variant(9); }; },
         [&] { report->OnNewGetValue = nullptr; }, Variant(9)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(report->Calc(text), Variant(5));
        EXPECT_EQ(report->Calc(text), Variant(5));
        c.change();
        EXPECT_EQ(report->Calc(text), c.expected);
        c.undo();
        EXPECT_EQ(report->Calc(text), Variant(5));
    }
}

// Texts are remembered by where their characters lie as well as by their content: two texts
// over the same characters, one a prefix of the other, are two texts.
TEST_F(Evaluation, TextsSharingTheirCharactersAreToldApart)
{
    prepare();
    static const char16_t chars[] = u"2 + 3";
    const QString whole = QString::fromRawData(reinterpret_cast<const QChar *>(chars), 5);
    const QString first = QString::fromRawData(reinterpret_cast<const QChar *>(chars), 1);
    ASSERT_EQ(whole.constData(), first.constData());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(report->Calc(whole), Variant(5));
        EXPECT_EQ(report->Calc(first), Variant(2));
    }
}

TEST_F(Evaluation, NullFieldsBecomeTheEmptyValueOfTheirTypeWhenConverted)
{
    prepare();
    fieldValue = [](const QString &, int) { return Variant::null(); };
    const struct {
        const char *field;
        Variant converted;
    } cases[] = {
        {"DS.\"Stext\"", Variant(QString())},
        {"DS.\"Dwhen\"", Variant::fromDate(0)},
        {"DS.\"Nnum\"", Variant(0)},
        {"DS.\"Bflag\"", Variant(false)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.field);
        Variant v;
        report->EngineOptions()->ConvertNulls = true;
        ASSERT_TRUE(report->DoGetValue(QString::fromUtf8(c.field), v));
        EXPECT_EQ(v.type(), c.converted.type());
        EXPECT_EQ(v, c.converted);
        report->EngineOptions()->ConvertNulls = false;
        ASSERT_TRUE(report->DoGetValue(QString::fromUtf8(c.field), v));
        EXPECT_TRUE(v.isNull());
    }
}

TEST_F(Evaluation, VariablesThatReferToEachOtherAreOneErrorAndNull)
{
    prepare();
    setVariable(QStringLiteral("A"), Variant(QStringLiteral("Get('B')")));
    setVariable(QStringLiteral("B"), Variant(QStringLiteral("Get('A')")));
    setVariable(QStringLiteral("Self1"), Variant(QStringLiteral("Get('Self1')")));
    for (const char *name : {"A", "Self1"}) {
        SCOPED_TRACE(name);
        report->Errors().Clear();
        Variant v;
        ASSERT_TRUE(report->DoGetValue(QString::fromLatin1(name), v));
        EXPECT_TRUE(v.isNull());
        ASSERT_EQ(report->Errors().Count(), 1);
        EXPECT_TRUE(report->Errors()[0].endsWith(QString::fromLatin1(name)));
    }
}

TEST_F(Evaluation, ScriptFunctionsGetSetAndIif)
{
    setVariable(QStringLiteral("V"), Variant(QStringLiteral("2+3")));
    prepare(QStringLiteral("begin Set('W', Get('V') * 2); end."));
    report->Script()->Execute();
    EXPECT_EQ(report->Variables().Variables(QStringLiteral("W")), Variant(10));
    EXPECT_EQ(report->Calc(QStringLiteral("Get('W') + 1")), Variant(11));
    EXPECT_EQ(report->Calc(QStringLiteral("IIF(Get('W') > 5, 'big', 'small')")), Variant(QStringLiteral("big")));
    EXPECT_EQ(report->Calc(QStringLiteral("IIF(Get('W') < 5, 'big', 'small')")), Variant(QStringLiteral("small")));
    // Only the branch taken is evaluated: the other one would divide by zero.
    EXPECT_EQ(report->Calc(QStringLiteral("IIF(True, 1, 1 / 0)")), Variant(1));
    EXPECT_EQ(report->Errors().Count(), 0);
    // An unknown name through Get is listed.
    report->Calc(QStringLiteral("Get('Nowhere')"));
    EXPECT_EQ(report->Errors().Count(), 1);
    EXPECT_TRUE(report->Errors()[0].endsWith(QStringLiteral(" Nowhere")));
}

TEST_F(Evaluation, SumReachesTheEngineWithItsBandAndFlags)
{
    auto *page = new TkvlReportPage(report.get());
    auto *data = new TkvlMasterData(page);
    data->SetName(QStringLiteral("MasterData1"));
    data->SetDataSet(ds);
    auto *footer = new TkvlFooter(page);
    footer->SetName(QStringLiteral("Footer1"));
    auto *memo = new TkvlMemoView(footer);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetText(QStringLiteral("[SUM(Get('DS.\"N\"'), MasterData1)] [COUNT(MasterData1, 1)]"));
    page->SubBands.push_back(data);
    data->Footer = footer;
    prepare();
    engine().Aggregates.AddItems(page);
    ASSERT_EQ(engine().Aggregates.Count(), 2);
    for (ds->First(); !ds->Eof(); ds->Next())
        engine().Aggregates.AddValue(data);
    engine().Printing = footer;
    EXPECT_EQ(report->Calc(QStringLiteral("SUM(Get('DS.\"N\"'), MasterData1)")), Variant(1 + 2 + 3));
    EXPECT_EQ(report->Calc(QStringLiteral("COUNT(MasterData1, 1)")), Variant(3));
    // Other flags are another total, which nothing made.
    EXPECT_TRUE(report->Calc(QStringLiteral("COUNT(MasterData1)")).isNull());
}

TEST_F(Evaluation, ParameterEventsWriteBackAndWaitForARunUnlessAlways)
{
    prepare(QStringLiteral("procedure Bump(var A: Variant; B: Variant);\r\nbegin A := A + B; end;\r\nbegin end."));
    Variant params = Variant::arrayOf({Variant(1), Variant(5)});
    report->DoParamEvent(QStringLiteral("Bump"), params);
    EXPECT_EQ(params.arrayGet(0), Variant(1));  // the engine is not running
    report->DoParamEvent(QStringLiteral("Bump"), params, true);
    EXPECT_EQ(params.arrayGet(0), Variant(6));
}

} // namespace

namespace {

TEST_F(Evaluation, HighlightConditionsSeeTheMemosValue)
{
    prepare();
    auto *page = new TkvlReportPage(report.get());
    page->CreateUniqueName();
    auto *band = new TkvlMasterData(page);
    band->CreateUniqueName();
    auto *memo = new TkvlMemoView(band);
    memo->CreateUniqueName();
    TkvlHighlight *h = memo->Highlight();
    h->Condition = QStringLiteral("Value = 42");
    h->ApplyFill = false;
    h->ApplyFrame = false;
    h->Font()->SetStyle(FontStyleBit(fsBold));

    for (const auto &[text, bold] : {std::pair{"[6 * 7]", true}, std::pair{"[6 * 6]", false}}) {
        SCOPED_TRACE(text);
        memo->SetText(QString::fromLatin1(text));
        memo->Font()->SetStyle(0);
        memo->GetData();
        EXPECT_EQ((memo->Font()->Style() & FontStyleBit(fsBold)) != 0, bold);
        memo->AfterPrint();
    }
}

} // namespace
