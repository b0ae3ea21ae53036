#pragma once
// SIGTERM, SIGINT and SIGHUP end the program as "Esci" does. The signals are blocked in every
// thread and taken by one waiting thread, which writes their number to a pipe; the event loop
// reads it and calls the handler given here, so no Qt call ever runs on a signal, and no
// thread of the database client is interrupted by one (nor can the client take them).
#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

class TTerminationSignals : public QObject
{
public:
    // Blocks the three signals in the calling thread and in the threads it starts later: call it
    // first thing in main, before any thread exists.
    static void BlockInThisAndLaterThreads();

    // Starts taking the signals. One at a time.
    explicit TTerminationSignals(std::function<void(int)> onSignal, QObject *parent = nullptr);
    // Stops taking them (they stay blocked).
    ~TTerminationSignals() override;
    TTerminationSignals(const TTerminationSignals &) = delete;
    TTerminationSignals &operator=(const TTerminationSignals &) = delete;

private:
    void ReadPipe();

    struct Waiter;
    std::function<void(int)> FOnSignal;
    std::unique_ptr<Waiter> FWaiter;
    QSocketNotifier *FNotifier = nullptr;
};
