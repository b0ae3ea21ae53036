#include "export/truetype/nametable.h"

namespace ttf {

void NameTableClass::Load(FontBuffer &font)
{
    if (entry.length < 6)
        RaiseFormatError();
    const uint8_t *p = bytes(font);
    name_header = {be16(p), be16(p + 2), be16(p + 4)};
    if (6 + 12 * uint32_t(name_header.Count) > entry.length || name_header.stringOffset > entry.length)
        RaiseFormatError();
    namerecord_ptr = p + 6;
    string_storage_ptr = p + name_header.stringOffset;
    m_storageSize = entry.length - name_header.stringOffset;
}

QString NameTableClass::get_Item(int nameId) const
{
    for (uint32_t i = 0; i < name_header.Count; ++i) {
        const uint8_t *r = namerecord_ptr + 12 * i;
        const uint16_t platform = be16(r), encoding = be16(r + 2), id = be16(r + 6);
        if (id != nameId || !(platform == 0 || (platform == 3 && encoding == 1)))
            continue;
        const uint32_t length = be16(r + 8), offset = be16(r + 10);
        if (offset > m_storageSize || length > m_storageSize - offset)
            RaiseFormatError();
        QString s(qsizetype(length / 2), Qt::Uninitialized);
        const uint8_t *text = string_storage_ptr + offset;
        for (uint32_t k = 0; k < length / 2; ++k)
            s[k] = QChar(be16(text + 2 * k));
        return s;
    }
    return {};
}

} // namespace ttf
