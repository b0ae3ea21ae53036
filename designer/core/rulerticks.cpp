#include "designer/core/rulerticks.h"

#include "report/dmp/kvldmpgrid.h"

#include <cmath>

namespace {

constexpr double kPixelsPerMm = 96 / 25.4;
constexpr double kPixelsPerTenthInch = 9.6;
constexpr double kMaxMarks = 1 << 20;

int roundEven(double v) { return int(std::nearbyint(v)); }

double cellSize(const TkvlRulerScale &r) { return r.Vertical ? kvlCharY : kvlCharX; }

// Length of the scale: the given size, else the ruler's length plus the shift.
int scaleLength(const TkvlRulerScale &r) { return r.Size != 0 ? r.Size : r.Length + r.Start; }

} // namespace

double kvlRulerStep(const TkvlRulerScale &r)
{
    switch (r.Units) {
    case ruCM: return kPixelsPerMm * r.Scale;
    case ruInches: return kPixelsPerTenthInch * r.Scale;
    case ruChars: return cellSize(r) * r.Scale / 10;
    case ruPixels: break;
    }
    return r.Scale;
}

int kvlRulerMainDivision(TkvlRulerUnits u) { return u == ruPixels ? 100 : 10; }

int kvlRulerZero(const TkvlRulerScale &r)
{
    int z = r.Offset - r.Start;
    if (r.Units == ruChars)
        z += roundEven(cellSize(r) * r.Scale / 2);
    return z;
}

int kvlRulerEnd(const TkvlRulerScale &r) { return r.Size != 0 ? r.Size + r.Offset : r.Length; }

std::vector<TkvlRulerTick> kvlRulerTicks(const TkvlRulerScale &r, const std::function<int(QStringView)> &textWidth)
{
    std::vector<TkvlRulerTick> ticks;
    const double s = kvlRulerStep(r);
    if (!(s > 0) || !std::isfinite(s))
        return ticks;
    const bool pixels = r.Units == ruPixels;
    const int M = kvlRulerMainDivision(r.Units), H = M / 2;
    const double L = scaleLength(r);
    const int z = kvlRulerZero(r);
    const double F = s * M;
    long long largest = (long long)std::nearbyint(L / s) + r.Start;
    if (!pixels)
        largest /= 10;
    const int w = textWidth(QString::number(largest));
    const int g = w > 1.5 * F ? 4 * M : (w > 0.7 * F ? 2 * M : M);
    const bool smallTicks = !pixels && F >= 41, halfTicks = F >= 21;
    // Only the divisions that can carry a mark are visited.
    const int step = smallTicks ? 1 : (halfTicks ? H : M);
    // A zoom so small that millions of marks would land on the same pixels draws none.
    if (L / (s * step) > kMaxMarks)
        return ticks;
    for (long long i = step; double(i) * s < L; i += step) {
        const int pos = z + roundEven(double(i) * s);
        if (pos < r.Offset)
            continue;
        TkvlTickKind kind;
        if (i % M == 0)
            kind = TkvlTickKind::Main;
        else if (i % H == 0)
            kind = TkvlTickKind::Half;
        else
            kind = TkvlTickKind::Small;
        if (kind == TkvlTickKind::Main && i % g == 0)
            ticks.push_back({pos, TkvlTickKind::Label, QString::number(pixels ? i : i / 10)});
        else
            ticks.push_back({pos, kind, QString()});
    }
    return ticks;
}

std::optional<int> kvlRulerMarker(const TkvlRulerScale &r, double position)
{
    double p = kvlRulerStep(r) * position;
    if (r.Units != ruPixels)
        p *= 10;
    const int z = kvlRulerZero(r);
    if (!std::isfinite(p) || z + p < r.Offset)
        return std::nullopt;
    return z + roundEven(p);
}
