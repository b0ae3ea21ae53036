#pragma once
// Message boxes. Every box goes through the installed IMessageBoxes, so tests can
// answer at once and nothing blocks on a modal window.
#include <QString>

namespace ui {

enum class MsgIcon { None, Information, Warning, Error, Question };

// Buttons, combinable; Show answers with exactly one of them.
enum MsgButton : unsigned {
    mbNone = 0,
    mbOk = 1u << 0,
    mbCancel = 1u << 1,
    mbYes = 1u << 2,
    mbNo = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
    mbClose = 1u << 11,
};
using MsgButtons = unsigned;

struct MessageRequest {
    QString caption; // empty: the window has no title of its own
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = mbOk;
    MsgButton defaultButton = mbNone; // mbNone: the first of the buttons
};

class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    // The button pressed; closing the box answers Cancel, No or OK, whichever it has.
    virtual MsgButton Show(const MessageRequest &request) = 0;
};

// The application's boxes, titled "LirraCal: " + topic.
QString AppCaption(const QString &topic);
// Yes and No with a question icon; true for Yes.
bool ConfirmBox(const QString &topic, const QString &text);
void WarningBox(const QString &topic, const QString &text);
void ErrorBox(const QString &topic, const QString &text);
void InformationBox(const QString &topic, const QString &text);

// A plain message window: no title of its own, no icon, OK.
void ShowMessage(const QString &text);
// "Classe: <class>\r\nMessaggio: <message>", shown as a plain message.
QString ErrorMessageText(const QString &className, const QString &message);
void ShowErrorMessage(const QString &className, const QString &message);

} // namespace ui
