#include "report/utils/messages.h"

#include "platform/ui/services.h"
#include "report/resources/kvlresources.h"
#include "platform/rtl/exceptions.h"

namespace {

ui::MsgButtons buttonSet(int buttons)
{
    switch (buttons & 0xF) {
    case MB_OKCANCEL:
        return ui::mbOk | ui::mbCancel;
    case MB_ABORTRETRYIGNORE:
        return ui::mbAbort | ui::mbRetry | ui::mbIgnore;
    case MB_YESNOCANCEL:
        return ui::mbYes | ui::mbNo | ui::mbCancel;
    case MB_YESNO:
        return ui::mbYes | ui::mbNo;
    case MB_RETRYCANCEL:
        return ui::mbRetry | ui::mbCancel;
    default:
        return ui::mbOk;
    }
}

int answerId(ui::MsgButton b)
{
    switch (b) {
    case ui::mbCancel:
        return IDCANCEL;
    case ui::mbAbort:
        return IDABORT;
    case ui::mbRetry:
        return IDRETRY;
    case ui::mbIgnore:
        return IDIGNORE;
    case ui::mbYes:
        return IDYES;
    case ui::mbNo:
        return IDNO;
    default:
        return IDOK;
    }
}

int show(const QString &text, const char *captionKey, ui::MsgIcon icon, int buttons)
{
    ui::MessageRequest r;
    r.caption = kvlResources().Get(QString::fromLatin1(captionKey));
    r.text = text;
    r.icon = icon;
    r.buttons = buttonSet(buttons);
    return answerId(ui::messageBoxes().Show(r));
}

} // namespace

void kvlErrorMsg(const QString &Text) { show(Text, "mbError", ui::MsgIcon::Error, MB_OK); }

int kvlConfirmMsg(const QString &Text, int Buttons) { return show(Text, "mbConfirm", ui::MsgIcon::Question, Buttons); }

void kvlInfoMsg(const QString &Text) { show(Text, "mbInfo", ui::MsgIcon::Information, MB_OK); }

void kvlCommonErrorHandler(TkvlSilentMode mode, const QString &Msg)
{
    switch (mode) {
    case simMessageBoxes:
        kvlErrorMsg(Msg);
        break;
    case simSilent:
        break;
    case simReThrow:
        throw Exception(Msg);
    }
}
