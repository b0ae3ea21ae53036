#include "export/truetype/truetypetable.h"

#include <cstring>

namespace ttf {

TrueTypeTable::TrueTypeTable(const FontBuffer &font, uint64_t pos)
{
    const uint8_t *p = font.at(pos, 16);
    entry.tag = be32(p);
    entry.checkSum = be32(p + 4);
    entry.offset = be32(p + 8);
    entry.length = be32(p + 12);
    font.at(entry.offset, entry.length);
    saved = entry;
}

void TrueTypeTable::Load(FontBuffer &) {}

uint32_t TrueTypeTable::Save(const FontBuffer &font, QByteArray &out, uint32_t offset)
{
    return StoreTable(font, out, offset);
}

uint32_t TrueTypeTable::StoreTable(const FontBuffer &source, QByteArray &dest, uint32_t newOffset)
{
    const uint32_t size = RoundUp4(entry.length);
    const uint8_t *from = source.at(entry.offset, entry.length);
    saved = entry;
    saved.offset = newOffset;
    const bool same = dest.constData() == reinterpret_cast<const char *>(source.data());
    if (same && newOffset == entry.offset)
        return newOffset + size;
    // Within one buffer the ranges may overlap, and growing it may move it: copy first.
    QByteArray copy;
    if (same) {
        copy = QByteArray(reinterpret_cast<const char *>(from), entry.length);
        from = reinterpret_cast<const uint8_t *>(copy.constData());
    }
    uint8_t *to = OutputAt(dest, newOffset, size);
    std::memcpy(to, from, entry.length);
    std::memset(to + entry.length, 0, size - entry.length);
    return newOffset + size;
}

uint32_t TrueTypeTable::SaveBytes(QByteArray &out, uint32_t offset, const uint8_t *data, uint32_t len)
{
    const uint32_t size = RoundUp4(len);
    uint8_t *to = OutputAt(out, offset, size);
    if (len)
        std::memcpy(to, data, len);
    std::memset(to + len, 0, size - len);
    saved = entry;
    saved.offset = offset;
    saved.length = len;
    return offset + size;
}

uint8_t *TrueTypeTable::StoreDescriptor(uint8_t *descriptor) const
{
    put32(descriptor, saved.tag);
    put32(descriptor + 4, saved.checkSum);
    put32(descriptor + 8, saved.offset);
    put32(descriptor + 12, saved.length);
    return descriptor + 16;
}

QString TrueTypeTable::get_TAGLINE() const
{
    const char s[4] = {char(entry.tag >> 24), char(entry.tag >> 16), char(entry.tag >> 8), char(entry.tag)};
    return QString::fromLatin1(s, 4);
}

} // namespace ttf
