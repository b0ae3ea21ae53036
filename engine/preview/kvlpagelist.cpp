#include "engine/preview/kvlpagelist.h"

#include <algorithm>
#include <cmath>

namespace {
int roundEven(double v) { return int(std::nearbyint(v)); }
} // namespace

void TkvlPageList::AddPage(int Width, int Height, double Zoom)
{
    TkvlPageItem item;
    item.Width = roundEven(Zoom * Width);
    item.Height = roundEven(Zoom * Height);
    FItems.push_back(item);
    if (FLayingOut)
        place(FItems.size() - 1);
}

void TkvlPageList::Clear()
{
    FItems.clear();
    FMaxWidth = 0;
    FLayingOut = false;
}

void TkvlPageList::startRows(int ClientWidth)
{
    FMaxWidth = 0;
    FRow = RowCursor{};
    FRow.ClientWidth = ClientWidth;
}

void TkvlPageList::place(size_t Index)
{
    TkvlPageItem &item = FItems[Index];
    if (FRow.X != 0 && item.Width + FRow.X > FRow.ClientWidth)
        closeRow(Index);
    item.OffsetX = FRow.X;
    item.OffsetY = FRow.Y;
    FRow.Height = std::max(FRow.Height, item.Height);
    FRow.X += item.Width + 10;
}

void TkvlPageList::closeRow(size_t End)
{
    FMaxWidth = std::max(FMaxWidth, FRow.X);
    int c = (FRow.ClientWidth - FRow.X + 10) / 2;
    c = c < 0 ? 10 : c + 10;
    for (size_t k = FRow.Start; k < End; ++k)
        FItems[k].OffsetX += c;
    FRow.Y += FRow.Height + 10;
    FRow.X = FRow.Height = 0;
    FRow.Start = End;
}

void TkvlPageList::CalcBounds(int ClientWidth)
{
    FLayingOut = false;
    startRows(ClientWidth);
    for (size_t i = 0; i < FItems.size(); ++i)
        place(i);
    if (FRow.Start < FItems.size())
        closeRow(FItems.size());
}

void TkvlPageList::BeginLayout(int ClientWidth, int ExpectedCount)
{
    Clear();
    FItems.reserve(size_t(std::max(ExpectedCount, 0)));
    startRows(ClientWidth);
    FLayingOut = true;
}

void TkvlPageList::EndLayout()
{
    if (FLayingOut && FRow.Start < FItems.size())
        closeRow(FItems.size());
    FLayingOut = false;
}

QRect TkvlPageList::GetPageBounds(int Index, int ClientWidth, double Scale, bool RTL) const
{
    if (Index >= 0 && Index < Count()) {
        const TkvlPageItem &item = FItems[size_t(Index)];
        const int left = RTL ? ClientWidth - item.Width - item.OffsetX : item.OffsetX;
        return QRect(QPoint(left, item.OffsetY), QSize(item.Width, item.Height));
    }
    const double w = 794 * Scale;
    const int left = ClientWidth >= w ? roundEven((ClientWidth - w) / 2) : 10;
    const int top = roundEven(10 * Scale);
    const int right = roundEven(left + w);
    const int bottom = roundEven(top + 1123 * Scale);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QPoint TkvlPageList::GetMaxBounds() const
{
    if (FItems.empty())
        return QPoint(0, 0);
    return QPoint(FMaxWidth, FItems.back().OffsetY + FItems.back().Height);
}

int TkvlPageList::FindPage(int OffsetY, int OffsetX) const
{
    int low = 0, high = Count() - 1;
    while (high >= low) {
        const int middle = (low + high) / 2;
        const TkvlPageItem &item = FItems[size_t(middle)];
        const int tolerance = OffsetX != 0 ? 0 : roundEven(item.Height / 5.0);
        if (OffsetY + tolerance < item.OffsetY)
            high = middle - 1;
        else
            low = middle + 1;
    }
    if (OffsetX == 0)
        return high;
    const int from = std::max(0, high - 20), to = std::min(Count() - 1, high + 20);
    for (int i = from; i <= to; ++i) {
        const TkvlPageItem &item = FItems[size_t(i)];
        if (OffsetX >= item.OffsetX && OffsetX < item.OffsetX + item.Width && OffsetY >= item.OffsetY &&
            OffsetY < item.OffsetY + item.Height)
            return i;
    }
    return high;
}

int kvlPreviewPosition(int PageTop, double TopMarginMm, int Top, double Zoom)
{
    const int offset = Top == 0 ? 0 : roundEven((TopMarginMm * kvlPreviewPixelsPerMm + Top) * Zoom);
    return PageTop + offset - 10;
}

int kvlPreviewTopPosition(int VertPosition, int PageTop, double TopMarginMm, double Zoom)
{
    return roundEven((VertPosition - PageTop + 10) / Zoom - TopMarginMm * kvlPreviewPixelsPerMm);
}

int kvlPreviewRefreshStep(long long SecondPageMs)
{
    if (SecondPageMs <= 4)
        return 50;
    if (SecondPageMs > 9)
        return 5;
    return 20;
}
