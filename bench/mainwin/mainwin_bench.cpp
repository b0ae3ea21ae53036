// The main window over 100 000 events: connecting and showing them, and one keystroke in the
// search box (filter, count, repaint of the grid). Run by hand; the median is what to read.
#include "app/dm/dm.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/settings.h"
#include "app/widgets/dbgrid.h"
#include "platform/rtl/apppath.h"
#include "platform/ui/fakes.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kEvents = 100000;

// A program folder whose embedded database holds kEvents events.
struct Home
{
    QTemporaryDir dir;

    Home()
    {
        qputenv("LIRRACAL_HOME", QFile::encodeName(dir.path()));
        const QString path = dir.filePath(QStringLiteral("Data/LIRRACAL.FDB"));
        Tdm::CreateEventsDatabase(path);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), QStringLiteral("bench-fill"));
            db.setDatabaseName(path);
            db.setUserName(QStringLiteral("SYSDBA"));
            db.open();
            db.transaction();
            QSqlQuery q(db);
            q.prepare(QStringLiteral(
                "INSERT INTO EVENTS (ID, TITLE, START_EVENT, END_EVENT, SEDE, COLOR) VALUES (?, ?, ?, ?, ?, ?)"));
            const QDateTime base(QDate(2015, 1, 1), QTime(9, 0));
            for (int i = 0; i < kEvents; ++i) {
                q.addBindValue(i + 1);
                q.addBindValue((i % 2 ? QStringLiteral("Evento %1") : QStringLiteral("Riunione %1")).arg(i));
                q.addBindValue(base.addSecs(qint64(i) * 3600));
                q.addBindValue(base.addSecs(qint64(i) * 3600 + 1800));
                q.addBindValue(QStringLiteral("Sede %1").arg(i % 50));
                q.addBindValue(i % 7 ? QStringLiteral("#FFFF35") : QStringLiteral("#C6FFB3"));
                q.exec();
            }
            db.commit();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bench-fill"));
        Settings = new TSettings(rtl::AppPath() + QStringLiteral("LirraCalConf.ini"));
    }
};

Home &home()
{
    static Home h;
    return h;
}

// A new data module and main window, shown (which connects and fills the grid), painted.
void showWindow()
{
    dm = new Tdm;
    fMain = new TfMain;
    fMain->show();
    fMain->resize(1280, 800);
    QApplication::processEvents();
    fMain->DBGridEVENTS->viewport()->repaint();
}

void closeWindow()
{
    delete fMain;
    delete dm;
}

void BM_ConnectAndShow(benchmark::State &state)
{
    home();
    for (auto _ : state) {
        showWindow();
        state.PauseTiming();
        if (fMain->LabCount->text() != QString::number(kEvents))
            state.SkipWithError("the grid does not show every event");
        closeWindow();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ConnectAndShow)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_SearchKeystroke(benchmark::State &state)
{
    home();
    showWindow();
    QLineEdit *e = fMain->eCerca;
    // Each iteration is one key: the text alternates between two lengths, so every run filters
    // all rows again.
    const QString texts[] = {QStringLiteral("riunione 1"), QStringLiteral("riunione 12")};
    int i = 0;
    for (auto _ : state) {
        e->setText(texts[i++ % 2]);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
        QApplication::sendEvent(e, &release);
        fMain->DBGridEVENTS->viewport()->repaint();
        benchmark::DoNotOptimize(fMain->LabCount->text());
    }
    closeWindow();
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::FakeServices fakes; // no box may wait for a click
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete Settings;
    Settings = nullptr;
    return 0;
}
