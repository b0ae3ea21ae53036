// Format and FormatFloat: pictures and directives interpreted here.
#include "platform/rtl/format.h"

#include "platform/rtl/decimal_p.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/variant.h"

#include <vector>

namespace rtl {

// ---------------------------------------------------------------------------------------------
// FormatFloat

namespace {

// Sections split at ';' outside quotes.
std::vector<QStringView> sections(QStringView pic)
{
    std::vector<QStringView> out;
    qsizetype start = 0;
    QChar quote;
    for (qsizetype i = 0; i < pic.size(); ++i) {
        const QChar c = pic[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            out.push_back(pic.mid(start, i - start));
            start = i + 1;
            if (out.size() == 2)
                break;
        }
    }
    out.push_back(pic.mid(start));
    return out;
}

struct Picture
{
    int intPlaces = 0;     // digit places before the decimal point
    int minInt = 0;        // from the first '0' before the point
    int decPlaces = 0;     // digit places after the point
    int minDec = 0;        // up to the last '0' after the point
    bool thousands = false;
    bool scientific = false;
    bool expSign = false;  // E+ (always a sign) rather than E-
    int expDigits = 0;
};

Picture analyse(QStringView s)
{
    Picture p;
    bool afterPoint = false;
    int firstZero = -1;
    QChar quote;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'0' || c == u'#') {
            if (afterPoint) {
                ++p.decPlaces;
                if (c == u'0')
                    p.minDec = p.decPlaces;
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = p.intPlaces;
                ++p.intPlaces;
            }
        } else if (c == u'.') {
            afterPoint = true;
        } else if (c == u',') {
            p.thousands = true;
        } else if ((c == u'E' || c == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            p.scientific = true;
            p.expSign = s[i + 1] == u'+';
            qsizetype k = i + 2;
            while (k < s.size() && s[k] == u'0') {
                ++p.expDigits;
                ++k;
            }
            break; // what follows the exponent is literal text
        }
    }
    if (firstZero >= 0)
        p.minInt = p.intPlaces - firstZero;
    return p;
}

// Renders one section for |v| (already rounded digits in d).
QString render(QStringView s, const Picture &p, const Decimal &src, const TFormatSettings &fs)
{
    Decimal d = src;
    std::string intDigits, decDigits;
    int exponent = 0;
    if (p.scientific) {
        const int sig = std::max(1, p.intPlaces + p.decPlaces);
        d.roundTo(sig);
        const int lead = std::max(1, p.intPlaces);
        if (!d.digits.empty())
            exponent = d.exp - lead;
        std::string digits = d.digits;
        digits.resize(size_t(lead + p.decPlaces), '0');
        intDigits = digits.substr(0, size_t(lead));
        decDigits = digits.substr(size_t(lead));
        if (p.intPlaces == 0) { // ".00E+00": every digit goes after the point
            intDigits.clear();
            exponent = d.digits.empty() ? 0 : d.exp;
            digits = d.digits;
            digits.resize(size_t(p.decPlaces), '0');
            decDigits = digits;
        }
    } else {
        d.roundTo(d.exp + p.decPlaces);
        for (int i = 0; i < d.exp; ++i)
            intDigits += i < int(d.digits.size()) ? d.digits[size_t(i)] : '0';
        for (int i = 0; i < p.decPlaces; ++i) {
            const int at = d.exp + i;
            decDigits += (at >= 0 && at < int(d.digits.size())) ? d.digits[size_t(at)] : '0';
        }
    }
    while (int(decDigits.size()) > p.minDec && !decDigits.empty() && decDigits.back() == '0')
        decDigits.pop_back();
    if (!p.scientific) {
        if (int(intDigits.size()) < p.minInt)
            intDigits.insert(0, size_t(p.minInt - int(intDigits.size())), '0');
    } else {
        // Leading '#' places of a scientific picture drop zeros.
        while (int(intDigits.size()) > std::max(p.minInt, 1) && intDigits[0] == '0')
            intDigits.erase(0, 1);
    }

    // Integer digit j is written with the group separator that follows it.
    const int n = int(intDigits.size());
    const bool grouping = p.thousands && !p.scientific;
    QString out;
    out.reserve(s.size() + n + n / 3 + int(decDigits.size()) + 8);
    auto emitDigit = [&](int j) {
        out += QLatin1Char(intDigits[size_t(j)]);
        if (grouping && j < n - 1 && (n - j - 1) % 3 == 0)
            out += fs.ThousandSeparator;
    };
    int intPlace = 0;  // integer places met so far
    int unit = 0;      // next integer digit to write
    int decPlace = 0;
    bool afterPoint = false;
    QChar quote;
    const int extra = std::max(0, n - p.intPlaces); // digits beyond the places go at the first one
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                out += c;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
        } else if ((c == u'0' || c == u'#') && !afterPoint) {
            // Place k of the integer places shows digit k - (intPlaces - n) when it exists.
            if (intPlace == 0)
                for (int k = 0; k < extra; ++k)
                    emitDigit(unit++);
            const int want = intPlace - (p.intPlaces - n);
            if (want >= 0 && want < n && unit <= want)
                emitDigit(unit++);
            ++intPlace;
        } else if ((c == u'0' || c == u'#') && afterPoint) {
            if (decPlace < int(decDigits.size()))
                out += QLatin1Char(decDigits[size_t(decPlace)]);
            ++decPlace;
        } else if (c == u'.') {
            if (!afterPoint) {
                if (p.intPlaces == 0)
                    while (unit < n)
                        emitDigit(unit++);
                afterPoint = true;
                if (!decDigits.empty())
                    out += fs.DecimalSeparator;
            }
        } else if (c == u',') {
            // grouping is done with the digits
        } else if ((c == u'E' || c == u'e') && p.scientific && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            if (p.intPlaces == 0 && !afterPoint)
                while (unit < n)
                    emitDigit(unit++);
            out += c;
            QString e = QString::number(std::abs(exponent)).rightJustified(p.expDigits, u'0');
            if (exponent < 0)
                out += u'-';
            else if (p.expSign)
                out += u'+';
            out += e;
            i += 1;
            while (i + 1 < s.size() && s[i + 1] == u'0')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

// Integer digits a fixed picture shows at most.
constexpr int MaxFixedDigits = 18;

QString FormatFloat(const QString &picture, double v, const TFormatSettings &fs)
{
    const Decimal d = Decimal::of(v, 15);
    if (d.special)
        return d.specialText();
    if (picture.isEmpty())
        return FloatToStr(v, fs);
    const std::vector<QStringView> secs = sections(picture);
    // Whether the value shows as zero under the first section decides the zero section.
    const Picture first = analyse(secs[0]);
    Decimal rounded = d;
    if (!first.scientific)
        rounded.roundTo(rounded.exp + first.decPlaces);
    const bool zero = rounded.digits.empty();
    // The section that applies: zero, negative (the magnitude is shown) or the first one
    // (with the sign in front).
    QStringView sec = secs[0];
    Decimal shown = d;
    bool sign = d.negative && !zero;
    if (zero && secs.size() >= 3 && !secs[2].isEmpty()) {
        sec = secs[2];
        shown = Decimal{};
        sign = false;
    } else if (sign && secs.size() >= 2 && !secs[1].isEmpty()) {
        sec = secs[1];
        shown.negative = false;
        sign = false;
    }
    // An empty picture, and a number too large for fixed digits, take the general format.
    const Picture p = analyse(sec);
    if (sec.isEmpty() || (!p.scientific && shown.exp > MaxFixedDigits))
        return FloatToStr(v, fs);
    QString body = render(sec, p, shown, fs);
    if (sign)
        body.prepend(u'-');
    return body;
}

// ---------------------------------------------------------------------------------------------
// Format

namespace {

constexpr int MaxWidth = 4096;

struct Arg
{
    enum Kind { Int, Int64, Float, Str, Bool, Other } kind = Other;
    int64_t i = 0;
    double d = 0;
    QString s;
};

// How an argument travels: integers as 32-bit, 64-bit integers, floats (also currency and
// dates), text, Booleans; Empty and Null count as the integer 0.
Arg toArg(const Variant &v)
{
    Arg a;
    if (v.isEmptyOrNull()) {
        a.kind = Arg::Int;
        return a;
    }
    switch (v.varType()) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
        a.kind = Arg::Int;
        a.i = int32_t(uint32_t(uint64_t(v.toInt64())));
        break;
    case varInt64:
        a.kind = Arg::Int64;
        a.i = v.toInt64();
        break;
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate:
        a.kind = Arg::Float;
        a.d = v.toDouble();
        break;
    case varUString:
        a.kind = Arg::Str;
        a.s = v.toString();
        break;
    case varBoolean:
        a.kind = Arg::Bool;
        a.i = v.toBool();
        break;
    default: break;
    }
    return a;
}

} // namespace

QString Format(const QString &fmt, std::initializer_list<Variant> args, const TFormatSettings &fs)
{
    return Format(fmt, std::span<const Variant>(args.begin(), args.size()), fs);
}

QString Format(const QString &fmt, std::span<const Variant> args, const TFormatSettings &fs)
{
    QString out;
    const qsizetype n = fmt.size();
    size_t next = 0;
    auto invalid = [&]() -> void { raise<EConvertError>(msg::InvalidFormat, fmt); };
    auto take = [&]() -> Arg {
        if (next >= args.size())
            raise<EConvertError>(msg::ArgumentMissing, fmt);
        return toArg(args[next++]);
    };
    // A number in the directive, or '*' taking an integer argument.
    auto number = [&](qsizetype &i, int &value) -> bool {
        if (i < n && fmt[i] == u'*') {
            const Arg a = take();
            if (a.kind != Arg::Int)
                invalid();
            value = int(a.i);
            ++i;
            return true;
        }
        if (i >= n || !fmt[i].isDigit())
            return false;
        int64_t v = 0;
        while (i < n && fmt[i].isDigit() && fmt[i].unicode() < 128) {
            v = v * 10 + (fmt[i].unicode() - u'0');
            if (v > MaxWidth)
                invalid();
            ++i;
        }
        value = int(v);
        return true;
    };

    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = fmt[i];
        if (c != u'%') {
            out += c;
            continue;
        }
        ++i;
        if (i >= n)
            invalid();
        if (fmt[i] == u'%') {
            out += u'%';
            continue;
        }
        // [index:]
        int value = 0;
        bool left = false;
        int width = -1, prec = -1;
        const qsizetype start = i;
        if (number(i, value) && i < n && fmt[i] == u':') {
            next = size_t(std::max(value, 0));
            ++i;
        } else {
            i = start;
            // '*' consumed an argument while looking for an index: read it again as the width.
            if (start < n && fmt[start] == u'*')
                --next;
        }
        if (i < n && fmt[i] == u'-') {
            left = true;
            ++i;
        }
        if (number(i, value))
            width = value;
        if (i < n && fmt[i] == u'.') {
            ++i;
            if (!number(i, value))
                invalid();
            prec = value;
        }
        if (width > MaxWidth || prec > MaxWidth)
            invalid();
        if (i >= n)
            invalid();
        const char16_t type = fmt[i].toLower().unicode();
        QString text;
        switch (type) {
        case u'd': {
            const Arg a = take();
            if (a.kind != Arg::Int && a.kind != Arg::Int64)
                invalid();
            text = QString::number(a.i < 0 ? -(a.i + 1) + uint64_t(1) : uint64_t(a.i));
            if (prec > 0 && text.size() < prec)
                text = text.rightJustified(prec, u'0');
            if (a.i < 0)
                text.prepend(u'-');
            break;
        }
        case u'u': {
            const Arg a = take();
            if (a.kind != Arg::Int && a.kind != Arg::Int64)
                invalid();
            const uint64_t u = a.kind == Arg::Int ? uint64_t(uint32_t(a.i)) : uint64_t(a.i);
            text = QString::number(u);
            if (prec > 0 && text.size() < prec)
                text = text.rightJustified(prec, u'0');
            break;
        }
        case u'x':
        case u'p': {
            const Arg a = take();
            if (a.kind != Arg::Int && a.kind != Arg::Int64)
                invalid();
            const uint64_t u = a.kind == Arg::Int ? uint64_t(uint32_t(a.i)) : uint64_t(a.i);
            text = QString::number(u, 16).toUpper();
            const int digits = type == u'p' ? 16 : prec;
            if (digits > 0 && text.size() < digits)
                text = text.rightJustified(digits, u'0');
            break;
        }
        case u'e':
        case u'f':
        case u'g':
        case u'n':
        case u'm': {
            const Arg a = take();
            if (a.kind != Arg::Float)
                invalid();
            switch (type) {
            case u'e': text = FloatToStrF(a.d, FloatFormat::Exponent, prec < 0 ? 15 : prec, 3, fs); break;
            case u'f': text = FixedDirectiveText(a.d, FloatFormat::Fixed, prec < 0 ? 2 : prec, fs); break;
            case u'g': text = FloatToStrF(a.d, FloatFormat::General, prec < 0 ? 15 : prec, 0, fs); break;
            case u'n': text = FixedDirectiveText(a.d, FloatFormat::Number, prec < 0 ? 2 : prec, fs); break;
            default:
                text = FixedDirectiveText(a.d, FloatFormat::Currency, prec < 0 ? fs.CurrencyDecimals : prec, fs);
                break;
            }
            break;
        }
        case u's': {
            const Arg a = take();
            if (a.kind != Arg::Str)
                invalid();
            text = prec >= 0 ? a.s.left(prec) : a.s;
            break;
        }
        default: invalid();
        }
        if (width > text.size())
            text = left ? text.leftJustified(width, u' ') : text.rightJustified(width, u' ');
        out += text;
    }
    return out;
}

} // namespace rtl
