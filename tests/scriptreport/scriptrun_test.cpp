// Scripts of real templates prepared through the whole library: the engine, the outline,
// anchors, record-source members and the report's totals, in each language.
#include "tests/scriptreport/reportrun.h"

#include <gtest/gtest.h>

namespace {

using namespace scriptreporttest;

class ScriptInReport : public ::testing::TestWithParam<Language>
{
};

// Group totals come from the report's SUM although the module declares one answering 0;
// anchors added by a row that moves to the next page belong to that page; the outline keeps
// each city where its header printed; the record source is walked from the main block.
TEST_P(ScriptInReport, EngineOutlineAnchorsRecordSourceAndTotals)
{
    const Language l = GetParam();
    ReportRun run;
    run.Load(QStringLiteral("engine-outline"), l.name,
             ReadData(QStringLiteral("engine-outline.") + QLatin1String(l.ending)));
    run.report.EngineOptions()->DoublePass = true;
    bool prepared = false;
    EXPECT_EQ(run.Prepare(&prepared), QString());
    EXPECT_TRUE(prepared);
    EXPECT_EQ(run.Listing(), ReadData(QStringLiteral("engine-outline-pages.txt")));
    EXPECT_EQ(run.OutlineItems(), QStringLiteral("Bari 0 20\nRoma 0 140\n"));
}

INSTANTIATE_TEST_SUITE_P(Languages, ScriptInReport, ::testing::ValuesIn(Languages),
                         [](const auto &info) {
                             std::string n = info.param.ending;
                             return n;
                         });

} // namespace

namespace {

// The memos' scripts: an ANSI text through the Cyrillic code page, a Unicode text as given,
// lines from a string list; the page header's handler adds an outline item.
const struct
{
    const char *language, *script;
} MemoScripts[] = {
    {"DozovoZozedi",
     "procedure HeaderBefore(Sender: Variant);\nbegin\n  Outline.AddItem('Intestazione');\nend;\n"
     "procedure RowBefore(Sender: Variant);\nbegin\nend;\n"
     "var l: TWideStrings;\nbegin\n  MemoCyr.AnsiText := Chr(192) + Chr(193);\n  MemoPlain.Text := Chr(192) + Chr(193);\n"
     "  l := TWideStrings.Create;\n  l.Add('uno');\n  l.Add('due');\n  MemoLines.Lines := l;\n  l.Free;\nend."},
    {"D++Iraved",
     "void HeaderBefore(Variant Sender) { Outline.AddItem(\"Intestazione\"); }\n"
     "void RowBefore(Variant Sender) { }\n"
     "{\n  TWideStrings l;\n  MemoCyr.AnsiText = Chr(192) + Chr(193);\n  MemoPlain.Text = Chr(192) + Chr(193);\n"
     "  l = TWideStrings.Create;\n  l.Add(\"uno\");\n  l.Add(\"due\");\n  MemoLines.Lines = l;\n  l.Free;\n}"},
    {"DevavAraroz",
     "Dim l\nSub HeaderBefore(Sender)\n  Outline.AddItem(\"Intestazione\")\nEnd Sub\n"
     "Sub RowBefore(Sender)\nEnd Sub\n"
     "MemoCyr.AnsiText = Chr(192) & Chr(193)\nMemoPlain.Text = Chr(192) & Chr(193)\n"
     "l = TWideStrings.Create\nl.Add(\"uno\")\nl.Add(\"due\")\nMemoLines.Lines = l\nl.Free"},
    {"JScript",
     "function HeaderBefore(Sender) { Outline.AddItem(\"Intestazione\"); }\n"
     "function RowBefore(Sender) { }\n"
     "MemoCyr.AnsiText = Chr(192) + Chr(193);\nMemoPlain.Text = Chr(192) + Chr(193);\n"
     "var l = TWideStrings.Create();\nl.Add(\"uno\");\nl.Add(\"due\");\nMemoLines.Lines = l;\nl.Free();"},
};

TEST(ScriptMemos, AnsiTextUnicodeTextLinesAndTheOutlinesRoundedPosition)
{
    for (const auto &s : MemoScripts) {
        SCOPED_TRACE(s.language);
        // The outline keeps the engine's position rounded half to even.
        const struct
        {
            double titleHeight;
            const char *outline;
        } heights[] = {{10.5, "Intestazione 0 10\n"}, {11.5, "Intestazione 0 12\n"}};
        for (const auto &h : heights) {
            ReportRun run;
            run.Load(QStringLiteral("memos"), s.language, QString::fromUtf8(s.script));
            run.report.FindObject(u"Title1")->SetHeight(h.titleHeight);
            bool prepared = false;
            EXPECT_EQ(run.Prepare(&prepared), QString());
            EXPECT_TRUE(prepared);
            EXPECT_EQ(run.OutlineItems(), QLatin1String(h.outline));
            if (h.titleHeight == 10.5) {
                EXPECT_EQ(run.Listing(), QStringLiteral("page 1\n0 АБ\n11 ÀÁ\n31 Alfa\n51 Beta\n71 Gamma\n91 uno\r\ndue\n"));
            }
        }
    }
}

// Setting Terminated in a row's handler ends the handler at once and the run at the
// engine's next check; what was prepared so far stays.
TEST(ScriptTerminate, StopsTheHandlerAndTheRunAndKeepsThePages)
{
    const struct
    {
        const char *language, *script;
    } scripts[] = {
        {"DozovoZozedi",
         "procedure CityBefore(Sender: Variant); begin end;\nprocedure SummaryBefore(Sender: Variant); begin end;\n"
         "procedure FooterBefore(Sender: Variant); begin end;\n"
         "procedure RowBefore(Sender: Variant);\nbegin\n  if Report.GetDataset('EVENTS').RecNo = 1 then\n  begin\n"
         "    Report.Terminated := True;\n    MemoRow.Text := 'dopo';\n  end;\nend;\nbegin end."},
        {"D++Iraved",
         "void CityBefore(Variant Sender) { }\nvoid SummaryBefore(Variant Sender) { }\nvoid FooterBefore(Variant Sender) { }\n"
         "void RowBefore(Variant Sender)\n{\n  if (Report.GetDataset(\"EVENTS\").RecNo == 1)\n  {\n"
         "    Report.Terminated = true;\n    MemoRow.Text = \"dopo\";\n  }\n}\n{}"},
        {"DevavAraroz",
         "Sub CityBefore(Sender)\nEnd Sub\nSub SummaryBefore(Sender)\nEnd Sub\nSub FooterBefore(Sender)\nEnd Sub\n"
         "Sub RowBefore(Sender)\n  If Report.GetDataset(\"EVENTS\").RecNo = 1 Then\n    Report.Terminated = True\n"
         "    MemoRow.Text = \"dopo\"\n  End If\nEnd Sub\n"},
        {"JScript",
         "function CityBefore(Sender) { }\nfunction SummaryBefore(Sender) { }\nfunction FooterBefore(Sender) { }\n"
         "function RowBefore(Sender)\n{\n  if (Report.GetDataset(\"EVENTS\").RecNo == 1)\n  {\n"
         "    Report.Terminated = true;\n    MemoRow.Text = \"dopo\";\n  }\n}\n"},
    };
    for (const auto &s : scripts) {
        SCOPED_TRACE(s.language);
        ReportRun run;
        run.Load(QStringLiteral("engine-outline"), s.language, QString::fromUtf8(s.script));
        run.Prepare();
        const QString listing = run.Listing();
        EXPECT_TRUE(listing.contains(QStringLiteral("40 Alfa 10"))) << listing.toStdString();
        EXPECT_FALSE(listing.contains(QStringLiteral("dopo"))) << listing.toStdString();
        EXPECT_FALSE(listing.contains(QStringLiteral("Gamma"))) << listing.toStdString();
    }
}

// Scripts run by the report's own script outside a run: its main block's result "r".
class ScriptMain : public ::testing::Test
{
protected:
    QString Run(const char *language, const QString &text)
    {
        run.report.ScriptLanguage = QString::fromLatin1(language);
        run.report.ScriptText().SetText(text);
        if (!run.report.PrepareScript())
            return QStringLiteral("compile: ") + run.report.Errors().Text();
        try {
            run.report.Script()->Execute();
        } catch (const Exception &e) {
            return QStringLiteral("raised: ") + e.message();
        }
        return run.report.Script()->Variables(QStringLiteral("r")).toString();
    }
    ReportRun run;
};

TEST_F(ScriptMain, UnknownNamesGiveNilAndDatesSplitIntoTheirParts)
{
    run.Load(QStringLiteral("memos"), "DozovoZozedi", QString());
    const struct
    {
        const char *language, *script;
    } cases[] = {
        {"DozovoZozedi",
         "var r: String;\nbegin\n  r := 'x';\n  if Report.FindObject('Nessuno') = nil then r := r + 'o';\n"
         "  if Report.GetDataset('NESSUNO') = nil then r := r + 'd';\n"
         "  if Report.FindObject('memolines') <> nil then r := r + 'm';\n"
         "  r := r + IntToStr(DayOf(45292)) + IntToStr(MonthOf(45292)) + IntToStr(YearOf(45292));\nend."},
        {"JScript",
         "var r = \"x\";\nvar o = Report.FindObject(\"Nessuno\");\nvar d = Report.GetDataset(\"NESSUNO\");\n"
         "var m = Report.FindObject(\"memolines\");\n"
         "if (o == 0) r = r + \"o\";\nif (d == 0) r = r + \"d\";\nif (m != 0) r = r + \"m\";\n"
         "r = r + IntToStr(DayOf(45292)) + IntToStr(MonthOf(45292)) + IntToStr(YearOf(45292));"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Run(c.language, QString::fromUtf8(c.script)), QStringLiteral("xodm112024")) << c.language;
}

TEST_F(ScriptMain, CalcRaisesTheExpressionErrorAndLeavesTheErrorList)
{
    run.Load(QStringLiteral("memos"), "DozovoZozedi", QString());
    EXPECT_EQ(Run("DozovoZozedi", QStringLiteral("var r: Variant;\nbegin r := Report.Calc('2 * 3') end.")), QStringLiteral("6"));
    const QString raised = Run("DozovoZozedi", QStringLiteral("var r: Variant;\nbegin r := Report.Calc('1 +') end."));
    const QString head = QStringLiteral("raised: ") + kvlResourceText(QStringLiteral("clErrorInExp")) +
                         kvlResourceText(QStringLiteral("clExprError")) + QStringLiteral(" '1 +': ");
    EXPECT_TRUE(raised.startsWith(head)) << raised.toStdString();
    EXPECT_EQ(run.report.Errors().Count(), 0) << run.report.Errors().Text().toStdString();
}

TEST_F(ScriptMain, StylesIgnoreTheirDefaultPropertyAndFramesTakeOnlyTheSixNamedStyles)
{
    run.Load(QStringLiteral("memos"), "DozovoZozedi", QString());
    EXPECT_EQ(Run("DozovoZozedi",
                  QStringLiteral("var r: String; s: TkvlStyleItem;\nbegin\n  s := Report.Styles.Add;\n  s.Name := 'Titolo';\n"
                                 "  Report.Styles[0] := nil;\n  r := Report.Styles[0].Name + IntToStr(Report.Styles.Count);\n"
                                 "  MemoPlain.Frame.Style := fsDouble;\nend.")),
              QStringLiteral("Titolo1"));
    auto *memo = rtl_cast<TkvlCustomMemoView>(run.report.FindObject(u"MemoPlain"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Frame()->Style(), fsDouble);
    EXPECT_TRUE(Run("DozovoZozedi", QStringLiteral("var r: String;\nbegin MemoPlain.Frame.Style := fsAltDot end."))
                    .startsWith(QStringLiteral("compile: ")));
}

} // namespace
