#include "report/widgets/kvlvirtualkeys.h"

TShiftState kvlShiftState(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons)
{
    TShiftState s = 0;
    auto add = [&s](bool on, TShiftStateItem item) {
        if (on)
            s |= TShiftState(1u << item);
    };
    add(Modifiers & Qt::ShiftModifier, ssShift);
    add(Modifiers & Qt::AltModifier, ssAlt);
    add(Modifiers & Qt::ControlModifier, ssCtrl);
    add(Buttons & Qt::LeftButton, ssLeft);
    add(Buttons & Qt::RightButton, ssRight);
    add(Buttons & Qt::MiddleButton, ssMiddle);
    return s;
}
