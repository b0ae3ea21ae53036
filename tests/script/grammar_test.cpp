// The language registry, the four grammars and the engine's message table.
#include "script/compiler/qsgrammar.h"
#include "platform/rtl/exceptions.h"
#include "script/core/qslanguages.h"
#include "script/core/qsmessages.h"
#include "scripttest.h"

#include <gtest/gtest.h>

TEST(QsGrammars, RulesKeywordsAndErrorsOfTheFourLanguages)
{
    scripttest::ensureLanguages();
    struct Case
    {
        const char *name;
        int rules, keywords;
        const char *err3;
        bool declareVars;
    } cases[] = {
        {"DozovoZozedi", 48, 40, "Statement expected", true},
        {"D++Iraved", 47, 19, "Statement expected", true},
        {"DevavAraroz", 47, 40, "End of line expected", false},
        {"JScript", 42, 22, "Statement expected", false},
    };
    for (const Case &c : cases) {
        const auto g = qsGetCompiledLanguage(QString::fromLatin1(c.name));
        EXPECT_EQ(g->LanguageName, QString::fromLatin1(c.name));
        EXPECT_EQ(g->RuleCount(), c.rules) << c.name;
        EXPECT_EQ(g->Keywords.size(), c.keywords) << c.name;
        EXPECT_EQ(g->UnresolvedReferences(), QStringList()) << c.name;
        EXPECT_EQ(g->Elements[g->Rules[0]].Name, QStringLiteral("empty")) << c.name;
        EXPECT_EQ(g->Elements[g->Rules[1]].Name, QStringLiteral("program")) << c.name;
        EXPECT_EQ(g->NeedDeclareVars, c.declareVars) << c.name;
        EXPECT_EQ(g->Elements[g->ProgramRule].Kind, TqsGKind::Rule);
        // DozovoZozedi ignores text after its final ".".
        const bool ignoresTrailing = QLatin1String(c.name) == QLatin1String("DozovoZozedi");
        EXPECT_EQ(g->TrailingError, ignoresTrailing ? QString() : QString::fromLatin1(c.err3)) << c.name;
    }
    EXPECT_EQ(qsGetCompiledLanguage(QStringLiteral("D++Iraved"))->Types->Count(), 5);
    EXPECT_EQ(qsGetCompiledLanguage(QStringLiteral("DevavAraroz"))->Types->Items(0)->Prop(QStringLiteral("type")),
              QStringLiteral("extended"));
}

TEST(QsGrammars, EveryErrorReferenceNamesADefinedText)
{
    scripttest::ensureLanguages();
    for (const char *name : {"DozovoZozedi", "D++Iraved", "DevavAraroz", "JScript"}) {
        const auto g = qsGetCompiledLanguage(QString::fromLatin1(name));
        for (const TqsGElement &e : g->Elements) {
            if (e.HasErr) {
                EXPECT_FALSE(e.ErrText.isEmpty()) << name << " element " << qPrintable(e.Name);
            }
        }
    }
}

TEST(QsLanguages, RegistryLooksUpCaseInsensitivelyAndKeepsOrder)
{
    scripttest::ensureLanguages();
    QStringList list{QStringLiteral("stale")};
    qsRegisterLanguage(QStringLiteral("@hidden"), QStringLiteral("<?xml version=\"1.0\"?><language><program/></language>"));
    qsGetLanguageList(list);
    EXPECT_EQ(list.mid(0, 4), (QStringList{QStringLiteral("DozovoZozedi"), QStringLiteral("D++Iraved"),
                                          QStringLiteral("DevavAraroz"), QStringLiteral("JScript")}));
    EXPECT_FALSE(list.contains(QStringLiteral("@hidden")));
    EXPECT_EQ(qsGetLanguage(QStringLiteral("dozovozozedi")), qsDozovoGrammar());

    qsRegisterLanguage(QStringLiteral("@replace"), QStringLiteral("one"));
    qsRegisterLanguage(QStringLiteral("@REPLACE"), QStringLiteral("two"));
    EXPECT_EQ(qsGetLanguage(QStringLiteral("@replace")), QStringLiteral("two"));

    try {
        qsGetLanguage(QStringLiteral("Klingon"));
        ADD_FAILURE();
    } catch (const Exception &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Language 'Klingon' not found"));
    }
}

TEST(QsLanguages, BrokenGrammarsRaiseInvalidLanguage)
{
    scripttest::ensureLanguages();
    qsRegisterLanguage(QStringLiteral("@noxml"), QStringLiteral("not a grammar"));
    qsRegisterLanguage(QStringLiteral("@noprogram"), QStringLiteral("<?xml version=\"1.0\"?><language><empty/></language>"));
    // An undefined rule is only an error when the walk reaches it.
    qsRegisterLanguage(QStringLiteral("@undefined"),
                       QStringLiteral("<?xml version=\"1.0\"?><language><program><optional><keyword text=\"x\"/>"
                                      "<nosuchrule/></optional></program></language>"));
    for (const char *name : {"@noxml", "@noprogram"}) {
        try {
            qsGetCompiledLanguage(QString::fromLatin1(name));
            ADD_FAILURE() << name;
        } catch (const Exception &e) {
            EXPECT_EQ(e.message(), QStringLiteral("Invalid language definition"));
        }
    }
    EXPECT_EQ(qsGetCompiledLanguage(QStringLiteral("@undefined"))->UnresolvedReferences(),
              QStringList{QStringLiteral("nosuchrule")});
    EXPECT_TRUE(scripttest::walk(QStringLiteral("@undefined"), QStringLiteral("y")).ok);
    EXPECT_THROW(scripttest::walk(QStringLiteral("@undefined"), QStringLiteral("x")), Exception);
}

TEST(QsMessages, DefaultsReplacementAndFormatting)
{
    qsResetMessages();
    ASSERT_EQ(qsMessageKeys().size(), 17);
    EXPECT_EQ(qsMessageKeys().first(), QStringLiteral("SLangNotFound"));
    EXPECT_EQ(qsMessageKeys().last(), QStringLiteral("SEventError"));
    EXPECT_EQ(qsMessage(u"SIdRedeclared"), QStringLiteral("Identifier redeclared: "));
    EXPECT_EQ(qsFormatMessage(u"SClassError", QStringLiteral("TFoo")),
              QStringLiteral("Class TFoo does not have a default property"));
    EXPECT_EQ(qsMessage(u"NoSuchKey"), QStringLiteral("NoSuchKey"));
    EXPECT_FALSE(qsSetMessage(u"NoSuchKey", QStringLiteral("x")));

    // Replacements apply to every later error, also those raised by the compiler.
    ASSERT_TRUE(qsSetMessage(u"SLangNotFound", QStringLiteral("Lingua '%s' non trovata")));
    TqsScript script;
    script.SyntaxType = QStringLiteral("Klingon");
    EXPECT_FALSE(script.Compile());
    EXPECT_EQ(script.ErrorMsg, QStringLiteral("Lingua 'Klingon' non trovata"));
    qsResetMessages();
    EXPECT_EQ(qsMessage(u"SLangNotFound"), QStringLiteral("Language '%s' not found"));
}
