#pragma once
// 'post': written into a subset as a version 3.0 header (no glyph names).
#include "export/truetype/truetypetable.h"

namespace ttf {

class PostScriptClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    static constexpr uint32_t Size = 32;
    void Load(FontBuffer &font) override;
    uint32_t Save(const FontBuffer &font, QByteArray &out, uint32_t offset) override;

    uint32_t Version = 0, ItalicAngle = 0;
    int16_t underlinePosition = 0, underlineThickness = 0;
    uint32_t isFixedPitch = 0, minMemType42 = 0, maxMemType42 = 0, minMemType1 = 0, maxMemType1 = 0;
};

} // namespace ttf
