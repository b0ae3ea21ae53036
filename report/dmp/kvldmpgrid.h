#pragma once
// The character grid of dot-matrix reports: cells of one tenth of an inch by 17 pixels at
// 96 pixels per inch, and the print styles a dot-matrix printer knows.
#include <cmath>
#include <cstdint>

namespace rtl {
class TypeInfo;
}

// Cell size in screen pixels.
constexpr double kvlCharX = 9.6;
constexpr double kvlCharY = 17;

enum TkvlDMPFontStyle : uint8_t {
    fsxBold,
    fsxItalic,
    fsxUnderline,
    fsxSuperScript,
    fsxSubScript,
    fsxCondensed,
    fsxWide,
    fsx12cpi,
    fsx15cpi
};
// Set of TkvlDMPFontStyle: bit 1 << style.
using TkvlDMPFontStyles = uint16_t;
constexpr TkvlDMPFontStyles kvlBit(TkvlDMPFontStyle s) { return TkvlDMPFontStyles(1u << s); }

namespace kvltypes {
const rtl::TypeInfo *DMPFontStyles();  // TkvlDMPFontStyles
} // namespace kvltypes

// Snapping onto the grid: the nearest whole number of cells (ties to even) or the whole
// cells below (toward zero), back in pixels.
inline double kvlSnapRound(double Value, double Cell) { return std::nearbyint(Value / Cell) * Cell; }
inline double kvlSnapTrunc(double Value, double Cell) { return std::trunc(Value / Cell) * Cell; }

class TFont;
// "Courier New" 12 with bold, italic and underline as the style set asks.
void kvlSetDMPFont(TFont &Font, TkvlDMPFontStyles Style);
