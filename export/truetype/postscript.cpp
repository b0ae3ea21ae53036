#include "export/truetype/postscript.h"

namespace ttf {

void PostScriptClass::Load(FontBuffer &font)
{
    if (entry.length < Size)
        RaiseFormatError();
    const uint8_t *p = font.at(entry.offset, Size);
    Version = be32(p);
    ItalicAngle = be32(p + 4);
    underlinePosition = int16_t(be16(p + 8));
    underlineThickness = int16_t(be16(p + 10));
    isFixedPitch = be32(p + 12);
    minMemType42 = be32(p + 16);
    maxMemType42 = be32(p + 20);
    minMemType1 = be32(p + 24);
    maxMemType1 = be32(p + 28);
}

uint32_t PostScriptClass::Save(const FontBuffer &, QByteArray &out, uint32_t offset)
{
    uint8_t p[Size];
    put32(p, 0x00030000);
    put32(p + 4, ItalicAngle);
    put16(p + 8, uint16_t(underlinePosition));
    put16(p + 10, uint16_t(underlineThickness));
    put32(p + 12, isFixedPitch);
    put32(p + 16, minMemType42);
    put32(p + 20, maxMemType42);
    put32(p + 24, minMemType1);
    put32(p + 28, maxMemType1);
    return SaveBytes(out, offset, p, Size);
}

} // namespace ttf
