#pragma once
// Number and date conventions used by every formatter and converter. One process-wide
// object, seeded from the user's locale; tests pin the Italian or English set.
#include <QChar>
#include <QString>
#include <array>

class QLocale;

struct TFormatSettings
{
    QChar DecimalSeparator = u'.';
    QChar ThousandSeparator = u',';
    QChar DateSeparator = u'/';
    QChar TimeSeparator = u':';
    QChar ListSeparator = u',';
    QString ShortDateFormat;  // pictures as FormatDateTime reads them ("dd/mm/yyyy")
    QString LongDateFormat;
    QString ShortTimeFormat;
    QString LongTimeFormat;
    QString TimeAMString;
    QString TimePMString;
    std::array<QString, 12> ShortMonthNames;
    std::array<QString, 12> LongMonthNames;
    std::array<QString, 7> ShortDayNames; // Sunday first
    std::array<QString, 7> LongDayNames;
    QString CurrencyString;
    int CurrencyDecimals = 2;
    int CurrencyFormat = 0; // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int NegCurrFormat = 0;  // one of sixteen negative money layouts, 0 "($1)" .. 15 "(1 $)"
    int TwoDigitYearCenturyWindow = 50;

    static TFormatSettings italian();
    static TFormatSettings english();
    // Built from a locale's conventions; the C locale gives english().
    static TFormatSettings fromLocale(const QLocale &locale);
    // Built from the user's locale (QLocale::system()).
    static TFormatSettings fromSystemLocale();
};

namespace rtl {

// The process-wide settings (seeded from the user's locale on first use).
const TFormatSettings &FormatSettings();
void SetFormatSettings(const TFormatSettings &fs);

// Replaces the process-wide settings for the lifetime of the object (tests).
class ScopedFormatSettings
{
public:
    explicit ScopedFormatSettings(const TFormatSettings &fs);
    ~ScopedFormatSettings();
    ScopedFormatSettings(const ScopedFormatSettings &) = delete;
    ScopedFormatSettings &operator=(const ScopedFormatSettings &) = delete;

private:
    TFormatSettings m_saved;
};

} // namespace rtl
