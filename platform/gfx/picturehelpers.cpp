#include "platform/gfx/picturehelpers.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/rtl/numeric.h"

#include <algorithm>

namespace {

QRgb rgbOf(TColor c)
{
    const uint32_t v = gfx::colorToRgb(c);
    return qRgb(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QImage grey(const QImage &src)
{
    QImage img = src.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = line[x];
            const int avg = (qRed(p) + qGreen(p) + qBlue(p)) / 3;
            const int g = std::min<int>(255, int(rtl::Round(avg / 3.0)) + 150);
            line[x] = qRgba(g, g, g, qAlpha(p));
        }
    }
    return img;
}

// Pixels equal to key (colour only) become fully transparent.
QImage masked(const QImage &src, QRgb key)
{
    QImage img = src.convertToFormat(QImage::Format_ARGB32);
    key &= 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    return img;
}

} // namespace

void kvlMakeDisabledImage(TBitmap *Bitmap)
{
    if (Bitmap && !Bitmap->empty())
        Bitmap->setImage(grey(Bitmap->image()).convertToFormat(QImage::Format_RGB32));
}

void kvlAssignImages(TBitmap *Bitmap, int Width, int Height, TImageList *List, TImageList *DisabledList)
{
    if (!Bitmap || !List || Width <= 0 || Height <= 0)
        return;
    const QImage &img = Bitmap->image();
    const int cols = img.width() / Width;
    for (int top = 0; top < img.height(); top += Height) {
        for (int c = 0; c < cols; ++c) {
            const int left = c * Width;
            QImage cell = img.copy(left, top, Width, Height);
            // Lower-left pixel of the cell, or of the part of it inside the strip.
            const int bottom = std::min(top + Height, img.height()) - 1;
            const QRgb key = img.pixel(left, bottom);
            const QImage m = masked(cell, key);
            List->Add(m);
            if (DisabledList) {
                // Greyed, with the same pixels cleared as in the coloured cell.
                QImage g = grey(cell);
                for (int y = 0; y < g.height(); ++y) {
                    const auto *ml = reinterpret_cast<const QRgb *>(m.constScanLine(y));
                    auto *gl = reinterpret_cast<QRgb *>(g.scanLine(y));
                    for (int x = 0; x < g.width(); ++x)
                        if (qAlpha(ml[x]) == 0)
                            gl[x] = 0;
                }
                DisabledList->Add(g);
            }
        }
    }
}

void kvlDrawTransparent(TCanvas *Canvas, int X, int Y, TBitmap *Bitmap)
{
    if (!Canvas || !Bitmap || Bitmap->empty())
        return;
    Canvas->drawImageTransparent(QRect(X, Y, Bitmap->width(), Bitmap->height()), Bitmap->image(),
                                 Bitmap->transparentColor());
}

void DrawBitmap(TCanvas *Canvas, const QRect &Rect, TBitmap *Bitmap)
{
    if (!Canvas || !Bitmap || Bitmap->empty())
        return;
    const bool saved = Canvas->smoothStretch();
    Canvas->setSmoothStretch(true);
    Canvas->drawImage(Rect, Bitmap->image());
    Canvas->setSmoothStretch(saved);
}

void PrintBitmap(TCanvas *Canvas, const QRect &Rect, TBitmap *Bitmap) { DrawBitmap(Canvas, Rect, Bitmap); }

void kvlDrawTransparentBitmap(TCanvas *Canvas, const QRect &Rect, TBitmap *Bitmap, TColor TransparentColor, bool)
{
    if (!Canvas || !Bitmap || Bitmap->empty())
        return;
    Canvas->drawImageTransparent(Rect, Bitmap->image(), TransparentColor);
}

void kvlDrawGraphic(TCanvas *Canvas, const QRect &Rect, TGraphic *Graphic, bool IsPrinting, bool Smooth,
                    bool Transparent, TColor TransparentColor)
{
    if (!Canvas || !Graphic)
        return;
    Canvas->brush() = {0xFFFFFF, bsSolid};
    const bool isBitmap = Graphic->kind() == TGraphic::Bitmap;
    if (Graphic->kind() == TGraphic::Metafile || (!IsPrinting && !Smooth && (!Transparent || isBitmap))) {
        Graphic->setTransparent(Transparent);
        if (Transparent && isBitmap)
            kvlDrawTransparentBitmap(Canvas, Rect, static_cast<TBitmap *>(Graphic), TransparentColor, false);
        else
            Graphic->draw(Canvas, Rect);
        return;
    }
    if (Graphic->empty())
        return;
    // Through a bitmap of the picture's own size, filled with the transparent colour first.
    TBitmap bmp;
    bmp.setSize(Graphic->width(), Graphic->height());
    if (TransparentColor != gfx::kColorNone) {
        QImage img(Graphic->width(), Graphic->height(), QImage::Format_RGB32);
        img.fill(rgbOf(TransparentColor));
        bmp.setImage(img);
    }
    Graphic->draw(bmp.canvas(), QRect(0, 0, Graphic->width(), Graphic->height()));
    if (Transparent && TransparentColor != gfx::kColorNone)
        kvlDrawTransparentBitmap(Canvas, Rect, &bmp, TransparentColor, IsPrinting);
    else if (IsPrinting)
        PrintBitmap(Canvas, Rect, &bmp);
    else
        DrawBitmap(Canvas, Rect, &bmp);
}
