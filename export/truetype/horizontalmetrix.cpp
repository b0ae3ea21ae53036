#include "export/truetype/horizontalmetrix.h"

namespace ttf {

void HorizontalMetrixClass::Load(FontBuffer &font)
{
    if (uint64_t(NumberOfMetrics) * 4 > entry.length)
        RaiseFormatError();
    const uint8_t *p = font.at(entry.offset, uint64_t(NumberOfMetrics) * 4);
    MetrixTable.resize(NumberOfMetrics);
    for (uint32_t i = 0; i < NumberOfMetrics; ++i)
        MetrixTable[i] = {be16(p + 4 * i), int16_t(be16(p + 4 * i + 2))};
}

} // namespace ttf
