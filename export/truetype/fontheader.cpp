#include "export/truetype/fontheader.h"

#include <cstring>

namespace ttf {

void FontHeaderClass::Load(FontBuffer &font)
{
    if (entry.length < Size)
        RaiseFormatError();
    // The table's checksum and the font's are computed with the adjustment zero.
    font.setU32(uint64_t(entry.offset) + 8, 0);
    std::memcpy(m_record, font.at(entry.offset, Size), Size);
    magicNumber = be32(m_record + 12);
    flags = be16(m_record + 16);
    unitsPerEm = be16(m_record + 18);
    indexToLocFormat = int16_t(be16(m_record + 50));
    if (unitsPerEm == 0)
        RaiseFormatError();
}

void FontHeaderClass::SaveFontHeader(QByteArray &out, uint32_t checkSum) const
{
    uint8_t *p = OutputAt(out, saved.offset, Size);
    std::memcpy(p, m_record, Size);
    put32(p + 8, checkSum);
}

} // namespace ttf
