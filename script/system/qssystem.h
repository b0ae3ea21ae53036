#pragma once
// The system binding module every script receives first: the type names of the languages,
// True / False / nil / Null, the string and array index helpers, the exception variables
// and the VarType codes, and the function library. Each script makes the items of the
// names it uses, on their first lookup.
#include "script/items/qsitems.h"

class TqsSysFunctions : public TqsRTTIModule
{
public:
    explicit TqsSysFunctions(TqsScript *script);
    static TqsRTTIModule *Create(TqsScript *script) { return new TqsSysFunctions(script); }

    static inline const QString CatConv = QStringLiteral("ctConv");
    static inline const QString CatDate = QStringLiteral("ctDate");
    static inline const QString CatFormat = QStringLiteral("ctFormat");
    static inline const QString CatMath = QStringLiteral("ctMath");
    static inline const QString CatOther = QStringLiteral("ctOther");
    static inline const QString CatStr = QStringLiteral("ctString");

};
