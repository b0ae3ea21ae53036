#pragma once
// Decoding PNG and JPEG files straight through their reference libraries: pixels go into the
// image's own rows, and data that ends early is refused rather than padded with grey.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace gfx {

// The decoded image, or a null image with Error set (a short reason in Italian).
QImage DecodePng(const QByteArray &Data, QString &Error);
QImage DecodeJpeg(const QByteArray &Data, QString &Error);

} // namespace gfx
