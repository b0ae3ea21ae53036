#include "export/truetype/os2windowsmetrics.h"

namespace ttf {

void OS2WindowsMetricsClass::Load(FontBuffer &font)
{
    const uint8_t *p = font.at(entry.offset, entry.length);
    const uint32_t n = entry.length;
    auto u16 = [&](uint32_t at) -> uint16_t { return at + 2 <= n ? be16(p + at) : 0; };
    Version = u16(0);
    xAvgCharWidth = int16_t(u16(2));
    usFirstCharIndex = u16(64);
    usLastCharIndex = u16(66);
    usWinAscent = u16(74);
    usWinDescent = u16(76);
    usDefaultChar = u16(90);
    usBreakChar = u16(92);
}

} // namespace ttf
