#include "report/resources/imagestrips.h"
#include "report/resources/kvlresources.h"

#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

// A strip of cells, each filled with its own colour except a key-coloured lower-left
// corner (the transparent colour of the cell).
QImage strip(int cells, int size)
{
    QImage img(cells * size, size, QImage::Format_RGB32);
    for (int c = 0; c < cells; ++c) {
        QPainter p(&img);
        p.fillRect(c * size, 0, size, size, QColor::fromHsv(c * 60, 255, 200));
        p.fillRect(c * size, size - 2, 2, 2, Qt::magenta);
    }
    return img;
}

// A packed program resource: a gzip member whose time field holds the Adler-32 of the data.
QByteArray pack(const QByteArray &data)
{
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray raw(int(deflateBound(&z, uLong(data.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef *>(raw.data());
    z.avail_out = uInt(raw.size());
    deflate(&z, Z_FINISH);
    raw.truncate(int(z.total_out));
    deflateEnd(&z);

    const uLong adler = adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size()));
    const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size()));
    QByteArray out("\x1f\x8b\x08\x00", 4);
    for (int s = 24; s >= 0; s -= 8)
        out.append(char((adler >> s) & 0xFF));
    out.append("\x02\x00", 2);
    out.append(raw);
    for (int s = 0; s < 32; s += 8)
        out.append(char((crc >> s) & 0xFF));
    for (int s = 0; s < 32; s += 8)
        out.append(char((uLong(data.size()) >> s) & 0xFF));
    return out;
}

QByteArray bmp(const QImage &img)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    return bytes;
}

TEST(ImageStrips, PackedStripsUnpackToTheirBitmap)
{
    const QImage img = strip(3, 16);
    const QImage back = kvlres::UnpackStrip(pack(bmp(img)));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), img);

    QByteArray damaged = pack(bmp(img));
    damaged[20] = char(damaged[20] ^ 0x5A);
    EXPECT_TRUE(kvlres::UnpackStrip(damaged).isNull());
    EXPECT_TRUE(kvlres::UnpackStrip(pack("not a picture")).isNull());
    EXPECT_TRUE(kvlres::UnpackStrip(QByteArray()).isNull());
}

TEST(ImageStrips, ToolBarImagesAreMaskedCellsWithGreyedCopies)
{
    TkvlResources r;
    TBitmap three(strip(3, 16));
    r.SetButtonImages(&three, true);
    ASSERT_EQ(r.GetMainButtonImages().Count(), 3);
    ASSERT_EQ(r.DisabledButtonImages().Count(), 3);
    const QImage &first = r.GetMainButtonImages().Image(0);
    EXPECT_EQ(first.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(first.pixel(0, 15)), 0);   // the key colour is transparent
    EXPECT_EQ(qAlpha(first.pixel(8, 8)), 255);
    const QRgb grey = r.DisabledButtonImages().Image(1).pixel(8, 8);
    EXPECT_TRUE(qRed(grey) == qGreen(grey) && qGreen(grey) == qBlue(grey));
    EXPECT_EQ(qAlpha(r.DisabledButtonImages().Image(1).pixel(0, 15)), 0);

    // The designer adds images of its own after the library's; Clear starts again.
    TBitmap one(strip(1, 16));
    r.SetButtonImages(&one);
    EXPECT_EQ(r.GetMainButtonImages().Count(), 4);
    r.SetButtonImages(&one, true);
    EXPECT_EQ(r.GetMainButtonImages().Count(), 1);
    EXPECT_EQ(r.DisabledButtonImages().Count(), 1);

    TBitmap wizards(strip(2, 32));
    r.SetWizardImages(&wizards);
    ASSERT_EQ(r.GetWizardImages().Count(), 2);
    EXPECT_EQ(r.GetWizardImages().Image(1).size(), QSize(32, 32));
    r.SetWizardImages(&wizards);
    EXPECT_EQ(r.GetWizardImages().Count(), 4);
    r.SetWizardImages(&wizards, true);
    EXPECT_EQ(r.GetWizardImages().Count(), 2);
    r.SetObjectImages(&three);
    r.SetPreviewButtonImages(&three);
    EXPECT_EQ(r.GetObjectImages().Count(), 3);
    EXPECT_EQ(r.GetPreviewButtonImages().Count(), 3);
}

TEST(ImageStrips, GlyphsShowTheImageAndItsGreyedCopyOnOlive)
{
    TkvlResources r;
    TBitmap three(strip(3, 16));
    r.SetButtonImages(&three, true);
    const QRgb olive = qRgb(128, 128, 0);

    const QImage g = r.GlyphImage(2);
    ASSERT_EQ(g.size(), QSize(32, 16));
    EXPECT_EQ(g.pixel(8, 8), three.image().pixel(2 * 16 + 8, 8));
    EXPECT_EQ(g.pixel(24, 8), r.DisabledButtonImages().Image(2).pixel(8, 8) | 0xFF000000);
    EXPECT_EQ(g.pixel(0, 15), olive);  // masked corner
    EXPECT_EQ(g.pixel(16, 15), olive);

    const QImage none = r.GlyphImage(7);
    EXPECT_EQ(none.pixel(5, 5), olive);
    EXPECT_EQ(none.pixel(20, 5), olive);
}

} // namespace

namespace {

TEST(ImageStrips, ThePreviewAndWizardPicturesComeWithTheProgram)
{
    TkvlResources r;
    EXPECT_EQ(r.GetPreviewButtonImages().Count(), 25);
    ASSERT_EQ(r.GetWizardImages().Count(), 2);
    EXPECT_EQ(r.GetWizardImages().Image(0).size(), QSize(32, 32));
    // Every cell shows something and leaves its transparent corner out.
    for (int i = 0; i < r.GetPreviewButtonImages().Count(); ++i) {
        const QImage &img = r.GetPreviewButtonImages().Image(i);
        EXPECT_EQ(qAlpha(img.pixel(0, 15)), 0) << i;
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                opaque += qAlpha(img.pixel(x, y)) == 255;
        EXPECT_GT(opaque, 10) << i;
    }
    // The palette's pictures come with the designer; of the designer's strip, the record
    // source (53) and the inherited-object mark (99) are drawn so far.
    EXPECT_EQ(r.GetObjectImages().Count(), 0);
    ASSERT_EQ(r.GetMainButtonImages().Count(), 100);
    for (int i : {53, 99}) {
        const QImage &img = r.GetMainButtonImages().Image(i);
        EXPECT_EQ(qAlpha(img.pixel(0, 15)), 0) << i;
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                opaque += qAlpha(img.pixel(x, y)) == 255;
        EXPECT_GT(opaque, 40) << i;
    }
}

} // namespace
