// Members of automation objects called by name: argument order, reads answered by methods,
// puts by value and by reference, and the error texts.
#include "script/items/qsolehelper.h"
#include "tests/classlib/scriptrun.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

using classlibtest::RunScript;

// A server that logs every call as "name/flags(args)" and answers a few members.
class LoggingServer : public rtl::DispatchObject
{
public:
    explicit LoggingServer(QStringList *log) : FLog(log) {}
    QString className() const override { return QStringLiteral("Lirra.Logger"); }
    Variant invoke(const QString &name, int flags, std::span<const Variant> args) override
    {
        QStringList parts;
        for (const Variant &a : args)
            parts << (a.isDispatch() ? QStringLiteral("<obj>") : a.toString());
        FLog->append(name + QLatin1Char('/') + QString::number(flags) + QLatin1Char('(') + parts.join(u',') + QLatin1Char(')'));
        if (name == QLatin1String("Total")) {
            // exposed only as a method: a read must reach it as one
            if (!(flags & Method))
                throw EqsDispatchError(EqsDispatchError::CodeMemberNotFound);
            return Variant(42);
        }
        if (name == QLatin1String("Join"))
            return Variant(parts.join(u'-'));
        if (name == QLatin1String("Value") || name == QLatin1String("Peer") || name == QLatin1String("Call"))
            return Variant();
        if (name == QLatin1String("Fail"))
            throw EqsDispatchError(0x80004005, QStringLiteral("Lirra.Logger"), QStringLiteral("Nothing to fail"),
                                   QStringLiteral("logger.hlp"));
        if (name == QLatin1String("Bare"))
            throw EqsDispatchError(0x80004005);
        throw EqsDispatchError(EqsDispatchError::CodeUnknownName);
    }

private:
    QStringList *FLog;
};

class Automation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qsRegisterDispatchClass(QStringLiteral("Lirra.Logger"), [this] { return new LoggingServer(&log); });
    }
    void TearDown() override { qsUnregisterDispatchClass(QStringLiteral("Lirra.Logger")); }

    QString Run(const char *body, const char *language = "DozovoZozedi")
    {
        log.clear();
        if (QLatin1String(language) == QLatin1String("DozovoZozedi"))
            return RunScript(language, QStringLiteral("var r, o, p: Variant;\nbegin o := CreateOleObject('Lirra.Logger');\n%1\nend.")
                                           .arg(QLatin1String(body)));
        return RunScript(language, QString::fromLatin1(body));
    }

    QStringList log;
};

TEST_F(Automation, CallsReadsAndPutsReachTheServerByName)
{
    // flags: 1 method, 3 method or get (a read that needs a result), 4 put, 8 put by reference
    EXPECT_EQ(Run("o.Call(1, 'b', 3); r := o.Join(1, 'b', 3) + '|' + IntToStr(o.Total);\n"
                  "o.Value := 5; p := CreateOleObject('Lirra.Logger'); o.Peer := p; o.Value[7] := 'x';"),
              QStringLiteral("1-b-3|42"));
    EXPECT_EQ(log, QStringList({"Call/1(1,b,3)", "Join/3(1,b,3)", "Total/3()", "Value/4(5)", "Peer/8(<obj>)",
                                "Value/4(7,x)"}));

    EXPECT_EQ(Run("Dim r, o\no = CreateOleObject(\"Lirra.Logger\")\nr = o.Join(\"a\", 2) & o.Total\no.Value = 3",
                  "DevavAraroz"),
              QStringLiteral("a-242"));
    EXPECT_EQ(log, QStringList({"Join/3(a,2)", "Total/3()", "Value/4(3)"}));
}

TEST_F(Automation, FailuresGiveTheAutomationErrorText)
{
    const struct
    {
        const char *statement, *text;
    } cases[] = {
        {"o.Bare", "raised: OLE error 80004005: Bare: Unspecified error"},
        {"o.Fail(1)",
         "raised: OLE error 80004005: Fail: Unspecified error\r\nSource        ::  Lirra.Logger\r\n"
         "Description ::  Nothing to fail\r\nHelp File     ::  logger.hlp"},
        {"r := o.Nope", "raised: OLE error 80020006: Nope: Unknown name."},
        {"o := CreateOleObject('Lirra.Missing')", "raised: OLE error 800401F3: Lirra.Missing: Invalid class string"},
        {"o := 5; o.Call", "raised: "},
    };
    for (const auto &c : cases) {
        const QString got = Run(c.statement);
        EXPECT_TRUE(got.startsWith(QLatin1String(c.text))) << c.statement << ": " << got.toStdString();
    }
    // the automation error is an ordinary exception a script catches
    EXPECT_EQ(Run("try o.Nope(1); except r := 'caught'; end;"), QStringLiteral("caught"));
}

TEST_F(Automation, AMemberTakesAtMostSixtyFourArguments)
{
    const auto call = [](int n) {
        QStringList args;
        for (int i = 0; i < n; ++i)
            args << QString::number(i);
        return QStringLiteral("o.Call(%1); r := 'ran';").arg(args.join(u','));
    };
    EXPECT_EQ(Run(call(64).toLatin1().constData()), QStringLiteral("ran"));
    EXPECT_EQ(log.size(), 1);
    const QString got = Run(call(65).toLatin1().constData());
    EXPECT_TRUE(got.contains(QLatin1String("Too many actual parameters"))) << got.toStdString();
    EXPECT_TRUE(log.isEmpty());
}

} // namespace
