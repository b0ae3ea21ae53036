#include "report/utils/messages.h"

#include "report/resources/kvlresources.h"
#include "report/utils/errors.h"

#include <QtGlobal>

namespace {

TkvlMessageBoxFunc &messageBoxFunc()
{
    static TkvlMessageBoxFunc func;
    return func;
}

int defaultAnswer(int flags)
{
    switch (flags & 0xF) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    default:
        return IDOK;
    }
}

int showMessage(const QString &text, const QString &caption, int flags)
{
    const TkvlMessageBoxFunc &func = messageBoxFunc();
    if (func)
        return func(text, caption, flags);
    qWarning("%s: %s", qUtf8Printable(caption), qUtf8Printable(text));
    return defaultAnswer(flags);
}

} // namespace

void kvlSetMessageBoxFunc(TkvlMessageBoxFunc func) { messageBoxFunc() = std::move(func); }

void kvlErrorMsg(const QString &Text)
{
    showMessage(Text, kvlResources().Get(QStringLiteral("mbError")), MB_OK | MB_ICONERROR);
}

int kvlConfirmMsg(const QString &Text, int Buttons)
{
    return showMessage(Text, kvlResources().Get(QStringLiteral("mbConfirm")), Buttons | MB_ICONQUESTION);
}

void kvlInfoMsg(const QString &Text)
{
    showMessage(Text, kvlResources().Get(QStringLiteral("mbInfo")), MB_OK | MB_ICONINFORMATION);
}

void kvlCommonErrorHandler(TkvlSilentMode mode, const QString &Msg)
{
    switch (mode) {
    case simMessageBoxes:
        kvlErrorMsg(Msg);
        break;
    case simSilent:
        break;
    case simReThrow:
        throw EkvlError(Msg);
    }
}
