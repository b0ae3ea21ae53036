#include "platform/gfx/recordingcanvas.h"
#include <QRegion>
#include <QTransform>
#include <cmath>

namespace gfx {

RecordingCanvas::RecordingCanvas(int ppiX, int ppiY, bool printer)
    : m_ppiX(ppiX), m_ppiY(ppiY), m_printer(printer)
{
}

DrawRecord &RecordingCanvas::add(DrawRecord::Kind k)
{
    DrawRecord &r = m_records.emplace_back();
    r.kind = k;
    r.state = state();
    return r;
}

void RecordingCanvas::clear()
{
    m_records.clear();
    m_hasClip = false;
    m_clip = QRegion();
    m_clipStack.clear();
}

void RecordingCanvas::line(int x0, int y0, int x1, int y1)
{
    DrawRecord &r = add(DrawRecord::Line);
    r.points = {QPoint(x0, y0), QPoint(x1, y1)};
}

void RecordingCanvas::polyline(const QPoint *pts, int n)
{
    DrawRecord &r = add(DrawRecord::Polyline);
    r.points.assign(pts, pts + n);
    if (n > 0)
        moveTo(pts[n - 1].x(), pts[n - 1].y());
}

void RecordingCanvas::polygon(const QPoint *pts, int n)
{
    add(DrawRecord::Polygon).points.assign(pts, pts + n);
}

void RecordingCanvas::rectangle(int l, int t, int r, int b)
{
    add(DrawRecord::Rectangle).rect = QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

void RecordingCanvas::roundRect(int l, int t, int r, int b, int cw, int ch)
{
    DrawRecord &rec = add(DrawRecord::RoundRect);
    rec.rect = QRect(QPoint(l, t), QPoint(r - 1, b - 1));
    rec.a = cw;
    rec.b = ch;
}

void RecordingCanvas::ellipse(int l, int t, int r, int b)
{
    add(DrawRecord::Ellipse).rect = QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

void RecordingCanvas::fillRect(const QRect &r) { add(DrawRecord::FillRect).rect = r; }

void RecordingCanvas::extTextOut(int x, int y, unsigned options, const QRect *clip, QStringView text,
                                 const int *dx)
{
    DrawRecord &r = add(DrawRecord::Text);
    r.a = x;
    r.b = y;
    r.options = options;
    if (clip) {
        r.rect2 = *clip;
        r.hasRect2 = true;
    }
    r.text = text.toString();
    r.font = font();
    int width = 0;
    if (dx) {
        r.dx.assign(dx, dx + text.size());
        for (int v : r.dx)
            width += v;
    } else {
        width = textWidth(text);
    }
    const int height = textMetrics().height;
    QRect box(0, 0, width, height);
    if (font().orientation % 3600 != 0) {
        QTransform t;
        t.rotate(-font().orientation / 10.0);
        box = t.mapRect(QRectF(box)).toAlignedRect();
    }
    box.translate(x, y);
    if ((options & TextClipped) && clip)
        box = box.intersected(clip->normalized());
    r.bounds = box;
}

void RecordingCanvas::drawImage(const QRect &dst, const QImage &img, const QRect &src)
{
    DrawRecord &r = add(DrawRecord::Image);
    r.rect = dst;
    r.rect2 = src;
    r.hasRect2 = true;
    r.image = img;
}

void RecordingCanvas::drawImageTransparent(const QRect &dst, const QImage &img, TColor transparent)
{
    DrawRecord &r = add(DrawRecord::ImageTransparent);
    r.rect = dst;
    r.image = img;
    r.color = transparent;
}

void RecordingCanvas::saveClip()
{
    add(DrawRecord::SaveClip);
    m_clipStack.emplace_back(m_hasClip, m_clip);
}

void RecordingCanvas::restoreClip()
{
    add(DrawRecord::RestoreClip);
    if (m_clipStack.empty())
        return;
    m_hasClip = m_clipStack.back().first;
    m_clip = m_clipStack.back().second;
    m_clipStack.pop_back();
}

void RecordingCanvas::intersectClipRect(const QRect &rc)
{
    add(DrawRecord::IntersectClipRect).rect = rc;
    m_clip = m_hasClip ? m_clip.intersected(rc.normalized()) : QRegion(rc.normalized());
    m_hasClip = true;
}

void RecordingCanvas::excludeClipRect(const QRect &rc)
{
    add(DrawRecord::ExcludeClipRect).rect = rc;
    if (m_hasClip)
        m_clip = m_clip.subtracted(rc.normalized());
}

void RecordingCanvas::intersectClipPath(const QPainterPath &p)
{
    add(DrawRecord::IntersectClipPath).path = p;
    const QRegion r(p.toFillPolygon().toPolygon());
    m_clip = m_hasClip ? m_clip.intersected(r) : r;
    m_hasClip = true;
}

void RecordingCanvas::resetClip()
{
    add(DrawRecord::ResetClip);
    m_hasClip = false;
    m_clip = QRegion();
}

bool RecordingCanvas::rectVisible(const QRect &r) const
{
    return !m_hasClip || m_clip.intersects(r.normalized());
}

std::vector<TextRecord> RecordingCanvas::textRecords() const
{
    std::vector<TextRecord> out;
    for (size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].kind == DrawRecord::Text)
            out.push_back({int(i), m_records[i].text, m_records[i].bounds});
    return out;
}

void RecordingCanvas::replay(TCanvas *t, QPoint o) const
{
    const DrawState savedState = t->state();
    const FontDesc savedFont = t->font();
    const QPoint savedPos = t->penPos();
    std::vector<QPoint> pts;
    for (const DrawRecord &r : m_records) {
        t->setState(r.state);
        const QRect rc = r.rect.translated(o);
        switch (r.kind) {
        case DrawRecord::Line:
            t->moveTo(r.points[0].x() + o.x(), r.points[0].y() + o.y());
            t->lineTo(r.points[1].x() + o.x(), r.points[1].y() + o.y());
            break;
        case DrawRecord::Polyline:
        case DrawRecord::Polygon:
            pts = r.points;
            for (QPoint &p : pts)
                p += o;
            if (r.kind == DrawRecord::Polyline)
                t->polyline(pts.data(), int(pts.size()));
            else
                t->polygon(pts.data(), int(pts.size()));
            break;
        case DrawRecord::Rectangle:
            t->rectangle(rc.left(), rc.top(), rc.right() + 1, rc.bottom() + 1);
            break;
        case DrawRecord::RoundRect:
            t->roundRect(rc.left(), rc.top(), rc.right() + 1, rc.bottom() + 1, r.a, r.b);
            break;
        case DrawRecord::Ellipse:
            t->ellipse(rc.left(), rc.top(), rc.right() + 1, rc.bottom() + 1);
            break;
        case DrawRecord::FillRect: t->fillRect(rc); break;
        case DrawRecord::Text: {
            t->setFont(r.font);
            const QRect clip = r.rect2.translated(o);
            t->extTextOut(r.a + o.x(), r.b + o.y(), r.options, r.hasRect2 ? &clip : nullptr, r.text,
                          r.dx.empty() ? nullptr : r.dx.data());
            break;
        }
        case DrawRecord::Image: t->drawImage(rc, r.image, r.rect2); break;
        case DrawRecord::ImageTransparent: t->drawImageTransparent(rc, r.image, r.color); break;
        case DrawRecord::SaveClip: t->saveClip(); break;
        case DrawRecord::RestoreClip: t->restoreClip(); break;
        case DrawRecord::IntersectClipRect: t->intersectClipRect(rc); break;
        case DrawRecord::ExcludeClipRect: t->excludeClipRect(rc); break;
        case DrawRecord::IntersectClipPath: t->intersectClipPath(r.path.translated(o)); break;
        case DrawRecord::ResetClip: t->resetClip(); break;
        }
    }
    t->setState(savedState);
    t->setFont(savedFont);
    t->moveTo(savedPos.x(), savedPos.y());
}

} // namespace gfx
