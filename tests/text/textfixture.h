#pragma once
// A layout object on a measurer whose numbers can be worked out by hand.
#include "report/text/kvldrawtext.h"

#include "platform/gfx/recordingcanvas.h"
#include "platform/gfx/textmeasure.h"
#include "platform/gfx/tfont.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>

// Readable failures: texts as UTF-8.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '{';
    for (const QString &s : l)
        *os << " \"" << s.toStdString() << '"';
    *os << " }";
}

namespace texttest {

// Every character is a quarter of the em wide; the cell is exactly one em high (3/4 above
// the baseline). At 72 points the 600-dpi em is 600 units and the screen em 96 pixels.
class EmMeasurer : public gfx::TextMeasurer {
public:
    std::shared_ptr<const gfx::MeasureFont> font(const gfx::FontDesc &desc) override
    {
        class Font : public gfx::MeasureFont {
        public:
            explicit Font(int em)
                : m_adv(em / 4)
            {
                m_m.ascent = em * 3 / 4;
                m_m.descent = em - m_m.ascent;
                m_m.height = em;
                m_m.emHeight = em;
            }
            const gfx::TextMetrics &metrics() const override { return m_m; }
            int advances(QStringView text, int *out) const override
            {
                for (qsizetype i = 0; out && i < text.size(); ++i)
                    out[i] = m_adv;
                return int(text.size()) * m_adv;
            }

        private:
            int m_adv;
            gfx::TextMetrics m_m;
        };
        return std::make_shared<Font>(std::abs(desc.height));
    }
};

// 72-point text: 150 units (24 screen pixels) a character, lines 96 pixels high.
struct Layout {
    EmMeasurer measurer;
    TkvlDrawText text{&measurer};
    TFont font;

    explicit Layout(int size = 72)
    {
        font.SetName(QStringLiteral("Arial"));
        font.SetSize(size);
        text.SetFont(font);
        text.SetOptions(true, true, false, false, false, true, 0);
        text.SetGaps(0, 0, 0);
    }
    // Rectangle widthChars characters wide and heightPx high, at scale 1.
    void SetBox(int widthChars, int heightPx = 1000, QPoint at = QPoint())
    {
        const QRect r(at, QSize(widthChars * 24, heightPx));
        text.SetDimensions(1, 1, 1, r, r);
    }
    QStringList Lines() const
    {
        QStringList l;
        for (int i = 0; i < text.LineCount(); ++i)
            l << text.Line(i);
        return l;
    }
    void Set(const QString &s, bool firstParaBreak = false)
    {
        text.SetText(s.split(QLatin1Char('\n')), firstParaBreak);
    }
};

} // namespace texttest
