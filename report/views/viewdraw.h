#pragma once
// Rounding shared by the views' drawing code.
#include "report/appearance/frame.h"

// Nearest whole device pixel, ties to even; absurd scales are kept drawable.
inline int kvlRnd(double v) { return kvlRoundClamped(v, 1 << 28); }
