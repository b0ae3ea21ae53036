#pragma once
// A font as the canvas sees it: a plain value, compared and hashed cheaply.
#include <QString>
#include <cstdint>

namespace gfx {

// Style bits (same order as the published font style set).
enum FontStyleBits : uint8_t {
    StyleBold = 1,
    StyleItalic = 2,
    StyleUnderline = 4,
    StyleStrikeOut = 8,
};

struct FontDesc {
    QString name = QStringLiteral("Arial");
    // Pixel height as the platform reads it: negative = em height, positive = cell height
    // (ascent + descent), 0 = a default height.
    int height = -13;
    uint8_t style = 0;        // FontStyleBits
    uint8_t charset = 1;      // DEFAULT_CHARSET
    int orientation = 0;      // tenths of a degree, counter-clockwise
    uint8_t pitch = 0;        // default, variable, fixed
    uint8_t quality = 0;
    int32_t color = 0;        // 0x00BBGGRR

    bool bold() const { return style & StyleBold; }
    bool italic() const { return style & StyleItalic; }
    bool underline() const { return style & StyleUnderline; }
    bool strikeOut() const { return style & StyleStrikeOut; }

    bool operator==(const FontDesc &o) const
    {
        return height == o.height && style == o.style && charset == o.charset &&
               orientation == o.orientation && pitch == o.pitch && quality == o.quality &&
               color == o.color && name == o.name;
    }
    bool operator!=(const FontDesc &o) const { return !(*this == o); }

    // Same face and size: what measurement depends on (colour, lines and angle do not).
    bool sameMetrics(const FontDesc &o) const
    {
        return height == o.height && ((style ^ o.style) & (StyleBold | StyleItalic)) == 0 &&
               name == o.name;
    }
};

} // namespace gfx
