#pragma once
// Numeric helpers with the rounding rules report geometry relies on.
#include <cmath>
#include <cstdint>

namespace rtl {

// Round to nearest, ties to even (as the report library rounds pixel values).
inline int64_t Round(double v) { return static_cast<int64_t>(std::nearbyint(v)); }

// Drop the fraction toward zero.
inline int64_t Trunc(double v) { return static_cast<int64_t>(std::trunc(v)); }

// a * b / c computed in 64 bits, rounded half away from zero; -1 when c is 0.
inline int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    const int64_t p = int64_t(a) * int64_t(b);
    int64_t q = p / c;
    const int64_t r = p % c;
    // |2r| >= |c|: round away from zero.
    if (2 * (r < 0 ? -r : r) >= (c < 0 ? -int64_t(c) : int64_t(c)))
        q += ((p < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int32_t>(q);
}

// Fixed-point money value: an integer count of ten-thousandths.
struct Currency
{
    static constexpr int64_t Scale = 10000;
    int64_t raw = 0;

    static constexpr Currency fromRaw(int64_t r) { return Currency{r}; }
    double toDouble() const { return double(raw) / double(Scale); }
    friend constexpr bool operator==(Currency a, Currency b) { return a.raw == b.raw; }
};

} // namespace rtl
