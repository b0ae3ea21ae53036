#include "report/resources/imagestrips.h"

#include "platform/rtl/stream.h"
#include "report/base/zstream.h"


namespace kvlres {

QImage UnpackStrip(const QByteArray &Packed)
{
    if (Packed.isEmpty())
        return QImage();
    TMemoryStream source(Packed), target;
    try {
        kvlDecompressStream(source, target);
    } catch (const std::exception &) {
        return QImage(); // a damaged strip leaves the tool bar without pictures
    }
    return QImage::fromData(target.Bytes());
}

} // namespace kvlres
