#include "platform/data/valueconv.h"

#include <cmath>

namespace data {

namespace {
const QDate &epoch()
{
    static const QDate e(1899, 12, 30);
    return e;
}
constexpr double kMsPerDay = 86400000.0;
} // namespace

double DaysFromDateTime(const QDate &d, const QTime &t)
{
    const double day = double(epoch().daysTo(d));
    const double frac = t.isValid() ? t.msecsSinceStartOfDay() / kMsPerDay : 0.0;
    return day >= 0 ? day + frac : day - frac;
}

QDateTime DateTimeFromDays(double days)
{
    const double whole = std::trunc(days);
    qint64 ms = qint64(std::llround(std::fabs(days - whole) * kMsPerDay));
    if (ms >= qint64(kMsPerDay))
        ms = qint64(kMsPerDay) - 1;
    return QDateTime(epoch().addDays(qint64(whole)), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QVariant ToQVariant(const Variant &v)
{
    switch (v.type()) {
    case varEmpty:
    case varNull:
        return QVariant();
    case varBoolean:
        return QVariant(v.toBool());
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
        return QVariant(v.toInt());
    case varLongWord:
    case varInt64:
    case varUInt64:
        return QVariant(qlonglong(v.toInt64()));
    case varSingle:
    case varDouble:
    case varCurrency:
        return QVariant(v.toDouble());
    case varDate:
        return QVariant(DateTimeFromDays(v.toDate()));
    default:
        return QVariant(v.toString());
    }
}

Variant FromQVariant(const QVariant &v)
{
    if (v.isNull())
        return Variant::null();
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
        return Variant(v.toInt());
    case QMetaType::LongLong:
        return Variant(static_cast<long long>(v.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return Variant(v.toDouble());
    case QMetaType::Bool:
        return Variant(v.toBool());
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return Variant::fromDate(DaysFromDateTime(dt.date(), dt.time()));
    }
    case QMetaType::QDate:
        return Variant::fromDate(DaysFromDateTime(v.toDate(), QTime()));
    case QMetaType::QTime:
        return Variant::fromDate(v.toTime().msecsSinceStartOfDay() / kMsPerDay);
    case QMetaType::QByteArray:
        return Variant(QString::fromUtf8(v.toByteArray()));
    default:
        return Variant(v.toString());
    }
}

} // namespace data
