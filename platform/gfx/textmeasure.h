#pragma once
// Text measurement: a font resolved at one pixel size gives whole-pixel advances.
#include "platform/gfx/fontdesc.h"
#include <QStringView>
#include <memory>

namespace gfx {

// What the platform calls text metrics, in device pixels.
struct TextMetrics {
    int height = 0;           // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;  // height - em
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = 400;
    int emHeight = 0;
    int underlinePosition = 0;   // below the baseline, positive down
    int underlineThickness = 1;
    int strikeOutPosition = 0;   // above the baseline, positive up
    int strikeOutThickness = 1;
};

// A font at one pixel size. Immutable once made; shared between canvases.
class MeasureFont {
public:
    virtual ~MeasureFont() = default;
    virtual const TextMetrics &metrics() const = 0;
    // Advance of each UTF-16 unit of text in whole device pixels into out (may be null);
    // returns their sum. A surrogate pair carries its advance on its first unit.
    virtual int advances(QStringView text, int *out) const = 0;
    int textWidth(QStringView text) const { return advances(text, nullptr); }
    // Advances of a line as it is shown when read right to left: shaped where the font can
    // shape, each cluster's advance on its first unit. By default the plain advances.
    virtual int displayAdvances(QStringView text, int *out) const { return advances(text, out); }
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Never null: a font that cannot be found falls back to a default face.
    virtual std::shared_ptr<const MeasureFont> font(const FontDesc &desc) = 0;
};

// Every character is `advance` pixels wide; ascent and descent split the em 4:1.
// For layout tests that must not depend on installed fonts.
class FakeMeasurer : public TextMeasurer {
public:
    explicit FakeMeasurer(int advance = 10, int ascent = 8, int descent = 2);
    std::shared_ptr<const MeasureFont> font(const FontDesc &desc) override;

private:
    int m_advance, m_ascent, m_descent;
};

// The process-wide measurer backed by the font service.
TextMeasurer *defaultMeasurer();

} // namespace gfx
