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
#include <chrono>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <thread>

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

const QString kNotSavedText = QStringLiteral("Operazione annullata: le modifiche non sono state salvate.");
const QString kSilentText = QStringLiteral("Il server del database non risponde: connessione persa.");

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
    if (lost)
        MarkLost();
    throw EDBEngineError(errorText(err), code, codes, lost);
}

void TConnection::MarkLost()
{
    // The server drops the transaction with the attachment: nothing of it is kept.
    Detach();
    FState = TConnectionState::Lost;
    if (!FLostNotified) {
        FLostNotified = true;
        notify(OnLost, *this);
        RecoverLater();
    }
}

void TConnection::RaiseStopped(TCallEnd end)
{
    if (end == TCallEnd::Cancelled)
        throw EDBEngineError(kNotSavedText, QStringLiteral("-901"), {}, false);
    MarkLost();
    throw EDBEngineError(end == TCallEnd::ServerSilent ? kSilentText : kNotSavedText, QStringLiteral("-902"), {}, true);
}

TConnection::TCallEnd TConnection::CallDatabase(const std::function<bool()> &call)
{
    using Clock = std::chrono::steady_clock;
    using std::chrono::milliseconds;
    if (FInCall)
        throw EDatabaseError(QStringLiteral("The database is still busy with another statement"));
    FInCall = true;
    struct Reset
    {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{FInCall};

    const QVariant handle = db().driver()->handle();
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool ok = false;
    std::exception_ptr error;
    QObject context;
    QEventLoop *loop = nullptr;
    std::thread worker([&] {
        bool result = false;
        std::exception_ptr e;
        try {
            result = call();
        } catch (...) {
            e = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex);
            done = true;
            ok = result;
            error = e;
        }
        finished.notify_all();
        QMetaObject::invokeMethod(&context, [&] {
            if (loop)
                loop->quit();
        }, Qt::QueuedConnection);
    });
    const auto isDone = [&] {
        const std::lock_guard lock(mutex);
        return done;
    };
    const auto waitFor = [&](Clock::duration d) {
        std::unique_lock lock(mutex);
        return finished.wait_for(lock, d, [&] { return done; });
    };
    // Paint and timers go on until the deadline or the end of the call.
    const bool haveEventLoop = QCoreApplication::instance() != nullptr;
    const auto spin = [&](Clock::time_point deadline, QEventLoop::ProcessEventsFlags flags) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return;
        if (!haveEventLoop) {
            waitFor(milliseconds(left));
            return;
        }
        QEventLoop l;
        loop = &l;
        QTimer::singleShot(int(qMin<qint64>(left, INT_MAX)), &l, &QEventLoop::quit);
        if (!isDone())
            l.exec(flags);
        loop = nullptr;
    };

    const auto started = Clock::now();
    const auto silentAt = started + milliseconds(qMax(1, ServerSilenceMs));
    TCallEnd end = TCallEnd::Done;
    // Most calls end at once: no event loop for them, so nothing else runs meanwhile.
    if (!waitFor(milliseconds(qMax(1, qMin(50, SlowCallMs))))) {
        spin(qMin(started + milliseconds(SlowCallMs), silentAt), QEventLoop::ExcludeUserInputEvents);
        bool cancelAsked = false;
        Clock::time_point cancelEndsAt;
        if (!isDone() && Clock::now() < silentAt) {
            const std::function<void()> cancel = [&] {
                if (cancelAsked || isDone())
                    return;
                cancelAsked = true;
                cancelEndsAt = Clock::now() + milliseconds(qMax(0, CancelGraceMs));
                data::CancelOperation(handle, false);
                if (loop)
                    loop->quit();
            };
            if (OnWaiting)
                OnWaiting(true, cancel);
            // The notice takes the clicks, and keeps them from the other windows; without one
            // clicks wait as before.
            const auto flags = OnWaiting ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
            while (!isDone()) {
                const auto deadline = cancelAsked ? cancelEndsAt : silentAt;
                if (Clock::now() >= deadline)
                    break;
                spin(deadline, flags);
            }
            if (OnWaiting)
                OnWaiting(false, {});
        }
        if (!isDone()) {
            // Closing our side of the connection ends the call at once; the server rolls the
            // transaction back when it sees the connection gone.
            data::CancelOperation(handle, true);
            end = cancelAsked ? TCallEnd::CancelUnanswered : TCallEnd::ServerSilent;
        } else if (cancelAsked && !ok && !error) {
            end = TCallEnd::Cancelled;
        }
    }
    worker.join();
    if (error && end == TCallEnd::Done)
        std::rethrow_exception(error);
    return end;
}

void TConnection::StartTransaction()
{
    EnsureUsable();
    if (FInTransaction)
        throw EDatabaseError(QStringLiteral("A transaction is already active"));
    QSqlDatabase d = db();
    bool started = false;
    const TCallEnd end = CallDatabase([&] { return started = d.transaction(); });
    if (end != TCallEnd::Done)
        RaiseStopped(end);
    if (!started)
        RaiseError(d.lastError());
    FInTransaction = true;
}

void TConnection::Commit()
{
    if (!FInTransaction)
        return;
    QSqlDatabase d = db();
    bool committed = false;
    const TCallEnd end = CallDatabase([&] { return committed = d.commit(); });
    if (end != TCallEnd::Done) {
        FInTransaction = false;
        if (end == TCallEnd::Cancelled)
            CallDatabase([&] { return d.rollback(); });
        RaiseStopped(end);
    }
    if (!committed) {
        const QSqlError err = d.lastError();
        FInTransaction = false;
        CallDatabase([&] { return d.rollback(); });
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
    try {
        bool rolledBack = false;
        const TCallEnd end = CallDatabase([&] { return rolledBack = d.rollback(); });
        if (end != TCallEnd::Done)
            RaiseStopped(end);
        if (!rolledBack)
            RaiseError(d.lastError());
    } catch (const EDatabaseError &) {
        // A failed rollback leaves nothing to undo; a lost connection is now recorded.
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
    TCallEnd end = TCallEnd::Done;
    {
        QSqlQuery q(db());
        q.setForwardOnly(true);
        QVariantList values;
        values.reserve(parsed.names.size());
        for (const QString &name : parsed.names) {
            const TParam *p = params.FindParam(name);
            if (!p)
                throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
            if (p->IsBinary() && p->Value().isString())
                values << QVariant(p->Value().toString().toLatin1());
            else
                values << data::ToQVariant(p->Value());
        }
        bool executed = false;
        // The rows are read in the same call: each fetch may wait on the server as long
        // as the statement itself.
        end = CallDatabase([&] {
            if (!q.prepare(parsed.sql))
                return false;
            for (const QVariant &v : std::as_const(values))
                q.addBindValue(v);
            if (!(executed = q.exec()))
                return false;
            if (q.isSelect() && onRows) {
                onRows(q);
                if (q.lastError().isValid())
                    failure = q.lastError();
            }
            return !failure.isValid();
        });
        if (end == TCallEnd::Done) {
            if (!executed)
                failure = q.lastError();
            else if (!failure.isValid() && changesRows(parsed.sql))
                affected = q.numRowsAffected();
        }
    }
    if (end != TCallEnd::Done)
        RaiseStopped(end);
    if (failure.isValid())
        RaiseError(failure);
    return affected;
}

void TConnection::CreateDatabase()
{
    data::CreateDatabase(Database.trimmed(), UserName, Password);
}
