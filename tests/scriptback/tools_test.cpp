// Script types and their compatibility, literals, declarations of host functions.
#include "backtest.h"
#include "script/tools/qstools.h"

#include <gtest/gtest.h>

TEST(QsTools, TypeCompatibilityMatrix)
{
    // Rows: expected type; columns: given type, in TqsVarType order:
    // Int Bool Float Char String Class Array Variant Enum Constructor Int64
    const char *const matrix[11] = {
        "10100001101", // Int
        "01000001000", // Bool
        "10100001000", // Float (not Int64)
        "00011001000", // Char
        "00011001000", // String
        "00000101000", // Class (same class)
        "00000011000", // Array
        "11111111111", // Variant
        "10000001101", // Enum (same enumeration)
        "00000000000", // Constructor
        "10100001101", // Int64
    };
    for (int e = 0; e < 11; ++e)
        for (int g = 0; g < 11; ++g) {
            const TqsTypeRec expected{TqsVarType(e), QStringLiteral("TSame")};
            const TqsTypeRec given{TqsVarType(g), QStringLiteral("TSame")};
            EXPECT_EQ(TypesCompatible(expected, given, nullptr), matrix[e][g] == '1') << "expected " << e << " given " << g;
        }
    // Enumerations and classes of other names do not fit.
    EXPECT_FALSE(TypesCompatible({qvtEnum, QStringLiteral("TA")}, {qvtEnum, QStringLiteral("TB")}, nullptr));
    EXPECT_TRUE(TypesCompatible({qvtEnum, QStringLiteral("TA")}, {qvtEnum, QStringLiteral("ta")}, nullptr));
    EXPECT_FALSE(TypesCompatible({qvtClass, QStringLiteral("TA")}, {qvtClass, QStringLiteral("TB")}, nullptr));
    // A float is never assigned to an integer although the types are compatible.
    EXPECT_TRUE(TypesCompatible({qvtInt, {}}, {qvtFloat, {}}, nullptr));
    EXPECT_FALSE(AssignCompatible({qvtInt, {}}, {qvtFloat, {}}, nullptr));
    EXPECT_FALSE(AssignCompatible({qvtInt64, {}}, {qvtFloat, {}}, nullptr));
}

TEST(QsTools, LiteralTexts)
{
    EXPECT_TRUE(ParserStringToVariant(QString()).isNull());
    EXPECT_TRUE(ParserStringToVariant(QStringLiteral("3000000000")).identical(Variant(qint64(3000000000LL))));
    EXPECT_TRUE(ParserStringToVariant(QStringLiteral("12")).identical(Variant(12)));
    EXPECT_TRUE(ParserStringToVariant(QStringLiteral("$1F")).identical(Variant(31)));
    EXPECT_TRUE(ParserStringToVariant(QStringLiteral("'it''s'")).identical(Variant(QStringLiteral("it''s"))));
    EXPECT_TRUE(ParserStringToVariant(QStringLiteral("1.5")).identical(Variant(1.5)));
    EXPECT_THROW(ParserStringToVariant(QStringLiteral("1.5.x")), EConvertError);
}

TEST(QsTools, PositionTexts)
{
    EXPECT_EQ(qsPosToPoint(QStringLiteral("12:5")), QPoint(5, 12));
    EXPECT_EQ(qsPosToPoint(QString()), QPoint(0, 0));
    EXPECT_THROW(qsPosToPoint(QStringLiteral("12")), EConvertError);
    EXPECT_THROW(qsPosToPoint(QStringLiteral("a:b")), EConvertError);
}

TEST(QsTools, HostFunctionDeclarations)
{
    backtest::ensureLanguages();
    TqsScript script;
    script.AddRTTI();
    struct Param
    {
        const char *name;
        TqsVarType typ;
        bool isVar, optional;
        Variant def;
    };
    struct Case
    {
        const char *syntax, *name;
        TqsVarType result;
        bool macro;
        std::vector<Param> params;
    } cases[] = {
        {"function Copy(s: String; from, count: Integer): String", "Copy", qvtString, false,
         {{"s", qvtString, false, false, {}}, {"from", qvtInt, false, false, {}}, {"count", qvtInt, false, false, {}}}},
        {"procedure Inc(var i: Integer; incr: Integer = 1)", "Inc", qvtClass, false,
         {{"i", qvtInt, true, false, {}}, {"incr", qvtInt, false, true, Variant(1)}}},
        {"macrofunction SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", "SUM", qvtVariant, true,
         {{"Expr", qvtVariant, false, false, {}}, {"Band", qvtVariant, false, true, Variant(0)},
          {"Flags", qvtInt, false, true, Variant(0)}}},
        {"function BoolToStr(B: Boolean): string;", "BoolToStr", qvtString, false, {{"B", qvtBool, false, false, {}}}},
        {"function F(a, b: Integer = 5; c: Boolean = True; d: Integer = -2; e: String = 'x'): Integer", "F", qvtInt, false,
         {{"a", qvtInt, false, false, {}}, {"b", qvtInt, false, true, Variant(5)}, {"c", qvtBool, false, true, Variant(true)},
          {"d", qvtInt, false, true, Variant(-2)}, {"e", qvtString, false, true, Variant(QStringLiteral("x"))}}},
    };
    for (const Case &c : cases) {
        std::unique_ptr<TqsCustomVariable> item(ParseMethodSyntax(QString::fromLatin1(c.syntax), &script));
        EXPECT_EQ(item->FName, QString::fromLatin1(c.name)) << c.syntax;
        EXPECT_EQ(item->FTyp, c.result) << c.syntax;
        EXPECT_EQ(item->FIsMacro, c.macro) << c.syntax;
        ASSERT_EQ(item->ParamCount(), int(c.params.size())) << c.syntax;
        for (int i = 0; i < item->ParamCount(); ++i) {
            const Param &p = c.params[size_t(i)];
            TqsParamItem *got = item->Params(i);
            EXPECT_EQ(got->FName, QString::fromLatin1(p.name)) << c.syntax;
            EXPECT_EQ(got->FTyp, p.typ) << c.syntax << " " << p.name;
            EXPECT_EQ(got->FIsVarParam, p.isVar) << c.syntax << " " << p.name;
            EXPECT_EQ(got->FIsOptional, p.optional) << c.syntax << " " << p.name;
            if (p.optional) {
                EXPECT_TRUE(got->FDefValue.identical(p.def)) << c.syntax << " " << p.name;
            }
        }
    }
}
