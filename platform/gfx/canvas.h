#pragma once
// The drawing surface every view of a report draws on: screen, paper, pictures and the
// recorder. Coordinates are device pixels; a rectangle (l, t, r, b) covers the pixels
// l..r-1 and t..b-1; lineTo leaves out its end point; text is placed by the top of its
// character cell.
#include "platform/gfx/fontdesc.h"
#include "platform/rtl/color.h"
#include "platform/gfx/textmeasure.h"
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QStringView>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

enum TPenStyle : uint8_t {
    psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate
};

enum TBrushStyle : uint8_t {
    bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

namespace gfx {

constexpr TColor kColorNone = clNone;
constexpr TColor kColorDefault = 0x20000000;

enum class PenCap : uint8_t { Round, Square, Flat };
enum class PenJoin : uint8_t { Round, Bevel, Miter };
enum class BkMode : uint8_t { Transparent = 1, Opaque = 2 };
// How drawn pixels combine with those below.
// How a drawing combines with the pixels below (S: what is drawn, D: the pixel below).
enum class RasterOp : uint8_t {
    Copy,        // S
    Xor,         // S xor D
    NotXor,      // not (S xor D)
    Merge,       // S or D
    NotMerge,    // not (S or D)
    Mask,        // S and D
    NotMask,     // not (S and D)
    MergePenNot, // S or not D
    MaskPenNot,  // S and not D
    MergeNotPen, // not S or D
    MaskNotPen,  // not S and D
};

// Text output options.
enum TextOptions : unsigned {
    TextOpaque = 2,     // fill the clip rectangle with the background colour first
    TextClipped = 4,    // clip to the rectangle
    TextRtlReading = 128,
};

struct Pen {
    TColor color = 0;
    int width = 1;
    TPenStyle style = psSolid;
    // A geometric pen: width in pixels, caps and joins, a fill colour; otherwise a cosmetic
    // pen (wide pens still drawn centred on the line).
    bool geometric = false;
    PenCap cap = PenCap::Round;
    PenJoin join = PenJoin::Round;
    // psUserStyle: dash and gap lengths in pixels, alternating, at most 8.
    uint8_t dashCount = 0;
    std::array<uint16_t, 8> dashes{};

    bool operator==(const Pen &o) const = default;
};

struct Brush {
    TColor color = 0xFFFFFF;
    TBrushStyle style = bsSolid;
    bool operator==(const Brush &o) const = default;
};

// Everything a drawing call reads from the canvas besides its arguments.
struct DrawState {
    Pen pen;
    Brush brush;
    BkMode bkMode = BkMode::Opaque;
    TColor bkColor = 0xFFFFFF;
    RasterOp rop = RasterOp::Copy;
    // Stretched pictures are smoothed (halftone) rather than sampled.
    bool smoothStretch = false;
};

// Resolves a colour (negative = system colour) to 0x00BBGGRR.
uint32_t colorToRgb(TColor c);

} // namespace gfx

class TCanvas {
public:
    TCanvas();
    virtual ~TCanvas();
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;

    // Device.
    virtual int ppiX() const = 0;
    virtual int ppiY() const = 0;
    virtual bool isPrinter() const { return false; }

    // State: plain values read by the next drawing call.
    gfx::Pen &pen() { return m_state.pen; }
    const gfx::Pen &pen() const { return m_state.pen; }
    void setPen(const gfx::Pen &p) { m_state.pen = p; }
    gfx::Brush &brush() { return m_state.brush; }
    const gfx::Brush &brush() const { return m_state.brush; }
    void setBrush(const gfx::Brush &b) { m_state.brush = b; }
    gfx::BkMode bkMode() const { return m_state.bkMode; }
    void setBkMode(gfx::BkMode m) { m_state.bkMode = m; }
    TColor bkColor() const { return m_state.bkColor; }
    void setBkColor(TColor c) { m_state.bkColor = c; }
    gfx::RasterOp rasterOp() const { return m_state.rop; }
    void setRasterOp(gfx::RasterOp r) { m_state.rop = r; }
    bool smoothStretch() const { return m_state.smoothStretch; }
    void setSmoothStretch(bool on) { m_state.smoothStretch = on; }
    const gfx::DrawState &state() const { return m_state; }
    void setState(const gfx::DrawState &s) { m_state = s; }

    const gfx::FontDesc &font() const { return m_font; }
    void setFont(const gfx::FontDesc &f);
    QPoint penPos() const { return m_penPos; }

    // Measurement in this canvas's pixels with the current font.
    void setMeasurer(gfx::TextMeasurer *m);
    gfx::TextMeasurer *measurer() const { return m_measurer; }
    const gfx::MeasureFont &measureFont() const;
    const gfx::TextMetrics &textMetrics() const { return measureFont().metrics(); }
    int textWidth(QStringView s) const { return measureFont().textWidth(s); }
    int textHeight(QStringView) const { return textMetrics().height; }
    QSize textExtent(QStringView s) const { return QSize(textWidth(s), textMetrics().height); }
    // Running sums of the advances: cumulative[i] = width of s[0..i].
    int textExtents(QStringView s, int *cumulative) const;

    // Lines with the pen.
    void moveTo(int x, int y) { m_penPos = QPoint(x, y); }
    void lineTo(int x, int y);
    virtual void polyline(const QPoint *pts, int n) = 0;

    // Filled shapes: interior with the brush, outline with the pen.
    virtual void rectangle(int l, int t, int r, int b) = 0;
    virtual void roundRect(int l, int t, int r, int b, int cw, int ch) = 0;
    virtual void ellipse(int l, int t, int r, int b) = 0;
    virtual void polygon(const QPoint *pts, int n) = 0;
    // The rectangle with the brush alone.
    virtual void fillRect(const QRect &r) = 0;

    // Text at (x, y), the top of the cell; dx gives each unit's advance (null: the
    // font's own); clip used with TextClipped / TextOpaque.
    virtual void extTextOut(int x, int y, unsigned options, const QRect *clip, QStringView text,
                            const int *dx) = 0;
    void textOut(int x, int y, QStringView text) { extTextOut(x, y, 0, nullptr, text, nullptr); }

    // Pictures: src of img stretched into dst; transparent: pixels of that colour are skipped.
    virtual void drawImage(const QRect &dst, const QImage &img, const QRect &src) = 0;
    void drawImage(const QRect &dst, const QImage &img) { drawImage(dst, img, img.rect()); }
    virtual void drawImageTransparent(const QRect &dst, const QImage &img, TColor transparent) = 0;

    // Clipping. saveClip/restoreClip nest.
    virtual void saveClip() = 0;
    virtual void restoreClip() = 0;
    virtual void intersectClipRect(const QRect &r) = 0;
    virtual void excludeClipRect(const QRect &r) = 0;
    virtual void intersectClipPath(const QPainterPath &p) = 0;
    virtual void resetClip() = 0;
    // Whether any pixel of r may be painted.
    virtual bool rectVisible(const QRect &r) const = 0;

protected:
    virtual void line(int x0, int y0, int x1, int y1) = 0;

private:
    gfx::DrawState m_state;
    gfx::FontDesc m_font;
    QPoint m_penPos;
    gfx::TextMeasurer *m_measurer;
    mutable std::shared_ptr<const gfx::MeasureFont> m_measureFont;
};
