// The text-object editor: expressions inserted in the memo's delimiters, the hosted format and
// highlight pages written only on OK, the font, the keys and the word wrap kept between openings.
#include "designer/core/memoeditor.h"
#include "designer/widgets/formateditorform.h"
#include "designer/widgets/highlighteditorform.h"
#include "designer/widgets/memoeditorform.h"
#include "designer/widgets/sysmemoform.h"
#include "tests/designerobjdialogs/objfixture.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

using namespace objtest;

namespace {

TEST(MemoEditorRules, ExpressionsAreEnclosedInTheDelimiters)
{
    const struct {
        const char *expr, *delimiters, *expected;
    } cases[] = {
        {"<EVENTS.\"TITOLO\">", "[,]", "[EVENTS.\"TITOLO\"]"},
        {"<A> + <B>", "[,]", "[<A> + <B>]"},
        {"<Page#>", "<<,>>", "<<Page#>>"},
        {"1 + 2", "[", "1 + 2["},  // no comma: the whole text closes
        {"<", "[,]", "[<]"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kvlBracketExpression(QString::fromUtf8(c.expr), QString::fromUtf8(c.delimiters)), QString::fromUtf8(c.expected))
            << c.expr;
}

struct MemoEditor : Fixture {
    bool run(std::function<void(TkvlMemoEditorForm *)> Steps, bool Ok = true)
    {
        whenModal([Steps, Ok](QDialog *d) {
            auto *f = static_cast<TkvlMemoEditorForm *>(d);
            Steps(f);
            if (f->isVisible())
                click(child<QWidget>(f, Ok ? "OkB" : "CancelB"));
        });
        return kvlEditMemo(nullptr, designer.get(), memo);
    }
    static void showPage(TkvlMemoEditorForm *f, int Index)
    {
        QTabBar *bar = f->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(Index).center());
    }
};

TEST_F(MemoEditor, InsertsPickedExpressionsAtTheCaretAndNothingOnCancel)
{
    memo->SetText(QStringLiteral("Titolo: "));
    designer->answers = {QStringLiteral("<EVENTS.\"TITOLO\">"), QString()};
    ASSERT_TRUE(run([](TkvlMemoEditorForm *f) {
        QTest::keyClick(f->Memo, Qt::Key_End);
        click(f->ExprB);
        click(f->ExprB);  // cancelled
    }));
    EXPECT_EQ(memo->Text(), QStringLiteral("Titolo: [EVENTS.\"TITOLO\"]\r\n"));
    EXPECT_EQ(designer->asked, (QStringList{QString(), QString()}));
}

TEST_F(MemoEditor, AggregateReplacesTheSelection)
{
    memo->SetText(QStringLiteral("Totale: X"));
    ASSERT_TRUE(run([](TkvlMemoEditorForm *f) {
        QTest::keyClick(f->Memo, Qt::Key_End);
        QTest::keyClick(f->Memo, Qt::Key_Left, Qt::ShiftModifier);
        whenModal([](QDialog *d) {
            auto *s = static_cast<TkvlSysMemoEditorForm *>(d);
            s->FunctionCB->setFocus();
            QTest::keyClicks(s->FunctionCB, QStringLiteral("COUNT"));
            s->DataBandCB->setFocus();
            QTest::keyClicks(s->DataBandCB, QStringLiteral("MasterData1"));
            click(child<QWidget>(s, "OKB"));
        });
        click(f->AggregateB);
    }));
    EXPECT_EQ(memo->Text(), QStringLiteral("Totale: [COUNT(MasterData1)]\r\n"));
}

TEST_F(MemoEditor, CtrlEnterKeepsTheTypedTextAndEscapeDropsIt)
{
    memo->SetText(QStringLiteral("one\r\ntwo"));
    whenModal([](QDialog *d) {
        auto *f = static_cast<TkvlMemoEditorForm *>(d);
        QTest::keyClick(f->Memo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(f->Memo, QStringLiteral("new"));
        QTest::keyClick(f->Memo, Qt::Key_Return);
        QTest::keyClicks(f->Memo, QStringLiteral("lines"));
        QTest::keyClick(f->Memo, Qt::Key_Return, Qt::ControlModifier);
    });
    ASSERT_TRUE(kvlEditMemo(nullptr, designer.get(), memo));
    EXPECT_EQ(memo->Text(), QStringLiteral("new\r\nlines\r\n"));
    whenModal([](QDialog *d) {
        auto *f = static_cast<TkvlMemoEditorForm *>(d);
        QTest::keyClicks(f->Memo, QStringLiteral("more"));
        QTest::keyClick(f->Memo, Qt::Key_Escape);
    });
    EXPECT_FALSE(kvlEditMemo(nullptr, designer.get(), memo));
    EXPECT_EQ(memo->Text(), QStringLiteral("new\r\nlines\r\n"));
}

TEST_F(MemoEditor, FormatsAndHighlightsFollowTheModalResult)
{
    memo->SetText(QStringLiteral("[A]"));
    memo->DisplayFormat();  // the one format and the one highlight every memo keeps
    memo->Highlight();
    for (bool ok : {false, true}) {
        designer->answers = {QStringLiteral("<A> > 1")};
        const bool accepted = run(
            [](TkvlMemoEditorForm *f) {
                // An expression typed meanwhile appears on the Format page.
                QTest::keyClick(f->Memo, Qt::Key_End);
                QTest::keyClicks(f->Memo, QStringLiteral(" [B]"));
                showPage(f, 1);
                ASSERT_TRUE(f->FormatTS->isAncestorOf(f->Format()->ComboBox1));
                ASSERT_EQ(f->Format()->ComboBox1->count(), 2);
                QListWidget *cat = f->Format()->CategoryLB;
                QTest::mouseClick(cat->viewport(), Qt::LeftButton, {}, cat->visualItemRect(cat->item(fkDateTime)).center());
                showPage(f, 2);
                ASSERT_TRUE(f->HighlightTS->isAncestorOf(f->Highlight()->AddB));
                click(f->Highlight()->AddB);
            },
            ok);
        EXPECT_EQ(accepted, ok);
        if (!ok) {
            ASSERT_EQ(memo->Formats()->Count(), 1);
            EXPECT_EQ(memo->Formats()->Items(0)->Kind, fkText);
            ASSERT_EQ(memo->Highlights()->Count(), 1);
            EXPECT_EQ(memo->Highlights()->Items(0)->Condition, QString());
            EXPECT_EQ(memo->Text(), QStringLiteral("[A]\r\n"));
        }
    }
    ASSERT_EQ(memo->Formats()->Count(), 2);
    EXPECT_EQ(memo->Formats()->Items(0)->Kind, fkDateTime);
    ASSERT_EQ(memo->Highlights()->Count(), 1);
    EXPECT_EQ(memo->Highlights()->Items(0)->Condition, QStringLiteral("<A> > 1"));
    EXPECT_EQ(memo->Text(), QStringLiteral("[A] [B]\r\n"));
}

TEST_F(MemoEditor, AWhiteObjectFontIsShownBlack)
{
    memo->Font()->SetColor(clWhite);
    memo->Font()->SetName(QStringLiteral("Courier New"));
    designer->UseObjectFont = true;
    ASSERT_TRUE(run([](TkvlMemoEditorForm *f) {
        EXPECT_EQ(f->Memo->palette().color(QPalette::Text), QColor(Qt::black));
        EXPECT_EQ(f->Memo->font().family(), QStringLiteral("Courier New"));
    }));
    EXPECT_EQ(memo->Font()->Color(), clWhite);
}

TEST_F(MemoEditor, WordWrapIsKeptAcrossOpeningsWithTheWholeText)
{
    const QString longLine = QString(400, u'w') + QStringLiteral(" end");
    memo->SetText(longLine);
    ASSERT_TRUE(run([](TkvlMemoEditorForm *f) {
        EXPECT_FALSE(f->WordWrapB->isChecked());
        click(f->WordWrapB);
        EXPECT_EQ(f->Memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    }));
    EXPECT_EQ(memo->Text(), longLine + QStringLiteral("\r\n"));
    ASSERT_TRUE(run([](TkvlMemoEditorForm *f) {
        EXPECT_TRUE(f->WordWrapB->isChecked());
        EXPECT_EQ(f->Memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        click(f->WordWrapB);
    }));
    EXPECT_EQ(memo->Text(), longLine + QStringLiteral("\r\n"));
}

} // namespace
