// What the report designer relies on of the script engine: the debugger's line hook and
// executable lines, expression evaluation, the language registry, position texts, the
// tokenizer as the code editor drives it, and the member lists of code completion.
#include "backtest.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/reflect/component.h"
#include "script/catalogue/qscatalogue.h"
#include "script/core/qslanguages.h"
#include "script/items/qsclasses.h"
#include "script/parser/qsparser.h"
#include "script/tools/qstools.h"
#include "script/xml/qsxml.h"

#include <gtest/gtest.h>

namespace {

struct LanguageCase
{
    const char *language;
    const char *source;       // lines joined by "\n"
    QStringList runLines;     // positions the line hook reports, in order
    std::vector<int> notExecutable;
};

// Every statement reports its own line and the column where its text begins; those lines
// and no others are executable (the gutter's breakpoint marks follow them).
TEST(DesignerScriptServices, LineHookPositionsAndExecutableLines)
{
    const LanguageCase cases[] = {
        {"DozovoZozedi", "var a: Integer;\nbegin\n  a := 1;\n    if a = 1 then\n      a := 2\nend.",
         {"3:3", "4:5", "5:7"}, {1, 2, 6}},
        {"D++Iraved", "int a;\n{\n  a = 1;\n    if (a == 1)\n      a = 2;\n}", {"3:3", "4:5", "5:7"}, {1, 2, 6}},
        {"DevavAraroz", "dim a\na = 1\n  if a = 1 then\n    a = 2\n  end if", {"2:1", "3:3", "4:5"}, {1}},
        {"JScript", "var a;\na = 1;\n  if (a == 1)\n    a = 2;", {"2:1", "3:3", "4:5"}, {}},
    };
    for (const LanguageCase &c : cases) {
        SCOPED_TRACE(c.language);
        auto s = backtest::make(c.language, QString::fromLatin1(c.source));
        ASSERT_TRUE(s->Compile()) << s->ErrorMsg.toStdString() << " at " << s->ErrorPos.toStdString();
        QStringList seen;
        s->SetOnRunLine([&](TqsScript *, const QString &unit, const QString &pos) {
            EXPECT_TRUE(unit.isEmpty());
            seen << pos;
        });
        s->Execute();
        EXPECT_EQ(seen, c.runLines);
        for (const QString &pos : c.runLines)
            EXPECT_TRUE(s->IsExecutableLine(qsPosToPoint(pos).y())) << pos.toStdString();
        for (int line : c.notExecutable)
            EXPECT_FALSE(s->IsExecutableLine(line)) << line;
        // Stopping from the hook (the debugger's Reset) runs nothing more.
        seen.clear();
        s->SetOnRunLine([&](TqsScript *, const QString &, const QString &pos) {
            seen << pos;
            s->Terminate();
        });
        s->SetVariables(QStringLiteral("a"), Variant(0));
        s->Execute();
        EXPECT_EQ(seen, c.runLines.mid(0, 1));
        EXPECT_EQ(s->Variables(QStringLiteral("a")).toInt(), 0);
        // Once the hook is gone, running reports nothing.
        s->SetOnRunLine({});
        seen.clear();
        s->Execute();
        EXPECT_TRUE(seen.isEmpty());
    }
}

// The watch list shows what Evaluate answers: the value, or the compiler's message for an
// expression that does not compile, without raising.
TEST(DesignerScriptServices, EvaluateAnswersValueOrErrorText)
{
    struct Case
    {
        const char *language, *good, *bad;
    } cases[] = {
        {"DozovoZozedi", "n + 1", "n +"},
        {"D++Iraved", "n + 1", "n +"},
        {"DevavAraroz", "n + 1", "n +"},
        {"JScript", "n + 1", "n +"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.language);
        auto s = backtest::make(c.language, QString());
        s->AddVariable(QStringLiteral("n"), QStringLiteral("Integer"), Variant(41));
        EXPECT_EQ(s->Evaluate(QString::fromLatin1(c.good)).toInt(), 42);
        const Variant bad = s->Evaluate(QString::fromLatin1(c.bad));
        EXPECT_TRUE(s->EvaluteRiseError);
        ASSERT_TRUE(bad.isString());
        EXPECT_FALSE(bad.toString().isEmpty());
        // The compile error of the program itself is not disturbed by an evaluation.
        EXPECT_TRUE(s->ErrorMsg.isEmpty());
    }
}

TEST(DesignerScriptServices, CompileErrorGivesMessageAndPosition)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral("begin\n  a := ;\nend."));
    s->AddVariable(QStringLiteral("a"), QStringLiteral("Integer"), Variant(0));
    EXPECT_FALSE(s->Compile());
    EXPECT_FALSE(s->ErrorMsg.isEmpty());
    const QPoint at = qsPosToPoint(s->ErrorPos);
    EXPECT_EQ(at.y(), 2);
    EXPECT_GE(at.x(), 8);
}

TEST(DesignerScriptServices, LanguageRegistryAsTheDesignerListsIt)
{
    backtest::ensureLanguages();
    qsRegisterLanguage(QStringLiteral("@designerhidden"), QStringLiteral("<?xml version=\"1.0\"?><language/>"));
    QStringList list;
    qsGetLanguageList(list);
    EXPECT_EQ(list.mid(0, 4), (QStringList{"DozovoZozedi", "D++Iraved", "DevavAraroz", "JScript"}));
    for (const QString &name : list)
        EXPECT_FALSE(name.startsWith(QLatin1Char('@'))) << name.toStdString();
    // The editor reads each language's "parser" element from its grammar.
    for (const QString &name : list) {
        TqsXMLDocument doc;
        doc.LoadFromBytes(qsGetLanguage(name).toUtf8());
        EXPECT_GE(doc.Root()->Find(QStringLiteral("parser")), 0) << name.toStdString();
    }
    EXPECT_EQ(qsGetLanguage(QStringLiteral("jscript")), qsGetLanguage(QStringLiteral("JScript")));
    EXPECT_THROW(qsGetLanguage(QStringLiteral("Klingon")), Exception);
    EXPECT_THROW(qsGetLanguage(QString()), Exception);
}

TEST(DesignerScriptServices, PositionTexts)
{
    struct Case
    {
        const char *text;
        QPoint point;
    } cases[] = {{"", QPoint(0, 0)}, {"1:1", QPoint(1, 1)}, {"12:5", QPoint(5, 12)}, {"300:42", QPoint(42, 300)}};
    for (const Case &c : cases)
        EXPECT_EQ(qsPosToPoint(QString::fromLatin1(c.text)), c.point) << c.text;
    for (const char *bad : {"12", "a:b", ":", "3:"})
        EXPECT_THROW(qsPosToPoint(QString::fromLatin1(bad)), EConvertError) << bad;
}

// The code editor's colouring scan: the tokenizer set up from the grammar's "parser"
// element, not skipping blanks by itself and counting plain character indexes. Codes per
// character: 3 blanks and comments, 4 keywords, 1 other words and characters, 6 numbers,
// 5 strings.
QString Colour(TqsParser &p, const QString &text)
{
    QString codes(text.size(), QLatin1Char('?'));
    const auto mark = [&](int from, int to, char code) {
        for (int i = from; i < to; ++i)
            codes[i - 1] = QLatin1Char(code);
    };
    p.SetText(text);
    while (p.Position() <= p.Size()) {
        const int blank = p.Position();
        p.SkipSpaces();
        mark(blank, p.Position(), '3');
        if (p.Position() > p.Size())
            break;
        const int start = p.Position();
        char code = '1';
        const QString word = p.GetWord();
        if (!word.isEmpty()) {
            EXPECT_EQ(p.LastPosition(), start);
            code = p.IsKeyWord(word) ? '4' : '1';
        } else if (!p.GetNumber().isEmpty()) {
            code = '6';
        } else if (!p.GetString().isEmpty()) {
            code = '5';
        } else {
            p.SetPosition(start + 1);
        }
        mark(start, p.Position(), code);
    }
    return codes;
}

void SetUpFromGrammar(TqsParser &p, const QString &language)
{
    TqsXMLDocument doc;
    doc.LoadFromBytes(qsGetLanguage(language).toUtf8());
    TqsXMLItem *parser = doc.Root()->FindItem(QStringLiteral("parser"));
    p.ClearKeywords();
    for (int i = 0; i < parser->Count(); ++i) {
        TqsXMLItem *item = parser->Items(i);
        const QString name = item->Name.toLower(), text = item->Prop(QStringLiteral("text"));
        if (name == QLatin1String("keywords"))
            for (int k = 0; k < item->Count(); ++k)
                p.AddKeyword(item->Items(k)->Name);
        else if (name == QLatin1String("identchars"))
            p.ConstructCharset(text);
        else if (name == QLatin1String("commentline1"))
            p.CommentLine1 = text;
        else if (name == QLatin1String("commentline2"))
            p.CommentLine2 = text;
        else if (name == QLatin1String("commentblock1"))
            p.SetCommentBlock1(text);
        else if (name == QLatin1String("commentblock2"))
            p.SetCommentBlock2(text);
        else if (name == QLatin1String("stringquotes"))
            p.StringQuotes = text;
        else if (name == QLatin1String("hexsequence"))
            p.HexSequence = text;
    }
}

TEST(DesignerScriptServices, TokenizerAsTheCodeEditorDrivesIt)
{
    backtest::ensureLanguages();
    struct Case
    {
        const char *language, *text, *codes;
    } cases[] = {
        // codes per token, separated by blanks for reading
        {"DozovoZozedi", "begin x := $1F; { c }\r\n s := 'a b' end.",
         "44444 3 1 3 11 3 666 1 333333333 1 3 11 3 55555 3 444 1"},
        {"DozovoZozedi", "if 12 then // x", "44 3 66 3 4444 33333"},
        {"D++Iraved", "if (x) /* c */ s = \"q\"; return 0x1F;", "44 3 1 1 1 333333333 1 3 1 3 555 1 3 444444 3 6666 1"},
        {"JScript", "var s = \"a\"; // c", "444 3 1 3 1 3 555 1 33333"},
        {"DevavAraroz", "dim x = 0x10 ' note", "444 3 1 3 1 3 6666 3333333"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.language);
        TqsParser p;
        p.SkipSpace = false;
        p.UseY = false;
        SetUpFromGrammar(p, QString::fromLatin1(c.language));
        EXPECT_EQ(Colour(p, QString::fromLatin1(c.text)), QString::fromLatin1(c.codes).remove(QLatin1Char(' '))) << c.text;
    }
}

TEST(DesignerScriptServices, TokenizerWithUseYOffCountsPlainIndexes)
{
    TqsParser p;
    p.SkipSpace = false;
    p.UseY = false;
    p.SetText(QStringLiteral("ab\r\n  cd"));
    EXPECT_EQ(p.GetWord(), QStringLiteral("ab"));
    EXPECT_EQ(p.Position(), 3);
    p.SkipSpaces();
    EXPECT_EQ(p.Position(), 7);
    EXPECT_EQ(p.GetWord(), QStringLiteral("cd"));
    EXPECT_EQ(p.LastPosition(), 7);
    EXPECT_EQ(p.Position(), 9);
    p.SetPosition(5);
    EXPECT_EQ(p.Position(), 5);
    EXPECT_EQ(p.LastPosition(), 5);
}

// Code completion lists a class's members with their kinds and declared types.
TEST(DesignerScriptServices, ClassesAndMembersForCompletion)
{
    TqsScript script;
    script.AddRTTI();
    TqsClassVariable *persistent = script.AddClass(TPersistent::StaticClass(), QString());
    persistent->AddMethod(QStringLiteral("procedure Assign(Source: TPersistent)"), TqsModuleCall());
    TqsClassVariable *component = script.AddClass(TComponent::StaticClass(), QStringLiteral("TPersistent"));
    component->AddProperty(QStringLiteral("Name"), QStringLiteral("String"), {});
    component->AddMethod(QStringLiteral("function FindComponent(AName: String): TComponent"), TqsModuleCall());
    component->AddIndexProperty(QStringLiteral("Components"), QStringLiteral("Integer"), QStringLiteral("TComponent"), {});
    component->AddEvent(QStringLiteral("OnDone"), {});

    ASSERT_EQ(script.FindClass(QStringLiteral("tcomponent")), component);
    EXPECT_EQ(script.FindClass(QStringLiteral("TNothing")), nullptr);
    ASSERT_NE(component->Find(QStringLiteral("Assign")), nullptr); // from the ancestor
    EXPECT_EQ(component->Find(QStringLiteral("Name"))->TypeName(), QStringLiteral("String"));
    EXPECT_EQ(component->Find(QStringLiteral("FindComponent"))->TypeName(), QStringLiteral("TComponent"));
    EXPECT_EQ(component->Find(QStringLiteral("Nothing")), nullptr);

    TqsXMLItem members;
    GenerateMembers(&script, TComponent::StaticClass(), &members);
    QStringList texts;
    for (int i = 0; i < members.Count(); ++i)
        texts << members.Items(i)->Prop(QStringLiteral("text"));
    for (const char *t : {"property Name: String", "function FindComponent(AName: String): TComponent",
                          "index property Components(p0: Integer): TComponent", "event OnDone",
                          "procedure Assign(Source: TPersistent)"})
        EXPECT_TRUE(texts.contains(QLatin1String(t))) << t << "\n" << texts.join(QLatin1Char('\n')).toStdString();
}

// The designer registers its own names with itself as owner and takes them away again.
TEST(DesignerScriptServices, ClearItemsRemovesOnlyTheOwnersNames)
{
    TqsScript script;
    int owner = 0;
    script.AddVariable(QStringLiteral("Kept"), QStringLiteral("Integer"), Variant(1));
    script.AddedBy = &owner;
    script.AddVariable(QStringLiteral("Mine"), QStringLiteral("Integer"), Variant(2));
    script.AddedBy = nullptr;
    script.ClearItems(&owner);
    EXPECT_EQ(script.Find(QStringLiteral("Mine")), nullptr);
    EXPECT_NE(script.Find(QStringLiteral("Kept")), nullptr);
}

} // namespace
