// The variables editor window: the tree and its keys, expressions, the lines dialog and files.
#include "designer/widgets/bandeditorforms.h"
#include "designer/widgets/vareditorform.h"
#include "report/vars/kvlvariables.h"
#include "tests/designerdialogs/dialogstest.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace dialogstest;

namespace {

struct VarEditor : Fixture {
    VarEditor()
    {
        add(" Totali", "");
        add("Somma", "[A] + 1");
        add("Media", "[B] / 2");
        add(" Date", "");
        add("Oggi", "[DATE]");
    }
    void add(const char *Name, const char *Value)
    {
        TkvlVariable *v = report->Variables().Add();
        v->SetName(QString::fromUtf8(Name));
        v->SetValue(Variant(QString::fromUtf8(Value)));
    }
    // The tree as "parent/child" paths below the root.
    static QStringList tree(QTreeWidget *T)
    {
        QStringList l;
        QTreeWidgetItem *root = T->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i) {
            l << root->child(i)->text(0);
            for (int j = 0; j < root->child(i)->childCount(); ++j)
                l << root->child(i)->text(0) + u'/' + root->child(i)->child(j)->text(0);
        }
        return l;
    }
    static QTreeWidgetItem *find(QTreeWidget *T, const QString &Text)
    {
        const auto found = T->findItems(Text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.front();
    }
    static void select(QTreeWidget *T, const QString &Text)
    {
        QTreeWidgetItem *item = find(T, Text);
        ASSERT_TRUE(item) << Text.toStdString();
        QTest::mouseClick(T->viewport(), Qt::LeftButton, {}, T->visualItemRect(item).center());
    }
    static QStringList names(const TkvlVariables &V)
    {
        QStringList l;
        for (int i = 0; i < V.Count(); ++i)
            l << V.Items(i)->Name();
        return l;
    }
    QTemporaryDir dir;
};

TEST_F(VarEditor, CategoriesAndVariablesFromTheTree)
{
    report->Variables().Clear();
    TkvlVarEditorForm d(report.get(), nullptr);
    Show(d);
    EXPECT_EQ(d.VarTree()->topLevelItem(0)->text(0), QStringLiteral("(nessuna variabile definita)"));
    Click(d.NewCategoryB());
    Click(d.NewCategoryB());
    EXPECT_EQ(d.VarTree()->topLevelItem(0)->text(0), QStringLiteral("Variabili"));
    select(d.VarTree(), QStringLiteral("New Category1"));
    QTest::keyClick(d.VarTree(), Qt::Key_Insert);
    select(d.VarTree(), QStringLiteral("New Category2"));
    QTest::keyClick(d.VarTree(), Qt::Key_Insert);
    EXPECT_EQ(tree(d.VarTree()), (QStringList{"New Category1", "New Category1/New Variable1", "New Category2",
                                              "New Category2/New Variable2"}));
    select(d.VarTree(), QStringLiteral("New Category1"));
    EXPECT_TRUE(d.DeleteB()->isEnabled());  // a category, through its entry
    QTest::keyClick(d.VarTree(), Qt::Key_Delete);
    EXPECT_EQ(names(*d.Variables()), (QStringList{" New Category2", "New Variable2"}));
    EXPECT_EQ(tree(d.VarTree()), (QStringList{"New Category2", "New Category2/New Variable2"}));
    select(d.VarTree(), QStringLiteral("Variabili"));
    EXPECT_FALSE(d.DeleteB()->isEnabled());
    EXPECT_FALSE(d.EditB()->isEnabled());
}

TEST_F(VarEditor, RenamingInTheTree)
{
    TkvlVarEditorForm d(report.get(), nullptr);
    Show(d);
    struct {
        const char *node, *typed, *kept;
        int messages;
    } cases[] = {{"Somma", "MEDIA", "Somma", 1}, {"Somma", "SOMMA", "SOMMA", 1}, {"Date", "Giorni", "Giorni", 1}};
    for (const auto &c : cases) {
        select(d.VarTree(), QString::fromUtf8(c.node));
        QTest::keyClick(d.VarTree(), Qt::Key_F2);
        auto *e = qobject_cast<QLineEdit *>(d.VarTree()->indexWidget(d.VarTree()->currentIndex()));
        ASSERT_TRUE(e) << c.node;
        Retype(e, QString::fromUtf8(c.typed));
        QTest::keyClick(e, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_TRUE(find(d.VarTree(), QString::fromUtf8(c.kept))) << c.typed;
        EXPECT_EQ(services.messages.shown.size(), c.messages) << c.typed;
    }
    EXPECT_EQ(names(*d.Variables()), (QStringList{" Totali", "SOMMA", "Media", " Giorni", "Oggi"}));
}

TEST_F(VarEditor, ExpressionsAreStoredOnMoveSaveAndOkAndLostOnCancel)
{
    {
        TkvlVarEditorForm d(report.get(), nullptr);
        Show(d);
        select(d.VarTree(), QStringLiteral("Somma"));
        EXPECT_EQ(d.ExprMemo()->toPlainText(), QStringLiteral("[A] + 1"));
        Retype(d.ExprMemo(), QStringLiteral("[A] + 2"));
        Click(d.CancelB());
    }
    EXPECT_EQ(report->Variables().Variables(QStringLiteral("Somma")).toString(), QStringLiteral("[A] + 1"));
    TkvlVarEditorForm d(report.get(), nullptr);
    Show(d);
    select(d.VarTree(), QStringLiteral("Somma"));
    Retype(d.ExprMemo(), QStringLiteral("[A] + 2"));
    select(d.VarTree(), QStringLiteral("Media"));  // stored on the move
    EXPECT_EQ(d.Variables()->Variables(QStringLiteral("Somma")).toString(), QStringLiteral("[A] + 2"));
    Retype(d.ExprMemo(), QStringLiteral("[B] / 3"));
    const QString file = dir.filePath(QStringLiteral("variabili.kq3"));
    ui::FileDialogResult a;
    a.accepted = true;
    a.files << file;
    services.files.answers << a;
    Click(d.SaveB());  // stored before saving
    TkvlVariables saved;
    saved.LoadFromFile(file);
    EXPECT_EQ(saved.Variables(QStringLiteral("Media")).toString(), QStringLiteral("[B] / 3"));
    select(d.VarTree(), QStringLiteral("Oggi"));
    Retype(d.ExprMemo(), QStringLiteral("[DATE] + 1"));
    QTest::keyClick(d.ExprMemo(), Qt::Key_Return, Qt::ControlModifier);  // OK
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(report->Variables().Variables(QStringLiteral("Oggi")).toString(), QStringLiteral("[DATE] + 1"));
    EXPECT_EQ(report->Variables().Variables(QStringLiteral("Somma")).toString(), QStringLiteral("[A] + 2"));
}

TEST_F(VarEditor, LinesRebuildTheDictionaryKeepingValues)
{
    TkvlVarEditorForm d(report.get(), nullptr);
    Show(d);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *lines = dynamic_cast<TkvlStringsEditorForm *>(QApplication::activeModalWidget());
        ASSERT_TRUE(lines);
        seen = true;
        EXPECT_EQ(lines->Memo()->toPlainText(), QStringLiteral("Totali\n Somma\n Media\nDate\n Oggi"));
        lines->Memo()->setFocus();
        QTest::keyClick(lines->Memo(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(lines->Memo(), QStringLiteral("Totals"));
        for (const char *l : {" Somma", " Sum2"}) {
            QTest::keyClick(lines->Memo(), Qt::Key_Return);
            QTest::keyClicks(lines->Memo(), QString::fromUtf8(l));
        }
        Click(lines->OkB());
    });
    Click(d.EditListB());
    EXPECT_TRUE(seen);
    EXPECT_EQ(tree(d.VarTree()), (QStringList{"Totals", "Totals/Somma", "Totals/Sum2"}));
    EXPECT_EQ(d.Variables()->Variables(QStringLiteral("Somma")).toString(), QStringLiteral("[A] + 1"));
    EXPECT_EQ(d.VarTree()->currentItem(), d.VarTree()->topLevelItem(0));
}

TEST_F(VarEditor, AMalformedFileKeepsTheTree)
{
    const QString bad = dir.filePath(QStringLiteral("rotto.kq3"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<variables><item Name=\"x\"");
    f.close();
    TkvlVarEditorForm d(report.get(), nullptr);
    Show(d);
    const QStringList before = tree(d.VarTree());
    ui::FileDialogResult a;
    a.accepted = true;
    a.files << bad;
    services.files.answers << a;
    Click(d.LoadB());
    EXPECT_EQ(services.messages.shown.size(), 1);
    EXPECT_EQ(tree(d.VarTree()), before);
    Click(d.OkB());
    EXPECT_EQ(names(report->Variables()), (QStringList{" Totali", "Somma", "Media", " Date", "Oggi"}));
}

} // namespace
