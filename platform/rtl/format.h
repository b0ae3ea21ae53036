#pragma once
// Number and text formatting and parsing by the run-time library's rules. Every function
// takes the process-wide format settings unless given others. Format strings are
// interpreted here, never handed to printf.
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/numeric.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <span>

class Variant;

namespace rtl {

// Shortest text with at most 15 significant digits; scientific ("1E20", "1.5E-7") when the
// value has more than 15 integer digits or is below 0.0001.
QString FloatToStr(double v, const TFormatSettings &fs = FormatSettings());
QString CurrToStr(Currency v, const TFormatSettings &fs = FormatSettings());
QString IntToStr(int64_t v);
QString IntToHex(int64_t v, int digits);

enum class FloatFormat { General, Exponent, Fixed, Number, Currency };
// FloatToStrF: precision = significant digits (General, Exponent) or 15 max; digits = decimals
// (Fixed, Number, Currency) or minimum exponent digits (Exponent).
QString FloatToStrF(double v, FloatFormat format, int precision, int digits,
                    const TFormatSettings &fs = FormatSettings());

// Picture formatting: up to three sections (positive;negative;zero) of 0 # . , E+ E- e+ e-
// and quoted text.
QString FormatFloat(const QString &picture, double v, const TFormatSettings &fs = FormatSettings());

// Parsing. Leading and trailing blanks are allowed; the decimal separator is the settings' one.
// The Str... forms raise EConvertError with the standard message, Try... return nullopt,
// ...Def return the default.
std::optional<double> TryStrToFloat(const QString &s, const TFormatSettings &fs = FormatSettings());
double StrToFloat(const QString &s, const TFormatSettings &fs = FormatSettings());
double StrToFloatDef(const QString &s, double def, const TFormatSettings &fs = FormatSettings());
// Decimal or hexadecimal ("$1F", "0x1F") integers.
std::optional<int64_t> TryStrToInt64(const QString &s);
int64_t StrToInt64(const QString &s);
int64_t StrToInt64Def(const QString &s, int64_t def);
std::optional<int32_t> TryStrToInt(const QString &s);
int32_t StrToInt(const QString &s);
int32_t StrToIntDef(const QString &s, int32_t def);
// "True"/"False" in any case, or a number (non-zero is True).
std::optional<bool> TryStrToBool(const QString &s);
bool StrToBool(const QString &s);
QString BoolToStr(bool b, bool useBoolStrs = false); // "-1"/"0", or "True"/"False"

// Format: %[index:][-][width][.precision]type with the types d u e f g n m x s p,
// and * for width or precision taken from the arguments. Raises EConvertError for an unknown
// directive, a missing or mistyped argument, or a width or precision over 4096.
QString Format(const QString &fmt, std::span<const Variant> args, const TFormatSettings &fs = FormatSettings());
QString Format(const QString &fmt, std::initializer_list<Variant> args, const TFormatSettings &fs = FormatSettings());

// Text formatted through an edit mask ("!99/99/0000;1;_").
QString FormatMaskText(const QString &editMask, const QString &value);

} // namespace rtl
