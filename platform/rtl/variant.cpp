#include "platform/rtl/variant.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <vector>

namespace rtl {

struct VariantStringRep
{
    std::atomic<int> refs{1};
    QString s;
};

struct VariantArrayRep
{
    std::atomic<int> refs{1};
    VarType elemType = varVariant;
    std::vector<std::pair<int, int>> bounds; // (low, high) per dimension
    std::vector<Variant> items;              // last dimension varies fastest

    size_t flatIndex(std::span<const int> idx) const
    {
        if (idx.size() != bounds.size())
            raise<EVariantBadIndexError>(msg::VarArrayBounds);
        size_t flat = 0;
        for (size_t d = 0; d < bounds.size(); ++d) {
            const auto [lo, hi] = bounds[d];
            if (idx[d] < lo || idx[d] > hi)
                raise<EVariantBadIndexError>(msg::VarArrayBounds);
            flat = flat * size_t(hi - lo + 1) + size_t(idx[d] - lo);
        }
        return flat;
    }
};

} // namespace rtl

using rtl::Currency;
using rtl::VariantArrayRep;
using rtl::VariantStringRep;
namespace msg = rtl::msg;

namespace {

// Largest number of elements a variant array may hold (16 M): a script asking for more gets
// an error, not an allocation that takes the machine down.
constexpr size_t MaxArrayElements = size_t(1) << 24;

// Operand classes for arithmetic.
enum Cat : uint8_t { cEmpty, cNull, cBool, cInt, cInt64, cDouble, cCurr, cDate, cStr, cArray, cDisp, cOther };

Cat catOf(uint16_t t)
{
    if (t & varArray)
        return cArray;
    switch (t) {
    case varEmpty: return cEmpty;
    case varNull: return cNull;
    case varBoolean: return cBool;
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord: return cInt;
    case varInt64: return cInt64;
    case varSingle:
    case varDouble: return cDouble;
    case varCurrency: return cCurr;
    case varDate: return cDate;
    case varUString: return cStr;
    case varDispatch: return cDisp;
    default: return cOther;
    }
}

bool fitsInt32(int64_t v) { return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max(); }

[[noreturn]] void invalidOp() { rtl::raise<EVariantInvalidOpError>(msg::InvalidVarOp); }

// A double result of finite operands must be finite: overflow and invalid operations raise.
// (An infinite or NaN operand, read from outside, just carries through.)
double checked(double r, double a, double b)
{
    if (std::isfinite(r) || !std::isfinite(a) || !std::isfinite(b)) [[likely]]
        return r;
    if (std::isnan(r))
        rtl::raise<EInvalidOp>(msg::InvalidOp);
    rtl::raise<EOverflow>(msg::Overflow);
}

double checkedDiv(double a, double b)
{
    if (b == 0.0) {
        if (a == 0.0 || std::isnan(a))
            rtl::raise<EInvalidOp>(msg::InvalidOp);
        rtl::raise<EZeroDivide>(msg::ZeroDivide);
    }
    return checked(a / b, a, b);
}

Variant intResult(int64_t v, bool wide) { return (!wide && fitsInt32(v)) ? Variant(int(v)) : Variant(static_cast<long long>(v)); }

int64_t roundToInt64(double d, uint16_t from, uint16_t to)
{
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    const double r = std::nearbyint(d);
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        rtl::raise<EVariantOverflowError>(msg::VarTypeConvertOverflow, Variant::typeName(from), Variant::typeName(to));
    return int64_t(r);
}

// Currency raw value (ten-thousandths) of a double, half to even.
int64_t currencyRaw(double d, uint16_t from)
{
    const double r = std::nearbyint(d * double(Currency::Scale));
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        rtl::raise<EVariantOverflowError>(msg::VarTypeConvertOverflow, Variant::typeName(from),
                                          Variant::typeName(varCurrency));
    return int64_t(r);
}

// Integer quotient of a / b rounded half to even (used for currency products and quotients).
int64_t divRoundEven(__int128 a, __int128 b)
{
    __int128 q = a / b;
    __int128 r = a % b;
    if (r != 0) {
        const __int128 ar = r < 0 ? -r : r;
        const __int128 ab = b < 0 ? -b : b;
        const bool neg = (a < 0) != (b < 0);
        if (2 * ar > ab || (2 * ar == ab && (q & 1)))
            q += neg ? -1 : 1;
    }
    if (q > std::numeric_limits<int64_t>::max() || q < std::numeric_limits<int64_t>::min())
        rtl::raise<EVariantOverflowError>(msg::VarTypeConvertOverflow, Variant::typeName(varCurrency),
                                          Variant::typeName(varCurrency));
    return int64_t(q);
}

// An operand reduced to a number class for arithmetic.
struct Num
{
    Cat c;       // cInt, cInt64, cDouble, cCurr or cDate
    int64_t i;   // cInt, cInt64, cCurr (raw)
    double d;    // cDouble, cDate
    double asDouble() const
    {
        switch (c) {
        case cInt:
        case cInt64: return double(i);
        case cCurr: return double(i) / double(Currency::Scale);
        default: return d;
        }
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Construction, copy, destruction

Variant::Variant(const QString &s) : m_type(varUString) { m_u.s = new VariantStringRep{{1}, s}; }
Variant::Variant(QString &&s) : m_type(varUString) { m_u.s = new VariantStringRep{{1}, std::move(s)}; }
Variant::Variant(const char *utf8) : Variant(QString::fromUtf8(utf8)) {}
Variant::Variant(const char16_t *s) : Variant(QString::fromUtf16(s)) {}
Variant::Variant(QLatin1StringView s) : Variant(QString(s)) {}
Variant::Variant(QChar c) : Variant(QString(c)) {}

void Variant::retain() const noexcept
{
    if (m_type == varUString)
        ++m_u.s->refs;
    else if (m_type & varArray)
        ++m_u.arr->refs;
    else if (m_type == varDispatch)
        m_u.disp->addRef();
}

void Variant::release() noexcept
{
    if (m_type == varUString) {
        if (--m_u.s->refs == 0)
            delete m_u.s;
    } else if (m_type & varArray) {
        if (--m_u.arr->refs == 0)
            delete m_u.arr;
    } else if (m_type == varDispatch) {
        m_u.disp->release();
    }
}

Variant &Variant::operator=(const Variant &o) noexcept
{
    if (this != &o) {
        o.retain();
        release();
        m_u = o.m_u;
        m_type = o.m_type;
    }
    return *this;
}

Variant &Variant::operator=(Variant &&o) noexcept
{
    if (this != &o) {
        release();
        m_u = o.m_u;
        m_type = o.m_type;
        o.m_type = varEmpty;
        o.m_u.i64 = 0;
    }
    return *this;
}

void Variant::clear() noexcept
{
    release();
    m_type = varEmpty;
    m_u.i64 = 0;
}

void Variant::swap(Variant &o) noexcept
{
    std::swap(m_u, o.m_u);
    std::swap(m_type, o.m_type);
}

Variant Variant::null() noexcept
{
    Variant v;
    v.m_type = varNull;
    return v;
}

Variant Variant::fromInt(int64_t v, VarType kind)
{
    int64_t lo = 0, hi = 0;
    switch (kind) {
    case varSmallint: lo = -32768; hi = 32767; break;
    case varShortInt: lo = -128; hi = 127; break;
    case varByte: lo = 0; hi = 255; break;
    case varWord: lo = 0; hi = 65535; break;
    case varLongWord: lo = 0; hi = 4294967295LL; break;
    case varInteger: lo = std::numeric_limits<int32_t>::min(); hi = std::numeric_limits<int32_t>::max(); break;
    case varInt64: return Variant(static_cast<long long>(v));
    default: rtl::raise<EVariantBadVarTypeError>(msg::VarBadType);
    }
    if (v < lo || v > hi)
        rtl::raise<EVariantOverflowError>(msg::VarTypeConvertOverflow, typeName(varInt64), typeName(kind));
    Variant r;
    r.m_type = kind;
    r.m_u.i64 = v;
    return r;
}

Variant Variant::fromSingle(float v) noexcept
{
    Variant r;
    r.m_type = varSingle;
    r.m_u.d = v;
    return r;
}

Variant Variant::fromDate(double days) noexcept
{
    Variant r;
    r.m_type = varDate;
    r.m_u.d = days;
    return r;
}

Variant Variant::fromCurrency(double v) { return Variant(Currency::fromRaw(currencyRaw(v, varDouble))); }

Variant Variant::fromDispatch(rtl::DispatchObject *obj) noexcept
{
    Variant r;
    if (!obj)
        return r;
    obj->addRef();
    r.m_type = varDispatch;
    r.m_u.disp = obj;
    return r;
}

// ---------------------------------------------------------------------------------------------
// Kinds and names

bool Variant::isOrdinal() const noexcept
{
    const Cat c = catOf(m_type);
    return c == cInt || c == cInt64;
}

bool Variant::isFloat() const noexcept
{
    return m_type == varSingle || m_type == varDouble || m_type == varCurrency;
}

bool Variant::isNumeric() const noexcept { return isOrdinal() || isFloat(); }

QString Variant::typeName(uint16_t t)
{
    if (t & varArray)
        return QStringLiteral("Array ") + typeName(t & varTypeMask);
    static const char *const names[] = {"Empty",   "Null",   "Smallint", "Integer",  "Single", "Double",
                                        "Currency", "Date",   "OleStr",   "Dispatch", "Error",  "Boolean",
                                        "Variant", "Unknown", "Decimal",  "$000F",    "ShortInt", "Byte",
                                        "Word",    "LongWord", "Int64",   "UInt64"};
    if (t < std::size(names))
        return QString::fromLatin1(names[t]);
    switch (t) {
    case varStrArg: return QStringLiteral("StrArg");
    case varString: return QStringLiteral("String");
    case varAny: return QStringLiteral("Any");
    case varUString: return QStringLiteral("UnicodeString");
    default: return QStringLiteral("$") + QString::number(t, 16).toUpper().rightJustified(4, u'0');
    }
}

void Variant::castError(uint16_t target) const
{
    rtl::raise<EVariantTypeCastError>(msg::VarTypeCouldNotConvert, typeName(m_type), typeName(target));
}

const QString &Variant::str() const noexcept { return m_u.s->s; }

// ---------------------------------------------------------------------------------------------
// Conversions

int64_t Variant::toInt64() const
{
    switch (catOf(m_type)) {
    case cInt:
    case cInt64: return m_u.i64;
    case cEmpty: return 0;
    case cBool: return m_u.b ? -1 : 0;
    case cDouble:
    case cDate: return roundToInt64(m_u.d, m_type, varInt64);
    case cCurr: return divRoundEven(m_u.i64, Currency::Scale);
    case cStr: {
        if (const auto v = rtl::TryStrToInt64(str()))
            return *v;
        if (const auto d = rtl::TryStrToFloat(str()))
            return roundToInt64(*d, m_type, varInt64);
        break;
    }
    default: break;
    }
    castError(varInt64);
}

int32_t Variant::toInt() const
{
    if (m_type == varInteger) [[likely]]
        return int32_t(m_u.i64);
    int64_t v;
    try {
        v = toInt64();
    } catch (const EVariantTypeCastError &) {
        castError(varInteger);
    } catch (const EVariantOverflowError &) {
        rtl::raise<EVariantOverflowError>(msg::VarTypeConvertOverflow, typeName(m_type), typeName(varInteger));
    }
    if (!fitsInt32(v))
        rtl::raise<EVariantOverflowError>(msg::VarTypeConvertOverflow, typeName(m_type), typeName(varInteger));
    return int32_t(v);
}

double Variant::toDouble() const
{
    switch (catOf(m_type)) {
    case cDouble:
    case cDate: return m_u.d;
    case cInt:
    case cInt64: return double(m_u.i64);
    case cEmpty: return 0.0;
    case cBool: return m_u.b ? -1.0 : 0.0;
    case cCurr: return double(m_u.i64) / double(Currency::Scale);
    case cStr:
        if (const auto d = rtl::TryStrToFloat(str()))
            return *d;
        break;
    default: break;
    }
    castError(varDouble);
}

Currency Variant::toCurrency() const
{
    switch (catOf(m_type)) {
    case cCurr: return Currency::fromRaw(m_u.i64);
    case cInt:
    case cInt64:
        if (m_u.i64 > std::numeric_limits<int64_t>::max() / Currency::Scale ||
            m_u.i64 < std::numeric_limits<int64_t>::min() / Currency::Scale)
            rtl::raise<EVariantOverflowError>(msg::VarTypeConvertOverflow, typeName(m_type), typeName(varCurrency));
        return Currency::fromRaw(m_u.i64 * Currency::Scale);
    case cEmpty: return Currency{};
    case cBool: return Currency::fromRaw(m_u.b ? -Currency::Scale : 0);
    case cDouble:
    case cDate: return Currency::fromRaw(currencyRaw(m_u.d, m_type));
    case cStr:
        if (const auto d = rtl::TryStrToFloat(str()))
            return Currency::fromRaw(currencyRaw(*d, m_type));
        break;
    default: break;
    }
    castError(varCurrency);
}

double Variant::toDate() const
{
    switch (catOf(m_type)) {
    case cStr:
        if (const auto d = rtl::TryStrToDateTime(str()))
            return *d;
        if (const auto d = rtl::TryStrToFloat(str()))
            return *d;
        castError(varDate);
    case cNull:
    case cArray:
    case cDisp:
    case cOther: castError(varDate);
    default: return toDouble();
    }
}

bool Variant::toBool() const
{
    switch (catOf(m_type)) {
    case cBool: return m_u.b;
    case cEmpty: return false;
    case cInt:
    case cInt64:
    case cCurr: return m_u.i64 != 0;
    case cDouble:
    case cDate: return m_u.d != 0.0;
    case cStr:
        if (const auto b = rtl::TryStrToBool(str()))
            return *b;
        break;
    default: break;
    }
    castError(varBoolean);
}

QString Variant::toString() const
{
    switch (catOf(m_type)) {
    case cStr: return str();
    case cEmpty:
    case cNull: return QString();
    case cInt:
    case cInt64: return QString::number(m_u.i64);
    case cBool: return m_u.b ? QStringLiteral("True") : QStringLiteral("False");
    case cDouble:
        if (m_type == varSingle)
            return rtl::FloatToStrF(m_u.d, rtl::FloatFormat::General, 7, 0);
        return rtl::FloatToStr(m_u.d);
    case cCurr: return rtl::CurrToStr(Currency::fromRaw(m_u.i64));
    case cDate: return rtl::DateTimeToStr(m_u.d);
    default: break;
    }
    castError(varUString);
}

rtl::DispatchObject *Variant::toDispatch() const { return m_type == varDispatch ? m_u.disp : nullptr; }

Variant Variant::castTo(VarType kind) const
{
    if (kind == m_type || kind == varVariant)
        return *this;
    switch (kind) {
    case varEmpty: return Variant();
    case varNull: return null();
    case varSmallint:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord: {
        const int64_t v = toInt64();
        try {
            return fromInt(v, kind);
        } catch (const EVariantOverflowError &) {
            rtl::raise<EVariantOverflowError>(msg::VarTypeConvertOverflow, typeName(m_type), typeName(kind));
        }
    }
    case varInteger: return Variant(int(toInt()));
    case varInt64: return Variant(static_cast<long long>(toInt64()));
    case varSingle: {
        const double d = toDouble();
        if (std::isfinite(d) && std::fabs(d) > double(std::numeric_limits<float>::max()))
            rtl::raise<EVariantOverflowError>(msg::VarTypeConvertOverflow, typeName(m_type), typeName(kind));
        return fromSingle(float(d));
    }
    case varDouble: return Variant(toDouble());
    case varCurrency: return Variant(toCurrency());
    case varDate: return fromDate(toDate());
    case varBoolean: return Variant(toBool());
    case varOleStr:
    case varString:
    case varUString: return Variant(toString());
    case varDispatch:
        if (m_type == varEmpty)
            return Variant();
        castError(kind);
    default: rtl::raise<EVariantBadVarTypeError>(msg::VarBadType);
    }
}

// ---------------------------------------------------------------------------------------------
// Arrays

Variant Variant::createArray(std::initializer_list<std::pair<int, int>> bounds, VarType elemType)
{
    return createArray(std::span<const std::pair<int, int>>(bounds.begin(), bounds.size()), elemType);
}

Variant Variant::createArray(std::span<const std::pair<int, int>> bounds, VarType elemType)
{
    switch (elemType) {
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate:
    case varOleStr:
    case varBoolean:
    case varVariant:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varString:
    case varUString: break;
    default: rtl::raise<EVariantArrayCreateError>(msg::VarArrayCreate);
    }
    if (bounds.empty())
        rtl::raise<EVariantArrayCreateError>(msg::VarArrayCreate);
    size_t total = 1;
    for (const auto &[lo, hi] : bounds) {
        if (int64_t(hi) < int64_t(lo) - 1)
            rtl::raise<EVariantArrayCreateError>(msg::VarArrayCreate);
        const size_t n = size_t(int64_t(hi) - int64_t(lo) + 1);
        if (n != 0 && total > MaxArrayElements / n)
            rtl::raise<EVariantArrayCreateError>(msg::VarArrayCreate);
        total *= n;
    }
    const VarType stored = (elemType == varOleStr || elemType == varString) ? varUString : elemType;
    auto *rep = new VariantArrayRep;
    rep->elemType = stored;
    rep->bounds.assign(bounds.begin(), bounds.end());
    rep->items.assign(total, Variant().castTo(stored));
    Variant r;
    r.m_type = uint16_t(varArray | stored);
    r.m_u.arr = rep;
    return r;
}

Variant Variant::arrayOf(std::initializer_list<Variant> items)
{
    return arrayOf(std::span<const Variant>(items.begin(), items.size()));
}

Variant Variant::arrayOf(std::span<const Variant> items)
{
    const int n = int(items.size());
    Variant r = createArray({{0, n - 1}}, varVariant);
    std::copy(items.begin(), items.end(), r.m_u.arr->items.begin());
    return r;
}

int Variant::arrayDimCount() const { return isArray() ? int(m_u.arr->bounds.size()) : 0; }

int Variant::arrayLowBound(int dim) const
{
    if (!isArray())
        rtl::raise<EVariantNotArrayError>(msg::VarNotArray);
    if (dim < 1 || dim > int(m_u.arr->bounds.size()))
        rtl::raise<EVariantBadIndexError>(msg::VarArrayBounds);
    return m_u.arr->bounds[size_t(dim - 1)].first;
}

int Variant::arrayHighBound(int dim) const
{
    if (!isArray())
        rtl::raise<EVariantNotArrayError>(msg::VarNotArray);
    if (dim < 1 || dim > int(m_u.arr->bounds.size()))
        rtl::raise<EVariantBadIndexError>(msg::VarArrayBounds);
    return m_u.arr->bounds[size_t(dim - 1)].second;
}

VarType Variant::arrayElemType() const
{
    if (!isArray())
        rtl::raise<EVariantNotArrayError>(msg::VarNotArray);
    return m_u.arr->elemType;
}

Variant Variant::arrayGet(std::span<const int> indices) const
{
    if (!isArray())
        rtl::raise<EVariantNotArrayError>(msg::VarNotArray);
    return m_u.arr->items[m_u.arr->flatIndex(indices)];
}

VariantArrayRep *Variant::detachArray()
{
    if (m_u.arr->refs.load() != 1) {
        auto *copy = new VariantArrayRep;
        copy->elemType = m_u.arr->elemType;
        copy->bounds = m_u.arr->bounds;
        copy->items = m_u.arr->items;
        release();
        m_u.arr = copy;
    }
    return m_u.arr;
}

void Variant::arrayPut(std::span<const int> indices, const Variant &v)
{
    if (!isArray())
        rtl::raise<EVariantNotArrayError>(msg::VarNotArray);
    const size_t at = m_u.arr->flatIndex(indices);
    // Convert before detaching: a failed conversion leaves the array untouched.
    Variant value = v.castTo(m_u.arr->elemType);
    detachArray()->items[at] = std::move(value);
}

void Variant::arrayRedim(int highBound)
{
    if (!isArray())
        rtl::raise<EVariantNotArrayError>(msg::VarNotArray);
    const VariantArrayRep *old = m_u.arr;
    std::vector<std::pair<int, int>> bounds = old->bounds;
    bounds.back().second = highBound;
    Variant fresh = createArray(std::span<const std::pair<int, int>>(bounds), old->elemType);
    // Copy every element whose index exists in both shapes.
    const int oldLast = old->bounds.back().second - old->bounds.back().first + 1;
    const int newLast = bounds.back().second - bounds.back().first + 1;
    const int keep = std::min(oldLast, newLast);
    const size_t rows = oldLast > 0 ? old->items.size() / size_t(oldLast) : 0;
    for (size_t row = 0; row < rows; ++row)
        for (int k = 0; k < keep; ++k)
            fresh.m_u.arr->items[row * size_t(newLast) + size_t(k)] = old->items[row * size_t(oldLast) + size_t(k)];
    *this = std::move(fresh);
}

// ---------------------------------------------------------------------------------------------
// Arithmetic

namespace {

enum class Op { Add, Sub, Mul, Div };

// Number class of an operand (Null and non-numbers handled by the caller).
Num toNum(const Variant &v)
{
    switch (catOf(v.varType())) {
    case cInt: return {cInt, v.toInt64(), 0};
    case cInt64: return {cInt64, v.toInt64(), 0};
    case cEmpty: return {cInt, 0, 0};
    case cBool: return {cInt, v.toBool() ? -1 : 0, 0};
    case cDouble: return {cDouble, 0, v.toDouble()};
    case cDate: return {cDate, 0, v.toDouble()};
    case cCurr: return {cCurr, v.toCurrency().raw, 0};
    case cStr: return {cDouble, 0, v.toDouble()};
    default: invalidOp();
    }
}

Variant intArith(Op op, int64_t a, int64_t b, bool wide)
{
    int64_t r;
    bool overflow;
    switch (op) {
    case Op::Add: overflow = __builtin_add_overflow(a, b, &r); break;
    case Op::Sub: overflow = __builtin_sub_overflow(a, b, &r); break;
    default: overflow = __builtin_mul_overflow(a, b, &r); break;
    }
    if (overflow)
        rtl::raise<EIntOverflow>(msg::IntOverflow);
    return intResult(r, wide);
}

Variant doubleArith(Op op, double a, double b)
{
    switch (op) {
    case Op::Add: return Variant(checked(a + b, a, b));
    case Op::Sub: return Variant(checked(a - b, a, b));
    case Op::Mul: return Variant(checked(a * b, a, b));
    default: return Variant(checkedDiv(a, b));
    }
}

Variant currArith(Op op, const Num &x, const Num &y)
{
    // Both are currency or integers; integers count whole units.
    const __int128 a = x.c == cCurr ? __int128(x.i) : __int128(x.i) * Currency::Scale;
    const __int128 b = y.c == cCurr ? __int128(y.i) : __int128(y.i) * Currency::Scale;
    __int128 r;
    switch (op) {
    case Op::Add: r = a + b; break;
    case Op::Sub: r = a - b; break;
    case Op::Mul: return Variant(Currency::fromRaw(divRoundEven(a * b, Currency::Scale)));
    default:
        if (b == 0) {
            if (a == 0)
                rtl::raise<EInvalidOp>(msg::InvalidOp);
            rtl::raise<EZeroDivide>(msg::ZeroDivide);
        }
        return Variant(Currency::fromRaw(divRoundEven(a * Currency::Scale, b)));
    }
    if (r > std::numeric_limits<int64_t>::max() || r < std::numeric_limits<int64_t>::min())
        rtl::raise<EVariantOverflowError>(msg::VarTypeConvertOverflow, Variant::typeName(varCurrency),
                                          Variant::typeName(varCurrency));
    return Variant(Currency::fromRaw(int64_t(r)));
}

Variant arith(Op op, const Variant &a, const Variant &b)
{
    const Cat ca = catOf(a.varType()), cb = catOf(b.varType());
    if (ca == cNull || cb == cNull)
        return Variant::null();
    if (ca >= cArray || cb >= cArray)
        invalidOp();
    if (op == Op::Add && (ca == cStr || cb == cStr) && (ca == cStr || ca == cEmpty) && (cb == cStr || cb == cEmpty)) {
        if (ca == cEmpty)
            return b;
        if (cb == cEmpty)
            return a;
        QString r = a.toString() + b.toString();
        return Variant(std::move(r));
    }
    const Num x = toNum(a), y = toNum(b);
    if (x.c == cDate || y.c == cDate) {
        const double r = doubleArith(op, x.asDouble(), y.asDouble()).toDouble();
        const bool keepDate = (op == Op::Add) || (op == Op::Sub && x.c == cDate && y.c != cDate);
        return keepDate ? Variant::fromDate(r) : Variant(r);
    }
    if (x.c == cDouble || y.c == cDouble)
        return doubleArith(op, x.asDouble(), y.asDouble());
    if (x.c == cCurr || y.c == cCurr)
        return currArith(op, x, y);
    if (op == Op::Div)
        return Variant(checkedDiv(double(x.i), double(y.i)));
    return intArith(op, x.i, y.i, x.c == cInt64 || y.c == cInt64);
}

// Both operands as integers for div, mod, and, or, xor, shl, shr. wide: a 64-bit result.
struct IntPair
{
    int64_t a, b;
    bool wide;
};

IntPair toInts(const Variant &a, const Variant &b)
{
    const Cat ca = catOf(a.varType()), cb = catOf(b.varType());
    if (ca >= cArray || cb >= cArray)
        invalidOp();
    const int64_t x = a.toInt64(), y = b.toInt64();
    return {x, y, ca == cInt64 || cb == cInt64 || !fitsInt32(x) || !fitsInt32(y)};
}

enum class BitOp { And, Or, Xor };

Variant bitwise(BitOp op, const Variant &a, const Variant &b)
{
    const Cat ca = catOf(a.varType()), cb = catOf(b.varType());
    if (ca == cNull || cb == cNull)
        return Variant::null();
    if ((ca == cBool && (cb == cBool || cb == cStr)) || (cb == cBool && ca == cStr)) {
        const bool x = a.toBool(), y = b.toBool();
        switch (op) {
        case BitOp::And: return Variant(x && y);
        case BitOp::Or: return Variant(x || y);
        default: return Variant(x != y);
        }
    }
    const IntPair p = toInts(a, b);
    int64_t r;
    switch (op) {
    case BitOp::And: r = p.a & p.b; break;
    case BitOp::Or: r = p.a | p.b; break;
    default: r = p.a ^ p.b; break;
    }
    return intResult(r, p.wide);
}

} // namespace

Variant Variant::addSlow(const Variant &a, const Variant &b)
{
    if (a.m_type == varInteger && b.m_type == varInteger)
        return intResult(a.m_u.i64 + b.m_u.i64, false);
    if (a.m_type == varDouble) {
        if (b.m_type == varDouble)
            return Variant(checked(a.m_u.d + b.m_u.d, a.m_u.d, b.m_u.d));
        if (b.m_type == varInteger)
            return Variant(checked(a.m_u.d + double(b.m_u.i64), a.m_u.d, double(b.m_u.i64)));
    } else if (a.m_type == varInteger && b.m_type == varDouble) {
        return Variant(checked(double(a.m_u.i64) + b.m_u.d, double(a.m_u.i64), b.m_u.d));
    }
    return arith(Op::Add, a, b);
}

Variant Variant::subSlow(const Variant &a, const Variant &b)
{
    if (a.m_type == varInteger && b.m_type == varInteger)
        return intResult(a.m_u.i64 - b.m_u.i64, false);
    if (a.m_type == varDouble) {
        if (b.m_type == varDouble)
            return Variant(checked(a.m_u.d - b.m_u.d, a.m_u.d, b.m_u.d));
        if (b.m_type == varInteger)
            return Variant(checked(a.m_u.d - double(b.m_u.i64), a.m_u.d, double(b.m_u.i64)));
    } else if (a.m_type == varInteger && b.m_type == varDouble) {
        return Variant(checked(double(a.m_u.i64) - b.m_u.d, double(a.m_u.i64), b.m_u.d));
    }
    return arith(Op::Sub, a, b);
}

Variant Variant::mulSlow(const Variant &a, const Variant &b)
{
    if (a.m_type == varInteger && b.m_type == varInteger)
        return intResult(a.m_u.i64 * b.m_u.i64, false); // two 32-bit factors always fit 64 bits
    if (a.m_type == varDouble) {
        if (b.m_type == varDouble)
            return Variant(checked(a.m_u.d * b.m_u.d, a.m_u.d, b.m_u.d));
        if (b.m_type == varInteger)
            return Variant(checked(a.m_u.d * double(b.m_u.i64), a.m_u.d, double(b.m_u.i64)));
    } else if (a.m_type == varInteger && b.m_type == varDouble) {
        return Variant(checked(double(a.m_u.i64) * b.m_u.d, double(a.m_u.i64), b.m_u.d));
    }
    return arith(Op::Mul, a, b);
}

Variant Variant::divide(const Variant &a, const Variant &b)
{
    const bool ai = a.m_type == varInteger, ad = a.m_type == varDouble;
    const bool bi = b.m_type == varInteger, bd = b.m_type == varDouble;
    if ((ai || ad) && (bi || bd)) [[likely]]
        return Variant(checkedDiv(ai ? double(a.m_u.i64) : a.m_u.d, bi ? double(b.m_u.i64) : b.m_u.d));
    return arith(Op::Div, a, b);
}

Variant Variant::intDiv(const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return null();
    const IntPair p = toInts(a, b);
    if (p.b == 0)
        rtl::raise<EDivByZero>(msg::DivByZero);
    if (p.a == std::numeric_limits<int64_t>::min() && p.b == -1)
        rtl::raise<EIntOverflow>(msg::IntOverflow);
    return intResult(p.a / p.b, p.wide);
}

Variant Variant::mod(const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return null();
    const IntPair p = toInts(a, b);
    if (p.b == 0)
        rtl::raise<EDivByZero>(msg::DivByZero);
    if (p.b == -1)
        return intResult(0, p.wide);
    return intResult(p.a % p.b, p.wide);
}

Variant Variant::bitAnd(const Variant &a, const Variant &b) { return bitwise(BitOp::And, a, b); }
Variant Variant::bitOr(const Variant &a, const Variant &b) { return bitwise(BitOp::Or, a, b); }
Variant Variant::bitXor(const Variant &a, const Variant &b) { return bitwise(BitOp::Xor, a, b); }

Variant Variant::shl(const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return null();
    const bool wide = catOf(a.m_type) == cInt64;
    const IntPair p = toInts(a, b);
    if (wide)
        return Variant(static_cast<long long>(uint64_t(p.a) << (p.b & 63)));
    return Variant(int(int32_t(uint32_t(p.a) << (p.b & 31))));
}

Variant Variant::shr(const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return null();
    const bool wide = catOf(a.m_type) == cInt64;
    const IntPair p = toInts(a, b);
    if (wide)
        return Variant(static_cast<long long>(uint64_t(p.a) >> (p.b & 63)));
    return Variant(int(int32_t(uint32_t(p.a) >> (p.b & 31))));
}

Variant Variant::negate(const Variant &a)
{
    switch (catOf(a.m_type)) {
    case cNull: return null();
    case cInt:
    case cEmpty:
    case cBool: return intResult(-a.toInt64(), false);
    case cInt64:
        if (a.m_u.i64 == std::numeric_limits<int64_t>::min())
            rtl::raise<EIntOverflow>(msg::IntOverflow);
        return Variant(static_cast<long long>(-a.m_u.i64));
    case cDouble:
    case cStr: return Variant(-a.toDouble());
    case cDate: return fromDate(-a.m_u.d);
    case cCurr:
        if (a.m_u.i64 == std::numeric_limits<int64_t>::min())
            rtl::raise<EVariantOverflowError>(msg::VarTypeConvertOverflow, typeName(varCurrency), typeName(varCurrency));
        return Variant(Currency::fromRaw(-a.m_u.i64));
    default: invalidOp();
    }
}

Variant Variant::bitNot(const Variant &a)
{
    switch (catOf(a.m_type)) {
    case cNull: return null();
    case cBool: return Variant(!a.m_u.b);
    case cArray:
    case cDisp:
    case cOther: invalidOp();
    default: {
        const int64_t v = a.toInt64();
        return intResult(~v, catOf(a.m_type) == cInt64 || !fitsInt32(v));
    }
    }
}

Variant Variant::concat(const Variant &a, const Variant &b)
{
    QString r = a.toString() + b.toString();
    return Variant(std::move(r));
}

// ---------------------------------------------------------------------------------------------
// Comparison

namespace {

template<class T>
Variant::Order order(T x, T y)
{
    return x < y ? Variant::Order::Less : (y < x ? Variant::Order::Greater : Variant::Order::Equal);
}

} // namespace

Variant::Order Variant::compareSlow(const Variant &a, const Variant &b)
{
    // Integer, Double and their mixes without conversions.
    const bool ai = a.m_type == varInteger, ad = a.m_type == varDouble;
    const bool bi = b.m_type == varInteger, bd = b.m_type == varDouble;
    if (ai && bi)
        return order(a.m_u.i64, b.m_u.i64);
    if ((ai || ad) && (bi || bd))
        return order(ai ? double(a.m_u.i64) : a.m_u.d, bi ? double(b.m_u.i64) : b.m_u.d);

    Cat ca = catOf(a.m_type), cb = catOf(b.m_type);
    if (ca == cNull || cb == cNull) {
        if (ca == cNull && cb == cNull)
            return Order::Equal;
        return ca == cNull ? Order::Less : Order::Greater;
    }
    if (ca == cDisp && cb == cDisp) {
        if (a.m_u.disp == b.m_u.disp)
            return Order::Equal;
        return std::less<const void *>()(a.m_u.disp, b.m_u.disp) ? Order::Less : Order::Greater;
    }
    if (ca >= cArray || cb >= cArray)
        invalidOp();
    if (ca == cEmpty && cb == cEmpty)
        return Order::Equal;
    if ((ca == cStr || ca == cEmpty) && (cb == cStr || cb == cEmpty)) {
        const int c = QString::compare(a.toString(), b.toString(), Qt::CaseSensitive);
        return c < 0 ? Order::Less : (c > 0 ? Order::Greater : Order::Equal);
    }
    if (ca == cBool || cb == cBool) {
        if ((ca == cBool || ca == cStr) && (cb == cBool || cb == cStr))
            return order(int(a.toBool()), int(b.toBool())); // False < True
    }
    // A String next to a Date reads as a date-time (or a number).
    if ((ca == cStr && cb == cDate) || (ca == cDate && cb == cStr))
        return order(a.toDate(), b.toDate());
    const Num x = toNum(a), y = toNum(b);
    const bool xi = x.c == cInt || x.c == cInt64, yi = y.c == cInt || y.c == cInt64;
    if (xi && yi)
        return order(x.i, y.i);
    if ((x.c == cCurr || xi) && (y.c == cCurr || yi)) {
        const __int128 p = x.c == cCurr ? __int128(x.i) : __int128(x.i) * Currency::Scale;
        const __int128 q = y.c == cCurr ? __int128(y.i) : __int128(y.i) * Currency::Scale;
        return order(p, q);
    }
    return order(x.asDouble(), y.asDouble());
}

bool Variant::equals(const Variant &a, const Variant &b)
{
    if (a.m_type == varUString && b.m_type == varUString)
        return a.str() == b.str();
    return compare(a, b) == Order::Equal;
}

bool Variant::identical(const Variant &o) const
{
    if (m_type != o.m_type)
        return false;
    switch (catOf(m_type)) {
    case cEmpty:
    case cNull: return true;
    case cBool: return m_u.b == o.m_u.b;
    case cInt:
    case cInt64:
    case cCurr: return m_u.i64 == o.m_u.i64;
    case cDouble:
    case cDate: return m_u.d == o.m_u.d || (std::isnan(m_u.d) && std::isnan(o.m_u.d));
    case cStr: return str() == o.str();
    case cDisp: return m_u.disp == o.m_u.disp;
    case cArray: {
        const VariantArrayRep *x = m_u.arr, *y = o.m_u.arr;
        if (x == y)
            return true;
        if (x->bounds != y->bounds)
            return false;
        for (size_t i = 0; i < x->items.size(); ++i)
            if (!x->items[i].identical(y->items[i]))
                return false;
        return true;
    }
    default: return false;
    }
}
