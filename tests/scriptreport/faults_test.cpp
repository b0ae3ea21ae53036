// Objects that scripts must not reach: a made-up number, a freed object, and what the running
// report holds. Each is a script error naming the member; the run ends and is reported once.
#include "tests/scriptreport/reportrun.h"

#include <gtest/gtest.h>

namespace {

using namespace scriptreporttest;

TEST(ScriptFaults, ForgedFreedAndHeldObjectsAreScriptErrors)
{
    const char *const others = "procedure CityBefore(Sender: Variant); begin end;\n"
                               "procedure SummaryBefore(Sender: Variant); begin end;\n"
                               "procedure FooterBefore(Sender: Variant); begin end;\n";
    const struct
    {
        const char *name, *row, *member;
    } cases[] = {
        {"forged band", "var v: Variant; begin v := 987654; Engine.ShowBand(v) end", "ShowBand"},
        {"freed band", "var b: TkvlChild; begin b := TkvlChild.Create(nil); b.Free; Engine.ShowBand(b) end", "ShowBand"},
        {"band of another report",
         "var b: TkvlChild; begin b := TkvlChild.Create(nil); try Engine.ShowBand(b) finally b.Free end end", "ShowBand"},
        {"clearing the running page", "Page1.Clear", "Clear"},
        {"clearing the band being shown", "MasterData1.Clear", "Clear"},
        {"reloading the running report", "Report.LoadFromFile('altro.kv3')", "LoadFromFile"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QString row = QString::fromLatin1(c.row);
        QString script = QString::fromLatin1(others);
        if (row.startsWith(QLatin1String("var ")))
            script += QStringLiteral("procedure RowBefore(Sender: Variant);\n") + row.replace(QStringLiteral("; begin"), QStringLiteral(";\nbegin")) +
                      QStringLiteral(";\nbegin end.");
        else
            script += QStringLiteral("procedure RowBefore(Sender: Variant);\nbegin\n  ") + row + QStringLiteral(";\nend;\nbegin end.");
        ReportRun run;
        run.Load(QStringLiteral("engine-outline"), "DozovoZozedi", script);
        bool prepared = true;
        const QString shown = run.Prepare(&prepared);
        EXPECT_FALSE(prepared);
        EXPECT_EQ(run.fakes.messages.shown.size(), 1u);
        EXPECT_TRUE(shown.contains(QLatin1String(c.member))) << shown.toStdString();
        // The template is whole again after the run.
        EXPECT_NE(run.report.FindObject(u"MemoRow"), nullptr);
    }
}

} // namespace

namespace {

// What a handler may still do while the report runs: make and free objects of its own, and
// ask for the report to be shown, which does nothing then.
TEST(ScriptFaults, HandlersStillCreateObjectsAndShowReportDoesNothingWhileRunning)
{
    ReportRun run;
    run.Load(QStringLiteral("engine-outline"), "DozovoZozedi",
             QStringLiteral("procedure CityBefore(Sender: Variant); begin end;\n"
                            "procedure SummaryBefore(Sender: Variant); begin end;\n"
                            "procedure FooterBefore(Sender: Variant); begin end;\n"
                            "function Amount: Variant; begin Result := 0 end;\n"
                            "procedure RowBefore(Sender: Variant);\nvar m: TkvlMemoView; l: TWideStrings;\nbegin\n"
                            "  m := TkvlMemoView.Create(nil);\n  m.Text := 'nuovo';\n  l := m.Lines;\n"
                            "  MemoRow.TagStr := l[0];\n  m.Free;\n  Report.ShowReport;\nend;\nbegin end."));
    bool prepared = false;
    EXPECT_EQ(run.Prepare(&prepared), QString());
    EXPECT_TRUE(prepared);
    EXPECT_TRUE(run.Listing().contains(QStringLiteral("0 Gamma 7")));
    EXPECT_EQ(run.fakes.messages.shown.size(), 0u);
}

// The lines of a memo follow the memo: once it is freed they are a script error.
TEST(ScriptFaults, LinesOfAFreedMemoAreAScriptError)
{
    ReportRun run;
    run.Load(QStringLiteral("memos"), "DozovoZozedi", QString());
    run.report.ScriptText().SetText(QStringLiteral(
        "var r: String; m: TkvlMemoView; l: TWideStrings;\nbegin\n  m := TkvlMemoView.Create(nil);\n"
        "  l := m.Lines;\n  l.Add('uno');\n  r := m.Text;\n  m.Free;\n  l.Add('due');\nend."));
    ASSERT_TRUE(run.report.PrepareScript()) << run.report.Errors().Text().toStdString();
    try {
        run.report.Script()->Execute();
        ADD_FAILURE() << "no error";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("memo"))) << e.message().toStdString();
    }
    EXPECT_EQ(run.report.Script()->Variables(QStringLiteral("r")).toString(), QStringLiteral("uno\r\n"));
}

} // namespace
