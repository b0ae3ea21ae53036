// Script code the designer writes and reads, in the four languages.
#include "designer/core/codeutils.h"
#include "platform/rtl/reflect/typeinfo.h"
#include "platform/rtl/stringlist.h"
#include "report/core/kvlcomponent.h"
#include "report/resources/kvlresources.h"

#include <gtest/gtest.h>

namespace {

const QString Pascal = QStringLiteral("DozovoZozedi");
const QString Cpp = QStringLiteral("D++Iraved");
const QString Basic = QStringLiteral("DevavAraroz");
const QString JS = QStringLiteral("JScript");

TStringList lines(std::initializer_list<const char *> l)
{
    TStringList out;
    for (const char *s : l)
        out.Add(QString::fromUtf8(s));
    return out;
}

QStringList all(const TStringList &l) { return l.toQStringList(); }

const rtl::TypeInfo *event(const char *name) { return kvltypes::Event(name); }

class DesignerCode : public ::testing::Test {
protected:
    DesignerCode() { kvlAddCodeRes(); }
};

} // namespace

TEST_F(DesignerCode, LanguageDescriptionsAndTheirParameters)
{
    struct Row {
        QString lang;
        const char *proc, *begin, *end, *lastend, *open, *close;
    } rows[] = {
        {Pascal, "procedure", "begin", "end;", "end.", "{", "}"},
        {Cpp, "void", "{", "}", "}", "/*", "*/"},
        {Basic, "sub", "", "end sub", "", "/\\", "/\\"},
        {JS, "function", "{", "}", "", "/*", "*/"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.lang.toStdString());
        const char *values[] = {r.proc, r.begin, r.end, r.lastend, r.open, r.close};
        const char *names[] = {"proc", "begin", "end", "lastend", "openquote", "closequote"};
        QStringList pairs;
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(kvlGetLanguageParam(r.lang, QLatin1String(names[i])), QLatin1String(values[i])) << names[i];
            pairs << QStringLiteral("%1=\"%2\"").arg(QLatin1String(names[i]), QLatin1String(values[i]));
        }
        EXPECT_EQ(kvlResources().Get(r.lang), pairs.join(u' '));
        // Any case.
        EXPECT_EQ(kvlGetLanguageParam(r.lang, QStringLiteral("LASTEND")), QLatin1String(r.lastend));
    }
    EXPECT_EQ(kvlGetLanguageParam(QStringLiteral("Cobol"), QStringLiteral("proc")), QString());
    EXPECT_EQ(kvlGetLanguageParam(Pascal, QStringLiteral("nothing")), QString());
    // "end" is not found inside "lastend".
    kvlResources().Add(QStringLiteral("Test1"), QStringLiteral("lastend=\"x\" end=\"y\""));
    EXPECT_EQ(kvlGetLanguageParam(QStringLiteral("Test1"), QStringLiteral("end")), QStringLiteral("y"));
}

TEST_F(DesignerCode, EventParameterListsPerLanguage)
{
    struct Row {
        const char *type, *pascal, *cpp, *basic, *js;
    } rows[] = {
        {"TkvlNotifyEvent", "(Sender: TkvlComponent);", "(TkvlComponent Sender)", "(Sender)", "(Sender)"},
        {"TkvlCloseQueryEvent", "(Sender: TkvlComponent; var CanClose: Boolean);",
         "(TkvlComponent Sender, bool &CanClose)", "(Sender, byref CanClose)", "(Sender, &CanClose)"},
        {"TkvlKeyEvent", "(Sender: TkvlComponent; var Key: Word; Shift: Integer);",
         "(TkvlComponent Sender, word &Key, int Shift)", "(Sender, byref Key, Shift)", "(Sender, &Key, Shift)"},
        {"TkvlKeyPressEvent", "(Sender: TkvlComponent; var Key: Char);", "(TkvlComponent Sender, char &Key)",
         "(Sender, byref Key)", "(Sender, &Key)"},
        {"TkvlMouseEvent", "(Sender: TkvlComponent; Button: TMouseButton; Shift: Integer; X, Y: Integer);",
         "(TkvlComponent Sender, TMouseButton Button, int Shift, int X, int Y)", "(Sender, Button, Shift, X, Y)",
         "(Sender, Button, Shift, X, Y)"},
        {"TkvlMouseMoveEvent", "(Sender: TkvlComponent; Shift: Integer; X, Y: Integer);",
         "(TkvlComponent Sender, int Shift, int X, int Y)", "(Sender, Shift, X, Y)", "(Sender, Shift, X, Y)"},
        {"TkvlPreviewClickEvent", "(Sender: TkvlView; Button: TMouseButton; Shift: Integer; var Modified: Boolean);",
         "(TkvlView Sender, TMouseButton Button, int Shift, bool &Modified)",
         "(Sender, Button, Shift, byref Modified)", "(Sender, Button, Shift, &Modified)"},
        {"TkvlMouseEnterViewEvent", "(Sender: TkvlView; var Modified: Boolean);", "(TkvlView Sender, bool &Modified)",
         "(Sender, byref Modified)", "(Sender, &Modified)"},
        {"TkvlMouseLeaveViewEvent", "(Sender: TkvlView; var Modified: Boolean);", "(TkvlView Sender, bool &Modified)",
         "(Sender, byref Modified)", "(Sender, &Modified)"},
        {"TkvlRunDialogsEvent", "(var Result: Boolean);", "(bool &Result)", "(byref Result)", "(&Result)"},
    };
    for (const Row &r : rows) {
        const QString type = QLatin1String(r.type);
        EXPECT_EQ(kvlGetEventParams(type, Pascal), QLatin1String(r.pascal)) << r.type;
        EXPECT_EQ(kvlGetEventParams(type, Cpp), QLatin1String(r.cpp)) << r.type;
        EXPECT_EQ(kvlGetEventParams(type, Basic), QLatin1String(r.basic)) << r.type;
        EXPECT_EQ(kvlGetEventParams(type, JS), QLatin1String(r.js)) << r.type;
        EXPECT_EQ(kvlResources().Get(type),
                  QStringLiteral("DozovoZozedi=%1\r\nD++Iraved=%2\r\nDevavAraroz=%3\r\nJScript=%4")
                      .arg(QLatin1String(r.pascal), QLatin1String(r.cpp), QLatin1String(r.basic), QLatin1String(r.js)));
    }
    EXPECT_EQ(kvlGetEventParams(QStringLiteral("TkvlNoSuchEvent"), Pascal), QString());
    EXPECT_EQ(kvlGetEventParams(QStringLiteral("TkvlNotifyEvent"), QStringLiteral("Cobol")), QString());
}

TEST_F(DesignerCode, EmptyScripts)
{
    const std::pair<QString, QStringList> cases[] = {
        {Pascal, {QStringLiteral("begin"), QString(), QStringLiteral("end.")}},
        {Cpp, {QStringLiteral("{"), QString(), QStringLiteral("}")}},
        {Basic, {}},
        {JS, {}},
    };
    for (const auto &[lang, expected] : cases) {
        TStringList code = lines({"stale"});
        kvlEmptyCode(code, lang);
        EXPECT_EQ(all(code), expected) << lang.toStdString();
    }
}

// A new handler in each language's empty script, and again with the handler already there.
TEST_F(DesignerCode, HandlerIsWrittenAboveTheMainBlock)
{
    struct Case {
        QString lang;
        QStringList handler;
        int result;
    } cases[] = {
        {Pascal,
         {"procedure Memo1OnClick(Sender: TkvlComponent);", "begin", "", "end;", ""},
         3},
        {Cpp, {"void Memo1OnClick(TkvlComponent Sender)", "{", "", "}", ""}, 3},
        // No main block: an empty script takes the handler at its first line.
        {Basic, {"sub Memo1OnClick(Sender)", "", "", "end sub", ""}, 3},
        {JS, {"function Memo1OnClick(Sender)", "{", "", "}", ""}, 3},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.lang.toStdString());
        TStringList code;
        kvlEmptyCode(code, c.lang);
        const QStringList before = all(code);
        EXPECT_EQ(kvlAddEvent(code, c.lang, event("TkvlNotifyEvent"), QStringLiteral("Memo1OnClick")), c.result);
        EXPECT_EQ(all(code), c.handler + before);
        EXPECT_EQ(kvlLocateEventHandler(code, c.lang, QStringLiteral("memo1onclick")), 0);
        TStringList list;
        kvlGetEventHandlersList(code, c.lang, event("TkvlNotifyEvent"), list);
        EXPECT_EQ(all(list), QStringList{QStringLiteral("Memo1OnClick")});
    }
}

TEST_F(DesignerCode, MainBlockBeginAtLineTenMovesToFifteen)
{
    TStringList code = lines({"procedure Band1OnBeforePrint(Sender: TkvlComponent);",  // 0
                              "begin",
                              "  if Total > 0 then",
                              "  begin",
                              "    Total := 0;",
                              "  end;",  // 5
                              "end;",
                              "{",
                              "end.",
                              "}",
                              "begin",  // 10
                              "  Total := 1; // end;",
                              "end.",
                              "{",
                              "  end.",
                              "}"});
    EXPECT_EQ(kvlLocateMainProc(code, Pascal), 10);
    EXPECT_EQ(kvlAddEvent(code, Pascal, event("TkvlNotifyEvent"), QStringLiteral("Memo1OnClick")), 13);
    EXPECT_EQ(code[10], QStringLiteral("procedure Memo1OnClick(Sender: TkvlComponent);"));
    EXPECT_EQ(code[14], QString());
    EXPECT_EQ(code[15], QStringLiteral("begin"));
    EXPECT_EQ(kvlLocateMainProc(code, Pascal), 15);
}

TEST_F(DesignerCode, MainBlockMissingOrAtTheTop)
{
    struct Case {
        QString lang;
        TStringList code;
        int main;
    } cases[] = {
        {Pascal, lines({"procedure A;", "begin", "end;"}), -1},
        {Pascal, lines({"{", "end.", "}"}), -1},  // only inside a comment
        {Pascal, lines({"END."}), 0},
        {Pascal, lines({"x := 1;", "end."}), 0},  // top reached first
        {Pascal, {}, -1},
        {JS, lines({"a();", "b();", "c();"}), 2},
        {JS, {}, -1},
        {Basic, lines({"x = 1"}), 0},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.code.Text().toStdString());
        EXPECT_EQ(kvlLocateMainProc(c.code, c.lang), c.main);
    }
    // Nothing is inserted where no main block is found.
    TStringList code = lines({"procedure A;", "begin", "end;"});
    EXPECT_EQ(kvlAddEvent(code, Pascal, event("TkvlNotifyEvent"), QStringLiteral("B")), -1);
    EXPECT_EQ(code.Count(), 3);
}

TEST_F(DesignerCode, JScriptHandlerGoesBeforeTheLastLine)
{
    TStringList code = lines({"var x = 1;", "ShowMessage(x);"});
    EXPECT_EQ(kvlAddEvent(code, JS, event("TkvlCloseQueryEvent"), QStringLiteral("DialogPage1OnCloseQuery")), 4);
    EXPECT_EQ(all(code), (QStringList{"var x = 1;", "function DialogPage1OnCloseQuery(Sender, &CanClose)", "{", "",
                                      "}", "", "ShowMessage(x);"}));
}

TEST_F(DesignerCode, CommentedAndIndentedProceduresAreNotHandlers)
{
    TStringList code = lines({"{ old code:",
                              "procedure Memo1OnClick(Sender: TkvlComponent);",
                              "begin",
                              "end;",
                              "}",
                              "  procedure Memo2OnClick(Sender: TkvlComponent);",
                              "PROCEDURE Memo3OnClick(Sender: TKVLCOMPONENT);",
                              "procedure Memo4OnClick ( Sender: TkvlComponent; ) ;",
                              "procedure Memo5OnClick(Sender: TkvlComponent; var Key: Char);",
                              "procedure Memo6OnClick  (Sender: TkvlComponent);  ",
                              "begin",
                              "end."});
    EXPECT_EQ(kvlLocateEventHandler(code, Pascal, QStringLiteral("Memo1OnClick")), -1);
    EXPECT_EQ(kvlLocateEventHandler(code, Pascal, QStringLiteral("Memo2OnClick")), -1);
    EXPECT_EQ(kvlLocateEventHandler(code, Pascal, QStringLiteral("Memo3OnClick")), 6);
    TStringList list;
    kvlGetEventHandlersList(code, Pascal, event("TkvlNotifyEvent"), list);
    EXPECT_EQ(all(list), (QStringList{"Memo3OnClick", "Memo6OnClick"}));
    kvlGetEventHandlersList(code, Pascal, event("TkvlKeyPressEvent"), list);
    EXPECT_EQ(all(list), QStringList{"Memo5OnClick"});
    kvlGetEventHandlersList(code, QStringLiteral("Cobol"), event("TkvlNotifyEvent"), list);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(DesignerCode, BlockCommentsOfTheOtherLanguages)
{
    TStringList cpp = lines({"/*", "void A(TkvlComponent Sender)", "*/", "void B(TkvlComponent Sender)", "{", "}",
                             "{", "}"});
    TStringList list;
    kvlGetEventHandlersList(cpp, Cpp, event("TkvlNotifyEvent"), list);
    EXPECT_EQ(all(list), QStringList{"B"});
    EXPECT_EQ(kvlLocateMainProc(cpp, Cpp), 6);
    // The same text opens and closes: every line holds both, so no comment is ever counted.
    TStringList basic = lines({"/\\ sub A(Sender)", "sub A(Sender)", "/\\", "sub B(Sender)", "end sub"});
    kvlGetEventHandlersList(basic, Basic, event("TkvlNotifyEvent"), list);
    EXPECT_EQ(all(list), (QStringList{"A", "B"}));
}
