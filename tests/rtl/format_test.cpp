#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/variant.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>
#include <cmath>

using namespace rtl;

namespace {

const TFormatSettings IT = TFormatSettings::italian();
const TFormatSettings EN = TFormatSettings::english();

// 2024-03-05 (a Tuesday) 14:07:09.045
const TDateTime Sample = 45356.0 + (14 * 3600000.0 + 7 * 60000.0 + 9 * 1000.0 + 45) / 86400000.0;

TEST(FormatSettings, SeededFromTheLocale)
{
    const TFormatSettings it = TFormatSettings::fromLocale(QLocale(QLocale::Italian, QLocale::Italy));
    EXPECT_EQ(it.DecimalSeparator, u',');
    EXPECT_EQ(it.ThousandSeparator, u'.');
    EXPECT_EQ(it.DateSeparator, u'/');
    EXPECT_EQ(it.LongMonthNames[2], QStringLiteral("marzo"));
    EXPECT_EQ(it.LongDayNames[0], QStringLiteral("domenica"));
    // Qt's pictures become ours: months m, minutes n.
    EXPECT_EQ(FormatDateTime(it.ShortDateFormat, 45356.0, it).left(5), QStringLiteral("05/03"));
    EXPECT_EQ(FormatDateTime(it.ShortTimeFormat, Sample, it), QStringLiteral("14:07"));
    EXPECT_EQ(StrToDate(QStringLiteral("05/03/2024"), it), 45356.0);

    const TFormatSettings de = TFormatSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.DateSeparator, u'.');
    EXPECT_EQ(StrToDate(QStringLiteral("05.03.2024"), de), 45356.0);
    EXPECT_EQ(TFormatSettings::fromLocale(QLocale::c()).DecimalSeparator, u'.');
}

TEST(FloatToStr, FifteenDigitsGeneralFormat)
{
    struct Case { double v; const char *en; } cases[] = {
        {0, "0"},
        {100, "100"},
        {-2.5, "-2.5"},
        {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e300, "1.5E300"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {-1.25e-7, "-1.25E-7"},
        {0.1 + 0.2, "0.3"},
        {INFINITY, "INF"},
        {-INFINITY, "-INF"},
        {NAN, "NAN"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FloatToStr(c.v, EN), QString::fromLatin1(c.en)) << c.en;
    EXPECT_EQ(FloatToStr(1234.5, IT), QStringLiteral("1234,5"));
    EXPECT_EQ(FloatToStr(1.5e-7, IT), QStringLiteral("1,5E-7"));
}

TEST(FormatFloat, Pictures)
{
    struct Case { const char *pic; double v; const char *en; const char *it; } cases[] = {
        {"#,##0.00", 1234.5, "1,234.50", "1.234,50"},
        {"#,##0.00", 0, "0.00", "0,00"},
        {"#,##0.00", -1234567.891, "-1,234,567.89", "-1.234.567,89"},
        {"#,##0", 1234567.89, "1,234,568", "1.234.568"},
        {"0.00", 2.675, "2.68", "2,68"},   // decimal digits round half away from zero
        {"0.00", 1.005, "1.01", "1,01"},
        {"0", 2.5, "3", "3"},
        {"0.00", -0.001, "0.00", "0,00"},  // no sign on a value shown as zero
        {"0.0#", 1.5, "1.5", "1,5"},
        {"0.0#", 1.256, "1.26", "1,26"},
        {"#.##", 1, "1", "1"},
        {"#", 0, "", ""},
        {"000", 7, "007", "007"},
        {"0", 12345, "12345", "12345"},  // more digits than places
        {".00", 0.5, ".50", ",50"},
        {"0.00E+00", 1234.5, "1.23E+03", "1,23E+03"},
        {"0.###E-0", 0.000123, "1.23E-4", "1,23E-4"},
        {"0.00E+00", 0, "0.00E+00", "0,00E+00"},
        {"\"Tot: \"0 'pz'", 5, "Tot: 5 pz", "Tot: 5 pz"},
        {"#,##0;(#,##0);zero", -1234, "(1,234)", "(1.234)"},
        {"#,##0;(#,##0);zero", 0, "zero", "zero"},
        {"#,##0;(#,##0);zero", 0.2, "zero", "zero"},  // zero once rounded
        {"#,##0;;zero", -5, "-5", "-5"},              // empty negative section: first one with a sign
        {"", 2.5, "2.5", "2,5"},
        // more than 18 integer digits, and an empty positive section: the general format
        {"0", 1e20, "1E20", "1E20"},
        {"#,##0.00", -1e19, "-1E19", "-1E19"},
        {"0", 1e17, "100000000000000000", "100000000000000000"},
        {"0", 123456789012345678.0, "123456789012346000", "123456789012346000"}, // fifteen digits
        {";;", 5, "5", "5"},
        {";0", 2.5, "2.5", "2,5"},
        {";0", -2.5, "3", "3"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FormatFloat(QString::fromUtf8(c.pic), c.v, EN), QString::fromUtf8(c.en)) << c.pic << " " << c.v;
        EXPECT_EQ(FormatFloat(QString::fromUtf8(c.pic), c.v, IT), QString::fromUtf8(c.it)) << c.pic << " " << c.v;
    }
}

TEST(Format, Directives)
{
    struct Case { const char *fmt; std::vector<Variant> args; const char *en; const char *it; } cases[] = {
        {"%5.2f", {Variant(3.14159)}, " 3.14", " 3,14"},
        {"%f", {Variant(2.0)}, "2.00", "2,00"},
        {"%d|%5d|%-5d|%.4d", {Variant(42), Variant(42), Variant(42), Variant(-42)}, "42|   42|42   |-0042", "42|   42|42   |-0042"},
        {"%d", {Variant(3000000000LL)}, "3000000000", "3000000000"},
        {"%d %d", {Variant::null(), Variant()}, "0 0", "0 0"},
        {"%u", {Variant(-1)}, "4294967295", "4294967295"},
        {"%x %.4X", {Variant(255), Variant(255)}, "FF 00FF", "FF 00FF"},
        {"%s-%s", {Variant(u"a"), Variant(u"b")}, "a-b", "a-b"},
        {"%1:s %0:s %s", {Variant(u"a"), Variant(u"b")}, "b a b", "b a b"},
        {"[%.2s] [%6s]", {Variant(u"abcd"), Variant(u"ab")}, "[ab] [    ab]", "[ab] [    ab]"},
        {"%*d|%-*.*f", {Variant(4), Variant(7), Variant(6), Variant(1), Variant(2.25)}, "   7|2.3   ", "   7|2,3   "},
        {"%e", {Variant(1234.5)}, "1.23450000000000E+003", "1,23450000000000E+003"},
        {"%.3e", {Variant(-0.00012)}, "-1.20E-004", "-1,20E-004"},
        {"%g|%g", {Variant(0.5), Variant(1e20)}, "0.5|1E20", "0,5|1E20"},
        {"%n", {Variant(1234567.891)}, "1,234,567.89", "1.234.567,89"},
        {"%m|%m", {Variant(1234.5), Variant(-2.0)}, "$1,234.50|($2.00)", "1.234,50 €|-2,00 €"},
        {"100%%", {}, "100%", "100%"},
        {"%.1f", {Variant::fromCurrency(2.25)}, "2.3", "2,3"},
        // fixed while the integer part has up to 18 digits, and those digits exact
        {"%.2f", {Variant(1e15)}, "1000000000000000.00", "1000000000000000,00"},
        {"%n", {Variant(1e16)}, "10,000,000,000,000,000.00", "10.000.000.000.000.000,00"},
        {"%.0f|%f", {Variant(123456789012345678.0), Variant(1e18)}, "123456789012345680|1E18", "123456789012345680|1E18"},
        {"%f", {Variant(-2e15 - 0.5)}, "-2000000000000000.50", "-2000000000000000,50"},
        {"%m", {Variant(-2e15)}, "($2,000,000,000,000,000.00)", "-2.000.000.000.000.000,00 €"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Format(QString::fromUtf8(c.fmt), c.args, EN), QString::fromUtf8(c.en)) << c.fmt;
        EXPECT_EQ(Format(QString::fromUtf8(c.fmt), c.args, IT), QString::fromUtf8(c.it)) << c.fmt;
    }
}

TEST(Format, BadDirectivesRaiseConvertError)
{
    struct Case { const char *fmt; std::vector<Variant> args; const char *message; } cases[] = {
        {"%d", {Variant(1.5)}, "Format '%d' invalid or incompatible with argument"},
        {"%f", {Variant(1)}, "Format '%f' invalid or incompatible with argument"},
        {"%s", {Variant(1)}, "Format '%s' invalid or incompatible with argument"},
        {"%d", {Variant(true)}, "Format '%d' invalid or incompatible with argument"},
        {"%k", {Variant(1)}, "Format '%k' invalid or incompatible with argument"},
        {"abc %", {}, "Format 'abc %' invalid or incompatible with argument"},
        {"%5000d", {Variant(1)}, "Format '%5000d' invalid or incompatible with argument"},
        {"%.99999999999f", {Variant(1.0)}, "Format '%.99999999999f' invalid or incompatible with argument"},
        {"%*d", {Variant(5000), Variant(1)}, "Format '%*d' invalid or incompatible with argument"},
        {"%d %d", {Variant(1)}, "No argument for format '%d %d'"},
        {"%3:d", {Variant(1)}, "No argument for format '%3:d'"},
        {"%s", {Variant::arrayOf({Variant(1)})}, "Format '%s' invalid or incompatible with argument"},
    };
    for (const auto &c : cases) {
        try {
            Format(QString::fromUtf8(c.fmt), c.args, EN);
            ADD_FAILURE() << "no error for " << c.fmt;
        } catch (const EConvertError &e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
            EXPECT_STREQ(e.className(), "EConvertError");
        }
    }
}

TEST(NumberParsing, FloatsFollowTheDecimalSeparator)
{
    struct Case { const char *text; const TFormatSettings *fs; std::optional<double> v; } cases[] = {
        {"1234,5", &IT, 1234.5},
        {" 1,5 ", &IT, 1.5},
        {"-1,5E3", &IT, -1500},
        {"1e-400", &EN, 0},
        {"1234.5", &IT, std::nullopt},
        {"1.234,5", &IT, std::nullopt},  // no thousands separators
        {"1.5", &EN, 1.5},
        {"+.5", &EN, 0.5},
        {"", &EN, std::nullopt},
        {"1e", &EN, std::nullopt},
        {"1e999", &EN, std::nullopt},
        {"12abc", &EN, std::nullopt},
        {"١٢", &EN, std::nullopt},  // only ASCII digits
    };
    for (const auto &c : cases)
        EXPECT_EQ(TryStrToFloat(QString::fromUtf8(c.text), *c.fs), c.v) << c.text;
    try {
        StrToFloat(QStringLiteral("abc"), EN);
        ADD_FAILURE();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("'abc' is not a valid floating point value"));
    }
    EXPECT_EQ(StrToFloatDef(QStringLiteral("x"), 7.5, EN), 7.5);
}

TEST(NumberParsing, Integers)
{
    struct Case { const char *text; std::optional<int32_t> i32; std::optional<int64_t> i64; } cases[] = {
        {"42", 42, 42},
        {" -12", -12, -12},
        {"$FF", 255, 255},
        {"0x10", 16, 16},
        {"$FFFFFFFF", -1, 4294967295LL},
        {"2147483648", std::nullopt, 2147483648LL},
        {"-2147483648", -2147483648, -2147483648LL},
        {"9223372036854775808", std::nullopt, std::nullopt},
        {"12 ", std::nullopt, std::nullopt},
        {"12a", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(TryStrToInt(QString::fromLatin1(c.text)), c.i32) << c.text;
        EXPECT_EQ(TryStrToInt64(QString::fromLatin1(c.text)), c.i64) << c.text;
    }
    EXPECT_THROW(StrToInt(QStringLiteral("x")), EConvertError);
    EXPECT_EQ(StrToIntDef(QStringLiteral("x"), -3), -3);
    EXPECT_EQ(StrToBool(QStringLiteral("tRUE")), true);
    EXPECT_EQ(StrToBool(QStringLiteral("0")), false);
    EXPECT_THROW(StrToBool(QStringLiteral("yes")), EConvertError);
    EXPECT_EQ(BoolToStr(true), QStringLiteral("-1"));
}

TEST(DateTime, EncodeDecode)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(2024, 3, 5), 45356.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    int y, m, d, h, n, s, z;
    DecodeDate(-1.25, y, m, d); // before the epoch the fraction still counts forward
    DecodeTime(-1.25, h, n, s, z);
    EXPECT_EQ(QDate(y, m, d), QDate(1899, 12, 29));
    EXPECT_EQ(h, 6);
    DecodeDate(45356.99999999999, y, m, d); // rounds to the next midnight
    DecodeTime(45356.99999999999, h, n, s, z);
    EXPECT_EQ(QDate(y, m, d), QDate(2024, 3, 6));
    EXPECT_EQ(h, 0);
    EXPECT_EQ(DayOfWeek(Sample), 3);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_THROW(FormatDateTime(QStringLiteral("c"), NAN), EConvertError);
}

TEST(DateTime, FormatDateTimePictures)
{
    struct Case { const char *pic; TDateTime dt; const char *en; const char *it; } cases[] = {
        {"dd/mm/yyyy hh:nn:ss", Sample, "05/03/2024 14:07:09", "05/03/2024 14:07:09"},
        {"d/m/yy", Sample, "5/3/24", "5/3/24"},
        {"hh:mm", Sample, "14:07", "14:07"},  // m right after an hour means minutes
        {"ddd dddd mmm mmmm", Sample, "Tue Tuesday Mar March", "mar martedì mar marzo"},
        {"h:nn am/pm|h:nn AMPM|a/p", Sample, "2:07 pm|2:07 PM|p", "2:07 pm|2:07 PM|p"},
        {"s.zzz z", Sample, "9.045 45", "9.045 45"},
        {"c", Sample, "3/5/2024 2:07:09 PM", "05/03/2024 14:07:09"},
        {"c", 45356.0, "3/5/2024", "05/03/2024"},
        {"ddddd|dddddd", Sample, "3/5/2024|Tuesday, March 5, 2024", "05/03/2024|martedì 5 marzo 2024"},
        {"t|tt", Sample, "2:07 PM|2:07:09 PM", "14:07|14:07:09"},
        {"\"Ore\" hh 'e' nn", Sample, "Ore 14 e 07", "Ore 14 e 07"},
        {"hh AMPM", 45356.0, "12 AM", "12 AM"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.pic), c.dt, EN), QString::fromUtf8(c.en)) << c.pic;
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.pic), c.dt, IT), QString::fromUtf8(c.it)) << c.pic;
    }
    EXPECT_EQ(DateTimeToStr(Sample, IT), QStringLiteral("05/03/2024 14:07:09"));
}

TEST(DateTime, ParsingDatesAndTimes)
{
    const double thisYearMar5 = EncodeDate(QDate::currentDate().year(), 3, 5);
    const double t1407 = EncodeTime(14, 7, 0, 0);
    struct Case { const char *text; const TFormatSettings *fs; std::optional<TDateTime> date, time, dateTime; } cases[] = {
        {"05/03/2024", &IT, 45356.0, std::nullopt, 45356.0},
        {"3/5/2024", &EN, 45356.0, std::nullopt, 45356.0},
        {" 5/3 ", &IT, thisYearMar5, std::nullopt, thisYearMar5},
        {"05/03/24", &IT, 45356.0, std::nullopt, 45356.0},
        {"31/02/2024", &IT, std::nullopt, std::nullopt, std::nullopt},
        {"05-03-2024", &IT, std::nullopt, std::nullopt, std::nullopt},
        {"05/03/2024x", &IT, std::nullopt, std::nullopt, std::nullopt},
        {"14:07", &IT, std::nullopt, t1407, t1407},
        {"2:07 PM", &EN, std::nullopt, t1407, t1407},
        {"12:00 AM", &EN, std::nullopt, 0.0, 0.0},
        {"14:07:09.045", &IT, std::nullopt, Sample - 45356.0, Sample - 45356.0},
        {"25:00", &IT, std::nullopt, std::nullopt, std::nullopt},
        {"14", &IT, std::nullopt, std::nullopt, std::nullopt},
        {"05/03/2024 14:07", &IT, std::nullopt, std::nullopt, 45356.0 + t1407},
        {"", &IT, std::nullopt, std::nullopt, std::nullopt},
    };
    auto near = [](std::optional<TDateTime> got, std::optional<TDateTime> want) {
        return got.has_value() == want.has_value() && (!got || std::fabs(*got - *want) < 1e-9);
    };
    for (const auto &c : cases) {
        const QString s = QString::fromUtf8(c.text);
        EXPECT_TRUE(near(TryStrToDate(s, *c.fs), c.date)) << "date " << c.text;
        EXPECT_TRUE(near(TryStrToTime(s, *c.fs), c.time)) << "time " << c.text;
        EXPECT_TRUE(near(TryStrToDateTime(s, *c.fs), c.dateTime)) << "date-time " << c.text;
    }
    try {
        StrToDate(QStringLiteral("abc"), IT);
        ADD_FAILURE();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("'abc' is not a valid date"));
    }
    EXPECT_THROW(StrToTime(QStringLiteral("x"), IT), EConvertError);
    EXPECT_EQ(StrToDateDef(QStringLiteral("x"), -1, IT), -1);
    EXPECT_EQ(StrToTimeDef(QStringLiteral("x"), -1, IT), -1);
}

TEST(FormatMaskText, InsertsLiteralsAndBlanks)
{
    ScopedFormatSettings pin(IT);
    struct Case { const char *mask, *value, *out; } cases[] = {
        {"!99/99/0000;1;_", "05/03/2024", "05/03/2024"},
        {"99/99/0000;1;_", "05032024", "05/03/2024"},   // literals missing from saved text are put in
        {"000-0000;0;_", "1234567", "123-4567"},
        {"(999) 000-0000;0;_", "5551234", "(555) 123-4   "},
        {"!999;0;*", "7", "  7"},
        {">LL<ll;0; ", "abCD", "abCD"},                  // case directives act only while typing
        {"\\A00;0;_", "12", "A12"},
        {"00:00;1;_", "12:30", "12:30"},
        {"000;0;_", "12345", "12345"},                   // nothing is dropped
        {"00\\;00;0;_", "1234", "12;34"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatMaskText(QString::fromUtf8(c.mask), QString::fromUtf8(c.value)), QString::fromUtf8(c.out))
            << c.mask;
}

} // namespace
