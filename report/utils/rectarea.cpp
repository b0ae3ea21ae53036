#include "report/utils/rectarea.h"

namespace {
constexpr double Eps = 0.0001;
}

TkvlRectArea::TkvlRectArea(const TkvlComponent &Component)
    : Left(Component.GetAbsLeft()), Top(Component.GetAbsTop()), Right(Left + Component.Width()),
      Bottom(Top + Component.Height())
{
}

bool TkvlRectArea::InterceptsX(const TkvlRectArea &Area) const
{
    return Area.Left < Right - Eps && Area.Right > Left + Eps;
}

bool TkvlRectArea::InterceptsY(const TkvlRectArea &Area) const
{
    return Area.Top < Bottom - Eps && Area.Bottom > Top + Eps;
}

std::optional<TkvlRectArea> TkvlRectArea::InterceptX(const TkvlRectArea &Area) const
{
    if (!InterceptsX(Area))
        return std::nullopt;
    return TkvlRectArea(Max(Left, Area.Left), 0, Min(Right, Area.Right), 0);
}

std::optional<TkvlRectArea> TkvlRectArea::InterceptY(const TkvlRectArea &Area) const
{
    if (!InterceptsY(Area))
        return std::nullopt;
    return TkvlRectArea(0, Max(Top, Area.Top), 0, Min(Bottom, Area.Bottom));
}
