#pragma once
// Variant: the dynamically typed value scripts, expressions and record sources exchange.
//
// Rules of conversion, arithmetic and comparison are listed in doc/variant.md.
// Layout: 8 bytes of payload + the type code; scalars never allocate. Strings, arrays and
// dispatch objects are reference counted; arrays have value semantics (copy on write).
//
// Objects travel as a plain Integer (varInteger) holding a handle from rtl::ObjectHandles
// (see objecthandles.h: rtl::objectToVariant / rtl::variantToObject).
#include "platform/rtl/exceptions.h"
#include "platform/rtl/numeric.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <utility>

// Type codes as the VarType script function returns them.
enum VarType : uint16_t {
    varEmpty = 0x0000,
    varNull = 0x0001,
    varSmallint = 0x0002,
    varInteger = 0x0003,
    varSingle = 0x0004,
    varDouble = 0x0005,
    varCurrency = 0x0006,
    varDate = 0x0007,
    varOleStr = 0x0008,
    varDispatch = 0x0009,
    varError = 0x000A,
    varBoolean = 0x000B,
    varVariant = 0x000C,
    varUnknown = 0x000D,
    varShortInt = 0x0010,
    varByte = 0x0011,
    varWord = 0x0012,
    varLongWord = 0x0013,
    varInt64 = 0x0014,
    varUInt64 = 0x0015,
    varStrArg = 0x0048,
    varString = 0x0100,
    varAny = 0x0101,
    varUString = 0x0102, // the code every string value reports
    varTypeMask = 0x0FFF,
    varArray = 0x2000,
    varByRef = 0x4000,
};

class Variant;

namespace rtl {

// Automation object reachable through a varDispatch value. Reference counted; the last
// Variant holding it deletes it. Members are late bound: called by name.
class DispatchObject
{
public:
    // How a member is reached (may be combined: Method | PropertyGet).
    enum Flags { Method = 1, PropertyGet = 2, PropertyPut = 4, PropertyPutRef = 8 };

    virtual ~DispatchObject() = default;
    // Name of the object's class as scripts see it.
    virtual QString className() const = 0;
    // Calls member `name` with args in the order written (for a put, the value comes last).
    // Returns the result (Empty when there is none); failures raise an Exception.
    virtual Variant invoke(const QString &name, int flags, std::span<const Variant> args) = 0;

    void addRef() const { ++m_refs; }
    void release() const
    {
        if (--m_refs == 0)
            delete this;
    }

private:
    mutable std::atomic<int> m_refs{0};
};

struct VariantStringRep;
struct VariantArrayRep;

} // namespace rtl

class Variant
{
public:
    // Empty (Unassigned).
    Variant() noexcept { m_u.i64 = 0; }
    Variant(bool v) noexcept : m_type(varBoolean) { m_u.i64 = 0; m_u.b = v; }
    Variant(int v) noexcept : m_type(varInteger) { m_u.i64 = v; }
    Variant(unsigned v) noexcept : m_type(varLongWord) { m_u.i64 = v; }
    // Every 64-bit integer type (qint64, int64_t, qsizetype) gives Int64.
    Variant(long v) noexcept : m_type(varInt64) { m_u.i64 = v; }
    Variant(long long v) noexcept : m_type(varInt64) { m_u.i64 = v; }
    Variant(double v) noexcept : m_type(varDouble) { m_u.d = v; }
    Variant(rtl::Currency v) noexcept : m_type(varCurrency) { m_u.i64 = v.raw; }
    Variant(const QString &s);
    Variant(QString &&s);
    Variant(const char *utf8);
    Variant(const char16_t *s);
    Variant(QLatin1StringView s);
    Variant(QChar c); // one-character String
    // A char would silently become an Integer: say Variant(QChar(c)) or Variant(int(c)).
    Variant(char) = delete;
    // Implicit conversions from pointers other than text would end up as bool: refuse them.
    Variant(const void *) = delete;

    Variant(const Variant &o) noexcept : m_u(o.m_u), m_type(o.m_type)
    {
        if (o.counted())
            retain();
    }
    Variant(Variant &&o) noexcept : m_u(o.m_u), m_type(o.m_type)
    {
        o.m_type = varEmpty;
        o.m_u.i64 = 0;
    }
    Variant &operator=(const Variant &o) noexcept;
    Variant &operator=(Variant &&o) noexcept;
    ~Variant()
    {
        if (counted())
            release();
    }

    static Variant null() noexcept;
    // Integer of a smaller or unsigned kind (varSmallint, varShortInt, varByte, varWord,
    // varLongWord), an Integer or an Int64; the value must fit the kind (else EVariantOverflowError).
    static Variant fromInt(int64_t v, VarType kind);
    static Variant fromSingle(float v) noexcept;
    static Variant fromDate(double days) noexcept; // days since 1899-12-30, time as fraction
    static Variant fromCurrency(double v);          // rounded to 4 decimals
    static Variant fromDispatch(rtl::DispatchObject *obj) noexcept; // nullptr gives Empty

    // Kind
    VarType type() const noexcept { return VarType(m_type); }
    uint16_t varType() const noexcept { return m_type; } // with varArray for arrays
    bool isEmpty() const noexcept { return m_type == varEmpty; }
    // The payload of a value already known to be varInteger (interpreter fast paths).
    int32_t integerPayload() const noexcept { return int32_t(m_u.i64); }
    bool isNull() const noexcept { return m_type == varNull; }
    bool isEmptyOrNull() const noexcept { return m_type <= varNull; }
    bool isArray() const noexcept { return (m_type & varArray) != 0; }
    bool isString() const noexcept { return m_type == varUString; }
    bool isBoolean() const noexcept { return m_type == varBoolean; }
    bool isOrdinal() const noexcept;  // an integer kind (not Boolean)
    bool isFloat() const noexcept;    // Single, Double, Currency
    bool isNumeric() const noexcept;  // ordinal or float (not Date, not Boolean)
    bool isDispatch() const noexcept { return m_type == varDispatch; }
    // Name of a type code as error messages write it ("Integer", "UnicodeString", "Array Variant").
    static QString typeName(uint16_t varType);

    // Conversions (the casts scripts apply). Null raises EVariantTypeCastError for numbers, Booleans and
    // dates; text that is no number raises EVariantTypeCastError; out of range raises
    // EVariantOverflowError.
    int32_t toInt() const;
    int64_t toInt64() const;
    double toDouble() const;
    rtl::Currency toCurrency() const;
    double toDate() const;
    bool toBool() const;
    // Text of the value; Empty and Null give "" (arrays and dispatch raise).
    QString toString() const;
    rtl::DispatchObject *toDispatch() const; // nullptr unless varDispatch

    // Value converted to the given kind (code without varArray); Null stays Null.
    Variant castTo(VarType kind) const;

    // Variant arrays. Bounds are (low, high) pairs, one per dimension; elemType is the kind of
    // every element (varVariant: any kind). Elements start Empty (0 / "" for typed arrays).
    static Variant createArray(std::initializer_list<std::pair<int, int>> bounds, VarType elemType = varVariant);
    static Variant createArray(std::span<const std::pair<int, int>> bounds, VarType elemType = varVariant);
    // One-dimensional varVariant array 0..n-1 of the given values.
    static Variant arrayOf(std::initializer_list<Variant> items);
    static Variant arrayOf(std::span<const Variant> items);
    int arrayDimCount() const;              // 0 when not an array
    int arrayLowBound(int dim = 1) const;   // dims count from 1; EVariantNotArrayError / EVariantBadIndexError
    int arrayHighBound(int dim = 1) const;
    VarType arrayElemType() const;
    Variant arrayGet(std::span<const int> indices) const; // EVariantBadIndexError outside the bounds
    Variant arrayGet(int index) const { return arrayGet(std::span<const int>(&index, 1)); }
    void arrayPut(std::span<const int> indices, const Variant &v); // converts to the element kind
    void arrayPut(int index, const Variant &v) { arrayPut(std::span<const int>(&index, 1), v); }
    // New high bound of the last dimension, keeping the elements that remain.
    void arrayRedim(int highBound);

    // Arithmetic and logic. Null in, Null out; see doc/variant.md for the result kinds.
    static Variant add(const Variant &a, const Variant &b);
    static Variant sub(const Variant &a, const Variant &b);
    static Variant mul(const Variant &a, const Variant &b);
    static Variant divide(const Variant &a, const Variant &b); // '/'
    static Variant intDiv(const Variant &a, const Variant &b); // div
    static Variant mod(const Variant &a, const Variant &b);
    static Variant bitAnd(const Variant &a, const Variant &b); // and
    static Variant bitOr(const Variant &a, const Variant &b);  // or
    static Variant bitXor(const Variant &a, const Variant &b); // xor
    static Variant shl(const Variant &a, const Variant &b);
    static Variant shr(const Variant &a, const Variant &b);
    static Variant negate(const Variant &a);
    static Variant bitNot(const Variant &a); // not
    // Both sides as text, joined (Null counts as "").
    static Variant concat(const Variant &a, const Variant &b);

    // Comparison; always a plain answer, never Null: Null equals only Null and is below every
    // other value. Values that cannot be compared raise EVariantInvalidOpError or a cast error.
    enum class Order { Less = -1, Equal = 0, Greater = 1 };
    static Order compare(const Variant &a, const Variant &b);
    static bool equals(const Variant &a, const Variant &b);

    // Same kind and same value (arrays element by element); never raises. For tests and caches.
    bool identical(const Variant &o) const;

    void clear() noexcept; // back to Empty
    void swap(Variant &o) noexcept;

private:
    friend struct rtl::VariantArrayRep;
    // Strings, arrays and dispatch objects carry a reference count.
    bool counted() const noexcept { return m_type >= varUString || m_type == varDispatch; }
    static Variant addSlow(const Variant &a, const Variant &b);
    static Variant subSlow(const Variant &a, const Variant &b);
    static Variant mulSlow(const Variant &a, const Variant &b);
    static Order compareSlow(const Variant &a, const Variant &b);
    void release() noexcept;
    void retain() const noexcept;
    const QString &str() const noexcept;
    rtl::VariantArrayRep *arr() const noexcept { return m_u.arr; }
    rtl::VariantArrayRep *detachArray();
    [[noreturn]] void castError(uint16_t target) const;

    union {
        bool b;
        int64_t i64; // every integer kind, sign-extended
        double d;    // Single, Double, Date
        rtl::VariantStringRep *s;
        rtl::VariantArrayRep *arr;
        rtl::DispatchObject *disp;
    } m_u;
    uint16_t m_type = varEmpty;
};

static_assert(sizeof(Variant) == 16, "Variant must stay small");

// Fast paths: two Integers (results beyond 32 bits become Int64) and two Doubles whose result is
// finite; everything else goes through the general rules.
inline Variant Variant::add(const Variant &a, const Variant &b)
{
    if (a.m_type == varInteger && b.m_type == varInteger) {
        const int64_t r = a.m_u.i64 + b.m_u.i64;
        if (r == int32_t(r))
            return Variant(int(r));
    } else if (a.m_type == varDouble && b.m_type == varDouble) {
        const double r = a.m_u.d + b.m_u.d;
        if (r - r == 0.0) // finite
            return Variant(r);
    }
    return addSlow(a, b);
}

inline Variant Variant::sub(const Variant &a, const Variant &b)
{
    if (a.m_type == varInteger && b.m_type == varInteger) {
        const int64_t r = a.m_u.i64 - b.m_u.i64;
        if (r == int32_t(r))
            return Variant(int(r));
    } else if (a.m_type == varDouble && b.m_type == varDouble) {
        const double r = a.m_u.d - b.m_u.d;
        if (r - r == 0.0)
            return Variant(r);
    }
    return subSlow(a, b);
}

inline Variant Variant::mul(const Variant &a, const Variant &b)
{
    if (a.m_type == varInteger && b.m_type == varInteger) {
        const int64_t r = a.m_u.i64 * b.m_u.i64;
        if (r == int32_t(r))
            return Variant(int(r));
    } else if (a.m_type == varDouble && b.m_type == varDouble) {
        const double r = a.m_u.d * b.m_u.d;
        if (r - r == 0.0)
            return Variant(r);
    }
    return mulSlow(a, b);
}

inline Variant::Order Variant::compare(const Variant &a, const Variant &b)
{
    if (a.m_type == varInteger && b.m_type == varInteger)
        return a.m_u.i64 < b.m_u.i64 ? Order::Less : (a.m_u.i64 > b.m_u.i64 ? Order::Greater : Order::Equal);
    return compareSlow(a, b);
}

inline Variant operator+(const Variant &a, const Variant &b) { return Variant::add(a, b); }
inline Variant operator-(const Variant &a, const Variant &b) { return Variant::sub(a, b); }
inline Variant operator*(const Variant &a, const Variant &b) { return Variant::mul(a, b); }
inline Variant operator/(const Variant &a, const Variant &b) { return Variant::divide(a, b); }
inline Variant operator-(const Variant &a) { return Variant::negate(a); }
inline bool operator==(const Variant &a, const Variant &b) { return Variant::equals(a, b); }
inline bool operator!=(const Variant &a, const Variant &b) { return !Variant::equals(a, b); }
inline bool operator<(const Variant &a, const Variant &b) { return Variant::compare(a, b) == Variant::Order::Less; }
inline bool operator>(const Variant &a, const Variant &b) { return Variant::compare(a, b) == Variant::Order::Greater; }
inline bool operator<=(const Variant &a, const Variant &b) { return Variant::compare(a, b) != Variant::Order::Greater; }
inline bool operator>=(const Variant &a, const Variant &b) { return Variant::compare(a, b) != Variant::Order::Less; }

namespace rtl {
// VarToStr: text of any value, Null gives "".
inline QString VarToStr(const Variant &v) { return v.toString(); }
inline bool VarIsNull(const Variant &v) { return v.isNull(); }
inline uint16_t VarTypeOf(const Variant &v) { return v.varType(); }
} // namespace rtl
