#pragma once
// Rectangles in absolute page pixels, for finding which objects lie below which.
#include "report/core/kvlcomponent.h" // TkvlRect

#include <optional>

struct TkvlPoint {
    double X = 0, Y = 0;
};

inline TkvlRect kvlRect(double Left, double Top, double Right, double Bottom) { return {Left, Top, Right, Bottom}; }
inline TkvlPoint kvlPoint(double X, double Y) { return {X, Y}; }

class TkvlRectArea
{
public:
    TkvlRectArea() = default;
    TkvlRectArea(double Left, double Top, double Right, double Bottom)
        : Left(Left), Top(Top), Right(Right), Bottom(Bottom) {}
    // The component's absolute box on its page.
    explicit TkvlRectArea(const TkvlComponent &Component);

    // Overlap along one axis, with a tolerance of 0.0001 pixel.
    bool InterceptsX(const TkvlRectArea &Area) const;
    bool InterceptsY(const TkvlRectArea &Area) const;

    // The horizontal (vertical) overlap, with the other axis 0; none without overlap.
    std::optional<TkvlRectArea> InterceptX(const TkvlRectArea &Area) const;
    std::optional<TkvlRectArea> InterceptY(const TkvlRectArea &Area) const;

    static double Max(double a, double b) { return a > b ? a : b; }
    static double Min(double a, double b) { return a < b ? a : b; }

    double Left = 0, Top = 0, Right = 0, Bottom = 0;
};
