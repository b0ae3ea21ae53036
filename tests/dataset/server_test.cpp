// The data module against a real Firebird server that this test starts, kills and restarts.
#include "app/dm/dm.h"
#include "tests/dataset/firebirdserver.h"
#include "app/fmain.h"
#include "platform/data/dberrors.h"
#include "tests/appwindows.h"
#include "platform/ui/fakes.h"
#include "platform/ui/serverwait.h"
#include "platform/ui/services.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace testserver;

// A private server with a new events database, and message boxes that answer at once.
class ServerConnection : public ::testing::Test {
protected:
    void SetUp() override
    {
        password = sysdbaPassword();
        if (password.isEmpty())
            GTEST_SKIP() << "cannot read the SYSDBA password of the server package from " << kPasswordFile.toStdString();
        ASSERT_TRUE(dir.isValid());
        lockDir = dir.filePath(QStringLiteral("lock"));
        QDir().mkpath(lockDir);
        root = dir.filePath(QStringLiteral("root"));
        QString why = makeServerRoot(root);
        if (!why.isEmpty())
            GTEST_SKIP() << "Firebird server cannot run here: " << why.toStdString();
        why = server.Start(root, lockDir);
        if (!why.isEmpty())
            GTEST_SKIP() << "Firebird server cannot run here: " << why.toStdString();

        cfg.embedded = false;
        cfg.database =
            QStringLiteral("127.0.0.1/%1:%2").arg(server.port).arg(dir.filePath(QStringLiteral("remote.fdb")));
        cfg.password = password;
        TConnection c;
        c.Database = cfg.database;
        c.Password = password;
        c.CreateDatabase();
        c.Open();
        Tdm::CreateSchema(c);
        previousBoxes = ui::install(&boxes);
    }
    void TearDown() override
    {
        if (previousBoxes)
            ui::install(previousBoxes);
    }

    QString password;
    QTemporaryDir dir;
    QString lockDir, root;  // the server's lock folder and root, for starting it again
    ServerProcess server;
    TDatabaseConfig cfg;
    ui::FakeMessageBoxes boxes;
    ui::IMessageBoxes *previousBoxes = nullptr;
};

TEST_F(ServerConnection, LossIsReportedOnceAndNothingIsStoredTwice)
{

    Tdm dm;
    QStringList status;
    dm.OnStatusText = [&](const QString &s) { status << s; };
    dm.PrepareDatabase(cfg);
    dm.Conn.ReconnectAttempts = 2;
    dm.Conn.ReconnectDelayMs = 20;
    dm.Conn.Open();
    ASSERT_TRUE(dm.Conn.IsRemote());
    const int first = dm.InsertNewEvent(46000);
    const int second = dm.InsertNewEvent(46001);
    dm.EVENTS.Open(dmsql::EventsAll);
    ASSERT_EQ(dm.EVENTS.RecordCount(), 2);

    // The server dies in the middle of an action.
    bool lostSeen = false;
    try {
        dm.Conn.RunInTransaction([&] {
            dm.SetEventTitle(first, QStringLiteral("mai salvato"));
            server.Kill();
            dm.InsertNewEvent(46002);
        });
    } catch (const EDBEngineError &e) {
        lostSeen = e.connectionLost();
    }
    EXPECT_TRUE(lostSeen);
    EXPECT_EQ(dm.Conn.State(), TConnectionState::Lost);
    EXPECT_FALSE(dm.Conn.InTransaction());
    EXPECT_EQ(status, QStringList{QStringLiteral("Connessione persa")});
    EXPECT_TRUE(boxes.shown.isEmpty());

    // Still down: the retries fail without a second notice, and the event loop keeps running
    // while they wait.
    bool timerFired = false;
    QTimer::singleShot(0, [&] { timerFired = true; });
    EXPECT_THROW(dm.InsertNewEvent(46003), EDBEngineError);
    EXPECT_TRUE(timerFired);
    EXPECT_EQ(status.size(), 1);
    EXPECT_TRUE(boxes.shown.isEmpty());
    // The cached rows stay readable meanwhile.
    EXPECT_EQ(dm.EVENTS.RecordCount(), 2);

    // Back up: the next action reconnects, says so once, and succeeds.
    const QString again = server.Start(root, lockDir);
    ASSERT_TRUE(again.isEmpty()) << again.toStdString();
    const int third = dm.InsertNewEvent(46004);
    EXPECT_EQ(dm.Conn.State(), TConnectionState::Open);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("LirraCal: verifica connessione"));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("La connessione è stata ripristinata."));
    EXPECT_EQ(status, QStringList{QStringLiteral("Connessione persa")});

    dm.EVENTS.Refresh();
    std::vector<int> ids;
    for (dm.EVENTS.First(); !dm.EVENTS.Eof(); dm.EVENTS.Next()) {
        ids.push_back(dm.EVENTS.FieldByName(QStringLiteral("ID"))->AsInteger());
        EXPECT_NE(dm.EVENTS.FieldByName(QStringLiteral("TITLE"))->AsString(), QStringLiteral("mai salvato"));
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<int>{first, second, third}));

    // Lost again with nothing else to do: the layer reconnects by itself once the server is
    // back, and says so once.
    server.Kill();
    EXPECT_THROW(dm.SetEventColor(first, QStringLiteral("#00FF00")), EDBEngineError);
    EXPECT_EQ(status.size(), 2);
    const QString third_start = server.Start(root, lockDir);
    ASSERT_TRUE(third_start.isEmpty()) << third_start.toStdString();
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (boxes.shown.size() == 2)
            loop.quit();
    });
    poll.start(5);
    loop.exec();
    EXPECT_EQ(dm.Conn.State(), TConnectionState::Open);
    EXPECT_EQ(boxes.shown.size(), 2);
    dm.SetEventColor(first, QStringLiteral("#00FF00"));
    EXPECT_EQ(boxes.shown.size(), 2);

    dm.EVENTS.Close();
    dm.Conn.Close();
    server.Stop();
}

// The waiting notice on screen, if any.
ui::TServerWaitNotice *visibleNotice()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *n = dynamic_cast<ui::TServerWaitNotice *>(w); n && n->isVisible())
            return n;
    return nullptr;
}

// Watches for the waiting notice while a call waits, and clicks its "Annulla" when asked to.
// Its ticks show that the waiting thread keeps running its events.
class NoticeWatch
{
public:
    NoticeWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
        m_timer.start(50);
    }
    bool clickCancel = false;
    int seen = 0; // appearances of the notice
    int ticks = 0;

private:
    void Tick()
    {
        ++ticks;
        ui::TServerWaitNotice *n = visibleNotice();
        if (n != m_last && n)
            ++seen;
        m_last = n;
        if (!n || !clickCancel)
            return;
        auto *button = n->findChild<QPushButton *>(QStringLiteral("cancelButton"));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QStringLiteral("Annulla"));
        if (button->isEnabled())
            QTest::mouseClick(button, Qt::LeftButton);
    }
    QTimer m_timer;
    ui::TServerWaitNotice *m_last = nullptr;
};

int countEvents(const QString &database, const QString &password)
{
    TConnection c;
    c.Database = database;
    c.Password = password;
    c.Open();
    int n = -1;
    c.Execute(QStringLiteral("SELECT COUNT(*) FROM EVENTS"), TParams(), [&](QSqlQuery &q) {
        if (q.next())
            n = q.value(0).toInt();
    });
    c.Close();
    return n;
}

TEST_F(ServerConnection, PausedServerShowsNoticeCancelsAndCountsAsLost)
{

    Tdm dm;
    QStringList status;
    dm.OnStatusText = [&](const QString &s) { status << s; };
    dm.PrepareDatabase(cfg);
    dm.Conn.ReconnectDelayMs = 600000; // no reconnecting by itself while the server sleeps
    dm.Conn.Open();

    // Watches for the notice while a call waits; clicks "Annulla" when asked to.
    bool clickCancel = false;
    bool noticeSeen = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        ui::TServerWaitNotice *n = visibleNotice();
        if (!n)
            return;
        noticeSeen = true;
        if (clickCancel) {
            auto *button = n->findChild<QPushButton *>(QStringLiteral("cancelButton"));
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), QStringLiteral("Annulla"));
            QTest::mouseClick(button, Qt::LeftButton);
        }
    });
    watch.start(50);

    // A pause shorter than the notice's delay: the insert goes through and nothing shows.
    server.Pause();
    std::thread wake([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        server.Resume();
    });
    dm.InsertNewEvent(46000);
    wake.join();
    EXPECT_FALSE(noticeSeen);
    EXPECT_EQ(countEvents(cfg.database, password), 1);

    // A long pause: the notice shows, "Annulla" ends the call within seconds, nothing is saved.
    server.Pause();
    clickCancel = true;
    QElapsedTimer clock;
    clock.start();
    QString message;
    bool lost = false;
    try {
        dm.InsertNewEvent(46001);
    } catch (const EDBEngineError &e) {
        message = e.message();
        lost = e.connectionLost();
    }
    const qint64 cancelMs = clock.elapsed();
    EXPECT_TRUE(noticeSeen);
    EXPECT_EQ(visibleNotice(), nullptr);
    EXPECT_EQ(message, QStringLiteral("Operazione annullata: le modifiche non sono state salvate."));
    EXPECT_GE(cancelMs, 1500);
    EXPECT_LT(cancelMs, 10000);
    // The sleeping server could not take the cancel: the connection is given up.
    EXPECT_TRUE(lost);
    EXPECT_EQ(dm.Conn.State(), TConnectionState::Lost);
    EXPECT_EQ(status, QStringList{QStringLiteral("Connessione persa")});
    server.Resume();
    EXPECT_EQ(countEvents(cfg.database, password), 1);

    // Back again, then silent with nobody clicking: after the time allowed, the connection is lost.
    clickCancel = false;
    noticeSeen = false;
    dm.InsertNewEvent(46002);
    EXPECT_EQ(dm.Conn.State(), TConnectionState::Open);
    ASSERT_EQ(countEvents(cfg.database, password), 2);
    dm.Conn.ServerSilenceMs = 4000;
    server.Pause();
    clock.restart();
    lost = false;
    try {
        dm.InsertNewEvent(46003);
    } catch (const EDBEngineError &e) {
        lost = e.connectionLost();
    }
    const qint64 silentMs = clock.elapsed();
    EXPECT_TRUE(lost);
    EXPECT_TRUE(noticeSeen);
    EXPECT_EQ(visibleNotice(), nullptr);
    EXPECT_GE(silentMs, 3500);
    EXPECT_LT(silentMs, 12000);
    EXPECT_EQ(status.size(), 2);
    server.Resume();
    EXPECT_EQ(countEvents(cfg.database, password), 2);

    watch.stop();
    dm.Conn.Close();
    server.Stop();
}

// Connecting to a server that sleeps: at start-up, with "Ricarica" and with "Apri", the window
// keeps running, the notice offers "Annulla", and the program says it is not connected.
TEST_F(ServerConnection, ConnectingToAPausedServerShowsTheNoticeAndEndsNotConnected)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    {
        QFile ini(home.filePath(QStringLiteral("LirraCalConf.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Database]\r\nServer=127.0.0.1/%1\r\nPath=%2\r\nPassword=%3\r\n")
                      .arg(server.port)
                      .arg(dir.filePath(QStringLiteral("remote.fdb")), password)
                      .toUtf8());
    }
    ui::FakeServices fakes; // the probe finds the port open, as it does for a paused server
    AppWindows app;
    app.Start(home.path(), false);
    const int connectionsBefore = QSqlDatabase::connectionNames().size();
    const QString notConnected = QStringLiteral("Connessione annullata: il server del database 127.0.0.1 (porta %1) "
                                                "non ha risposto. LirraCal non è connesso al database.")
                                     .arg(server.port);
    NoticeWatch watch;
    watch.clickCancel = true;
    // Should the window hang in the attach, the server wakes up after a while and the times fail.
    std::atomic<bool> finished{false};
    std::thread wake([&] {
        for (int i = 0; i < 300 && !finished; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        server.Resume();
    });
    const auto measure = [&](const std::function<void()> &action) {
        watch.seen = 0;
        watch.ticks = 0;
        fakes.messages.shown.clear();
        server.Pause();
        QElapsedTimer clock;
        clock.start();
        action();
        const qint64 ms = clock.elapsed();
        server.Resume();
        EXPECT_EQ(watch.seen, 1);
        EXPECT_EQ(visibleNotice(), nullptr);
        EXPECT_GE(ms, 1500);
        EXPECT_LT(ms, 10000);
        EXPECT_GE(watch.ticks, int(ms / 50) / 2) << "the window's thread stopped for " << ms << " ms";
        EXPECT_FALSE(dm->Conn.Connected());
        EXPECT_EQ(fMain->StatusText(0), TfMain::StatusClosed);
        return ms;
    };

    // Start-up.
    measure([] { fMain->show(); });
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("Classe: EDBEngineError\r\nMessaggio: ") + notConnected);

    // The server answers again: "Apri" connects.
    QTest::mouseClick(fMain->bOpenRemoto, Qt::LeftButton);
    ASSERT_TRUE(dm->Conn.Connected());
    EXPECT_EQ(fMain->StatusText(0), TfMain::StatusOpen);

    // "Ricarica" while it sleeps again.
    measure([] { QTest::mouseClick(fMain->bApplica, Qt::LeftButton); });
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].text, notConnected);

    // Nobody answers the notice: the attempt ends by itself once the server has been silent long
    // enough.
    watch.clickCancel = false;
    dm->Conn.ServerSilenceMs = 4000;
    const qint64 silentMs = measure([] { QTest::mouseClick(fMain->bOpenRemoto, Qt::LeftButton); });
    EXPECT_GE(silentMs, 3500);
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].text,
              QStringLiteral("Classe: EDBEngineError\r\nMessaggio: Il server del database 127.0.0.1 (porta %1) non "
                             "risponde. LirraCal non è connesso al database.")
                  .arg(server.port));

    // The attempts left behind end now that the server answers, and let their connections go.
    QDeadlineTimer deadline(20000);
    while (QSqlDatabase::connectionNames().size() > connectionsBefore && !deadline.hasExpired())
        QTest::qWait(50);
    EXPECT_EQ(QSqlDatabase::connectionNames().size(), connectionsBefore);
    QTest::mouseClick(fMain->bOpenRemoto, Qt::LeftButton);
    EXPECT_TRUE(dm->Conn.Connected());
    EXPECT_EQ(fMain->StatusText(0), TfMain::StatusOpen);

    finished = true;
    wake.join();
    app.Stop();
    server.Stop();
}

// The program is ending while a call waits on a silent server: the wait ends a moment after
// GiveUpWaiting, whatever the call, and closing then waits no more; nothing is reconnected.
TEST_F(ServerConnection, GivingUpEndsTheWaitOnASilentServerAtOnce)
{
    struct Case
    {
        const char *what;
        bool openFirst;
        std::function<void(Tdm &)> call;
    };
    const Case cases[] = {
        {"an insert", true, [](Tdm &dm) { dm.InsertNewEvent(46100); }},
        {"connecting", false, [](Tdm &dm) { dm.Conn.Open(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Tdm dm;
        dm.PrepareDatabase(cfg);
        dm.Conn.ReconnectDelayMs = 10;
        int recoverAsked = 0;
        dm.Conn.OnRecover = [&](TConnection &) {
            ++recoverAsked;
            return TRecoverAction::Retry;
        };
        if (c.openFirst)
            dm.Conn.Open();
        server.Pause();
        // Past the notice's delay, so the wait runs in the notice's loop.
        QTimer::singleShot(2500, [&] { dm.Conn.GiveUpWaiting(); });
        QElapsedTimer clock;
        clock.start();
        EXPECT_THROW(c.call(dm), EDatabaseError);
        const qint64 waitedMs = clock.elapsed();
        EXPECT_GE(waitedMs, 2400);
        EXPECT_LT(waitedMs, 3500) << "the wait went on after giving up";
        EXPECT_EQ(visibleNotice(), nullptr);
        clock.restart();
        dm.EVENTS.Close();
        EXPECT_NO_THROW(dm.Conn.Close());
        EXPECT_LT(clock.elapsed(), 1000) << "closing waited on the silent server";
        QTest::qWait(100); // a reconnect that would run by itself
        EXPECT_EQ(recoverAsked, 0);
        EXPECT_FALSE(dm.Conn.Connected());
        server.Resume();
    }
    // Nothing half-done was kept.
    EXPECT_EQ(countEvents(cfg.database, password), 0);
    server.Stop();
}

} // namespace
