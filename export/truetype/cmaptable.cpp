#include "export/truetype/cmaptable.h"

namespace ttf {

void CmapTableClass::LoadCmapTable(const FontBuffer &font)
{
    const uint8_t *cmap = bytes(font);
    const uint32_t len = entry.length;
    if (len < 4)
        RaiseFormatError();
    const uint32_t numTables = be16(cmap + 2);
    if (4 + 8 * numTables > len)
        RaiseFormatError();
    for (uint32_t i = 0; i < numTables; ++i) {
        const uint8_t *rec = cmap + 4 + 8 * i;
        if (be16(rec) != 3 || be16(rec + 2) != 1)
            continue;
        const uint32_t off = be32(rec + 4);
        if (off > len || len - off < 2)
            RaiseFormatError();
        if (be16(cmap + off) == 4)
            LoadFormat4(cmap + off, len - off);
    }
}

void CmapTableClass::LoadFormat4(const uint8_t *sub, uint32_t room)
{
    if (room < 14)
        RaiseFormatError();
    const uint32_t length = be16(sub + 2);
    if (length > room)
        RaiseFormatError();
    const uint32_t n = be16(sub + 6) / 2;
    const uint32_t arrays = 16 + 8 * n;   // header, four arrays, the reserved word
    if (arrays > length)
        RaiseFormatError();
    segment_count = uint16_t(n);
    endCount.resize(n);
    startCount.resize(n);
    idDelta.resize(n);
    idRangeOffset.resize(n);
    const uint8_t *ends = sub + 14, *starts = ends + 2 * n + 2, *deltas = starts + 2 * n,
                  *ranges = deltas + 2 * n;
    for (uint32_t i = 0; i < n; ++i) {
        endCount[i] = be16(ends + 2 * i);
        startCount[i] = be16(starts + 2 * i);
        idDelta[i] = int16_t(be16(deltas + 2 * i));
        idRangeOffset[i] = be16(ranges + 2 * i);
    }
    const uint32_t glyphs = (length - arrays) / 2;
    GlyphIndexArray.resize(glyphs);
    for (uint32_t i = 0; i < glyphs; ++i)
        GlyphIndexArray[i] = be16(sub + arrays + 2 * i);
}

uint16_t CmapTableClass::GetGlyphIndex(uint16_t ch) const
{
    for (uint32_t i = 0; i < segment_count; ++i) {
        if (endCount[i] < ch)
            continue;
        if (startCount[i] > ch)
            return 0;
        if (idRangeOffset[i] == 0)
            return uint16_t(ch + idDelta[i]);
        // The offset counts from the segment's own idRangeOffset word.
        const int64_t k = int64_t(idRangeOffset[i] / 2) + (ch - startCount[i]) - (segment_count - i);
        if (k < 0 || k >= int64_t(GlyphIndexArray.size()))
            return 0;
        const uint16_t g = GlyphIndexArray[size_t(k)];
        return g == 0 ? 0 : uint16_t(g + idDelta[i]);
    }
    return 0;
}

} // namespace ttf
