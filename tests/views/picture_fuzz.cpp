// Fuzz target: any bytes given to the picture view's reader, from the start and from the
// middle of the stream, give a picture or a clean refusal that leaves none.
#include "platform/rtl/stream.h"
#include "report/views/kvlpicture.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 1 << 20)
        return 0;
    TMemoryStream s(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    TPicture picture;
    for (int64_t start : {int64_t(0), int64_t(3)}) {
        if (start > int64_t(size))
            break;
        s.SetPosition(start);
        const uint32_t r = kvlLoadPicture(picture, s, start == 0);
        if ((r == kvlS_OK) == picture.Empty())
            std::abort();
        if (r == kvlS_OK)
            (void)picture.SaveToBytes();
    }
    return 0;
}
