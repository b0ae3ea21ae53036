#pragma once
// The preview's page layout: one item per prepared page, in workspace pixels at the zoom,
// laid out in centred rows, with the hit test and scroll-position arithmetic the page
// workspace needs. Free of widgets so that it is tested on its own.
#include <QPoint>
#include <QRect>
#include <vector>

struct TkvlPageItem {
    int Width = 0, Height = 0;    // already multiplied by the zoom
    int OffsetX = 0, OffsetY = 0; // top-left corner in the scrolled area
};

class TkvlPageList {
public:
    // Appends a page of the given size at zoom 1, scaled (and rounded) to the zoom.
    void AddPage(int Width, int Height, double Zoom);
    void Clear();
    int Count() const { return int(FItems.size()); }
    const TkvlPageItem &Item(int Index) const { return FItems[size_t(Index)]; }

    // Rows filled left to right for a client of that width, 10 pixels between pages and
    // around them, each row centred.
    void CalcBounds(int ClientWidth);
    // The same rows built while the pages are added, in one pass over the items: BeginLayout
    // empties the list, each AddPage is placed at once, EndLayout centres the last row.
    void BeginLayout(int ClientWidth, int ExpectedCount = 0);
    void EndLayout();
    // The item's rectangle (mirrored in right-to-left layout); a missing index gives an
    // A4-sized default at the scale.
    QRect GetPageBounds(int Index, int ClientWidth, double Scale, bool RTL) const;
    // Width of the widest row with its trailing gap, and the bottom of the last page.
    QPoint GetMaxBounds() const;
    // OffsetX = 0: the last page whose top is reached by OffsetY, allowing a fifth of its
    // height (scroll tracking). Otherwise a point: the page that contains it near the
    // halving result, else that result. -1 above the first page.
    int FindPage(int OffsetY, int OffsetX = 0) const;

    int MaxWidth() const { return FMaxWidth; }

private:
    // The row being filled: where the next page goes and where the row began.
    struct RowCursor {
        int ClientWidth = 0;
        int X = 0, Y = 10, Height = 0;
        size_t Start = 0;
    };
    void startRows(int ClientWidth);
    void place(size_t Index);
    void closeRow(size_t End);

    std::vector<TkvlPageItem> FItems;
    int FMaxWidth = 0;
    RowCursor FRow;
    bool FLayingOut = false;
};

// Screen pixels per millimetre at zoom 1.
constexpr double kvlPreviewPixelsPerMm = 3.77953;

// Vertical scroll position that shows a page with Top pixels (at zoom 1, from the top of
// its printable area, whose margin is TopMarginMm) 10 pixels below the view's top.
int kvlPreviewPosition(int PageTop, double TopMarginMm, int Top, double Zoom);
// The inverse: Top for the vertical position VertPosition.
int kvlPreviewTopPosition(int VertPosition, int PageTop, double TopMarginMm, double Zoom);

// How many pages pass between refreshes of the page counter while the engine runs, chosen
// from the milliseconds the second page took.
int kvlPreviewRefreshStep(long long SecondPageMs);
