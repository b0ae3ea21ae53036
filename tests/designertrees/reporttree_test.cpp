// The report tree window driven by mouse and keys: selection both ways, drops that
// re-parent objects, Delete and the context menu.
#include "designer/widgets/reporttree.h"
#include "tests/designerfiles/fakedesigner.h"

#include "designer/core/settings.h"
#include "report/data/kvldataset.h"
#include "report/pages/kvldialogpage.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace designertest;

namespace {

struct TreeFixture : Fixture {
    TkvlMasterData *band1 = band<TkvlMasterData>(page, "MasterData1", 50, 40);
    TkvlMasterData *band2 = band<TkvlMasterData>(page, "MasterData2", 120, 40);
    TkvlMemoView *m1 = memo(band1, "Memo1", 30, 7);
    TkvlMemoView *m2 = memo(band2, "Memo2", 10, 3);
    TkvlMemoView *m3 = memo(band2, "Memo3", 60, 4);
    TkvlUserDataSet *source = nullptr;
    TkvlDialogPage *dialog = nullptr;
    QWidget owner;
    TkvlReportTreeForm *form = nullptr;
    int selectionCalls = 0;

    TreeFixture()
    {
        source = new TkvlUserDataSet(band2);
        source->SetName(QStringLiteral("Source1"));
        dialog = new TkvlDialogPage(report.get());
        dialog->SetName(QStringLiteral("Dialog1"));
        owner.resize(10, 10);
        form = new TkvlReportTreeForm(&owner, designer.get());
        form->OnSelectionChanged = [this](QObject *) { ++selectionCalls; };
        form->FloatAt(QRect(50, 50, 260, 500));
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    }
    ~TreeFixture() { delete form; }

    QTreeWidget *tree() const { return form->Tree(); }
    QPoint at(const TkvlComponent *c) const
    {
        QTreeWidgetItem *node = form->NodeOf(c);
        EXPECT_NE(node, nullptr);
        return node ? tree()->visualItemRect(node).center() : QPoint();
    }
    void click(const TkvlComponent *c, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, mods, at(c));
    }
    // Press on one node, move in steps, release on another.
    void drag(const TkvlComponent *from, const TkvlComponent *onto)
    {
        QWidget *vp = tree()->viewport();
        const QPoint a = at(from), b = at(onto);
        QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, a);
        // Out and back when a node is dropped on itself.
        if (a == b)
            QTest::mouseMove(vp, a + QPoint(0, 40));
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(vp, a + (b - a) * step / 4);
        QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, b);
        QApplication::processEvents();
    }
    std::vector<QString> childNames(const TkvlComponent *c) const
    {
        std::vector<QString> out;
        for (TkvlComponent *k : c->Objects())
            out.push_back(k->Name());
        return out;
    }
};

} // namespace

TEST(ReportTree, ShowsTheReportWithOnlyDataComponentsOnTheDataPage)
{
    TreeFixture f;
    auto *dataSource = new TkvlUserDataSet(f.dataPage);
    dataSource->SetName(QStringLiteral("Users"));
    f.form->UpdateItems();
    QTreeWidgetItem *root = f.tree()->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), QStringLiteral("Report"));
    ASSERT_EQ(root->childCount(), 3);
    EXPECT_EQ(root->child(0)->text(0), QStringLiteral("Data"));
    EXPECT_EQ(root->child(0)->childCount(), 1);
    EXPECT_EQ(root->child(1)->child(1)->child(2)->text(0), QStringLiteral("Source1"));

    TkvlDesigner settings(nullptr);
    settings.Restrictions = kvlBit(drDontEditInternalDatasets);
    f.form->UpdateItems();
    EXPECT_EQ(f.tree()->topLevelItem(0)->child(0)->text(0), QStringLiteral("Page1"));
}

TEST(ReportTree, ClicksSelectObjectsAndTheDesignersSelectionComesBack)
{
    TreeFixture f;
    f.click(f.m1);
    ASSERT_EQ(f.designer->SelectedObjects, std::vector<TkvlComponent *>{f.m1});
    EXPECT_EQ(f.selectionCalls, 1);
    f.click(f.m3, Qt::ControlModifier);
    EXPECT_EQ(f.designer->SelectedObjects.size(), 2u);

    f.designer->SelectedObjects = {f.band2, f.m2};
    f.form->UpdateSelection();
    const int calls = f.selectionCalls;
    QList<QTreeWidgetItem *> selected = f.tree()->selectedItems();
    ASSERT_EQ(selected.size(), 2);
    EXPECT_TRUE(f.form->NodeOf(f.band2)->isSelected());
    EXPECT_TRUE(f.form->NodeOf(f.m2)->isSelected());
    EXPECT_EQ(f.selectionCalls, calls) << "mirroring does not call back";
    EXPECT_EQ(f.designer->SelectedObjects.size(), 2u);
}

TEST(ReportTree, DropsReparentWhatTheTargetMayHold)
{
    struct Case {
        const char *name;
        std::function<TkvlComponent *(TreeFixture &)> dragged, target;
        std::function<void(TreeFixture &)> check;
        bool modified;
    };
    const Case cases[] = {
        {"memo onto another band", [](TreeFixture &f) { return f.m1; }, [](TreeFixture &f) { return f.band2; },
         [](TreeFixture &f) {
             EXPECT_EQ(f.m1->Parent(), f.band2);
             EXPECT_EQ(f.m1->Left(), 30);
             EXPECT_EQ(f.m1->Top(), 7);
             EXPECT_EQ(f.form->NodeOf(f.m1)->parent(), f.form->NodeOf(f.band2));
         },
         true},
        {"memo onto the page", [](TreeFixture &f) { return f.m1; }, [](TreeFixture &f) { return f.page; },
         [](TreeFixture &f) { EXPECT_EQ(f.m1->Parent(), f.page); }, true},
        {"band onto a band leaves its data component", [](TreeFixture &f) { return f.band2; },
         [](TreeFixture &f) { return f.band1; },
         [](TreeFixture &f) {
             EXPECT_EQ(f.childNames(f.band1), (std::vector<QString>{"Memo1", "Memo2", "Memo3"}));
             EXPECT_EQ(f.childNames(f.band2), std::vector<QString>{"Source1"});
             EXPECT_EQ(f.band2->Parent(), f.page);
         },
         true},
        {"band onto itself keeps the order", [](TreeFixture &f) { return f.band2; },
         [](TreeFixture &f) { return f.band2; },
         [](TreeFixture &f) {
             EXPECT_EQ(f.childNames(f.band2), (std::vector<QString>{"Memo2", "Memo3", "Source1"}));
         },
         true},
        {"onto a memo", [](TreeFixture &f) { return f.m1; }, [](TreeFixture &f) { return f.m2; },
         [](TreeFixture &f) { EXPECT_EQ(f.m1->Parent(), f.band1); }, false},
        {"onto the report", [](TreeFixture &f) { return f.m1; },
         [](TreeFixture &f) { return static_cast<TkvlComponent *>(f.report.get()); },
         [](TreeFixture &f) { EXPECT_EQ(f.m1->Parent(), f.band1); }, false},
        {"onto a dialog page", [](TreeFixture &f) { return f.m1; }, [](TreeFixture &f) { return f.dialog; },
         [](TreeFixture &f) { EXPECT_EQ(f.m1->Parent(), f.band1); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TreeFixture f;
        TkvlComponent *dragged = c.dragged(f);
        f.click(dragged);
        f.drag(dragged, c.target(f));
        c.check(f);
        EXPECT_EQ(f.designer->Modified(), c.modified);
        EXPECT_LE(f.designer->undoSteps, 1);
    }
}

TEST(ReportTree, DeleteGoesToTheWorkspaceAndTheMenuSkipsTheReportNode)
{
    TreeFixture f;
    int deletes = 0;
    f.form->OnDeleteKey = [&] { ++deletes; };
    QMenu menu;
    menu.addAction(QStringLiteral("Elimina"));
    f.form->PopupMenu = &menu;

    f.click(f.m1);
    QTest::keyClick(f.tree(), Qt::Key_Delete);
    EXPECT_EQ(deletes, 1);

    QTest::mouseClick(f.tree()->viewport(), Qt::RightButton, Qt::NoModifier, f.at(f.m1));
    EXPECT_TRUE(menu.isVisible());
    menu.hide();

    f.click(f.report.get(), Qt::ControlModifier);
    QTest::mouseClick(f.tree()->viewport(), Qt::RightButton, Qt::NoModifier, f.at(f.m1));
    EXPECT_FALSE(menu.isVisible()) << "no menu with the report node selected";
}
