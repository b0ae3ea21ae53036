// The expression editor: OK and Cancel, insertion by double click, drops only from its own
// tree, and the tree's tab and scroll kept for the next opening.
#include "designer/widgets/expreditorform.h"
#include "report/vars/kvlvariables.h"
#include "tests/designerobjdialogs/objfixture.h"

#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

using namespace objtest;

namespace {

struct ExprEditor : Fixture {
    ExprEditor()
    {
        for (int i = 0; i < 60; ++i)
            report->Variables().SetVariables(QStringLiteral("Var%1").arg(i), Variant(i));
        kvlExprTreePosition() = {};
    }
    static TkvlPlainDataTree *tree(QDialog *d)
    {
        return static_cast<TkvlPlainDataTree *>(static_cast<TkvlExprEditorForm *>(d)->DataTree());
    }
};

TEST_F(ExprEditor, OkGivesTheTextAndCancelGivesNothing)
{
    whenModal([](QDialog *d) {
        auto *f = static_cast<TkvlExprEditorForm *>(d);
        EXPECT_EQ(f->ExprMemo->text(), QStringLiteral("Value = 0"));
        f->ExprMemo->selectAll();
        QTest::keyClicks(f->ExprMemo, QStringLiteral("Value > 1"));
        QTest::keyClick(f->ExprMemo, Qt::Key_Return);
    });
    EXPECT_EQ(kvlEditExpression(nullptr, report.get(), QStringLiteral("Value = 0")), QStringLiteral("Value > 1"));
    whenModal([](QDialog *d) {
        auto *f = static_cast<TkvlExprEditorForm *>(d);
        QTest::keyClicks(f->ExprMemo, QStringLiteral(" + 1"));
        QTest::keyClick(f->ExprMemo, Qt::Key_Escape);
    });
    EXPECT_EQ(kvlEditExpression(nullptr, report.get(), QStringLiteral("Value")), QString());
}

TEST_F(ExprEditor, DoubleClickInsertsAndOnlyItsOwnTreeMayDrop)
{
    TkvlPlainDataTree other(nullptr, report.get());
    whenModal([&other](QDialog *d) {
        auto *f = static_cast<TkvlExprEditorForm *>(d);
        TkvlPlainDataTree *t = tree(d);
        QTest::mouseClick(t->Tabs->tabBar(), Qt::LeftButton, {}, t->Tabs->tabBar()->tabRect(1).center());
        QTreeWidget *vars = t->Trees[1];
        QTreeWidgetItem *first = vars->topLevelItem(0)->child(0);
        const QPoint at = vars->visualItemRect(first).center();
        QTest::mouseClick(vars->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(vars->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(f->ExprMemo->text(), QStringLiteral("<Var0>"));

        auto dragEnter = [f](const QByteArray &Mark) {
            QMimeData data;
            data.setData(TkvlExprDataTree::MimeFormat, Mark);
            QDragEnterEvent e(f->ExprMemo->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(f->ExprMemo, &e);
            return e.isAccepted();
        };
        EXPECT_TRUE(dragEnter(t->Mark()));
        EXPECT_FALSE(dragEnter(other.Mark())) << "a tree of another window";
        EXPECT_FALSE(dragEnter(QByteArray()));
        click(child<QWidget>(f, "OkB"));
    });
    EXPECT_EQ(kvlEditExpression(nullptr, report.get(), QString()), QStringLiteral("<Var0>"));
}

TEST_F(ExprEditor, TheSecondOpeningShowsTheFirstsTabAndScroll)
{
    int scrolled = 0;
    whenModal([&scrolled](QDialog *d) {
        TkvlPlainDataTree *t = tree(d);
        EXPECT_EQ(t->Tabs->currentIndex(), 0);
        QTest::mouseClick(t->Tabs->tabBar(), Qt::LeftButton, {}, t->Tabs->tabBar()->tabRect(1).center());
        QTreeWidget *vars = t->Trees[1];
        // A click on the scroll bar's track below the handle scrolls a page down.
        QScrollBar *bar = vars->verticalScrollBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - bar->width() - 4));
        scrolled = vars->verticalScrollBar()->value();
        EXPECT_GT(scrolled, 0);
        click(child<QWidget>(d, "CancelB"));
    });
    kvlEditExpression(nullptr, report.get(), QString());
    whenModal([&scrolled](QDialog *d) {
        TkvlPlainDataTree *t = tree(d);
        EXPECT_EQ(t->Tabs->currentIndex(), 1);
        EXPECT_EQ(t->Trees[1]->verticalScrollBar()->value(), scrolled);
        click(child<QWidget>(d, "CancelB"));
    });
    kvlEditExpression(nullptr, report.get(), QString());
}

} // namespace
