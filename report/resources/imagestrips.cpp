#include "report/resources/imagestrips.h"

#include "platform/rtl/stream.h"
#include "report/base/zstream.h"


namespace kvlres {

namespace {
// A tool bar strip is a few dozen small cells; anything larger is not one of ours.
constexpr qsizetype kMaxStripBytes = qsizetype(4) << 20;
} // namespace

QImage UnpackStrip(const QByteArray &Packed)
{
    if (Packed.isEmpty())
        return QImage();
    TMemoryStream source(Packed), target;
    try {
        kvlDecompressStream(source, target, kMaxStripBytes);
    } catch (const std::exception &) {
        return QImage(); // a damaged strip leaves the tool bar without pictures
    }
    return QImage::fromData(target.Bytes());
}

} // namespace kvlres
