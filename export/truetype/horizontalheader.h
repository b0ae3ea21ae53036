#pragma once
// 'hhea': the number of advance widths in 'hmtx'.
#include "export/truetype/truetypetable.h"

namespace ttf {

class HorizontalHeaderClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    static constexpr uint32_t Size = 36;
    void Load(FontBuffer &font) override;

    int16_t Ascender = 0, Descender = 0, LineGap = 0;
    uint16_t advanceWidthMax = 0, numberOfHMetrics = 0;
};

} // namespace ttf
