#pragma once
// Bridges between the events of controls and script procedures. A control keeps, per event
// name, the bridge installed last; the script scope that made a bridge owns it. A bridge
// leaves its control's slot when freed and does nothing once its control is gone, and no
// exception of a handler leaves DoEvent: it is reported through the message service and
// the event then goes on as if unhandled.
#include "script/items/qsclasses.h"

#include <QChar>
#include <QString>

namespace qsforms {
class TControl;
}

class TqsFormEvent : public TqsCustomEvent
{
public:
    TqsFormEvent(const Variant &instance, TqsProcVariable *handler, const QString &event);
    ~TqsFormEvent() override;
    void Install() override;
    // The event of the control at instance no longer runs a script procedure.
    static void ClearSlot(const Variant &instance, const QString &event);

protected:
    // Runs the handler with args (Null for parameters beyond them); afterwards args holds
    // the parameters' values. False when the handler raised or the parameter at
    // copyBackLast, the last one read back, is missing (both reported).
    bool Run(Variant *args, int count, int copyBackLast = -1);
    QString FEvent;
};

class TqsNotifyEvent : public TqsFormEvent
{
public:
    using TqsFormEvent::TqsFormEvent;
    void DoEvent(qsforms::TControl *Sender);
};

class TqsMouseEvent : public TqsFormEvent
{
public:
    using TqsFormEvent::TqsFormEvent;
    void DoEvent(qsforms::TControl *Sender, int Button, int Shift, int X, int Y);
};

class TqsMouseMoveEvent : public TqsFormEvent
{
public:
    using TqsFormEvent::TqsFormEvent;
    void DoEvent(qsforms::TControl *Sender, int Shift, int X, int Y);
};

class TqsKeyEvent : public TqsFormEvent
{
public:
    using TqsFormEvent::TqsFormEvent;
    void DoEvent(qsforms::TControl *Sender, uint16_t &Key, int Shift);
};

class TqsKeyPressEvent : public TqsFormEvent
{
public:
    using TqsFormEvent::TqsFormEvent;
    void DoEvent(qsforms::TControl *Sender, QChar &Key);
};

class TqsCloseEvent : public TqsFormEvent
{
public:
    using TqsFormEvent::TqsFormEvent;
    void DoEvent(qsforms::TControl *Sender, int &Action);
};

class TqsCloseQueryEvent : public TqsFormEvent
{
public:
    using TqsFormEvent::TqsFormEvent;
    void DoEvent(qsforms::TControl *Sender, bool &CanClose);
};

class TqsCanResizeEvent : public TqsFormEvent
{
public:
    using TqsFormEvent::TqsFormEvent;
    void DoEvent(qsforms::TControl *Sender, int &NewWidth, int &NewHeight, bool &Resize);
};

// The factory an event member is registered with: makes a bridge of class B for the event.
template<class B>
TqsEventFactory qsFormEventFactory(const QString &event)
{
    return [event](const Variant &instance, TqsProcVariable *handler) -> TqsCustomEvent * {
        if (!handler) {
            TqsFormEvent::ClearSlot(instance, event);
            return nullptr;
        }
        return new B(instance, handler, event);
    };
}
