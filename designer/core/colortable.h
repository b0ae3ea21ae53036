#pragma once
// The colour palette shared by the designer's colour drop-downs, and where the drop-downs and
// the frame sample take a pointer position to: a cell, a row, a frame line. No widgets here.
#include "platform/rtl/color.h"
#include "report/appearance/frame.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <optional>

// 48 colours in 6 rows of 8; the last row holds the custom colours, empty slots are clBtnFace.
class TkvlColorTable {
public:
    static constexpr int Columns = 8;
    static constexpr int Rows = 6;
    static constexpr int Count = Columns * Rows;
    static constexpr int FirstCustom = 40;

    TkvlColorTable();

    TColor Color(int Index) const { return FColors.at(Index); }
    TColor Color(int Row, int Col) const { return FColors.at(Row * Columns + Col); }
    int IndexOf(TColor Color) const;
    // A colour already in the table changes nothing; otherwise it takes the first empty custom
    // slot, or, when all are taken, the oldest custom colour is dropped and it goes last.
    void AddCustom(TColor Color);

private:
    std::array<TColor, Count> FColors;
};

// The table every colour drop-down of the designer shows (user-interface thread only): custom
// colours chosen in one drop-down appear in the others until the program ends.
TkvlColorTable &kvlColorTable();

// Colour drop-down: 155 x 143, a grid of 12 x 12 swatches 18 apart, the button for other colours
// below.
namespace kvlColorGrid {
constexpr int Width = 155, Height = 143;
constexpr int Button = TkvlColorTable::Count; // hit value of the button
// The table cell (0 .. 47) or Button under a point of the client area; none outside it.
std::optional<int> HitTest(QPoint P, QSize Client);
// The swatch of a cell, Windows-style (right and bottom excluded).
QRect SwatchRect(int Index);
// The hover frame of a hit: around its cell, or around the button.
QRect HoverRect(int Hit, QSize Client);
QRect ButtonRect(QSize Client);
} // namespace kvlColorGrid

// Line-style lists: six rows 16 apart from y 5, style i = TkvlFrameStyle i.
namespace kvlLineRows {
constexpr int Count = 6;
constexpr int SelectorWidth = 98, SelectorHeight = 106;
// The row (0 .. 5) under a point of the client area; rows below the last give the last; none
// outside the client area.
std::optional<int> HitTest(QPoint P, QSize Client);
// The frame around a row, Windows-style.
QRect RowRect(int Row, QSize Client);
// Where the row's sample line runs.
inline int LineY(int Row) { return Row * 16 + 12; }
} // namespace kvlLineRows

// The frame sample: which frame line a press at P hits, if any.
std::optional<TkvlFrameType> kvlFrameSampleHit(QPoint P, QSize Client);

// A colour as the colour combo names it: "Red" for clRed, "$80FF40" for $0080FF40.
QString kvlColorDisplayName(TColor Color);
