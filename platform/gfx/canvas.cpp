#include "platform/gfx/canvas.h"

namespace gfx {

uint32_t colorToRgb(TColor c)
{
    return uint32_t(rtl::ColorToRGB(c)) & 0xFFFFFF;
}

} // namespace gfx

TCanvas::TCanvas() : m_measurer(gfx::defaultMeasurer()) {}

TCanvas::~TCanvas() = default;

void TCanvas::setFont(const gfx::FontDesc &f)
{
    if (!m_font.sameMetrics(f))
        m_measureFont.reset();
    m_font = f;
}

void TCanvas::setMeasurer(gfx::TextMeasurer *m)
{
    m_measurer = m ? m : gfx::defaultMeasurer();
    m_measureFont.reset();
}

const gfx::MeasureFont &TCanvas::measureFont() const
{
    if (!m_measureFont)
        m_measureFont = m_measurer->font(m_font);
    return *m_measureFont;
}

int TCanvas::textExtents(QStringView s, int *cumulative) const
{
    const int total = measureFont().advances(s, cumulative);
    if (cumulative)
        for (qsizetype i = 1; i < s.size(); ++i)
            cumulative[i] += cumulative[i - 1];
    return total;
}

void TCanvas::lineTo(int x, int y)
{
    line(m_penPos.x(), m_penPos.y(), x, y);
    m_penPos = QPoint(x, y);
}
