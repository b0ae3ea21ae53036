#pragma once
#include <QDateTime>

namespace ui {

class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime Now() = 0;
    // Milliseconds on a monotonic clock (differences only).
    virtual qint64 TickCount() = 0;
};

} // namespace ui
