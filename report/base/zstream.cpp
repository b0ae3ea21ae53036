#include "report/base/zstream.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

// zlib's own texts for its error results; kept here so that they never depend on the
// library build.
const char *zMessage(int code)
{
    switch (code) {
    case Z_ERRNO: return "file error";
    case Z_STREAM_ERROR: return "stream error";
    case Z_DATA_ERROR: return "data error";
    case Z_MEM_ERROR: return "insufficient memory";
    case Z_BUF_ERROR: return "buffer error";
    case Z_VERSION_ERROR: return "incompatible version";
    default: return "data error";
    }
}

const char kZVersion[] = "1.2.1";
const char kInvalidOperation[] = "Invalid ZStream operation!";

int compressCheck(int code)
{
    if (code < 0)
        throw EZCompressionError(QString::fromLatin1(zMessage(code)));
    return code;
}

int zLevel(TZCompressionLevel Level)
{
    switch (Level) {
    case zcNone: return 0;
    case zcFastest: return 1;
    case zcMax: return 9;
    case zcDefault: break;
    }
    return Z_DEFAULT_COMPRESSION;
}

struct InflateGuard {
    z_stream *z;
    ~InflateGuard() { inflateEnd(z); }
};

} // namespace

// ---- TCustomZStream ----

TCustomZStream::TCustomZStream(TStream &Strm)
    : FStrm(Strm), FStreamPos(Strm.Position()), FZRec(std::make_unique<z_stream>())
{
    std::memset(FZRec.get(), 0, sizeof(z_stream));
}

TCustomZStream::~TCustomZStream() = default;

void TCustomZStream::Progress()
{
    if (OnProgress)
        OnProgress(this);
}

// ---- TZCompressionStream ----

TZCompressionStream::TZCompressionStream(TStream &Dest, TZCompressionLevel CompressionLevel)
    : TCustomZStream(Dest)
{
    FBuffer.reset(new char[kBufferSize]);
    FZRec->next_out = reinterpret_cast<Bytef *>(FBuffer.get());
    FZRec->avail_out = kBufferSize;
    compressCheck(deflateInit_(FZRec.get(), zLevel(CompressionLevel), kZVersion, int(sizeof(z_stream))));
}

TZCompressionStream::~TZCompressionStream()
{
    try {
        Finish();
    } catch (...) {
        // The caller did not ask for the result; zlib is released all the same.
    }
}

void TZCompressionStream::flushBuffer()
{
    FStrm.WriteBuffer(FBuffer.get(), kBufferSize - FZRec->avail_out);
    FStreamPos = FStrm.Position();
    FZRec->next_out = reinterpret_cast<Bytef *>(FBuffer.get());
    FZRec->avail_out = kBufferSize;
}

void TZCompressionStream::Finish()
{
    if (FFinished)
        return;
    FFinished = true;
    FZRec->next_in = nullptr;
    FZRec->avail_in = 0;
    try {
        if (FStrm.Position() != FStreamPos)
            FStrm.SetPosition(FStreamPos);
        while (compressCheck(deflate(FZRec.get(), Z_FINISH)) != Z_STREAM_END)
            flushBuffer();
        if (FZRec->avail_out < unsigned(kBufferSize))
            flushBuffer();
    } catch (...) {
        deflateEnd(FZRec.get());
        throw;
    }
    deflateEnd(FZRec.get());
}

int64_t TZCompressionStream::Read(void *, int64_t)
{
    throw EZCompressionError(QString::fromLatin1(kInvalidOperation));
}

int64_t TZCompressionStream::Write(const void *Buffer, int64_t Count)
{
    if (FFinished)
        throw EZCompressionError(QString::fromLatin1(kInvalidOperation));
    if (Count <= 0)
        return 0;
    if (FStrm.Position() != FStreamPos)
        FStrm.SetPosition(FStreamPos);
    const char *p = static_cast<const char *>(Buffer);
    int64_t left = Count;
    while (left > 0) {
        // zlib counts in 32 bits: feed very large buffers in parts.
        const uInt chunk = uInt(std::min<int64_t>(left, 1 << 30));
        FZRec->next_in = reinterpret_cast<Bytef *>(const_cast<char *>(p));
        FZRec->avail_in = chunk;
        while (FZRec->avail_in > 0) {
            compressCheck(deflate(FZRec.get(), Z_NO_FLUSH));
            if (FZRec->avail_out == 0) {
                flushBuffer();
                Progress();
            }
        }
        p += chunk;
        left -= chunk;
    }
    return Count;
}

int64_t TZCompressionStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    if (Offset == 0 && Origin == soCurrent)
        return int64_t(FZRec->total_in);
    throw EZCompressionError(QString::fromLatin1(kInvalidOperation));
}

double TZCompressionStream::CompressionRate() const
{
    if (FZRec->total_in == 0)
        return 0;
    return (1.0 - double(FZRec->total_out) / double(FZRec->total_in)) * 100.0;
}

// ---- functions ----

QByteArray ZDecompress(const char *In, qsizetype InSize, qsizetype OutEstimate, qsizetype MaxOutput)
{
    if (InSize < 0 || InSize > std::numeric_limits<uInt>::max())
        throw EZDecompressionError(QString::fromLatin1(zMessage(Z_DATA_ERROR)));
    z_stream z;
    std::memset(&z, 0, sizeof z);
    const int init = inflateInit_(&z, kZVersion, int(sizeof(z_stream)));
    if (init < 0)
        throw EZDecompressionError(QString::fromLatin1(zMessage(init)));
    InflateGuard guard{&z};

    const qsizetype step = std::max<qsizetype>(256, (InSize + 255) & ~qsizetype(255));
    MaxOutput = std::min<qsizetype>(MaxOutput, std::numeric_limits<int>::max() - 64);
    qsizetype size = std::min(OutEstimate > 0 ? OutEstimate : step, MaxOutput);
    QByteArray out(size, Qt::Uninitialized);

    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(In));
    z.avail_in = uInt(InSize);
    for (;;) {
        if (qsizetype(z.total_out) == size) {
            // Grow geometrically; refuse what no packed data of ours could need.
            if (size >= MaxOutput)
                throw EZDecompressionError(QString::fromLatin1(zMessage(Z_MEM_ERROR)));
            size = std::min(size + std::max(step, size), MaxOutput);
            out.resize(size);
        }
        z.next_out = reinterpret_cast<Bytef *>(out.data() + z.total_out);
        z.avail_out = uInt(size - qsizetype(z.total_out));
        const uInt inBefore = z.avail_in, outBefore = z.avail_out;
        const int r = inflate(&z, Z_NO_FLUSH);
        if (r == Z_STREAM_END)
            break;
        // Anything else than progress (a truncated stream, a dictionary, a damaged block)
        // is damaged data.
        if (r != Z_OK || (z.avail_in == inBefore && z.avail_out == outBefore))
            throw EZDecompressionError(QString::fromLatin1(zMessage(Z_DATA_ERROR)));
    }
    out.truncate(qsizetype(z.total_out));
    return out;
}

void kvlDeflateStream(TStream &Source, TStream &Target, TZCompressionLevel Level)
{
    TZCompressionStream z(Target, Level);
    z.CopyFrom(Source, 0);
    z.Finish();
}

void kvlDecompressStream(TStream &Source, TStream &Target, qsizetype MaxOutput, QString *HeaderText)
{
    // Fixed header (10 bytes) and trailer (8 bytes) at the least.
    constexpr int64_t kHeader = 10, kTrailer = 8;
    const int64_t size = Source.Size();
    int64_t pos = Source.Position();
    if (size - pos < kHeader + kTrailer)
        throw EZDecompressionError(QString::fromLatin1(zMessage(Z_DATA_ERROR)));
    uchar head[kHeader];
    Source.ReadBuffer(head, kHeader);
    pos += kHeader;
    if (head[0] != 0x1F || head[1] != 0x8B || head[2] != 0x08)
        throw EZDecompressionError(QString::fromLatin1(zMessage(Z_DATA_ERROR)));
    const uchar checksum[4] = {head[4], head[5], head[6], head[7]};
    if (head[3] & 8) {
        // Skip the stored file name up to its zero byte.
        char c = 1;
        while (c != 0) {
            if (pos >= size - kTrailer)
                throw EZDecompressionError(QString::fromLatin1(zMessage(Z_DATA_ERROR)));
            Source.ReadBuffer(&c, 1);
            ++pos;
        }
    }
    const int64_t dataLen = size - kTrailer - pos;
    if (dataLen > std::numeric_limits<int>::max() - 64)
        throw EZDecompressionError(QString::fromLatin1(zMessage(Z_MEM_ERROR)));

    QByteArray z(qsizetype(dataLen + 6), Qt::Uninitialized);
    z[0] = char(0x78);
    z[1] = char(0xDA);
    Source.ReadBuffer(z.data() + 2, dataLen);
    std::memcpy(z.data() + 2 + dataLen, checksum, 4);
    uchar trailer[kTrailer];
    Source.ReadBuffer(trailer, kTrailer);
    const qsizetype expected = qsizetype(qFromLittleEndian<quint32>(trailer + 4));
    if (expected > MaxOutput)
        throw EZDecompressionError(QString::fromLatin1(zMessage(Z_MEM_ERROR)));

    // One byte of room beyond the stated size tells a longer stream from an exact one.
    const QByteArray plain = ZDecompress(z.constData(), z.size(), expected + 1, expected + 1);
    if (plain.size() != expected)
        throw EZDecompressionError(QString::fromLatin1(zMessage(Z_DATA_ERROR)));
    Target.WriteBuffer(plain.constData(), plain.size());
    if (HeaderText)
        *HeaderText = QString(QChar(0x78)) + QChar(0xDA);  // the two bytes in code page 1252
}
