// Database names: embedded file or server, and the server's address.
#include "platform/data/connection.h"
#include "platform/data/dberrors.h"
#include "platform/data/fbclient.h"
#include "platform/data/query.h"
#include "tests/dataset/tempdb.h"

#include <QElapsedTimer>
#include <QSqlQuery>

#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

struct NameCase
{
    const char *name;
    bool remote;
    const char *host;
    int port;
};

TEST(DatabaseName, EmbeddedFileOrServer)
{
    const NameCase cases[] = {
        {"/home/u/LirraCal/Data/LIRRACAL.FDB", false, "", 0},
        {"Data/LIRRACAL.FDB", false, "", 0},
        {"/data/odd:name.fdb", false, "", 0},
        {"db.example:/var/db/LIRRACAL.FDB", true, "db.example", 3050},
        {"db.example/3051:/var/db/LIRRACAL.FDB", true, "db.example", 3051},
        {"192.168.1.5/gds_db:/var/db/LIRRACAL.FDB", true, "192.168.1.5", 3050},
        {"inet://db.example:3052//var/db/LIRRACAL.FDB", true, "db.example", 3052},
        {"inet://db.example/var/db/LIRRACAL.FDB", true, "db.example", 3050},
    };
    for (const NameCase &c : cases) {
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(data::IsRemoteDatabase(name), c.remote) << c.name;
        QString host;
        quint16 port = 0;
        EXPECT_EQ(data::ServerAddress(name, &host, &port), c.remote) << c.name;
        if (c.remote) {
            EXPECT_EQ(host, QString::fromUtf8(c.host)) << c.name;
            EXPECT_EQ(port, c.port) << c.name;
        }
    }
}

TEST(DatabaseName, UnreachableServerFailsClearly)
{
    quint16 port;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    TConnection c;
    c.Database = QStringLiteral("127.0.0.1/%1:/nowhere/x.fdb").arg(port);
    c.Password = QStringLiteral("x");
    try {
        c.Open();
        ADD_FAILURE() << "opened";
    } catch (const EDBEngineError &e) {
        // In Italian, naming the server.
        EXPECT_TRUE(e.message().startsWith(
            QStringLiteral("Il server del database 127.0.0.1 (porta %1) non è raggiungibile (").arg(port)))
            << e.what();
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("LirraCal non è connesso al database."))) << e.what();
    }
    EXPECT_FALSE(c.Connected());
    EXPECT_THROW(c.ExecSQL(QStringLiteral("SELECT 1 FROM RDB$DATABASE")), EDatabaseError);
}

using SlowCall = TempDbTest;

// A statement the engine works on for minutes unless it is stopped.
const char *kEndlessBlock = "EXECUTE BLOCK AS DECLARE I BIGINT = 0; BEGIN WHILE (I < 100000000000) DO I = I + 1; END";

TEST_F(SlowCall, CancelRollsTheActionBackAndKeepsTheConnection)
{
    exec({"CREATE TABLE T (N INTEGER)"});
    conn.SlowCallMs = 200;
    QList<bool> notices;
    conn.OnWaiting = [&](bool waiting, const std::function<void()> &cancel) {
        notices << waiting;
        EXPECT_EQ(bool(cancel), waiting);
        if (cancel)
            cancel(); // as "Annulla" would
    };
    QElapsedTimer clock;
    clock.start();
    QString message;
    bool lost = true;
    try {
        conn.RunInTransaction([&] {
            conn.ExecSQL(QStringLiteral("INSERT INTO T VALUES (1)"));
            conn.ExecSQL(QString::fromUtf8(kEndlessBlock));
        });
        ADD_FAILURE() << "the endless statement ended";
    } catch (const EDBEngineError &e) {
        message = e.message();
        lost = e.connectionLost();
    }
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(notices, (QList<bool>{true, false}));
    EXPECT_EQ(message, QStringLiteral("Operazione annullata: le modifiche non sono state salvate."));
    EXPECT_FALSE(lost);
    EXPECT_EQ(conn.State(), TConnectionState::Open);
    EXPECT_FALSE(conn.InTransaction());

    // The insert went with the action, and the connection goes on working.
    int rows = -1;
    conn.Execute(QStringLiteral("SELECT COUNT(*) FROM T"), TParams(), [&](QSqlQuery &q) {
        if (q.next())
            rows = q.value(0).toInt();
    });
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(notices.size(), 2);
}

// The first row comes at once, the second only after the engine has counted for a long while:
// reading the rows waits on the server as much as running the statement does.
TEST_F(SlowCall, ReadingRowsShowsTheNoticeAndCancels)
{
    conn.SlowCallMs = 200;
    QList<bool> notices;
    conn.OnWaiting = [&](bool waiting, const std::function<void()> &cancel) {
        notices << waiting;
        if (cancel)
            cancel();
    };
    TQuery q;
    q.SetConnection(&conn);
    QElapsedTimer clock;
    clock.start();
    QString message;
    try {
        q.Open(QStringLiteral("EXECUTE BLOCK RETURNS (N INTEGER) AS DECLARE I BIGINT = 0; BEGIN N = 1; SUSPEND; "
                              "WHILE (I < 3000000000) DO I = I + 1; N = 2; SUSPEND; END"));
        ADD_FAILURE() << "the second row came";
    } catch (const EDBEngineError &e) {
        message = e.message();
    }
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(notices, (QList<bool>{true, false}));
    EXPECT_EQ(message, QStringLiteral("Operazione annullata: le modifiche non sono state salvate."));
    EXPECT_EQ(conn.State(), TConnectionState::Open);
    EXPECT_FALSE(q.Active());
}

} // namespace
