#include "script/system/qssystem.h"

#include "script/system/qssysfuncs.h"
#include "script/system/qssysregister.h"

#include <algorithm>
#include <iterator>

std::vector<TqsRTTIModuleClass> &qsRTTIModules()
{
    static std::vector<TqsRTTIModuleClass> modules{&TqsSysFunctions::Create};
    return modules;
}

namespace {

const struct
{
    const char *name;
    TqsVarType typ;
} Types[] = {
    {"Byte", qvtInt},       {"Word", qvtInt},        {"Integer", qvtInt},       {"Int64", qvtInt64},
    {"Longint", qvtInt},    {"Cardinal", qvtInt},    {"TColor", qvtInt},        {"TAlphaColor", qvtInt},
    {"Boolean", qvtBool},   {"Real", qvtFloat},      {"Single", qvtFloat},      {"Double", qvtFloat},
    {"Extended", qvtFloat}, {"Currency", qvtFloat},  {"TDate", qvtFloat},       {"TTime", qvtFloat},
    {"TDateTime", qvtFloat}, {"Char", qvtChar},      {"String", qvtString},     {"Variant", qvtVariant},
    {"Pointer", qvtVariant}, {"Array", qvtArray},    {"Constructor", qvtConstructor},
};

const struct
{
    const char *name;
    int code;
} VarCodes[] = {
    {"varEmpty", 0},      {"varNull", 1},      {"varSmallint", 2}, {"varInteger", 3}, {"varSingle", 4},
    {"varDouble", 5},     {"varCurrency", 6},  {"varDate", 7},     {"varOleStr", 8},  {"varDispatch", 9},
    {"varError", 10},     {"varBoolean", 11},  {"varVariant", 12}, {"varUnknown", 13}, {"varShortInt", 16},
    {"varByte", 17},      {"varWord", 18},     {"varLongWord", 19}, {"varInt64", 20}, {"varStrArg", 72},
    {"varString", 256},   {"varAny", 257},     {"varTypeMask", 4095}, {"varArray", 8192}, {"varByRef", 16384},
};

// The names that are neither types, VarType codes nor functions.
const char *const Others[] = {"True", "False", "nil", "Null", "__StringHelper", "__ArrayHelper",
                              "ExceptionClassName", "ExceptionMessage"};

// Every name of the module, sorted for lookup; each script makes the items it uses.
class SystemNames final : public TqsLazyNames
{
public:
    SystemNames()
    {
        for (int i = 0; i < int(std::size(Types)); ++i)
            FNames.push_back({QLatin1StringView(Types[i].name), kType, i});
        for (int i = 0; i < int(std::size(Others)); ++i)
            FNames.push_back({QLatin1StringView(Others[i]), kOther, i});
        for (int i = 0; i < int(std::size(VarCodes)); ++i)
            FNames.push_back({QLatin1StringView(VarCodes[i].name), kCode, i});
        const auto functions = qsSysFunctionTable();
        for (int i = 0; i < int(functions.size()); ++i)
            FNames.push_back({QLatin1StringView(functions[size_t(i)].name), kFunction, i});
        std::sort(FNames.begin(), FNames.end(),
                  [](const Name &a, const Name &b) { return a.name.compare(b.name, Qt::CaseInsensitive) < 0; });
    }

    int Count() const override { return int(FNames.size()); }

    int IndexOf(QStringView name) const override
    {
        const auto it = std::lower_bound(FNames.begin(), FNames.end(), name, [](const Name &n, QStringView key) {
            return QtPrivate::compareStrings(n.name, key, Qt::CaseInsensitive) < 0;
        });
        if (it == FNames.end() || QtPrivate::compareStrings(it->name, name, Qt::CaseInsensitive) != 0)
            return -1;
        return int(it - FNames.begin());
    }

    void Make(TqsScript &s, int index) const override
    {
        const Name &n = FNames[size_t(index)];
        switch (n.kind) {
        case kType: s.AddType(QLatin1String(Types[n.index].name), Types[n.index].typ); break;
        case kCode: s.AddConst(QLatin1String(VarCodes[n.index].name), QStringLiteral("Integer"), Variant(VarCodes[n.index].code)); break;
        case kFunction: qsAddSysFunction(&s, qsSysFunctionTable()[size_t(n.index)]); break;
        case kOther: MakeOther(s, n.index); break;
        }
    }

private:
    enum Kind { kType, kOther, kCode, kFunction };
    struct Name
    {
        QLatin1StringView name;
        Kind kind;
        int index;
    };
    std::vector<Name> FNames;

    static void MakeOther(TqsScript &s, int index)
    {
        switch (index) {
        case 0: s.AddConst(QStringLiteral("True"), QStringLiteral("Boolean"), Variant(true)); break;
        case 1: s.AddConst(QStringLiteral("False"), QStringLiteral("Boolean"), Variant(false)); break;
        case 2: s.AddConst(QStringLiteral("nil"), QStringLiteral("Variant"), Variant(0)); break;
        case 3: s.AddConst(QStringLiteral("Null"), QStringLiteral("Variant"), Variant::null()); break;
        case 4: s.Add(QStringLiteral("__StringHelper"), new TqsStringHelper); break;
        case 5: {
            auto *arrays = new TqsArrayHelper(-1);
            arrays->SetName(QStringLiteral("__ArrayHelper"));
            arrays->FTyp = qvtVariant;
            s.Add(QStringLiteral("__ArrayHelper"), arrays);
            break;
        }
        case 6: s.AddVariable(QStringLiteral("ExceptionClassName"), QStringLiteral("String"), Variant(QString())); break;
        case 7: s.AddVariable(QStringLiteral("ExceptionMessage"), QStringLiteral("String"), Variant(QString())); break;
        }
    }
};

} // namespace

// The names are made as scripts use them: a script that calls two functions does not
// carry the other hundred and fifty items.
TqsSysFunctions::TqsSysFunctions(TqsScript *script) : TqsRTTIModule(script)
{
    static const SystemNames names; // read-only once made
    script->AddLazyNames(&names);
}
