#include "export/truetype/horizontalheader.h"

namespace ttf {

void HorizontalHeaderClass::Load(FontBuffer &font)
{
    if (entry.length < Size)
        RaiseFormatError();
    const uint8_t *p = font.at(entry.offset, Size);
    Ascender = int16_t(be16(p + 4));
    Descender = int16_t(be16(p + 6));
    LineGap = int16_t(be16(p + 8));
    advanceWidthMax = be16(p + 10);
    numberOfHMetrics = be16(p + 34);
}

} // namespace ttf
