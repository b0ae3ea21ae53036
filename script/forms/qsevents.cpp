#include "script/forms/qsevents.h"

#include "platform/rtl/objecthandles.h"
#include "platform/ui/messages.h"
#include "platform/ui/services.h"
#include "script/core/qsscript.h"
#include "script/forms/qsformsobjects.h"

namespace {

qsforms::TControl *ControlAt(const Variant &instance)
{
    return instance.isOrdinal() ? rtl::ObjectHandles::objectAs<qsforms::TControl>(instance.toInt64()) : nullptr;
}

// Reported as an unhandled exception of the program's event loop is: its text in an error box.
void Report(const QString &message)
{
    ui::MessageRequest r;
    r.text = message;
    r.icon = ui::MsgIcon::Error;
    r.buttons = ui::mbOk;
    ui::messageBoxes().Show(r);
}

Variant Sender(qsforms::TControl *sender) { return rtl::objectToVariant(sender); }

} // namespace

TqsFormEvent::TqsFormEvent(const Variant &instance, TqsProcVariable *handler, const QString &event)
    : TqsCustomEvent(instance, handler), FEvent(event)
{
}

TqsFormEvent::~TqsFormEvent()
{
    if (qsforms::TControl *c = ControlAt(FInstance))
        c->ClearSlot(FEvent, this);
}

void TqsFormEvent::Install()
{
    qsforms::TControl *c = ControlAt(FInstance);
    if (!c)
        throw EqsRunError(QStringLiteral("Invalid object reference %1: TControl expected").arg(FInstance.toString()));
    c->SetSlot(FEvent, this);
}

void TqsFormEvent::ClearSlot(const Variant &instance, const QString &event)
{
    if (qsforms::TControl *c = ControlAt(instance))
        c->ClearSlot(event, nullptr);
}

bool TqsFormEvent::Run(Variant *args, int count, int copyBackLast)
{
    // nothing runs for a control that is gone
    if (!ControlAt(FInstance))
        return false;
    const int params = FHandler->ParamCount();
    try {
        TqsActivation activation(FHandler);
        for (int i = 0; i < params; ++i)
            qsAssign(activation.Param(size_t(i)), i < count ? args[i] : Variant::null());
        activation.Run();
        for (int i = 0; i < std::min(count, params); ++i)
            args[i] = activation.Param(size_t(i));
    } catch (const Exception &e) {
        Report(e.message());
        return false;
    } catch (const std::exception &e) {
        Report(QString::fromLocal8Bit(e.what()));
        return false;
    } catch (...) {
        Report(QStringLiteral("Unknown error"));
        return false;
    }
    if (params <= copyBackLast) {
        // a parameter the event reads back is missing
        Report(QStringLiteral("List index out of bounds (%1)").arg(params));
        return false;
    }
    return true;
}

void TqsNotifyEvent::DoEvent(qsforms::TControl *S)
{
    Variant a[] = {Sender(S)};
    Run(a, 1);
}

void TqsMouseEvent::DoEvent(qsforms::TControl *S, int Button, int Shift, int X, int Y)
{
    Variant a[] = {Sender(S), Variant(Button), Variant(Shift), Variant(X), Variant(Y)};
    Run(a, 5);
}

void TqsMouseMoveEvent::DoEvent(qsforms::TControl *S, int Shift, int X, int Y)
{
    Variant a[] = {Sender(S), Variant(Shift), Variant(X), Variant(Y)};
    Run(a, 4);
}

void TqsKeyEvent::DoEvent(qsforms::TControl *S, uint16_t &Key, int Shift)
{
    Variant a[] = {Sender(S), Variant(int(Key)), Variant(Shift)};
    if (Run(a, 3, 1))
        Key = uint16_t(a[1].toInt());
}

void TqsKeyPressEvent::DoEvent(qsforms::TControl *S, QChar &Key)
{
    Variant a[] = {Sender(S), Variant(QString(Key))};
    if (!Run(a, 2, 1))
        return;
    // an empty text leaves the key as typed
    const QString text = a[1].toString();
    if (!text.isEmpty())
        Key = text.at(0);
}

void TqsCloseEvent::DoEvent(qsforms::TControl *S, int &Action)
{
    Variant a[] = {Sender(S), Variant(Action)};
    if (Run(a, 2, 1))
        Action = a[1].toInt();
}

void TqsCloseQueryEvent::DoEvent(qsforms::TControl *S, bool &CanClose)
{
    Variant a[] = {Sender(S), Variant(CanClose)};
    if (Run(a, 2, 1))
        CanClose = a[1].toBool();
}

void TqsCanResizeEvent::DoEvent(qsforms::TControl *S, int &NewWidth, int &NewHeight, bool &Resize)
{
    Variant a[] = {Sender(S), Variant(NewWidth), Variant(NewHeight), Variant(Resize)};
    if (Run(a, 4, 3)) {
        NewWidth = a[1].toInt();
        NewHeight = a[2].toInt();
        Resize = a[3].toBool();
    }
}
