#pragma once
// Values between the Qt driver and the layer's variants. Dates are days since 1899-12-30
// with the time of day as the fraction.
#include "platform/rtl/variant.h"

#include <QDateTime>
#include <QVariant>

namespace data {

double DaysFromDateTime(const QDate &d, const QTime &t);
QDateTime DateTimeFromDays(double days);

// Parameter value for the driver; Empty and Null bind as SQL NULL.
QVariant ToQVariant(const Variant &v);
// A fetched value; a null driver value gives Null.
Variant FromQVariant(const QVariant &v);

} // namespace data
