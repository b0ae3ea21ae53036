#pragma once
// Keys as the report's scripts see them: virtual-key codes and a shift state.
#include "report/seams/kvlseamtypes.h"

#include <Qt>
#include <cstdint>

// The virtual-key code of a Qt key; 0 for a key without one.
uint16_t kvlVirtualKey(int QtKey);
// The Qt key of a virtual-key code; 0 for a code without one.
int kvlQtKey(uint16_t VirtualKey);
TShiftState kvlShiftState(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
