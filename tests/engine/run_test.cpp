// Whole runs: the fixture list report with two group levels in one and two passes, the record
// source clashes, dialog pages, failing and stopped runs, endless pages and page-edge bands.
#include "tests/engine/enginefixture.h"
#include "tests/testsupport.h"

#include <QFile>
#include <stdexcept>

namespace {

QString readFixture(const QString &Name)
{
    QFile f(testsupport::dataFile(QStringLiteral("engine/") + Name));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("missing ") + Name;
    return QString::fromUtf8(f.readAll());
}

class GroupList : public EngineTest, public ::testing::WithParamInterface<bool> {};

TEST_P(GroupList, PreparesToTheExpectedPages)
{
    const bool doublePass = GetParam();
    load(QStringLiteral("grouplist.kv3"));
    addSource(QStringLiteral("EVENTS"), {{1, "Bari", "Gen", 10.0, true},
                                         {2, "Bari", "Gen", 20.0, true},
                                         {3, "Bari", "Feb", 5.0, true},
                                         {4, "Roma", "Feb", 7.0, true},
                                         {5, "Roma", "Mar", 1.0, true},
                                         {6, "Roma", "Mar", 2.0, true}});
    bindSources();
    totals->Totals = {{find<TkvlBand>("GroupFooter1"), 0}, {find<TkvlBand>("GroupFooter2"), 0}};
    report.EngineOptions()->DoublePass = doublePass;
    auto *page = find<TkvlReportPage>("ReportPage1");
    ASSERT_NE(page, nullptr);
    page->OnBeforePrint = QStringLiteral("PageStart");
    std::vector<std::pair<bool, int>> passes;  // FinalPass and TotalPages as each pass starts
    onEvent = [&](const QString &, Variant &) { passes.emplace_back(engine().FinalPass, engine().TotalPages); };

    ASSERT_TRUE(run());
    QString expected = readFixture(QStringLiteral("grouplist-pages.txt"));
    expected.replace(QStringLiteral("TOTAL"), doublePass ? QStringLiteral("3") : QStringLiteral("0"));
    EXPECT_EQ(store.Listing().toStdString(), expected.toStdString());
    if (doublePass)
        EXPECT_EQ(passes, (std::vector<std::pair<bool, int>>{{false, 0}, {true, 3}}));
    else
        EXPECT_EQ(passes, (std::vector<std::pair<bool, int>>{{true, 0}}));
    EXPECT_FALSE(engine().Running);
    EXPECT_EQ(store.Finished, 1);
}

INSTANTIATE_TEST_SUITE_P(Passes, GroupList, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Double" : "Single"; });

class Run : public EngineTest {
protected:
    // A page with one data band over N numbered rows, showing "[ID]".
    TkvlMasterData *listPage(int N, double HeightPx = 1000)
    {
        page = addPage(HeightPx);
        auto *band = addBand<TkvlMasterData>(page, QStringLiteral("MasterData1"), 40, QStringLiteral("[ID]"));
        band->SetDataSet(addSource(QStringLiteral("ROWS"), numberedRows(N)));
        return band;
    }
    TkvlReportPage *page = nullptr;
};

TEST_F(Run, RecordSourceClashesEndTheRunWithOneMessage)
{
    struct Case {
        const char *Title;
        bool ReportSource, PageSource;  // the band always uses source A
        const char *Message;
    };
    const Case cases[] = {
        {"report, page and band", true, true, "Cannot use the same dataset for Report.DataSet and Page.DataSet"},
        {"report and band", true, false, "Cannot use the same dataset for Report.DataSet and Band.DataSet"},
        {"page and band", false, true, "Cannot use the same dataset for Page.DataSet and Band.DataSet"},
    };
    auto *band = listPage(2);
    TkvlDataSet *a = band->DataSet();
    // A second page whose band clashes with the report's source: it is not examined once a
    // page clash is found.
    TkvlReportPage *second = addPage();
    addBand<TkvlMasterData>(second, QStringLiteral("MasterData2"), 0)->SetDataSet(a);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        report.Errors().Clear();
        report.SetDataSet(c.ReportSource ? a : nullptr);
        page->SetDataSet(c.PageSource ? a : nullptr);
        EXPECT_FALSE(run());
        EXPECT_EQ(report.Errors().toQStringList(), QStringList{QString::fromLatin1(c.Message)});
        EXPECT_TRUE(store.Pages.empty());
    }
}

TEST_F(Run, DialogPages)
{
    listPage(1);
    report.OnStopReport = QStringLiteral("Stop");
    auto *empty = new TkvlDialogPage(&report);
    empty->CreateUniqueName();
    auto *asking = new TkvlDialogPage(&report);
    asking->CreateUniqueName();
    auto *control = new TkvlMemoView(asking);
    control->CreateUniqueName();
    QStringList shown;
    TModalResult answer = mrCancel;
    engine().OnRunDialog = [&](TkvlDialogPage *Page, TModalResult &Result) {
        shown << Page->Name();
        Result = answer;
    };

    EXPECT_FALSE(run());  // cancelled
    EXPECT_EQ(shown, QStringList{asking->Name()});
    EXPECT_TRUE(store.Pages.empty());
    EXPECT_EQ(events, QStringList{QStringLiteral("Stop")});
    EXPECT_FALSE(engine().Running);

    answer = mrOk;
    EXPECT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("1"));

    // A script procedure decides instead, through its by-reference flag; no page is shown.
    shown.clear();
    report.OnRunDialogs = QStringLiteral("Dialogs");
    onEvent = [](const QString &Event, Variant &Params) {
        if (Event == QLatin1String("Dialogs"))
            Params.arrayPut(std::array<int, 1>{0}, Variant(false));
    };
    EXPECT_FALSE(run());
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(Run, RaisingEventLeavesTheEngineIdleAndTheStoreFinished)
{
    auto *band = listPage(3);
    band->OnBeforePrint = QStringLiteral("Boom");
    report.OnStopReport = QStringLiteral("Stop");
    onEvent = [](const QString &Event, Variant &) {
        if (Event == QLatin1String("Boom"))
            throw std::runtime_error("boom");
    };
    EXPECT_THROW(run(), std::runtime_error);
    EXPECT_FALSE(engine().Running);
    EXPECT_EQ(store.Finished, 1);
    EXPECT_EQ(events.count(QStringLiteral("Stop")), 1);
    onEvent = nullptr;
    EXPECT_TRUE(run());  // the engine is usable again
}

TEST_F(Run, StopFromAScriptKeepsThePagesSoFar)
{
    auto *band = listPage(5);
    band->OnBeforePrint = QStringLiteral("Row");
    onEvent = [this](const QString &, Variant &) {
        if (engine().CurLine == 3)
            engine().StopReport();
    };
    EXPECT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("1|2|3"));
}

TEST_F(Run, RunInsideARunIsRefused)
{
    auto *band = listPage(2);
    band->OnBeforePrint = QStringLiteral("Row");
    std::vector<bool> inner;
    onEvent = [&](const QString &, Variant &) { inner.push_back(engine().Run(true)); };
    EXPECT_TRUE(run());
    EXPECT_EQ(inner, (std::vector<bool>{false, false}));
    EXPECT_EQ(texts(), QStringLiteral("1|2"));
}

TEST_F(Run, EndlessHeightPageIsAsHighAsItsContent)
{
    listPage(3, 100);
    page->EndlessHeight = true;
    page->TopMargin = page->BottomMargin = 5;
    addBand<TkvlPageFooter>(page, QStringLiteral("PageFooter1"), 200, QStringLiteral("end"));
    ASSERT_TRUE(run());
    ASSERT_EQ(store.Pages.size(), 1u);
    // Three rows and the footer, 20 pixels each, and 10 mm of margins.
    EXPECT_NEAR(store.Pages[0].Height, 80 + 10 * 3.77953, 1e-6);
    EXPECT_EQ(store.Listing(), QStringLiteral("page 1\n0 1\n20 2\n40 3\n60 end\n"));
}

TEST_F(Run, PageFooterOnFirstAndLastPage)
{
    struct Case {
        const char *Title;
        bool OnFirst, OnLast;
        const char *Texts;
    };
    // 100 pixels of page: four rows and the footer fit.
    const Case cases[] = {
        {"both", true, true, "1|2|3|4|F1 / 5|6|F2"},
        {"not on the first", false, true, "1|2|3|4 / 5|6|F2"},
        {"not on the last", true, false, "1|2|3|4|F1 / 5|6"},
    };
    listPage(6, 100);
    auto *footer = addBand<TkvlPageFooter>(page, QStringLiteral("PageFooter1"), 200, QStringLiteral("F[Page#]"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        store.Clear();
        footer->PrintOnFirstPage = c.OnFirst;
        footer->PrintOnLastPage = c.OnLast;
        ASSERT_TRUE(run());
        EXPECT_EQ(texts(), QString::fromLatin1(c.Texts));
    }
}

TEST_F(Run, OverlayBehindOrOverEverything)
{
    listPage(2);
    addBand<TkvlPageHeader>(page, QStringLiteral("PageHeader1"), 0, QStringLiteral("H"));
    addBand<TkvlPageFooter>(page, QStringLiteral("PageFooter1"), 200, QStringLiteral("F"));
    auto *overlay = addBand<TkvlOverlay>(page, QStringLiteral("Overlay1"), 300, QStringLiteral("O"));
    ASSERT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("O|H|1|2|F"));
    store.Clear();
    overlay->PrintOnTop = true;
    ASSERT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("H|1|2|F|O"));
}

TEST_F(Run, PageCopiesAndPrintIfEmpty)
{
    listPage(0);
    addBand<TkvlPageHeader>(page, QStringLiteral("PageHeader1"), 0, QStringLiteral("H"));
    page->SetPageCount(2);
    ASSERT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("H / H"));
    // Without print-if-empty a page whose data band has no record is left out.
    store.Clear();
    page->PrintIfEmpty = false;
    ASSERT_TRUE(run());
    EXPECT_EQ(store.Pages.size(), 0u);
}

TEST_F(Run, ManualBuildReplacesTheBandTree)
{
    struct Case {
        const char *Title;
        bool HostHook;
        const char *Procedure;  // the page's OnManualBuild
        const char *Texts;
        bool ProcedureRuns;
    };
    const Case cases[] = {
        {"host hook before the procedure", true, "Build", "x / x", false},
        {"script procedure", false, "Build", "x / x", true},
        {"blank procedure name", false, "  ", "1|x|2|x", false},
    };
    auto *band = listPage(2);
    auto *extra = addBand<TkvlChild>(page, QStringLiteral("Extra"), 100, QStringLiteral("x"));
    band->SetChild(extra);
    // The builder shows the child band on two pages through the engine's own operations.
    const auto build = [&] {
        engine().ShowBand(extra);
        engine().NewPage();
        engine().ShowBand(extra);
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        store.Clear();
        events.clear();
        page->OnManualBuild = QString::fromLatin1(c.Procedure);
        std::vector<TkvlPage *> hooked;
        if (c.HostHook)
            engine().OnManualBuild = [&](TkvlPage *p) {
                hooked.push_back(p);
                build();
            };
        else
            engine().OnManualBuild = nullptr;
        onEvent = [&](const QString &e, Variant &) {
            if (e == QLatin1String("Build"))
                build();
        };
        ASSERT_TRUE(run());
        EXPECT_EQ(texts(), QString::fromLatin1(c.Texts));
        EXPECT_EQ(events.contains(QStringLiteral("Build")), c.ProcedureRuns);
        EXPECT_EQ(hooked, c.HostHook ? std::vector<TkvlPage *>{page} : std::vector<TkvlPage *>{});
    }
}

TEST_F(Run, ChildOfAnInvisibleOrSkippedBand)
{
    struct Case {
        const char *Title;
        bool HeaderOnFirstPage, DataVisible, ChildIfInvisible;
        const char *Texts;
    };
    const Case cases[] = {
        {"all shown", true, true, false, "H|hc|1|c|2|c"},
        {"hidden data band", true, false, false, "H|hc"},
        {"hidden data band, child kept", true, false, true, "H|hc|c|c"},
        {"header not on the first page", false, true, false, "1|c|2|c"},
        {"header not on the first page, child kept", false, true, true, "hc|1|c|2|c"},
    };
    auto *band = listPage(2);
    auto *header = addBand<TkvlPageHeader>(page, QStringLiteral("PageHeader1"), 0, QStringLiteral("H"));
    header->SetChild(addBand<TkvlChild>(page, QStringLiteral("HeaderChild"), 100, QStringLiteral("hc")));
    band->SetChild(addBand<TkvlChild>(page, QStringLiteral("DataChild"), 200, QStringLiteral("c")));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        store.Clear();
        header->PrintOnFirstPage = c.HeaderOnFirstPage;
        band->SetVisible(c.DataVisible);
        header->PrintChildIfInvisible = band->PrintChildIfInvisible = c.ChildIfInvisible;
        ASSERT_TRUE(run());
        EXPECT_EQ(texts(), QString::fromLatin1(c.Texts));
    }
}

// Receives the engine's notice after each data row and notes how many texts were out by then.
class RowListener : public TkvlComponent {
public:
    RowListener(const RecordingStore &AStore) : TkvlComponent(nullptr), Store(AStore) {}
    void OnNotify(TkvlComponent *Band) override
    {
        Seen << Band->Name() + u' ' + QString::number(Store.Pages.back().Texts.size());
    }
    const RecordingStore &Store;
    QStringList Seen;
};

TEST_F(Run, ListenersHearOfEveryDataRowAfterItAndItsChildPrinted)
{
    auto *band = listPage(3);
    band->SetChild(addBand<TkvlChild>(page, QStringLiteral("DataChild"), 200, QStringLiteral("c")));
    addBand<TkvlReportSummary>(page, QStringLiteral("ReportSummary1"), 300, QStringLiteral("S"));
    RowListener listener(store);
    auto gone = std::make_unique<RowListener>(store);
    engine().NotifyList.emplace_back(gone.get());
    engine().NotifyList.emplace_back(&listener);
    gone.reset();  // a listener freed before the run is passed over
    ASSERT_TRUE(run());
    EXPECT_EQ(listener.Seen, QStringList({"MasterData1 2", "MasterData1 4", "MasterData1 6"}));
    engine().NotifyList.clear();
}

TEST_F(Run, HostPrintEventsComeBeforeTheObjectsOwnProcedures)
{
    auto *band = listPage(1);
    TkvlComponent *memo = band->Object(0);
    memo->SetName(QStringLiteral("Memo1"));
    band->OnBeforePrint = QStringLiteral("BandBefore");
    band->OnAfterPrint = QStringLiteral("BandAfter");
    static_cast<TkvlReportComponent *>(memo)->OnAfterPrint = QStringLiteral("MemoAfter");
    QStringList log;
    report.OnBeforePrint = [&](TkvlComponent *c) { log << QStringLiteral("host before ") + c->Name(); };
    report.OnAfterPrint = [&](TkvlComponent *c) { log << QStringLiteral("host after ") + c->Name(); };
    onEvent = [&](const QString &e, Variant &) { log << QStringLiteral("script ") + e; };
    ASSERT_TRUE(run());
    EXPECT_EQ(log, QStringList({"host before MasterData1", "script BandBefore", "host before Memo1",
                                "host after Memo1", "script MemoAfter", "host after MasterData1",
                                "script BandAfter"}));
}

} // namespace
