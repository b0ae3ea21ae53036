#pragma once
// 'GSUB': its header; the table is moved whole.
#include "export/truetype/truetypetable.h"

namespace ttf {

class GlyphSubstitutionClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    void Load(FontBuffer &font) override;

    uint32_t Version = 0;
    uint16_t ScriptList = 0, FeatureList = 0, LookupList = 0;
};

} // namespace ttf
