#include "script/system/qssysfuncs.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/textcase.h"
#include "platform/ui/messages.h"
#include "platform/ui/services.h"
#include "script/items/qsitems.h"
#include "script/items/qsolehelper.h"

#include <QLocale>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

using rtl::msg::InvalidOp;

// ---- argument helpers

QString Str(const Variant &v) { return v.toString(); }

[[noreturn]] void RangeError() { rtl::raise<ERangeError>(rtl::msg::RangeError); }

// A float result as the floating-point unit would give it with its exceptions enabled.
double CheckedFloat(double r)
{
    if (std::isnan(r))
        rtl::raise<EInvalidOp>(InvalidOp);
    if (std::isinf(r))
        rtl::raise<EOverflow>(rtl::msg::Overflow);
    return r;
}

double FloatArg(const Variant &v)
{
    const double d = v.toDouble();
    if (std::isnan(d))
        rtl::raise<EInvalidOp>(InvalidOp);
    return d;
}

// A 32-bit integer from a float already rounded or truncated; NaN and infinities are
// invalid operations, finite values beyond 32 bits a range error.
Variant IntResult(double r)
{
    if (!std::isfinite(r))
        rtl::raise<EInvalidOp>(InvalidOp);
    if (r < double(std::numeric_limits<int32_t>::min()) || r > double(std::numeric_limits<int32_t>::max()))
        RangeError();
    return Variant(int(r));
}

Variant DateVal(double d) { return Variant::fromDate(d); }

const QLocale &UserLocale()
{
    static const QLocale locale = QLocale::system();
    return locale;
}

// ---- group 1: to text

Variant fIntToStr(Variant *a) { return Variant(rtl::IntToStr(a[0].toInt64())); }
Variant fFloatToStr(Variant *a) { return Variant(rtl::FloatToStr(a[0].toDouble())); }
Variant fDateToStr(Variant *a) { return Variant(rtl::DateToStr(a[0].toDate())); }
Variant fTimeToStr(Variant *a) { return Variant(rtl::TimeToStr(a[0].toDate())); }
Variant fDateTimeToStr(Variant *a) { return Variant(rtl::DateTimeToStr(a[0].toDate())); }
Variant fBoolToStr(Variant *a) { return Variant(rtl::BoolToStr(a[0].toBool())); }

// ---- group 2: from text

Variant fStrToInt(Variant *a) { return Variant(int(rtl::StrToInt(Str(a[0])))); }
Variant fStrToInt64(Variant *a) { return Variant(static_cast<long long>(rtl::StrToInt64(Str(a[0])))); }
Variant fStrToFloat(Variant *a) { return Variant(rtl::StrToFloat(Str(a[0]))); }
Variant fStrToDate(Variant *a) { return DateVal(rtl::StrToDate(Str(a[0]))); }
Variant fStrToTime(Variant *a) { return DateVal(rtl::StrToTime(Str(a[0]))); }
Variant fStrToDateTime(Variant *a) { return DateVal(rtl::StrToDateTime(Str(a[0]))); }
Variant fStrToBool(Variant *a) { return Variant(rtl::StrToBool(Str(a[0]))); }

// ---- group 3: formatting

Variant fFormat(Variant *a)
{
    const Variant &args = a[1];
    const int lo = args.arrayLowBound(), hi = args.arrayHighBound();
    std::vector<Variant> items;
    items.reserve(size_t(std::max(0, hi - lo + 1)));
    for (int i = lo; i <= hi; ++i) {
        Variant item = args.arrayGet(i);
        if (item.isEmptyOrNull())
            item = Variant(0);
        items.push_back(std::move(item));
    }
    return Variant(rtl::Format(Str(a[0]), std::span<const Variant>(items)));
}

Variant fFormatFloat(Variant *a)
{
    // Multiplying by 1.0 first lets numeric text through as a number.
    return Variant(rtl::FormatFloat(Str(a[0]), Variant::mul(a[1], Variant(1.0)).toDouble()));
}

Variant fFormatDateTime(Variant *a) { return Variant(rtl::FormatDateTime(Str(a[0]), a[1].toDate())); }
Variant fFormatMaskText(Variant *a) { return Variant(rtl::FormatMaskText(Str(a[0]), Str(a[1]))); }

// ---- group 4: dates

Variant fEncodeDate(Variant *a) { return DateVal(rtl::EncodeDate(a[0].toInt(), a[1].toInt(), a[2].toInt())); }

Variant fDecodeDate(Variant *a)
{
    int y, m, d;
    rtl::DecodeDate(a[0].toDate(), y, m, d);
    a[1] = Variant::fromInt(y, varWord);
    a[2] = Variant::fromInt(m, varWord);
    a[3] = Variant::fromInt(d, varWord);
    return Variant(0);
}

Variant fEncodeTime(Variant *a)
{
    return DateVal(rtl::EncodeTime(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt()));
}

Variant fDecodeTime(Variant *a)
{
    int h, n, s, z;
    rtl::DecodeTime(a[0].toDate(), h, n, s, z);
    a[1] = Variant::fromInt(h, varWord);
    a[2] = Variant::fromInt(n, varWord);
    a[3] = Variant::fromInt(s, varWord);
    a[4] = Variant::fromInt(z, varWord);
    return Variant(0);
}

// The clock service, so that tests can fix "now".
double ClockNow()
{
    const QDateTime now = ui::clock().Now();
    const QDate d = now.date();
    const QTime t = now.time();
    return rtl::EncodeDate(d.year(), d.month(), d.day()) + rtl::EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

Variant fDate(Variant *) { return DateVal(std::trunc(ClockNow())); }
Variant fTime(Variant *)
{
    const double now = ClockNow();
    return DateVal(now - std::trunc(now));
}
Variant fNow(Variant *) { return DateVal(ClockNow()); }
Variant fDayOfWeek(Variant *a) { return Variant(rtl::DayOfWeek(a[0].toDate())); }
Variant fIsLeapYear(Variant *a) { return Variant(rtl::IsLeapYear(a[0].toInt())); }

Variant fDaysInMonth(Variant *a)
{
    const int month = a[1].toInt();
    if (month < 1 || month > 12)
        RangeError();
    return Variant(rtl::DaysInMonth(a[0].toInt(), month));
}

// ---- group 5: strings

Variant fLength(Variant *a)
{
    const Variant &v = a[0];
    if (v.isArray())
        return Variant(v.arrayHighBound() - v.arrayLowBound() + 1);
    return Variant(int(Str(v).size()));
}

Variant fCopy(Variant *a)
{
    const QString s = Str(a[0]);
    qint64 from = a[1].toInt(), count = a[2].toInt();
    if (from < 1)
        from = 1;
    if (from > s.size() || count <= 0)
        return Variant(QString());
    return Variant(s.mid(from - 1, std::min<qint64>(count, s.size() - from + 1)));
}

Variant fPos(Variant *a)
{
    const QString sub = Str(a[0]);
    if (sub.isEmpty())
        return Variant(0);
    return Variant(int(Str(a[1]).indexOf(sub)) + 1);
}

Variant fDelete(Variant *a)
{
    QString s = Str(a[0]);
    const qint64 from = a[1].toInt(), count = a[2].toInt();
    if (from >= 1 && from <= s.size() && count > 0)
        s.remove(from - 1, std::min<qint64>(count, s.size() - from + 1));
    a[0] = Variant(std::move(s));
    return Variant(0);
}

Variant fInsert(Variant *a)
{
    const QString what = Str(a[0]);
    QString s = Str(a[1]);
    qint64 pos = a[2].toInt();
    if (pos < 1)
        pos = 1;
    if (pos > s.size())
        pos = s.size() + 1;
    qsCheckTextLength(s.size(), what.size());
    s.insert(pos - 1, what);
    a[1] = Variant(std::move(s));
    return Variant(0);
}

Variant fUppercase(Variant *a) { return Variant(rtl::UpperCase(Str(a[0]), UserLocale())); }
Variant fLowercase(Variant *a) { return Variant(rtl::LowerCase(Str(a[0]), UserLocale())); }

Variant fTrim(Variant *a)
{
    const QString s = Str(a[0]);
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b).unicode() <= 32)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 32)
        --e;
    return Variant(s.mid(b, e - b));
}

Variant fNameCase(Variant *a) { return Variant(rtl::NameCase(Str(a[0]), UserLocale())); }

Variant fCompareText(Variant *a)
{
    const QLocale &loc = UserLocale();
    const int r = QString::localeAwareCompare(rtl::LowerCase(Str(a[0]), loc), rtl::LowerCase(Str(a[1]), loc));
    return Variant(r < 0 ? -1 : r > 0 ? 1 : 0);
}

Variant fChr(Variant *a)
{
    const int code = a[0].toInt();
    if (code < 0 || code > 0xFFFF)
        RangeError();
    return Variant(QChar(char16_t(code)));
}

Variant fOrd(Variant *a)
{
    const QString s = Str(a[0]);
    return Variant(s.isEmpty() ? 0 : int(s.at(0).unicode()));
}

Variant fSetLength(Variant *a)
{
    const int len = a[1].toInt();
    Variant &v = a[0];
    if (v.isString()) {
        if (len > qsMaxStringLength)
            rtl::raise<EOutOfMemory>("Out of memory");
        QString s = Str(v);
        // New characters are #0, never left undefined.
        s.resize(std::max(0, len), QChar(0));
        v = Variant(std::move(s));
    } else {
        v.arrayRedim(len - 1);
    }
    return Variant(0);
}

// ---- group 6: mathematics

Variant fRound(Variant *a) { return IntResult(std::nearbyint(a[0].toDouble())); }
Variant fTrunc(Variant *a) { return IntResult(std::trunc(a[0].toDouble())); }
Variant fInt(Variant *a) { return Variant(std::trunc(FloatArg(a[0]))); }

Variant fFrac(Variant *a)
{
    const double x = FloatArg(a[0]);
    return Variant(CheckedFloat(x - std::trunc(x)));
}

Variant fSqrt(Variant *a) { return Variant(CheckedFloat(std::sqrt(FloatArg(a[0])))); }
Variant fAbs(Variant *a) { return Variant(std::fabs(a[0].toDouble())); }
Variant fSin(Variant *a) { return Variant(CheckedFloat(std::sin(FloatArg(a[0])))); }
Variant fCos(Variant *a) { return Variant(CheckedFloat(std::cos(FloatArg(a[0])))); }
Variant fArcTan(Variant *a) { return Variant(std::atan(FloatArg(a[0]))); }

Variant fTan(Variant *a)
{
    const double x = FloatArg(a[0]);
    const double c = CheckedFloat(std::cos(x));
    if (c == 0.0)
        rtl::raise<EZeroDivide>(rtl::msg::ZeroDivide);
    return Variant(CheckedFloat(std::sin(x) / c));
}

Variant fExp(Variant *a) { return Variant(CheckedFloat(std::exp(FloatArg(a[0])))); }

Variant fLn(Variant *a)
{
    const double x = FloatArg(a[0]);
    if (x == 0.0)
        rtl::raise<EZeroDivide>(rtl::msg::ZeroDivide);
    return Variant(CheckedFloat(std::log(x)));
}

Variant fPi(Variant *) { return Variant(3.1415926535897932385); }

// ---- group 7: the rest

Variant fVarToStr(Variant *a) { return Variant(a[0].isNull() ? QString() : Str(a[0])); }

Variant fInc(Variant *a)
{
    a[0] = Variant::add(a[0], a[1]);
    return Variant(0);
}

Variant fDec(Variant *a)
{
    a[0] = Variant::sub(a[0], a[1]);
    return Variant(0);
}

Variant fRaiseException(Variant *a) { throw Exception(Str(a[0])); }

Variant fShowMessage(Variant *a)
{
    ui::ShowMessage(Str(a[0]));
    return Variant(0);
}

// One generator per thread: scripts running on two threads never share its state.
std::mt19937_64 &Generator()
{
    thread_local std::mt19937_64 gen;
    return gen;
}

Variant fRandomize(Variant *)
{
    Generator().seed(uint64_t(ui::clock().Now().toMSecsSinceEpoch()) ^ uint64_t(ui::clock().TickCount()));
    return Variant(0);
}

Variant fRandom(Variant *)
{
    // 53 random bits: at least 0 and always below 1.
    return Variant(double(Generator()() >> 11) * (1.0 / 9007199254740992.0));
}

Variant fValidInt(Variant *a) { return Variant(rtl::TryStrToInt(Str(a[0])).has_value()); }
Variant fValidFloat(Variant *a) { return Variant(rtl::TryStrToFloat(Str(a[0])).has_value()); }

Variant fValidDate(Variant *a)
{
    const Variant &v = a[0];
    const QString s = v.type() == varDate ? rtl::DateToStr(v.toDate()) : Str(v);
    return Variant(rtl::TryStrToDate(s).has_value());
}

Variant fExtractFilePath(Variant *a)
{
    const QString s = Str(a[0]);
    qsizetype i = s.size();
    while (i > 0) {
        const QChar c = s.at(i - 1);
        if (c == u'/' || c == u'\\' || c == u':')
            break;
        --i;
    }
    return Variant(s.left(i));
}

Variant fCreateOleObject(Variant *a)
{
    // Objects of the names the program registered; any other name is an invalid class string.
    return qsCreateOleObject(Str(a[0]));
}

Variant fVarArrayCreate(Variant *a)
{
    const Variant &b = a[0];
    const int lo = b.arrayLowBound(), hi = b.arrayHighBound();
    const int n = hi - lo + 1;
    // Script indexing reaches at most qsMaxArrayDims dimensions.
    if (n < 2 || n % 2 != 0 || n / 2 > qsMaxArrayDims)
        rtl::raise<EVariantArrayCreateError>(rtl::msg::VarArrayCreate);
    std::vector<std::pair<int, int>> bounds;
    bounds.reserve(size_t(n / 2));
    for (int i = lo; i <= hi; i += 2)
        bounds.push_back({b.arrayGet(i).toInt(), b.arrayGet(i + 1).toInt()});
    // createArray refuses shapes past its element limit.
    return Variant::createArray(std::span<const std::pair<int, int>>(bounds), VarType(a[1].toInt()));
}

Variant fVarType(Variant *a) { return Variant(int(a[0].varType())); }

#define V(i) (1u << (i))
const TqsSysFunction Table[] = {
    {"function IntToStr(i: Integer): String", "ctConv", 1, 1, 0, "INTTOSTR", fIntToStr},
    {"function FloatToStr(e: Extended): String", "ctConv", 1, 1, 0, "FLOATTOSTR", fFloatToStr},
    {"function DateToStr(e: Extended): String", "ctConv", 1, 1, 0, "DATETOSTR", fDateToStr},
    {"function TimeToStr(e: Extended): String", "ctConv", 1, 1, 0, "TIMETOSTR", fTimeToStr},
    {"function DateTimeToStr(e: Extended): String", "ctConv", 1, 1, 0, "DATETIMETOSTR", fDateTimeToStr},
    {"function BoolToStr(B: Boolean): string;", "ctConv", 1, 1, 0, "BOOLTOSTR", fBoolToStr},
    {"function VarToStr(v: Variant): String", "ctConv", 7, 1, 0, "VARTOSTR", fVarToStr},
    {"function StrToInt(s: String): Integer", "ctConv", 2, 1, 0, "STRTOINT", fStrToInt},
    {"function StrToInt64(s: String): Int64", "ctConv", 2, 1, 0, "STRTOINT64", fStrToInt64},
    {"function StrToFloat(s: String): Extended", "ctConv", 2, 1, 0, "STRTOFLOAT", fStrToFloat},
    {"function StrToDate(s: String): Extended", "ctConv", 2, 1, 0, "STRTODATE", fStrToDate},
    {"function StrToTime(s: String): Extended", "ctConv", 2, 1, 0, "STRTOTIME", fStrToTime},
    {"function StrToDateTime(s: String): Extended", "ctConv", 2, 1, 0, "STRTODATETIME", fStrToDateTime},
    {"function StrToBool(const S: string): Boolean;", "ctConv", 2, 1, 0, "STRTOBOOL", fStrToBool},
    {"function Format(Fmt: String; Args: array): String", "ctFormat", 3, 2, 0, "FORMAT", fFormat},
    {"function FormatFloat(Fmt: String; Value: Extended): String", "ctFormat", 3, 2, 0, "FORMATFLOAT", fFormatFloat},
    {"function FormatDateTime(Fmt: String; DateTime: TDateTime): String", "ctFormat", 3, 2, 0, "FORMATDATETIME",
     fFormatDateTime},
    {"function FormatMaskText(EditMask: string; Value: string): string", "ctFormat", 3, 2, 0, "FORMATMASKTEXT",
     fFormatMaskText},
    {"function EncodeDate(Year, Month, Day: Word): TDateTime", "ctDate", 4, 3, 0, "ENCODEDATE", fEncodeDate},
    {"procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)", "ctDate", 4, 4, V(1) | V(2) | V(3),
     "DECODEDATE", fDecodeDate},
    {"function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime", "ctDate", 4, 4, 0, "ENCODETIME", fEncodeTime},
    {"procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)", "ctDate", 4, 5,
     V(1) | V(2) | V(3) | V(4), "DECODETIME", fDecodeTime},
    {"function Date: TDateTime", "ctDate", 4, 0, 0, "DATE", fDate},
    {"function Time: TDateTime", "ctDate", 4, 0, 0, "TIME", fTime},
    {"function Now: TDateTime", "ctDate", 4, 0, 0, "NOW", fNow},
    {"function DayOfWeek(aDate: TDateTime): Integer", "ctDate", 4, 1, 0, "DAYOFWEEK", fDayOfWeek},
    {"function IsLeapYear(Year: Word): Boolean", "ctDate", 4, 1, 0, "ISLEAPYEAR", fIsLeapYear},
    {"function DaysInMonth(nYear, nMonth: Integer): Integer", "ctDate", 4, 2, 0, "DAYSINMONTH", fDaysInMonth},
    {"function Length(s: Variant): Integer", "ctString", 5, 1, 0, "LENGTH", fLength},
    {"function Copy(s: String; from, count: Integer): String", "ctString", 5, 3, 0, "COPY", fCopy},
    {"function Pos(substr, s: String): Integer", "ctString", 5, 2, 0, "POS", fPos},
    {"procedure Delete(var s: String; from, count: Integer)", "ctString", 5, 3, V(0), "DELETE", fDelete},
    {"procedure DeleteStr(var s: String; from, count: Integer)", "ctString", 5, 3, V(0), "DELETESTR", fDelete},
    {"procedure Insert(s: String; var s2: String; pos: Integer)", "ctString", 5, 3, V(1), "INSERT", fInsert},
    {"function Uppercase(s: String): String", "ctString", 5, 1, 0, "UPPERCASE", fUppercase},
    {"function Lowercase(s: String): String", "ctString", 5, 1, 0, "LOWERCASE", fLowercase},
    {"function Trim(s: String): String", "ctString", 5, 1, 0, "TRIM", fTrim},
    {"function NameCase(s: String): String", "ctString", 5, 1, 0, "NAMECASE", fNameCase},
    {"function CompareText(s, s1: String): Integer", "ctString", 5, 2, 0, "COMPARETEXT", fCompareText},
    {"function Chr(i: Integer): Char", "ctString", 5, 1, 0, "CHR", fChr},
    {"function Ord(ch: Char): Integer", "ctString", 5, 1, 0, "ORD", fOrd},
    {"procedure SetLength(var S: Variant; L: Integer)", "ctString", 5, 2, V(0), "SETLENGTH", fSetLength},
    {"function Round(e: Extended): Integer", "ctMath", 6, 1, 0, "ROUND", fRound},
    {"function Trunc(e: Extended): Integer", "ctMath", 6, 1, 0, "TRUNC", fTrunc},
    {"function Int(e: Extended): Integer", "ctMath", 6, 1, 0, "INT", fInt},
    {"function Frac(X: Extended): Extended", "ctMath", 6, 1, 0, "FRAC", fFrac},
    {"function Sqrt(e: Extended): Extended", "ctMath", 6, 1, 0, "SQRT", fSqrt},
    {"function Abs(e: Extended): Extended", "ctMath", 6, 1, 0, "ABS", fAbs},
    {"function Sin(e: Extended): Extended", "ctMath", 6, 1, 0, "SIN", fSin},
    {"function Cos(e: Extended): Extended", "ctMath", 6, 1, 0, "COS", fCos},
    {"function ArcTan(X: Extended): Extended", "ctMath", 6, 1, 0, "ARCTAN", fArcTan},
    {"function Tan(X: Extended): Extended", "ctMath", 6, 1, 0, "TAN", fTan},
    {"function Exp(X: Extended): Extended", "ctMath", 6, 1, 0, "EXP", fExp},
    {"function Ln(X: Extended): Extended", "ctMath", 6, 1, 0, "LN", fLn},
    {"function Pi: Extended", "ctMath", 6, 0, 0, "PI", fPi},
    {"procedure Inc(var i: Integer; incr: Integer = 1)", "ctOther", 7, 2, V(0), "INC", fInc},
    {"procedure Dec(var i: Integer; decr: Integer = 1)", "ctOther", 7, 2, V(0), "DEC", fDec},
    {"procedure RaiseException(Param: String)", "ctOther", 7, 1, 0, "RAISEEXCEPTION", fRaiseException},
    {"procedure ShowMessage(Msg: Variant)", "ctOther", 7, 1, 0, "SHOWMESSAGE", fShowMessage},
    {"procedure Randomize", "ctOther", 7, 0, 0, "RANDOMIZE", fRandomize},
    {"function Random: Extended", "ctOther", 7, 0, 0, "RANDOM", fRandom},
    {"function ValidInt(cInt: String): Boolean", "ctOther", 7, 1, 0, "VALIDINT", fValidInt},
    {"function ValidFloat(cFlt: String): Boolean", "ctOther", 7, 1, 0, "VALIDFLOAT", fValidFloat},
    {"function ValidDate(cDate: String): Boolean", "ctOther", 7, 1, 0, "VALIDDATE", fValidDate},
    {"function ExtractFilePath(const FileName: string): string;", "ctOther", 7, 1, 0, "EXTRACTFILEPATH",
     fExtractFilePath},
    {"function CreateOleObject(ClassName: String): Variant", "ctOther", 7, 1, 0, "CREATEOLEOBJECT", fCreateOleObject},
    {"function VarArrayCreate(Bounds: Array; Typ: Integer): Variant", "ctOther", 7, 2, 0, "VARARRAYCREATE",
     fVarArrayCreate},
    {"function VarType(V: Variant): Integer", "ctOther", 7, 1, 0, "VARTYPE", fVarType},
};
#undef V

} // namespace

std::span<const TqsSysFunction> qsSysFunctionTable() { return Table; }

const TqsSysFunction *qsFindSysFunction(QStringView upperName)
{
    for (const TqsSysFunction &f : Table)
        if (upperName == QLatin1StringView(f.name))
            return &f;
    return nullptr;
}

Variant qsSysCallGroup(int group, QStringView upperName, Variant *args)
{
    const TqsSysFunction *f = qsFindSysFunction(upperName);
    if (!f || f->group != group)
        return Variant(0);
    return f->fn(args);
}
