#include "engine/preview/kvlblend.h"

#include "platform/gfx/canvas.h"

TColor Blend(TColor C1, TColor C2, int P)
{
    const uint32_t a = gfx::colorToRgb(C1), b = gfx::colorToRgb(C2);
    const int d = P < 100 ? 100 : 1000;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int x = int((a >> shift) & 0xFF), y = int((b >> shift) & 0xFF);
        out |= uint32_t((P * x + (d - P) * y + d / 2) / d) << shift;
    }
    return TColor(out);
}
