#include "export/truetype/glyphsubstitution.h"

namespace ttf {

void GlyphSubstitutionClass::Load(FontBuffer &font)
{
    if (entry.length < 10)
        RaiseFormatError();
    const uint8_t *p = font.at(entry.offset, 10);
    Version = be32(p);
    ScriptList = be16(p + 4);
    FeatureList = be16(p + 6);
    LookupList = be16(p + 8);
}

} // namespace ttf
