#include "engine/run/kvlpendingevents.h"

#include <QCoreApplication>
#include <QThread>

void TkvlPendingEvents::Process()
{
    constexpr qint64 kIntervalMs = 30;
    if (FClock.isValid() && FClock.elapsed() < kIntervalMs)
        return;
    FClock.start();
    // Only the thread that owns the event loop of the application has events to process here;
    // a run on another thread never enters it.
    QCoreApplication *app = QCoreApplication::instance();
    if (app && app->thread() == QThread::currentThread())
        QCoreApplication::processEvents();
}
