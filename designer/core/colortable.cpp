#include "designer/core/colortable.h"

#include <algorithm>

TkvlColorTable::TkvlColorTable()
    : FColors{
          clNone,    clWhite,   clBlack,   0x000080,  0x008000,  0x008080,  0x800000,  0x800080,
          0x808080,  0xC0C0C0,  0x808000,  0x0000FF,  0x00FF00,  0x00FFFF,  0xFF0000,  0xFF00FF,
          0xCCCCCC,  0xE4E4E4,  0xFFFF00,  0x00CCFF,  0x00CC98,  0x98FFFF,  0xFFCC00,  0xFF98CC,
          0xD8D8D8,  0xF0F0F0,  0xFFFFDC,  0xCAE4FF,  0xCCFFCC,  0xCCFFFF,  0xFFF4CC,  0xCC98FF,
          clBtnFace, 0x46DAFF,  0x9BEBFF,  0x00A47B,  0xFDBD97,  0xFED3BA,  0x6ACFFF,  0xFFF4CC,
          clBtnFace, clBtnFace, clBtnFace, clBtnFace, clBtnFace, clBtnFace, clBtnFace, clBtnFace,
      }
{
}

int TkvlColorTable::IndexOf(TColor Color) const
{
    const auto it = std::find(FColors.begin(), FColors.end(), Color);
    return it == FColors.end() ? -1 : int(it - FColors.begin());
}

void TkvlColorTable::AddCustom(TColor Color)
{
    if (IndexOf(Color) >= 0)
        return;
    // Empty slots are looked for from 38 on; 38 and 39 are fixed colours, so this is the last row.
    const auto free = std::find(FColors.begin() + 38, FColors.end(), clBtnFace);
    if (free != FColors.end()) {
        *free = Color;
        return;
    }
    std::move(FColors.begin() + FirstCustom + 1, FColors.end(), FColors.begin() + FirstCustom);
    FColors.back() = Color;
}

TkvlColorTable &kvlColorTable()
{
    static TkvlColorTable table;
    return table;
}

namespace {

bool inside(QPoint P, QSize Client)
{
    return P.x() >= 0 && P.y() >= 0 && P.x() < Client.width() && P.y() < Client.height();
}

} // namespace

namespace kvlColorGrid {

// Points outside the client area give nothing: a release dragged out of the drop-down would
// otherwise land on a column left of the first.
std::optional<int> HitTest(QPoint P, QSize Client)
{
    if (!inside(P, Client))
        return std::nullopt;
    const int row = (P.y() - 5) / 18; // toward zero, as the drawing's arithmetic
    const int col = std::min((P.x() - 5) / 18, TkvlColorTable::Columns - 1);
    if (row >= TkvlColorTable::Rows)
        return Button;
    return row * TkvlColorTable::Columns + col;
}

QRect SwatchRect(int Index)
{
    const int r = Index / TkvlColorTable::Columns, c = Index % TkvlColorTable::Columns;
    return QRect(c * 18 + 8, r * 18 + 8, 12, 12);
}

QRect ButtonRect(QSize Client) { return QRect(QPoint(8, 116), QPoint(Client.width() - 10, Client.height() - 10)); }

QRect HoverRect(int Hit, QSize Client)
{
    if (Hit == Button)
        return QRect(QPoint(5, 113), QPoint(Client.width() - 7, Client.height() - 7));
    const int r = Hit / TkvlColorTable::Columns, c = Hit % TkvlColorTable::Columns;
    return QRect(c * 18 + 5, r * 18 + 5, 18, 18);
}

} // namespace kvlColorGrid

namespace kvlLineRows {

std::optional<int> HitTest(QPoint P, QSize Client)
{
    if (!inside(P, Client))
        return std::nullopt;
    return std::min((P.y() - 5) / 16, Count - 1);
}

QRect RowRect(int Row, QSize Client) { return QRect(QPoint(5, Row * 16 + 5), QPoint(Client.width() - 6, Row * 16 + 20)); }

} // namespace kvlLineRows

std::optional<TkvlFrameType> kvlFrameSampleHit(QPoint P, QSize Client)
{
    const int X = P.x(), Y = P.y(), W = Client.width(), H = Client.height();
    const bool across = 12 < X && X < W - 12, down = 12 < Y && Y < H - 12;
    if (across && 5 < Y && Y < 18)
        return ftTop;
    if (across && H - 18 < Y && Y < H - 5)
        return ftBottom;
    if (down && 5 < X && X < 18)
        return ftLeft;
    if (down && W - 18 < X && X < W - 5)
        return ftRight;
    return std::nullopt;
}

QString kvlColorDisplayName(TColor Color)
{
    QString s = rtl::ColorToString(Color);
    if (s.size() >= 3 && s.startsWith(QLatin1String("cl")))
        s.remove(0, 2);
    else if (s.size() > 3 && s.startsWith(QLatin1String("$00")))
        s.remove(1, 2);
    return s;
}
