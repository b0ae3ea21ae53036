#pragma once
// The library's tool-bar and palette pictures: bitmap strips stored in the program as packed
// resources (gzip members), cut into cells by the string table's image lists.
#include <QByteArray>
#include <QImage>

namespace kvlres {

// The packed strip stored in the program under Name ("DesgnButtons", "PreviewButtons",
// "ObjectButtons", "WizardButtons"); empty when the program carries none.
QByteArray PackedStrip(const QString &Name);

// The bitmap inside a packed strip; a null image when the data cannot be unpacked or read.
QImage UnpackStrip(const QByteArray &Packed);

} // namespace kvlres
