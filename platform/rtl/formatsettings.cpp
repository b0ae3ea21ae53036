#include "platform/rtl/formatsettings.h"

#include <QLocale>

namespace {

template<size_t N>
std::array<QString, N> names(const char *const (&list)[N])
{
    std::array<QString, N> out;
    for (size_t i = 0; i < N; ++i)
        out[i] = QString::fromUtf8(list[i]);
    return out;
}

// Qt picture ("dd/MM/yyyy HH:mm") to ours ("dd/mm/yyyy hh:nn").
QString fromQtPicture(const QString &qt)
{
    QString out;
    for (qsizetype i = 0; i < qt.size(); ++i) {
        const QChar c = qt.at(i);
        if (c == u'\'') { // quoted text stays quoted
            const qsizetype end = qt.indexOf(u'\'', i + 1);
            const qsizetype stop = end < 0 ? qt.size() : end + 1;
            out += QStringView(qt).mid(i, stop - i).toString();
            i = stop - 1;
        } else if (c == u'M') {
            out += u'm';
        } else if (c == u'm') {
            out += u'n';
        } else if (c == u'H') {
            out += u'h';
        } else if (c == u'a' || c == u'A') {
            const bool p = i + 1 < qt.size() && (qt.at(i + 1) == u'p' || qt.at(i + 1) == u'P');
            out += QStringLiteral("ampm");
            if (p)
                ++i;
        } else if (c == u't') {
            // time zone: not shown
        } else {
            out += c;
        }
    }
    return out.trimmed();
}

TFormatSettings &current()
{
    static TFormatSettings fs = TFormatSettings::fromSystemLocale();
    return fs;
}

} // namespace

TFormatSettings TFormatSettings::italian()
{
    TFormatSettings fs;
    fs.DecimalSeparator = u',';
    fs.ThousandSeparator = u'.';
    fs.DateSeparator = u'/';
    fs.TimeSeparator = u':';
    fs.ListSeparator = u';';
    fs.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    fs.LongDateFormat = QStringLiteral("dddd d mmmm yyyy");
    fs.ShortTimeFormat = QStringLiteral("hh:nn");
    fs.LongTimeFormat = QStringLiteral("hh:nn:ss");
    fs.TimeAMString = QStringLiteral("AM");
    fs.TimePMString = QStringLiteral("PM");
    fs.ShortMonthNames = names({"gen", "feb", "mar", "apr", "mag", "giu", "lug", "ago", "set", "ott", "nov", "dic"});
    fs.LongMonthNames = names({"gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio", "agosto",
                               "settembre", "ottobre", "novembre", "dicembre"});
    fs.ShortDayNames = names({"dom", "lun", "mar", "mer", "gio", "ven", "sab"});
    fs.LongDayNames = names({"domenica", "lunedì", "martedì", "mercoledì", "giovedì", "venerdì", "sabato"});
    fs.CurrencyString = QStringLiteral("€");
    fs.CurrencyDecimals = 2;
    fs.CurrencyFormat = 3;
    fs.NegCurrFormat = 8;
    return fs;
}

TFormatSettings TFormatSettings::english()
{
    TFormatSettings fs;
    fs.DecimalSeparator = u'.';
    fs.ThousandSeparator = u',';
    fs.DateSeparator = u'/';
    fs.TimeSeparator = u':';
    fs.ListSeparator = u',';
    fs.ShortDateFormat = QStringLiteral("m/d/yyyy");
    fs.LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
    fs.ShortTimeFormat = QStringLiteral("h:nn AMPM");
    fs.LongTimeFormat = QStringLiteral("h:nn:ss AMPM");
    fs.TimeAMString = QStringLiteral("AM");
    fs.TimePMString = QStringLiteral("PM");
    fs.ShortMonthNames = names({"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"});
    fs.LongMonthNames = names({"January", "February", "March", "April", "May", "June", "July", "August",
                               "September", "October", "November", "December"});
    fs.ShortDayNames = names({"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"});
    fs.LongDayNames = names({"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"});
    fs.CurrencyString = QStringLiteral("$");
    fs.CurrencyDecimals = 2;
    fs.CurrencyFormat = 0;
    fs.NegCurrFormat = 0;
    return fs;
}

TFormatSettings TFormatSettings::fromSystemLocale() { return fromLocale(QLocale::system()); }

TFormatSettings TFormatSettings::fromLocale(const QLocale &loc)
{
    if (loc.language() == QLocale::C)
        return english();
    TFormatSettings fs = loc.language() == QLocale::Italian ? italian() : english();
    auto single = [](const QString &s, QChar def) { return s.size() == 1 ? s.at(0) : def; };
    fs.DecimalSeparator = single(loc.decimalPoint(), fs.DecimalSeparator);
    fs.ThousandSeparator = single(loc.groupSeparator(), fs.ThousandSeparator);
    fs.ShortDateFormat = fromQtPicture(loc.dateFormat(QLocale::ShortFormat));
    fs.LongDateFormat = fromQtPicture(loc.dateFormat(QLocale::LongFormat));
    fs.ShortTimeFormat = fromQtPicture(loc.timeFormat(QLocale::ShortFormat));
    fs.LongTimeFormat = fromQtPicture(loc.timeFormat(QLocale::LongFormat));
    for (QChar c : fs.ShortDateFormat)
        if (!c.isLetter()) {
            fs.DateSeparator = c;
            break;
        }
    fs.TimeSeparator = u':';
    if (!loc.amText().isEmpty())
        fs.TimeAMString = loc.amText();
    if (!loc.pmText().isEmpty())
        fs.TimePMString = loc.pmText();
    for (int m = 0; m < 12; ++m) {
        fs.ShortMonthNames[m] = loc.monthName(m + 1, QLocale::ShortFormat);
        fs.LongMonthNames[m] = loc.monthName(m + 1, QLocale::LongFormat);
    }
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d; // Qt counts Monday = 1 .. Sunday = 7
        fs.ShortDayNames[d] = loc.dayName(qtDay, QLocale::ShortFormat);
        fs.LongDayNames[d] = loc.dayName(qtDay, QLocale::LongFormat);
    }
    fs.CurrencyString = loc.currencySymbol();
    return fs;
}

namespace rtl {

const TFormatSettings &FormatSettings() { return current(); }

void SetFormatSettings(const TFormatSettings &fs) { current() = fs; }

ScopedFormatSettings::ScopedFormatSettings(const TFormatSettings &fs) : m_saved(current()) { current() = fs; }

ScopedFormatSettings::~ScopedFormatSettings() { current() = m_saved; }

} // namespace rtl
