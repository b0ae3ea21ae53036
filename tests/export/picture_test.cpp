// The GIF writer and the picture converter, read back by Pillow.
#include "export/picture/gif.h"
#include "export/picture/kvlimageconverter.h"
#include "exporttestutil.h"
#include "picturetestutil.h"
#include "platform/gfx/graphic.h"
#include "platform/rtl/stream.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace exporttest;

namespace {

constexpr int kImageDataStart = 6 + 7 + 768 + 8 + 12 + 10;  // up to the LZW code size byte

struct GifData {
    std::vector<int> blockSizes;
    QByteArray codes;
};

// The image data's sub-blocks, from the minimum code size byte to the terminator.
GifData SubBlocks(const QByteArray &gif)
{
    GifData d;
    int p = kImageDataStart + 1;
    while (p < gif.size() && gif[p] != 0) {
        const int n = uchar(gif[p]);
        d.blockSizes.push_back(n);
        d.codes += gif.mid(p + 1, n);
        p += n + 1;
    }
    return d;
}

struct CodeStats {
    int codes = 0;
    int clears = 0;
    int maxWidth = 0;
    bool endedWithEof = false;
};

// Reads the variable-width codes the way a GIF decoder does: the width grows when the next
// free code passes the current width's range and restarts at 9 bits after a clear code.
CodeStats ReadCodes(const QByteArray &data)
{
    CodeStats s;
    int width = 9, next = 258;
    uint32_t acc = 0;
    int bits = 0;
    qsizetype p = 0;
    for (;;) {
        while (bits < width && p < data.size()) {
            acc |= uint32_t(uchar(data[p++])) << bits;
            bits += 8;
        }
        if (bits < width)
            break;
        const int code = int(acc & ((1u << width) - 1));
        acc >>= width;
        bits -= width;
        ++s.codes;
        s.maxWidth = std::max(s.maxWidth, width);
        if (code == 256) {
            ++s.clears;
            width = 9;
            next = 258;
            continue;
        }
        if (code == 257) {
            s.endedWithEof = true;
            break;
        }
        if (next < 4097 && ++next > (1 << width) && width < 12)
            ++width;
    }
    return s;
}

QByteArray Gif(const QImage &img)
{
    TMemoryStream s;
    GIFSaveToStream(s, TBitmap(img));
    return s.Bytes();
}

TEST(Gif, OnePixelIsOneFourByteSubBlock)
{
    QImage img(1, 1, QImage::Format_RGB32);
    img.fill(QColor(10, 20, 30));
    const QByteArray gif = Gif(img);
    EXPECT_EQ(gif.left(13).toHex(), QByteArray("4749463839610100010" "0e70000"));
    EXPECT_EQ(gif.mid(13 + 768, 20).toHex(), QByteArray("21f904000000000021fe084b6f7276656c6c6500"));
    EXPECT_EQ(gif.mid(kImageDataStart - 10, 10).toHex(), QByteArray("2c000000000100010000"));
    const GifData d = SubBlocks(gif);
    EXPECT_EQ(uchar(gif[kImageDataStart]), 8);
    EXPECT_EQ(d.blockSizes, std::vector<int>{4});
    const CodeStats s = ReadCodes(d.codes);
    EXPECT_EQ(s.codes, 3);  // clear, the pixel, end
    EXPECT_EQ(s.maxWidth, 9);
    EXPECT_EQ(gif.size(), kImageDataStart + 1 + 1 + 4 + 1 + 1);
    EXPECT_EQ(gif.right(2), QByteArray("\x00;", 2));
}

// Noise over 256 distinct colours: the codes reach 12 bits, the table fills and is cleared,
// and Pillow decodes every pixel to the colour it had.
TEST(Gif, NoiseReachesTwelveBitCodesWithAClearAndDecodesInPillow)
{
    QImage img(256, 256, QImage::Format_RGB32);
    uint32_t x = 99;
    for (int y = 0; y < 256; ++y)
        for (int i = 0; i < 256; ++i) {
            x = x * 1664525u + 1013904223u;
            const int k = int(x >> 24);
            img.setPixel(i, y, qRgb(k, 255 - k, (k * 7) & 255));
        }
    const QByteArray gif = Gif(img);
    const GifData d = SubBlocks(gif);
    ASSERT_FALSE(d.blockSizes.empty());
    EXPECT_LE(*std::max_element(d.blockSizes.begin(), d.blockSizes.end()), 254);
    EXPECT_EQ(d.blockSizes.front(), 254);
    const CodeStats s = ReadCodes(d.codes);
    EXPECT_TRUE(s.endedWithEof);
    EXPECT_EQ(s.maxWidth, 12);
    EXPECT_GE(s.clears, 2);  // the opening one and at least one when the table filled

    QTemporaryDir dir;
    WriteFile(dir.path() + QStringLiteral("/noise.gif"), gif);
    QByteArray rgb;
    for (int y = 0; y < 256; ++y)
        for (int i = 0; i < 256; ++i) {
            const QRgb c = img.pixel(i, y);
            rgb.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
        }
    WriteFile(dir.path() + QStringLiteral("/noise.rgb"), rgb);
    const RunResult r = Python(R"PY(
import sys
from PIL import Image
im = Image.open(sys.argv[1])
pal = im.getpalette()
ok = im.size == (256, 256) and len(pal) == 768 and im.mode == 'P'
src = open(sys.argv[2], 'rb').read()
ix = im.tobytes()
for n in range(256 * 256):
    if tuple(pal[3 * ix[n]:3 * ix[n] + 3]) != tuple(src[3 * n:3 * n + 3]):
        ok = False
        break
print(ok)
)PY",
                               {dir.path() + QStringLiteral("/noise.gif"), dir.path() + QStringLiteral("/noise.rgb")});
    EXPECT_EQ(r.out.trimmed(), QByteArray("True")) << r.err.constData();
}

TEST(Gif, SizesBeyondSixteenBitsAreRefused)
{
    EXPECT_THROW(Gif(QImage(65536, 1, QImage::Format_RGB32)), EGIFError);
    EXPECT_THROW(Gif(QImage()), EGIFError);
}

// ---------------------------------------------------------------------------------------------

TEST(PictureConverter, SixFormatsReadBackAtTheirSize)
{
    const auto mf = SampleRecording();
    QTemporaryDir dir;
    const char *names[] = {"png", "bmp", "emf", "wmf", "jpg", "gif"};
    for (int t = gpPNG; t <= gpGIF; ++t)
        SaveGraphicAs(*mf, dir.path() + QStringLiteral("/pic.") + QLatin1String(names[t]), TkvlPictureType(t));

    // Unpainted (2, 2), inside the red fill (20, 15), inside the magenta image (9, 39).
    const RunResult r = Python(R"PY(
import sys, os
from PIL import Image
d = sys.argv[1]
def near(a, b, tol): return all(abs(x - y) <= tol for x, y in zip(a, b))
out = []
for ext, mode, bg, tol in [('png', 'RGB', (0x56, 0x34, 0x12), 0), ('bmp', 'RGB', (0x56, 0x34, 0x12), 0),
                           ('jpg', 'RGB', (255, 255, 255), 24), ('gif', 'P', (255, 255, 255), 0)]:
    im = Image.open(os.path.join(d, 'pic.' + ext))
    info = dict(im.info)
    rgb = im.convert('RGB')
    checks = [im.size == (100, 50), im.mode == mode, near(rgb.getpixel((2, 2)), bg, tol),
              near(rgb.getpixel((20, 15)), (255, 0, 0), tol), near(rgb.getpixel((9, 39)), (255, 0, 255), tol)]
    if ext == 'png': checks.append(info.get('transparency') == (0x56, 0x34, 0x12))
    out.append('%s %s' % (ext, all(checks)))
    if not all(checks):
        sys.stderr.write('%s: %r %s %s %r %r %r\n' % (ext, checks, im.size, im.mode, rgb.getpixel((2, 2)),
                                                   rgb.getpixel((20, 15)), rgb.getpixel((9, 39))))
emf = Image.open(os.path.join(d, 'pic.emf'))
out.append('emf %s' % (emf.format == 'WMF' and emf.size == (100, 50)))
wmf = Image.open(os.path.join(d, 'pic.wmf'))
# a placeable metafile is sized in points: 100 x 50 pixels at 96 per inch
out.append('wmf %s' % (wmf.format == 'WMF' and wmf.size == (75, 37) and wmf.info['dpi'] == 72))
print(' '.join(out))
)PY",
                               {dir.path()});
    EXPECT_EQ(r.out.trimmed(), QByteArray("png True bmp True jpg True gif True emf True wmf True"))
        << r.out.constData() << r.err.constData();
    const RunResult id = RunProgram(QStringLiteral("identify"), {dir.path() + QStringLiteral("/pic.bmp")});
    EXPECT_TRUE(id.out.contains("100x50") && id.out.contains("8-bit sRGB")) << id.out.constData();
}

TEST(PictureConverter, StreamFormAppendsAtThePosition)
{
    const auto mf = SampleRecording();
    for (int t = gpPNG; t <= gpGIF; ++t) {
        TMemoryStream alone, after;
        SaveGraphicAs(*mf, alone, TkvlPictureType(t));
        after.WriteBytes("prefix");
        SaveGraphicAs(*mf, after, TkvlPictureType(t));
        if (t != gpJPG)  // the other encoders are deterministic
            EXPECT_EQ(after.Bytes(), QByteArray("prefix") + alone.Bytes()) << t;
        else
            EXPECT_TRUE(after.Bytes().startsWith("prefix\xFF\xD8"));
    }
    EXPECT_THROW(SaveGraphicAs(TMetafile(0, 10), QStringLiteral("/tmp/never-written.png"), gpPNG), EkvlPictureError);
}

} // namespace
