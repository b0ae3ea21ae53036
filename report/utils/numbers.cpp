#include "report/utils/numbers.h"

#include "platform/rtl/format.h"

#include <algorithm>
#include <cmath>

double kvlStrToFloat(const QString &Text)
{
    const TFormatSettings &fs = rtl::FormatSettings();
    QString s;
    s.reserve(Text.size());
    for (QChar c : Text) {
        if (c == u' ')
            continue;
        s.append(c == u',' || c == u'.' ? fs.DecimalSeparator : c);
    }
    return rtl::StrToFloat(s, fs);
}

QString kvlFloatToStr(double Value)
{
    if (std::isfinite(Value) && std::trunc(Value) == Value && std::fabs(Value) < 1e15)
        return rtl::IntToStr(static_cast<int64_t>(Value));
    return rtl::FloatToStrF(Value, rtl::FloatFormat::Fixed, 15, 2);
}

QString kvFloat2Str(double Value, int Prec, QChar Sep)
{
    QString s = QString::number(Value, 'f', std::clamp(Prec, 0, 18));
    // A negative value that rounds to zero is written without its sign.
    if (s.startsWith(u'-') && std::all_of(s.cbegin() + 1, s.cend(), [](QChar c) { return c == u'0' || c == u'.'; }))
        s.remove(0, 1);
    if (Sep != u'.')
        s.replace(u'.', Sep);
    return s;
}
