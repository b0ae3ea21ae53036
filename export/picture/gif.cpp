#include "export/picture/gif.h"

#include "platform/gfx/graphic.h"
#include "platform/rtl/stream.h"

#include <QImage>

#include <cstring>
#include <vector>

namespace {

constexpr int kHashSize = 5003;          // a prime about 80% above the 4,096 codes
constexpr int kMaxBits = 12;
constexpr int kMaxMaxCode = 1 << kMaxBits;
constexpr int kInitBits = 9;             // 8-bit pixels, plus one
constexpr int kClearCode = 256;
constexpr int kEOFCode = 257;
constexpr int kSubBlock = 254;

// The classic hashed LZW encoder of GIF, with its state owned by one call.
class LzwEncoder
{
public:
    explicit LzwEncoder(QByteArray &Out) : FOut(Out), FHashKey(kHashSize), FCodes(kHashSize)
    {
        int shift = 0;
        for (long fcode = kHashSize; fcode < 65536; fcode *= 2)
            ++shift;
        FHashShift = 8 - shift;
    }

    void Compress(const uint8_t *Pixels, int64_t Count)
    {
        FFreeCode = kClearCode + 2;
        ClearHash();
        Output(kClearCode);
        if (Count <= 0) {
            Output(kEOFCode);
            return;
        }
        int ent = Pixels[0];
        for (int64_t n = 1; n < Count; ++n) {
            const int c = Pixels[n];
            const int32_t key = (int32_t(c) << kMaxBits) + ent;
            int i = (c << FHashShift) ^ ent;
            if (FHashKey[i] == key) {
                ent = FCodes[i];
                continue;
            }
            if (FHashKey[i] >= 0) {
                const int disp = i == 0 ? 1 : kHashSize - i;
                bool found = false;
                do {
                    i -= disp;
                    if (i < 0)
                        i += kHashSize;
                    if (FHashKey[i] == key) {
                        found = true;
                        break;
                    }
                } while (FHashKey[i] > 0);
                if (found) {
                    ent = FCodes[i];
                    continue;
                }
            }
            Output(ent);
            if (FFreeCode < kMaxMaxCode) {
                FCodes[i] = uint16_t(FFreeCode++);
                FHashKey[i] = key;
            } else {
                ClearHash();
                FFreeCode = kClearCode + 2;
                FClearFlag = true;
                Output(kClearCode);
            }
            ent = c;
        }
        Output(ent);
        Output(kEOFCode);
    }

private:
    void ClearHash() { std::fill(FHashKey.begin(), FHashKey.end(), -1); }

    void Output(int Code)
    {
        FAccum &= (uint32_t(1) << FBits) - 1;
        FAccum |= uint32_t(Code) << FBits;
        FBits += FNBits;
        while (FBits >= 8) {
            CharOut(uint8_t(FAccum & 0xFF));
            FAccum >>= 8;
            FBits -= 8;
        }
        if (FFreeCode > FMaxCode || FClearFlag) {
            if (FClearFlag) {
                FNBits = kInitBits;
                FMaxCode = (1 << FNBits) - 1;
                FClearFlag = false;
            } else {
                ++FNBits;
                FMaxCode = FNBits == kMaxBits ? kMaxMaxCode : (1 << FNBits) - 1;
            }
        }
        if (Code == kEOFCode) {
            while (FBits > 0) {
                CharOut(uint8_t(FAccum & 0xFF));
                FAccum >>= 8;
                FBits -= 8;
            }
            FlushChar();
        }
    }

    void CharOut(uint8_t c)
    {
        FBlock[FBlockCount++] = c;
        if (FBlockCount >= kSubBlock)
            FlushChar();
    }

    void FlushChar()
    {
        if (FBlockCount > 0) {
            FOut.append(char(FBlockCount));
            FOut.append(reinterpret_cast<const char *>(FBlock), FBlockCount);
            FBlockCount = 0;
        }
    }

    QByteArray &FOut;
    std::vector<int32_t> FHashKey;
    std::vector<uint16_t> FCodes;
    int FHashShift = 0;
    int FFreeCode = kClearCode + 2;
    bool FClearFlag = false;
    uint32_t FAccum = 0;
    int FBits = 0;
    int FNBits = kInitBits;
    int FMaxCode = (1 << kInitBits) - 1;
    uint8_t FBlock[kSubBlock];
    int FBlockCount = 0;
};

void putWord(QByteArray &out, int w)
{
    out.append(char(w & 0xFF)).append(char((w >> 8) & 0xFF));
}

} // namespace

void GIFSaveToStream(TStream &Stream, const QImage &Image)
{
    const int w = Image.width(), h = Image.height();
    if (w <= 0 || h <= 0)
        throw EGIFError(QStringLiteral("An empty picture cannot be written as GIF"));
    if (w > 0xFFFF || h > 0xFFFF)
        throw EGIFError(QStringLiteral("A GIF picture is at most 65535 pixels wide and high, not %1 x %2")
                            .arg(w)
                            .arg(h));
    const QImage indexed = Image.format() == QImage::Format_Indexed8
                               ? Image
                               : Image.convertToFormat(QImage::Format_Indexed8, Qt::AutoColor | Qt::ThresholdDither);

    QByteArray out;
    out.reserve(800 + int64_t(w) * h);
    out.append("GIF89a", 6);
    putWord(out, w);
    putWord(out, h);
    out.append(char(0xE7)).append(char(0)).append(char(0));
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    static const char control[8] = {'\x21', '\xF9', 4, 0, 0, 0, 0, 0};
    out.append(control, 8);
    out.append("\x21\xFE\x08Korvelle\x00", 12);
    out.append(char(0x2C));
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, w);
    putWord(out, h);
    out.append(char(0));
    out.append(char(8));

    // Rows top to bottom, each left to right, without the scan lines' padding.
    std::vector<uint8_t> pixels(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        std::memcpy(pixels.data() + size_t(y) * size_t(w), indexed.constScanLine(y), size_t(w));
    LzwEncoder(out).Compress(pixels.data(), int64_t(pixels.size()));

    out.append(char(0));
    out.append(';');
    Stream.WriteBuffer(out.constData(), out.size());
}

void GIFSaveToStream(TStream &Stream, const TBitmap &Bitmap)
{
    GIFSaveToStream(Stream, Bitmap.image());
}
