#pragma once
// Picture helpers shared by the report library: greyed images, image strips, and drawing
// pictures transparently or smoothly on any canvas.
#include "platform/gfx/graphic.h"

#include <QImage>
#include <vector>

// A list of same-sized images; masked pixels are fully transparent.
class TImageList {
public:
    int Count() const { return int(FImages.size()); }
    const QImage &Image(int i) const { return FImages[size_t(i)]; }
    void Add(const QImage &img) { FImages.push_back(img); }
    // Puts img in place of image i; an index outside the list changes nothing.
    void Replace(int i, const QImage &img)
    {
        if (i >= 0 && i < Count())
            FImages[size_t(i)] = img;
    }
    void Clear() { FImages.clear(); }

private:
    std::vector<QImage> FImages;
};

// Every pixel becomes grey rnd(((R + G + B) div 3) / 3) + 150, at most 255.
void kvlMakeDisabledImage(TBitmap *Bitmap);
// Cuts a strip into Width x Height cells, left to right and row by row (a last partial
// row too); each cell is masked by its lower-left pixel's colour. DisabledList, when
// given, gets greyed copies masked the same way.
void kvlAssignImages(TBitmap *Bitmap, int Width, int Height, TImageList *List, TImageList *DisabledList);
// The bitmap at (X, Y) with its transparent colour left out; nil draws nothing.
void kvlDrawTransparent(TCanvas *Canvas, int X, int Y, TBitmap *Bitmap);
// The bitmap stretched smoothly into Rect (printer and screen flavours draw alike here).
void PrintBitmap(TCanvas *Canvas, const QRect &Rect, TBitmap *Bitmap);
void DrawBitmap(TCanvas *Canvas, const QRect &Rect, TBitmap *Bitmap);
// The bitmap stretched into Rect; where it has TransparentColor the canvas keeps its pixels.
void kvlDrawTransparentBitmap(TCanvas *Canvas, const QRect &Rect, TBitmap *Bitmap, TColor TransparentColor,
                              bool UseDIB);
// A picture into Rect: metafiles and plain pictures directly, smooth or transparent ones
// through an intermediate bitmap of the picture's size.
void kvlDrawGraphic(TCanvas *Canvas, const QRect &Rect, TGraphic *Graphic, bool IsPrinting, bool Smooth,
                    bool Transparent, TColor TransparentColor);
