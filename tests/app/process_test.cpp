// The real program started as a process: ending on signals, one instance per folder.
#include "desktop.h"
#include "app/dm/dm.h"
#include "tests/dataset/firebirdserver.h"
#include "platform/data/connection.h"
#include "platform/data/query.h"
#include "platform/rtl/inifile.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

class ProgramProcess : public ::testing::Test
{
protected:
    QTemporaryDir home;
    QProcess first;

    void TearDown() override
    {
        for (QProcess *p : {&first, &second})
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
    }

    QString dbPath() const { return home.filePath(QStringLiteral("Data/LIRRACAL.FDB")); }

    // Offscreen, or on the X display given.
    void start(QProcess &p, const QString &display = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LIRRACAL_HOME"), home.path());
        if (display.isEmpty()) {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        } else {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            env.insert(QStringLiteral("DISPLAY"), display);
        }
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QStringLiteral(LIRRACAL_BINARY), {});
        ASSERT_TRUE(p.waitForStarted(10000));
    }

    // Started, with its database created and connected (the database file appears when the
    // main window first connects; a moment more lets the connection complete).
    // Waits (bounded) until the process has a visible top-level window on the display.
    static void waitForVisibleWindow(const QProcess &p, const QString &display)
    {
        QProcess search;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        search.setProcessEnvironment(env);
        search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--sync"),
                                                 QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                                 QString::number(p.processId())});
        if (!search.waitForStarted(5000))
            return; // no xdotool: the fixed wait below has to do
        if (!search.waitForFinished(30000))
            search.kill();
    }

    void startConnected(QProcess &p, const QString &display = {})
    {
        start(p, display);
        const QDeadlineTimer deadline(60000);
        while (!QFile::exists(dbPath()) && !deadline.hasExpired() && p.state() == QProcess::Running)
            QThread::msleep(100);
        ASSERT_TRUE(QFile::exists(dbPath())) << "the program did not create its database";
        // On a display the window must be shown and framed by the window manager; from the
        // second run on the database exists from the start, so wait for the window itself.
        if (!display.isEmpty())
            waitForVisibleWindow(p, display);
        QThread::msleep(display.isEmpty() ? 2000 : 3000);
        ASSERT_EQ(p.state(), QProcess::Running);
    }

    // The database opens and answers after the program ended.
    void expectDatabaseIntact()
    {
        TConnection conn;
        conn.Database = dbPath();
        ASSERT_NO_THROW(conn.Open());
        TQuery q;
        q.SetConnection(&conn);
        ASSERT_NO_THROW(q.Open(QStringLiteral("SELECT COUNT(*) AS N FROM EVENTS")));
        EXPECT_EQ(q.RecordCount(), 1);
        q.Close();
        conn.Close();
    }

    QProcess second;
};

class EndsOnSignal : public ProgramProcess, public ::testing::WithParamInterface<int> {};

TEST_P(EndsOnSignal, ClosesAsExitDoesWithinSeconds)
{
    ASSERT_TRUE(home.isValid());
    startConnected(first);
    ASSERT_EQ(::kill(static_cast<pid_t>(first.processId()), GetParam()), 0);
    ASSERT_TRUE(first.waitForFinished(5000)) << "still running 5 s after the signal";
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    // The window's bounds were saved on the way out.
    TIniFile ini(home.filePath(QStringLiteral("LirraCalConf.ini")));
    EXPECT_GT(ini.ReadInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Width"), 0), 0);
    expectDatabaseIntact();
}

INSTANTIATE_TEST_SUITE_P(Signals, EndsOnSignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST_F(ProgramProcess, SecondStartOnTheSameFolderEndsAndLeavesTheFirst)
{
    ASSERT_TRUE(home.isValid());
    startConnected(first);
    start(second);
    ASSERT_TRUE(second.waitForFinished(10000)) << "the second instance kept running";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << "the first instance did not answer";
    EXPECT_EQ(first.state(), QProcess::Running);
    // The first instance still owns its database and ends cleanly.
    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(5000));
    expectDatabaseIntact();
}

TEST_F(ProgramProcess, StartsAgainAfterTheFirstEnded)
{
    ASSERT_TRUE(home.isValid());
    startConnected(first);
    first.kill(); // no chance to tidy up: the lock file stays behind
    ASSERT_TRUE(first.waitForFinished(5000));
    startConnected(second);
    EXPECT_EQ(second.state(), QProcess::Running);
}

TEST_F(ProgramProcess, MainWindowReopensWhereItWasClosed)
{
    ASSERT_TRUE(home.isValid());
    TestDesktop desktop;
    START_TEST_DESKTOP(desktop);
    const QString ini = home.filePath(QStringLiteral("LirraCalConf.ini"));
    {
        TIniFile seed(ini);
        seed.WriteInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Top"), 200);
        seed.WriteInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Left"), 150);
        seed.WriteInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Width"), 1100);
        seed.WriteInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Height"), 600);
    }
    for (int run = 1; run <= 3; ++run) {
        QProcess p;
        startConnected(p, desktop.Display());
        ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
        ASSERT_TRUE(p.waitForFinished(30000)) << "run " << run;
        TIniFile saved(ini);
        EXPECT_EQ(saved.ReadInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Top"), -1), 200) << "run " << run;
        EXPECT_EQ(saved.ReadInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Left"), -1), 150) << "run " << run;
        EXPECT_EQ(saved.ReadInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Width"), -1), 1100) << "run " << run;
        EXPECT_EQ(saved.ReadInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Height"), -1), 600) << "run " << run;
    }
}

// On a server that stops answering (SIGSTOP), a termination signal still ends the program at
// once and as "Esci" does: while it connects at start-up (the waiting notice showing), and
// connected (closing would wait on the server).
TEST_F(ProgramProcess, EndsOnSignalAtOnceWhileTheServerIsSilent)
{
    ASSERT_TRUE(home.isValid());
    const QString password = testserver::sysdbaPassword();
    if (password.isEmpty())
        GTEST_SKIP() << "cannot read the SYSDBA password of the server package";
    QTemporaryDir serverDir;
    ASSERT_TRUE(serverDir.isValid());
    const QString root = serverDir.filePath(QStringLiteral("root"));
    const QString lockDir = serverDir.filePath(QStringLiteral("lock"));
    QDir().mkpath(lockDir);
    testserver::ServerProcess server;
    QString why = testserver::makeServerRoot(root);
    if (why.isEmpty())
        why = server.Start(root, lockDir);
    if (!why.isEmpty())
        GTEST_SKIP() << "Firebird server cannot run here: " << why.toStdString();
    const QString path = serverDir.filePath(QStringLiteral("remote.fdb"));
    const QString database = QStringLiteral("127.0.0.1/%1:%2").arg(server.port).arg(path);
    const auto connect = [&](TConnection &c) {
        c.Database = database;
        c.Password = password;
        c.Open();
    };
    {
        TConnection c;
        c.Database = database;
        c.Password = password;
        c.CreateDatabase();
        c.Open();
        Tdm::CreateSchema(c);
        c.Close();
    }
    {
        QFile ini(home.filePath(QStringLiteral("LirraCalConf.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Database]\r\nServer=127.0.0.1/%1\r\nPath=%2\r\nPassword=%3\r\n")
                      .arg(server.port)
                      .arg(path, password)
                      .toUtf8());
    }
    // Whether the program's process is attached to the server.
    const auto attached = [&](qint64 pid) {
        TConnection c;
        connect(c);
        int n = 0;
        c.Execute(QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$REMOTE_PID = %1").arg(pid), TParams(),
                  [&](QSqlQuery &q) {
                      if (q.next())
                          n = q.value(0).toInt();
                  });
        c.Close();
        return n > 0;
    };

    struct Case
    {
        const char *when;
        bool connectedFirst;
    };
    for (const Case c : {Case{"connecting at start-up", false}, Case{"connected", true}}) {
        SCOPED_TRACE(c.when);
        QProcess p;
        if (c.connectedFirst) {
            start(p);
            const QDeadlineTimer deadline(60000);
            while (!attached(p.processId()) && !deadline.hasExpired() && p.state() == QProcess::Running)
                QThread::msleep(100);
            ASSERT_TRUE(attached(p.processId())) << "the program did not connect";
            QThread::msleep(1500); // its lists open
            server.Pause();
        } else {
            server.Pause();
            start(p);
            QThread::msleep(3500); // past the notice's delay
        }
        ASSERT_EQ(p.state(), QProcess::Running);
        QElapsedTimer clock;
        clock.start();
        ASSERT_EQ(::kill(static_cast<pid_t>(p.processId()), SIGTERM), 0);
        const bool ended = p.waitForFinished(10000);
        const qint64 endedMs = clock.elapsed();
        server.Resume();
        ASSERT_TRUE(ended) << "still running 10 s after the signal";
        EXPECT_LT(endedMs, 1500) << "the program waited on the silent server";
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
        TIniFile ini(home.filePath(QStringLiteral("LirraCalConf.ini")));
        EXPECT_GT(ini.ReadInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Width"), 0), 0);
        // The server answers again and the database is whole.
        TConnection after;
        ASSERT_NO_THROW(connect(after));
        TQuery q;
        q.SetConnection(&after);
        ASSERT_NO_THROW(q.Open(QStringLiteral("SELECT COUNT(*) AS N FROM EVENTS")));
        EXPECT_EQ(q.RecordCount(), 1);
        q.Close();
        after.Close();
    }
}

} // namespace
