#include "export/truetype/kerningtable.h"

namespace ttf {

void KerningTableClass::Load(FontBuffer &font)
{
    if (entry.length < 4)
        RaiseFormatError();
    const uint8_t *p = bytes(font);
    Version = be16(p);
    nTables = be16(p + 2);
    kerning_subtables_collection.clear();
    // Subtable headers in turn while they lie inside the table.
    uint32_t at = 4;
    for (uint16_t i = 0; i < nTables && at + 6 <= entry.length; ++i) {
        const CommonKerningHeader h{be16(p + at), be16(p + at + 2), be16(p + at + 4)};
        kerning_subtables_collection.emplace_back(h);
        if (h.Length < 6)
            break;
        at += h.Length;
    }
}

int KerningTableClass::get_Item(uint32_t pair) const
{
    return kerning_subtables_collection.empty() ? 0 : kerning_subtables_collection.front().get_Item(pair);
}

} // namespace ttf
