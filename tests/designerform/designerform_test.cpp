// The designer window driven as a user does: the report's design road opens it modally, a
// queued check looks at it and closes it; the calendar's "Modifica" and the preview's edit
// button open it too.
#include "app/libinit.h"
#include "designer/widgets/designerform.h"
#include "designer/widgets/designerworkspace.h"
#include "designer/widgets/dockform.h"
#include "designer/widgets/docksite.h"
#include "designer/widgets/syntaxmemo.h"
#include "engine/widgets/kvlpreview.h"
#include "platform/ui/fakes.h"
#include "report/core/kvlobjects.h"
#include "report/pages/kvlreportpage.h"
#include "tests/mainwin/mainwinfixture.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

QStringList tabTexts(const QTabBar *Tabs)
{
    QStringList out;
    for (int i = 0; i < Tabs->count(); ++i)
        out << Tabs->tabText(i);
    return out;
}

TkvlDesignerForm *shownDesigner()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<TkvlDesignerForm *>(w); f && f->isVisible())
            return f;
    return nullptr;
}

// Runs Check on the designer window once it shows (the caller then blocks in the modal
// designer); a designer that never shows fails the test instead of hanging it.
void whenDesignerShows(std::function<void(TkvlDesignerForm *)> Check, int Attempts = 500)
{
    QTimer::singleShot(10, qApp, [Check, Attempts] {
        if (TkvlDesignerForm *f = shownDesigner()) {
            Check(f);
            return;
        }
        if (Attempts > 0)
            whenDesignerShows(Check, Attempts - 1);
        else
            ADD_FAILURE() << "the designer did not open";
    });
}

void clickTab(QTabBar *Tabs, int Index) { QTest::mouseClick(Tabs, Qt::LeftButton, {}, Tabs->tabRect(Index).center()); }

class DesignerWindow : public ::testing::Test {
protected:
    void SetUp() override { lirracal::InitializeLibraries(); }
    // A report whose designer keeps its window positions in a file of the test's own.
    void own(TkvlReport &Report) { Report.IniFile = dir.filePath(QStringLiteral("designer.ini")); }
    ui::FakeServices fakes;
    QTemporaryDir dir;
};

} // namespace

TEST_F(DesignerWindow, AnEmptyReportOpensOnItsPageAndShowsTheEmptyScript)
{
    TkvlReport report(nullptr);
    own(report);
    bool checked = false;
    whenDesignerShows([&](TkvlDesignerForm *f) {
        checked = true;
        EXPECT_EQ(tabTexts(f->Tabs()), (QStringList{"Codice", "Origine dati", "Page1"}));
        EXPECT_EQ(f->Tabs()->currentIndex(), 2);
        EXPECT_TRUE(f->WorkspaceControl()->isVisible());
        EXPECT_EQ(f->StatusPanel(0)->text(), QStringLiteral("Centimetri"));
        clickTab(f->Tabs(), 0);
        EXPECT_TRUE(f->CodeWindow()->isVisible());
        EXPECT_FALSE(f->WorkspaceControl()->isVisible());
        EXPECT_EQ(f->CodeWindow()->Lines(), (QStringList{"begin", "", "end."}));
        clickTab(f->Tabs(), 1);
        EXPECT_EQ(f->StatusPanel(0)->text(), QStringLiteral("Pixel"));
        f->close();
    });
    report.DesignReport();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
    EXPECT_FALSE(report.Modified);
    EXPECT_EQ(report.Designer, nullptr);
}

TEST_F(DesignerWindow, ClosingAfterTypingAsksAndCancelKeepsTheWindow)
{
    TkvlReport report(nullptr);
    own(report);
    fakes.messages.answers = {ui::mbCancel, ui::mbNo};
    int closes = 0;
    whenDesignerShows([&](TkvlDesignerForm *f) {
        clickTab(f->Tabs(), 0);
        f->CodeWindow()->setFocus();
        QTest::keyClicks(f->CodeWindow(), QStringLiteral("x"));
        ++closes;
        f->close();
        EXPECT_TRUE(f->isVisible()) << "Cancel keeps the window";
        ++closes;
        f->close();
    });
    report.DesignReport();
    EXPECT_EQ(closes, 2);
    ASSERT_EQ(fakes.messages.shown.size(), 2);
    EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("Salvare le modifiche in Untitled.kv3?"));
    EXPECT_FALSE(report.Modified) << "No leaves the report unchanged";
    EXPECT_EQ(report.Designer, nullptr);
}

TEST_F(DesignerWindow, ToolWindowsDockIntoItsSites)
{
    TkvlReport report(nullptr);
    own(report);
    whenDesignerShows([&](TkvlDesignerForm *f) {
        for (const char *name : {"LeftDockSite1", "LeftDockSite2", "RightDockSite", "CodeDockSite"})
            EXPECT_NE(f->DockSite(QLatin1String(name)), nullptr) << name;
        EXPECT_NE(f->ControlBar(QStringLiteral("DockTop")), nullptr);
        EXPECT_NE(f->ControlBar(QStringLiteral("DockBottom")), nullptr);
        // The standard tool windows are there: the inspector on the right, both trees on the left.
        TkvlDockSite *right = f->DockSite(QStringLiteral("RightDockSite"));
        EXPECT_EQ(right->DockClientCount(), 1);
        EXPECT_EQ(f->DockSite(QStringLiteral("LeftDockSite1"))->DockClientCount(), 1);
        EXPECT_EQ(f->DockSite(QStringLiteral("LeftDockSite2"))->DockClientCount(), 1);
        auto *tool = new TkvlDockForm(f);
        tool->setObjectName(QStringLiteral("Watches"));
        f->AddToolWindow(tool, right);
        EXPECT_EQ(tool->HostDockSite(), right);
        // A tool window of another designer is refused.
        QWidget other;
        auto *foreign = new TkvlDockForm(&other);
        EXPECT_FALSE(right->Dock(foreign));
        EXPECT_EQ(right->DockClientCount(), 2);
        delete foreign;
        f->close();
    });
    report.DesignReport();
}

TEST_F(DesignerWindow, ThePreviewsEditButtonOpensAPreviewDesigner)
{
    TkvlPreview preview;
    ASSERT_TRUE(preview.OnDesign) << "start-up links the designer";
    TkvlReport report(nullptr);
    own(report);
    auto *page = new TkvlReportPage(&report);
    page->SetDefaults();
    page->SetName(QStringLiteral("Page1"));
    bool preview_designer = false;
    whenDesignerShows([&](TkvlDesignerForm *f) {
        preview_designer = f->Core()->IsPreviewDesigner();
        // A prepared page has no data page added.
        EXPECT_EQ(tabTexts(f->Tabs()), (QStringList{"Codice", "Page1"}));
        f->close();
    });
    EXPECT_FALSE(preview.OnDesign(report, {}));
    EXPECT_TRUE(preview_designer);
}

// ---- the calendar's "Modifica" ----

class ModificaTest : public MainWindowTest {};

TEST_F(ModificaTest, OpensTheTemplateAndClosingUnchangedAsksNothing)
{
    lirracal::InitializeLibraries();
    const QString folder = TfMain::ReportFolder();
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/Elenco.kv3");
    {
        TkvlReport tpl(nullptr);
        auto *data = new TkvlDataPage(&tpl);
        data->SetName(QStringLiteral("Data"));
        auto *page = new TkvlReportPage(&tpl);
        page->SetDefaults();
        page->SetName(QStringLiteral("Page1"));
        tpl.SaveToFile(file);
    }
    const QByteArray before = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    showAndConnect();
    QTest::mouseClick(w->bEditReport, Qt::LeftButton);
    QMenu *menu = w->PopupEditReport;
    ASSERT_NE(menu, nullptr);
    QAction *item = nullptr;
    for (QAction *a : menu->actions())
        if (a->data().toString() == QStringLiteral("Elenco.kv3"))
            item = a;
    ASSERT_NE(item, nullptr);
    bool opened = false;
    whenDesignerShows([&](TkvlDesignerForm *f) {
        opened = true;
        EXPECT_EQ(tabTexts(f->Tabs()), (QStringList{"Codice", "Origine dati", "Page1"}));
        EXPECT_TRUE(f->windowTitle().endsWith(QStringLiteral("Elenco.kv3")));
        f->close();
        // The report is shown afterwards: its preview goes too, whenever it shows.
        auto *closer = new QTimer(qApp);
        closer->setObjectName(QStringLiteral("previewCloser"));
        QObject::connect(closer, &QTimer::timeout, closer, [closer] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top->isVisible() && top->inherits("TkvlPreviewForm")) {
                    top->close();
                    closer->deleteLater();
                }
        });
        closer->start(20);
    });
    item->trigger();
    menu->hide();
    for (QTimer *t : qApp->findChildren<QTimer *>(QStringLiteral("previewCloser")))
        delete t;
    EXPECT_TRUE(opened);
    EXPECT_TRUE(fakes.messages.shown.isEmpty() || !messageTexts().join(QString()).contains(QStringLiteral("Salvare")));
    EXPECT_FALSE(dm->fREP->Modified);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before) << "nothing was saved";
    QFile::remove(file);
}
