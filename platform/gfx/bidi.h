#pragma once
// Lines read right to left: their visual order by the Unicode bidirectional algorithm and
// their glyphs shaped (joining forms, ligatures, marks) from the font's own file.
#include <QStringView>
#include <cstdint>
#include <vector>

namespace gfx {

class ScaledFont;

// Whether the text holds a character written right to left (Hebrew, Arabic, ...).
bool hasRightToLeft(QStringView text);

// The characters of a line with a right-to-left base direction, from left to right as seen:
// order[k] is the index of the k-th character from the left.
void visualOrder(QStringView text, std::vector<int> &order);
// The same for either base direction; a left-to-right line without right-to-left characters
// keeps its order without running the algorithm.
void visualOrder(QStringView text, bool rightToLeftBase, std::vector<int> &order);

// One glyph as shown, left to right; cluster is the index of the first UTF-16 unit of the
// characters it shows; advance and offsets in whole device pixels.
struct ShapedGlyph {
    uint32_t glyph = 0;
    int cluster = 0;
    int advance = 0;
    int xOffset = 0, yOffset = 0;
};

// The line in visual order (right-to-left base direction), each directional run shaped.
void shapeLine(const ScaledFont &font, QStringView text, std::vector<ShapedGlyph> &out);

// Each character's share of the shaped line: a cluster's advance on its first unit, 0 on the
// others. Returns the sum.
// The glyphs of a line for writers of glyph runs: the given base direction, each directional
// run shaped from the font's file in visual order, kerning off (as text is measured), so that
// at an em of 1000 the advances are thousandths of an em. cluster is the UTF-16 index of the
// first character a glyph shows (a ligature shows the characters up to the next cluster).
void shapeGlyphs(const ScaledFont &font, QStringView text, bool rightToLeftBase,
                 std::vector<ShapedGlyph> &out);

int shapedAdvances(const ScaledFont &font, QStringView text, int *out);

} // namespace gfx
