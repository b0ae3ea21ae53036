#include "platform/gfx/graphic.h"
#include "platform/gfx/paintercanvas.h"

TBitmap::TBitmap() = default;

TBitmap::TBitmap(const QImage &img, Kind kind)
    : m_kind(kind), m_image(img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                       : QImage::Format_RGB32))
{
}

TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap &o) : TGraphic(o), m_kind(o.m_kind), m_image(o.image()),
    m_transparentColor(o.m_transparentColor)
{
}

TBitmap &TBitmap::operator=(const TBitmap &o)
{
    if (this != &o) {
        m_canvas.reset();
        TGraphic::operator=(o);
        m_kind = o.m_kind;
        m_image = o.image();
        m_transparentColor = o.m_transparentColor;
    }
    return *this;
}

void TBitmap::setSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == m_image.width() && h == m_image.height())
        return;
    m_canvas.reset();
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    if (!m_image.isNull()) {
        QPainter p(&img);
        p.drawImage(0, 0, m_image);
    }
    m_image = img;
}

TCanvas *TBitmap::canvas()
{
    if (!m_canvas) {
        if (m_image.isNull())
            m_image = QImage(0, 0, QImage::Format_RGB32);
        m_canvas = std::make_unique<gfx::PainterCanvas>(&m_image, 96, 96);
    }
    return m_canvas.get();
}

const QImage &TBitmap::image() const
{
    if (m_canvas)
        m_canvas->flush();
    return m_image;
}

void TBitmap::setImage(const QImage &img)
{
    m_canvas.reset();
    m_image = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

TColor TBitmap::transparentColor() const
{
    if (m_transparentColor != gfx::kColorDefault)
        return m_transparentColor;
    const QImage &img = image();
    if (img.isNull() || img.width() == 0 || img.height() == 0)
        return 0;
    const QRgb p = img.pixel(0, img.height() - 1);
    return TColor(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

void TBitmap::draw(TCanvas *canvas, const QRect &r) const
{
    if (empty() || !canvas)
        return;
    if (transparent())
        canvas->drawImageTransparent(r, image(), transparentColor());
    else
        canvas->drawImage(r, image());
}

void TMetafile::draw(TCanvas *canvas, const QRect &r) const
{
    if (!canvas || r.isEmpty())
        return;
    if (r.width() == m_w && r.height() == m_h) {
        canvas->saveClip();
        canvas->intersectClipRect(r);
        m_rec.replay(canvas, r.topLeft());
        canvas->restoreClip();
        return;
    }
    if (m_w <= 0 || m_h <= 0)
        return;
    QImage img(m_w, m_h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        gfx::PainterCanvas c(&img, canvas->ppiX(), canvas->ppiY());
        m_rec.replay(&c);
    }
    canvas->drawImage(r, img);
}
