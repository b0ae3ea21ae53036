#pragma once
// Keys as scripts see them: the virtual-key codes of the template format's key events.
#include <Qt>
#include <cstdint>

namespace ui {

// The virtual-key code of a Qt key; 0 for a key without one.
uint16_t VirtualKey(int QtKey);
// The Qt key of a virtual-key code; 0 for a code without one.
int QtKey(uint16_t VirtualKey);

} // namespace ui
