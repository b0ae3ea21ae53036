#pragma once
// Small pictures of every format the picture view recognises, as file bytes.
#include <QByteArray>
#include <QColor>

namespace picdata {

// A w x h picture in Qt's writer for format ("BMP", "JPEG", "PNG", "ICO"): red left half,
// blue right half.
QByteArray image(const char *format, int w = 16, int h = 8);
// Metafile data whose header says 96 x 48 pixels (1 x 0.5 inch).
QByteArray placeableMetafile();
QByteArray enhancedMetafile();
// The 8-byte header some databases put before a picture: 1, 256 and the given length.
QByteArray blobHeader(uint32_t length);

} // namespace picdata
