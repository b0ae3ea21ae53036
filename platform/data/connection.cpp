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
const QString kLostText = QStringLiteral("La connessione al database è persa");
const QString kNotConnected = QStringLiteral("LirraCal non è connesso al database.");

// How long, once the program gives the server up, the calls still made (the commit and the
// detach of closing) may wait for it, all together.
constexpr int kGiveUpGraceMs = 500;

// Calls given up on whose threads still wait on a server, in this process.
std::atomic<int> g_callsLeftRunning{0};

// An attach the user cancelled: reconnecting stops trying.
class EConnectCancelled final : public EDBEngineError
{
public:
    using EDBEngineError::EDBEngineError;
};

// A connection given up while its attach still runs is removed by the thread that made it.
void removeConnectionLater(const QString &name)
{
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [name] { QSqlDatabase::removeDatabase(name); }, Qt::QueuedConnection);
    else
        QSqlDatabase::removeDatabase(name);
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
    FConnBase = QStringLiteral("lirra-conn-%1").arg(++counter);
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

QString TConnection::Target() const
{
    QString host;
    quint16 port = 0;
    if (data::ServerAddress(Database, &host, &port))
        return QStringLiteral("il server del database %1 (porta %2)").arg(host).arg(port);
    return QStringLiteral("il database %1").arg(Database.trimmed());
}

void TConnection::Attach()
{
    const Busy busy(*this);
    data::PrepareClientEnvironment();
    // A fresh driver each time: after a failed open the driver keeps refusing transactions. Under
    // a new name, as an attach given up on may still run under the old one.
    if (QSqlDatabase::contains(FConnName)) {
        db().close();
        QSqlDatabase::removeDatabase(FConnName);
    }
    FConnName = FConnBase + QLatin1Char('-') + QString::number(++FAttachCount);
    QSqlDatabase::addDatabase(kDriver, FConnName);
    QSqlDatabase d = db();
    d.setDatabaseName(Database.trimmed());
    d.setUserName(UserName);
    d.setPassword(Password);
    d.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));

    // Owned by the attach's thread too, which may outlive this call.
    struct Attempt
    {
        QSqlDatabase db;
        bool reached = true;
        QString unreachable;
        QSqlError error;
    };
    const auto attempt = std::make_shared<Attempt>();
    attempt->db = d;
    d = QSqlDatabase();
    QString host;
    quint16 port = 0;
    const bool remote = data::ServerAddress(Database, &host, &port);
    const int reachMs = qMax(1, ConnectTimeoutMs);
    const TCallEnd end = CallDatabase(
        [attempt, remote, host, port, reachMs] {
            if (remote) {
                // The client library would wait its own, much longer, time on a host that does
                // not answer.
                QTcpSocket socket;
                socket.connectToHost(host, port);
                if (!socket.waitForConnected(reachMs)) {
                    attempt->reached = false;
                    attempt->unreachable = socket.error() == QAbstractSocket::SocketTimeoutError
                                               ? QStringLiteral("nessuna risposta entro %1 ms").arg(reachMs)
                                               : socket.errorString();
                    return false;
                }
                socket.abort();
            }
            if (attempt->db.open())
                return true;
            attempt->error = attempt->db.lastError();
            return false;
        },
        [attempt, name = FConnName] {
            attempt->db.close();
            attempt->db = QSqlDatabase();
            removeConnectionLater(name);
        });
    QString target = Target();
    switch (end) {
    case TCallEnd::Done: break;
    case TCallEnd::Cancelled:
    case TCallEnd::CancelUnanswered:
        FConnName.clear(); // the attach's thread lets it go
        throw EConnectCancelled(QStringLiteral("Connessione annullata: %1 non ha risposto. ").arg(target) + kNotConnected,
                                QStringLiteral("-902"), {}, false);
    case TCallEnd::ServerSilent:
        FConnName.clear();
        target[0] = target.at(0).toUpper();
        throw EDBEngineError(QStringLiteral("%1 non risponde. ").arg(target) + kNotConnected, QStringLiteral("-902"), {},
                             false);
    }
    if (!attempt->reached) {
        target[0] = target.at(0).toUpper();
        throw EDBEngineError(QStringLiteral("%1 non è raggiungibile (%2). ").arg(target, attempt->unreachable) + kNotConnected,
                             QStringLiteral("-902"), {}, false);
    }
    if (attempt->error.isValid())
        throw EDBEngineError(QStringLiteral("Impossibile aprire il database %1: ").arg(Database.trimmed()) +
                                 errorText(attempt->error),
                             attempt->error.nativeErrorCode(), {}, false);
}

void TConnection::Detach()
{
    FInTransaction = false;
    if (!QSqlDatabase::contains(FConnName))
        return;
    const auto held = std::make_shared<QSqlDatabase>(db());
    if (!held->isOpen())
        return;
    // Nothing waits on the result: a server that does not answer is not waited for, and the
    // attachment is let go.
    const TCallEnd end = CallDatabase(
        [held] {
            held->close();
            return true;
        },
        [held, name = FConnName] {
            *held = QSqlDatabase();
            removeConnectionLater(name);
        },
        true);
    if (end != TCallEnd::Done)
        FConnName.clear();
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
        throw EDatabaseError(QStringLiteral("La connessione al database non è aperta"));
    if (FState == TConnectionState::Lost)
        Recover();
}

void TConnection::Recover()
{
    if (FRecovering)
        throw EDBEngineError(kLostText, QStringLiteral("-902"), {}, true);
    FRecovering = true;
    struct Reset
    {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{FRecovering};

    QString lastError;
    for (int attempt = 1; attempt <= qMax(1, ReconnectAttempts); ++attempt) {
        if (FGivingUp || (OnRecover && OnRecover(*this) != TRecoverAction::Retry))
            break;
        if (attempt > 1 && ReconnectDelayMs > 0) {
            // Paint and timers go on; clicks wait, so no other action starts meanwhile.
            QEventLoop loop;
            QTimer::singleShot(ReconnectDelayMs, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        try {
            Attach();
        } catch (const EConnectCancelled &e) {
            throw EDBEngineError(e.message(), QStringLiteral("-902"), {}, true);
        } catch (const EDatabaseError &e) {
            lastError = e.message();
            continue;
        }
        FState = TConnectionState::Open;
        FLostNotified = false;
        notify(OnRestored, *this);
        return;
    }
    throw EDBEngineError(lastError.isEmpty() ? kLostText : kLostText + QLatin1String(": ") + lastError,
                         QStringLiteral("-902"), {}, true);
}

void TConnection::RecoverLater()
{
    QTimer::singleShot(qMax(0, ReconnectDelayMs), FTimerContext.get(), [this] {
        if (FState != TConnectionState::Lost || FRecovering || FInCall || FGivingUp)
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

TConnection::TCallEnd TConnection::CallDatabase(const std::function<bool()> &call,
                                                const std::function<void()> &whenLeft, bool quiet)
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

    // Shared with the worker, which may outlive this call when it is left.
    struct State
    {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        bool ok = false;
        bool left = false;
        std::exception_ptr error;
    };
    const auto state = std::make_shared<State>();
    const bool canLeave = bool(whenLeft);
    const QVariant handle = canLeave ? QVariant() : db().driver()->handle();
    QObject context;
    QEventLoop *loop = nullptr;
    std::thread worker([state, call, whenLeft, &context, &loop] {
        bool result = false;
        std::exception_ptr e;
        try {
            result = call();
        } catch (...) {
            e = std::current_exception();
        }
        bool left = false;
        {
            const std::lock_guard lock(state->mutex);
            state->done = true;
            state->ok = result;
            state->error = e;
            left = state->left;
        }
        state->finished.notify_all();
        if (left) {
            // Nobody waits any more: the caller's context and loop are gone.
            whenLeft();
            --g_callsLeftRunning;
            return;
        }
        QMetaObject::invokeMethod(&context, [&loop] {
            if (loop)
                loop->quit();
        }, Qt::QueuedConnection);
    });
    const auto isDone = [&] {
        const std::lock_guard lock(state->mutex);
        return state->done;
    };
    const auto waitFor = [&](Clock::duration d) {
        std::unique_lock lock(state->mutex);
        return state->finished.wait_for(lock, d, [&] { return state->done; });
    };
    // Gives the call up unless it has just ended; its thread then runs whenLeft.
    const auto leave = [&] {
        const std::lock_guard lock(state->mutex);
        state->left = !state->done;
        if (state->left)
            ++g_callsLeftRunning;
        return state->left;
    };
    // Paint and timers go on until the deadline or the end of the call.
    const bool haveEventLoop = QCoreApplication::instance() != nullptr;
    const auto spin = [&](Clock::time_point deadline, QEventLoop::ProcessEventsFlags flags) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return;
        // Ending, the program runs no more events (its loops return at once anyway).
        if (!haveEventLoop || FGivingUp) {
            waitFor(milliseconds(left));
            return;
        }
        QEventLoop l;
        loop = &l;
        FWaitLoop = &l;
        QTimer::singleShot(int(qMin<qint64>(left, INT_MAX)), &l, &QEventLoop::quit);
        if (!isDone())
            l.exec(flags);
        loop = nullptr;
        FWaitLoop = nullptr;
    };

    const auto started = Clock::now();
    const auto silentAt = started + milliseconds(qMax(1, quiet ? SlowCallMs : ServerSilenceMs));
    // When the server is given up on, moves the time it is waited for forward (GiveUpWaiting
    // may be called while this call waits).
    const auto giveUpAt = [&] {
        return FGivingUp ? qMin(silentAt, FGiveUpAt + milliseconds(kGiveUpGraceMs)) : silentAt;
    };
    TCallEnd end = TCallEnd::Done;
    bool left = false;
    // Most calls end at once: no event loop for them, so nothing else runs meanwhile.
    if (!waitFor(milliseconds(qMax(1, qMin(50, SlowCallMs))))) {
        spin(qMin(started + milliseconds(SlowCallMs), giveUpAt()), QEventLoop::ExcludeUserInputEvents);
        bool cancelAsked = false;
        Clock::time_point cancelEndsAt;
        if (!isDone() && Clock::now() < giveUpAt()) {
            const std::function<void()> cancel = [&] {
                if (cancelAsked || isDone())
                    return;
                cancelAsked = true;
                // A call that can be left needs no answer from the server.
                cancelEndsAt = Clock::now() + milliseconds(canLeave ? 0 : qMax(0, CancelGraceMs));
                if (!canLeave)
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
                const auto deadline = cancelAsked ? qMin(cancelEndsAt, giveUpAt()) : giveUpAt();
                if (Clock::now() >= deadline)
                    break;
                spin(deadline, flags);
            }
            if (OnWaiting)
                OnWaiting(false, {});
        }
        if (!isDone()) {
            if (canLeave) {
                left = leave();
            } else {
                // Closing our side of the connection ends the call at once; the server rolls
                // the transaction back when it sees the connection gone.
                data::CancelOperation(handle, true);
            }
            if (left || !canLeave)
                end = cancelAsked ? TCallEnd::CancelUnanswered : TCallEnd::ServerSilent;
        }
        if (end == TCallEnd::Done && cancelAsked) {
            const std::lock_guard lock(state->mutex);
            if (!state->ok && !state->error)
                end = TCallEnd::Cancelled;
        }
    }
    if (left) {
        worker.detach();
        return end;
    }
    worker.join();
    if (state->error && end == TCallEnd::Done)
        std::rethrow_exception(state->error);
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

int TConnection::CallsLeftRunning()
{
    return g_callsLeftRunning;
}

void TConnection::GiveUpWaiting()
{
    if (FGivingUp || !IsRemote())
        return;
    FGivingUp = true;
    FGiveUpAt = std::chrono::steady_clock::now();
    // The call waiting now looks at its time again.
    if (FWaitLoop)
        FWaitLoop->quit();
}

void TConnection::CreateDatabase()
{
    data::CreateDatabase(Database.trimmed(), UserName, Password);
}
