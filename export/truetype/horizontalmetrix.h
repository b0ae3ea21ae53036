#pragma once
// 'hmtx': advance widths and left side bearings.
#include "export/truetype/truetypetable.h"

#include <vector>

namespace ttf {

struct longHorMetric {
    uint16_t advanceWidth = 0;
    int16_t lsb = 0;
};

class HorizontalMetrixClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    // NumberOfMetrics is set from 'hhea' before the load.
    void Load(FontBuffer &font) override;
    // Advance of entry index (below NumberOfMetrics).
    uint16_t GetItem(uint32_t index) const { return MetrixTable[index].advanceWidth; }

    uint32_t NumberOfMetrics = 0;
    std::vector<longHorMetric> MetrixTable;
};

} // namespace ttf
