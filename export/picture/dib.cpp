#include "export/picture/dib.h"

#include <QImage>

namespace kvl::picture {

namespace {

void put16(QByteArray &b, int v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void put32(QByteArray &b, uint32_t v)
{
    put16(b, int(v & 0xFFFF));
    put16(b, int(v >> 16));
}

} // namespace

Dib MakeDib(const QImage &Source)
{
    const QImage img = Source.convertToFormat(QImage::Format_RGB888);
    const int w = img.width(), h = img.height();
    const qsizetype stride = (qsizetype(w) * 3 + 3) & ~qsizetype(3);
    Dib d;
    put32(d.info, 40);
    put32(d.info, uint32_t(w));
    put32(d.info, uint32_t(h));
    put16(d.info, 1);
    put16(d.info, 24);
    put32(d.info, 0);  // BI_RGB
    put32(d.info, uint32_t(stride * h));
    put32(d.info, 3780);  // 96 per inch, in pixels per metre
    put32(d.info, 3780);
    put32(d.info, 0);
    put32(d.info, 0);
    d.bits = QByteArray(stride * h, '\0');
    for (int y = 0; y < h; ++y) {
        const uchar *src = img.constScanLine(y);
        char *dst = d.bits.data() + qsizetype(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = char(src[3 * x + 2]);
            dst[3 * x + 1] = char(src[3 * x + 1]);
            dst[3 * x + 2] = char(src[3 * x]);
        }
    }
    return d;
}

} // namespace kvl::picture
