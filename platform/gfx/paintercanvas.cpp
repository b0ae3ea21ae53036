#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/bidi.h"
#include "platform/gfx/fontservice.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

QColor qc(TColor c)
{
    const uint32_t v = colorToRgb(c);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

// Dash patterns of the one-pixel styled pens, in pixels.
struct Pattern {
    int n = 0;
    int len[8] = {};
};

Pattern cosmeticPattern(const Pen &pen)
{
    Pattern p;
    auto set = [&p](std::initializer_list<int> v) {
        for (int x : v)
            p.len[p.n++] = x;
    };
    switch (pen.style) {
    case psDash: set({18, 6}); break;
    case psDot: set({3, 3}); break;
    case psDashDot: set({9, 6, 3, 6}); break;
    case psDashDotDot: set({9, 3, 3, 3, 3, 3}); break;
    case psAlternate: set({1, 1}); break;
    case psUserStyle:
        for (int i = 0; i < pen.dashCount && i < 8; ++i)
            p.len[p.n++] = pen.dashes[size_t(i)];
        break;
    default: break;
    }
    int sum = 0;
    for (int i = 0; i < p.n; ++i)
        sum += p.len[i];
    if (sum <= 0)
        p.n = 0;
    return p;
}

Pattern geometricPattern(const Pen &pen)
{
    if (pen.style == psUserStyle || pen.style == psAlternate)
        return cosmeticPattern(pen);
    Pattern p;
    const int w = std::max(1, pen.width);
    auto set = [&p](std::initializer_list<int> v) {
        for (int x : v)
            p.len[p.n++] = x;
    };
    switch (pen.style) {
    case psDash: set({3 * w, w}); break;
    case psDot: set({w, w}); break;
    case psDashDot: set({3 * w, w, w, w}); break;
    case psDashDotDot: set({3 * w, w, w, w, w, w}); break;
    default: break;
    }
    return p;
}

QImage hatchImage(TBrushStyle style, QColor color)
{
    QImage img(8, 8, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (hatchPixel(style, x, y))
                img.setPixelColor(x, y, color);
    return img;
}

const QRect kHuge(QPoint(-(1 << 22), -(1 << 22)), QPoint(1 << 22, 1 << 22));

} // namespace

bool hatchPixel(TBrushStyle style, int x, int y)
{
    x &= 7;
    y &= 7;
    switch (style) {
    case bsHorizontal: return y == 7;
    case bsVertical: return x == 7;
    case bsFDiagonal: return x == y;
    case bsBDiagonal: return x + y == 7;
    case bsCross: return x == 7 || y == 7;
    case bsDiagCross: return x == y || x + y == 7;
    default: return false;
    }
}

PainterCanvas::PainterCanvas(QPainter *painter, int ppiX, int ppiY, bool printer)
    : m_external(painter), m_ppiX(ppiX), m_ppiY(ppiY), m_printer(printer)
{
    m_base = painter->transform();
    m_hasBaseClip = painter->hasClipping();
    if (m_hasBaseClip)
        m_baseClip = painter->clipRegion();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
}

PainterCanvas::PainterCanvas(QPaintDevice *device, int ppiX, int ppiY, bool printer)
    : m_device(device), m_ppiX(ppiX), m_ppiY(ppiY), m_printer(printer)
{
}

PainterCanvas::~PainterCanvas() { flush(); }

void PainterCanvas::flush()
{
    if (m_own) {
        m_own->end();
        m_own.reset();
    }
}

QPainter *PainterCanvas::painter()
{
    if (m_external)
        return m_external;
    if (!m_own) {
        m_own = std::make_unique<QPainter>(m_device);
        m_own->setRenderHint(QPainter::Antialiasing, false);
        m_own->setRenderHint(QPainter::TextAntialiasing, true);
        applyClip();
    }
    return m_own.get();
}

void PainterCanvas::applyClip()
{
    QPainter *p = m_external ? m_external : m_own.get();
    if (!p)
        return;
    // A painter handed in may already be clipped (a widget's paint region): stay inside it.
    // No clip is a clip to the whole device: once clipping has been switched off, Qt's raster
    // engine ignores the next non-rectangular clip region.
    if (m_hasClip)
        p->setClipRegion(m_hasBaseClip ? m_clip.intersected(m_baseClip) : m_clip);
    else if (m_hasBaseClip)
        p->setClipRegion(m_baseClip);
    else if (p->hasClipping())
        p->setClipRegion(deviceRegion());
}

void PainterCanvas::applyRop(QPainter *p)
{
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (state().rop != RasterOp::Copy && p->paintEngine() &&
        p->paintEngine()->hasFeature(QPaintEngine::RasterOpModes)) {
        switch (state().rop) {
        case RasterOp::Copy: break;
        case RasterOp::Xor: mode = QPainter::RasterOp_SourceXorDestination; break;
        case RasterOp::NotXor: mode = QPainter::RasterOp_NotSourceXorDestination; break;
        case RasterOp::Merge: mode = QPainter::RasterOp_SourceOrDestination; break;
        case RasterOp::NotMerge: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
        case RasterOp::Mask: mode = QPainter::RasterOp_SourceAndDestination; break;
        case RasterOp::NotMask: mode = QPainter::RasterOp_NotSourceOrNotDestination; break;
        case RasterOp::MergePenNot: mode = QPainter::RasterOp_SourceOrNotDestination; break;
        case RasterOp::MaskPenNot: mode = QPainter::RasterOp_SourceAndNotDestination; break;
        case RasterOp::MergeNotPen: mode = QPainter::RasterOp_NotSourceOrDestination; break;
        case RasterOp::MaskNotPen: mode = QPainter::RasterOp_NotSourceAndDestination; break;
        }
    }
    p->setCompositionMode(mode);
}

QRegion PainterCanvas::deviceRegion() const { return QRegion(kHuge); }

// --- lines -----------------------------------------------------------------------------

void PainterCanvas::line(int x0, int y0, int x1, int y1)
{
    const Pen &pen = state().pen;
    if (pen.style == psClear)
        return;
    QPainter *p = painter();
    applyRop(p);
    if (pen.width <= 1 && !pen.geometric)
        cosmeticLine(p, x0, y0, x1, y1, false);
    else
        geometricLine(p, x0, y0, x1, y1);
}

void PainterCanvas::cosmeticLine(QPainter *p, int x0, int y0, int x1, int y1, bool lastPixel)
{
    const Pen &pen = state().pen;
    const QColor fg = qc(pen.color);
    const bool opaqueGaps = state().bkMode == BkMode::Opaque;
    const QColor bg = qc(state().bkColor);
    const Pattern pat = cosmeticPattern(pen);
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
    const bool xMajor = dx >= dy;
    const int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const int count = major + (lastPixel ? 1 : 0);
    if (count <= 0)
        return;
    if (pat.n == 0 && minor == 0) {   // straight solid line: one rectangle
        const int a = xMajor ? x0 : y0;
        const int b = a + (count - 1) * (xMajor ? sx : sy);
        const int lo = std::min(a, b), len = count;
        p->fillRect(xMajor ? QRect(lo, y0, len, 1) : QRect(x0, lo, 1, len), fg);
        return;
    }
    int idx = 0, left = pat.n ? pat.len[0] : 0;
    bool on = true;
    // Runs of pixels on one row (or column) with one colour are filled together.
    int runStart = 0, runMinor = 0, runLen = 0;
    int runKind = -1;   // 0 gap (skipped), 1 fg, 2 bg
    auto flushRun = [&]() {
        if (runLen <= 0 || runKind <= 0)
            return;
        const QColor &c = runKind == 1 ? fg : bg;
        const int a = runStart, b = runStart + (runLen - 1) * (xMajor ? sx : sy);
        const int lo = std::min(a, b);
        p->fillRect(xMajor ? QRect(lo, runMinor, runLen, 1) : QRect(runMinor, lo, 1, runLen), c);
    };
    for (int i = 0; i < count; ++i) {
        const int off = major ? int((2LL * i * minor + major) / (2LL * major)) : 0;
        const int ma = (xMajor ? x0 : y0) + i * (xMajor ? sx : sy);
        const int mi = (xMajor ? y0 : x0) + off * (xMajor ? sy : sx);
        int kind = 1;
        if (pat.n) {
            while (left == 0) {
                idx = (idx + 1) % pat.n;
                left = pat.len[idx];
                on = (idx % 2) == 0;
            }
            kind = on ? 1 : (opaqueGaps ? 2 : 0);
            --left;
        }
        if (runLen > 0 && kind == runKind && mi == runMinor) {
            ++runLen;
        } else {
            flushRun();
            runStart = ma;
            runMinor = mi;
            runLen = 1;
            runKind = kind;
        }
    }
    flushRun();
}

namespace {

// A disc of radius h about (cx, cy): the pixels whose centres it covers, row by row.
void fillDisc(QPainter *p, double cx, double cy, double h, const QColor &c)
{
    for (int y = int(std::floor(cy - h - 0.5)); y <= int(std::ceil(cy + h - 0.5)); ++y) {
        const double dy = y + 0.5 - cy;
        if (dy * dy > h * h)
            continue;
        const double half = std::sqrt(h * h - dy * dy);
        const int l = int(std::ceil(cx - half - 0.5)), r = int(std::floor(cx + half - 0.5));
        if (r >= l)
            p->fillRect(QRect(l, y, r - l + 1, 1), c);
    }
}

} // namespace

// A wide segment is symmetric about its path: the band of the pen's width between both end
// points, each end with the pen's cap. A pixel is inked when its centre lies in the shape.
void PainterCanvas::geometricSegment(QPainter *p, double x0, double y0, double x1, double y1, PenCap cap)
{
    const Pen &pen = state().pen;
    const int w = std::max(1, pen.width);
    // Odd widths centre on the pixel, even ones on its corner.
    const double s = (w % 2) ? 0.5 : 0.0;
    const double h = w / 2.0;
    const QColor c = qc(pen.color);
    x0 += s; y0 += s; x1 += s; y1 += s;
    const double len = std::hypot(x1 - x0, y1 - y0);
    if (len == 0) {
        if (cap == PenCap::Round)
            fillDisc(p, x0, y0, h, c);
        else if (cap == PenCap::Square)
            p->fillRect(QRect(int(std::ceil(x0 - h - 0.5)), int(std::ceil(y0 - h - 0.5)), w, w), c);
        return;
    }
    const double ux = (x1 - x0) / len, uy = (y1 - y0) / len;
    const double ext = cap == PenCap::Square ? h : 0;
    const double ax = x0 - ux * ext, ay = y0 - uy * ext, bx = x1 + ux * ext, by = y1 + uy * ext;
    if (ay == by || ax == bx) {
        // Along an axis: both end points belong to the band, across it the pen's width.
        const bool horizontal = ay == by;
        const double l = std::min(ax, bx) - (horizontal ? 0 : h), r = std::max(ax, bx) + (horizontal ? 0 : h);
        const double t = std::min(ay, by) - (horizontal ? h : 0), b = std::max(ay, by) + (horizontal ? h : 0);
        const int pl = int(std::ceil(l - 0.5)), pt = int(std::ceil(t - 0.5));
        const int pr = horizontal ? int(std::floor(r - 0.5)) + 1 : int(std::ceil(r - 0.5));
        const int pb = horizontal ? int(std::ceil(b - 0.5)) : int(std::floor(b - 0.5)) + 1;
        if (pr > pl && pb > pt)
            p->fillRect(QRect(pl, pt, pr - pl, pb - pt), c);
    } else {
        const double nx = -uy * h, ny = ux * h;
        const QPointF quad[4] = {{ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}};
        p->setPen(Qt::NoPen);
        p->setBrush(c);
        p->drawPolygon(quad, 4);
    }
    if (cap == PenCap::Round) {
        fillDisc(p, x0, y0, h, c);
        fillDisc(p, x1, y1, h, c);
    }
}

void PainterCanvas::geometricLine(QPainter *p, double x0, double y0, double x1, double y1)
{
    const Pen &pen = state().pen;
    const Pattern pat = geometricPattern(pen);
    if (pat.n == 0) {
        geometricSegment(p, x0, y0, x1, y1, pen.cap);
        return;
    }
    const double len = std::hypot(x1 - x0, y1 - y0);
    if (len == 0)
        return;
    const double ux = (x1 - x0) / len, uy = (y1 - y0) / len;
    double pos = 0;
    int idx = 0;
    // A line longer than any page still ends: the pattern advances by at least a pixel.
    while (pos < len) {
        const double l = pat.len[idx];
        if (idx % 2 == 0) {
            const double e = std::min(pos + l, len);
            geometricSegment(p, x0 + ux * pos, y0 + uy * pos, x0 + ux * e, y0 + uy * e, pen.cap);
        }
        pos += l;
        idx = (idx + 1) % pat.n;
        if (idx == 0 && pos == 0)
            break;
    }
}

void PainterCanvas::polyline(const QPoint *pts, int n)
{
    for (int i = 1; i < n; ++i)
        line(pts[i - 1].x(), pts[i - 1].y(), pts[i].x(), pts[i].y());
    if (n > 0)
        moveTo(pts[n - 1].x(), pts[n - 1].y());
}

// --- filled shapes ---------------------------------------------------------------------

void PainterCanvas::fillBrushRect(QPainter *p, const QRect &r)
{
    const Brush &b = state().brush;
    if (b.style == bsClear || r.isEmpty())
        return;
    applyRop(p);
    if (b.style == bsSolid) {
        p->fillRect(r, qc(b.color));
        return;
    }
    if (state().bkMode == BkMode::Opaque)
        p->fillRect(r, qc(state().bkColor));
    p->fillRect(r, QBrush(hatchImage(b.style, qc(b.color))));
}

void PainterCanvas::fillBrush(QPainter *p, const QPainterPath &area)
{
    const Brush &b = state().brush;
    if (b.style == bsClear)
        return;
    applyRop(p);
    if (b.style == bsSolid) {
        p->fillPath(area, qc(b.color));
        return;
    }
    if (state().bkMode == BkMode::Opaque)
        p->fillPath(area, qc(state().bkColor));
    p->fillPath(area, QBrush(hatchImage(b.style, qc(b.color))));
}

void PainterCanvas::fillRect(const QRect &r) { fillBrushRect(painter(), r.normalized()); }

void PainterCanvas::rectangle(int l, int t, int r, int b)
{
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    QPainter *p = painter();
    // With or without a pen the brush covers one pixel less to the right and bottom.
    fillBrushRect(p, QRect(l, t, r - l - 1, b - t - 1));
    if (state().pen.style == psClear || r - l < 1 || b - t < 1)
        return;
    int inset = 0;
    if (state().pen.style == psInsideFrame && state().pen.width > 1)
        inset = state().pen.width / 2;
    const int L = l + inset, T = t + inset, R = r - 1 - inset, B = b - 1 - inset;
    line(L, T, R, T);
    line(R, T, R, B);
    line(R, B, L, B);
    line(L, B, L, T);
}

void PainterCanvas::roundRect(int l, int t, int r, int b, int cw, int ch)
{
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    QPainterPath path;
    const QRectF box(l, t, r - l - 1, b - t - 1);
    path.addRoundedRect(box, cw / 2.0, ch / 2.0);
    QPainter *p = painter();
    fillBrush(p, path);
    if (state().pen.style != psClear) {
        const Pen &pen = state().pen;
        QPen qp(qc(pen.color), pen.width <= 1 ? 0 : pen.width);
        p->setPen(qp);
        p->setBrush(Qt::NoBrush);
        p->drawRoundedRect(box, cw / 2.0, ch / 2.0);
    }
}

void PainterCanvas::ellipse(int l, int t, int r, int b)
{
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    QPainterPath path;
    path.addEllipse(QRectF(l, t, r - l - 1, b - t - 1));
    QPainter *p = painter();
    fillBrush(p, path);
    const Pen &pen = state().pen;
    if (pen.style == psClear || r - l < 1 || b - t < 1)
        return;
    // The outline runs where the rectangle's would, through the centres of its edge pixels
    // (the corners of them for an even width), and is filled as a band of the pen's width:
    // so it stays inside the box the rectangle with the same pen covers.
    const int w = std::max(1, pen.width);
    const int inset = pen.style == psInsideFrame && w > 1 ? w / 2 : 0;
    const double s = (w % 2) ? 0.5 : 0.0;
    QPainterPath outline;
    outline.addEllipse(QRectF(l + inset + s, t + inset + s, r - l - 1 - 2 * inset, b - t - 1 - 2 * inset));
    QPainterPathStroker stroker;
    stroker.setWidth(w);
    applyRop(p);
    p->fillPath(stroker.createStroke(outline), qc(pen.color));
}

void PainterCanvas::polygon(const QPoint *pts, int n)
{
    if (n < 2)
        return;
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.moveTo(pts[0]);
    for (int i = 1; i < n; ++i)
        path.lineTo(pts[i]);
    path.closeSubpath();
    QPainter *p = painter();
    fillBrush(p, path);
    if (state().pen.style == psClear)
        return;
    for (int i = 0; i < n; ++i) {
        const QPoint &a = pts[i], &b = pts[(i + 1) % n];
        line(a.x(), a.y(), b.x(), b.y());
    }
}

// --- text ------------------------------------------------------------------------------

void PainterCanvas::extTextOut(int x, int y, unsigned options, const QRect *clip, QStringView text,
                               const int *dx)
{
    QPainter *p = painter();
    applyRop(p);
    if ((options & TextOpaque) && clip)
        p->fillRect(clip->normalized(), qc(bkColor()));
    const int n = int(text.size());
    if (n == 0)
        return;
    const auto sf = FontService::instance().scaledFont(font());
    const TextMetrics &m = sf->metrics();
    thread_local std::vector<int> adv;
    thread_local std::vector<uint32_t> glyphs;
    adv.resize(size_t(n));
    if (dx)
        std::copy(dx, dx + n, adv.begin());
    else if (options & TextRtlReading)
        measureFont().displayAdvances(text, adv.data());
    else
        measureFont().advances(text, adv.data());
    QList<quint32> gi;
    QList<QPointF> pos;
    gi.reserve(n);
    pos.reserve(n);
    if (options & TextRtlReading) {
        // In visual order and shaped; each cluster takes the advances of its characters.
        thread_local std::vector<ShapedGlyph> shaped;
        thread_local std::vector<int> owner, clusterWidth;
        shapeLine(*sf, text, shaped);
        owner.assign(size_t(n), -1);
        for (const ShapedGlyph &g : shaped)
            if (g.cluster >= 0 && g.cluster < n)
                owner[size_t(g.cluster)] = g.cluster;
        clusterWidth.assign(size_t(n), 0);
        for (int i = 0, cur = 0; i < n; ++i) {
            cur = owner[size_t(i)] >= 0 ? owner[size_t(i)] : cur;
            clusterWidth[size_t(cur)] += adv[size_t(i)];
        }
        int px = 0;
        for (size_t k = 0; k < shaped.size();) {
            const int c = shaped[k].cluster;
            int off = 0;
            for (; k < shaped.size() && shaped[k].cluster == c; ++k) {
                if (c >= 0 && c < n && text[c].unicode() >= 0x20) {
                    gi.append(shaped[k].glyph);
                    pos.append(QPointF(px + off + shaped[k].xOffset, m.ascent + shaped[k].yOffset));
                }
                off += shaped[k].advance;
            }
            px += c >= 0 && c < n ? clusterWidth[size_t(c)] : off;
        }
    } else {
        glyphs.resize(size_t(n));
        sf->glyphIndexes(text, glyphs.data());
        int px = 0;
        for (int i = 0; i < n; ++i) {
            const uint32_t g = glyphs[size_t(i)];
            if (g != 0xFFFFFFFFu && text[i].unicode() >= 0x20) {
                gi.append(g);
                pos.append(QPointF(px, m.ascent));
            }
            px += adv[size_t(i)];
        }
    }
    int width = 0;
    for (int i = 0; i < n; ++i)
        width += adv[size_t(i)];

    p->save();
    if ((options & TextClipped) && clip)
        p->setClipRect(clip->normalized(), Qt::IntersectClip);
    QTransform t = m_base;
    t.translate(x, y);
    if (font().orientation % 3600 != 0)
        t.rotate(-font().orientation / 10.0);
    p->setTransform(t);
    if (bkMode() == BkMode::Opaque)
        p->fillRect(QRect(0, 0, width, m.height), qc(bkColor()));
    const QColor color = qc(font().color);
    const QRawFont raw = glyphRunFont(*sf);
    if (raw.isValid() && !gi.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(gi);
        run.setPositions(pos);
        p->setPen(color);
        if (sf->syntheticItalic()) {
            // Slanted about the baseline, as an italic the face lacks is simulated.
            QTransform slant = t;
            slant.translate(0, m.ascent);
            slant.shear(-0.2, 0);
            slant.translate(0, -m.ascent);
            p->setTransform(slant);
        }
        p->drawGlyphRun(QPointF(0, 0), run);
        if (sf->syntheticBold())
            p->drawGlyphRun(QPointF(std::max(1.0, m.emHeight / 32.0), 0), run);
        p->setTransform(t);
    }
    if (font().underline())
        p->fillRect(QRect(0, m.ascent + m.underlinePosition - m.underlineThickness / 2, width,
                          m.underlineThickness), color);
    if (font().strikeOut())
        p->fillRect(QRect(0, m.ascent - m.strikeOutPosition, width, m.strikeOutThickness), color);
    p->restore();
}

QRawFont PainterCanvas::glyphRunFont(const ScaledFont &font) { return font.rawFont(); }

// --- pictures --------------------------------------------------------------------------

void PainterCanvas::drawImage(const QRect &dst, const QImage &img, const QRect &src)
{
    if (img.isNull() || dst.isEmpty())
        return;
    QPainter *p = painter();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::SmoothPixmapTransform, smoothStretch() && dst.size() != src.size());
    p->drawImage(QRectF(dst), img, QRectF(src));
}

void PainterCanvas::drawImageTransparent(const QRect &dst, const QImage &img, TColor transparent)
{
    if (img.isNull() || dst.isEmpty())
        return;
    QImage masked = img.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qc(transparent).rgb() & 0xFFFFFF;
    for (int y = 0; y < masked.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    QPainter *p = painter();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    // Scaled without smoothing: a blended edge would show the transparent colour.
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->drawImage(QRectF(dst), masked, QRectF(masked.rect()));
}

// --- clipping --------------------------------------------------------------------------

void PainterCanvas::saveClip() { m_clipStack.push_back({m_hasClip, m_clip}); }

void PainterCanvas::restoreClip()
{
    if (m_clipStack.empty())
        return;
    m_hasClip = m_clipStack.back().has;
    m_clip = m_clipStack.back().clip;
    m_clipStack.pop_back();
    applyClip();
}

void PainterCanvas::intersectClipRect(const QRect &r)
{
    m_clip = m_hasClip ? m_clip.intersected(r.normalized()) : QRegion(r.normalized());
    m_hasClip = true;
    applyClip();
}

void PainterCanvas::excludeClipRect(const QRect &r)
{
    m_clip = (m_hasClip ? m_clip : deviceRegion()).subtracted(r.normalized());
    m_hasClip = true;
    applyClip();
}

void PainterCanvas::intersectClipPath(const QPainterPath &path)
{
    const QRegion r(path.toFillPolygon().toPolygon(),
                    path.fillRule() == Qt::WindingFill ? Qt::WindingFill : Qt::OddEvenFill);
    m_clip = m_hasClip ? m_clip.intersected(r) : r;
    m_hasClip = true;
    applyClip();
}

void PainterCanvas::resetClip()
{
    m_hasClip = false;
    m_clip = QRegion();
    applyClip();
}

bool PainterCanvas::rectVisible(const QRect &r) const
{
    const QRect n = r.normalized();
    return (!m_hasClip || m_clip.intersects(n)) && (!m_hasBaseClip || m_baseClip.intersects(n));
}

} // namespace gfx
