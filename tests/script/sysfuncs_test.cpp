// The built-in function library called directly, under pinned Italian settings.
#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/fakes.h"
#include "script/system/qssysfuncs.h"

#include <gtest/gtest.h>

#include <QSet>
#include <cmath>
#include <limits>
#include <vector>

namespace {

struct Call
{
    const char *name;
    std::vector<Variant> args;
    Variant expected;        // kind and value both checked
    const char *errorClass;  // set when the call must raise
    const char *errorText;
};

Variant Ok(const Variant &v) { return v; }
double D(int y, int m, int d) { return rtl::EncodeDate(y, m, d); }
Variant Arr(std::initializer_list<Variant> items) { return Variant::arrayOf(items); }

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

Variant Call1(const char *name, std::vector<Variant> args)
{
    const TqsSysFunction *f = qsFindSysFunction(QString::fromLatin1(name));
    if (!f)
        throw std::logic_error(name);
    args.resize(6);
    return f->fn(args.data());
}

class SysFunctions : public ::testing::Test
{
protected:
    rtl::ScopedFormatSettings italian{TFormatSettings::italian()};
    ui::FakeServices fakes;
};

TEST_F(SysFunctions, TableOfCalls)
{
    const char *RE = "ERangeError";
    const char *RT = "Range check error";
    const char *IO = "EInvalidOp";
    const char *IT = "Invalid floating point operation";
    const std::vector<Call> calls = {
        {"INTTOSTR", {Variant(3000000000LL)}, Ok(Variant("3000000000")), nullptr, nullptr},
        {"INTTOSTR", {Variant(2.5)}, Ok(Variant("2")), nullptr, nullptr},
        {"FLOATTOSTR", {Variant(1.5)}, Ok(Variant("1,5")), nullptr, nullptr},
        {"FLOATTOSTR", {Variant(1.0 / 3)}, Ok(Variant("0,333333333333333")), nullptr, nullptr},
        {"DATETOSTR", {Variant::fromDate(D(2000, 3, 1))}, Ok(Variant("01/03/2000")), nullptr, nullptr},
        {"DATETOSTR", {Variant("01/03/2000")}, Ok(Variant("01/03/2000")), nullptr, nullptr},
        {"TIMETOSTR", {Variant(0.75)}, Ok(Variant("18:00:00")), nullptr, nullptr},
        {"DATETIMETOSTR", {Variant(D(2000, 3, 1) + 0.5)}, Ok(Variant("01/03/2000 12:00:00")), nullptr, nullptr},
        {"BOOLTOSTR", {Variant(true)}, Ok(Variant("-1")), nullptr, nullptr},
        {"BOOLTOSTR", {Variant(false)}, Ok(Variant("0")), nullptr, nullptr},
        {"VARTOSTR", {Variant::null()}, Ok(Variant("")), nullptr, nullptr},
        {"VARTOSTR", {Variant(2.5)}, Ok(Variant("2,5")), nullptr, nullptr},
        {"STRTOINT", {Variant(" 42")}, Ok(Variant(42)), nullptr, nullptr},
        {"STRTOINT", {Variant("12a")}, Variant(), "EConvertError", "'12a' is not a valid integer value"},
        {"STRTOINT64", {Variant("3000000000")}, Ok(Variant(3000000000LL)), nullptr, nullptr},
        {"STRTOFLOAT", {Variant("1,25")}, Ok(Variant(1.25)), nullptr, nullptr},
        {"STRTOFLOAT", {Variant("1.25")}, Variant(), "EConvertError", "'1.25' is not a valid floating point value"},
        {"STRTODATE", {Variant("01/03/2000")}, Ok(Variant::fromDate(D(2000, 3, 1))), nullptr, nullptr},
        {"STRTODATE", {Variant("31/02/2000")}, Variant(), "EConvertError", "'31/02/2000' is not a valid date"},
        {"STRTOTIME", {Variant("18:00")}, Ok(Variant::fromDate(0.75)), nullptr, nullptr},
        {"STRTODATETIME", {Variant("01/03/2000 12:00")}, Ok(Variant::fromDate(D(2000, 3, 1) + 0.5)), nullptr, nullptr},
        {"STRTOBOOL", {Variant("true")}, Ok(Variant(true)), nullptr, nullptr},
        {"STRTOBOOL", {Variant("0")}, Ok(Variant(false)), nullptr, nullptr},
        {"STRTOBOOL", {Variant("si")}, Variant(), "EConvertError", "'si' is not a valid boolean value"},
        {"FORMAT", {Variant("%d-%s-%.2f"), Arr({Variant(7), Variant("x"), Variant(1.5)})}, Ok(Variant("7-x-1,50")),
         nullptr, nullptr},
        {"FORMAT", {Variant("%d/%d"), Arr({Variant::null(), Variant()})}, Ok(Variant("0/0")), nullptr, nullptr},
        {"FORMAT", {Variant("%d"), Arr({Variant("x")})}, Variant(), "EConvertError",
         "Format '%d' invalid or incompatible with argument"},
        {"FORMATFLOAT", {Variant("0.00"), Variant("2,5")}, Ok(Variant("2,50")), nullptr, nullptr},
        {"FORMATFLOAT", {Variant("#,##0"), Variant(1234567)}, Ok(Variant("1.234.567")), nullptr, nullptr},
        {"FORMATDATETIME", {Variant("yyyy-mm-dd"), Variant::fromDate(D(2024, 2, 29))}, Ok(Variant("2024-02-29")),
         nullptr, nullptr},
        {"FORMATMASKTEXT", {Variant("!99/99/0000;1;_"), Variant("01032000")}, Ok(Variant("01/03/2000")), nullptr,
         nullptr},
        {"ENCODEDATE", {Variant(2000), Variant(3), Variant(1)}, Ok(Variant::fromDate(D(2000, 3, 1))), nullptr, nullptr},
        {"ENCODEDATE", {Variant(2001), Variant(2), Variant(29)}, Variant(), "EConvertError",
         "Invalid argument to date encode"},
        {"ENCODETIME", {Variant(18), Variant(0), Variant(0), Variant(0)}, Ok(Variant::fromDate(0.75)), nullptr, nullptr},
        {"ENCODETIME", {Variant(24), Variant(0), Variant(0), Variant(0)}, Variant(), "EConvertError",
         "Invalid argument to time encode"},
        {"DAYOFWEEK", {Variant::fromDate(D(2024, 3, 3))}, Ok(Variant(1)), nullptr, nullptr},
        {"ISLEAPYEAR", {Variant(1900)}, Ok(Variant(false)), nullptr, nullptr},
        {"ISLEAPYEAR", {Variant(2000)}, Ok(Variant(true)), nullptr, nullptr},
        {"DAYSINMONTH", {Variant(2024), Variant(2)}, Ok(Variant(29)), nullptr, nullptr},
        {"DAYSINMONTH", {Variant(1900), Variant(2)}, Ok(Variant(28)), nullptr, nullptr},
        {"DAYSINMONTH", {Variant(2024), Variant(13)}, Variant(), RE, RT},
        {"DAYSINMONTH", {Variant(2024), Variant(0)}, Variant(), RE, RT},
        {"LENGTH", {Variant(12345)}, Ok(Variant(5)), nullptr, nullptr},
        {"LENGTH", {Variant::createArray({{0, 9}})}, Ok(Variant(10)), nullptr, nullptr},
        {"LENGTH", {Variant::null()}, Ok(Variant(0)), nullptr, nullptr},
        {"COPY", {Variant("abcdef"), Variant(3), Variant(2)}, Ok(Variant("cd")), nullptr, nullptr},
        {"COPY", {Variant("abcdef"), Variant(5), Variant(100)}, Ok(Variant("ef")), nullptr, nullptr},
        {"COPY", {Variant("abcdef"), Variant(0), Variant(2)}, Ok(Variant("ab")), nullptr, nullptr},
        {"COPY", {Variant("abcdef"), Variant(7), Variant(1)}, Ok(Variant("")), nullptr, nullptr},
        {"COPY", {Variant("abcdef"), Variant(2), Variant(-1)}, Ok(Variant("")), nullptr, nullptr},
        {"POS", {Variant("z"), Variant("abcdef")}, Ok(Variant(0)), nullptr, nullptr},
        {"POS", {Variant("cd"), Variant("abcdcd")}, Ok(Variant(3)), nullptr, nullptr},
        {"POS", {Variant(""), Variant("abc")}, Ok(Variant(0)), nullptr, nullptr},
        {"UPPERCASE", {Variant("àbc")}, Ok(Variant("ÀBC")), nullptr, nullptr},
        {"LOWERCASE", {Variant("ÀBC")}, Ok(Variant("àbc")), nullptr, nullptr},
        {"TRIM", {Variant(QStringLiteral("\t a b \r\n") + QChar(0))}, Ok(Variant("a b")), nullptr, nullptr},
        {"NAMECASE", {Variant("MARIO DE-LUCA o'neil")}, Ok(Variant("Mario De-luca O'neil")), nullptr, nullptr},
        {"NAMECASE", {Variant(" x")}, Ok(Variant(" X")), nullptr, nullptr},
        {"COMPARETEXT", {Variant("abc"), Variant("ABC")}, Ok(Variant(0)), nullptr, nullptr},
        {"COMPARETEXT", {Variant("abc"), Variant("ABD")}, Ok(Variant(-1)), nullptr, nullptr},
        {"CHR", {Variant(65)}, Ok(Variant("A")), nullptr, nullptr},
        {"CHR", {Variant(0x20AC)}, Ok(Variant(QChar(0x20AC))), nullptr, nullptr},
        {"CHR", {Variant(65536)}, Variant(), RE, RT},
        {"CHR", {Variant(-1)}, Variant(), RE, RT},
        {"ORD", {Variant("A")}, Ok(Variant(65)), nullptr, nullptr},
        {"ORD", {Variant("")}, Ok(Variant(0)), nullptr, nullptr},
        {"ROUND", {Variant(2.5)}, Ok(Variant(2)), nullptr, nullptr},
        {"ROUND", {Variant(3.5)}, Ok(Variant(4)), nullptr, nullptr},
        {"ROUND", {Variant(-2.5)}, Ok(Variant(-2)), nullptr, nullptr},
        {"ROUND", {Variant(NaN)}, Variant(), IO, IT},
        {"ROUND", {Variant(Inf)}, Variant(), IO, IT},
        {"ROUND", {Variant(3e9)}, Variant(), RE, RT},
        {"ROUND", {Variant(2147483647.4)}, Ok(Variant(2147483647)), nullptr, nullptr},
        {"TRUNC", {Variant(-2.7)}, Ok(Variant(-2)), nullptr, nullptr},
        {"TRUNC", {Variant(-Inf)}, Variant(), IO, IT},
        {"TRUNC", {Variant(-3e9)}, Variant(), RE, RT},
        {"INT", {Variant(-2.7)}, Ok(Variant(-2.0)), nullptr, nullptr},
        {"FRAC", {Variant(-2.75)}, Ok(Variant(-0.75)), nullptr, nullptr},
        {"SQRT", {Variant(16)}, Ok(Variant(4.0)), nullptr, nullptr},
        {"SQRT", {Variant(-1)}, Variant(), IO, IT},
        {"SQRT", {Variant(NaN)}, Variant(), IO, IT},
        {"ABS", {Variant(-3)}, Ok(Variant(3.0)), nullptr, nullptr},
        {"TAN", {Variant(0)}, Ok(Variant(0.0)), nullptr, nullptr},
        {"EXP", {Variant(0)}, Ok(Variant(1.0)), nullptr, nullptr},
        {"EXP", {Variant(1000)}, Variant(), "EOverflow", "Floating point overflow"},
        {"LN", {Variant(1)}, Ok(Variant(0.0)), nullptr, nullptr},
        {"LN", {Variant(-1)}, Variant(), IO, IT},
        {"LN", {Variant(0)}, Variant(), "EZeroDivide", "Floating point division by zero"},
        {"SIN", {Variant(Inf)}, Variant(), IO, IT},
        {"PI", {}, Ok(Variant(3.141592653589793)), nullptr, nullptr},
        {"RAISEEXCEPTION", {Variant("boom")}, Variant(), "Exception", "boom"},
        {"VALIDINT", {Variant("123")}, Ok(Variant(true)), nullptr, nullptr},
        {"VALIDINT", {Variant("123a")}, Ok(Variant(false)), nullptr, nullptr},
        {"VALIDFLOAT", {Variant("1,5")}, Ok(Variant(true)), nullptr, nullptr},
        {"VALIDFLOAT", {Variant("x")}, Ok(Variant(false)), nullptr, nullptr},
        {"VALIDDATE", {Variant::fromDate(D(2024, 2, 29))}, Ok(Variant(true)), nullptr, nullptr},
        {"VALIDDATE", {Variant("30/02/2024")}, Ok(Variant(false)), nullptr, nullptr},
        {"EXTRACTFILEPATH", {Variant("/home/u/report.lrt")}, Ok(Variant("/home/u/")), nullptr, nullptr},
        {"EXTRACTFILEPATH", {Variant("C:\\dati\\a.txt")}, Ok(Variant("C:\\dati\\")), nullptr, nullptr},
        {"EXTRACTFILEPATH", {Variant("C:a.txt")}, Ok(Variant("C:")), nullptr, nullptr},
        {"EXTRACTFILEPATH", {Variant("a.txt")}, Ok(Variant("")), nullptr, nullptr},
        {"CREATEOLEOBJECT", {Variant("Foglio.Calcolo")}, Variant(), "Exception",
         "OLE error 800401F3: Foglio.Calcolo: Invalid class string"},
        {"VARARRAYCREATE", {Arr({Variant(0), Variant(20000), Variant(0), Variant(20000)}), Variant(12)}, Variant(),
         "EVariantArrayCreateError", "Error creating variant or safe array"},
        {"VARARRAYCREATE", {Arr({Variant(0)}), Variant(12)}, Variant(), "EVariantArrayCreateError",
         "Error creating variant or safe array"},
        {"VARTYPE", {Variant(1.5)}, Ok(Variant(5)), nullptr, nullptr},
        {"VARTYPE", {Variant::createArray({{0, 1}})}, Ok(Variant(8192 + 12)), nullptr, nullptr},
        {"VARTYPE", {Variant::null()}, Ok(Variant(1)), nullptr, nullptr},
    };
    for (const Call &c : calls) {
        SCOPED_TRACE(std::string(c.name) + " #" + std::to_string(&c - calls.data()));
        if (c.errorClass) {
            try {
                Call1(c.name, c.args);
                ADD_FAILURE() << "no exception";
            } catch (const Exception &e) {
                EXPECT_STREQ(e.className(), c.errorClass);
                EXPECT_EQ(e.message().toStdString(), c.errorText);
            }
            continue;
        }
        const Variant r = Call1(c.name, c.args);
        EXPECT_EQ(r.varType(), c.expected.varType()) << r.toString().toStdString();
        EXPECT_TRUE(Variant::equals(r, c.expected)) << r.toString().toStdString();
    }
}

struct VarCall
{
    const char *name;
    std::vector<Variant> args;
    int slot;
    Variant written;
};

TEST_F(SysFunctions, VarParametersAreWrittenIntoTheirSlots)
{
    const std::vector<VarCall> calls = {
        {"DELETE", {Variant("abcdef"), Variant(2), Variant(3)}, 0, Variant("aef")},
        {"DELETE", {Variant("abcdef"), Variant(5), Variant(99)}, 0, Variant("abcd")},
        {"DELETE", {Variant("abc"), Variant(0), Variant(1)}, 0, Variant("abc")},
        {"DELETESTR", {Variant("abcdef"), Variant(1), Variant(1)}, 0, Variant("bcdef")},
        {"INSERT", {Variant("XY"), Variant("abc"), Variant(2)}, 1, Variant("aXYbc")},
        {"INSERT", {Variant("XY"), Variant("abc"), Variant(99)}, 1, Variant("abcXY")},
        {"INSERT", {Variant("XY"), Variant("abc"), Variant(-5)}, 1, Variant("XYabc")},
        {"INC", {Variant(5), Variant(1)}, 0, Variant(6)},
        {"INC", {Variant(1.5), Variant(5)}, 0, Variant(6.5)},
        {"INC", {Variant(2147483647), Variant(1)}, 0, Variant(2147483648LL)},
        {"DEC", {Variant(5), Variant(7)}, 0, Variant(-2)},
        {"SETLENGTH", {Variant("abcdef"), Variant(3)}, 0, Variant("abc")},
        {"SETLENGTH", {Variant("ab"), Variant(4)}, 0, Variant(QStringLiteral("ab") + QChar(0) + QChar(0))},
        {"SETLENGTH", {Variant("ab"), Variant(-1)}, 0, Variant("")},
    };
    for (const VarCall &c : calls) {
        SCOPED_TRACE(std::string(c.name) + " #" + std::to_string(&c - calls.data()));
        std::vector<Variant> args = c.args;
        args.resize(6);
        qsFindSysFunction(QString::fromLatin1(c.name))->fn(args.data());
        EXPECT_EQ(args[size_t(c.slot)].varType(), c.written.varType());
        EXPECT_TRUE(Variant::equals(args[size_t(c.slot)], c.written)) << args[size_t(c.slot)].toString().toStdString();
    }
}

TEST_F(SysFunctions, DecodeWritesWordParts)
{
    Variant a[6] = {Variant::fromDate(D(2000, 3, 1) + rtl::EncodeTime(13, 14, 15, 16))};
    qsFindSysFunction(u"DECODEDATE")->fn(a);
    EXPECT_EQ(a[1].varType(), varWord);
    EXPECT_EQ(a[1].toInt(), 2000);
    EXPECT_EQ(a[2].toInt(), 3);
    EXPECT_EQ(a[3].toInt(), 1);
    qsFindSysFunction(u"DECODETIME")->fn(a);
    EXPECT_EQ(a[1].toInt(), 13);
    EXPECT_EQ(a[2].toInt(), 14);
    EXPECT_EQ(a[3].toInt(), 15);
    EXPECT_EQ(a[4].toInt(), 16);
}

TEST_F(SysFunctions, SetLengthResizesTheLastDimensionOfAnArray)
{
    Variant arr = Variant::createArray({{0, 1}, {0, 9}});
    arr.arrayPut(std::vector<int>{1, 4}, Variant(7));
    Variant a[2] = {arr, Variant(5)};
    qsFindSysFunction(u"SETLENGTH")->fn(a);
    EXPECT_EQ(a[0].arrayHighBound(2), 4);
    EXPECT_EQ(a[0].arrayHighBound(1), 1);
    EXPECT_EQ(a[0].arrayGet(std::vector<int>{1, 4}).toInt(), 7);

    Variant big[2] = {Variant::createArray({{0, 0}}), Variant(qsMaxStringLength + 1)};
    EXPECT_THROW(qsFindSysFunction(u"SETLENGTH")->fn(big), EVariantArrayCreateError);
    Variant longText[2] = {Variant("x"), Variant(qsMaxStringLength + 1)};
    EXPECT_THROW(qsFindSysFunction(u"SETLENGTH")->fn(longText), EOutOfMemory);
    Variant notArray[2] = {Variant(3), Variant(2)};
    EXPECT_THROW(qsFindSysFunction(u"SETLENGTH")->fn(notArray), EVariantNotArrayError);
}

TEST_F(SysFunctions, VarArrayCreateMakesTypedArraysOfEveryDimension)
{
    Variant a[2] = {Arr({Variant(1), Variant("3"), Variant(0), Variant(1)}), Variant(int(varInteger))};
    const Variant r = qsFindSysFunction(u"VARARRAYCREATE")->fn(a);
    EXPECT_EQ(r.varType(), varArray | varInteger);
    EXPECT_EQ(r.arrayDimCount(), 2);
    EXPECT_EQ(r.arrayLowBound(1), 1);
    EXPECT_EQ(r.arrayHighBound(1), 3);
    EXPECT_EQ(r.arrayHighBound(2), 1);
}

TEST_F(SysFunctions, DatesComeFromTheClockService)
{
    fakes.clock.now = QDateTime(QDate(2024, 2, 29), QTime(18, 0));
    Variant none[1];
    EXPECT_EQ(qsFindSysFunction(u"DATE")->fn(none).toDate(), D(2024, 2, 29));
    EXPECT_DOUBLE_EQ(qsFindSysFunction(u"TIME")->fn(none).toDate(), 0.75);
    EXPECT_DOUBLE_EQ(qsFindSysFunction(u"NOW")->fn(none).toDate(), D(2024, 2, 29) + 0.75);
    EXPECT_EQ(qsFindSysFunction(u"NOW")->fn(none).varType(), varDate);
}

TEST_F(SysFunctions, ShowMessageGoesThroughTheMessageService)
{
    Variant a[1] = {Variant(2.5)};
    qsFindSysFunction(u"SHOWMESSAGE")->fn(a);
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("2,5"));
    EXPECT_EQ(fakes.messages.shown[0].buttons, ui::mbOk);
}

TEST_F(SysFunctions, RandomStaysInItsRangeAndRandomizeReseeds)
{
    Variant none[1];
    for (int i = 0; i < 1000; ++i) {
        const double r = qsFindSysFunction(u"RANDOM")->fn(none).toDouble();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
    fakes.clock.now = QDateTime(QDate(2024, 1, 1), QTime(0, 0));
    qsFindSysFunction(u"RANDOMIZE")->fn(none);
    const double first = qsFindSysFunction(u"RANDOM")->fn(none).toDouble();
    qsFindSysFunction(u"RANDOMIZE")->fn(none);
    EXPECT_EQ(qsFindSysFunction(u"RANDOM")->fn(none).toDouble(), first);
}

TEST(SysFunctionTable, GroupsServeOnlyTheirOwnNames)
{
    const auto table = qsSysFunctionTable();
    ASSERT_EQ(table.size(), 68u);
    QSet<QString> names;
    for (const TqsSysFunction &f : table) {
        // The upper-case name is the declaration's second word.
        QString decl = QString::fromLatin1(f.syntax);
        const QString name = decl.section(u' ', 1).section(u'(', 0, 0).section(u':', 0, 0).trimmed();
        EXPECT_EQ(name.toUpper(), QLatin1String(f.name));
        EXPECT_FALSE(names.contains(name)) << f.syntax;
        names.insert(name);
    }
    Variant a[2] = {Variant(true)};
    EXPECT_EQ(qsSysCallGroup(1, u"BOOLTOSTR", a).toString(), QStringLiteral("-1"));
    const Variant other = qsSysCallGroup(2, u"BOOLTOSTR", a);
    EXPECT_EQ(other.varType(), varInteger);
    EXPECT_EQ(other.toInt(), 0);
    EXPECT_EQ(qsSysCallGroup(7, u"NOSUCHNAME", a).toInt(), 0);
}

} // namespace
