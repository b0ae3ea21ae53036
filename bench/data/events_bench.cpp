// The events query with 100 000 rows: fetching them into the cache, a search filter, a sort.
// Prints rows per second; run by hand.
#include "app/dm/dm.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kEvents = 100000;

struct Fixture
{
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<Tdm> dm;

    Fixture()
    {
        path = dir.filePath(QStringLiteral("bench.fdb"));
        Tdm::CreateEventsDatabase(path);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), QStringLiteral("bench-fill"));
            db.setDatabaseName(path);
            db.setUserName(QStringLiteral("SYSDBA"));
            db.open();
            db.transaction();
            QSqlQuery q(db);
            q.prepare(QStringLiteral("INSERT INTO EVENTS (ID, TITLE, START_EVENT, END_EVENT, SEDE, COLOR) VALUES (?, ?, ?, ?, ?, ?)"));
            const QDateTime base(QDate(2020, 1, 1), QTime(9, 0));
            for (int i = 0; i < kEvents; ++i) {
                q.addBindValue(i + 1);
                q.addBindValue((i % 2 ? QStringLiteral("Evento %1") : QStringLiteral("RIUNIONE %1")).arg(i));
                q.addBindValue(base.addSecs(qint64(i) * 3600));
                q.addBindValue(base.addSecs(qint64(i) * 3600 + 1800));
                q.addBindValue(QStringLiteral("Sede %1").arg(i % 50));
                q.addBindValue(QStringLiteral("#FFFF35"));
                q.exec();
            }
            db.commit();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bench-fill"));
        dm = std::make_unique<Tdm>();
        TDatabaseConfig cfg;
        cfg.database = path;
        dm->PrepareDatabase(cfg);
        dm->Conn.Open();
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_OpenAndFetchEvents(benchmark::State &state)
{
    TQuery &q = fixture().dm->EVENTS;
    for (auto _ : state) {
        q.Open(dmsql::EventsAll);
        benchmark::DoNotOptimize(q.RecordCount());
    }
    state.counters["rows/s"] = benchmark::Counter(double(kEvents), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_OpenAndFetchEvents)->Unit(benchmark::kMillisecond);

void BM_SearchFilter(benchmark::State &state)
{
    TQuery &q = fixture().dm->EVENTS;
    q.Open(dmsql::EventsAll);
    for (auto _ : state) {
        q.SetFiltered(false);
        q.SetFilter(QStringLiteral("[TITLE]='RIUNIONE 1*' OR [TITLE]='riunione 1*'"));
        q.SetFiltered(true);
        benchmark::DoNotOptimize(q.RecordCount());
    }
    q.SetFiltered(false);
    state.counters["rows/s"] = benchmark::Counter(double(kEvents), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SearchFilter)->Unit(benchmark::kMillisecond);

void BM_SortByColumn(benchmark::State &state)
{
    TQuery &q = fixture().dm->EVENTS;
    q.Open(dmsql::EventsAll);
    bool title = false;
    for (auto _ : state) {
        title = !title;
        q.SetIndexFieldNames(title ? QStringLiteral("TITLE:D") : QStringLiteral("END_EVENT"));
        benchmark::DoNotOptimize(q.RecNo());
    }
    q.SetIndexFieldNames(QString());
    state.counters["rows/s"] = benchmark::Counter(double(kEvents), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SortByColumn)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    fixture().dm.reset();
    benchmark::Shutdown();
    return 0;
}
