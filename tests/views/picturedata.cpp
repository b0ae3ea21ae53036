#include "tests/views/picturedata.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

namespace picdata {

namespace {
void put16(QByteArray &b, int at, uint16_t v) { qToLittleEndian(v, b.data() + at); }
void put32(QByteArray &b, int at, uint32_t v) { qToLittleEndian(v, b.data() + at); }
} // namespace

QByteArray image(const char *format, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QPainter(&img).fillRect(0, 0, w / 2, h, Qt::red);
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, format);
    writer.write(img);
    return out;
}

QByteArray placeableMetafile()
{
    QByteArray b(22 + 18 + 6, '\0');
    put32(b, 0, 0x9AC6CDD7u);
    put16(b, 10, 1440);  // right, in 1440ths of an inch
    put16(b, 12, 720);   // bottom
    put16(b, 14, 1440);  // units per inch
    // Standard header: in memory, 9 words, version 0x300, size in words, no objects.
    put16(b, 22, 1);
    put16(b, 24, 9);
    put16(b, 26, 0x300);
    put32(b, 28, uint32_t(b.size() / 2));
    put32(b, 34, 3);
    // End record: 3 words, function 0.
    put32(b, 40, 3);
    return b;
}

QByteArray enhancedMetafile()
{
    QByteArray b(108 + 20, '\0');
    put32(b, 0, 1);    // header record
    put32(b, 4, 108);  // its size
    put32(b, 16, 95);  // bounds, device pixels
    put32(b, 20, 47);
    put32(b, 32, 2540);  // frame, hundredths of a millimetre
    put32(b, 36, 1270);
    put32(b, 40, 0x464D4520u);  // " EMF"
    put32(b, 44, 0x10000);
    put32(b, 48, uint32_t(b.size()));
    put32(b, 52, 2);  // records
    put16(b, 56, 1);  // handles
    put32(b, 72, 1920);
    put32(b, 76, 1080);
    put32(b, 80, 508);
    put32(b, 84, 286);
    put32(b, 108, 14);  // end-of-file record
    put32(b, 112, 20);
    put32(b, 124, 20);
    return b;
}

QByteArray blobHeader(uint32_t length)
{
    QByteArray b(8, '\0');
    put16(b, 0, 1);
    put16(b, 2, 256);
    put32(b, 4, length);
    return b;
}

} // namespace picdata
