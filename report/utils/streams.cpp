#include "report/utils/streams.h"

#include "platform/rtl/stream.h"

#include <QByteArray>
#include <zlib.h>

namespace {

// Reads the device from 0 in blocks, handing each block to f; restores the position.
template <typename F> void forEachBlock(TStream &stream, F &&f)
{
    const int64_t saved = stream.Position();
    stream.SetPosition(0);
    char buf[65536];
    for (;;) {
        const int64_t n = stream.Read(buf, sizeof buf);
        if (n <= 0)
            break;
        f(buf, n);
    }
    stream.SetPosition(saved);
}

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

uint32_t kvlStreamCRC32(TStream &Stream)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    forEachBlock(Stream, [&](const char *p, int64_t n) {
        crc = crc32(crc, reinterpret_cast<const Bytef *>(p), static_cast<uInt>(n));
    });
    return static_cast<uint32_t>(crc);
}

QString kvlStreamToString(TStream &Stream)
{
    QByteArray hex;
    forEachBlock(Stream, [&](const char *p, int64_t n) { hex += QByteArray(p, n).toHex().toUpper(); });
    return QString::fromLatin1(hex);
}

void kvlStringToStream(const QString &Text, TStream &Stream)
{
    QByteArray bytes;
    bytes.reserve(Text.size() / 2);
    for (qsizetype i = 0; i + 1 < Text.size(); i += 2) {
        const int hi = hexValue(Text[i]);
        const int lo = hexValue(Text[i + 1]);
        if (hi < 0 || lo < 0)
            break;
        bytes.append(char(hi * 16 + lo));
    }
    Stream.SetPosition(0);
    Stream.WriteBytes(bytes);
}
