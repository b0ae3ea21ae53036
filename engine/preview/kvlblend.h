#pragma once
// Mixing two colours, as the flat controls shade their hot and pressed buttons.
#include "platform/rtl/color.h"

// P per cent of C1 and the rest of C2 (per mille when P is 100 or more), each channel
// rounded half up; system colours are resolved first.
TColor Blend(TColor C1, TColor C2, int P);
