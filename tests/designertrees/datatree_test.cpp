// The data tree window on a report with two record sources and some variables, driven by
// mouse and keys.
#include "designer/core/datatree.h"
#include "designer/widgets/datatree.h"
#include "designer/widgets/dragmanager.h"
#include "tests/designerfiles/fakedesigner.h"

#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/vars/kvlvariables.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace designertest;

TEST(DataTree, FunctionInsertionTextCountsParametersInsideTheParentheses)
{
    const std::pair<const char *, const char *> cases[] = {
        {"IntToStr(i: Integer): String", "IntToStr()"},
        {"Format(Fmt: String; Args: array): String", "Format(,)"},
        {"Copy(S: String; Index, Count: Integer): String", "Copy(,,)"},
        {"Pi: Extended", "Pi"},
        {"Nothing", ""},
        {"Odd(a: Integer): Set(x, y)", "Odd()"},
    };
    for (const auto &[declaration, expected] : cases)
        EXPECT_EQ(kvldatatree::FunctionText(QString::fromLatin1(declaration)), QString::fromLatin1(expected))
            << declaration;
}

namespace {

struct DataFixture : Fixture {
    QWidget owner;
    std::unique_ptr<TkvlDataTreeForm> form;

    TkvlUserDataSet *source(const char *name, QStringList fields)
    {
        auto *ds = new TkvlUserDataSet(dataPage);
        ds->SetName(QString::fromLatin1(name));
        ds->SetUserName(QString::fromLatin1(name));
        ds->Fields().SetText(fields.join(QStringLiteral("\n")));
        report->DataSets()->Add(ds);
        return ds;
    }
    void open()
    {
        form = std::make_unique<TkvlDataTreeForm>(&owner, report.get());
        form->FloatAt(QRect(40, 40, 280, 480));
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->UpdateItems();
    }
    QTreeWidgetItem *find(QTreeWidget *tree, const QString &text)
    {
        const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.front();
    }
    void click(QTreeWidget *tree, QTreeWidgetItem *item)
    {
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(item).center());
    }
    void clickTab(int index)
    {
        QTest::mouseClick(form->Tabs(), Qt::LeftButton, Qt::NoModifier, form->Tabs()->tabRect(index).center());
    }
    QStringList sourceOrder()
    {
        QStringList out;
        QTreeWidgetItem *root = form->DataTree()->topLevelItem(0);
        for (int i = 0; root && i < root->childCount(); ++i) {
            out.append(root->child(i)->text(0));
            for (int j = 0; j < root->child(i)->childCount(); ++j)
                out.append(root->child(i)->child(j)->text(0));
        }
        return out;
    }
};

} // namespace

TEST(DataTree, ClickedNodesInsertFieldsAndVariables)
{
    DataFixture f;
    f.source("EVENTS", {QStringLiteral("TITLE"), QStringLiteral("START")});
    f.report->Variables().SetVariables(QStringLiteral("Totale"), 1);
    f.open();

    struct Case {
        int tab;
        const char *node;
        const char *expected;
    };
    const Case cases[] = {
        {0, "TITLE", "<EVENTS.\"TITLE\">"}, {0, "EVENTS", ""}, {1, "Page#", "<Page#>"},
        {1, "Totale", "<Totale>"},          {1, "Variabili di sistema", ""},
    };
    for (const Case &c : cases) {
        f.clickTab(c.tab);
        QTreeWidget *tree = c.tab == 0 ? f.form->DataTree() : f.form->VariablesTree();
        QTreeWidgetItem *item = f.find(tree, QString::fromUtf8(c.node));
        ASSERT_NE(item, nullptr) << c.node;
        f.click(tree, item);
        EXPECT_EQ(f.form->GetFieldName(-1), QString::fromLatin1(c.expected)) << c.node;
    }
    f.clickTab(0);
    f.click(f.form->DataTree(), f.find(f.form->DataTree(), QStringLiteral("EVENTS")));
    EXPECT_EQ(f.form->ActiveDS(), QStringLiteral("EVENTS"));
    EXPECT_NE(f.form->GetDataSet(-1), nullptr);
}

TEST(DataTree, SortBoxOrdersSourcesAndFields)
{
    DataFixture f;
    f.source("ZETA", {QStringLiteral("B"), QStringLiteral("A")});
    f.source("ALFA", {QStringLiteral("Y"), QStringLiteral("X")});
    f.open();
    EXPECT_EQ(f.sourceOrder(), (QStringList{"ZETA", "B", "A", "ALFA", "Y", "X"}));
    f.form->CBPanel()->show();
    QTest::mouseClick(f.form->SortCB(), Qt::LeftButton, Qt::NoModifier, QPoint(6, f.form->SortCB()->height() / 2));
    EXPECT_EQ(f.sourceOrder(), (QStringList{"ALFA", "X", "Y", "ZETA", "A", "B"}));
}

TEST(DataTree, WithoutSourcesTheHintShowsAndItsDoubleClickReachesTheDesigner)
{
    DataFixture f;
    f.open();
    int calls = 0;
    f.form->OnDblClick = [&] { ++calls; };
    EXPECT_FALSE(f.form->DataTree()->isVisible());
    ASSERT_TRUE(f.form->NoDataL()->isVisible());
    EXPECT_TRUE(f.form->NoDataL()->text().startsWith(QStringLiteral("Origine dati non specificata.\n\nAndare nel menù")));
    QTest::mouseDClick(f.form->NoDataL(), Qt::LeftButton);
    EXPECT_EQ(calls, 1);
}

TEST(DataTree, CollapsedSourcesAreRememberedByWholeName)
{
    kvldatatree::CollapsedSources().clear();
    DataFixture f;
    f.source("EVENTS", {QStringLiteral("TITLE")});
    f.source("VENTS", {QStringLiteral("X")});
    f.open();
    QTreeWidgetItem *events = f.find(f.form->DataTree(), QStringLiteral("EVENTS"));
    ASSERT_TRUE(events->isExpanded());
    f.click(f.form->DataTree(), events);
    QTest::keyClick(f.form->DataTree(), Qt::Key_Left);
    EXPECT_FALSE(events->isExpanded());

    f.form.reset(); // the designer closes
    f.open();
    EXPECT_FALSE(f.find(f.form->DataTree(), QStringLiteral("EVENTS"))->isExpanded());
    EXPECT_TRUE(f.find(f.form->DataTree(), QStringLiteral("VENTS"))->isExpanded());
    f.form.reset();
    kvldatatree::CollapsedSources().clear();
}

TEST(DataTree, FunctionsShowTheirDescription)
{
    DataFixture f;
    f.open();
    f.clickTab(2);
    QTreeWidget *functions = f.form->FunctionsTree();
    ASSERT_GT(functions->topLevelItemCount(), 0);
    EXPECT_EQ(functions->topLevelItem(0)->text(0), QStringLiteral("Funzioni"));
    QTreeWidgetItem *intToStr = nullptr;
    for (QTreeWidgetItem *i : functions->findItems(QStringLiteral("IntToStr"), Qt::MatchStartsWith | Qt::MatchRecursive))
        intToStr = i;
    ASSERT_NE(intToStr, nullptr);
    f.click(functions, intToStr);
    EXPECT_TRUE(f.form->FunctionNameL()->text().contains(QStringLiteral("IntToStr")));
    EXPECT_EQ(f.form->GetFieldName(-1), QStringLiteral("IntToStr()"));

    f.clickTab(3);
    QTreeWidgetItem *root = f.form->ClassesTree()->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), QStringLiteral("Classi"));
}

TEST(DataTree, ControlsMovedIntoAnotherWindowFollowItsSize)
{
    QWidget dialog; // outlives the tree, as the dialog that borrows its controls does
    DataFixture f;
    f.source("EVENTS", {QStringLiteral("TITLE")});
    f.open();
    dialog.resize(300, 200);
    f.form->SetControlsParent(&dialog);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(f.form->Tabs()->parentWidget(), &dialog);
    dialog.resize(400, 320);
    QApplication::processEvents();
    EXPECT_EQ(f.form->Tabs()->width(), 400);
    const int tabHeight = f.form->Tabs()->height();
    EXPECT_TRUE(tabHeight == 22 || tabHeight == 26);
    QWidget *panel = f.form->DataTree()->parentWidget();
    EXPECT_EQ(panel->geometry(), QRect(0, tabHeight - 1, 400, 320 - tabHeight + 1));
    EXPECT_TRUE(f.form->DataTree()->isVisible());
    f.clickTab(1);
    EXPECT_TRUE(f.form->VariablesTree()->isVisible());
    EXPECT_FALSE(f.form->DataTree()->isVisible());
}

TEST(DataTree, DraggingAFieldStartsADragOfTheDesigner)
{
    DataFixture f;
    f.source("EVENTS", {QStringLiteral("TITLE")});
    f.open();
    QTreeWidget *tree = f.form->DataTree();
    QTreeWidgetItem *field = f.find(tree, QStringLiteral("TITLE"));
    ASSERT_NE(field, nullptr);
    const QPoint from = tree->visualItemRect(field).center();
    QTest::mousePress(tree->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(tree->viewport(), from + QPoint(10 * step, 10 * step));
    const TkvlDragManager &drag = TkvlDragController::Instance().Manager();
    EXPECT_TRUE(drag.Dragging());
    EXPECT_EQ(drag.Drag().Source, f.form->NodeDragSource());
    EXPECT_EQ(f.form->GetFieldName(-1), QStringLiteral("<EVENTS.\"TITLE\">")) << "what a drop inserts";
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, Qt::NoModifier, from + QPoint(40, 40));
    QApplication::processEvents();
    EXPECT_FALSE(drag.Armed());
}
