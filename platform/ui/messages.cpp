#include "platform/ui/messages.h"

#include "platform/ui/services.h"

namespace ui {

namespace {

MsgButton show(const QString &caption, const QString &text, MsgIcon icon, MsgButtons buttons)
{
    MessageRequest r;
    r.caption = caption;
    r.text = text;
    r.icon = icon;
    r.buttons = buttons;
    return messageBoxes().Show(r);
}

} // namespace

QString AppCaption(const QString &topic) { return QStringLiteral("LirraCal: ") + topic; }

bool ConfirmBox(const QString &topic, const QString &text)
{
    return show(AppCaption(topic), text, MsgIcon::Question, mbYes | mbNo) == mbYes;
}

void WarningBox(const QString &topic, const QString &text)
{
    show(AppCaption(topic), text, MsgIcon::Warning, mbOk);
}

void ErrorBox(const QString &topic, const QString &text) { show(AppCaption(topic), text, MsgIcon::Error, mbOk); }

void InformationBox(const QString &topic, const QString &text)
{
    show(AppCaption(topic), text, MsgIcon::Information, mbOk);
}

void ShowMessage(const QString &text) { show(QString(), text, MsgIcon::None, mbOk); }

QString ErrorMessageText(const QString &className, const QString &message)
{
    return QStringLiteral("Classe: ") + className + QStringLiteral("\r\nMessaggio: ") + message;
}

void ShowErrorMessage(const QString &className, const QString &message)
{
    ShowMessage(ErrorMessageText(className, message));
}

} // namespace ui
