#include "report/utils/streams.h"

#include <QByteArray>
#include <zlib.h>

namespace {

// Reads the device from 0 in blocks, handing each block to f; restores the position.
template <typename F> void forEachBlock(QIODevice &dev, F &&f)
{
    const qint64 saved = dev.pos();
    if (dev.isSequential() || !dev.seek(0))
        return;
    char buf[65536];
    for (;;) {
        const qint64 n = dev.read(buf, sizeof buf);
        if (n <= 0)
            break;
        f(buf, n);
    }
    dev.seek(saved);
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

uint32_t kvlStreamCRC32(QIODevice &Stream)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    forEachBlock(Stream, [&](const char *p, qint64 n) {
        crc = crc32(crc, reinterpret_cast<const Bytef *>(p), static_cast<uInt>(n));
    });
    return static_cast<uint32_t>(crc);
}

QString kvlStreamToString(QIODevice &Stream)
{
    QByteArray hex;
    forEachBlock(Stream, [&](const char *p, qint64 n) { hex += QByteArray(p, n).toHex().toUpper(); });
    return QString::fromLatin1(hex);
}

void kvlStringToStream(const QString &Text, QIODevice &Stream)
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
    if (Stream.seek(0))
        Stream.write(bytes);
}
