#pragma once
// A canvas that writes what is drawn on it as a Windows metafile: enhanced (EMF) or
// placeable (WMF). It stands in for the platform's metafile canvas when pictures are saved
// in those formats: lines, polygons, rectangles, ellipses, fills, clipping, text and images
// (as device-independent bitmaps) become the format's own records.
#include "platform/gfx/canvas.h"
#include "platform/rtl/exceptions.h"

#include <QByteArray>
#include <memory>

LIRRA_DECLARE_EXCEPTION(EMetafileError, Exception)

namespace kvl::meta {

class Encoder;

enum class Format { Emf, Wmf };

class MetafileCanvas : public TCanvas
{
public:
    // A picture of Width x Height pixels at 96 per inch. A WMF holds 16-bit coordinates:
    // larger sizes raise EMetafileError.
    MetafileCanvas(Format Kind, int Width, int Height);
    ~MetafileCanvas() override;

    // The whole file; the canvas takes no drawing afterwards.
    QByteArray finish();

    int ppiX() const override { return 96; }
    int ppiY() const override { return 96; }

    void polyline(const QPoint *pts, int n) override;
    void rectangle(int l, int t, int r, int b) override;
    void roundRect(int l, int t, int r, int b, int cw, int ch) override;
    void ellipse(int l, int t, int r, int b) override;
    void polygon(const QPoint *pts, int n) override;
    void fillRect(const QRect &r) override;
    void extTextOut(int x, int y, unsigned options, const QRect *clip, QStringView text,
                    const int *dx) override;
    using TCanvas::drawImage;
    void drawImage(const QRect &dst, const QImage &img, const QRect &src) override;
    void drawImageTransparent(const QRect &dst, const QImage &img, TColor transparent) override;
    void saveClip() override;
    void restoreClip() override;
    void intersectClipRect(const QRect &r) override;
    void excludeClipRect(const QRect &r) override;
    void intersectClipPath(const QPainterPath &p) override;
    void resetClip() override;
    bool rectVisible(const QRect &r) const override;

protected:
    void line(int x0, int y0, int x1, int y1) override;

private:
    // Selects the state's pen and brush (or null ones) for one shape, and releases them.
    template <typename Draw> void shape(bool usePen, bool useBrush, Draw draw);

    std::unique_ptr<Encoder> FOut;
};

} // namespace kvl::meta
