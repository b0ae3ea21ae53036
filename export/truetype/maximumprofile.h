#pragma once
// 'maxp': the glyph count (version 0.5 holds only that; 1.0 the limits too).
#include "export/truetype/truetypetable.h"

namespace ttf {

class MaximumProfileClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    void Load(FontBuffer &font) override;

    uint32_t Version = 0;
    uint16_t numGlyphs = 0, maxComponentDepth = 0;
};

} // namespace ttf
