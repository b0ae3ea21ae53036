// The data walk: filters, row numbers, row counts, the report's own record source, groups with
// their footers, and drill-down.
#include "tests/engine/enginefixture.h"

namespace {

class Walk : public EngineTest {};

TEST_F(Walk, FilterShowsOnlyRowsWhereItIsTrueAndLinesCountShownRows)
{
    struct Case {
        const char *Title;
        Variant Value;  // the filter's value on rows with FLAG set; False on the others
        const char *Texts;
    };
    const Case cases[] = {
        {"True", Variant(true), "1 1|2 3|3 5"},
        {"False", Variant(false), ""},
        {"Null", Variant::null(), ""},
        {"the number 1", Variant(1), ""},
        {"the text True", Variant(QStringLiteral("True")), "1 1|2 3|3 5"},
    };
    TkvlReportPage *page = addPage();
    auto *src = addSource(QStringLiteral("ROWS"), numberedRows(5));
    auto *band = addBand<TkvlMasterData>(page, QStringLiteral("MasterData1"), 0, QStringLiteral("[Line#] [ID]"));
    band->SetDataSet(src);
    band->Filter = QStringLiteral("KEEP");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        store.Clear();
        lookup = [&](const QString &e) -> std::optional<Variant> {
            if (e != QLatin1String("KEEP"))
                return std::nullopt;
            return src->GetValue(QStringLiteral("FLAG")).toBool() ? c.Value : Variant(false);
        };
        ASSERT_TRUE(run());
        EXPECT_EQ(texts(), QString::fromLatin1(c.Texts));
    }
}

TEST_F(Walk, RowCountLimitsOrMakesTheRows)
{
    TkvlReportPage *page = addPage(4000);
    auto *src = addSource(QStringLiteral("ROWS"), numberedRows(100));
    auto *withSource = addBand<TkvlMasterData>(page, QStringLiteral("MasterData1"), 0, QStringLiteral("a[Line#]"));
    withSource->SetDataSet(src);
    withSource->SetRowCount(5);
    auto *without = addBand<TkvlMasterData>(page, QStringLiteral("MasterData2"), 30, QStringLiteral("b[Line#]"));
    without->SetRowCount(5);
    ASSERT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("a1|a2|a3|a4|a5|b1|b2|b3|b4|b5"));
}

TEST_F(Walk, ReportRecordSourceRepeatsTheReportPagesPerRecord)
{
    TkvlReportPage *page = addPage();
    report.SetDataSet(addSource(QStringLiteral("ROWS"), numberedRows(3)));
    addBand<TkvlReportTitle>(page, QStringLiteral("ReportTitle1"), 0, QStringLiteral("title [ID]"));
    ASSERT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("title 1 / title 2 / title 3"));
}

TEST_F(Walk, DetailRunsOverItsSourceForEachMasterRow)
{
    // Sites A, B, C; events 1 (A), 2 (B), 3 (A). The detail's filter keeps the events of the
    // master's site; its footer follows each master row that showed events.
    struct Case {
        const char *Title;
        bool DetailEmpty;
        bool PrintIfDetailEmpty;
        const char *Texts;
    };
    const Case cases[] = {
        // C has events, none of them passes the filter: the master row still shows, alone.
        {"filtered detail", false, false, "A|1 1|2 3|end A|B|1 2|end B|C"},
        {"a detail without rows hides the master", true, false, ""},
        {"a detail without rows, masters printed anyway", true, true, "A|B|C"},
    };
    TkvlReportPage *page = addPage(4000);
    auto *sites = addSource(QStringLiteral("SITES"), {{1, "A", "M", 0.0, true}, {2, "B", "M", 0.0, true},
                                                      {3, "C", "M", 0.0, true}});
    auto *events = addSource(QStringLiteral("EVENTS"), {{1, "A", "M", 0.0, true}, {2, "B", "M", 0.0, true},
                                                        {3, "A", "M", 0.0, true}});
    auto *master = addBand<TkvlMasterData>(page, QStringLiteral("MasterData1"), 0, QStringLiteral("[SITE]"));
    master->SetDataSet(sites);
    auto *detail = addBand<TkvlDetailData>(page, QStringLiteral("DetailData1"), 30, QStringLiteral("[Line#] [EVENT]"));
    detail->SetDataSet(events);
    detail->Filter = QStringLiteral("SAME");
    addBand<TkvlFooter>(page, QStringLiteral("Footer1"), 60, QStringLiteral("end [SITE]"));
    lookup = [&](const QString &e) -> std::optional<Variant> {
        if (e == QLatin1String("SITE"))
            return sites->GetValue(QStringLiteral("CITY"));
        if (e == QLatin1String("EVENT"))
            return events->GetValue(QStringLiteral("ID"));
        if (e == QLatin1String("SAME"))
            return Variant(Variant::equals(events->GetValue(QStringLiteral("CITY")), sites->GetValue(QStringLiteral("CITY"))));
        return std::nullopt;
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        store.Clear();
        events->RangeEnd = c.DetailEmpty ? reCount : reLast;
        events->RangeEndCount = 0;
        master->PrintIfDetailEmpty = c.PrintIfDetailEmpty;
        ASSERT_TRUE(run());
        EXPECT_EQ(texts(), QString::fromLatin1(c.Texts));
    }
}

// Groups by CITY over A (one row) and B (two rows).
class Groups : public EngineTest {
protected:
    void SetUp() override
    {
        page = addPage(4000);
        auto *src = addSource(QStringLiteral("ROWS"), {{1, "A", "M", 1.0, true},
                                                       {2, "B", "M", 2.0, true},
                                                       {3, "B", "M", 4.0, true}});
        header = addBand<TkvlGroupHeader>(page, QStringLiteral("GroupHeader1"), 0, QStringLiteral("[CITY]"));
        header->Condition = QStringLiteral("CITY");
        auto *data = addBand<TkvlMasterData>(page, QStringLiteral("MasterData1"), 30, QStringLiteral("[ID]"));
        data->SetDataSet(src);
        footer = addBand<TkvlGroupFooter>(page, QStringLiteral("GroupFooter1"), 60,
                                          QStringLiteral("end [CITY] [SUM(AMOUNT)]"));
        totals->Totals[footer] = 0;
    }
    TkvlReportPage *page = nullptr;
    TkvlGroupHeader *header = nullptr;
    TkvlGroupFooter *footer = nullptr;
};

TEST_F(Groups, FootersShowTheFinishedGroupAndHideSingleRowGroupsOnRequest)
{
    ASSERT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("A|1|end A 1|B|2|3|end B 6"));
    store.Clear();
    footer->HideIfSingleDataRecord = true;
    ASSERT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("A|1|B|2|3|end B 6"));
}

TEST_F(Groups, DrillDownShowsOnlyTheGroupsNamedInDrillState)
{
    header->DrillDown = true;
    ASSERT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("A|B"));
    EXPECT_EQ(header->DrillName, QStringLiteral("GroupHeader1.2"));
    // The preview adds the name of the group the user opens.
    report.DrillState().Add(QStringLiteral("GroupHeader1.2"));
    store.Clear();
    ASSERT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("A|B|2|3|end B 6"));
    // Expanded by default, the list names the closed groups instead.
    header->ExpandDrillDown = true;
    store.Clear();
    ASSERT_TRUE(run());
    EXPECT_EQ(texts(), QStringLiteral("A|1|end A 1|B"));
}

} // namespace
