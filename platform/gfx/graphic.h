#pragma once
// Pictures: a raster bitmap with its own canvas, and a recorded picture (metafile).
#include "platform/gfx/canvas.h"
#include "platform/gfx/recordingcanvas.h"
#include <QImage>
#include <memory>

namespace gfx { class PainterCanvas; }

class TGraphic {
public:
    enum Kind { Bitmap, Metafile, Jpeg, Png, Icon };
    virtual ~TGraphic() = default;
    virtual Kind kind() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    bool empty() const { return width() <= 0 || height() <= 0; }
    bool transparent() const { return m_transparent; }
    void setTransparent(bool t) { m_transparent = t; }
    // Stretched into r.
    virtual void draw(TCanvas *canvas, const QRect &r) const = 0;

private:
    bool m_transparent = false;
};

// A raster picture. Bitmaps, JPEG and PNG pictures are all held as one image; kind() says
// which format the picture came from.
class TBitmap : public TGraphic {
public:
    TBitmap();
    explicit TBitmap(const QImage &img, Kind kind = Bitmap);
    ~TBitmap() override;
    TBitmap(const TBitmap &o);
    TBitmap &operator=(const TBitmap &o);

    Kind kind() const override { return m_kind; }
    int width() const override { return m_image.width(); }
    int height() const override { return m_image.height(); }
    // New pixels are white.
    void setSize(int w, int h);
    // The canvas draws into the bitmap (96 pixels per inch).
    TCanvas *canvas();
    // The pixels, with every drawing so far applied.
    const QImage &image() const;
    void setImage(const QImage &img);

    // The colour taken as transparent: the lower-left pixel, unless one is set.
    TColor transparentColor() const;
    void setTransparentColor(TColor c) { m_transparentColor = c; }

    void draw(TCanvas *canvas, const QRect &r) const override;

private:
    Kind m_kind = Bitmap;
    mutable QImage m_image;
    std::unique_ptr<gfx::PainterCanvas> m_canvas;
    TColor m_transparentColor = gfx::kColorDefault;
};

// A recorded picture of a given size.
class TMetafile : public TGraphic {
public:
    TMetafile(int width = 0, int height = 0) : m_w(width), m_h(height) {}
    Kind kind() const override { return Metafile; }
    int width() const override { return m_w; }
    int height() const override { return m_h; }
    void setSize(int w, int h) { m_w = w; m_h = h; }
    gfx::RecordingCanvas &canvas() { return m_rec; }
    const gfx::RecordingCanvas &canvas() const { return m_rec; }
    // Replayed moved to r's corner and scaled to its size through an intermediate image when
    // the sizes differ.
    void draw(TCanvas *canvas, const QRect &r) const override;

private:
    int m_w, m_h;
    gfx::RecordingCanvas m_rec;
};
