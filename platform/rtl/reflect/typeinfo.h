#pragma once
// Run-time type descriptions of published properties.
//
// A TypeInfo is created once per type and shared: compare them by address. Predefined
// types come from the functions below; enumerations, sets and named ordinal types are
// interned by their name, so declaring "TkvlAlign" twice yields the same object (with the
// same identifiers, or an error). Class types belong to their ClassInfo (classinfo.h).
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace rtl {

class ClassInfo;

enum class TypeKind : uint8_t {
    Unknown,
    Integer,      // 32-bit signed; colours, cursors, character sets, ...
    Int64,
    Float,        // double ("Extended"); dates are floats named TDateTime
    String,
    Char,         // one UTF-16 code unit, read and written as its code
    Enumeration,  // identifiers with ordinals 0..n-1; Boolean is the enumeration False, True
    Set,          // bit mask over an enumeration: bit i holds ordinal i
    Class,        // an owned persistent object (font, frame, fill, ...), walked into by dotted names
    Component,    // a reference to a component, stored by name and resolved after loading
    StringList,   // a list of lines, stored as its whole text
    Variant,
    Method,       // host-program callbacks; never stored, never seen by scripts
};

class TypeInfo {
public:
    TypeKind kind() const { return FKind; }
    const QString &name() const { return FName; }

    bool isOrdinal() const
    {
        return FKind == TypeKind::Integer || FKind == TypeKind::Int64 || FKind == TypeKind::Char
            || FKind == TypeKind::Enumeration || FKind == TypeKind::Set;
    }
    bool isBoolean() const;  // the predefined Boolean enumeration
    bool isObject() const { return FKind == TypeKind::Class || FKind == TypeKind::Component; }
    // A script event of the report library: a string type named "Tkvl...Event" (ignoring
    // case, the first "event" ending the name), such as TkvlNotifyEvent.
    bool isScriptEvent() const;

    // Enumerations: identifiers in ordinal order.
    int enumCount() const { return int(FIdents.size()); }
    const QString &enumName(int ordinal) const;  // empty text when out of range
    int enumOrdinal(QStringView ident) const;    // case-insensitive; -1 when unknown

    // Sets: the element enumeration and the mask of all members.
    const TypeInfo *elementType() const { return FElement; }
    uint64_t setMask() const;

    // Class and component types.
    const ClassInfo *classInfo() const { return FClass; }

    // Text to ordinal for enumerations, sets, Booleans, characters and integers.
    // Enumerations take an identifier (case-insensitive) or a decimal ordinal in range;
    // Booleans also take any decimal integer (0 is False, anything else True); sets take a
    // decimal bit mask, masked to their members. Returns false on anything else.
    bool textToOrd(QStringView text, int64_t &out) const;
    // Ordinal to text: the identifier for enumerations, decimal for the rest.
    QString ordToText(int64_t value) const;

    // Set members as "[a,b]" (identifiers of the bits present, in ordinal order).
    QString setToString(uint64_t mask) const;

    TypeInfo(const TypeInfo &) = delete;
    TypeInfo &operator=(const TypeInfo &) = delete;

private:
    friend const TypeInfo *makeType(TypeKind, const QString &, std::vector<QString>, const TypeInfo *,
                                    const ClassInfo *);
    TypeInfo() = default;
    TypeKind FKind = TypeKind::Unknown;
    QString FName;
    std::vector<QString> FIdents;
    const TypeInfo *FElement = nullptr;
    const ClassInfo *FClass = nullptr;
};

// Creates a type that lives for the whole process (used by the functions below and by
// ClassInfo). Not interned: prefer the named constructors.
const TypeInfo *makeType(TypeKind kind, const QString &name, std::vector<QString> idents = {},
                         const TypeInfo *element = nullptr, const ClassInfo *cls = nullptr);

// Predefined types.
namespace types {
const TypeInfo *Integer();
const TypeInfo *Cardinal();   // Integer kind, unsigned meaning (still stored as 32 bits)
const TypeInfo *Int64();
const TypeInfo *Double();
const TypeInfo *Extended();
const TypeInfo *TDateTime();
const TypeInfo *String();
const TypeInfo *WideString();
const TypeInfo *Char();
const TypeInfo *Boolean();
const TypeInfo *Variant();
const TypeInfo *TColor();
const TypeInfo *TCursor();
const TypeInfo *TFontCharset();
const TypeInfo *TFontName();
const TypeInfo *TStrings();       // string list kind
const TypeInfo *TNotifyEvent();   // method kind
} // namespace types

// Interned named types: the first call makes the type, later calls with the same name
// return it. A second declaration that disagrees (other kind or identifiers) throws
// std::logic_error: two meanings for one type name are a programming error.
const TypeInfo *EnumType(const QString &name, std::initializer_list<const char *> idents);
const TypeInfo *EnumType(const QString &name, const std::vector<QString> &idents);
const TypeInfo *SetType(const QString &name, const TypeInfo *element);
// An ordinal, float, string or variant type under its own name, e.g.
// NamedType(TypeKind::Integer, "TkvlFrameWidth"). Script event properties are
// NamedType(TypeKind::String, "TkvlNotifyEvent").
const TypeInfo *NamedType(TypeKind kind, const QString &name);
// Method (host callback) type of that name.
const TypeInfo *MethodType(const QString &name);

// An interned named type, or nullptr.
const TypeInfo *FindType(QStringView name);

// Case-insensitive hash used by every name table of the registry (ASCII folding fast path).
uint32_t NameHash(QStringView name);
bool SameName(QStringView a, QStringView b);

} // namespace rtl
