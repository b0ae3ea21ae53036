#include "report/memo/memoformat.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "report/views/kvlhighlight.h"

namespace {

enum class Conversion { None, Integer, Float };

// A numeric format of literal text around exactly one conversion: '%', an optional '-', a
// width and a precision of at most three digits each, then one of d u x (integer) or f e g n
// m (float). "%%" is a literal percent. Anything else is no conversion.
Conversion parseNumericFormat(const QString &f)
{
    Conversion found = Conversion::None;
    const qsizetype n = f.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (f[i] != u'%')
            continue;
        if (i + 1 < n && f[i + 1] == u'%') {
            ++i;
            continue;
        }
        if (found != Conversion::None)
            return Conversion::None;  // a second conversion
        qsizetype k = i + 1;
        if (k < n && f[k] == u'-')
            ++k;
        auto digits = [&] {
            const qsizetype s = k;
            while (k < n && f[k].isDigit() && f[k].unicode() < 128)
                ++k;
            return k - s;
        };
        if (digits() > 3)
            return Conversion::None;
        if (k < n && f[k] == u'.') {
            ++k;
            if (digits() > 3)
                return Conversion::None;
        }
        if (k >= n)
            return Conversion::None;
        switch (f[k].unicode()) {
        case u'd': case u'u': case u'x': found = Conversion::Integer; break;
        case u'f': case u'e': case u'g': case u'n': case u'm': found = Conversion::Float; break;
        default: return Conversion::None;
        }
        i = k;
    }
    return found;
}

// A picture has a '#' or starts with '0'; looked at here, the format being short.
bool isPicture(const QString &Format)
{
    if (!Format.isEmpty() && Format.front() == u'0')
        return true;
    for (const QChar c : Format)
        if (c == u'#')
            return true;
    return false;
}

QString formatNumber(const Variant &v, const TkvlFormat &f, const TFormatSettings &fs)
{
    const QString &pic = f.FormatStr;
    QString s;
    if (isPicture(pic)) {
        s = rtl::FormatFloat(pic, v.toDouble(), fs);
    } else {
        switch (parseNumericFormat(pic)) {
        case Conversion::Integer: s = rtl::Format(pic, {Variant(v.toInt64())}, fs); break;
        case Conversion::Float: s = rtl::Format(pic, {Variant(v.toDouble())}, fs); break;
        case Conversion::None: return v.toString();
        }
    }
    // Separators: the decimal one's place is found before the thousands are replaced, so
    // that swapping the two works.
    qsizetype decimalAt = -1;
    if (f.DecimalSeparator.size() == 1 && f.DecimalSeparator[0] != fs.DecimalSeparator)
        decimalAt = s.lastIndexOf(fs.DecimalSeparator);
    if (f.ThousandSeparator.size() == 1 && f.ThousandSeparator[0] != fs.ThousandSeparator)
        s.replace(fs.ThousandSeparator, f.ThousandSeparator[0]);
    if (decimalAt >= 0)
        s[decimalAt] = f.DecimalSeparator[0];
    return s;
}

bool isTrue(const Variant &v)
{
    try {
        return v == Variant(true);
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace

QString kvlFormatMemoValue(const Variant &Value, const TkvlFormat &Format, const TFormatSettings &fs)
{
    if (Value.isNull())
        return QString();
    try {
        switch (Format.Kind) {
        case fkText: break;
        case fkNumeric: return formatNumber(Value, Format, fs);
        case fkDateTime: return rtl::FormatDateTime(Format.FormatStr, Value.toDate(), fs);
        case fkBoolean: {
            const qsizetype comma = Format.FormatStr.indexOf(u',');
            if (isTrue(Value))
                return comma < 0 ? QString() : Format.FormatStr.mid(comma + 1, 255);
            return comma < 0 ? Format.FormatStr : Format.FormatStr.left(comma);
        }
        }
    } catch (const std::exception &) {
    }
    try {
        return Value.toString();
    } catch (const std::exception &) {
        return QString();
    }
}

bool kvlIsZeroValue(const Variant &Value)
{
    if (Value.isArray())
        return false;
    try {
        if (Value.isBoolean())
            return !Value.toBool();
        if (Value.isOrdinal())
            return Value.toInt64() == 0;
        if (Value.isFloat() || Value.type() == varDate)
            return Value.toDouble() == 0;
    } catch (const std::exception &) {
    }
    return false;
}
