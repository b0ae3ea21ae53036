#include "script/system/qssystem.h"

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
    // The function library proper is registered by the system-function unit; the engine
    // itself needs only what its own tests and Evaluate rely on.
    TqsScript *s = FScript;
    s->AddMethod(QStringLiteral("function IntToStr(i: Integer): String"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) { return Variant(QString::number(h.GetVParam(0).toInt64())); },
                 CatConv);
    s->AddMethod(QStringLiteral("function VarToStr(v: Variant): String"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) { return Variant(h.GetVParam(0).toString()); }, CatConv);
    s->AddMethod(QStringLiteral("function Length(s: Variant): Integer"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) {
                     const Variant v = h.GetVParam(0);
                     if (v.isArray())
                         return Variant(v.arrayHighBound() - v.arrayLowBound() + 1);
                     return Variant(int(v.toString().size()));
                 },
                 CatStr);
    s->AddMethod(QStringLiteral("procedure Inc(var i: Integer; incr: Integer = 1)"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) {
                     h.SetVParam(0, Variant::add(h.GetVParam(0), h.GetVParam(1)));
                     return Variant::null();
                 },
                 CatOther);
    s->AddMethod(QStringLiteral("procedure Dec(var i: Integer; decr: Integer = 1)"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) {
                     h.SetVParam(0, Variant::sub(h.GetVParam(0), h.GetVParam(1)));
                     return Variant::null();
                 },
                 CatOther);
    s->AddMethod(QStringLiteral("function VarArrayCreate(Bounds: Array; Typ: Integer): Variant"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) {
                     const Variant b = h.GetVParam(0);
                     if (!b.isArray())
                         throw EqsRunError(QStringLiteral("Array bounds expected"));
                     const int n = b.arrayHighBound() - b.arrayLowBound() + 1;
                     if (n < 2 || n % 2 || n / 2 > qsMaxArrayDims)
                         throw EqsRunError(QStringLiteral("Too many array dimensions"));
                     std::vector<std::pair<int, int>> bounds;
                     qint64 elements = 1;
                     for (int i = 0; i < n; i += 2) {
                         const int lo = b.arrayGet(b.arrayLowBound() + i).toInt(), hi = b.arrayGet(b.arrayLowBound() + i + 1).toInt();
                         elements *= std::max<qint64>(0, qint64(hi) - lo + 1);
                         if (elements > qsMaxArrayElements)
                             throw EqsRunError(QStringLiteral("Array too large"));
                         bounds.push_back({lo, hi});
                     }
                     return Variant::createArray(std::span<const std::pair<int, int>>(bounds),
                                                 VarType(h.GetVParam(1).toInt() & varTypeMask));
                 },
                 CatOther);
    s->AddMethod(QStringLiteral("procedure RaiseException(Param: String)"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) -> Variant { throw Exception(h.GetVParam(0).toString()); },
                 CatOther);
}
