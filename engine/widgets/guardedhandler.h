#pragma once
// Window handlers called from the event loop run through guarded(): what they raise is
// reported to the user and goes no further (no exception crosses Qt's event loop).
// Returns whether the body ran to its end.
#include "platform/rtl/exceptions.h"
#include "platform/ui/services.h"

#include <QString>
#include <exception>

template <class F> bool guarded(F &&Body)
{
    try {
        Body();
        return true;
    } catch (const Exception &e) {
        ui::ShowErrorMessage(QString::fromLatin1(e.className()), e.message());
    } catch (const std::exception &e) {
        ui::ShowErrorMessage(QStringLiteral("Exception"), QString::fromUtf8(e.what()));
    } catch (...) {
        ui::ShowErrorMessage(QStringLiteral("Exception"), QString());
    }
    return false;
}
