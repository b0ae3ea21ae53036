#include "script/system/qssystem.h"

#include "script/system/qssysregister.h"

std::vector<TqsRTTIModuleClass> &qsRTTIModules()
{
    static std::vector<TqsRTTIModuleClass> modules{&TqsSysFunctions::Create};
    return modules;
}

TqsSysFunctions::TqsSysFunctions(TqsScript *script) : TqsRTTIModule(script)
{
    AddTypes();
    AddConstants();
    AddFunctions();
}

void TqsSysFunctions::AddTypes()
{
    static const struct
    {
        const char *name;
        TqsVarType typ;
    } types[] = {
        {"Byte", qvtInt},       {"Word", qvtInt},        {"Integer", qvtInt},       {"Int64", qvtInt64},
        {"Longint", qvtInt},    {"Cardinal", qvtInt},    {"TColor", qvtInt},        {"TAlphaColor", qvtInt},
        {"Boolean", qvtBool},   {"Real", qvtFloat},      {"Single", qvtFloat},      {"Double", qvtFloat},
        {"Extended", qvtFloat}, {"Currency", qvtFloat},  {"TDate", qvtFloat},       {"TTime", qvtFloat},
        {"TDateTime", qvtFloat}, {"Char", qvtChar},      {"String", qvtString},     {"Variant", qvtVariant},
        {"Pointer", qvtVariant}, {"Array", qvtArray},    {"Constructor", qvtConstructor},
    };
    for (const auto &t : types)
        FScript->AddType(QLatin1String(t.name), t.typ);
}

void TqsSysFunctions::AddConstants()
{
    TqsScript *s = FScript;
    s->AddConst(QStringLiteral("True"), QStringLiteral("Boolean"), Variant(true));
    s->AddConst(QStringLiteral("False"), QStringLiteral("Boolean"), Variant(false));
    s->AddConst(QStringLiteral("nil"), QStringLiteral("Variant"), Variant(0));
    s->AddConst(QStringLiteral("Null"), QStringLiteral("Variant"), Variant::null());
    s->Add(QStringLiteral("__StringHelper"), new TqsStringHelper);
    auto *arrays = new TqsArrayHelper(-1);
    arrays->SetName(QStringLiteral("__ArrayHelper"));
    arrays->FTyp = qvtVariant;
    s->Add(QStringLiteral("__ArrayHelper"), arrays);
    s->AddVariable(QStringLiteral("ExceptionClassName"), QStringLiteral("String"), Variant(QString()));
    s->AddVariable(QStringLiteral("ExceptionMessage"), QStringLiteral("String"), Variant(QString()));
    static const struct
    {
        const char *name;
        int code;
    } codes[] = {
        {"varEmpty", 0},      {"varNull", 1},      {"varSmallint", 2}, {"varInteger", 3}, {"varSingle", 4},
        {"varDouble", 5},     {"varCurrency", 6},  {"varDate", 7},     {"varOleStr", 8},  {"varDispatch", 9},
        {"varError", 10},     {"varBoolean", 11},  {"varVariant", 12}, {"varUnknown", 13}, {"varShortInt", 16},
        {"varByte", 17},      {"varWord", 18},     {"varLongWord", 19}, {"varInt64", 20}, {"varStrArg", 72},
        {"varString", 256},   {"varAny", 257},     {"varTypeMask", 4095}, {"varArray", 8192}, {"varByRef", 16384},
    };
    for (const auto &c : codes)
        s->AddConst(QLatin1String(c.name), QStringLiteral("Integer"), Variant(c.code));
}

void TqsSysFunctions::AddFunctions()
{
    qsAddSysFunctions(FScript);
}
