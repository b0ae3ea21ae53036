// Filling memos for a record: expressions, display formats, zeros, repeats, highlights.
#include "tests/memo/memofixture.h"

#include "platform/rtl/datetime.h"
#include "report/memo/memoformat.h"
#include "report/serial/xmlserializer.h"
#include "report/xml/xmlitem.h"
#include "platform/rtl/reflect/classinfo.h"

#include <functional>

namespace {

QString lines(TkvlCustomMemoView *m)
{
    QString t = m->Text();
    t.chop(2);
    return t;
}

using MemoFill = MemoFixture;

TEST_F(MemoFill, ExpressionsBetweenTheDelimitersAreReplacedOnce)
{
    report.Values = {{"A", Variant(QStringLiteral("[B]"))}, {"B", Variant(7)},   {"\"]\"", Variant(QStringLiteral("q"))},
                     {"X[1]", Variant(5)},                   {"A<", Variant(1)}};
    const struct {
        const char *text, *delimiters, *expected;
    } cases[] = {
        {"no expressions here", "[,]", "no expressions here"},
        {"[A] and [B]", "[,]", "[B] and 7"},           // inserted values are not scanned again
        {"x [X[1]] y", "[,]", "x 5 y"},                 // the outer pair encloses the inner one
        {"say [\"]\"]!", "[,]", "say q!"},              // a quoted delimiter does not close
        {"[B] then [unmatched", "[,]", "7 then [unmatched"},
        {"<<A<>> and [B]", "<<,>>", "1 and [B]"},
        {"[B]", ",]", "[B]"},                           // an empty delimiter: filling is off
        {"[B]", "[,", "[B]"},
    };
    for (const auto &c : cases) {
        TkvlMemoView *m = NewMemo(QString::fromUtf8(c.text));
        m->SetExpressionDelimiters(QString::fromUtf8(c.delimiters));
        m->GetData();
        EXPECT_EQ(lines(m), QString::fromUtf8(c.expected)) << c.text;
    }
}

TEST_F(MemoFill, RecordAfterRecordValuesOfAnyLengthAndLineBreaksMakeTheLines)
{
    // One memo over several records: the filled text is made in room kept from the record
    // before, so a long value after short ones, and short after long, must come out whole.
    const QString longValue = QString(300, u'z');
    const struct {
        QString value, expected;
    } records[] = {
        {QStringLiteral("a"), QStringLiteral("<a>")},
        {longValue, u'<' + longValue + u'>'},
        {QStringLiteral("b"), QStringLiteral("<b>")},
        {QStringLiteral("one\r\ntwo"), QStringLiteral("<one\r\ntwo>")},  // the value's lines become lines
        {QStringLiteral("one\ntwo"), QStringLiteral("<one\r\ntwo>")},
        {QStringLiteral("one\u2028two"), QStringLiteral("<one\r\ntwo>")},
        {QStringLiteral("tab\there"), QStringLiteral("<tab\there>")},    // a control character that breaks nothing
        {QString(), QStringLiteral("<>")},
    };
    TkvlMemoView *m = NewMemo(QStringLiteral("<[V]>"));
    for (const auto &r : records) {
        report.Values = {{"V", Variant(r.value)}};
        m->BeforePrint();
        m->GetData();
        EXPECT_EQ(lines(m), r.expected) << r.value.left(20).toStdString();
        EXPECT_EQ(m->Memo().Count(), int(r.expected.count(QLatin1String("\r\n"))) + 1) << r.value.left(20).toStdString();
        m->AfterPrint();
        EXPECT_EQ(m->Text(), QStringLiteral("<[V]>\r\n"));
    }
}

TEST_F(MemoFill, TheKthExpressionTakesTheKthFormatAndTheLastFormatServesTheRest)
{
    rtl::ScopedFormatSettings en(TFormatSettings::english());
    report.Values = {{"A", Variant(1.5)}, {"B", Variant(2.25)}, {"C", Variant(3.0)}};
    TkvlMemoView *one = NewMemo(QStringLiteral("[A] [B] [C]"));
    one->DisplayFormat()->Kind = fkNumeric;
    one->DisplayFormat()->FormatStr = QStringLiteral("0.00");
    one->GetData();
    EXPECT_EQ(lines(one), QStringLiteral("1.50 2.25 3.00"));

    TkvlMemoView *two = NewMemo(QStringLiteral("[A] [B] [C]"));
    two->DisplayFormat()->Kind = fkNumeric;
    two->DisplayFormat()->FormatStr = QStringLiteral("0.00");
    auto *f1 = static_cast<TkvlFormat *>(two->Formats()->Add());
    f1->Kind = fkNumeric;
    f1->FormatStr = QStringLiteral("0.0");
    two->GetData();
    EXPECT_EQ(lines(two), QStringLiteral("1.50 2.3 3.0"));
}

TEST_F(MemoFill, InlineFormatsFollowABlankAndANumberSign)
{
    rtl::ScopedFormatSettings en(TFormatSettings::english());
    report.Values = {{"A", Variant(1234.5)}, {"f(A #1)", Variant(QStringLiteral("whole"))},
                     {"D", Variant::fromDate(45000)}, {"T", Variant(true)}, {"F", Variant(0)}};
    const struct {
        const char *text, *expected;
    } cases[] = {
        {"[A #N0.00]", "1234.50"},
        {"[A #N0,00]", "1234,50"},           // ',' becomes the decimal separator
        {"[f(A #1)]", "whole"},              // ")" after " #": all of it is the expression
        {"[D #Dyyyy-mm-dd]", "2023-03-15"},
        {"[T #Bno,yes] [F #Bno,yes]", "yes no"},
        {"[TOTALPAGES#] [copyname#]", "[TotalPages#] [CopyName#]"},
    };
    for (const auto &c : cases) {
        TkvlMemoView *m = NewMemo(QString::fromUtf8(c.text));
        m->GetData();
        EXPECT_EQ(lines(m), QString::fromUtf8(c.expected)) << c.text;
    }
}

TEST(MemoFormat, NumbersDatesAndBooleansUnderPinnedSettings)
{
    const TFormatSettings it = TFormatSettings::italian(), en = TFormatSettings::english();
    const struct {
        const TFormatSettings *fs;
        TkvlFormatKind kind;
        const char *format, *decimal, *thousand;
        Variant value;
        const char *expected;
    } cases[] = {
        {&en, fkNumeric, "#,##0.00", "", "", Variant(1234.5), "1,234.50"},
        {&it, fkNumeric, "#,##0.00", "", "", Variant(1234.5), "1.234,50"},
        {&en, fkNumeric, "#,##0.00", ",", ".", Variant(1234.5), "1.234,50"},  // swapped
        {&en, fkNumeric, "%d", "", "", Variant(41.7), "42"},
        {&en, fkNumeric, "%2.2f", "", "", Variant(3.14159), "3.14"},
        {&it, fkNumeric, "%2.2f", "", "", Variant(3.14159), "3,14"},
        {&en, fkNumeric, "%.2f dollars", "", "", Variant(7), "7.00 dollars"},
        {&en, fkNumeric, "%s%s", "", "", Variant(12), "12"},
        {&en, fkNumeric, "%n", "", "", Variant(12.5), "12.50"},
        {&en, fkNumeric, "%999999d", "", "", Variant(12), "12"},
        {&en, fkNumeric, "%", "", "", Variant(12), "12"},
        {&en, fkNumeric, "%d %d", "", "", Variant(12), "12"},
        {&en, fkNumeric, "0.00", "", "", Variant(QStringLiteral("abc")), "abc"},  // does not fit
        {&en, fkBoolean, "No,Yes", "", "", Variant(true), "Yes"},
        {&en, fkBoolean, "No,Yes", "", "", Variant(0), "No"},
        {&it, fkDateTime, "dd/mm/yyyy", "", "", Variant::fromDate(45000), "15/03/2023"},
        {&en, fkText, "", "", "", Variant::null(), ""},
        {&en, fkNumeric, "0.00", "", "", Variant::null(), ""},
    };
    for (const auto &c : cases) {
        TkvlFormat f(nullptr);
        f.Kind = c.kind;
        f.FormatStr = QString::fromUtf8(c.format);
        f.DecimalSeparator = QString::fromUtf8(c.decimal);
        f.ThousandSeparator = QString::fromUtf8(c.thousand);
        EXPECT_EQ(kvlFormatMemoValue(c.value, f, *c.fs), QString::fromUtf8(c.expected)) << c.format;
    }
}

TEST_F(MemoFill, HideZerosHidesNumericZerosButNotTheTextZero)
{
    report.Values = {{"S", Variant(QStringLiteral("0"))}, {"I", Variant(0)},       {"F", Variant(0.0)},
                     {"B", Variant(false)},               {"N", Variant::null()},  {"D", Variant::fromDate(0)},
                     {"A", Variant::arrayOf({Variant(0)})}, {"One", Variant(1)}};
    TkvlMemoView *m = NewMemo(QStringLiteral("<[S]|[I]|[F]|[D]|[N]|[One]>"));
    m->HideZeros = true;
    m->GetData();
    EXPECT_EQ(lines(m), QStringLiteral("<0|||||1>"));
    EXPECT_TRUE(kvlIsZeroValue(Variant(false)));
    EXPECT_FALSE(kvlIsZeroValue(Variant::arrayOf({Variant(0)})));
    EXPECT_FALSE(kvlIsZeroValue(Variant()));
}

TEST_F(MemoFill, SuppressRepeatedEmptiesRunsUntilReset)
{
    TkvlMemoView *m = NewMemo(QStringLiteral("[V]"));
    m->SuppressRepeated = true;
    QStringList printed;
    for (const char *v : {"a", "a", "b", "b", "b", "R", "b"}) {
        if (QLatin1String(v) == QLatin1String("R")) {
            m->ResetSuppress();
            continue;
        }
        report.Values[QStringLiteral("V")] = Variant(QString::fromUtf8(v));
        m->BeforePrint();
        m->GetData();
        printed << lines(m);
        m->AfterPrint();
    }
    EXPECT_EQ(printed, (QStringList{"a", "", "b", "", "", "b"}));
    EXPECT_EQ(lines(m), QStringLiteral("[V]"));
}

TEST_F(MemoFill, TheFirstTrueHighlightAppliesAndAfterPrintRestores)
{
    TkvlMemoView *m = NewMemo(QStringLiteral("x"));
    m->SetColor(0x00FF00);
    const struct {
        const char *condition;
        TColor color;
    } highlights[] = {{"  ", 0x111111}, {"No", 0x222222}, {"Yes", 0x333333}, {"Also", 0x444444}};
    for (const auto &h : highlights) {
        auto *hl = static_cast<TkvlHighlight *>(m->Highlights()->Add());
        hl->Condition = QString::fromUtf8(h.condition);
        hl->SetColor(h.color);
        hl->ApplyFont = false;
    }
    m->Highlights()->Items(3)->Visible = false;
    report.Values = {{"No", Variant(false)}, {"Yes", Variant(true)}, {"Also", Variant(true)}};
    m->BeforePrint();
    m->GetData();
    EXPECT_EQ(m->Color(), TColor(0x333333));
    EXPECT_TRUE(m->Visible());
    m->AfterPrint();
    EXPECT_EQ(m->Color(), TColor(0x00FF00));
    EXPECT_FALSE(report.Evaluated.contains(QStringLiteral("Also")));
}

TEST_F(MemoFill, FlowToRefusesChainsLeadingBack)
{
    TkvlMemoView *a = NewMemo(), *b = NewMemo(), *c = NewMemo();
    a->SetFlowTo(a);
    EXPECT_EQ(a->FlowTo(), nullptr);
    a->SetFlowTo(b);
    b->SetFlowTo(c);
    c->SetFlowTo(a);
    EXPECT_EQ(c->FlowTo(), nullptr);
    EXPECT_EQ(b->FlowTo(), c);
}

// Three rows, three field expressions, a numeric and a date format and a highlight: each row
// gives its own texts and the template comes back after it.
TEST_F(MemoFill, RowsOfAFakeSourceFillAndRestoreTheTemplate)
{
    rtl::ScopedFormatSettings it(TFormatSettings::italian());
    const QString tmpl = QStringLiteral("[ds.\"Name\"]: [ds.\"Price\"] / [ds.\"Day\"]");
    TkvlMemoView *m = NewMemo(tmpl);
    m->DisplayFormat()->Kind = fkText;
    auto *num = static_cast<TkvlFormat *>(m->Formats()->Add());
    num->Kind = fkNumeric;
    num->FormatStr = QStringLiteral("#,##0.00");
    auto *day = static_cast<TkvlFormat *>(m->Formats()->Add());
    day->Kind = fkDateTime;
    day->FormatStr = QStringLiteral("dd/mm/yyyy");
    m->Highlight()->Condition = QStringLiteral("ds.\"Price\" > 1000");
    m->Highlight()->SetColor(0x0000FF);
    m->Highlight()->ApplyFont = false;
    m->SetColor(clNone);
    const struct {
        const char *name;
        double price;
        int day;
        bool big;
        const char *expected;
    } rows[] = {
        {"Sala", 1500, 45000, true, "Sala: 1.500,00 / 15/03/2023"},
        {"Aula", 20.5, 45001, false, "Aula: 20,50 / 16/03/2023"},
        {"Atrio", 0, 45002, false, "Atrio: 0,00 / 17/03/2023"},
    };
    for (const auto &r : rows) {
        report.Values = {{"ds.\"Name\"", Variant(QString::fromUtf8(r.name))},
                         {"ds.\"Price\"", Variant(r.price)},
                         {"ds.\"Day\"", Variant::fromDate(r.day)},
                         {"ds.\"Price\" > 1000", Variant(r.big)}};
        m->BeforePrint();
        m->GetData();
        EXPECT_EQ(lines(m), QString::fromUtf8(r.expected));
        EXPECT_EQ(m->Color(), r.big ? TColor(0x0000FF) : TColor(clNone));
        m->AfterPrint();
        EXPECT_EQ(lines(m), tmpl);
        EXPECT_EQ(m->Color(), TColor(clNone));
    }
}

} // namespace

namespace {

using MemoStreaming = MemoFixture;

// Two or more entries travel as nested elements; one entry as the DisplayFormat property.
TEST_F(MemoStreaming, CollectionsOfTwoOrMoreEntriesAreNestedElements)
{
    TkvlMemoView *m = NewMemo(QStringLiteral("x"));
    m->DisplayFormat()->Kind = fkNumeric;
    m->DisplayFormat()->FormatStr = QStringLiteral("0.00");
    m->Highlight()->Condition = QStringLiteral("Value > 1");
    const rtl::PropInfo *display = m->ClassType()->findProp(rtl::PropKey(QStringLiteral("DisplayFormat")));
    ASSERT_NE(display, nullptr);
    EXPECT_TRUE(display->isStored(m));
    TkvlXMLItem single;
    m->WriteNestedProperties(&single);
    EXPECT_EQ(single.Count(), 0);

    auto *second = static_cast<TkvlFormat *>(m->Formats()->Add());
    second->Kind = fkDateTime;
    second->FormatStr = QStringLiteral("dd/mm/yyyy");
    EXPECT_FALSE(display->isStored(m));
    TkvlXMLItem item;
    m->WriteNestedProperties(&item);
    ASSERT_EQ(item.Count(), 1);
    EXPECT_EQ(item.Items(0)->Name(), QStringLiteral("Formats"));

    TkvlMemoView *back = NewMemo();
    item.Items(0)->SetName(QStringLiteral("formats"));
    EXPECT_TRUE(back->ReadNestedProperty(item.Items(0)));
    ASSERT_EQ(back->Formats()->Count(), 2);
    EXPECT_EQ(back->Formats()->Items(1)->Kind, fkDateTime);
    EXPECT_EQ(back->Formats()->Items(1)->FormatStr, QStringLiteral("dd/mm/yyyy"));
    item.Items(0)->SetName(QStringLiteral("Other"));
    EXPECT_FALSE(back->ReadNestedProperty(item.Items(0)));
}

TEST_F(MemoStreaming, TheSerializerReadsAndWritesTheMemoTextThroughItsAccess)
{
    TkvlMemoView *m = NewMemo(QStringLiteral("uno\ndue"));
    const TkvlMemoTextAccess &a = kvlMemoTextAccess();
    ASSERT_EQ(a.MemoClass, TkvlCustomMemoView::StaticClass());
    EXPECT_EQ(a.GetText(m), QStringLiteral("uno\r\ndue\r\n"));
    a.SetText(m, QStringLiteral("tre\r\nquattro"));
    EXPECT_EQ(m->Memo().Count(), 2);
    EXPECT_EQ(m->Memo().Get(1), QStringLiteral("quattro"));
    EXPECT_EQ(m->GetDescription(), QStringLiteral("Testo"));
}

} // namespace

namespace {

// A memo keeps its scanned template between records; any change of the text or of the
// delimiters between two records must be seen.
TEST_F(MemoFill, AChangedTemplateIsScannedAgain)
{
    report.Values = {{"A", Variant(1)}, {"B", Variant(2)}};
    const struct {
        const char *name;
        std::function<void(TkvlMemoView *)> change;
        const char *expected;
    } cases[] = {
        {"new text", [](TkvlMemoView *m) { m->SetText(QStringLiteral("<[B]>")); }, "<2>"},
        {"line replaced, same length", [](TkvlMemoView *m) { m->Memo().Put(0, QStringLiteral("x[B]")); }, "x2"},
        {"line added", [](TkvlMemoView *m) { m->Memo().Add(QStringLiteral("[B]")); }, "x1\r\n2"},
        {"delimiters", [](TkvlMemoView *m) { m->SetExpressionDelimiters(QStringLiteral("x,1")); }, "x[A]"},
        {"inline format", [](TkvlMemoView *m) { m->SetText(QStringLiteral("x[A #N0.0]")); }, "x1.0"},
    };
    rtl::ScopedFormatSettings en(TFormatSettings::english());
    for (const auto &c : cases) {
        TkvlMemoView *m = NewMemo(QStringLiteral("x[A]"));
        m->BeforePrint();
        m->GetData();
        ASSERT_EQ(lines(m), QStringLiteral("x1"));
        m->AfterPrint();
        c.change(m);
        m->BeforePrint();
        m->GetData();
        EXPECT_EQ(lines(m), QString::fromUtf8(c.expected)) << c.name;
        m->AfterPrint();
    }
}

} // namespace
