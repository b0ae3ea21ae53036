#include "export/truetype/indextolocation.h"

#include "export/truetype/fontheader.h"
#include "platform/rtl/exceptions.h"

namespace ttf {

void IndexToLocationClass::LoadIndexToLocation(const FontBuffer &font, const FontHeaderClass &head)
{
    const uint8_t *p = bytes(font);
    ShortIndexToLocation.clear();
    LongIndexToLocation.clear();
    switch (head.get_indexToLocFormat()) {
    case IndexToLoc_ShortType:
        ShortIndexToLocation.resize(entry.length / 2);
        for (size_t i = 0; i < ShortIndexToLocation.size(); ++i)
            ShortIndexToLocation[i] = be16(p + 2 * i);
        break;
    case IndexToLoc_LongType:
        LongIndexToLocation.resize(entry.length / 4);
        for (size_t i = 0; i < LongIndexToLocation.size(); ++i)
            LongIndexToLocation[i] = be32(p + 4 * i);
        break;
    default:
        throw Exception(QStringLiteral("Unsupported Index to Location format"));
    }
}

uint32_t IndexToLocationClass::glyphCount() const
{
    const size_t n = entryCount();
    return n ? uint32_t(n - 1) : 0;
}

uint32_t IndexToLocationClass::GetGlyph(uint32_t index, const FontHeaderClass &head, uint32_t &location) const
{
    location = 0;
    if (index >= glyphCount())
        return 0;
    uint32_t start, end;
    switch (head.get_indexToLocFormat()) {
    case IndexToLoc_ShortType:
        start = uint32_t(ShortIndexToLocation[index]) * 2;
        end = uint32_t(ShortIndexToLocation[index + 1]) * 2;
        break;
    case IndexToLoc_LongType:
        start = LongIndexToLocation[index];
        end = LongIndexToLocation[index + 1];
        break;
    default:
        return 0;
    }
    if (end < start)
        RaiseFormatError();
    location = start;
    return end - start;
}

uint32_t IndexToLocationClass::Save(const FontBuffer &font, QByteArray &out, uint32_t offset)
{
    if (!hasPacked)
        return TrueTypeTable::Save(font, out, offset);
    return SaveBytes(out, offset, reinterpret_cast<const uint8_t *>(packed.constData()), uint32_t(packed.size()));
}

} // namespace ttf
