#pragma once
// A canvas that keeps its drawing calls as records: they can be replayed onto another
// canvas, and its text records listed with their bounds (page text search, tests).
#include "platform/gfx/canvas.h"
#include <QString>
#include <vector>

namespace gfx {

struct DrawRecord {
    enum Kind : uint8_t {
        Line, Polyline, Polygon, Rectangle, RoundRect, Ellipse, FillRect, Text, Image,
        ImageTransparent, SaveClip, RestoreClip, IntersectClipRect, ExcludeClipRect,
        IntersectClipPath, ResetClip,
    };
    Kind kind = Line;
    DrawState state;
    QRect rect;                 // shapes, fills, image target, clip rectangles
    QRect rect2;                // text clip rectangle, image source
    bool hasRect2 = false;
    int a = 0, b = 0;           // round-rect corner; text x, y
    unsigned options = 0;       // text options
    TColor color = 0;           // transparent colour
    std::vector<QPoint> points; // line ends, polylines, polygons
    QString text;
    std::vector<int> dx;        // text advances as given (empty: the font's own)
    FontDesc font;
    QImage image;
    QPainterPath path;
    QRect bounds;               // text: the area the text covers
};

// A text record in drawing order: index counts every record before it.
struct TextRecord {
    int index = 0;
    QString text;
    QRect bounds;
};

class RecordingCanvas : public TCanvas {
public:
    explicit RecordingCanvas(int ppiX = 96, int ppiY = 96, bool printer = false);

    int ppiX() const override { return m_ppiX; }
    int ppiY() const override { return m_ppiY; }
    bool isPrinter() const override { return m_printer; }

    const std::vector<DrawRecord> &records() const { return m_records; }
    std::vector<TextRecord> textRecords() const;
    void clear();
    // Draws every record onto target, moved by offset; the target's own state is kept.
    void replay(TCanvas *target, QPoint offset = QPoint()) const;

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
    DrawRecord &add(DrawRecord::Kind k);
    int m_ppiX, m_ppiY;
    bool m_printer;
    std::vector<DrawRecord> m_records;
    // Clip kept as a region so that rectVisible answers as a device would.
    bool m_hasClip = false;
    QRegion m_clip;
    std::vector<std::pair<bool, QRegion>> m_clipStack;
};

} // namespace gfx
