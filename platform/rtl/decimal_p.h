#pragma once
// Private to the formatters: a number as decimal digits.
#include "platform/rtl/format.h"

#include <QString>
#include <string>

namespace rtl {

// |value| = 0.DIGITS x 10^exp; digits carry no trailing zeros, zero has none.
struct Decimal
{
    enum Special { None, Nan, Inf };
    bool negative = false;
    Special special = None;
    std::string digits;
    int exp = 0;

    // value rounded to `precision` significant digits (the binary value read exactly first).
    static Decimal of(double v, int precision);
    // Keeps `count` significant digits, rounding half away from zero on the decimal digits.
    void roundTo(int count);
    void trim();
    QString specialText() const;
};

// Format's %f, %n and %m: fixed notation while the integer part has at most 18 digits, those
// digits exactly as the binary value has them; the general format beyond.
QString FixedDirectiveText(double v, FloatFormat format, int decimals, const TFormatSettings &fs);

} // namespace rtl
