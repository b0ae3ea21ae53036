// The persistent picture: reading and writing image files, copies, and refusing damaged or
// oversized images without keeping anything from them.
#include "platform/gfx/picture.h"
#include "platform/rtl/stream.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// Smooth gradients (so that JPEG keeps them closely) whose corners differ widely, so that a
// flip or shift shows.
QImage pattern()
{
    QImage img(16, 8, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(12 * x, 24 * y, 240 - 12 * x));
    return img;
}

QByteArray encode(const QImage &img, const char *format)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImageWriter w(&buf, format);
    w.setQuality(100);
    EXPECT_TRUE(w.write(img)) << format;
    return out;
}

QImage pixels(const TPicture &p)
{
    const auto *b = dynamic_cast<const TBitmap *>(p.Graphic());
    return b ? b->image().convertToFormat(QImage::Format_RGB32) : QImage();
}

// Largest difference of any channel of any pixel.
int maxDiff(const QImage &a, const QImage &b)
{
    int d = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            d = std::max({d, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
        }
    return d;
}

TEST(Picture, ReadsAndRewritesEachFormat)
{
    struct Case {
        const char *format;
        TGraphic::Kind kind;
        int tolerance;  // JPEG is lossy
    };
    const Case cases[] = {{"BMP", TGraphic::Bitmap, 0}, {"PNG", TGraphic::Png, 0}, {"JPEG", TGraphic::Jpeg, 24}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        TMemoryStream in(encode(pattern(), c.format));
        TPicture p;
        p.LoadFromStream(in);
        ASSERT_FALSE(p.Empty());
        EXPECT_EQ(p.Graphic()->kind(), c.kind);
        ASSERT_EQ(pixels(p).size(), pattern().size());
        EXPECT_LE(maxDiff(pixels(p), pattern()), c.tolerance);

        // Written in the same format and read back alike.
        TMemoryStream out;
        p.SaveToStream(out);
        out.SetPosition(0);
        TPicture q;
        q.LoadFromStream(out);
        EXPECT_EQ(q.Graphic()->kind(), c.kind);
        EXPECT_LE(maxDiff(pixels(q), pattern()), c.tolerance);
    }
}

TEST(Picture, UnchangedPictureIsWrittenBackByteForByte)
{
    // Saving a JPEG again and again must not lose detail each time.
    const QByteArray jpeg = encode(pattern(), "JPEG");
    TPicture p;
    p.LoadFromBytes(jpeg);
    EXPECT_EQ(p.SaveToBytes(), jpeg);
    TPicture copy;
    copy.Assign(&p);
    EXPECT_EQ(copy.SaveToBytes(), jpeg);

    // Once drawn into, the picture is encoded from its pixels.
    p.Bitmap()->canvas()->fillRect(QRect(0, 0, 2, 2));
    EXPECT_NE(p.SaveToBytes(), jpeg);
    EXPECT_EQ(copy.SaveToBytes(), jpeg);
}

TEST(Picture, FileRoundTripAndMissingFile)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("p.png"));
    TPicture p;
    p.SetGraphic(std::make_unique<TBitmap>(pattern(), TGraphic::Png).get());
    p.SaveToFile(name);
    TPicture q;
    q.LoadFromFile(name);
    EXPECT_EQ(maxDiff(pixels(q), pattern()), 0);
    EXPECT_THROW(q.LoadFromFile(dir.filePath(QStringLiteral("none.png"))), EFOpenError);
    EXPECT_TRUE(q.Empty());
}

// A BMP header claiming a width x height picture, followed by a few bytes of pixels.
QByteArray bmpHeader(int32_t width, int32_t height)
{
    QByteArray b(54 + 16, '\0');
    auto put32 = [&b](int at, int32_t v) { std::memcpy(b.data() + at, &v, 4); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, int32_t(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    b[26] = 1;   // planes
    b[28] = 24;  // bits per pixel
    return b;
}

// A JPEG whose frame header claims Width x Height, cut after its scan header: a few hundred
// bytes that would otherwise decode into a grey picture of that size.
QByteArray jpegClaiming(const QByteArray &jpeg, int width, int height)
{
    QByteArray out = jpeg;
    const qsizetype sof = out.indexOf(QByteArray("\xFF\xC0", 2));
    const qsizetype sos = out.indexOf(QByteArray("\xFF\xDA", 2));
    EXPECT_GT(sof, 0);
    EXPECT_GT(sos, sof);
    out[sof + 5] = char(height >> 8);
    out[sof + 6] = char(height & 0xFF);
    out[sof + 7] = char(width >> 8);
    out[sof + 8] = char(width & 0xFF);
    const int sosLength = (uchar(out[sos + 2]) << 8) | uchar(out[sos + 3]);
    return out.left(sos + 2 + sosLength + 16);
}

TEST(Picture, DamagedOrHostileDataRaisesAndLeavesThePictureEmpty)
{
    const QByteArray png = encode(pattern(), "PNG");
    const QByteArray jpeg = encode(pattern(), "JPEG");
    const QByteArray largeJpeg = encode(pattern().scaled(256, 128), "JPEG");
    const QByteArray largePng = encode(pattern().scaled(256, 128), "PNG");
    // Run-length coded: its four-byte codes can reach at most 255 rows each.
    QByteArray rle = bmpHeader(12, 4194310);
    rle[28] = 8;
    rle[30] = 1;
    const struct {
        const char *what;
        QByteArray data;
    } cases[] = {
        {"empty", QByteArray()},
        {"not an image", QByteArray("plain text, no picture here")},
        {"truncated PNG", png.left(png.size() / 2)},
        {"truncated JPEG", jpeg.left(20)},
        {"JPEG cut inside its pixel data", largeJpeg.left(largeJpeg.size() - 100)},
        {"JPEG cut short of the size it claims", jpegClaiming(jpeg, 8000, 8000)},
        {"PNG cut inside its pixel data", largePng.left(largePng.size() - 100)},
        {"PNG with a damaged body", png.left(40) + QByteArray(png.size() - 40, '\x5a')},
        {"BMP claiming a huge size", bmpHeader(100000, 100000)},
        {"BMP just over the pixel bound", bmpHeader(9000, 9000)},
        {"BMP with a negative width", bmpHeader(-5, 3)},
        {"57-byte BMP declaring 12 x 4194310 pixels", bmpHeader(12, 4194310).left(57)},
        {"run-length BMP declaring more rows than its codes reach", rle},
        {"unsupported format", QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TPicture p;
        p.SetGraphic(std::make_unique<TBitmap>(pattern()).get());
        TMemoryStream s(c.data);
        EXPECT_THROW(p.LoadFromStream(s), EInvalidGraphic);
        EXPECT_TRUE(p.Empty());
        EXPECT_EQ(p.Graphic(), nullptr);
    }
}

TEST(Picture, AssignCopiesIndependently)
{
    TPicture src;
    src.Bitmap()->setImage(pattern());
    TPicture dst;
    dst.Assign(&src);
    src.Bitmap()->canvas()->brush() = {0, bsSolid};
    src.Bitmap()->canvas()->fillRect(pattern().rect());  // the source changes afterwards
    EXPECT_EQ(maxDiff(pixels(dst), pattern()), 0);

    dst.Assign(nullptr);
    EXPECT_TRUE(dst.Empty());

    // A recorded picture is copied as a recording and written as its rendering.
    TMetafile mf(4, 2);
    mf.canvas().brush() = {0x0000FF, bsSolid};  // red
    mf.canvas().fillRect(QRect(0, 0, 4, 2));
    src.SetGraphic(&mf);
    dst.Assign(&src);
    ASSERT_NE(dynamic_cast<const TMetafile *>(dst.Graphic()), nullptr);
    EXPECT_NE(dst.Graphic(), src.Graphic());
    TPicture raster;
    raster.LoadFromBytes(dst.SaveToBytes());
    ASSERT_EQ(pixels(raster).size(), QSize(4, 2));
    EXPECT_EQ(pixels(raster).pixel(3, 1), qRgb(255, 0, 0));
}

} // namespace
