#pragma once
// Device-independent bitmaps of 24 bits per pixel, bottom-up: the pixels of BMP files and
// of the metafiles' picture records.
#include <QByteArray>

class QImage;

namespace kvl::picture {

struct Dib {
    QByteArray info;  // the 40-byte information header
    QByteArray bits;  // rows from the bottom up, blue-green-red, each padded to 4 bytes
};

Dib MakeDib(const QImage &Image);

} // namespace kvl::picture
