#pragma once
// Connection to a Firebird database: an embedded file (bare path) or a server
// (host:path, host/port:path). UTF8 throughout.
//
// Loss of the connection is recognised from the server's status codes. The statement that
// met it fails (its transaction is gone on the server and nothing is replayed) and OnLost is
// called once. Reconnecting takes up to ReconnectAttempts tries, each one allowed by
// OnRecover, with ReconnectDelayMs between tries spent in a local event loop so the windows
// stay alive; OnRestored is called once when the connection is back. One round of tries runs
// by itself ReconnectDelayMs after the loss, and another before each statement while the
// connection stays lost.
//
// Calls that reach the database, attaching included, run on a thread of their own while the
// calling thread waits in a local event loop, so the windows keep painting. One that takes
// SlowCallMs makes OnWaiting show that the program waits for the server, with a way to cancel
// it: the server is asked to fail the call, whose action is then rolled back and reported as
// not saved; if the server does not answer that within CancelGraceMs, or a call gets no
// answer for ServerSilenceMs, the connection is given up and reported lost as above. An
// attach has nothing the server could be asked to stop: cancelled or unanswered, it is left
// to end on its own thread (and then let go) and reported as not connected at once.
//
// When the program has to end (a termination signal), GiveUpWaiting stops the wait on a server
// at once: the call in progress and every later one get a short moment, then end as an
// unanswered call does.
#include "platform/data/params.h"

#include <QString>
#include <chrono>
#include <functional>
#include <memory>

class QEventLoop;
class QObject;
class QSqlDatabase;
class QSqlQuery;
class QSqlError;

enum class TConnectionState { Closed, Open, Lost };
enum class TRecoverAction { Retry, Fail };

class TConnection
{
public:
    TConnection();
    ~TConnection();
    TConnection(const TConnection &) = delete;
    TConnection &operator=(const TConnection &) = delete;

    // Bare path (embedded engine) or host[/port]:path (server).
    QString Database;
    QString UserName = QStringLiteral("SYSDBA");
    QString Password;
    int ReconnectAttempts = 3;
    int ReconnectDelayMs = 1000;
    // How long a server may take to accept the network connection before an attach gives up.
    int ConnectTimeoutMs = 5000;

    int SlowCallMs = 2000;
    int CancelGraceMs = 2000;
    int ServerSilenceMs = 30000;

    std::function<void(TConnection &)> OnLost;
    std::function<TRecoverAction(TConnection &)> OnRecover;
    std::function<void(TConnection &)> OnRestored;
    // Called with true when the connection starts talking to the database and with false when
    // it is done (nested calls come in pairs); the program shows its busy cursor meanwhile.
    std::function<void(bool busy)> OnBusy;
    // Called with true and a cancel function once a call has waited SlowCallMs, and with false
    // (and no function) when it ends; the function is valid only in between.
    std::function<void(bool waiting, const std::function<void()> &cancel)> OnWaiting;

    void Open();
    // Commits an open transaction, then detaches. Closing a closed connection does nothing.
    void Close();
    bool Connected() const { return FState != TConnectionState::Closed; }
    TConnectionState State() const { return FState; }
    bool IsRemote() const;

    // Offline and online again, as the program's "reload" does: the open transaction is
    // committed, the attachment renewed; cached datasets keep their rows.
    void Reconnect();

    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return FInTransaction; }

    // Runs fn in a transaction of its own (or inside the one already open): committed when
    // fn returns, rolled back when it throws.
    void RunInTransaction(const std::function<void()> &fn);

    // Runs one statement with its parameters bound by name. For a statement that returns
    // rows, onRows gets the positioned-before-first query and reads every row; it runs on the
    // thread that talks to the server while the caller waits, so it must only fill storage
    // of its own. Returns the number of rows the statement changed (-1 when unknown).
    int Execute(const QString &sql, const TParams &params,
                const std::function<void(QSqlQuery &)> &onRows = {});
    // Convenience for statements without parameters.
    int ExecSQL(const QString &sql) { return Execute(sql, TParams()); }

    // The program is ending: no call waits on the server for more than a moment from now on
    // (an embedded database answers by itself and is waited for as usual). Nothing is
    // reconnected any more. Call it from the event loop, e.g. while a call waits.
    void GiveUpWaiting();
    bool GivingUp() const { return FGivingUp; }
    // Calls given up on (of any connection) whose threads still wait on a server. The client
    // library's shutdown at the end of the process waits for them.
    static int CallsLeftRunning();

    // Creates the database named by Database with this connection's user and password.
    void CreateDatabase();

    // Raises the error of a failed driver call, after checking whether the connection is lost.
    [[noreturn]] void RaiseError(const QSqlError &err);

private:
    QSqlDatabase db() const;
    void Attach();
    void Detach();
    // "il server del database host (porta n)" or "il database path", for messages.
    QString Target() const;
    void EnsureUsable();
    void Recover();
    void RecoverLater();
    void MarkLost();
    enum class TCallEnd { Done, Cancelled, CancelUnanswered, ServerSilent };
    // Runs call on a worker thread while this one waits (above). A call that can be left
    // (an attach, a detach) gives whenLeft, which its thread runs if it ends after being given
    // up. A quiet call shows no notice and is given up after SlowCallMs.
    TCallEnd CallDatabase(const std::function<bool()> &call, const std::function<void()> &whenLeft = {},
                          bool quiet = false);
    [[noreturn]] void RaiseStopped(TCallEnd end);

    class Busy;
    QString FConnBase;
    QString FConnName; // of the current attachment: each attach has a name of its own
    int FAttachCount = 0;
    std::unique_ptr<QObject> FTimerContext; // ends pending retries with the connection
    TConnectionState FState = TConnectionState::Closed;
    bool FInTransaction = false;
    bool FRecovering = false;
    bool FLostNotified = false;
    bool FInCall = false;
    bool FGivingUp = false;
    std::chrono::steady_clock::time_point FGiveUpAt;
    QEventLoop *FWaitLoop = nullptr; // the loop a call waits in, if any
};
