// The data module's record sources on an embedded events database: templates read the
// queries as the windows left them.
#include "platform/rtl/reflect/component.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldbdataset.h"
#include "tests/dataset/dbfixture.h"

#include <algorithm>

namespace {

struct Event {
    int id;
    QString title;
    double start;
    QString sede;
    QString color;
};

class DmSources : public EventsDbTest {
protected:
    void SetUp() override
    {
        EventsDbTest::SetUp();
        const double day = dayOf(2026, 9, 10);
        const struct {
            const char *title, *sede, *color;
            double offset;
            bool archived;
        } rows[] = {
            {"Riunione", "Roma", "#FF0000", 0, false},   {"Assemblea", "Roma", "#00FF00", 1, false},
            {"Cena", "Milano", "#0000FF", 2, false},     {"Zeta", "Roma", "#FFFFFF", 3, false},
            {"Bilancio", "Roma", "#000000", 4, true},    {"Mostra", "Roma", "#123456", 5, false},
        };
        for (const auto &r : rows) {
            const QString title = QString::fromLatin1(r.title), sede = QString::fromLatin1(r.sede);
            const QString color = QString::fromLatin1(r.color);
            const int id = dm.InsertEvent(title, day + r.offset, day + r.offset + 0.1, sede, color);
            if (r.archived)
                dm.SetArchived({id}, true);
            else
                events.push_back({id, title, day + r.offset, sede, color});
        }
        // As the main window leaves it: not archived, newest first, then searched and sorted.
        dm.EVENTS.Open(dmsql::EventsNotArchived);
        dm.EVENTS.SetFilter(QStringLiteral("SEDE = 'Roma'"));
        dm.EVENTS.SetFiltered(true);
        dm.EVENTS.SetIndexFieldNames(QStringLiteral("TITLE"));
        std::erase_if(events, [](const Event &e) { return e.sede != QLatin1String("Roma"); });
        std::sort(events.begin(), events.end(), [](const Event &a, const Event &b) { return a.title < b.title; });
    }

    // Every record of a run, each as "ID|TITLE|START|END|SEDE|COLOR" read under the aliases.
    QStringList run(TkvlDataSet *ds)
    {
        report.DataSets()->Clear();
        report.DataSets()->Add(ds);
        report.DataSets()->Initialize();
        QStringList rows;
        for (ds->First(); !ds->Eof(); ds->Next()) {
            QStringList values;
            for (const char *f : {"ID", "TITLE", "START_EVENT", "END_EVENT", "SEDE", "COLOR"})
                values << ds->GetValue(QString::fromLatin1(f)).toString();
            rows << values.join(QLatin1Char('|'));
        }
        report.DataSets()->Finalize();
        return rows;
    }
    QString row(const Event &e)
    {
        return QStringList{QString::number(e.id), e.title, Variant::fromDate(e.start).toString(),
                           Variant::fromDate(e.start + 0.1).toString(), e.sede, e.color}
            .join(QLatin1Char('|'));
    }
    int hostId() { return dm.EVENTS.FieldByName(QStringLiteral("ID"))->AsInteger(); }

    std::vector<Event> events;  // what the query shows, in its order
    TkvlReport report{nullptr};
};

TEST_F(DmSources, EventsYieldTheQueryRowsInItsFilterAndSort)
{
    TkvlDataSet *ds = FindDataSet(&report, nullptr, QStringLiteral("events"));
    ASSERT_EQ(ds, dm.fEVENTS);
    EXPECT_EQ(rtl::FindGlobalComponent(u"dm.fEVENTS"), dm.fEVENTS);

    QStringList expected;
    for (const Event &e : events)
        expected << row(e);
    ASSERT_EQ(expected.size(), 4);
    EXPECT_EQ(run(ds), expected);
    EXPECT_EQ(report.Errors().Count(), 0);
    EXPECT_TRUE(dm.EVENTS.Active());  // the data module's query stays open

    // ARC is not among the events' fields.
    TStringList fields;
    ds->GetFieldList(fields);
    EXPECT_EQ(fields.CommaText(), QLatin1String("ID,TITLE,START_EVENT,END_EVENT,SEDE,COLOR"));
    report.DataSets()->Initialize();
    ds->First();
    EXPECT_TRUE(ds->GetValue(QStringLiteral("ARC")).isNull());
    EXPECT_EQ(report.Errors().Count(), 1);
    report.DataSets()->Finalize();
}

TEST_F(DmSources, RangesAtTheCurrentEventPutTheHostBack)
{
    TkvlDataSet *ds = dm.fEVENTS;
    const Event &current = events[1];
    ds->RangeBegin = rbCurrent;
    ds->RangeEnd = reCurrent;
    ASSERT_TRUE(dm.EVENTS.Locate(QStringLiteral("ID"), Variant(current.id)));
    EXPECT_EQ(run(ds), QStringList{row(current)});
    EXPECT_EQ(hostId(), current.id);

    // From the current event to the last, and back to the current one afterwards.
    ds->RangeEnd = reLast;
    QStringList expected;
    for (size_t i = 1; i < events.size(); ++i)
        expected << row(events[i]);
    EXPECT_EQ(run(ds), expected);
    EXPECT_EQ(hostId(), current.id);
    ds->RangeBegin = rbFirst;
}

TEST_F(DmSources, SitesAndTitlesAreReadable)
{
    TQuery q(&dm.Conn);
    for (const char *t : {"Riunione", "Assemblea"}) {
        q.SetSQL(dmsql::InsertTitolo);
        q.ParamByName(QStringLiteral("TITOLO")).SetAsString(QString::fromLatin1(t));
        q.ExecSQL();
    }
    q.SetSQL(QStringLiteral("INSERT INTO SEDI (SEDE, SEDECOLOR) VALUES (:SEDE, :C)"));
    q.ParamByName(QStringLiteral("SEDE")).SetAsString(QStringLiteral("Roma"));
    q.ParamByName(QStringLiteral("C")).SetAsString(QStringLiteral("#AABBCC"));
    q.ExecSQL();
    dm.TITOLI.Open(dmsql::TitoliOrdered);
    dm.SEDI.Open(dmsql::SediOrdered);

    TkvlDataSet *titles = FindDataSet(&report, nullptr, QStringLiteral("TITOLI"));
    ASSERT_EQ(titles, dm.fTITOLI);
    report.DataSets()->Add(titles);
    report.DataSets()->Add(FindDataSet(&report, nullptr, QStringLiteral("SEDI")));
    report.DataSets()->Initialize();
    QStringList got;
    for (titles->First(); !titles->Eof(); titles->Next())
        got << titles->GetValue(QStringLiteral("TITOLO")).toString();
    EXPECT_EQ(got, (QStringList{QStringLiteral("Assemblea"), QStringLiteral("Riunione")}));
    dm.fSEDI->First();
    EXPECT_EQ(dm.fSEDI->GetValue(QStringLiteral("SEDECOLOR")).toString(), QLatin1String("#AABBCC"));
    EXPECT_EQ(report.Errors().Count(), 0);
    report.DataSets()->Finalize();
}

} // namespace
