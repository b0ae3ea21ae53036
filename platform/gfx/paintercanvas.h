#pragma once
// The canvas on a QPainter: images, widgets and printers. Shapes are drawn without
// antialiasing so that they land on whole pixels; text is drawn as glyph runs of the
// measured font file.
#include "platform/gfx/canvas.h"
#include <QPainter>
#include <QRawFont>
#include <QRegion>
#include <memory>
#include <vector>

class QPaintDevice;

namespace gfx {

class ScaledFont;

class PainterCanvas : public TCanvas {
public:
    // Draws on a painter owned by the caller (a widget's paint event); the painter's
    // transform is taken as the device origin.
    PainterCanvas(QPainter *painter, int ppiX, int ppiY, bool printer = false);
    // Draws on a device, opening a painter when first needed.
    PainterCanvas(QPaintDevice *device, int ppiX, int ppiY, bool printer = false);
    ~PainterCanvas() override;

    // Ends the canvas's own painter (the device can then be read); the next call opens it again.
    void flush();

    int ppiX() const override { return m_ppiX; }
    int ppiY() const override { return m_ppiY; }
    bool isPrinter() const override { return m_printer; }

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
    // The font glyph runs are drawn with: the face made from its own bytes.
    virtual QRawFont glyphRunFont(const ScaledFont &font);

private:
    QPainter *painter();
    void applyClip();
    void applyRop(QPainter *p);
    QRegion deviceRegion() const;
    void cosmeticLine(QPainter *p, int x0, int y0, int x1, int y1, bool lastPixel);
    void geometricLine(QPainter *p, double x0, double y0, double x1, double y1);
    void geometricSegment(QPainter *p, double x0, double y0, double x1, double y1, PenCap cap);
    void fillBrush(QPainter *p, const QPainterPath &area);
    void fillBrushRect(QPainter *p, const QRect &r);

    QPainter *m_external = nullptr;
    QPaintDevice *m_device = nullptr;
    std::unique_ptr<QPainter> m_own;
    QTransform m_base;
    int m_ppiX, m_ppiY;
    bool m_printer;
    bool m_hasClip = false;
    QRegion m_clip;
    bool m_hasBaseClip = false;
    QRegion m_baseClip;
    struct SavedClip { bool has; QRegion clip; };
    std::vector<SavedClip> m_clipStack;
};

// The pixel pattern of a hatch brush style: 8 x 8, bit set = line pixel.
bool hatchPixel(TBrushStyle style, int x, int y);

} // namespace gfx
