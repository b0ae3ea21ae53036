#pragma once
// 'glyf': glyph outlines; a composite glyph lists the glyphs it is made of.
#include "export/truetype/truetypetable.h"

#include <vector>

namespace ttf {

struct GlyphHeader {
    int16_t numberOfContours = 0, xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

// Component flags of composite glyphs.
enum : uint16_t {
    ARG_1_AND_2_ARE_WORDS = 0x0001,
    WE_HAVE_A_SCALE = 0x0008,
    MORE_COMPONENTS = 0x0020,
    WE_HAVE_AN_X_AND_Y_SCALE = 0x0040,
    WE_HAVE_A_TWO_BY_TWO = 0x0080,
};

class GlyphTableClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    void Load(FontBuffer &font) override;
    uint32_t Save(const FontBuffer &font, QByteArray &out, uint32_t offset) override;

    // Header of the glyph at offset within the table.
    GlyphHeader GetGlyphHeader(uint32_t offset) const;
    // The direct components of the glyph of glyph_size bytes at glyph_offset (none for a
    // simple glyph), in stored order.
    std::vector<uint16_t> CheckGlyph(uint32_t glyph_offset, uint32_t glyph_size) const;
    // The glyph's bytes; the range must lie in the table.
    const uint8_t *GlyphData(uint32_t glyph_offset, uint32_t glyph_size) const;

    const uint8_t *glyph_table_ptr = nullptr;
    // The glyph data of the subset, once rebuilt.
    QByteArray packed;
    bool hasPacked = false;
};

} // namespace ttf
