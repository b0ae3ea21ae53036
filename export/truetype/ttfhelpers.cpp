#include "export/truetype/ttfhelpers.h"

#include "platform/rtl/exceptions.h"

namespace ttf {

void RaiseFormatError() { throw Exception(QStringLiteral("TrueType font format error")); }

uint32_t CalcChecksum(const uint8_t *p, size_t len)
{
    uint32_t sum = 0;
    size_t i = 0;
    for (; i + 4 <= len; i += 4)
        sum += be32(p + i);
    if (i < len) {
        uint8_t last[4] = {0, 0, 0, 0};
        for (size_t k = 0; i + k < len; ++k)
            last[k] = p[i + k];
        sum += be32(last);
    }
    return sum;
}

uint8_t *OutputAt(QByteArray &out, uint32_t pos, uint32_t len)
{
    const qsizetype end = qsizetype(pos) + qsizetype(len);
    if (out.size() < end)
        out.resize(end, '\0');
    return reinterpret_cast<uint8_t *>(out.data()) + pos;
}

} // namespace ttf
