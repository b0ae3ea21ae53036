#pragma once
// Compression over zlib (zlib stream format): a write-only compressing stream, an in-memory
// inflater and the unpacker of the library's packed button-image resources.
#include "platform/rtl/stream.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

struct z_stream_s;

enum TZCompressionLevel { zcNone, zcFastest, zcDefault, zcMax };

LIRRA_DECLARE_EXCEPTION(EZLibError, Exception)
LIRRA_DECLARE_EXCEPTION(EZCompressionError, EZLibError)
LIRRA_DECLARE_EXCEPTION(EZDecompressionError, EZLibError)

class TCustomZStream : public TStream
{
public:
    ~TCustomZStream() override;
    std::function<void(TCustomZStream *Sender)> OnProgress;

protected:
    explicit TCustomZStream(TStream &Strm);
    void Progress();

    TStream &FStrm;
    int64_t FStreamPos;  // where the compressed data continues in FStrm
    std::unique_ptr<z_stream_s> FZRec;
    std::unique_ptr<char[]> FBuffer;
};

class TZCompressionStream : public TCustomZStream
{
public:
    static constexpr int kBufferSize = 65536;

    TZCompressionStream(TStream &Dest, TZCompressionLevel CompressionLevel = zcDefault);
    // Finishes the compressed data unless Finish was called; errors cannot be reported here,
    // so callers that care call Finish themselves.
    ~TZCompressionStream() override;

    // Writes the rest of the compressed data and releases zlib. Called once; later calls do nothing.
    void Finish();

    int64_t Read(void *Buffer, int64_t Count) override;  // raises: write-only
    int64_t Write(const void *Buffer, int64_t Count) override;
    // Only Seek(0, soCurrent) is allowed: the count of uncompressed bytes written so far.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    // (1 - compressed / uncompressed) x 100; 0 before anything was written.
    double CompressionRate() const;

private:
    void flushBuffer();
    bool FFinished = false;
};

// What ZDecompress inflates to when the caller names no size: a few hundred kilobytes of
// deflated data may otherwise claim gigabytes.
constexpr qsizetype kZDefaultMaxOutput = qsizetype(16) << 20;

// Inflates a complete zlib stream held in memory. OutEstimate is the first buffer size
// (0: the input size rounded up to 256). Output beyond MaxOutput is refused ("insufficient
// memory"): callers pass the size they expect, or a bound their format gives.
QByteArray ZDecompress(const char *In, qsizetype InSize, qsizetype OutEstimate = 0,
                       qsizetype MaxOutput = kZDefaultMaxOutput);
inline QByteArray ZDecompress(const QByteArray &In, qsizetype OutEstimate = 0,
                              qsizetype MaxOutput = kZDefaultMaxOutput)
{
    return ZDecompress(In.constData(), In.size(), OutEstimate, MaxOutput);
}

// Compresses the whole of Source, from its start, into Target as one complete zlib stream.
void kvlDeflateStream(TStream &Source, TStream &Target, TZCompressionLevel Level = zcDefault);

// Unpacks a packed resource read from Source's position (a gzip member whose time field
// holds the Adler-32 of the data) and writes the plain bytes to Target. HeaderText, when
// given, receives the two zlib header bytes as single-byte text. The member's trailer gives
// the plain size: a size above MaxOutput is refused before inflating, data inflating beyond
// it is refused too, and data inflating to less is damaged.
void kvlDecompressStream(TStream &Source, TStream &Target, qsizetype MaxOutput, QString *HeaderText = nullptr);
