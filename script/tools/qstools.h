#pragma once
// Shared services of the script engine: script types and their compatibility, literal
// texts read into values, the parser of host-function declarations, position texts.
#include "platform/rtl/variant.h"

#include <QPoint>
#include <QString>

class TqsScript;
class TqsCustomVariable;

enum TqsVarType : unsigned char {
    qvtInt,
    qvtBool,
    qvtFloat,
    qvtChar,
    qvtString,
    qvtClass,
    qvtArray,
    qvtVariant,
    qvtEnum,
    qvtConstructor,
    qvtInt64,
};

struct TqsTypeRec
{
    TqsVarType Typ = qvtVariant;
    QString TypeName;
};

// The type of the item that script->Find(typeName) gives; qvtClass when none.
TqsVarType StrToVarType(const QString &typeName, const TqsScript *script);
// Both registered classes, the second one the first or a descendant of it.
bool ClassesCompatible(const QString &class1, const QString &class2, const TqsScript *script);
// Whether a value of type t2 may stand where t1 is expected.
bool TypesCompatible(const TqsTypeRec &t1, const TqsTypeRec &t2, const TqsScript *script);
// TypesCompatible, except that a float is never assignable to an integer.
bool AssignCompatible(const TqsTypeRec &left, const TqsTypeRec &right, const TqsScript *script);
// Name of a script type as declarations write it ("Integer", "Extended", ..., the type
// name for classes and enumerations).
QString qsFullTypeName(TqsVarType typ, const QString &typeName);

// The value of a literal as the tokenizer returns it: '' quoted text, an integer ($ hex
// too; beyond 32 bits an Int64), else a float with "." as decimal point. Raises
// EConvertError for anything else; empty text gives Null.
Variant ParserStringToVariant(const QString &s);

// A host function declared as "[macro]function Name(a: T; var b: T = 1): R". Never raises:
// text that does not fit ends the parameter list. The caller owns the result.
TqsCustomVariable *ParseMethodSyntax(const QString &syntax, const TqsScript *script);

// "line:col" as X = column, Y = line; empty text gives (0, 0). Raises EConvertError for
// a text without ":" or with non-numeric parts.
QPoint qsPosToPoint(const QString &pos);
