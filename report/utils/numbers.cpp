#include "report/utils/numbers.h"

#include "report/utils/errors.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

QChar processDecimalSeparator() { return QLocale().decimalPoint().at(0); }

// Digits, one decimal point, an optional exponent: no "inf", "nan" or hexadecimal forms.
bool plainNumber(const QString &s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    bool digits = false;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
        ++i;
        digits = true;
    }
    if (i < n && s[i] == u'.') {
        ++i;
        while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        if (i < n && (s[i] == u'+' || s[i] == u'-'))
            ++i;
        bool exp = false;
        while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
            ++i;
            exp = true;
        }
        if (!exp)
            return false;
    }
    return i == n;
}

QString fixed(double v, int prec, QChar sep)
{
    QString s = QString::number(v, 'f', prec);
    // A negative value that rounds to zero is written without its sign.
    if (s.startsWith(u'-') && std::all_of(s.cbegin() + 1, s.cend(), [](QChar c) { return c == u'0' || c == u'.'; }))
        s.remove(0, 1);
    if (sep != u'.')
        s.replace(u'.', sep);
    return s;
}

} // namespace

double kvlStrToFloat(const QString &Text)
{
    QString s;
    s.reserve(Text.size());
    for (QChar c : Text) {
        if (c == u' ')
            continue;
        s.append(c == u',' ? QChar(u'.') : c);
    }
    bool ok = false;
    const double v = plainNumber(s) ? QLocale::c().toDouble(s, &ok) : 0.0;
    if (!ok || !std::isfinite(v))
        throw EkvlConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(Text));
    return v;
}

QString kvlFloatToStr(double Value)
{
    if (std::isfinite(Value) && std::trunc(Value) == Value && std::fabs(Value) < 1e15)
        return QString::number(static_cast<qint64>(Value));
    return fixed(Value, 2, processDecimalSeparator());
}

QString kvFloat2Str(double Value, int Prec, QChar Sep) { return fixed(Value, qBound(0, Prec, 18), Sep); }
