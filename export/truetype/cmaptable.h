#pragma once
// 'cmap': characters to glyphs through the Windows Unicode (3, 1) subtable in format 4.
// Other formats of that subtable map every character to glyph 0.
#include "export/truetype/truetypetable.h"

#include <vector>

namespace ttf {

class CmapTableClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    void LoadCmapTable(const FontBuffer &font);
    uint16_t GetGlyphIndex(uint16_t ch) const;

    uint16_t segment_count = 0;
    std::vector<uint16_t> endCount, startCount, idRangeOffset, GlyphIndexArray;
    std::vector<int16_t> idDelta;

private:
    void LoadFormat4(const uint8_t *sub, uint32_t room);
};

} // namespace ttf
