// The report options: printers, copies, the password, inheritance and the template folder.
#include "tests/nulldesigner.h"
#include "designer/widgets/reporteditorform.h"
#include "report/options/kvloptions.h"
#include "report/printers/kvlprinters.h"
#include "report/seams/kvldesigner.h"
#include "tests/designerdialogs/dialogstest.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

using namespace dialogstest;

namespace {

// Counts the locks and reloads the dialog asks for.
class FakeDesigner final : public TNullDesigner {
public:
    explicit FakeDesigner(TkvlReport *R) : TNullDesigner(nullptr, R, false) {}
    void Lock() override { calls << QStringLiteral("Lock"); }
    void ReloadReport() override { calls << QStringLiteral("ReloadReport"); }
    QStringList calls;
};

struct ReportEditor : Fixture {
    ReportEditor() : designer(report.get())
    {
        folder.Path = QStringLiteral("/modelli");
        folder.List = [this](const QString &Path) {
            listed << Path;
            return QStringList{Path + QStringLiteral("/base.kvl"), Path + QStringLiteral("/altro.kvl")};
        };
    }
    FakeDesigner designer;
    TkvlTemplateFolder folder;
    QStringList listed;
};

QStringList entries(QListWidget *L)
{
    QStringList out;
    for (int i = 0; i < L->count(); ++i)
        out << L->item(i)->text();
    return out;
}

TEST_F(ReportEditor, PrinterEntriesAndWhatOkStores)
{
    struct {
        const char *stored;
        int click;  // entry clicked, -1 none
        const char *expected;
    } cases[] = {
        {"Sparita", -1, "Sparita"},  // a printer no longer there is kept
        {"Sparita", 0, "Default"},
        {"Virtuale", -1, "Virtuale"},
    };
    for (const auto &c : cases) {
        report->PrintOptions()->Printer = QString::fromUtf8(c.stored);
        TkvlReportEditorForm d(report.get(), &designer, folder);
        Show(d);
        EXPECT_EQ(entries(d.PrintersLB()), (QStringList{"Default", "Virtuale"}));
        const bool listed = QString::fromUtf8(c.stored) == QLatin1String("Virtuale");
        EXPECT_EQ(!d.PrintersLB()->selectedItems().isEmpty(), listed) << c.stored;
        if (c.click >= 0)
            QTest::mouseClick(d.PrintersLB()->viewport(), Qt::LeftButton, {},
                              d.PrintersLB()->visualItemRect(d.PrintersLB()->item(c.click)).center());
        Click(d.OkB());
        EXPECT_EQ(report->PrintOptions()->Printer, QString::fromUtf8(c.expected)) << c.stored;
        EXPECT_EQ(kvlPrinters().GetCurrentPrinter()->Name(), QStringLiteral("Virtuale"));
    }
}

TEST_F(ReportEditor, CopiesThatDoNotReadWriteNothing)
{
    report->PrintOptions()->Copies = 2;
    report->PrintOptions()->Collate = true;
    TkvlReportEditorForm d(report.get(), &designer, folder);
    Show(d);
    EXPECT_EQ(d.CopiesE()->text(), QStringLiteral("2"));
    Click(d.CollateCB());
    Retype(d.CopiesE(), QStringLiteral("abc"));
    Click(d.OkB());
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.CopiesE()->hasFocus());
    EXPECT_EQ(services.messages.shown.size(), 1);
    EXPECT_TRUE(report->PrintOptions()->Collate);
    Retype(d.CopiesE(), QStringLiteral("3"));
    Click(d.OkB());
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(report->PrintOptions()->Copies, 3);
    EXPECT_FALSE(report->PrintOptions()->Collate);
}

TEST_F(ReportEditor, AHiddenPasswordSurvivesOk)
{
    report->ReportOptions()->HiddenPassword = QStringLiteral("dall'host");
    report->ReportOptions()->Password = QStringLiteral("segreta");
    TkvlReportEditorForm d(report.get(), &designer, folder);
    Show(d);
    EXPECT_FALSE(d.PasswordE()->isEnabled());
    EXPECT_EQ(d.PasswordE()->text(), QString());
    Click(d.OkB());
    EXPECT_EQ(report->ReportOptions()->Password, QStringLiteral("segreta"));
}

TEST_F(ReportEditor, InheritanceWithoutATemplateOnlyReloads)
{
    TkvlReportEditorForm d(report.get(), &designer, folder);
    Show(d);
    EXPECT_EQ(d.InheritStateL()->text(), QStringLiteral("Questo report non è stato ereditato."));
    EXPECT_FALSE(d.DetachRB()->isEnabled());
    EXPECT_EQ(entries(d.InheritLV()), (QStringList{"altro.kvl", "base.kvl"}));
    d.Tabs()->setCurrentIndex(1);
    Click(d.InheritRB());
    Click(d.OkB());
    EXPECT_EQ(designer.calls, (QStringList{"Lock", "ReloadReport"}));
    EXPECT_EQ(report->ParentReport, QString());
}

TEST_F(ReportEditor, ANewTemplateFolderRefillsTheList)
{
    ui::FileDialogResult a;
    a.accepted = true;
    a.files << QStringLiteral("/altrove");
    services.files.answers << a;
    TkvlReportEditorForm d(report.get(), &designer, folder);
    Show(d);
    d.Tabs()->setCurrentIndex(1);
    EXPECT_FALSE(d.OkB()->isDefault());
    Click(d.BrowseB());
    ASSERT_EQ(services.files.folders.size(), 1);
    EXPECT_EQ(services.files.folders[0].initialDir, QStringLiteral("/modelli"));
    EXPECT_EQ(folder.Path, QStringLiteral("/altrove"));
    EXPECT_EQ(d.PathE()->text(), QStringLiteral("/altrove"));
    EXPECT_EQ(listed, (QStringList{"/modelli", "/altrove"}));
    // Enter on a folder that does not exist changes nothing and keeps the dialog open.
    Retype(d.PathE(), QStringLiteral("/non/esiste"));
    QTest::keyClick(d.PathE(), Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(folder.Path, QStringLiteral("/altrove"));
    Click(d.CancelB());
}

} // namespace
