#pragma once
// Lets the window system breathe during a long run: pending events are processed at most
// every 30 ms, however often the engine asks. Every slot that can run in here (cancel buttons,
// preview handlers, script bridges) catches and reports what it raises itself.
#include <QElapsedTimer>

class TkvlPendingEvents {
public:
    // Processes pending events when 30 ms have passed since the last time (or never).
    void Process();
    void Restart() { FClock.invalidate(); }

private:
    QElapsedTimer FClock;
};
