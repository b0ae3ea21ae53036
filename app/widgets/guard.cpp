#include "app/widgets/guard.h"

#include "platform/rtl/exceptions.h"
#include "platform/ui/messages.h"

#include <QString>
#include <typeinfo>

void ShowCurrentException()
{
    try {
        throw;
    } catch (const EReported &) {
    } catch (const Exception &e) {
        ui::ShowMessage(e.message());
    } catch (const std::exception &e) {
        ui::ShowMessage(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ui::ShowMessage(QStringLiteral("Errore sconosciuto"));
    }
}

void ShowCurrentErrorMessage()
{
    try {
        throw;
    } catch (const EReported &) {
    } catch (const Exception &e) {
        ui::ShowErrorMessage(QString::fromLatin1(e.className()), e.message());
    } catch (const std::exception &e) {
        ui::ShowErrorMessage(QStringLiteral("Exception"), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ui::ShowErrorMessage(QStringLiteral("Exception"), QStringLiteral("Errore sconosciuto"));
    }
}

bool RunGuarded(const std::function<void()> &fn)
{
    try {
        fn();
        return true;
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}
