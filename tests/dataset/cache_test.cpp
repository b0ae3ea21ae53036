// The cached dataset without a database: filter, sort, navigation, bookmarks, Locate,
// refresh, observers and the statements written back.
#include "memdataset.h"
#include "platform/data/dberrors.h"

#include <gtest/gtest.h>

namespace {

class CacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ds.Name = QStringLiteral("EVENTS");
        ds.KeyFields = QStringLiteral("ID");
        ds.columns = {{QStringLiteral("ID"), TFieldType::ftInteger},
                      {QStringLiteral("TITLE"), TFieldType::ftString},
                      {QStringLiteral("START_EVENT"), TFieldType::ftDateTime},
                      {QStringLiteral("SEDE"), TFieldType::ftString}};
        ds.rows = {
            {1, "RIUNIONE", Variant::fromDate(dayOf(2026, 9, 10, 9)), "Roma"},
            {2, "riunione soci", Variant::fromDate(dayOf(2026, 9, 11)), "Milano"},
            {3, "Riunione", Variant::fromDate(dayOf(2026, 9, 9, 10)), Variant::null()},
            {4, "Cena d'estate", Variant::fromDate(dayOf(2026, 9, 10, 23)), "Roma"},
            {5, "ZETA", Variant::fromDate(dayOf(2026, 9, 12, 8)), "Napoli"},
        };
        ds.Open();
    }

    // IDs of the rows in view order, walking the dataset as a window does.
    std::vector<int> ids()
    {
        std::vector<int> out;
        for (ds.First(); !ds.Eof(); ds.Next())
            out.push_back(ds.FieldByName(QStringLiteral("ID"))->AsInteger());
        return out;
    }
    int currentId() { return ds.FieldByName(QStringLiteral("id"))->AsInteger(); }

    MemDataSet ds;
};

struct FilterCase
{
    const char *text;
    int options;
    std::vector<int> expected;
};

TEST_F(CacheTest, FilterTextSelectsRows)
{
    const FilterCase cases[] = {
        // The main window's search: capitals or small letters, prefix match, case-sensitive.
        {"[TITLE]='RIU*' OR [TITLE]='riu*'", 0, {1, 2}},
        {"TITLE = 'Riunione'", 0, {3}},
        {"TITLE = 'riunione'", foCaseInsensitive, {1, 3}},
        {"[TITLE]='riu*'", foCaseInsensitive, {1, 2, 3}},
        {"[TITLE]='RIU*'", foNoPartialCompare, {}},
        {"[TITLE]='Cena d''estate'", 0, {4}},
        {"[TITLE] <> 'RIU*'", 0, {2, 3, 4, 5}},
        // Date filters of the main window: before, on and after a day.
        {"START_EVENT < {d 2026-09-10 }", 0, {3}},
        {"START_EVENT >= {d 2026-09-10 } AND START_EVENT < {d 2026-09-11 }", 0, {1, 4}},
        {"START_EVENT > {d 2026-09-11 }", 0, {5}},
        {"START_EVENT<{d 2026-09-10}", 0, {3}},
        {"ID >= 2 AND ID <= 4", 0, {2, 3, 4}},
        {"ID <> 3", 0, {1, 2, 4, 5}},
        {"SEDE = 'Roma' OR (ID = 5)", 0, {1, 4, 5}},
        {"NOT (SEDE = 'Roma') AND NOT ID = 3", 0, {2, 5}},
        {"(ID = 1 OR ID = 2) AND SEDE = 'Milano'", 0, {2}},
    };
    for (const FilterCase &c : cases) {
        ds.SetFiltered(false);
        ds.SetFilterOptions(c.options);
        ds.SetFilter(QString::fromUtf8(c.text));
        ds.SetFiltered(true);
        EXPECT_EQ(ids(), c.expected) << c.text;
        EXPECT_EQ(ds.RecordCount(), int(c.expected.size())) << c.text;
    }
    ds.SetFiltered(false);
    EXPECT_EQ(ds.RecordCount(), 5);
}

TEST_F(CacheTest, MalformedFilterTextIsRefusedClearly)
{
    const char *bad[] = {
        "[TITLE]='abc",        "TITLE =",          "TITLE 'x'",        "(ID = 1",
        "START_EVENT < {d 2026-13-01 }", "ID = 1 ID = 2", "[TITLE = 'x'", "ID = 1 AND",
        "START_EVENT < {2026-09-10}",    "ID ! 1",
    };
    ds.SetFilter(QStringLiteral("ID = 1"));
    ds.SetFiltered(true);
    for (const char *text : bad) {
        try {
            ds.SetFilter(QString::fromUtf8(text));
            ADD_FAILURE() << "accepted: " << text;
        } catch (const EDatabaseError &e) {
            EXPECT_TRUE(e.message().contains(QLatin1String("position"))) << text << ": " << e.what();
        }
        // The filter in force stays.
        EXPECT_EQ(ds.Filter(), QStringLiteral("ID = 1"));
        EXPECT_EQ(ds.RecordCount(), 1);
    }
    EXPECT_THROW(ds.SetFilter(QStringLiteral("NOPE = 1")), EDatabaseError);

    // Nesting is bounded; long chains of terms are not nesting.
    EXPECT_THROW(ds.SetFilter(QString(300, QLatin1Char('(')) + QStringLiteral("ID = 1") + QString(300, QLatin1Char(')'))),
                 EDatabaseError);
    QStringList terms;
    for (int i = 0; i < 200000; ++i)
        terms << QStringLiteral("ID = %1").arg(i % 2 ? 99 : 2);
    ds.SetFilter(terms.join(QLatin1String(" OR ")));
    EXPECT_EQ(ids(), std::vector<int>{2});
}

TEST_F(CacheTest, IndexSortWithDescendingFlags)
{
    ds.SetIndexFieldNames(QStringLiteral("TITLE:D"));
    EXPECT_EQ(ids(), (std::vector<int>{2, 5, 3, 1, 4}));
    ds.SetIndexFieldNames(QStringLiteral("TITLE"));
    EXPECT_EQ(ids(), (std::vector<int>{4, 1, 3, 5, 2}));
    // Null first; ties keep the next key's order.
    ds.SetIndexFieldNames(QStringLiteral("SEDE;ID:D"));
    EXPECT_EQ(ids(), (std::vector<int>{3, 2, 5, 4, 1}));

    // The current row stays current when the order changes.
    ASSERT_TRUE(ds.Locate(QStringLiteral("ID"), 5));
    ds.SetIndexFieldNames(QStringLiteral("START_EVENT:D"));
    EXPECT_EQ(currentId(), 5);
    EXPECT_EQ(ds.RecNo(), 1);

    EXPECT_THROW(ds.SetIndexFieldNames(QStringLiteral("TITLE:X")), EDatabaseError);
    EXPECT_THROW(ds.SetIndexFieldNames(QStringLiteral("NOPE")), EDatabaseError);
    EXPECT_EQ(ds.IndexFieldNames(), QStringLiteral("START_EVENT:D"));

    // Sort and filter together, and both survive closing and opening.
    ds.SetFilter(QStringLiteral("SEDE = 'Roma'"));
    ds.SetFiltered(true);
    EXPECT_EQ(ids(), (std::vector<int>{4, 1}));
    ds.Close();
    ds.Open();
    EXPECT_EQ(ids(), (std::vector<int>{4, 1}));
}

TEST_F(CacheTest, NavigationFlags)
{
    ds.First();
    EXPECT_TRUE(ds.Bof());
    EXPECT_FALSE(ds.Eof());
    ds.Prior();
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.RecNo(), 1);
    ds.Last();
    EXPECT_EQ(ds.RecNo(), 5);
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(currentId(), 5);
    EXPECT_EQ(ds.MoveBy(-2), -2);
    EXPECT_EQ(currentId(), 3);

    ds.SetFilter(QStringLiteral("ID > 99"));
    ds.SetFiltered(true);
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_TRUE(ds.Eof());
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.RecNo(), 0);
    EXPECT_TRUE(ds.FieldByName(QStringLiteral("TITLE"))->IsNull());
}

TEST_F(CacheTest, BookmarksSurviveSortAndFilter)
{
    ASSERT_TRUE(ds.Locate(QStringLiteral("ID"), 3));
    const TBookmark bm = ds.GetBookmark();
    ds.SetIndexFieldNames(QStringLiteral("TITLE:D"));
    ds.First();
    ds.GotoBookmark(bm);
    EXPECT_EQ(currentId(), 3);

    ds.SetFilter(QStringLiteral("SEDE = 'Roma'"));
    ds.SetFiltered(true);
    EXPECT_FALSE(ds.BookmarkValid(bm));
    EXPECT_THROW(ds.GotoBookmark(bm), EDatabaseError);
    ds.SetFiltered(false);
    EXPECT_TRUE(ds.BookmarkValid(bm));
    EXPECT_FALSE(ds.BookmarkValid(TBookmark{}));
}

TEST_F(CacheTest, LocateOptions)
{
    EXPECT_TRUE(ds.Locate(QStringLiteral("TITLE"), "riunione", loCaseInsensitive));
    EXPECT_EQ(currentId(), 1);
    EXPECT_TRUE(ds.Locate(QStringLiteral("TITLE"), "riunione s", loPartialKey));
    EXPECT_EQ(currentId(), 2);
    EXPECT_TRUE(ds.Locate(QStringLiteral("SEDE;TITLE"), Variant::arrayOf({"Roma", "Cena d'estate"})));
    EXPECT_EQ(currentId(), 4);
    EXPECT_TRUE(ds.Locate(QStringLiteral("SEDE"), Variant::null()));
    EXPECT_EQ(currentId(), 3);
    // Not found: the cursor stays.
    EXPECT_FALSE(ds.Locate(QStringLiteral("TITLE"), "riunione"));
    EXPECT_EQ(currentId(), 3);
    EXPECT_EQ(ds.Lookup(QStringLiteral("ID"), 5, QStringLiteral("TITLE")).toString(), QStringLiteral("ZETA"));
    EXPECT_EQ(currentId(), 3);
    EXPECT_THROW(ds.Locate(QStringLiteral("NOPE"), 1), EDatabaseError);
}

TEST_F(CacheTest, RefreshStaysOnTheSameRowOrTheNextOne)
{
    ds.SetIndexFieldNames(QStringLiteral("ID"));
    ds.SetFilter(QStringLiteral("ID <> 2"));
    ds.SetFiltered(true);
    ASSERT_TRUE(ds.Locate(QStringLiteral("ID"), 3));

    // Fetched in another order, with a new row: still on ID 3, filter and sort in force.
    std::reverse(ds.rows.begin(), ds.rows.end());
    ds.rows.push_back({6, "NUOVO", Variant::fromDate(dayOf(2026, 9, 13)), "Roma"});
    ds.Refresh();
    EXPECT_EQ(currentId(), 3);
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_EQ(ids(), (std::vector<int>{1, 3, 4, 5, 6}));

    // The current row is gone: the one that followed it becomes current.
    ASSERT_TRUE(ds.Locate(QStringLiteral("ID"), 3));
    std::erase_if(ds.rows, [](const auto &r) { return r[0].toInt() == 3; });
    ds.Refresh();
    EXPECT_EQ(currentId(), 4);

    // Every following row is gone: the last row.
    ASSERT_TRUE(ds.Locate(QStringLiteral("ID"), 5));
    std::erase_if(ds.rows, [](const auto &r) { return r[0].toInt() >= 5; });
    ds.Refresh();
    EXPECT_EQ(currentId(), 4);
    EXPECT_TRUE(ds.Filtered());
    EXPECT_EQ(ds.IndexFieldNames(), QStringLiteral("ID"));
}

struct Recorder : TDataSetObserver
{
    int opened = 0, closing = 0, destroyed = 0, changed = 0, scrolled = 0;
    void DataSetAfterOpen(TDataSet &) override { ++opened; }
    void DataSetBeforeClose(TDataSet &ds) override
    {
        ++closing;
        EXPECT_TRUE(ds.Active()); // rows still readable
    }
    void DataSetDestroying(TDataSet &) override { ++destroyed; }
    void DataSetChanged(TDataSet &) override { ++changed; }
    void DataSetScrolled(TDataSet &) override { ++scrolled; }
};

TEST_F(CacheTest, ObserversAndDisabledControls)
{
    Recorder r;
    {
        MemDataSet local;
        local.columns = ds.columns;
        local.rows = ds.rows;
        local.AddObserver(&r);
        local.Open();
        EXPECT_EQ(r.opened, 1);

        local.DisableControls();
        local.DisableControls();
        const int changed = r.changed, scrolled = r.scrolled;
        for (local.First(); !local.Eof(); local.Next()) {
        }
        local.SetIndexFieldNames(QStringLiteral("TITLE"));
        local.EnableControls();
        EXPECT_EQ(r.changed, changed);
        local.EnableControls();
        EXPECT_EQ(r.changed, changed + 1); // one notice for everything that happened meanwhile
        EXPECT_EQ(r.scrolled, scrolled);
        local.Next();
        EXPECT_EQ(r.scrolled, scrolled + 1);

        local.Close();
        EXPECT_EQ(r.closing, 1);
    }
    EXPECT_EQ(r.destroyed, 1);
}

TEST_F(CacheTest, WriteBackUsesTheOriginalKey)
{
    ASSERT_TRUE(ds.Locate(QStringLiteral("ID"), 4));
    ds.Edit();
    ds.FieldByName(QStringLiteral("ID"))->SetValue(40);
    ds.FieldByName(QStringLiteral("TITLE"))->SetAsString(QStringLiteral("x'; DROP TABLE T; --"));
    ds.Post();
    ASSERT_EQ(ds.writes.size(), 1u);
    EXPECT_EQ(ds.writes[0].sql, QStringLiteral("UPDATE \"T\" SET \"ID\" = :P0, \"TITLE\" = :P1 WHERE \"ID\" = :P2"));
    ASSERT_EQ(ds.writes[0].values.size(), 3u);
    EXPECT_EQ(ds.writes[0].values[2].toInt(), 4);
    EXPECT_EQ(currentId(), 40);

    // A write that finds no row raises and keeps the edit pending.
    ds.AffectedRows = 0;
    ds.Edit();
    ds.FieldByName(QStringLiteral("TITLE"))->SetAsString(QStringLiteral("y"));
    EXPECT_THROW(ds.Post(), EDatabaseError);
    EXPECT_EQ(ds.State(), TDataSetState::dsEdit);
    ds.Cancel();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("TITLE"))->AsString(), QStringLiteral("x'; DROP TABLE T; --"));
    EXPECT_THROW(ds.Delete(), EDatabaseError);
    EXPECT_EQ(ds.RecordCount(), 5);

    // Values need Edit or Insert.
    EXPECT_THROW(ds.FieldByName(QStringLiteral("TITLE"))->SetAsString(QStringLiteral("z")), EDatabaseError);
}

TEST_F(CacheTest, BeforeDeleteCanRefuse)
{
    int asked = 0;
    bool answer = false;
    ds.BeforeDelete = [&](TDataSet &d) {
        ++asked;
        EXPECT_EQ(d.FieldByName(QStringLiteral("ID"))->AsInteger(), 2);
        return answer;
    };
    ASSERT_TRUE(ds.Locate(QStringLiteral("ID"), 2));
    EXPECT_FALSE(ds.Delete());
    EXPECT_TRUE(ds.writes.empty());
    EXPECT_EQ(ds.RecordCount(), 5);
    answer = true;
    EXPECT_TRUE(ds.Delete());
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(ds.writes.size(), 1u);
    EXPECT_EQ(ds.writes[0].sql, QStringLiteral("DELETE FROM \"T\" WHERE \"ID\" = :P0"));
    EXPECT_EQ(ds.RecordCount(), 4);
    EXPECT_EQ(currentId(), 3); // the next row
}

} // namespace

namespace {

TEST_F(CacheTest, MovingOrRefreshingEndsAPendingEdit)
{
    // An insert nobody filled in is dropped by a refresh (the navigator's insert button).
    ds.Insert();
    ds.Refresh();
    EXPECT_EQ(ds.State(), TDataSetState::dsBrowse);
    EXPECT_TRUE(ds.writes.empty());
    EXPECT_EQ(ds.RecordCount(), 5);

    // A changed row is written when the cursor moves on.
    ASSERT_TRUE(ds.Locate(QStringLiteral("ID"), 2));
    ds.Edit();
    ds.FieldByName(QStringLiteral("SEDE"))->SetAsString(QStringLiteral("Torino"));
    ds.Next();
    ASSERT_EQ(ds.writes.size(), 1u);
    EXPECT_EQ(currentId(), 3);

    // Deleting an unposted insert only drops it.
    ds.Insert();
    ds.FieldByName(QStringLiteral("ID"))->SetAsInteger(9);
    EXPECT_FALSE(ds.Delete());
    EXPECT_EQ(ds.writes.size(), 1u);
    EXPECT_EQ(ds.RecordCount(), 5);

    // A posted insert joins the rows in sort order and becomes current.
    ds.SetIndexFieldNames(QStringLiteral("ID:D"));
    ds.Insert();
    ds.FieldByName(QStringLiteral("ID"))->SetAsInteger(9);
    ds.FieldByName(QStringLiteral("TITLE"))->SetAsString(QStringLiteral("Nuovo"));
    ds.Post();
    ASSERT_EQ(ds.writes.size(), 2u);
    EXPECT_EQ(ds.writes[1].sql, QStringLiteral("INSERT INTO \"T\" (\"ID\", \"TITLE\") VALUES (:P0, :P1)"));
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(currentId(), 9);
    EXPECT_EQ(ds.RecordCount(), 6);
}

} // namespace

#include "platform/rtl/formatsettings.h"

namespace {

TEST(FieldText, DisplayTextByTypeAndFormat)
{
    const rtl::ScopedFormatSettings italian(TFormatSettings::italian());
    MemDataSet ds;
    ds.columns = {{QStringLiteral("N"), TFieldType::ftInteger},
                  {QStringLiteral("F"), TFieldType::ftFMTBcd},
                  {QStringLiteral("D"), TFieldType::ftDateTime},
                  {QStringLiteral("B"), TFieldType::ftBoolean},
                  {QStringLiteral("S"), TFieldType::ftString}};
    ds.rows = {{5, 1234.5, Variant::fromDate(dayOf(2026, 9, 10, 9)), true, Variant::null()}};
    ds.Open();
    struct Case
    {
        const char *field;
        const char *format;
        const char *text;
    };
    const Case cases[] = {
        {"N", "", "5"},
        {"F", "", "1234,5"},
        {"F", "#,##0.00", "1.234,50"},
        {"D", "dd/mm/yyyy hh:nn", "10/09/2026 09:00"},
        {"B", "", "True"},
        {"S", "", ""},
    };
    for (const Case &c : cases) {
        TField *f = ds.FieldByName(QLatin1String(c.field));
        f->DisplayFormat = QString::fromUtf8(c.format);
        EXPECT_EQ(f->DisplayText(), QString::fromUtf8(c.text)) << c.field << " " << c.format;
        EXPECT_EQ(ds.DisplayTextAt(0, f->Index()), f->DisplayText());
    }
    EXPECT_TRUE(ds.FieldByName(QStringLiteral("S"))->IsNull());
    EXPECT_EQ(ds.FieldByName(QStringLiteral("S"))->AsString(), QString());
}

} // namespace
