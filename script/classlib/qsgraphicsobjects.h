#pragma once
// The drawing objects scripts make: pens, brushes, canvases over the platform canvas and
// graphics (bitmaps, recorded pictures). Fonts and pictures are the platform's own classes.
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/tfont.h"
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/persistent.h"

#include <QImage>

#include <memory>

namespace qscl {

// How pen and brush combine with the pixels below, as scripts number the modes.
enum PenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
               pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };

class TPen : public TPersistent
{
    LIRRA_CLASS(TPen, TPersistent)
public:
    gfx::Pen Pen;
    int Mode = pmCopy;
};

class TBrush : public TPersistent
{
    LIRRA_CLASS(TBrush, TPersistent)
public:
    gfx::Brush Brush;
};

// A canvas with its own font, pen and brush objects, applied before every drawing call. It
// draws on a surface of its own (a recorder) or on one it borrows from the object whose
// handle it keeps: once that object is gone, drawing is an error, not a dangling call.
class TCanvas : public TPersistent
{
    LIRRA_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;
    using Resolve = ::TCanvas *(*)(TPersistent *owner);
    // The colour at (x, y), -1 outside the owner's pixels.
    using Pixels = TColor (*)(TPersistent *owner, int x, int y);
    // Draws on the surface resolve gives for owner at each call (a bitmap remakes its
    // surface when resized); pixels, when given, reads the owner's pixels back.
    void Borrow(TPersistent *owner, Resolve resolve, Pixels pixels = nullptr);

    // The surface with this canvas's font, pen and brush applied, the pen's mode turned
    // into the colours and raster operation that give it.
    ::TCanvas &Surface();
    // The colour of a pixel, or -1 when the surface keeps no pixels (or outside them).
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    // The canvas's font, pen and brush; made afresh when a script freed them.
    ::TFont &Font() { return Part<::TFont>(FFont); }
    TPen &Pen() { return Part<TPen>(FPen); }
    TBrush &Brush() { return Part<TBrush>(FBrush); }

private:
    template<class T>
    T &Part(int32_t &handle)
    {
        if (T *obj = rtl::ObjectHandles::objectAs<T>(handle))
            return *obj;
        T *obj = new T;
        handle = rtl::ObjectHandles::handleOf(obj);
        return *obj;
    }
    int32_t FFont = 0, FPen = 0, FBrush = 0;
    TPersistent *Owner() const;
    std::unique_ptr<::TCanvas> FOwn;
    int32_t FOwnerHandle = 0;
    Resolve FResolve = nullptr;
    Pixels FPixels = nullptr;
};

// The colour of an image's pixel, -1 outside it.
TColor ImagePixel(const QImage &img, int x, int y);

// A graphic: the platform graphic it holds (none for a bare TGraphic).
class TGraphic : public TPersistent
{
    LIRRA_CLASS(TGraphic, TPersistent)
public:
    std::unique_ptr<::TGraphic> Graphic;
    // The size asked for: a bitmap with one side 0 has no pixels, yet keeps the other side.
    int Width = 0, Height = 0;
    // Checked against the largest picture the platform reads.
    void Resize(int w, int h);
    virtual void SetSize(int w, int h);
    // Takes the picture file's contents.
    virtual void Load(const ::TGraphic &g);
};

class TMetafile : public TGraphic
{
    LIRRA_CLASS(TMetafile, TGraphic)
public:
    TMetafile() { Graphic = std::make_unique<::TMetafile>(); }
    ::TMetafile &Metafile() { return static_cast<::TMetafile &>(*Graphic); }
    void SetSize(int w, int h) override { Metafile().setSize(w, h); }
    void Load(const ::TGraphic &g) override;
};

class TBitmap : public TGraphic
{
    LIRRA_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    ~TBitmap() override;
    ::TBitmap &Bitmap() { return static_cast<::TBitmap &>(*Graphic); }
    void SetSize(int w, int h) override { Bitmap().setSize(w, h); }
    void Load(const ::TGraphic &g) override;
    TCanvas &Canvas();

private:
    int32_t FCanvas = 0; // owned, made at first use
};

// A canvas drawing into a recorded picture.
class TMetafileCanvas : public TCanvas
{
    LIRRA_CLASS(TMetafileCanvas, TCanvas)
};

} // namespace qscl
