// The wizard, gallery and small designer windows driven through their widgets.
#include "designer/core/connstore.h"
#include "designer/core/resources/designerstrings.h"
#include "designer/widgets/newitemform.h"
#include "designer/widgets/smalldialogs.h"
#include "designer/widgets/stdwizardform.h"
#include "designer/widgets/stdwizards.h"
#include "tests/designerwizards/wizardfixture.h"
#include "tests/document/documentfixture.h"

#include "platform/ui/fakes.h"
#include "report/bands/kvlband.h"
#include "report/controls/kvldialogcontrol.h"
#include "report/data/kvldatasetlist.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/options/kvlregistry.h"
#include "report/pages/kvldialogpage.h"
#include "report/pages/kvlreportpage.h"
#include "report/registry/kvlregistries.h"
#include "report/styles/kvlstyles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerReportClassesOnce();
        kvlAddDesignerStrings();
        kvlSetRegistryRootFolder(TkvlRegistryRoot::LocalMachine, dir.filePath(QStringLiteral("machine")));
        kvlSetRegistryRootFolder(TkvlRegistryRoot::CurrentUser, dir.filePath(QStringLiteral("user")));
    }
    void TearDown() override
    {
        kvlSetRegistryRootFolder(TkvlRegistryRoot::LocalMachine, QString());
        kvlSetRegistryRootFolder(TkvlRegistryRoot::CurrentUser, QString());
    }
    QTemporaryDir dir;
    ui::FakeServices fakes;
    TkvlReport report{nullptr};
    FakeDesigner designer{&report};
};

void click(QWidget *W)
{
    QTest::mouseClick(W, Qt::LeftButton);
}

void clickRow(QListWidget *List, int Row)
{
    const QRect r = List->visualItemRect(List->item(Row));
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, r.center());
}

// Runs Check on the next modal window once it is shown, for a dialog a click opens.
void whenModal(std::function<void(QWidget *)> Check)
{
    QTimer::singleShot(0, [Check] {
        QWidget *w = QApplication::activeModalWidget();
        ASSERT_TRUE(w);
        Check(w);
    });
}

} // namespace

TEST_F(DialogsTest, StandardWizardFiveSteps)
{
    FixtureSource customers(QStringLiteral("Customers"), {"Company", "City", "Site"}, {20, 10, 8});
    FixtureSource archive(QStringLiteral("Archive"), {"Id"}, {4});
    TkvlUserDataSet user(nullptr);
    user.SetUserName(QStringLiteral("AUser"));
    TkvlStdWizardForm form(nullptr, &designer, &report, false, dir.path());
    form.Prepare();
    form.show();

    // Only database record sources, by name; the report emptied at once.
    ASSERT_EQ(form.DatasetsCB->count(), 2);
    EXPECT_EQ(form.DatasetsCB->itemText(0), QStringLiteral("Archive"));
    EXPECT_EQ(report.ObjectCount(), 2);
    EXPECT_EQ(designer.reloads, 1);
    EXPECT_FALSE(form.BackB->isEnabled());
    form.DatasetsCB->setCurrentIndex(1);
    EXPECT_EQ(form.FieldsLB->count(), 3);

    click(form.AddAllFieldsB);
    EXPECT_EQ(form.SelectedFieldsLB->count(), 3);
    click(form.NextB);
    click(form.NextB);
    EXPECT_EQ(form.Pages->currentIndex(), 2);
    clickRow(form.AvailableFieldsLB, 2);
    click(form.AddGroupB);
    EXPECT_EQ(form.GroupsLB->count(), 1);
    EXPECT_EQ(form.GroupsLB->item(0)->text(), QStringLiteral("Site"));
    click(form.NextB);
    QTest::mouseClick(form.LandscapeRB, Qt::LeftButton, {}, QPoint(6, form.LandscapeRB->height() / 2));
    click(form.NextB);
    EXPECT_EQ(form.Pages->currentWidget(), form.StyleTab);
    EXPECT_FALSE(form.NextB->isEnabled());
    EXPECT_EQ(form.StyleLB->count(), 4);
    clickRow(form.StyleLB, 1);

    form.Measure = [](TkvlCustomMemoView &, bool, const QString &T) { return T.size() * 6.0; };
    click(form.FinishB);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    auto *page = rtl_cast<TkvlReportPage>(report.Object(1));
    EXPECT_EQ(page->Orientation(), poLandscape);
    int groups = 0, datas = 0;
    for (TkvlComponent *c : page->Objects()) {
        if (auto *g = rtl_cast<TkvlGroupHeader>(c)) {
            ++groups;
            EXPECT_EQ(g->Condition, QStringLiteral("Customers.\"Site\""));
        }
        if (auto *d = rtl_cast<TkvlMasterData>(c)) {
            ++datas;
            EXPECT_EQ(d->Objects().size(), 2u);
        }
    }
    EXPECT_EQ(groups, 1);
    EXPECT_EQ(datas, 1);
    EXPECT_TRUE(report.Styles().Find(QStringLiteral("Header line")));
    EXPECT_EQ(designer.reloads, 2);
}

TEST_F(DialogsTest, DotMatrixWizardHasNoStyleStep)
{
    TkvlStdWizardForm form(nullptr, &designer, &report, true, dir.path());
    form.Prepare();
    EXPECT_EQ(form.Pages->count(), 4);
    EXPECT_EQ(form.Pages->indexOf(form.StyleTab), -1);
    form.Pages->setCurrentIndex(3);
    EXPECT_FALSE(form.NextB->isEnabled());
}

TEST_F(DialogsTest, GalleryListsWizardsAndRunsTheChoice)
{
    kvlRegisterStdWizards();
    kvlRegisterStdWizards();  // a repeat is skipped
    {
        TkvlNewItemForm form(nullptr, &designer, {});
        ASSERT_EQ(form.ItemsLV->count(), 4);
        const QStringList expected = {"Autocomposizione standard del Report", "Report standard",
                                      "Autocomposizione report per stampanti ad aghi",
                                      "Report per stampanti ad aghi"};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(form.ItemsLV->item(i)->text(), expected[i]);

        // OK with nothing selected changes nothing.
        form.show();
        click(form.OkB);
        EXPECT_FALSE(form.Apply({}));
        EXPECT_EQ(report.ObjectCount(), 0);
    }
    {
        // Cancel on the save question leaves the modified report alone.
        designer.SetModified(true);
        TkvlNewItemForm form(nullptr, &designer, {});
        form.show();
        clickRow(form.ItemsLV, 3);
        click(form.OkB);
        int asked = 0;
        EXPECT_FALSE(form.Apply([&] {
            ++asked;
            return false;
        }));
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(report.ObjectCount(), 0);
    }
    {
        designer.SetModified(false);
        report.FileName = QStringLiteral("old.kv3");
        TkvlNewItemForm form(nullptr, &designer, {});
        form.show();
        clickRow(form.ItemsLV, 1);
        QTest::mouseDClick(form.ItemsLV->viewport(), Qt::LeftButton, {},
                           form.ItemsLV->visualItemRect(form.ItemsLV->item(1)).center());
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_TRUE(form.Apply({}));
        EXPECT_EQ(report.ObjectCount(), 2);
        EXPECT_EQ(report.Object(1)->Name(), QStringLiteral("Page1"));
        EXPECT_TRUE(report.FileName.isEmpty());
        EXPECT_TRUE(designer.Modified());
    }
    kvlUnregisterStdWizards();
    EXPECT_EQ(kvlWizards().Count(), 0);
}

TEST_F(DialogsTest, GalleryTemplates)
{
    // A template with one named page, saved in the test folder.
    const QString path = dir.filePath(QStringLiteral("tpl/base.kv3"));
    QDir().mkpath(dir.filePath(QStringLiteral("tpl")));
    {
        TkvlReport t(nullptr);
        kvlMakeEmptyReport(nullptr, t, false);
        t.Object(1)->SetName(QStringLiteral("TemplatePage"));
        t.SaveToFile(path);
    }
    const auto choose = [&](bool Inherit, const QString &Path) {
        auto form = std::make_unique<TkvlNewItemForm>(nullptr, &designer, QStringList{Path});
        form->show();
        form->Pages->setCurrentWidget(form->TemplateTab);
        clickRow(form->TemplateLV, 0);
        if (Inherit) {
            QTest::keyClick(form->InheritCB, Qt::Key_Space);
            EXPECT_TRUE(form->InheritCB->isChecked());
        }
        click(form->OkB);
        return form;
    };

    report.FileName = QStringLiteral("mine.kv3");
    choose(false, path)->Apply({});
    EXPECT_TRUE(report.FindObject(u"TemplatePage"));
    EXPECT_TRUE(report.FileName.isEmpty());
    EXPECT_TRUE(report.ParentReport.isEmpty());

    choose(true, path)->Apply({});
    EXPECT_EQ(report.ParentReport, QDir(report.GetApplicationFolder()).relativeFilePath(path));
    EXPECT_TRUE(QDir::isRelativePath(report.ParentReport));
    EXPECT_TRUE(report.FindObject(u"TemplatePage"));
    EXPECT_TRUE(report.FileName.isEmpty());

    // A template that cannot be read: the error travels on, the report is reloaded unnamed.
    const int reloads = designer.reloads;
    report.FileName = QStringLiteral("mine.kv3");
    auto form = choose(false, dir.filePath(QStringLiteral("missing.kv3")));
    EXPECT_ANY_THROW(form->Apply({}));
    EXPECT_TRUE(report.FileName.isEmpty());
    EXPECT_EQ(designer.reloads, reloads + 1);
}

TEST_F(DialogsTest, ReportDataConnections)
{
    ASSERT_TRUE(kvlWriteConnections({{"Main", "m", false}, {"Main", "u", true}, {"Other", "o", true}}).isEmpty());
    report.ReportOptions()->SetConnectionName(QStringLiteral("other"));
    TkvlReportDataForm form(nullptr, &report, true);
    form.show();
    QListWidget *lb = form.DatasetsLB;
    ASSERT_EQ(lb->count(), 3);
    EXPECT_EQ(lb->item(0)->text(), QStringLiteral("Main"));
    EXPECT_EQ(lb->item(1)->text(), QStringLiteral("Main"));
    EXPECT_EQ(lb->item(2)->checkState(), Qt::Checked);
    // Ticking one unticks the other.
    lb->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(lb->item(2)->checkState(), Qt::Unchecked);
    lb->item(0)->setCheckState(Qt::Unchecked);
    click(form.OKB);
    EXPECT_TRUE(report.ReportOptions()->ConnectionName().isEmpty());
}

TEST_F(DialogsTest, ReportDataSourcesAndSize)
{
    FixtureSource b(QStringLiteral("Bravo"), {"X"}, {1});
    FixtureSource a(QStringLiteral("alfa"), {"X"}, {1});
    FixtureSource c(QStringLiteral("Charlie"), {"X"}, {1});
    report.DataSets()->Add(&c);
    {
        TkvlReportDataForm form(nullptr, &report, false);
        form.show();
        QListWidget *lb = form.DatasetsLB;
        ASSERT_GE(lb->count(), 3);
        EXPECT_EQ(lb->item(0)->text(), QStringLiteral("alfa"));
        EXPECT_EQ(lb->item(2)->checkState(), Qt::Checked);
        lb->item(2)->setCheckState(Qt::Unchecked);
        lb->item(1)->setCheckState(Qt::Checked);
        lb->item(0)->setCheckState(Qt::Checked);
        click(form.OKB);
    }
    ASSERT_EQ(report.DataSets()->Count(), 2);
    EXPECT_EQ(report.DataSets()->Items(0)->DataSet(), &a);
    EXPECT_EQ(report.DataSets()->Items(1)->DataSet(), &b);
    {
        TkvlReportDataForm form(nullptr, &report, false);
        form.show();
        form.resize(411, 333);
        for (int i = 0; i < form.DatasetsLB->count(); ++i)
            form.DatasetsLB->item(i)->setCheckState(Qt::Unchecked);
        click(form.CancelB);
    }
    EXPECT_EQ(report.DataSets()->Count(), 2) << "Cancel writes nothing";
    TkvlReportDataForm again(nullptr, &report, false);
    EXPECT_EQ(again.size(), QSize(411, 333));
}

namespace {
// A dialog control of the test's own kind over a real edit.
class EditControl : public TkvlDialogControl {
public:
    explicit EditControl(TComponent *Owner) : TkvlDialogControl(Owner)
    {
        SetControl(std::make_unique<QLineEdit>());
    }
};
} // namespace

TEST_F(DialogsTest, TabOrderMovesAndCancelRestores)
{
    auto *page = new TkvlDialogPage(&report);
    page->SetName(QStringLiteral("Dialog1"));
    auto *e1 = new EditControl(page);
    e1->SetName(QStringLiteral("E1"));
    auto *source = new TkvlUserDataSet(page);
    source->SetName(QStringLiteral("Src"));
    auto *e2 = new EditControl(page);
    e2->SetName(QStringLiteral("E2"));
    auto *e3 = new EditControl(page);
    e3->SetName(QStringLiteral("E3"));
    designer.SetPage(page);
    const auto names = [&] {
        QStringList out;
        for (TkvlComponent *c : page->Objects())
            out << c->Name();
        return out;
    };

    {
        TkvlTabOrderEditorForm form(nullptr, &designer);
        form.show();
        ASSERT_EQ(form.ControlsLB->count(), 3);
        EXPECT_TRUE(form.ControlsLB->item(0)->text().startsWith(QStringLiteral("E1: ")));
        clickRow(form.ControlsLB, 0);
        click(form.UpB);  // nothing above the first
        EXPECT_EQ(names(), QStringList({"E1", "Src", "E2", "E3"}));
        click(form.DownB);
        EXPECT_EQ(names(), QStringList({"E2", "Src", "E1", "E3"}));
        EXPECT_EQ(form.ControlsLB->currentRow(), 1);
        // Tab goes through the new order.
        EXPECT_EQ(e2->Control()->nextInFocusChain(), e1->Control());
        click(form.DownB);
        EXPECT_EQ(names(), QStringList({"E2", "Src", "E3", "E1"}));
        click(form.OkB);
    }
    EXPECT_EQ(e3->Control()->nextInFocusChain(), e1->Control());
    {
        TkvlTabOrderEditorForm form(nullptr, &designer);
        form.show();
        clickRow(form.ControlsLB, 2);
        click(form.UpB);
        EXPECT_EQ(names(), QStringList({"E2", "Src", "E1", "E3"}));
        click(form.CancelB);
    }
    EXPECT_EQ(names(), QStringList({"E2", "Src", "E3", "E1"}));
    EXPECT_EQ(e2->Control()->nextInFocusChain(), e3->Control());
    EXPECT_EQ(e3->Control()->nextInFocusChain(), e1->Control());
}

TEST_F(DialogsTest, ConnectionsEscSavesAndItemDialog)
{
    ASSERT_TRUE(kvlWriteConnections({{"Main", "db=1", false}}).isEmpty());
    int handlerCalls = 0;
    {
        TkvlConnEditorForm form(nullptr, &report);
        form.show();
        ASSERT_EQ(form.ConnLV->topLevelItemCount(), 1);
        EXPECT_EQ(form.ConnLV->topLevelItem(0)->text(1), QStringLiteral("System"));
        // Edit: move Main to the user store, the "..." button without a handler first.
        form.ConnLV->setCurrentItem(form.ConnLV->topLevelItem(0));
        whenModal([&](QWidget *w) {
            auto *dlg = dynamic_cast<TkvlConnectionItemEdit *>(w);
            ASSERT_TRUE(dlg);
            EXPECT_EQ(dlg->ConnE->text(), QStringLiteral("db=1"));
            click(dlg->ConnB);
            EXPECT_EQ(dlg->ConnE->text(), QStringLiteral("db=1"));
            report.OnEditConnection = [&](const QString &s) -> QString {
                ++handlerCalls;
                return s + QStringLiteral(";x");
            };
            click(dlg->ConnB);
            // On the indicator: a stretched radio button takes clicks only on its box and text.
            QTest::mouseClick(dlg->UserRB, Qt::LeftButton, {}, QPoint(6, dlg->UserRB->height() / 2));
            click(dlg->OkB);
        });
        click(form.EditB);
        EXPECT_EQ(form.ConnLV->topLevelItem(0)->text(1), QStringLiteral("User"));
        QTest::keyClick(&form, Qt::Key_Escape);
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    EXPECT_EQ(handlerCalls, 1);
    const std::vector<TkvlConnection> stored = kvlReadConnections();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_TRUE(stored[0].User);
    EXPECT_EQ(stored[0].ConnString, QStringLiteral("db=1;x"));

    // The close box writes nothing; a name the store cannot keep is not accepted.
    {
        TkvlConnEditorForm form(nullptr, &report);
        form.show();
        whenModal([&](QWidget *w) {
            auto *dlg = dynamic_cast<TkvlConnectionItemEdit *>(w);
            ASSERT_TRUE(dlg);
            QTest::keyClicks(dlg->NameE, QStringLiteral("a=b"));
            EXPECT_FALSE(dlg->OkB->isEnabled());
            dlg->NameE->clear();
            QTest::keyClicks(dlg->NameE, QStringLiteral("New"));
            click(dlg->OkB);
        });
        click(form.NewB);
        EXPECT_EQ(form.ConnLV->topLevelItemCount(), 2);
        form.close();
    }
    EXPECT_EQ(kvlReadConnections().size(), 1u);
}

TEST_F(DialogsTest, AboutLinksOpenTheirText)
{
    TkvlAboutAddresses a;
    a.Web = QStringLiteral("https://example.org/x");
    a.Sales = QStringLiteral("s@example.org");
    a.Support = QStringLiteral("h@example.org");
    TkvlAboutForm form(nullptr, a);
    form.show();
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    click(form.WebL);
    click(form.SalesL);
    click(form.SupportL);
    EXPECT_EQ(fakes.shell.urls,
              QStringList({"https://example.org/x", "mailto:s@example.org", "mailto:h@example.org"}));
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());
}
