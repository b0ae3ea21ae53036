// Number to text and text to number.
#include "platform/rtl/decimal_p.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <cmath>
#include <cstring>
#include <limits>

namespace rtl {

// ---------------------------------------------------------------------------------------------
// Decimal digits

Decimal Decimal::of(double v, int precision)
{
    Decimal d;
    d.negative = std::signbit(v) && v != 0.0;
    if (std::isnan(v)) {
        d.special = Nan;
        return d;
    }
    if (std::isinf(v)) {
        d.special = Inf;
        return d;
    }
    if (v == 0.0)
        return d;
    precision = std::clamp(precision, 1, 17);
    char buf[64];
    // The shortest text that reads back as v is, when it has no more digits than asked for,
    // exactly v rounded to that many digits (decimal steps are wider than the double's), and
    // much cheaper to get than a rounding at a given precision.
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
    std::string_view text(buf, size_t(res.ptr - buf));
    const size_t mantissa = text.find('e');
    if (int(mantissa) - (mantissa > 1 ? 1 : 0) > precision) {
        res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, precision - 1);
        text = std::string_view(buf, size_t(res.ptr - buf));
    }
    const size_t e = std::min(text.find('e'), std::min(text.size(), sizeof buf));
    d.digits.assign(1, text[0]); // "d.ddde+x": the digit before the point, then the rest
    if (e > 2)
        d.digits.append(text.data() + 2, e - 2);
    int exp10 = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exp10);
    d.exp = exp10 + 1;
    d.trim();
    return d;
}

void Decimal::trim()
{
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (digits.empty())
        exp = 0;
}

void Decimal::roundTo(int count)
{
    if (special || int(digits.size()) <= count)
        return;
    if (count < 0) {
        digits.clear();
        exp = 0;
        return;
    }
    const bool up = digits[size_t(count)] >= '5'; // half away from zero on the decimal digits
    digits.resize(size_t(count));
    if (up) {
        int i = count - 1;
        while (i >= 0 && digits[size_t(i)] == '9') {
            digits[size_t(i)] = '0';
            --i;
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++exp;
        } else {
            ++digits[size_t(i)];
        }
    }
    trim();
}

QString Decimal::specialText() const
{
    if (special == Nan)
        return QStringLiteral("NAN");
    return negative ? QStringLiteral("-INF") : QStringLiteral("INF");
}

namespace {

// Integer digits of d (at least "0" when empty is not allowed) and `decimals` fraction digits.
void splitFixed(const Decimal &d, int decimals, std::string &intPart, std::string &fracPart)
{
    intPart.clear();
    fracPart.clear();
    for (int i = 0; i < d.exp; ++i)
        intPart += i < int(d.digits.size()) ? d.digits[size_t(i)] : '0';
    for (int i = 0; i < decimals; ++i) {
        const int at = d.exp + i;
        fracPart += (at >= 0 && at < int(d.digits.size())) ? d.digits[size_t(at)] : '0';
    }
}

QString group(const std::string &intPart, QChar sep)
{
    QString out;
    const int n = int(intPart.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0 && !sep.isNull())
            out += sep;
        out += QLatin1Char(intPart[size_t(i)]);
    }
    return out;
}

QString exponentText(int e, int minDigits, bool alwaysSign)
{
    QString s = QString::number(std::abs(e)).rightJustified(minDigits, u'0');
    if (e < 0)
        return u'-' + s;
    return alwaysSign ? u'+' + s : s;
}

QString generalText(Decimal d, int precision, int expDigits, const TFormatSettings &fs)
{
    d.roundTo(precision);
    if (d.digits.empty())
        return QStringLiteral("0");
    // Built in one buffer ('.' for the separator, patched afterwards): one allocation per call.
    char buf[64];
    int n = 0, sepAt = -1;
    const int nd = int(d.digits.size());
    if (d.negative)
        buf[n++] = '-';
    if (d.exp > precision || d.exp < -3) {
        buf[n++] = d.digits[0];
        if (nd > 1) {
            sepAt = n;
            buf[n++] = '.';
            std::memcpy(buf + n, d.digits.data() + 1, size_t(nd - 1));
            n += nd - 1;
        }
        buf[n++] = 'E';
        int e = d.exp - 1;
        if (e < 0) {
            buf[n++] = '-';
            e = -e;
        }
        char eb[12];
        const int el = int(std::to_chars(eb, eb + sizeof eb, e).ptr - eb);
        for (int k = el; k < std::min(expDigits, 4); ++k)
            buf[n++] = '0';
        std::memcpy(buf + n, eb, size_t(el));
        n += el;
    } else if (d.exp <= 0) {
        buf[n++] = '0';
        sepAt = n;
        buf[n++] = '.';
        for (int k = 0; k < -d.exp; ++k)
            buf[n++] = '0';
        std::memcpy(buf + n, d.digits.data(), size_t(nd));
        n += nd;
    } else {
        for (int i = 0; i < d.exp; ++i)
            buf[n++] = i < nd ? d.digits[size_t(i)] : '0';
        if (nd > d.exp) {
            sepAt = n;
            buf[n++] = '.';
            std::memcpy(buf + n, d.digits.data() + d.exp, size_t(nd - d.exp));
            n += nd - d.exp;
        }
    }
    QString out = QString::fromLatin1(buf, n);
    if (sepAt >= 0)
        out[sepAt] = fs.DecimalSeparator;
    return out;
}

QString exponentFormText(Decimal d, int precision, int expDigits, const TFormatSettings &fs)
{
    precision = std::clamp(precision, 1, 15);
    d.roundTo(precision);
    std::string digits = d.digits;
    digits.resize(size_t(precision), '0');
    QString out;
    if (d.negative && !d.digits.empty())
        out += u'-';
    out += QLatin1Char(digits[0]);
    if (precision > 1)
        out += fs.DecimalSeparator + QString::fromLatin1(digits.data() + 1, qsizetype(digits.size() - 1));
    out += u'E' + exponentText(d.digits.empty() ? 0 : d.exp - 1, expDigits, true);
    return out;
}

// Fixed and Number forms: the bare number text (sign excluded) and whether it is non-zero.
QString fixedBody(const Decimal &src, int decimals, bool thousands, const TFormatSettings &fs, bool &nonZero)
{
    Decimal d = src;
    d.roundTo(d.exp + decimals);
    nonZero = !d.digits.empty();
    std::string ip, fp;
    splitFixed(d, decimals, ip, fp);
    if (ip.empty())
        ip.push_back('0');
    QString out = thousands ? group(ip, fs.ThousandSeparator) : QString::fromLatin1(ip);
    if (decimals > 0)
        out += fs.DecimalSeparator + QString::fromLatin1(fp);
    return out;
}

QString currencyText(const QString &num, bool negative, const TFormatSettings &fs)
{
    static const char *const pos[] = {"$1", "1$", "$ 1", "1 $"};
    static const char *const neg[] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
                                      "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
    const char *pattern = negative ? neg[std::clamp(fs.NegCurrFormat, 0, 15)] : pos[std::clamp(fs.CurrencyFormat, 0, 3)];
    QString out;
    for (const char *p = pattern; *p; ++p) {
        if (*p == '$')
            out += fs.CurrencyString;
        else if (*p == '1')
            out += num;
        else
            out += QLatin1Char(*p);
    }
    return out;
}

} // namespace

QString FloatToStrF(double v, FloatFormat format, int precision, int digits, const TFormatSettings &fs)
{
    const Decimal d = Decimal::of(v, std::clamp(precision, 1, 15));
    if (d.special)
        return d.specialText();
    precision = std::clamp(precision, 1, 15);
    switch (format) {
    case FloatFormat::General: return generalText(d, precision, digits, fs);
    case FloatFormat::Exponent: return exponentFormText(d, precision, digits, fs);
    case FloatFormat::Fixed:
    case FloatFormat::Number:
    case FloatFormat::Currency: {
        if (d.exp > precision && format != FloatFormat::Currency)
            return generalText(d, precision, 0, fs);
        digits = std::clamp(digits, 0, 18);
        bool nonZero = false;
        const QString body = fixedBody(d, digits, format != FloatFormat::Fixed, fs, nonZero);
        const bool neg = d.negative && nonZero;
        if (format == FloatFormat::Currency)
            return currencyText(body, neg, fs);
        return neg ? u'-' + body : body;
    }
    }
    return QString();
}

QString FixedDirectiveText(double v, FloatFormat format, int decimals, const TFormatSettings &fs)
{
    // Below 1e15 fifteen significant digits hold every integer digit.
    const double mag = std::fabs(v);
    if (!(mag >= 1e15 && mag < 1e18))
        return FloatToStrF(v, format, 15, decimals, fs);
    decimals = std::clamp(decimals, 0, 18);
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, mag, std::chars_format::fixed, decimals);
    const std::string_view text(buf, size_t(res.ptr - buf));
    const size_t point = std::min(text.find('.'), text.size());
    const std::string ip(text.substr(0, point));
    QString body = format == FloatFormat::Fixed ? QString::fromLatin1(ip) : group(ip, fs.ThousandSeparator);
    if (decimals > 0)
        body += fs.DecimalSeparator + QString::fromLatin1(text.data() + point + 1, qsizetype(text.size() - point - 1));
    if (format == FloatFormat::Currency)
        return currencyText(body, v < 0, fs);
    return v < 0 ? u'-' + body : body;
}

QString FloatToStr(double v, const TFormatSettings &fs)
{
    const Decimal d = Decimal::of(v, 15);
    if (d.special)
        return d.specialText();
    return generalText(d, 15, 0, fs);
}

QString CurrToStr(Currency v, const TFormatSettings &fs)
{
    // Exact: digits straight from the scaled integer.
    const bool neg = v.raw < 0;
    const uint64_t mag = neg ? uint64_t(0) - uint64_t(v.raw) : uint64_t(v.raw);
    QString out = QString::number(mag / Currency::Scale);
    uint64_t frac = mag % Currency::Scale;
    if (frac) {
        QString f = QString::number(frac).rightJustified(4, u'0');
        while (f.endsWith(u'0'))
            f.chop(1);
        out += fs.DecimalSeparator + f;
    }
    return neg ? u'-' + out : out;
}

QString IntToStr(int64_t v) { return QString::number(v); }

QString IntToHex(int64_t v, int digits)
{
    return QString::number(uint64_t(v), 16).toUpper().rightJustified(std::clamp(digits, 0, 32), u'0');
}

// ---------------------------------------------------------------------------------------------
// Parsing

std::optional<double> TryStrToFloat(const QString &s, const TFormatSettings &fs)
{
    const QString t = s.trimmed();
    std::string ascii;
    ascii.reserve(size_t(t.size()));
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ascii += char(t[i++].unicode());
    int mantissaDigits = 0;
    while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
        ascii += char(t[i++].unicode());
        ++mantissaDigits;
    }
    if (i < n && t[i] == fs.DecimalSeparator) {
        ++i;
        ascii += '.';
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
            ascii += char(t[i++].unicode());
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            ascii += char(t[i++].unicode());
        int expDigits = 0;
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
            ascii += char(t[i++].unicode());
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    const char *first = ascii.data() + (ascii[0] == '+' ? 1 : 0);
    double v = 0;
    const auto res = std::from_chars(first, ascii.data() + ascii.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow does not convert.
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
        const double r = strtod_l(ascii.c_str(), nullptr, c);
        if (std::isfinite(r))
            return std::fabs(r) < 1.0 ? r : std::optional<double>();
        return std::nullopt;
    }
    if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

double StrToFloat(const QString &s, const TFormatSettings &fs)
{
    if (const auto v = TryStrToFloat(s, fs))
        return *v;
    raise<EConvertError>(msg::InvalidFloat, s);
}

double StrToFloatDef(const QString &s, double def, const TFormatSettings &fs)
{
    return TryStrToFloat(s, fs).value_or(def);
}

std::optional<int64_t> TryStrToInt64(const QString &s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s[i] == u' ')
        ++i;
    bool neg = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        neg = s[i++] == u'-';
    int base = 10;
    if (i < n && s[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return std::nullopt;
    uint64_t mag = 0;
    const uint64_t limit = neg ? uint64_t(1) << 63 : (base == 16 ? ~uint64_t(0) : (uint64_t(1) << 63) - 1);
    for (; i < n; ++i) {
        const char16_t c = s[i].unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return std::nullopt;
        if (mag > (limit - uint64_t(digit)) / uint64_t(base))
            return std::nullopt;
        mag = mag * uint64_t(base) + uint64_t(digit);
    }
    // Hexadecimal text may spell the full 64-bit pattern ($FFFFFFFFFFFFFFFF is -1).
    return neg ? int64_t(uint64_t(0) - mag) : int64_t(mag);
}

int64_t StrToInt64(const QString &s)
{
    if (const auto v = TryStrToInt64(s))
        return *v;
    raise<EConvertError>(msg::InvalidInteger, s);
}

int64_t StrToInt64Def(const QString &s, int64_t def) { return TryStrToInt64(s).value_or(def); }

std::optional<int32_t> TryStrToInt(const QString &s)
{
    const auto v = TryStrToInt64(s);
    if (!v)
        return std::nullopt;
    const bool hex = s.contains(u'$') || s.contains(u'x') || s.contains(u'X');
    if (hex && *v >= 0 && *v <= int64_t(std::numeric_limits<uint32_t>::max()))
        return int32_t(uint32_t(*v)); // $FFFFFFFF is -1 as a 32-bit integer
    if (*v < std::numeric_limits<int32_t>::min() || *v > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return int32_t(*v);
}

int32_t StrToInt(const QString &s)
{
    if (const auto v = TryStrToInt(s))
        return *v;
    raise<EConvertError>(msg::InvalidInteger, s);
}

int32_t StrToIntDef(const QString &s, int32_t def) { return TryStrToInt(s).value_or(def); }

std::optional<bool> TryStrToBool(const QString &s)
{
    if (s.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (s.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    if (const auto v = TryStrToFloat(s))
        return *v != 0.0;
    return std::nullopt;
}

bool StrToBool(const QString &s)
{
    if (const auto v = TryStrToBool(s))
        return *v;
    raise<EConvertError>(msg::InvalidBoolean, s);
}

QString BoolToStr(bool b, bool useBoolStrs)
{
    if (useBoolStrs)
        return b ? QStringLiteral("True") : QStringLiteral("False");
    return b ? QStringLiteral("-1") : QStringLiteral("0");
}

} // namespace rtl
