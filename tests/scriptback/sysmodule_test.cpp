// The system module seen from running scripts: registration, var arguments written back.
#include "backtest.h"

#include "platform/rtl/formatsettings.h"
#include "platform/ui/fakes.h"
#include "script/core/qsmessages.h"
#include "script/system/qssysfuncs.h"
#include "script/system/qssystem.h"

#include <gtest/gtest.h>

namespace {

struct Program
{
    const char *body; // DozovoZozedi statements
    const char *expected; // text of r
};

TEST(SysModule, VarArgumentsAreWrittenBackIntoScriptVariables)
{
    rtl::ScopedFormatSettings italian{TFormatSettings::italian()};
    const Program programs[] = {
        {"DecodeDate(EncodeDate(2000, 3, 1), y, m, d); r := IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d)",
         "2000-3-1"},
        {"DecodeTime(EncodeTime(13, 14, 15, 16), y, m, d, i); r := Format('%d:%d:%d.%d', [y, m, d, i])", "13:14:15.16"},
        {"s := 'abcdef'; Delete(s, 2, 3); r := s", "aef"},
        {"s := 'abcdef'; DeleteStr(s, 1, 1); r := s", "bcdef"},
        {"s := 'ac'; Insert('b', s, 2); r := s", "abc"},
        {"v := 1.5; Inc(v); Inc(v, 5); r := VarToStr(v)", "7,5"},
        {"i := 10; Dec(i); Dec(i, 4); r := IntToStr(i)", "5"},
        {"s := 'abcdef'; SetLength(s, 3); r := s", "abc"},
        {"v := VarArrayCreate([0, 9], varVariant); SetLength(v, 5); r := IntToStr(Length(v))", "5"},
        {"r := BoolToStr(StrToBool('true')); if StrToBool('true') then r := r + '!'", "-1!"},
        {"r := FloatToStr(Round(2.5) + Round(3.5) + Int(-2.7)) + '/' + IntToStr(DaysInMonth(2024, 2))", "4/29"},
        {"try r := Chr(70000) except r := ExceptionClassName + ': ' + ExceptionMessage end",
         "ERangeError: Range check error"},
        {"try RaiseException('boom') except r := ExceptionClassName + ': ' + ExceptionMessage end", "Exception: boom"},
        {"try v := CreateOleObject('Lirra.Documento') except r := ExceptionMessage end",
         "OLE error 800401F3: Lirra.Documento: Invalid class string"},
        {"r := IntToStr(VarType(Null)) + IntToStr(varArray)", "18192"},
    };
    for (const Program &p : programs) {
        auto s = backtest::make("DozovoZozedi", QStringLiteral("var y, m, d, i: Integer; s, r: String; v: Variant;\n"
                                                               "begin %1 end.")
                                                    .arg(QString::fromUtf8(p.body)));
        ASSERT_EQ(backtest::run(*s), QString()) << p.body;
        EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QString::fromUtf8(p.expected)) << p.body;
    }
}

TEST(SysModule, IncOfAnExtendedVariableIsRefused)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var e: Extended;\nbegin e := 1; Inc(e) end."));
    ASSERT_FALSE(s->Compile());
    EXPECT_TRUE(s->ErrorMsg.startsWith(qsMessage(u"SIncompatibleTypes"))) << s->ErrorMsg.toStdString();
}

TEST(SysModule, ShowMessageAsksTheMessageService)
{
    ui::FakeServices fakes;
    auto s = backtest::make("DozovoZozedi", QStringLiteral("begin ShowMessage('ciao') end."));
    ASSERT_EQ(backtest::run(*s), QString());
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("ciao"));
}

TEST(SysModule, EveryFunctionIsRegisteredOnceWithItsCategory)
{
    TqsScript s;
    s.AddRTTI();
    const int count = s.Count();
    s.AddRTTI(); // a second call adds nothing
    EXPECT_EQ(s.Count(), count);
    for (const TqsSysFunction &f : qsSysFunctionTable()) {
        const QString decl = QString::fromLatin1(f.syntax);
        const QString name = decl.section(u' ', 1).section(u'(', 0, 0).section(u':', 0, 0).section(u';', 0, 0);
        auto *m = dynamic_cast<TqsMethodHelper *>(s.Find(name));
        ASSERT_NE(m, nullptr) << f.syntax;
        EXPECT_EQ(m->FCategory, QLatin1String(f.category));
        EXPECT_EQ(m->FDescription, name);
        EXPECT_EQ(m->AddedBy, s.Find(u"True")->AddedBy) << "stamped as a binding-module item";
        EXPECT_EQ(m->ParamCount(), f.paramCount) << f.syntax;
        for (int i = 0; i < m->ParamCount(); ++i)
            EXPECT_EQ(m->Params(i)->FIsVarParam, bool(f.varParams & (1u << i))) << f.syntax << " #" << i;
    }
}

// The library's names are found as though each were registered with the module, though a
// script makes only the items it uses: a host name registered later hides a library name,
// one registered earlier is hidden by it, "unless present" registrations see library names,
// and taking the module away takes them all.
TEST(SysModule, LibraryAndHostNamesAreFoundByOrderOfRegistration)
{
    backtest::ensureLanguages();
    auto answer = [](const char *text) {
        return [text](const Variant &, const QString &, TqsMethodHelper &) { return Variant(QString::fromLatin1(text)); };
    };
    TqsScript s;
    s.AddMethod(QStringLiteral("function Now: String"), answer("earlier"));
    s.AddRTTI();
    s.AddMethod(QStringLiteral("function Date: String"), answer("later"));
    s.Lines = QStringList{QStringLiteral("var a, b: String;"),
                          QStringLiteral("begin a := Date; b := IntToStr(VarType(Now)) end.")};
    ASSERT_EQ(backtest::run(s), QString());
    EXPECT_EQ(s.Variables(QStringLiteral("a")).toString(), QStringLiteral("later"));
    EXPECT_EQ(s.Variables(QStringLiteral("b")).toString(), QStringLiteral("7")) << "varDate: the library's Now";
    EXPECT_EQ(s.AddConst(QStringLiteral("PI"), QStringLiteral("Integer"), Variant(3)), nullptr);
    EXPECT_EQ(s.AddType(QStringLiteral("tdatetime"), qvtInt), nullptr);

    s.ClearRTTI();
    EXPECT_EQ(s.Find(u"Trim"), nullptr);
    EXPECT_EQ(s.Find(u"Integer"), nullptr);
    EXPECT_NE(dynamic_cast<TqsMethodHelper *>(s.Find(u"Now")), nullptr) << "the host's own stays";
    s.AddRTTI();
    EXPECT_NE(s.Find(u"Trim"), nullptr);
}

} // namespace
