#include "platform/rtl/datetime.h"

#include "platform/rtl/exceptions.h"

#include <QDateTime>
#include <cmath>

namespace rtl {

namespace {

constexpr int64_t MSecsPerDay = 86400000;

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t daysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int &y, int &m, int &d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2));
}

const int64_t Epoch = daysFromCivil(1899, 12, 30);

// Calendar day number (days since 1899-12-30) and milliseconds into that day.
void split(TDateTime dt, int64_t &day, int64_t &ms)
{
    if (!std::isfinite(dt) || std::fabs(dt) > 1e9)
        raise<EConvertError>(msg::DateEncodeError);
    day = int64_t(std::trunc(dt));
    ms = std::llround(std::fabs(dt - double(day)) * double(MSecsPerDay));
    if (ms >= MSecsPerDay) {
        ms -= MSecsPerDay;
        ++day;
    }
}

QString pad(int v, int width) { return QString::number(v).rightJustified(width, u'0'); }

// Case-insensitive look at the picture.
bool startsWithCI(QStringView s, qsizetype at, QStringView what)
{
    return s.mid(at).startsWith(what, Qt::CaseInsensitive);
}

// Whether the picture (outside quotes) has an AM/PM marker, making hours 12-hour.
bool hasAmPm(QStringView p)
{
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = p.indexOf(c, i + 1);
            if (end < 0)
                return false;
            i = end;
        } else if (c == u'a' || c == u'A') {
            if (startsWithCI(p, i, u"am/pm") || startsWithCI(p, i, u"a/p") || startsWithCI(p, i, u"ampm"))
                return true;
        }
    }
    return false;
}

struct Parts
{
    int year, month, day, hour, min, sec, msec, dow;
    int64_t dayNumber, ms;
};

Parts decode(TDateTime dt)
{
    Parts p{};
    split(dt, p.dayNumber, p.ms);
    civilFromDays(p.dayNumber + Epoch, p.year, p.month, p.day);
    p.hour = int(p.ms / 3600000);
    p.min = int(p.ms / 60000 % 60);
    p.sec = int(p.ms / 1000 % 60);
    p.msec = int(p.ms % 1000);
    // 1899-12-30 was a Saturday (7).
    p.dow = int(((p.dayNumber % 7) + 7 + 6) % 7) + 1;
    return p;
}

void formatInto(QString &out, QStringView pic, const Parts &p, const TFormatSettings &fs, int depth)
{
    if (depth > 2) // nested pictures (c, ddddd, t) go at most two levels deep
        return;
    const bool twelve = hasAmPm(pic);
    char16_t last = 0; // last letter token, upper case
    qsizetype i = 0;
    const qsizetype n = pic.size();
    auto count = [&](char16_t upper) {
        qsizetype k = i;
        while (k < n && pic[k].toUpper().unicode() == upper)
            ++k;
        const int c = int(k - i);
        i = k;
        return c;
    };
    while (i < n) {
        const QChar ch = pic[i];
        char16_t tok = ch.toUpper().unicode();
        if (tok >= u'A' && tok <= u'Z') {
            if (tok == u'M' && last == u'H')
                tok = u'N';
            last = tok;
        }
        switch (tok) {
        case u'Y': {
            const int c = count(u'Y');
            out += c <= 2 ? pad(p.year % 100, 2) : pad(p.year, 4);
            break;
        }
        case u'M': {
            const int c = count(u'M');
            if (c == 1)
                out += QString::number(p.month);
            else if (c == 2)
                out += pad(p.month, 2);
            else if (c == 3)
                out += fs.ShortMonthNames[size_t(p.month - 1)];
            else
                out += fs.LongMonthNames[size_t(p.month - 1)];
            break;
        }
        case u'D': {
            const int c = count(u'D');
            switch (c) {
            case 1: out += QString::number(p.day); break;
            case 2: out += pad(p.day, 2); break;
            case 3: out += fs.ShortDayNames[size_t(p.dow - 1)]; break;
            case 4: out += fs.LongDayNames[size_t(p.dow - 1)]; break;
            case 5: formatInto(out, fs.ShortDateFormat, p, fs, depth + 1); break;
            default: formatInto(out, fs.LongDateFormat, p, fs, depth + 1); break;
            }
            break;
        }
        case u'H': {
            const int c = count(u'H');
            int h = p.hour;
            if (twelve) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out += c == 1 ? QString::number(h) : pad(h, 2);
            break;
        }
        case u'N': {
            const int c = ch.toUpper() == u'M' ? count(u'M') : count(u'N');
            out += c == 1 ? QString::number(p.min) : pad(p.min, 2);
            break;
        }
        case u'S': {
            const int c = count(u'S');
            out += c == 1 ? QString::number(p.sec) : pad(p.sec, 2);
            break;
        }
        case u'Z': {
            const int c = count(u'Z');
            out += c == 1 ? QString::number(p.msec) : pad(p.msec, 3);
            break;
        }
        case u'T': {
            const int c = count(u'T');
            formatInto(out, c == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, fs, depth + 1);
            break;
        }
        case u'C': {
            count(u'C');
            formatInto(out, fs.ShortDateFormat, p, fs, depth + 1);
            if (p.ms != 0) {
                out += u' ';
                formatInto(out, fs.LongTimeFormat, p, fs, depth + 1);
            }
            break;
        }
        case u'A': {
            const bool pm = p.hour >= 12;
            if (startsWithCI(pic, i, u"am/pm")) {
                out += pic.mid(i + (pm ? 3 : 0), 2);
                i += 5;
            } else if (startsWithCI(pic, i, u"a/p")) {
                out += pic.mid(i + (pm ? 2 : 0), 1);
                i += 3;
            } else if (startsWithCI(pic, i, u"ampm")) {
                out += pm ? fs.TimePMString : fs.TimeAMString;
                i += 4;
            } else {
                out += ch;
                ++i;
            }
            break;
        }
        case u'/':
            out += fs.DateSeparator;
            ++i;
            break;
        case u':':
            out += fs.TimeSeparator;
            ++i;
            break;
        case u'"':
        case u'\'': {
            const qsizetype end = pic.indexOf(ch, i + 1);
            const qsizetype stop = end < 0 ? n : end;
            out += pic.mid(i + 1, stop - i - 1);
            i = end < 0 ? n : end + 1;
            break;
        }
        default:
            out += ch;
            ++i;
            break;
        }
    }
}

// ---- parsing

struct Scanner
{
    QStringView s;
    qsizetype pos = 0;

    void blanks()
    {
        while (pos < s.size() && s[pos] == u' ')
            ++pos;
    }
    bool atEnd() const { return pos >= s.size(); }
    bool ch(QChar c)
    {
        blanks();
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    // Up to 9 digits; digits counts how many were read.
    bool number(int &v, int &digits)
    {
        blanks();
        v = 0;
        digits = 0;
        while (pos < s.size() && s[pos] >= u'0' && s[pos] <= u'9' && digits < 9) {
            v = v * 10 + (s[pos].unicode() - u'0');
            ++pos;
            ++digits;
        }
        return digits > 0;
    }
    bool word(const QString &w)
    {
        blanks();
        if (!w.isEmpty() && s.mid(pos).startsWith(w, Qt::CaseInsensitive)) {
            pos += w.size();
            return true;
        }
        return false;
    }
};

enum class Order { DMY, MDY, YMD };

Order dateOrder(const QString &fmt)
{
    for (QChar c : fmt) {
        const QChar u = c.toUpper();
        if (u == u'D')
            return Order::DMY;
        if (u == u'M')
            return Order::MDY;
        if (u == u'Y')
            return Order::YMD;
    }
    return Order::DMY;
}

int currentYear() { return QDate::currentDate().year(); }

bool scanDate(Scanner &sc, const TFormatSettings &fs, TDateTime &out)
{
    int n1, n2, n3 = 0, l1, l2, l3 = 0;
    if (!sc.number(n1, l1) || !sc.ch(fs.DateSeparator) || !sc.number(n2, l2))
        return false;
    bool hasThird = false;
    const qsizetype save = sc.pos;
    if (sc.ch(fs.DateSeparator)) {
        if (!sc.number(n3, l3))
            return false;
        hasThird = true;
    } else {
        sc.pos = save;
    }
    int y, m, d, ylen;
    const Order order = dateOrder(fs.ShortDateFormat);
    if (!hasThird) {
        y = currentYear();
        ylen = 4;
        if (order == Order::MDY) {
            m = n1;
            d = n2;
        } else if (order == Order::DMY) {
            d = n1;
            m = n2;
        } else {
            m = n1;
            d = n2;
        }
    } else {
        switch (order) {
        case Order::MDY: m = n1; d = n2; y = n3; ylen = l3; break;
        case Order::DMY: d = n1; m = n2; y = n3; ylen = l3; break;
        default: y = n1; ylen = l1; m = n2; d = n3; break;
        }
    }
    if (ylen <= 2) {
        const int cy = currentYear();
        const int century = cy - fs.TwoDigitYearCenturyWindow;
        y += century / 100 * 100;
        if (fs.TwoDigitYearCenturyWindow > 0 && y < century)
            y += 100;
    }
    const auto dt = TryEncodeDate(y, m, d);
    if (!dt)
        return false;
    out = *dt;
    return true;
}

bool scanTime(Scanner &sc, const TFormatSettings &fs, TDateTime &out)
{
    auto ampm = [&](int &base) {
        if (sc.word(fs.TimeAMString) || sc.word(QStringLiteral("AM")))
            base = 0;
        else if (sc.word(fs.TimePMString) || sc.word(QStringLiteral("PM")))
            base = 12;
    };
    int base = -1;
    ampm(base);
    int h, mi = 0, se = 0, ms = 0, len;
    if (!sc.number(h, len))
        return false;
    bool sep = false;
    if (sc.ch(fs.TimeSeparator)) {
        sep = true;
        if (!sc.number(mi, len))
            return false;
        if (sc.ch(fs.TimeSeparator)) {
            if (!sc.number(se, len))
                return false;
            if (sc.ch(fs.DecimalSeparator) || sc.ch(u'.')) {
                if (!sc.number(ms, len) || len > 3)
                    return false;
            }
        }
    }
    if (base < 0)
        ampm(base);
    if (!sep && base < 0)
        return false;
    if (base >= 0) {
        if (h == 0 || h > 12)
            return false;
        h = h % 12 + base;
    }
    const auto t = TryEncodeTime(h, mi, se, ms);
    if (!t)
        return false;
    out = *t;
    return true;
}

} // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

std::optional<TDateTime> TryEncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return std::nullopt;
    return double(daysFromCivil(year, month, day) - Epoch);
}

std::optional<TDateTime> TryEncodeTime(int hour, int min, int sec, int msec)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        return std::nullopt;
    return double(((hour * 60 + min) * 60 + sec) * 1000 + msec) / double(MSecsPerDay);
}

TDateTime EncodeDate(int year, int month, int day)
{
    if (const auto d = TryEncodeDate(year, month, day))
        return *d;
    raise<EConvertError>(msg::DateEncodeError);
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    if (const auto t = TryEncodeTime(hour, min, sec, msec))
        return *t;
    raise<EConvertError>(msg::TimeEncodeError);
}

void DecodeDate(TDateTime dt, int &year, int &month, int &day)
{
    const Parts p = decode(dt);
    year = p.year;
    month = p.month;
    day = p.day;
}

void DecodeTime(TDateTime dt, int &hour, int &min, int &sec, int &msec)
{
    const Parts p = decode(dt);
    hour = p.hour;
    min = p.min;
    sec = p.sec;
    msec = p.msec;
}

int DayOfWeek(TDateTime dt) { return decode(dt).dow; }

TDateTime Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return EncodeDate(d.year(), d.month(), d.day()) + EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time()
{
    const QTime t = QTime::currentTime();
    return EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

QString FormatDateTime(const QString &picture, TDateTime dt, const TFormatSettings &fs)
{
    const Parts p = decode(dt);
    QString out;
    formatInto(out, picture.isEmpty() ? QStringView(u"c") : QStringView(picture), p, fs, 0);
    return out;
}

QString DateToStr(TDateTime dt, const TFormatSettings &fs) { return FormatDateTime(fs.ShortDateFormat, dt, fs); }
QString TimeToStr(TDateTime dt, const TFormatSettings &fs) { return FormatDateTime(fs.LongTimeFormat, dt, fs); }
QString DateTimeToStr(TDateTime dt, const TFormatSettings &fs) { return FormatDateTime(QStringLiteral("c"), dt, fs); }

std::optional<TDateTime> TryStrToDate(const QString &s, const TFormatSettings &fs)
{
    Scanner sc{s};
    TDateTime d;
    if (!scanDate(sc, fs, d))
        return std::nullopt;
    sc.blanks();
    return sc.atEnd() ? std::optional(d) : std::nullopt;
}

std::optional<TDateTime> TryStrToTime(const QString &s, const TFormatSettings &fs)
{
    Scanner sc{s};
    TDateTime t;
    if (!scanTime(sc, fs, t))
        return std::nullopt;
    sc.blanks();
    return sc.atEnd() ? std::optional(t) : std::nullopt;
}

std::optional<TDateTime> TryStrToDateTime(const QString &s, const TFormatSettings &fs)
{
    Scanner sc{s};
    TDateTime d = 0, t = 0;
    if (scanDate(sc, fs, d)) {
        sc.blanks();
        if (!sc.atEnd() && !scanTime(sc, fs, t))
            return std::nullopt;
    } else {
        sc.pos = 0;
        if (!scanTime(sc, fs, t))
            return std::nullopt;
    }
    sc.blanks();
    if (!sc.atEnd())
        return std::nullopt;
    return d < 0 ? d - t : d + t;
}

TDateTime StrToDate(const QString &s, const TFormatSettings &fs)
{
    if (const auto d = TryStrToDate(s, fs))
        return *d;
    raise<EConvertError>(msg::InvalidDate, s);
}

TDateTime StrToTime(const QString &s, const TFormatSettings &fs)
{
    if (const auto t = TryStrToTime(s, fs))
        return *t;
    raise<EConvertError>(msg::InvalidTime, s);
}

TDateTime StrToDateTime(const QString &s, const TFormatSettings &fs)
{
    if (const auto d = TryStrToDateTime(s, fs))
        return *d;
    raise<EConvertError>(msg::InvalidDateTime, s);
}

TDateTime StrToDateDef(const QString &s, TDateTime def, const TFormatSettings &fs)
{
    return TryStrToDate(s, fs).value_or(def);
}

TDateTime StrToTimeDef(const QString &s, TDateTime def, const TFormatSettings &fs)
{
    return TryStrToTime(s, fs).value_or(def);
}

TDateTime StrToDateTimeDef(const QString &s, TDateTime def, const TFormatSettings &fs)
{
    return TryStrToDateTime(s, fs).value_or(def);
}

} // namespace rtl
