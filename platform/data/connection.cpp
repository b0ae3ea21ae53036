#include "platform/data/connection.h"

#include "platform/data/dberrors.h"
#include "platform/data/fbclient.h"
#include "platform/data/sqlparams.h"
#include "platform/data/valueconv.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpSocket>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <atomic>

namespace {

const QString kDriver = QStringLiteral("QIBASE");

QString errorText(const QSqlError &err)
{
    QString t = err.databaseText().trimmed();
    return t.isEmpty() ? err.text().trimmed() : t;
}

// Calls a user handler; a handler that throws must not break the layer's own bookkeeping.
template<class F>
void notify(const F &fn, TConnection &c)
{
    if (!fn)
        return;
    try {
        fn(c);
    } catch (...) {
    }
}

// Whether a statement is one whose count of changed rows means something.
bool changesRows(const QString &sql)
{
    const QString t = sql.trimmed();
    for (const char *kw : {"INSERT", "UPDATE", "DELETE", "MERGE"}) {
        const QLatin1String k(kw);
        if (t.startsWith(k, Qt::CaseInsensitive) && (t.size() == k.size() || !t.at(k.size()).isLetterOrNumber()))
            return true;
    }
    return false;
}

} // namespace

class TConnection::Busy
{
public:
    explicit Busy(TConnection &c) : m_c(c)
    {
        if (m_c.OnBusy)
            m_c.OnBusy(true);
    }
    ~Busy()
    {
        if (m_c.OnBusy)
            m_c.OnBusy(false);
    }

private:
    TConnection &m_c;
};

TConnection::TConnection()
{
    static std::atomic<int> counter{0};
    FConnName = QStringLiteral("lirra-conn-%1").arg(++counter);
    FTimerContext = std::make_unique<QObject>();
}

TConnection::~TConnection()
{
    if (FState != TConnectionState::Closed) {
        try {
            Close();
        } catch (...) {
        }
    }
    if (QSqlDatabase::contains(FConnName))
        QSqlDatabase::removeDatabase(FConnName);
}

QSqlDatabase TConnection::db() const
{
    return QSqlDatabase::database(FConnName, false);
}

bool TConnection::IsRemote() const
{
    return data::IsRemoteDatabase(Database);
}

void TConnection::WaitForServer()
{
    QString host;
    quint16 port = 0;
    if (!data::ServerAddress(Database, &host, &port) || !QCoreApplication::instance())
        return;
    // The client library would block for its own, much longer, time-out on a host that does
    // not answer; a socket of ours tells first, with the event loop running.
    QTcpSocket socket;
    QEventLoop loop;
    bool connected = false;
    QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] {
        connected = true;
        loop.quit();
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, [&] { loop.quit(); });
    QTimer::singleShot(qMax(1, ConnectTimeoutMs), &loop, &QEventLoop::quit);
    socket.connectToHost(host, port);
    if (socket.state() != QAbstractSocket::ConnectedState && socket.state() != QAbstractSocket::UnconnectedState)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    connected = connected || socket.state() == QAbstractSocket::ConnectedState;
    if (!connected) {
        const QString reason = socket.error() == QAbstractSocket::UnknownSocketError
                                   ? QStringLiteral("no answer within %1 ms").arg(ConnectTimeoutMs)
                                   : socket.errorString();
        socket.abort();
        throw EDBEngineError(QStringLiteral("Unable to reach the database server %1:%2 (%3)").arg(host).arg(port).arg(reason),
                             QStringLiteral("-902"), {}, false);
    }
    socket.abort();
}

void TConnection::Attach()
{
    const Busy busy(*this);
    data::PrepareClientEnvironment();
    WaitForServer();
    // A fresh driver each time: after a failed open the driver keeps refusing transactions.
    if (QSqlDatabase::contains(FConnName)) {
        db().close();
        QSqlDatabase::removeDatabase(FConnName);
    }
    QSqlDatabase::addDatabase(kDriver, FConnName);
    QSqlDatabase d = db();
    d.setDatabaseName(Database.trimmed());
    d.setUserName(UserName);
    d.setPassword(Password);
    d.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
    if (!d.open()) {
        const QSqlError err = d.lastError();
        throw EDBEngineError(errorText(err), err.nativeErrorCode(), {}, false);
    }
}

void TConnection::Detach()
{
    FInTransaction = false;
    if (QSqlDatabase::contains(FConnName)) {
        QSqlDatabase d = db();
        d.close();
    }
}

void TConnection::Open()
{
    if (FState == TConnectionState::Open)
        return;
    if (FState == TConnectionState::Lost) {
        Recover();
        return;
    }
    Attach();
    FState = TConnectionState::Open;
    FLostNotified = false;
}

void TConnection::Close()
{
    if (FState == TConnectionState::Closed)
        return;
    const bool commit = FInTransaction && FState == TConnectionState::Open;
    try {
        if (commit)
            Commit();
    } catch (...) {
        Detach();
        FState = TConnectionState::Closed;
        throw;
    }
    Detach();
    FState = TConnectionState::Closed;
}

void TConnection::Reconnect()
{
    if (FState == TConnectionState::Closed) {
        Open();
        return;
    }
    if (FState == TConnectionState::Lost) {
        Recover();
        return;
    }
    if (FInTransaction)
        Commit();
    Detach();
    try {
        Attach();
    } catch (...) {
        FState = TConnectionState::Closed;
        throw;
    }
}

void TConnection::EnsureUsable()
{
    if (FState == TConnectionState::Closed)
        throw EDatabaseError(QStringLiteral("The connection to the database is not open"));
    if (FState == TConnectionState::Lost)
        Recover();
}

void TConnection::Recover()
{
    const QString lostText = QStringLiteral("The connection to the database is lost");
    if (FRecovering)
        throw EDBEngineError(lostText, QStringLiteral("-902"), {}, true);
    FRecovering = true;
    struct Reset
    {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{FRecovering};

    QString lastError;
    for (int attempt = 1; attempt <= qMax(1, ReconnectAttempts); ++attempt) {
        if (OnRecover && OnRecover(*this) != TRecoverAction::Retry)
            break;
        if (attempt > 1 && ReconnectDelayMs > 0) {
            // Paint and timers go on; clicks wait, so no other action starts meanwhile.
            QEventLoop loop;
            QTimer::singleShot(ReconnectDelayMs, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        try {
            Attach();
        } catch (const EDatabaseError &e) {
            lastError = e.message();
            continue;
        }
        FState = TConnectionState::Open;
        FLostNotified = false;
        notify(OnRestored, *this);
        return;
    }
    throw EDBEngineError(lastError.isEmpty() ? lostText : lostText + QLatin1String(": ") + lastError,
                         QStringLiteral("-902"), {}, true);
}

void TConnection::RecoverLater()
{
    QTimer::singleShot(qMax(0, ReconnectDelayMs), FTimerContext.get(), [this] {
        if (FState != TConnectionState::Lost || FRecovering)
            return;
        try {
            Recover();
        } catch (const EDatabaseError &) {
            // Still lost: the next statement tries again.
        }
    });
}

void TConnection::RaiseError(const QSqlError &err)
{
    QList<long> codes;
    bool lost = false;
    const QString code = err.nativeErrorCode();
    if (FState == TConnectionState::Open && QSqlDatabase::contains(FConnName) &&
        (code == QLatin1String("-902") || code.isEmpty())) {
        lost = data::AttachmentLost(db().driver()->handle(), &codes);
    }
    if (lost) {
        // The server dropped the transaction with the attachment: nothing of it is kept.
        Detach();
        FState = TConnectionState::Lost;
        if (!FLostNotified) {
            FLostNotified = true;
            notify(OnLost, *this);
            RecoverLater();
        }
    }
    throw EDBEngineError(errorText(err), code, codes, lost);
}

void TConnection::StartTransaction()
{
    EnsureUsable();
    if (FInTransaction)
        throw EDatabaseError(QStringLiteral("A transaction is already active"));
    QSqlDatabase d = db();
    if (!d.transaction())
        RaiseError(d.lastError());
    FInTransaction = true;
}

void TConnection::Commit()
{
    if (!FInTransaction)
        return;
    QSqlDatabase d = db();
    if (!d.commit()) {
        const QSqlError err = d.lastError();
        FInTransaction = false;
        d.rollback();
        RaiseError(err);
    }
    FInTransaction = false;
}

void TConnection::Rollback()
{
    if (!FInTransaction)
        return;
    FInTransaction = false;
    if (FState != TConnectionState::Open)
        return;
    QSqlDatabase d = db();
    if (!d.rollback()) {
        try {
            RaiseError(d.lastError());
        } catch (const EDatabaseError &) {
            // A failed rollback leaves nothing to undo; a lost connection is now recorded.
        }
    }
}

void TConnection::RunInTransaction(const std::function<void()> &fn)
{
    if (FInTransaction) {
        fn();
        return;
    }
    StartTransaction();
    try {
        fn();
        Commit();
    } catch (...) {
        Rollback();
        throw;
    }
}

int TConnection::Execute(const QString &sql, const TParams &params,
                         const std::function<void(QSqlQuery &)> &onRows)
{
    EnsureUsable();
    const Busy busy(*this);
    const data::SqlWithParams parsed = data::ParseSqlParams(sql);
    int affected = -1;
    QSqlError failure;
    {
        QSqlQuery q(db());
        q.setForwardOnly(true);
        if (!q.prepare(parsed.sql)) {
            failure = q.lastError();
        } else {
            for (const QString &name : parsed.names) {
                const TParam *p = params.FindParam(name);
                if (!p)
                    throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
                if (p->IsBinary() && p->Value().isString())
                    q.addBindValue(QVariant(p->Value().toString().toLatin1()));
                else
                    q.addBindValue(data::ToQVariant(p->Value()));
            }
            if (!q.exec()) {
                failure = q.lastError();
            } else {
                if (q.isSelect() && onRows) {
                    onRows(q);
                    if (q.lastError().isValid())
                        failure = q.lastError();
                }
                if (!failure.isValid() && changesRows(parsed.sql))
                    affected = q.numRowsAffected();
            }
        }
    }
    if (failure.isValid())
        RaiseError(failure);
    return affected;
}

void TConnection::CreateDatabase()
{
    data::CreateDatabase(Database.trimmed(), UserName, Password);
}
