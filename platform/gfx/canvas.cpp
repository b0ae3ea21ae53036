#include "platform/gfx/canvas.h"

namespace gfx {

namespace {
// Default system colours (index = low byte of the negative colour value), 0x00BBGGRR.
constexpr uint32_t kSystemColors[] = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
    0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
    0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xD77800, 0xC8D0D4,
};
} // namespace

uint32_t colorToRgb(TColor c)
{
    if (c < 0) {
        const uint32_t i = uint32_t(c) & 0xFF;
        return i < std::size(kSystemColors) ? kSystemColors[i] : 0;
    }
    return uint32_t(c) & 0xFFFFFF;
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
