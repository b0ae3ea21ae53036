#pragma once
// 'head': em size, loca form; its checkSumAdjustment is zeroed on load and written last.
#include "export/truetype/truetypetable.h"

namespace ttf {

enum IndexToLoc { IndexToLoc_ShortType = 0, IndexToLoc_LongType = 1 };

class FontHeaderClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    static constexpr uint32_t Size = 54;

    void Load(FontBuffer &font) override;
    // The record at the written table's offset of out, with checkSumAdjustment := checkSum.
    void SaveFontHeader(QByteArray &out, uint32_t checkSum) const;

    int get_indexToLocFormat() const { return indexToLocFormat; }

    uint32_t magicNumber = 0;
    uint16_t flags = 0, unitsPerEm = 0;
    int16_t indexToLocFormat = 0;

private:
    uint8_t m_record[Size] = {};
};

} // namespace ttf
