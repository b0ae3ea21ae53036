// Record sources: ranges, names, the process-wide list and the report's own list.
#include "report/core/kvlobjects.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldbdataset.h"
#include "report/options/kvloptions.h"

#include <gtest/gtest.h>

namespace {

TkvlUserDataSet *source(TComponent *owner, const char *userName)
{
    auto *ds = new TkvlUserDataSet(owner);
    ds->SetUserName(QString::fromLatin1(userName));
    return ds;
}

TEST(RecordSource, CountedRangeStopsOnItsLastRecord)
{
    TkvlUserDataSet ds(nullptr);
    ds.RangeEnd = reCount;
    ds.RangeEndCount = 3;
    int nexts = 0;
    ds.OnNext = [&nexts](TkvlDataSet *) { ++nexts; };
    ds.First();
    std::vector<std::pair<int, bool>> seen{{ds.RecNo(), ds.Eof()}};
    for (int i = 0; i < 3; ++i) {
        ds.Next();
        seen.emplace_back(ds.RecNo(), ds.Eof());
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{0, false}, {1, false}, {2, false}, {2, true}}));
    EXPECT_EQ(nexts, 2);  // not told about the step that ends the range

    // The host may change the end.
    ds.OnCheckEOF = [](TkvlDataSet *, bool &eof) { eof = false; };
    EXPECT_FALSE(ds.Eof());
}

TEST(RecordSource, RecordCountOnlyForACountedRangeFromTheFirst)
{
    struct Case {
        TkvlRangeBegin begin;
        TkvlRangeEnd end;
        int expected;
    };
    const Case cases[] = {{rbFirst, reCount, 7}, {rbCurrent, reCount, 0}, {rbFirst, reLast, 0}, {rbFirst, reCurrent, 0}};
    for (const Case &c : cases) {
        TkvlUserDataSet ds(nullptr);
        ds.RangeBegin = c.begin;
        ds.RangeEnd = c.end;
        ds.RangeEndCount = 7;
        EXPECT_EQ(ds.RecordCount(), c.expected) << int(c.begin) << " " << int(c.end);
        EXPECT_FALSE(ds.Eof());  // open ranges end only when the host says so
    }
}

TEST(RecordSource, TemplatesCanMakeTheKinds)
{
    kvlRegisterDataSetClasses();
    TkvlReport report(nullptr);
    auto *ds = rtl_cast<TkvlDBDataset>(rtl::GetClass(u"tkvldbdataset")->create(&report));
    ASSERT_NE(ds, nullptr);
    EXPECT_EQ(ds->Parent(), &report);
    // Published in template order.
    QStringList names;
    for (const rtl::PropInfo *p : ds->ClassType()->props())
        names << p->name();
    EXPECT_EQ(names.join(QLatin1Char(' ')),
              QLatin1String("Name Tag Description Enabled RangeBegin RangeEnd RangeEndCount UserName "
                            "CloseDataSource FieldAliases OpenDataSource BCDToCurrency DataSource"));
}

TEST(RecordSource, UserNameIsNeverBlank)
{
    TkvlUserDataSet ds(nullptr);
    ds.SetName(QStringLiteral("UserDS1"));
    EXPECT_EQ(ds.UserName(), QLatin1String("UserDS1"));
    ds.SetName(QStringLiteral("UserDS2"));
    EXPECT_EQ(ds.UserName(), QLatin1String("UserDS1"));  // only an empty user name follows the name
    for (const char *blank : {"", "   "}) {
        try {
            ds.SetUserName(QString::fromLatin1(blank));
            ADD_FAILURE() << "blank accepted";
        } catch (const Exception &e) {
            EXPECT_EQ(e.message(), QString::fromUtf8("Valore non valido"));
        }
    }
    ds.SetUserName(QStringLiteral(" Padded "));
    EXPECT_EQ(ds.UserName(), QLatin1String(" Padded "));
    // Through the published property too.
    EXPECT_THROW(ds.ClassType()->findProp(u"UserName")->setStr(&ds, QStringLiteral(" ")), Exception);
    EXPECT_EQ(ds.UserName(), QLatin1String(" Padded "));
}

TEST(RecordSource, UserValuesComeFromTheLaterEvent)
{
    TkvlUserDataSet ds(nullptr);
    ds.Fields().SetText(QStringLiteral("A\r\nB\r\n"));
    EXPECT_EQ(ds.FieldsCount(), 2);
    EXPECT_TRUE(ds.HasField(QStringLiteral("b")));
    EXPECT_FALSE(ds.HasField(QStringLiteral("C")));
    EXPECT_TRUE(ds.GetValue(QStringLiteral("A")).isNull());
    ds.OnGetValue = [](const QString &name, Variant &v) { v = Variant(name + QStringLiteral("-old")); };
    EXPECT_EQ(ds.GetDisplayText(QStringLiteral("A")), QLatin1String("A-old"));
    ds.OnNewGetValue = [](TkvlDataSet *, const QString &name, Variant &v) {
        if (name == QLatin1String("B"))
            v = Variant(42);
    };
    EXPECT_EQ(ds.GetValue(QStringLiteral("A")).toString(), QLatin1String("A-old"));
    EXPECT_EQ(ds.GetValue(QStringLiteral("B")).toInt(), 42);
}

TEST(GlobalList, LookupSkipsSourcesOfOtherReports)
{
    TkvlReport mine(nullptr), other(nullptr);
    TkvlDataSet *foreign = source(&other, "EVENTS");
    TkvlDataSet *free = source(nullptr, "events");
    TkvlDataSet *own = source(&mine, "Sedi");
    TkvlUserDataSet fallback(nullptr);

    EXPECT_EQ(kvlFindDataSet(nullptr, QStringLiteral("EVENTS"), &mine), free);
    EXPECT_EQ(kvlFindDataSet(nullptr, QStringLiteral("EVENTS"), &other), foreign);  // creation order
    EXPECT_EQ(kvlFindDataSet(nullptr, QStringLiteral("SEDI"), &mine), own);
    EXPECT_EQ(kvlFindDataSet(&fallback, QStringLiteral("SEDI"), &other), &fallback);
    EXPECT_EQ(kvlFindDataSet(&fallback, QStringLiteral("EVENTS"), nullptr), &fallback);
    EXPECT_EQ(kvlFindDataSet(&fallback, QString(), &mine), nullptr);

    delete free;
    EXPECT_EQ(kvlFindDataSet(nullptr, QStringLiteral("EVENTS"), &mine), nullptr);
}

TEST(GlobalList, ActiveListHasEnabledNamedSourcesInCreationOrder)
{
    TkvlUserDataSet unnamed(nullptr);
    std::unique_ptr<TkvlDataSet> a(source(nullptr, "A")), b(source(nullptr, "B")), c(source(nullptr, "C"));
    b->Enabled = false;
    TStringList list;
    list.Add(QStringLiteral("stale"));
    kvlGetDataSetList(list);
    // Other tests' sources may exist; ours keep their order.
    const int ia = list.IndexOf(QStringLiteral("A"));
    ASSERT_GE(ia, 0);
    EXPECT_EQ(list.IndexOf(QStringLiteral("stale")), -1);
    EXPECT_EQ(list.IndexOf(QStringLiteral("B")), -1);
    EXPECT_EQ(list.IndexOf(QStringLiteral("C")), ia + 1);
    EXPECT_EQ(list.Objects(ia), a.get());
    EXPECT_EQ(list.IndexOfObject(&unnamed), -1);
}

TEST(ReportList, FindDataSetFollowsTheEngineOption)
{
    TkvlReport report(nullptr);
    auto *page = new TkvlPage(&report);
    std::unique_ptr<TkvlDataSet> global(source(nullptr, "EVENTS"));
    TkvlDataSet *offered = source(&report, "SEDI");
    TkvlDataSet *used = source(&report, "TITOLI");
    report.EnabledDataSets()->Add(offered);
    report.DataSets()->Add(used);  // the template's list is not an offer

    EXPECT_EQ(FindDataSet(page, nullptr, QStringLiteral("events")), global.get());
    EXPECT_EQ(FindDataSet(&report, nullptr, QStringLiteral("titoli")), used);
    report.EngineOptions()->UseGlobalDataSetList = false;
    EXPECT_EQ(FindDataSet(page, nullptr, QStringLiteral("EVENTS")), nullptr);
    EXPECT_EQ(FindDataSet(page, nullptr, QStringLiteral("sedi")), offered);
    EXPECT_EQ(FindDataSet(&report, nullptr, QStringLiteral("TITOLI")), nullptr);

    // A template's item naming a source the report was not offered stays unbound.
    TkvlDataSetItem *item = report.DataSets()->Add(nullptr);
    item->SetDataSetName(QStringLiteral("EVENTS"));
    EXPECT_EQ(item->DataSet(), nullptr);
    EXPECT_EQ(item->DataSetName(), QLatin1String("EVENTS"));
    EXPECT_EQ(FindDataSet(page, nullptr, QStringLiteral("EVENTS")), nullptr);
    item->SetDataSetName(QStringLiteral("Sedi"));
    EXPECT_EQ(item->DataSet(), offered);
    // The offer itself binds by name through the process list.
    TkvlDataSetItem *offer = report.EnabledDataSets()->Add(nullptr);
    offer->SetDataSetName(QStringLiteral("events"));
    EXPECT_EQ(offer->DataSet(), global.get());

    // An object outside any report always uses the process list.
    TkvlPage loose(nullptr);
    EXPECT_EQ(FindDataSet(&loose, offered, QStringLiteral("EVENTS")), offered);
}

TEST(ReportList, ItemsFollowTheirSourcesByName)
{
    TkvlReport report(nullptr);
    TkvlReportDataSets &sets = *report.DataSets();
    TkvlDataSet *events = source(&report, "EVENTS");
    TkvlDataSet *sedi = source(&report, "SEDI");

    TkvlDataSetItem *item = sets.Add(events);
    EXPECT_EQ(item->DataSetName(), QLatin1String("EVENTS"));
    events->SetUserName(QStringLiteral("Eventi"));
    EXPECT_EQ(item->DataSetName(), QLatin1String("Eventi"));  // the source's current name
    EXPECT_EQ(sets.Find(QStringLiteral("EVENTI")), item);
    EXPECT_EQ(sets.Find(events), item);

    item->SetDataSetName(QStringLiteral("sedi"));
    EXPECT_EQ(item->DataSet(), sedi);
    item->SetDataSetName(QStringLiteral("Missing"));  // keeps the current source
    EXPECT_EQ(item->DataSet(), sedi);
    item->SetDataSetName(QString());
    EXPECT_EQ(item->DataSet(), nullptr);
    EXPECT_TRUE(item->DataSetName().isEmpty());

    // Initialize hands each source the report; a destroyed source of the report leaves the
    // report's list.
    sets.Add(sedi);
    sets.Initialize();
    EXPECT_EQ(sedi->ReportRef(), &report);
    delete sedi;
    EXPECT_EQ(sets.Count(), 1);
    sets.Initialize();
    sets.Finalize();
    sets.Delete(QStringLiteral("nothing"));
    EXPECT_EQ(sets.Count(), 1);
    item->SetDataSet(events);
    sets.Delete(QStringLiteral("eventi"));
    EXPECT_EQ(sets.Count(), 0);
}

} // namespace
