// Aggregate totals: the calls found in footer memos, what each record adds, resets, keep
// mode and vertical columns.
#include "report/bands/kvlband.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/vars/kvlvariables.h"
#include "tests/run/runfixture.h"

namespace {

// A page with MasterData1 over source DS, its footer Footer1, and a page footer, linked as
// the engine links them. Each record's value is what the test's row list holds.
class Aggregates : public RunFixture {
protected:
    Aggregates() : list(report.get())
    {
        ds = addDataSet(QStringLiteral("DS"));
        page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        data = new TkvlMasterData(page);
        data->SetName(QStringLiteral("MasterData1"));
        data->SetDataSet(ds);
        footer = new TkvlFooter(page);
        footer->SetName(QStringLiteral("Footer1"));
        pageFooter = new TkvlPageFooter(page);
        pageFooter->SetName(QStringLiteral("PageFooter1"));
        page->SubBands.push_back(data);
        data->Footer = footer;
        // The expression of every item is "X"; its value per record comes from rows.
        report->Evaluator = [this](const QString &) { return rows.at(size_t(row)); };
    }
    TkvlMemoView *addMemo(TkvlBand *Band, const QString &Text)
    {
        auto *m = new TkvlMemoView(Band);
        m->SetName(QStringLiteral("Memo") + QString::number(++memos));
        m->SetText(Text);
        return m;
    }
    // Feeds every row of rows to the list.
    void feed(int VColumn = 0)
    {
        for (row = 0; row < int(rows.size()); ++row)
            list.AddValue(data, VColumn);
    }

    TkvlAggregateList list;
    TestDataSet *ds = nullptr;
    TkvlReportPage *page = nullptr;
    TkvlMasterData *data = nullptr;
    TkvlFooter *footer = nullptr;
    TkvlPageFooter *pageFooter = nullptr;
    std::vector<Variant> rows;
    int row = 0;
    int memos = 0;
};

TEST_F(Aggregates, CallsInFootersBecomeItemsFedByTheirDataBand)
{
    addMemo(pageFooter, QStringLiteral("Total: [SUM(X, MasterData1)] and [COUNT()]"));
    addMemo(footer, QStringLiteral("[AVG(X)] [Plain] [max(X,,2)]"));
    addMemo(data, QStringLiteral("[SUM(X)]"));  // a data band's own memo prints no total
    list.AddItems(page);
    ASSERT_EQ(list.Count(), 4);
    struct Expect {
        TkvlAggregateFunction f;
        const char *expression, *original;
        TkvlBand *parent;
        int flags;
    };
    // Footers of the data band first, then the page footer.
    const Expect expected[] = {
        {agAvg, "X", "AVG(X)", footer, 0},
        {agMax, "X", "max(X,,2)", footer, 2},
        {agSum, "X", "SUM(X, MasterData1)", pageFooter, 0},
        {agCount, "", "COUNT()", pageFooter, 0},
    };
    for (int i = 0; i < list.Count(); ++i) {
        SCOPED_TRACE(i);
        TkvlAggregateItem *it = list.Items(i);
        EXPECT_EQ(it->AggregateFunction, expected[i].f);
        EXPECT_EQ(it->Expression, QString::fromLatin1(expected[i].expression));
        EXPECT_EQ(it->OriginalName, QString::fromLatin1(expected[i].original));
        EXPECT_EQ(it->ParentBand.get(), expected[i].parent);
        EXPECT_EQ(it->Band.get(), data);
        EXPECT_EQ(it->Flags(), expected[i].flags);
        EXPECT_EQ(it->IsPageFooter, expected[i].parent == pageFooter);
    }
}

TEST_F(Aggregates, ArgumentsWithQuotedCommasAndParenthesesAndVariablesHoldingCalls)
{
    setVariable(*report, QStringLiteral("Total"),
                                    Variant(QStringLiteral("SUM(Get('DS.\"N\"'), MasterData1)")));
    // Variables that refer to each other are followed once.
    setVariable(*report, QStringLiteral("Loop"), Variant(QStringLiteral("Loop + 1")));
    addMemo(footer, QStringLiteral("[IIF(SUM(Len('a,b)'), MasterData1) > 0, 'x', 'y')] [Total] [Loop]"));
    list.AddItems(page);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0)->Expression, QStringLiteral("Len('a,b)')"));
    EXPECT_EQ(list.Items(0)->Band.get(), data);
    EXPECT_EQ(list.Items(1)->Expression, QStringLiteral("Get('DS.\"N\"')"));
    EXPECT_EQ(list.Items(1)->OriginalName, QStringLiteral("SUM(Get('DS.\"N\"'), MasterData1)"));
}

TEST_F(Aggregates, TotalsOverTheRecords)
{
    const struct {
        const char *call;
        std::vector<Variant> rows;
        Variant expected;
    } cases[] = {
        {"SUM(X)", {Variant(2), Variant::null(), Variant(4)}, Variant(6)},
        {"AVG(X)", {Variant(2), Variant::null(), Variant(4)}, Variant(3.0)},
        {"MIN(X)", {Variant(5), Variant(-1), Variant(3)}, Variant(-1)},
        {"MAX(X)", {Variant(5), Variant(-1), Variant(3)}, Variant(5)},
        {"COUNT()", {Variant(5), Variant::null(), Variant(3)}, Variant(3)},
        {"SUM(X)", {Variant(true), Variant(true), Variant(false)}, Variant(2)},
        {"MIN(X)", {}, Variant(0)},
        {"AVG(X)", {}, Variant(0)},
        {"AVG(X)", {Variant::null()}, Variant(0)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.call);
        list.Clear();
        for (TkvlComponent *o : std::vector<TkvlComponent *>(footer->Objects()))
            delete o;
        addMemo(footer, QStringLiteral("[") + QString::fromLatin1(c.call) + u']');
        list.AddItems(page);
        rows = c.rows;
        feed();
        EXPECT_EQ(list.GetValue(footer, QString::fromLatin1(c.call), 0), c.expected);
    }
}

TEST_F(Aggregates, HiddenBandsCountOnlyWithFlagOne)
{
    addMemo(footer, QStringLiteral("[COUNT(MasterData1)] [COUNT(MasterData1, 1)]"));
    list.AddItems(page);
    rows = {Variant(1), Variant(1)};
    data->SetVisible(false);
    feed();
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("COUNT(MasterData1)"), 0), Variant(0));
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("COUNT(MasterData1, 1)"), 0), Variant(2));
    EXPECT_EQ(list.GetValue(footer, 0, QStringLiteral("count"), QString(), data, 1), Variant(2));
    EXPECT_TRUE(list.GetValue(pageFooter, 0, QStringLiteral("COUNT"), QString(), data, 1).isNull());
}

TEST_F(Aggregates, FlagTwoKeepsARunningTotalAcrossResetsButNotClearValues)
{
    addMemo(footer, QStringLiteral("[SUM(X)] [SUM(X,,2)]"));
    list.AddItems(page);
    rows = {Variant(3), Variant(4)};
    feed();
    list.Reset(footer);
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("SUM(X)"), 0), Variant(0));
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("SUM(X,,2)"), 0), Variant(7));
    feed();
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("SUM(X,,2)"), 0), Variant(14));
    list.ClearValues();
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("SUM(X,,2)"), 0), Variant(0));
    EXPECT_TRUE(list.Items(1)->DontReset);
}

TEST_F(Aggregates, KeepModeHoldsRowsBackUntilTheBlockEndsAndDeleteValueTakesOneBack)
{
    addMemo(pageFooter, QStringLiteral("[SUM(X)]"));
    addMemo(footer, QStringLiteral("[SUM(X)]"));
    list.AddItems(page);
    rows = {Variant(1), Variant(2)};
    feed();
    list.StartKeep();
    rows = {Variant(10), Variant(20)};
    feed();
    // Only page-footer items keep: the group footer counted at once.
    EXPECT_EQ(list.GetValue(pageFooter, QStringLiteral("SUM(X)"), 0), Variant(3));
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("SUM(X)"), 0), Variant(33));
    list.EndKeep();
    EXPECT_EQ(list.GetValue(pageFooter, QStringLiteral("SUM(X)"), 0), Variant(33));
    EXPECT_EQ(list.Items(0)->ItemsCount, 4);

    rows = {Variant(100)};
    feed();
    list.DeleteValue(data);
    EXPECT_EQ(list.GetValue(pageFooter, QStringLiteral("SUM(X)"), 0), Variant(33));
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("SUM(X)"), 0), Variant(33));
}

TEST_F(Aggregates, VerticalColumnsHaveTheirOwnTotalsUpToTheLimit)
{
    addMemo(footer, QStringLiteral("[SUM(X)]"));
    list.AddItems(page);
    rows = {Variant(1), Variant(2)};
    feed(1);
    rows = {Variant(5)};
    feed(2);
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("SUM(X)"), 1), Variant(3));
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("SUM(X)"), 2), Variant(5));
    feed(1000);
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("SUM(X)"), 1000), Variant(5));
    EXPECT_EQ(report->Errors().Count(), 0);
    feed(1001);
    EXPECT_EQ(report->Errors().Count(), 1);
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("SUM(X)"), 2), Variant(5));
    EXPECT_EQ(list.GetValue(footer, QStringLiteral("SUM(X)"), 1001), Variant(0));
}

// Memos the engine moved from horizontal bands into a vertical data band: one from a total
// band prints its totals there, one from a data band in the vertical band itself.
TEST_F(Aggregates, AMemoMovedIntoAVerticalBandTotalsInTheHorizontalTotalBand)
{
    auto *vdata = new TkvlMasterData(page);
    vdata->SetName(QStringLiteral("VData"));
    vdata->SetVertical(true);
    page->VSubBands.push_back(vdata);
    struct Case {
        TkvlBand *From;
        TkvlBand *Parent;
    };
    const Case cases[] = {{footer, footer}, {pageFooter, pageFooter}, {data, vdata}};
    for (const Case &c : cases) {
        TkvlMemoView *m = addMemo(vdata, QStringLiteral("[SUM(X)]"));
        m->OriginalBand = c.From;
    }
    list.AddItems(page);
    ASSERT_EQ(list.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list.Items(i)->ParentBand.get(), cases[i].Parent);
        EXPECT_EQ(list.Items(i)->Band.get(), vdata);
    }
}

} // namespace
