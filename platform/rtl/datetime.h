#pragma once
// Dates as days since 1899-12-30 with the time of day as the fraction (a date before that
// day is negative; its fraction still counts forward from midnight).
#include "platform/rtl/formatsettings.h"

#include <QString>
#include <optional>

namespace rtl {

using TDateTime = double;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month); // 0 for a month outside 1..12

std::optional<TDateTime> TryEncodeDate(int year, int month, int day);
std::optional<TDateTime> TryEncodeTime(int hour, int min, int sec, int msec);
TDateTime EncodeDate(int year, int month, int day);         // EConvertError when invalid
TDateTime EncodeTime(int hour, int min, int sec, int msec); // EConvertError when invalid
void DecodeDate(TDateTime dt, int &year, int &month, int &day);
void DecodeTime(TDateTime dt, int &hour, int &min, int &sec, int &msec);
int DayOfWeek(TDateTime dt); // 1 = Sunday .. 7 = Saturday

TDateTime Now();
TDateTime Date();
TDateTime Time();

// FormatDateTime pictures: c d dd ddd dddd ddddd dddddd m mm mmm mmmm (minutes right after an
// hour) yy yyyy h hh n nn s ss z zzz t tt am/pm a/p ampm / : and quoted text.
QString FormatDateTime(const QString &picture, TDateTime dt, const TFormatSettings &fs = FormatSettings());
QString DateToStr(TDateTime dt, const TFormatSettings &fs = FormatSettings());
QString TimeToStr(TDateTime dt, const TFormatSettings &fs = FormatSettings());
QString DateTimeToStr(TDateTime dt, const TFormatSettings &fs = FormatSettings()); // time left out at midnight

// Parsing by the order of day, month and year in ShortDateFormat, separated by DateSeparator;
// a missing year means this year, two digits go through TwoDigitYearCenturyWindow. Times are
// h[:n[:s[.z]]] with an optional AM/PM text.
std::optional<TDateTime> TryStrToDate(const QString &s, const TFormatSettings &fs = FormatSettings());
std::optional<TDateTime> TryStrToTime(const QString &s, const TFormatSettings &fs = FormatSettings());
std::optional<TDateTime> TryStrToDateTime(const QString &s, const TFormatSettings &fs = FormatSettings());
TDateTime StrToDate(const QString &s, const TFormatSettings &fs = FormatSettings());
TDateTime StrToTime(const QString &s, const TFormatSettings &fs = FormatSettings());
TDateTime StrToDateTime(const QString &s, const TFormatSettings &fs = FormatSettings());
TDateTime StrToDateDef(const QString &s, TDateTime def, const TFormatSettings &fs = FormatSettings());
TDateTime StrToTimeDef(const QString &s, TDateTime def, const TFormatSettings &fs = FormatSettings());
TDateTime StrToDateTimeDef(const QString &s, TDateTime def, const TFormatSettings &fs = FormatSettings());

} // namespace rtl
