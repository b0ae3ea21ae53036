// The preview's commands and its navigation over a real prepared-pages store: links followed
// with the mouse, tabs, hints and status text, adding and deleting pages, saving and opening
// through the file dialogs, page setup, editing, searching, and pages read from a file.
#include "engine/widgets/kvlpagesettingsform.h"
#include "engine/widgets/kvlpreviewtabstrip.h"
#include "engine/widgets/kvlsearchdialog.h"
#include "tests/engine/mousefixture.h"
#include "tests/engine/pagelisting.h"
#include "tests/enginewidgets/previewtest.h"

#include "platform/rtl/stream.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using namespace preparedtest;

class RecordingHost : public TkvlPreviewHost {
public:
    QStringList Status, Hints;
    void UpdateControls() override {}
    void SetCloseCaption(const QString &) override {}
    void ShowZoom(double) override {}
    void SetOutlineButton(bool) override {}
    void SetThumbnailButton(bool) override {}
    void ClearStatus() override {}
    void ShowStatus(const QString &Text, bool IsHint) override
    {
        if (!Text.isEmpty())
            (IsHint ? Hints : Status) << Text;
    }
};

// The mouse report (two hand-made pages, links of every kind) shown in a real preview at zoom 1.
struct PreviewOverReport : MouseReport {
    PreviewOverReport()
    {
        // The preview hears of progress and status messages, as when a report is shown.
        report->EngineOptions()->EnableThreadSafe = false;
        report->ShowProgress = false;
        preview = std::make_unique<TkvlPreview>();
        preview->resize(1000, 700);
        preview->Host = &host;
        preview->show();
        report->SetPreview(preview.get());
        preview->SetZoom(1);
        preview->OnPageChanged = [this](TkvlPreview *, int PageNo) { pageEvents.push_back(PageNo); };
        report->OnBeginDoc = [this](TkvlReport *) { ++FRuns; };
    }
    ~PreviewOverReport() { preview.reset(); }

    // Where the point (X, Y) of page Index is in the workspace.
    QPoint at(int X, int Y, int Index = 0)
    {
        TkvlPreviewWorkspace *ws = preview->Workspace();
        return ws->PageBounds(Index).topLeft() - QPoint(ws->HorzPosition(), ws->VertPosition()) + QPoint(X, Y);
    }
    QWidget *viewport() { return preview->Workspace()->viewport(); }
    // A single click on page 1 shown from its top.
    void clickAt(int X, int Y)
    {
        services.clock.advance(5000);
        preview->SetPosition(1, 0);
        QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, at(X, Y));
    }
    void moveTo(int X, int Y)
    {
        preview->SetPosition(1, 0);
        QTest::mouseMove(viewport(), at(X, Y));
    }

    // Preparations of the whole report since the fixture was made.
    int runs() const { return FRuns; }

    RecordingHost host;
    std::unique_ptr<TkvlPreview> preview;
    std::vector<int> pageEvents;

private:
    int FRuns = 0;
};

QString writeDetailTemplate(const QTemporaryDir &Dir)
{
    const QString file = Dir.filePath(QStringLiteral("dettaglio.kr3"));
    TkvlReport t(nullptr);
    auto *p = new TkvlReportPage(&t);
    p->SetName(QStringLiteral("Page1"));
    p->SetPaperSize(9);
    auto *b = new TkvlReportTitle(p);
    b->SetName(QStringLiteral("Title"));
    b->SetBounds(0, 0, 600, 30);
    newMemo(b, QStringLiteral("M"), 0, 0, 100, 20, QStringLiteral("dettaglio"));
    t.SaveToFile(file);
    return file;
}

TkvlView *viewOf(TkvlCustomPreviewPages *Pages, int Index, const QString &Name)
{
    return rtl_cast<TkvlView>(Pages->GetPage(Index)->FindObject(Name));
}

} // namespace

// Page and anchor links move the preview; a detail report opens a tab once and a second click
// switches to it; a detail page opens a tab of its own; the status bar says what happened.
TEST(PreviewNavigation, LinksLeadToPagesAnchorsAndTabs)
{
    QTemporaryDir dir;
    PreviewOverReport f;
    viewOf(f.store, 0, QStringLiteral("Rep"))->Hyperlink()->FDetailReport = writeDetailTemplate(dir);
    TkvlCustomPreviewPages *mainPages = f.store;

    f.clickAt(150, 50); // Front over Back: page 2
    EXPECT_EQ(f.preview->PageNo(), 2);
    f.clickAt(50, 50); // Back: anchor a1 at the top of page 2
    EXPECT_EQ(f.preview->PageNo(), 2);
    EXPECT_EQ(f.preview->Workspace()->VertPosition(), f.preview->Workspace()->PageBounds(1).top() - 10);
    f.clickAt(70, 95); // page "x": stays, and says so
    EXPECT_EQ(f.preview->PageNo(), 1);
    EXPECT_TRUE(f.host.Status.contains(QStringLiteral("La pagina \"x\" non esiste")));
    EXPECT_TRUE(f.preview->Tabs()->isHidden());

    f.clickAt(130, 95); // detail report
    ASSERT_EQ(f.preview->TabList().Count(), 2);
    EXPECT_FALSE(f.preview->Tabs()->isHidden());
    EXPECT_EQ(f.preview->Tabs()->tabText(1), QStringLiteral("Dettaglio"));
    EXPECT_EQ(f.preview->CurrentTab(), 1);
    TkvlReport *detail = f.preview->Report;
    ASSERT_NE(detail, f.report.get());
    EXPECT_EQ(f.preview->PageCount(), 1);

    // Back to the first tab with the mouse, then the same link again: no new tab.
    QTabBar *tabs = f.preview->Tabs();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(0).center());
    EXPECT_EQ(f.preview->CurrentTab(), 0);
    EXPECT_EQ(f.preview->Report, f.report.get());
    EXPECT_EQ(f.report->PreviewPages(), mainPages);
    EXPECT_EQ(f.preview->PageCount(), 2);
    f.clickAt(130, 95);
    EXPECT_EQ(f.preview->TabList().Count(), 2);
    EXPECT_EQ(f.preview->CurrentTab(), 1);
    EXPECT_EQ(f.preview->Report, detail);

    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(0).center());
    f.clickAt(190, 95); // detail page "Detail" in a tab of its own
    ASSERT_EQ(f.preview->TabList().Count(), 3);
    EXPECT_EQ(f.preview->CurrentTab(), 2);
    EXPECT_EQ(f.preview->Report, f.report.get());
    EXPECT_NE(f.report->PreviewPages(), mainPages);
    EXPECT_EQ(f.preview->PreviewPages, f.report->PreviewPages());
    EXPECT_EQ(f.preview->PageCount(), 1);
    EXPECT_EQ(mainPages->GetCount(), 2);
}

// Prepared again on a detail-page tab, only that page is prepared, into the tab's pages; the
// main pages stay as they were and the tab stays current.
TEST(PreviewNavigation, RefreshOnADetailPageTabPreparesOnlyThatPage)
{
    PreviewOverReport f;
    const QString before = pageListing(*f.store);
    f.clickAt(190, 95);
    ASSERT_EQ(f.preview->CurrentTab(), 1);
    TkvlCustomPreviewPages *tabPages = f.preview->PreviewPages;
    // A mark on the tab's page that only a new preparation removes.
    auto *memo = rtl_cast<TkvlMemoView>(viewOf(tabPages, 0, QStringLiteral("DetMemo")));
    ASSERT_TRUE(memo);
    memo->SetText(QStringLiteral("vecchio"));
    tabPages->ModifyPage(0, tabPages->GetPage(0));
    ASSERT_TRUE(pageListing(*tabPages).contains(QStringLiteral("vecchio")));
    f.preview->RefreshReport();
    EXPECT_EQ(f.runs(), 0);
    EXPECT_EQ(f.preview->CurrentTab(), 1);
    EXPECT_EQ(f.preview->PreviewPages, tabPages);
    EXPECT_EQ(f.report->PreviewPages(), tabPages);
    EXPECT_EQ(f.report->Engine()->PreviewPages, tabPages);
    ASSERT_EQ(tabPages->GetCount(), 1);
    EXPECT_TRUE(pageListing(*tabPages).contains(QStringLiteral("dettaglio")));
    EXPECT_FALSE(pageListing(*tabPages).contains(QStringLiteral("vecchio")));
    EXPECT_EQ(f.preview->PageNo(), 1);
    EXPECT_EQ(pageListing(*f.store), before);
}

// The short hint shows where the mouse is, also below the tab strip; the long one and the link's
// address go to the status bar.
TEST(PreviewNavigation, HintsAndStatusText)
{
    PreviewOverReport f;
    f.preview->UseReportHints = true;
    f.clickAt(190, 95); // a second tab shows the strip and moves the pages down
    ASSERT_FALSE(f.preview->Tabs()->isHidden());
    QTest::mouseClick(f.preview->Tabs(), Qt::LeftButton, Qt::NoModifier, f.preview->Tabs()->tabRect(0).center());
    f.host.Status.clear();
    f.moveTo(250, 95);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("breve"));
    EXPECT_EQ(f.host.Hints, QStringList{QStringLiteral("lunga")});
    QWidget *tip = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->inherits("QTipLabel") && w->isVisible())
            tip = w;
    ASSERT_TRUE(tip);
    const QPoint mouse = f.viewport()->mapToGlobal(f.at(250, 95));
    EXPECT_GE(tip->y(), mouse.y());
    EXPECT_LT(tip->y(), mouse.y() + 22);
    f.moveTo(150, 50);
    EXPECT_TRUE(f.host.Status.contains(QStringLiteral("2")));
    QToolTip::hideText();
}

// Deleting the last page makes the one before it current; a page is added at the current one.
TEST(PreviewCommands, PagesAddedAndDeleted)
{
    PreviewOverReport f;
    f.preview->Last();
    f.pageEvents.clear();
    f.preview->DeletePage();
    EXPECT_EQ(f.store->GetCount(), 1);
    EXPECT_EQ(f.preview->PageNo(), 1);
    ASSERT_FALSE(f.pageEvents.empty());
    EXPECT_EQ(f.pageEvents.back(), 1);
    EXPECT_EQ(f.preview->Workspace()->PageList().Count(), 1);
    f.preview->AddPage();
    ASSERT_EQ(f.store->GetCount(), 2);
    EXPECT_EQ(f.preview->Workspace()->PageList().Count(), 2);
    EXPECT_TRUE(f.store->GetPage(0)->GetAllObjects().empty());
    EXPECT_TRUE(viewOf(f.store, 1, QStringLiteral("Front")));
}

// Ctrl+S asks for a name and always writes a ".kp3" file, uncompressed; Ctrl+O reads it back
// into another preview at page 1 with its outline.
TEST(PreviewCommands, SaveAndOpenThroughTheFileDialogs)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("stampa.kp3"));
    for (const QString &typed : {QStringLiteral("stampa"), QStringLiteral("stampa.txt"), QStringLiteral("stampa.kp3")}) {
        SCOPED_TRACE(typed.toStdString());
        QFile::remove(target);
        PreviewOverReport f;
        f.store->Outline->AddItem(QStringLiteral("Sezione"), 10);
        f.report->ReportOptions()->Compressed = true;
        f.services.files.answers = {ui::FileDialogResult{true, {dir.filePath(typed)}, 1}};
        QTest::keyClick(f.preview->Workspace(), Qt::Key_S, Qt::ControlModifier);
        ASSERT_EQ(f.services.files.saved.size(), 1);
        EXPECT_EQ(f.services.files.saved[0].filter, QStringLiteral("Report preparato (*.kp3)|*.kp3"));
        EXPECT_TRUE(QFileInfo::exists(target));
        EXPECT_FALSE(f.report->ReportOptions()->Compressed);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("stampa.kp3")});

        PreviewOverReport g;
        g.preview->DeletePage();
        g.preview->Last();
        g.services.files.answers = {ui::FileDialogResult{true, {target}, 1}};
        QTest::keyClick(g.preview->Workspace(), Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(g.preview->PageCount(), 2);
        EXPECT_EQ(g.preview->PageNo(), 1);
        EXPECT_EQ(pageListing(*g.store), pageListing(*f.store));
        ASSERT_EQ(g.preview->OutlineTree()->topLevelItemCount(), 1);
        EXPECT_EQ(g.preview->OutlineTree()->topLevelItem(0)->text(0), QStringLiteral("Sezione"));
        EXPECT_TRUE(g.preview->MessagePanel()->isHidden());
    }
    // A cancelled dialog writes nothing.
    QFile::remove(target);
    PreviewOverReport f;
    f.preview->SaveToFile();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

namespace {

// Drives the page settings dialog: landscape, for this page or all pages, OK.
std::function<int(QDialog &)> pageSettings(bool AllPages, int &Shown)
{
    return [AllPages, &Shown](QDialog &D) {
        ++Shown;
        auto &form = dynamic_cast<TkvlPageSettingsForm &>(D);
        form.show();
        QTest::mouseClick(form.LandscapeRB(), Qt::LeftButton);
        QTest::mouseClick(AllPages ? form.ApplyToAllRB() : form.ApplyToCurRB(), Qt::LeftButton);
        QTest::mouseClick(form.OKB(), Qt::LeftButton);
        return form.result();
    };
}

TPrinterOrientation orientationOf(TkvlCustomPreviewPages *Pages, int Index)
{
    return rtl_cast<TkvlReportPage>(Pages->GetPage(Index))->Orientation();
}

} // namespace

// For the current page only that page changes and nothing is prepared; for all pages the
// template's pages change and the report is prepared again.
TEST(PreviewCommands, PageSetupForOnePageOrAll)
{
    {
        PreviewOverReport f;
        int shown = 0;
        const QString second = pageListing(*f.store).section(QStringLiteral("page 2"), 1);
        f.preview->ExecDialog = pageSettings(false, shown);
        f.preview->PageSetupDlg();
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(orientationOf(f.store, 0), poLandscape);
        EXPECT_EQ(orientationOf(f.store, 1), poPortrait);
        EXPECT_EQ(f.page->Orientation(), poPortrait);
        EXPECT_EQ(f.runs(), 0);
        EXPECT_EQ(f.store->GetCount(), 2);
        EXPECT_EQ(pageListing(*f.store).section(QStringLiteral("page 2"), 1), second);
        EXPECT_GT(f.preview->Workspace()->PageList().Item(0).Width, f.preview->Workspace()->PageList().Item(0).Height);
    }
    {
        PreviewOverReport f;
        int shown = 0;
        f.preview->ExecDialog = pageSettings(true, shown);
        f.preview->PageSetupDlg();
        EXPECT_EQ(f.page->Orientation(), poLandscape);
        EXPECT_EQ(f.detail->Orientation(), poLandscape);
        EXPECT_EQ(f.runs(), 1);
        ASSERT_GT(f.store->GetCount(), 0);
        EXPECT_EQ(orientationOf(f.store, 0), poLandscape);
    }
}

// Pages read from a prepared-report file have no template of theirs: preparing again, a
// drill-down click and page setup for all pages leave every page as it was.
TEST(PreviewCommands, PagesFromAFileStayThroughRefreshDrillDownAndPageSetup)
{
    PreviewOverReport f;
    TMemoryStream s;
    f.store->SaveToStream(s);
    s.Seek(0, soBeginning);
    f.preview->LoadFromStream(s);
    ASSERT_TRUE(f.store->LoadedFromFile());
    const QString before = pageListing(*f.store, true);
    f.preview->RefreshReport();
    f.clickAt(10, 10); // inside the drill-down header
    int shown = 0;
    f.preview->ExecDialog = pageSettings(true, shown);
    f.preview->PageSetupDlg();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(f.runs(), 0);
    EXPECT_EQ(f.report->DrillState().Count(), 0);
    EXPECT_EQ(f.page->Orientation(), poPortrait);
    EXPECT_EQ(pageListing(*f.store, true), before);
}

// Edit gives the designer a flat copy of the page (every object on the page at its place, no
// bands, no data fields) and stores it back only when changed; what goes wrong changes nothing.
TEST(PreviewCommands, EditDesignsAFlatCopyOfThePage)
{
    PreviewOverReport f;
    auto *plain = rtl_cast<TkvlMemoView>(viewOf(f.store, 0, QStringLiteral("Plain")));
    plain->DataField = QStringLiteral("CAMPO");
    f.store->ModifyPage(0, f.store->GetPage(0));
    struct Case {
        const char *Name;
        int Answer; // 1 changed, 0 unchanged, -1 raises
        QString Expected;
    } cases[] = {{"unchanged", 0, QString()}, {"raises", -1, QString()}, {"changed", 1, QStringLiteral("nuovo")}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        int designs = 0;
        f.preview->OnDesign = [&](TkvlReport &R, const std::vector<TkvlPage *> &Lent) {
            ++designs;
            EXPECT_TRUE(Lent.empty());
            EXPECT_EQ(R.ObjectCount(), 1);
            auto *page = rtl_cast<TkvlReportPage>(R.Object(0));
            auto *front = rtl_cast<TkvlMemoView>(page->FindObject(QStringLiteral("Front")));
            auto *copy = rtl_cast<TkvlMemoView>(page->FindObject(QStringLiteral("Plain")));
            EXPECT_EQ(front->Parent(), page);
            EXPECT_DOUBLE_EQ(front->Left(), 100);
            EXPECT_DOUBLE_EQ(front->Top(), 40);
            EXPECT_TRUE(copy->DataField.isEmpty());
            for (TkvlComponent *o : page->GetAllObjects())
                EXPECT_FALSE(rtl_cast<TkvlBand>(o)) << o->Name().toStdString();
            copy->SetText(QStringLiteral("nuovo"));
            if (c.Answer < 0)
                throw std::runtime_error("guasto");
            return c.Answer == 1;
        };
        f.preview->Edit();
        EXPECT_EQ(designs, 1);
        f.store->ClearPageCache();
        EXPECT_EQ(rtl_cast<TkvlMemoView>(viewOf(f.store, 0, QStringLiteral("Plain")))->Text().trimmed(), c.Expected);
    }
    // The template pages are lent to the designer and stay the store's.
    int designs = 0;
    f.preview->OnDesign = [&](TkvlReport &R, const std::vector<TkvlPage *> &Lent) {
        ++designs;
        EXPECT_EQ(R.ObjectCount(), 0);
        EXPECT_EQ(Lent, (std::vector<TkvlPage *>{f.store->SourcePage(0)}));
        return false;
    };
    f.preview->EditTemplate();
    EXPECT_EQ(designs, 1);
    ASSERT_EQ(f.store->SourcePageCount(), 1);
    EXPECT_EQ(f.store->SourcePage(0)->Name(), QStringLiteral("Page1"));
}

namespace {

// Drives the find dialog: types Text, ticks "from the top" as asked, OK (or Cancel).
std::function<int(QDialog &)> findDialog(const QString &Text, bool FromTop, bool Ok)
{
    return [=](QDialog &D) {
        auto &dialog = dynamic_cast<TkvlSearchDialog &>(D);
        dialog.show();
        dialog.TextE()->selectAll();
        QTest::keyClicks(dialog.TextE(), Text);
        if (dialog.TopCB()->isChecked() != FromTop)
            QTest::mouseClick(dialog.TopCB(), Qt::LeftButton);
        QTest::mouseClick(Ok ? dialog.OkB() : dialog.CancelB(), Qt::LeftButton);
        return dialog.result();
    };
}

} // namespace

// F3 does nothing before a search; after a cancelled dialog it searches again with the previous
// text; without "from the top" the search starts at the current page.
TEST(PreviewCommands, FindAndF3)
{
    previewtest::PreviewFixture f(3);
    f.store->Pages[0].Texts = {{100, 50, QStringLiteral("alpha")}};
    f.store->Pages[1].Texts = {{100, 50, QStringLiteral("beta")}};
    f.store->Pages[2].Texts = {{100, 80, QStringLiteral("alpha")}};
    f.init();
    QWidget *ws = f.preview->Workspace();
    QTest::keyClick(ws, Qt::Key_F3);
    EXPECT_EQ(f.preview->Search().Renderings(), 0);
    EXPECT_TRUE(f.services.messages.shown.isEmpty());

    f.preview->SetPageNo(2);
    f.preview->ExecDialog = findDialog(QStringLiteral("alpha"), false, true);
    QTest::keyClick(ws, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(f.preview->FindTextFound());
    EXPECT_EQ(f.preview->Search().LastFoundPage(), 2); // from page 2 on

    f.preview->ExecDialog = findDialog(QStringLiteral("alpha"), true, true);
    QTest::keyClick(ws, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(f.preview->Search().LastFoundPage(), 0); // from the top

    f.preview->ExecDialog = findDialog(QStringLiteral("beta"), true, false);
    QTest::keyClick(ws, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(ws, Qt::Key_F3); // still "alpha", the next one
    EXPECT_EQ(f.preview->Search().Text(), QStringLiteral("alpha"));
    EXPECT_EQ(f.preview->Search().LastFoundPage(), 2);
    EXPECT_TRUE(f.services.messages.shown.isEmpty());
}
