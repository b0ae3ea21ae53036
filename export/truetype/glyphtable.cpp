#include "export/truetype/glyphtable.h"

namespace ttf {

void GlyphTableClass::Load(FontBuffer &font) { glyph_table_ptr = bytes(font); }

const uint8_t *GlyphTableClass::GlyphData(uint32_t glyph_offset, uint32_t glyph_size) const
{
    if (glyph_offset > entry.length || glyph_size > entry.length - glyph_offset)
        RaiseFormatError();
    return glyph_table_ptr + glyph_offset;
}

GlyphHeader GlyphTableClass::GetGlyphHeader(uint32_t offset) const
{
    const uint8_t *p = GlyphData(offset, 10);
    return {int16_t(be16(p)), int16_t(be16(p + 2)), int16_t(be16(p + 4)), int16_t(be16(p + 6)),
            int16_t(be16(p + 8))};
}

std::vector<uint16_t> GlyphTableClass::CheckGlyph(uint32_t glyph_offset, uint32_t glyph_size) const
{
    std::vector<uint16_t> components;
    if (glyph_size == 0)
        return components;
    if (glyph_size < 10)
        RaiseFormatError();
    const uint8_t *glyph = GlyphData(glyph_offset, glyph_size);
    if (int16_t(be16(glyph)) >= 0)
        return components;
    uint32_t at = 10;
    uint16_t flags;
    do {
        if (at + 4 > glyph_size)
            RaiseFormatError();
        flags = be16(glyph + at);
        components.push_back(be16(glyph + at + 2));
        at += 4;
        at += (flags & ARG_1_AND_2_ARE_WORDS) ? 4 : 2;
        if (flags & WE_HAVE_A_SCALE)
            at += 2;
        else if (flags & WE_HAVE_AN_X_AND_Y_SCALE)
            at += 4;
        else if (flags & WE_HAVE_A_TWO_BY_TWO)
            at += 8;
        if (at > glyph_size)
            RaiseFormatError();
    } while (flags & MORE_COMPONENTS);
    return components;
}

uint32_t GlyphTableClass::Save(const FontBuffer &font, QByteArray &out, uint32_t offset)
{
    if (!hasPacked)
        return TrueTypeTable::Save(font, out, offset);
    return SaveBytes(out, offset, reinterpret_cast<const uint8_t *>(packed.constData()), uint32_t(packed.size()));
}

} // namespace ttf
