#include "export/common/deflater.h"

#include "platform/rtl/exceptions.h"

TkvlDeflater::TkvlDeflater(int Level, Format Kind)
{
    if (deflateInit2(&FZ, Level, Z_DEFLATED, Kind == Raw ? -MAX_WBITS : MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw Exception(QStringLiteral("Impossibile avviare la compressione"));
}

TkvlDeflater::~TkvlDeflater() { deflateEnd(&FZ); }

void TkvlDeflater::Pack(const char *Data, qsizetype Size, QByteArray &Out)
{
    deflateReset(&FZ);
    const qsizetype bound = qsizetype(deflateBound(&FZ, uLong(Size)));
    if (Out.size() < bound)
        Out.resize(bound);
    FZ.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(Data));
    FZ.avail_in = uInt(Size);
    FZ.next_out = reinterpret_cast<Bytef *>(Out.data());
    FZ.avail_out = uInt(Out.size());
    // The bound holds the whole output, so one call finishes the stream.
    if (deflate(&FZ, Z_FINISH) != Z_STREAM_END)
        throw Exception(QStringLiteral("Compressione non riuscita"));
    Out.resize(qsizetype(FZ.total_out));
}
