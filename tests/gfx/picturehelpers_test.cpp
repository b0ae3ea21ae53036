#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/picturehelpers.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBack = 0xFF102030;

TBitmap bitmapOf(int w, int h, QRgb fill)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return TBitmap(img);
}

QImage canvasImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kBack);
    return img;
}

} // namespace

TEST(PictureHelpers, DisabledImageIsLightGrey)
{
    struct Case { QRgb in; int grey; };
    const Case cases[] = {{qRgb(30, 60, 90), 170}, {qRgb(255, 255, 255), 235}, {qRgb(0, 0, 0), 150},
                          {qRgb(100, 100, 101), 183}};
    for (const Case &c : cases) {
        TBitmap b = bitmapOf(2, 2, c.in);
        kvlMakeDisabledImage(&b);
        EXPECT_EQ(b.image().pixel(1, 1), qRgb(c.grey, c.grey, c.grey)) << std::hex << c.in;
    }
}

TEST(PictureHelpers, StripIsCutIntoMaskedCells)
{
    struct Case { int w, h; int cells; };
    for (const Case c : {Case{48, 16, 3}, Case{40, 20, 4}, Case{15, 16, 0}}) {
        TBitmap strip = bitmapOf(c.w, c.h, qRgb(255, 0, 255));
        TImageList list, disabled;
        kvlAssignImages(&strip, 16, 16, &list, &disabled);
        EXPECT_EQ(list.Count(), c.cells) << c.w << "x" << c.h;
        EXPECT_EQ(disabled.Count(), c.cells);
    }
    // Each cell is masked by its own lower-left pixel.
    QImage img(32, 16, QImage::Format_RGB32);
    img.fill(qRgb(0, 255, 0));
    img.setPixel(5, 5, qRgb(255, 0, 0));
    for (int x = 16; x < 32; ++x)
        for (int y = 0; y < 16; ++y)
            img.setPixel(x, y, x == 20 ? qRgb(0, 0, 255) : qRgb(9, 9, 9));
    TBitmap strip(img);
    TImageList list, disabled;
    kvlAssignImages(&strip, 16, 16, &list, &disabled);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(qAlpha(list.Image(0).pixel(0, 0)), 0);
    EXPECT_EQ(list.Image(0).pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(list.Image(1).pixel(0, 15)), 0);
    EXPECT_EQ(list.Image(1).pixel(4, 3), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(disabled.Image(0).pixel(0, 0)), 0);
    EXPECT_EQ(disabled.Image(0).pixel(5, 5), qRgb(178, 178, 178));   // 255 / 3 = 85 -> 28 + 150
    // Bad cell sizes cut nothing.
    TImageList none;
    kvlAssignImages(&strip, 0, 16, &none, nullptr);
    EXPECT_EQ(none.Count(), 0);
}

TEST(PictureHelpers, TransparentBitmapKeepsTheCanvasWhereTransparent)
{
    QImage src(4, 4, QImage::Format_RGB32);
    src.fill(qRgb(255, 255, 255));
    src.setPixel(1, 1, qRgb(255, 0, 0));
    TBitmap bmp(src);
    QImage dst = canvasImage(8, 8);
    {
        gfx::PainterCanvas c(&dst, 96, 96);
        kvlDrawTransparentBitmap(&c, QRect(0, 0, 8, 8), &bmp, 0xFFFFFF, false);
        kvlDrawTransparent(&c, 0, 0, nullptr);
    }
    EXPECT_EQ(dst.pixel(0, 0), kBack);
    EXPECT_EQ(dst.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(dst.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(dst.pixel(6, 6), kBack);
}

TEST(PictureHelpers, DrawGraphicTakesEachRoad)
{
    QImage src(4, 4, QImage::Format_RGB32);
    src.fill(qRgb(255, 255, 255));
    src.setPixel(0, 0, qRgb(0, 0, 255));

    struct Case { bool printing, smooth, transparent; QRgb corner; };
    const Case cases[] = {
        {false, false, false, qRgb(255, 255, 255)},   // stretched as it is
        {false, false, true, kBack},                  // transparent white
        {true, false, true, kBack},                   // through a bitmap, transparent
        {false, true, false, qRgb(255, 255, 255)},    // smooth, through a bitmap
    };
    for (const Case &c : cases) {
        TBitmap bmp(src);
        QImage dst = canvasImage(8, 8);
        {
            gfx::PainterCanvas canvas(&dst, 96, 96);
            kvlDrawGraphic(&canvas, QRect(0, 0, 8, 8), &bmp, c.printing, c.smooth, c.transparent, 0xFFFFFF);
        }
        EXPECT_EQ(dst.pixel(7, 7), c.corner) << c.printing << c.smooth << c.transparent;
        EXPECT_EQ(qBlue(dst.pixel(0, 0)), 255);
    }

    // A metafile is replayed at the target rectangle.
    TMetafile mf(10, 10);
    mf.canvas().brush() = {0x0000FF, bsSolid};
    mf.canvas().fillRect(QRect(2, 2, 3, 3));
    QImage dst = canvasImage(30, 30);
    {
        gfx::PainterCanvas canvas(&dst, 96, 96);
        kvlDrawGraphic(&canvas, QRect(10, 10, 10, 10), &mf, false, false, false, gfx::kColorNone);
    }
    EXPECT_EQ(dst.pixel(12, 12), qRgb(255, 0, 0));
    EXPECT_EQ(dst.pixel(15, 15), kBack);
}
