// Fuzz target of the inflating readers: any input either inflates or raises
// EZDecompressionError; whatever is deflated inflates back to the same bytes.
#include "report/base/zstream.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        ZDecompress(bytes.constData(), bytes.size(), 0, qsizetype(1) << 24);
    } catch (const EZDecompressionError &) {
    }
    try {
        TMemoryStream src(bytes), dst;
        kvlDecompressStream(src, dst, qsizetype(1) << 24);
    } catch (const EZDecompressionError &) {
    }

    TMemoryStream src(bytes), packed;
    kvlDeflateStream(src, packed, size % 2 ? zcFastest : zcDefault);
    if (ZDecompress(packed.Bytes(), 0, bytes.size() + 1) != bytes)
        std::abort();
    return 0;
}
