#pragma once
// Run-time errors with the class names and messages scripts and reports expect to see
// (scripts read them through ExceptionClassName / ExceptionMessage).
#include <QByteArray>
#include <QString>
#include <exception>

// Base of every run-time error. className() is the name a script sees.
class Exception : public std::exception
{
public:
    explicit Exception(QString message) : m_message(std::move(message)) {}
    ~Exception() override = default;

    const QString &message() const { return m_message; }
    virtual const char *className() const { return "Exception"; }
    const char *what() const noexcept override;

private:
    QString m_message;
    mutable QByteArray m_what;
};

#define LIRRA_DECLARE_EXCEPTION(Name, Base)                                                  \
    class Name : public Base                                                                 \
    {                                                                                        \
    public:                                                                                  \
        using Base::Base;                                                                    \
        const char *className() const override { return #Name; }                            \
    };

// Text that does not convert, bad format strings and arguments.
LIRRA_DECLARE_EXCEPTION(EConvertError, Exception)

// Variant operations.
LIRRA_DECLARE_EXCEPTION(EVariantError, Exception)
LIRRA_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError)   // value of one kind cannot become another
LIRRA_DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError)  // operator not defined for the operands
LIRRA_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError)   // value out of the target type's range
LIRRA_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError)   // array index outside the bounds
LIRRA_DECLARE_EXCEPTION(EVariantArrayCreateError, EVariantError)
LIRRA_DECLARE_EXCEPTION(EVariantNotArrayError, EVariantError)
LIRRA_DECLARE_EXCEPTION(EVariantBadVarTypeError, EVariantError)
LIRRA_DECLARE_EXCEPTION(EVariantInvalidArgError, EVariantError)

// Floating-point arithmetic.
LIRRA_DECLARE_EXCEPTION(EMathError, Exception)
LIRRA_DECLARE_EXCEPTION(EInvalidOp, EMathError)
LIRRA_DECLARE_EXCEPTION(EZeroDivide, EMathError)
LIRRA_DECLARE_EXCEPTION(EOverflow, EMathError)

// Integer arithmetic.
LIRRA_DECLARE_EXCEPTION(EIntError, Exception)
LIRRA_DECLARE_EXCEPTION(EDivByZero, EIntError)
LIRRA_DECLARE_EXCEPTION(EIntOverflow, EIntError)
LIRRA_DECLARE_EXCEPTION(ERangeError, EIntError)

LIRRA_DECLARE_EXCEPTION(EInvalidCast, Exception)
LIRRA_DECLARE_EXCEPTION(EStringListError, Exception)

namespace rtl {

// The standard messages.
namespace msg {
inline constexpr const char *ZeroDivide = "Floating point division by zero";
inline constexpr const char *InvalidOp = "Invalid floating point operation";
inline constexpr const char *Overflow = "Floating point overflow";
inline constexpr const char *DivByZero = "Division by zero";
inline constexpr const char *IntOverflow = "Integer overflow";
inline constexpr const char *RangeError = "Range check error";
inline constexpr const char *InvalidVarOp = "Invalid variant operation";
inline constexpr const char *VarTypeCouldNotConvert = "Could not convert variant of type (%1) into type (%2)";
inline constexpr const char *VarTypeConvertOverflow = "Overflow while converting variant of type (%1) into type (%2)";
inline constexpr const char *VarArrayBounds = "Variant or safe array index out of bounds";
inline constexpr const char *VarArrayCreate = "Error creating variant or safe array";
inline constexpr const char *VarNotArray = "Variant is not an array";
inline constexpr const char *VarBadType = "Invalid variant type";
inline constexpr const char *InvalidInteger = "'%1' is not a valid integer value";
inline constexpr const char *InvalidFloat = "'%1' is not a valid floating point value";
inline constexpr const char *InvalidDate = "'%1' is not a valid date";
inline constexpr const char *InvalidTime = "'%1' is not a valid time";
inline constexpr const char *InvalidDateTime = "'%1' is not a valid date and time";
inline constexpr const char *InvalidBoolean = "'%1' is not a valid boolean value";
inline constexpr const char *DateEncodeError = "Invalid argument to date encode";
inline constexpr const char *TimeEncodeError = "Invalid argument to time encode";
inline constexpr const char *InvalidFormat = "Format '%1' invalid or incompatible with argument";
inline constexpr const char *ArgumentMissing = "No argument for format '%1'";
inline constexpr const char *ListIndexError = "List index out of bounds (%1)";
inline constexpr const char *DuplicateString = "String list does not allow duplicates";
inline constexpr const char *SortedListError = "Operation not allowed on sorted list";
} // namespace msg

// Throws E with the message made of tmpl and its %1, %2 arguments.
template<class E>
[[noreturn]] void raise(const char *tmpl)
{
    throw E(QString::fromLatin1(tmpl));
}
template<class E>
[[noreturn]] void raise(const char *tmpl, const QString &a1)
{
    throw E(QString::fromLatin1(tmpl).arg(a1));
}
template<class E>
[[noreturn]] void raise(const char *tmpl, const QString &a1, const QString &a2)
{
    throw E(QString::fromLatin1(tmpl).arg(a1, a2));
}

} // namespace rtl
