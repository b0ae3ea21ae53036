#pragma once
// 'kern': the table header and the headers of its subtables; moved whole.
#include "export/truetype/truetypetable.h"

#include <vector>

namespace ttf {

struct CommonKerningHeader {
    uint16_t Version = 0, Length = 0, Coverage = 0;
};

class KerningSubtableClass {
public:
    explicit KerningSubtableClass(const CommonKerningHeader &h) : common_header(h) {}
    // Pair values are not read: every pair kerns by 0.
    int get_Item(uint32_t) const { return 0; }
    CommonKerningHeader common_header;
};

class KerningTableClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    void Load(FontBuffer &font) override;
    // Kerning of a pair (next glyph << 16 | glyph).
    int get_Item(uint32_t pair) const;

    uint16_t Version = 0, nTables = 0;
    std::vector<KerningSubtableClass> kerning_subtables_collection;
};

} // namespace ttf
