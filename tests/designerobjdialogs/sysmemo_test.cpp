// The system-text and aggregate dialog: the aggregate text, the incoming line break, and the
// window's modes and result.
#include "designer/widgets/sysmemoform.h"
#include "engine/widgets/kvlcombobox.h"
#include "tests/designerobjdialogs/objfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QToolButton>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace objtest;

namespace {

TEST(SysMemoRules, AggregateText)
{
    auto choice = [](const char *fn, const char *expr, const char *band, bool invisible, bool running) {
        TkvlAggregateChoice c;
        c.Function = QString::fromLatin1(fn);
        c.Expression = QString::fromLatin1(expr);
        c.DataSet = QStringLiteral("EVENTS");
        c.DataField = QStringLiteral("ID");
        c.Band = QString::fromLatin1(band);
        c.CountInvisible = invisible;
        c.RunningTotal = running;
        return c;
    };
    const struct {
        TkvlAggregateChoice c;
        const char *expected;
    } cases[] = {
        {choice("SUM", "", "MasterData1", false, false), "SUM(<EVENTS.\"ID\">,MasterData1)"},
        {choice("MAX", "<EVENTS.\"N\"> * 2", "MasterData1", false, true), "MAX(<EVENTS.\"N\"> * 2,MasterData1,2)"},
        {choice("AVG", "", "", true, true), "AVG(<EVENTS.\"ID\">)"},
        {choice("COUNT", "", "MasterData1", true, false), "COUNT(MasterData1,1)"},
        {choice("COUNT", "", "MasterData1", true, true), "COUNT(MasterData1,3)"},
        {choice("COUNT", "", "", false, false), "COUNT()"},
        {choice("COUNT", "", "", true, false), "COUNT(,1)"},
        {choice("count", "", "", false, false), "count(<EVENTS.\"ID\">)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kvlCreateAggregate(c.c), QString::fromLatin1(c.expected)) << c.expected;
}

TEST(SysMemoRules, OneTrailingLineBreakOfEitherFormIsRemoved)
{
    const struct {
        const char *in, *out;
    } cases[] = {{"[PAGE#]\r\n", "[PAGE#]"}, {"[PAGE#]\n", "[PAGE#]"}, {"Hello", "Hello"}, {"", ""},
                 {"a\r\n\r\n", "a\r\n"},     {"ab\r", "ab\r"}};
    for (const auto &c : cases)
        EXPECT_EQ(kvlStripLineBreak(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

struct SysMemoWindow : Fixture {};

TEST_F(SysMemoWindow, OpensOnTheVariableOrOnTheText)
{
    const struct {
        const char *text;
        bool variable;
        const char *shown;
    } cases[] = {
        {"[PAGE#]\r\n", true, "[PAGE#]"}, {"[page#]\n", true, "[page#]"}, {"[TOTALPAGES#]\r\n", true, "[TOTALPAGES#]"},
        {"Hello\r\n", false, "Hello"},    {"", true, ""},
    };
    for (const auto &c : cases) {
        whenModal([&c](QDialog *d) {
            auto *f = static_cast<TkvlSysMemoEditorForm *>(d);
            EXPECT_EQ(f->SysVariableRB->isChecked(), c.variable) << c.text;
            EXPECT_EQ(f->TextRB->isChecked(), !c.variable) << c.text;
            const QString shown = c.variable ? f->SysVariableCB->currentText() : f->TextE->text();
            EXPECT_EQ(shown, QString::fromLatin1(c.shown)) << c.text;
            click(child<QWidget>(f, "OKB"));
        });
        QString text = QString::fromLatin1(c.text);
        ASSERT_TRUE(kvlEditSysMemo(nullptr, designer.get(), text));
        EXPECT_EQ(text, QString::fromLatin1(c.shown)) << "OK writes back what is shown, unchanged";
    }
}

TEST_F(SysMemoWindow, AggregateOnlyBuildsTheBracketedAggregate)
{
    whenModal([](QDialog *d) {
        auto *f = static_cast<TkvlSysMemoEditorForm *>(d);
        EXPECT_EQ(f->windowTitle(), QStringLiteral("Inserisci aggregato"));
        EXPECT_FALSE(f->SysVariableRB->isVisible());
        EXPECT_FALSE(f->TextE->isVisible());
        EXPECT_TRUE(f->AggregateRB->isChecked());
        EXPECT_EQ(f->DataBandCB->findText(QStringLiteral("MasterData1")), 0);
        f->FunctionCB->setFocus();
        QTest::keyClicks(f->FunctionCB, QStringLiteral("COUNT"));
        f->DataBandCB->setFocus();
        QTest::keyClicks(f->DataBandCB, QStringLiteral("MasterData1"));
        click(f->RunningTotalCB);
        EXPECT_EQ(f->SampleL->text(), QStringLiteral("COUNT(MasterData1,2)"));
        click(child<QWidget>(f, "OKB"));
    });
    EXPECT_EQ(kvlInsertAggregate(nullptr, designer.get()), QStringLiteral("[COUNT(MasterData1,2)]"));
    whenModal([](QDialog *d) { click(child<QWidget>(d, "CancelB")); });
    EXPECT_EQ(kvlInsertAggregate(nullptr, designer.get()), QString());
}

TEST_F(SysMemoWindow, ExpressionButtonFillsTheArgument)
{
    designer->answers = {QStringLiteral("<EVENTS.\"N\"> * 2")};
    whenModal([](QDialog *d) {
        auto *f = static_cast<TkvlSysMemoEditorForm *>(d);
        click(f->AggregateRB);
        f->FunctionCB->setFocus();
        QTest::keyClicks(f->FunctionCB, QStringLiteral("MAX"));
        click(f->ExpressionE->Button());
        click(child<QWidget>(f, "OKB"));
    });
    QString text;
    ASSERT_TRUE(kvlEditSysMemo(nullptr, designer.get(), text));
    EXPECT_EQ(text, QStringLiteral("[MAX(<EVENTS.\"N\"> * 2)]"));
}

} // namespace
