#pragma once
// The shift state of the report's key and mouse events (the key codes: platform/ui/virtualkeys.h).
#include "report/seams/kvlseamtypes.h"

#include <Qt>
#include <cstdint>

TShiftState kvlShiftState(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
