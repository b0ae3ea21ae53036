#include "export/truetype/maximumprofile.h"

namespace ttf {

void MaximumProfileClass::Load(FontBuffer &font)
{
    if (entry.length < 6)
        RaiseFormatError();
    Version = font.u32(entry.offset);
    numGlyphs = font.u16(uint64_t(entry.offset) + 4);
    if (Version == 0x00010000 && entry.length >= 32)
        maxComponentDepth = font.u16(uint64_t(entry.offset) + 30);
}

} // namespace ttf
