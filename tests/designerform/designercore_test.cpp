// The designer without its window: loading, pages and tabs, the modification chain, units and
// zoom, scroll positions per tab and closing, over a fake window.
#include "app/libinit.h"
#include "designer/core/designercore.h"
#include "designer/core/undobuffer.h"
#include "platform/rtl/stream.h"
#include "platform/ui/fakes.h"
#include "report/core/kvlobjects.h"
#include "report/dmp/kvldmppage.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/utils/messages.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FakeView : public TkvlDesignerView {
public:
    TkvlWorkspace ws;
    QStringList tabs;
    int tab = -1;
    bool code = false;
    QStringList lines;
    QString language;
    QPoint scroll;
    QList<int> answers;  // to the save question, in turn
    QStringList asked;
    bool saveEnabled = false;
    TkvlDialogPage *dialog = nullptr;
    int inspectorRereads = 0;

    TkvlWorkspace &Workspace() override { return ws; }
    void SetTabs(const QStringList &Captions) override { tabs = Captions; }
    void SetTabIndex(int Index) override { tab = Index; }
    void ShowCodePanel(bool Code) override { code = Code; }
    QStringList CodeLines() const override { return lines; }
    void SetCodeLines(const QStringList &Lines) override { lines = Lines; }
    void SetLanguage(const QString &Language) override { language = Language; }
    QPoint ScrollPosition() const override { return scroll; }
    void SetScrollPosition(QPoint Value) override { scroll = Value; }
    void PlaceWorkspace(TkvlDialogPage *Dialog) override { dialog = Dialog; }
    void SetSaveEnabled(bool Value) override { saveEnabled = Value; }
    void UpdateInspector() override { ++inspectorRereads; }
    int AskSave(const QString &Text) override
    {
        asked << Text;
        return answers.isEmpty() ? IDCANCEL : answers.takeFirst();
    }
};

// A designer on a report of its own, made ready as the window's first show does.
struct Designer {
    explicit Designer(bool Preview = false, bool DotMatrix = false)
    {
        lirracal::InitializeLibraries();
        report.DotMatrixReport = DotMatrix;
        core = std::make_unique<TkvlDesignerCore>(nullptr, &report, Preview);
        report.Designer = core.get();
        core->SetView(&view, false);
        core->Init();
    }
    TkvlPage *page(int Index) const { return rtl_cast<TkvlPage>(report.Object(Index)); }

    TkvlReport report{nullptr};
    FakeView view;
    std::unique_ptr<TkvlDesignerCore> core;
};

// Data page, then the report pages named.
void addPages(TkvlReport &Report, const QStringList &Names)
{
    auto *data = new TkvlDataPage(&Report);
    data->SetName(QStringLiteral("Data"));
    for (const QString &n : Names) {
        auto *p = new TkvlReportPage(&Report);
        p->SetDefaults();
        p->SetName(n);
    }
}

} // namespace

TEST(DesignerCore, AnEmptyReportGetsADataPageAndPage1)
{
    for (bool dotMatrix : {false, true}) {
        SCOPED_TRACE(dotMatrix);
        Designer d(false, dotMatrix);
        d.core->ReloadReport();
        ASSERT_EQ(d.report.ObjectCount(), 2);
        EXPECT_TRUE(rtl_cast<TkvlDataPage>(d.page(0)));
        EXPECT_EQ(d.page(0)->Name(), QStringLiteral("Data"));
        EXPECT_EQ(d.page(1)->Name(), QStringLiteral("Page1"));
        EXPECT_EQ(rtl_cast<TkvlDMPPage>(d.page(1)) != nullptr, dotMatrix);
        EXPECT_EQ(d.view.tabs, (QStringList{"Codice", "Origine dati", "Page1"}));
        EXPECT_EQ(d.core->Page(), d.page(1));
        EXPECT_EQ(d.view.tab, 2);
        EXPECT_EQ(d.core->Units(), dotMatrix ? duChars : duCM);
        // The page's objects, the report, the page; the page selected.
        EXPECT_EQ(d.core->Objects, (std::vector<TkvlComponent *>{&d.report, d.page(1)}));
        EXPECT_EQ(d.core->SelectedObjects, (std::vector<TkvlComponent *>{d.page(1)}));
    }
}

TEST(DesignerCore, ReloadPagesPicksThePageByIndex)
{
    Designer d;
    addPages(d.report, {"Uno", "Due"});
    d.core->ReloadReport();
    struct Case {
        int Index;
        int Expected;  // child index, -1 the code tab
    } cases[] = {{-1, -1}, {-2, 1}, {2, 2}, {0, 0}, {3, 0}, {99, 0}, {-7, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Index);
        d.core->ReloadPages(c.Index);
        EXPECT_EQ(d.core->Page(), c.Expected < 0 ? nullptr : d.page(c.Expected));
        EXPECT_EQ(d.view.tab, c.Expected + 1);
        EXPECT_EQ(d.view.code, c.Expected < 0);
    }
    // A page without a name shows "Pagina" and its position.
    d.page(2)->SetName(QString());
    d.core->ReloadPages(-1);
    EXPECT_EQ(d.view.tabs, (QStringList{"Codice", "Origine dati", "Uno", "Pagina3"}));
}

TEST(DesignerCore, LoadingLeavesOneSnapshotAndNothingModified)
{
    Designer d;
    d.report.Modified = true;
    d.core->ReloadReport();
    EXPECT_EQ(d.core->UndoBuffer()->UndoCount(), 1);
    EXPECT_FALSE(d.core->Modified());
    EXPECT_FALSE(d.view.saveEnabled);
    // A false value still pushes a snapshot and empties redo.
    d.core->UndoBuffer()->AddRedo(&d.report);
    d.core->SetModified(false);
    EXPECT_EQ(d.core->UndoBuffer()->UndoCount(), 2);
    EXPECT_EQ(d.core->UndoBuffer()->RedoCount(), 0);
    // A change marks the report and copies the editor's text into its script.
    d.view.lines = QStringList{"begin", "  x := 1;", "end."};
    d.core->OnModify(TkvlChangeSource::Workspace);
    EXPECT_TRUE(d.core->Modified());
    EXPECT_TRUE(d.report.Modified);
    EXPECT_TRUE(d.view.saveEnabled);
    EXPECT_EQ(d.report.ScriptText().toQStringList(), d.view.lines);
    EXPECT_EQ(d.core->ModifiedBy(), TkvlChangeSource::None);
}

TEST(DesignerCore, ScaleIsKeptBetweenZeroAndTwenty)
{
    Designer d;
    d.core->ReloadReport();
    struct Case {
        double Value, Expected;
        const char *Text;
    } cases[] = {{0, 1, "100%"}, {25, 20, "2000%"}, {0.1, 0.1, "10%"}, {1.5, 1.5, "150%"}, {0.255, 0.255, "26%"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Value);
        d.core->SetScale(c.Value);
        EXPECT_DOUBLE_EQ(d.core->Scale(), c.Expected);
        EXPECT_DOUBLE_EQ(d.view.ws.Scale(), c.Expected);
        EXPECT_EQ(TkvlDesignerCore::ScaleText(c.Expected), QLatin1String(c.Text));
    }
}

TEST(DesignerCore, UnitConversionsAndDefaultSizes)
{
    Designer d;
    d.core->ReloadReport();
    struct Case {
        TkvlDesignerUnits Units;
        double mm, X, Y;           // mmToUnits of mm across and down
        double Value, mmX, mmY;    // UnitsTomm of Value
        double W, H;               // default object size
    } cases[] = {
        {duCM, 25.4, 2.54, 2.54, 3, 30, 30, 94.48825, 18.89765},
        {duInches, 25.4, 1, 1, 2, 50.8, 50.8, 96, 19.2},
        {duPixels, 25.4, 96, 96, 96, 25.4, 25.4, 80, 16},
        // 25.4 mm is 96 pixels: 10 cells across, 5.65 (6) down; 2.5 rounds to 2.
        {duChars, 25.4, 10, 6, 2.5, 2 * 9.6 / 3.77953, 2 * 17 / 3.77953, 96, 17},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.Units));
        d.core->SetUnits(c.Units);
        EXPECT_NEAR(d.core->mmToUnits(c.mm), c.X, 1e-4);
        EXPECT_NEAR(d.core->mmToUnits(c.mm, false), c.Y, 1e-4);
        EXPECT_NEAR(d.core->UnitsTomm(c.Value), c.mmX, 1e-4);
        EXPECT_NEAR(d.core->UnitsTomm(c.Value, false), c.mmY, 1e-4);
        EXPECT_NEAR(d.core->GetDefaultObjectSize().x(), c.W, 1e-4);
        EXPECT_NEAR(d.core->GetDefaultObjectSize().y(), c.H, 1e-4);
    }
}

TEST(DesignerCore, DialogAndDotMatrixPagesForceTheirUnitAndGiveTheUsersBack)
{
    Designer d;
    addPages(d.report, {"Page1"});
    auto *dialog = new TkvlDialogPage(&d.report);
    dialog->SetName(QStringLiteral("Dialog1"));
    auto *dmp = new TkvlDMPPage(&d.report);
    dmp->SetName(QStringLiteral("Matrix"));
    d.core->ReloadReport();
    d.core->SetUnits(duInches);
    struct Step {
        TkvlPage *Page;
        TkvlDesignerUnits Units;
        TkvlGridType Grid;
    } steps[] = {{dialog, duPixels, gtDialog}, {d.page(1), duInches, gt1in}, {dmp, duChars, gtChar},
                 {d.page(0), duPixels, gtNone}, {d.page(1), duInches, gt1in}};
    for (const Step &s : steps) {
        SCOPED_TRACE(s.Page->Name().toStdString());
        d.core->SetPage(s.Page);
        EXPECT_EQ(d.core->Units(), s.Units);
        EXPECT_EQ(d.view.ws.GridType(), s.Grid);
        EXPECT_EQ(d.view.dialog, s.Page == dialog ? dialog : nullptr);
    }
}

TEST(DesignerCore, PageDimensionsAndLargeDesignHeight)
{
    Designer d;
    addPages(d.report, {"Page1"});
    auto *page = rtl_cast<TkvlReportPage>(d.page(1));
    page->SetPaperSize(9);  // A4, 210 x 297 mm
    page->LeftMargin = 10;
    page->TopMargin = 5;
    d.core->ReloadReport();
    // mm * 96 / 25.4, rounded.
    EXPECT_EQ(d.view.ws.Margins().Left, 38);
    EXPECT_EQ(d.view.ws.Margins().Top, 19);
    const QSize normal = d.view.ws.PanelSize();
    EXPECT_EQ(normal, QSize(794, 1123));
    page->LargeDesignHeight = true;
    d.core->UpdatePageDimensions();
    EXPECT_EQ(d.view.ws.PanelSize(), QSize(794, 22450));
}

TEST(DesignerCore, APageRenamedInTheInspectorShowsItsNameOnItsTab)
{
    Designer d;
    addPages(d.report, {"Page1", "Page2"});
    d.core->ReloadReport();
    d.core->SetPage(d.page(2));
    ASSERT_EQ(d.core->SelectedObjects.front(), d.page(2));
    d.page(2)->SetName(QStringLiteral("Riepilogo"));
    const int rereads = d.view.inspectorRereads;
    d.core->OnModify(TkvlChangeSource::Inspector);
    EXPECT_EQ(d.view.tabs.value(3), QStringLiteral("Riepilogo"));
    EXPECT_EQ(d.core->Page(), d.page(2));
    // The inspector that made the change is not made to reread.
    EXPECT_EQ(d.view.inspectorRereads, rereads);
}

TEST(DesignerCore, ReportTreeSelectionOnAnotherPageShowsThatPage)
{
    Designer d;
    addPages(d.report, {"Page1", "Page2"});
    auto *memo = new TkvlMemoView(d.page(2));
    memo->SetName(QStringLiteral("Memo1"));
    d.core->ReloadReport();
    ASSERT_EQ(d.core->Page(), d.page(1));
    d.core->SelectedObjects = {memo};
    d.core->OnSelectionChanged(TkvlChangeSource::ReportTree);
    EXPECT_EQ(d.core->Page(), d.page(2));
    EXPECT_EQ(d.core->SelectedObjects, (std::vector<TkvlComponent *>{memo}));
    EXPECT_EQ(d.core->Lists().Selected, (std::vector<TkvlComponent *>{memo}));
}

TEST(DesignerCore, LockEmptiesTheListsAndBumpsTheGeneration)
{
    Designer d;
    d.core->ReloadReport();
    const uint64_t before = d.core->Generation();
    d.core->Lock();
    EXPECT_GT(d.core->Generation(), before);
    EXPECT_TRUE(d.core->Objects.empty());
    EXPECT_TRUE(d.core->SelectedObjects.empty());
    EXPECT_TRUE(d.view.ws.Objects().empty());
    EXPECT_EQ(d.view.ws.Page(), nullptr);
    // Undo replaces the tree; reloading shows it again.
    d.core->ReloadPages(-2);
    EXPECT_EQ(d.core->Page(), d.page(1));
    EXPECT_EQ(d.view.ws.Page(), d.page(1));
}

TEST(DesignerCore, ScrollPositionsAreKeptPerTab)
{
    Designer d;
    QStringList names;
    for (int i = 1; i <= 255; ++i)
        names << QStringLiteral("P%1").arg(i);
    addPages(d.report, names);  // tabs 1 (data) to 256
    d.core->ReloadReport();
    ASSERT_EQ(d.view.tab, 2);
    d.view.scroll = QPoint(5, 40);
    d.core->SwitchToCodeWindow();
    EXPECT_EQ(d.core->PagePosition(2), QStringLiteral("5:40"));
    d.view.scroll = QPoint(0, 0);
    d.core->SetPage(d.page(1));
    EXPECT_EQ(d.view.scroll, QPoint(5, 40));
    // The code tab and tabs from 255 on keep nothing.
    d.core->SetPage(d.page(254));
    ASSERT_EQ(d.view.tab, 255);
    d.view.scroll = QPoint(7, 7);
    d.core->SetPage(d.page(2));
    EXPECT_EQ(d.core->PagePosition(255), QString());
    EXPECT_EQ(d.core->PagePosition(0), QString());
    EXPECT_EQ(d.view.scroll, QPoint(0, 0));
}

TEST(DesignerCore, ClosingAsksOnlyWhenItMatters)
{
    struct Case {
        const char *Name;
        bool Change, Preview, Running, NoCloseQuery, NoSave;
        QList<int> Answers;
        bool Allowed, Asked, Modified, Written;
    } cases[] = {
        {"no change", false, false, false, false, false, {}, true, false, false, false},
        {"No", true, false, false, false, false, {IDNO}, true, true, false, false},
        {"Yes", true, false, false, false, false, {IDYES}, true, true, true, true},
        {"Cancel", true, false, false, false, false, {IDCANCEL}, false, true, true, false},
        {"script running", true, false, true, false, false, {IDYES}, false, false, true, false},
        {"CloseQuery off", true, false, false, true, false, {IDCANCEL}, true, false, true, false},
        {"drDontSaveReport", true, false, false, false, true, {IDCANCEL}, true, false, true, false},
        {"preview No", true, true, false, false, false, {IDNO}, true, true, false, false},
        {"preview Yes", true, true, false, false, false, {IDYES}, true, true, true, false},
    };
    QTemporaryDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        std::unique_ptr<TkvlDesigner> comp;
        if (c.NoCloseQuery || c.NoSave) {
            comp = std::make_unique<TkvlDesigner>(nullptr);
            comp->CloseQuery = !c.NoCloseQuery;
            if (c.NoSave)
                comp->Restrictions = kvlBit(drDontSaveReport);
        }
        Designer d(c.Preview);
        const QString file = dir.filePath(QString::fromLatin1(c.Name) + QStringLiteral(".kv3"));
        d.report.FileName = file;
        d.core->ReloadReport();
        if (c.Change)
            d.core->OnModify(TkvlChangeSource::Workspace);
        d.core->ScriptRunning = c.Running;
        d.view.answers = c.Answers;
        const bool allowed = d.core->CloseQuery();
        EXPECT_EQ(allowed, c.Allowed);
        EXPECT_EQ(!d.view.asked.isEmpty(), c.Asked);
        EXPECT_EQ(QFile::exists(file), c.Written);
        if (c.Asked && !c.Preview) {
            EXPECT_EQ(d.view.asked.value(0), QStringLiteral("Salvare le modifiche in ") + QString::fromLatin1(c.Name) +
                                                  QStringLiteral(".kv3?"));
        }
        if (allowed) {
            d.core->FormClose();
            EXPECT_EQ(d.report.Modified, c.Modified);
            EXPECT_EQ(d.report.Designer, nullptr);
        }
    }
}

TEST(DesignerCore, APreviewDesignerHasItsOwnRestrictionsWhileItLives)
{
    TkvlDesigner comp(nullptr);
    comp.Restrictions = kvlBit(drDontEditReportData);
    {
        Designer d(true);
        ASSERT_NE(kvlDesignerComp(), &comp);
        EXPECT_FALSE(d.core->CheckOp(drDontCreatePage));
        EXPECT_FALSE(d.core->CheckOp(drDontEditReportData));
        EXPECT_TRUE(d.core->CheckOp(drDontSaveReport));
        d.core->Done();
        EXPECT_EQ(kvlDesignerComp(), &comp);
    }
    EXPECT_TRUE(Designer().core->CheckOp(drDontCreatePage));
}

TEST(DesignerCore, NewReportDefaultsComeFromTheSettingsComponent)
{
    Designer d;
    d.core->ReloadReport();
    d.core->SetReportDefaults();
    EXPECT_EQ(d.report.ScriptLanguage, QStringLiteral("DozovoZozedi"));
    EXPECT_EQ(d.view.lines, (QStringList{"begin", "", "end."}));
    EXPECT_EQ(d.report.ScriptText().toQStringList(), d.view.lines);
    TkvlDesigner comp(nullptr);
    comp.DefaultLeftMargin = 25;
    comp.DefaultOrientation = poLandscape;
    d.core->SetReportDefaults();
    auto *page = rtl_cast<TkvlReportPage>(d.page(1));
    EXPECT_DOUBLE_EQ(page->LeftMargin, 25);
    EXPECT_EQ(page->Orientation(), poLandscape);
}
