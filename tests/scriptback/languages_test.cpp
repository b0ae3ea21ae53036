// The same small programs in the four languages give the same results.
#include "backtest.h"
#include "platform/rtl/reflect/component.h"
#include "script/compiler/qsgrammar.h"
#include "script/compiler/qsilparser.h"
#include "script/core/qslanguages.h"
#include "script/xml/qsxml.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

struct Program
{
    const char *what, *language, *source;
    const char *expected; // text of variable r after the run
};

const Program programs[] = {
    // break and continue: the odd numbers up to 7
    {"loops", "DozovoZozedi",
     "var r, i: Integer;\nbegin r := 0;\n for i := 1 to 10 do begin\n  if i mod 2 = 0 then continue;\n"
     "  if i > 7 then break;\n  r := r + i;\n end;\nend.", "16"},
    {"loops", "D++Iraved",
     "int r, i;\n{ r = 0;\n for (i = 1; i <= 10; i++) {\n  if (i % 2 == 0) continue;\n  if (i > 7) break;\n  r = r + i;\n }\n}",
     "16"},
    {"loops", "DevavAraroz",
     "Dim r, i\nr = 0\nFor i = 1 To 10\n If i Mod 2 = 0 Then continue\n If i > 7 Then break\n r = r + i\nNext", "16"},
    {"loops", "JScript",
     "var r = 0;\nfor (var i = 1; i <= 10; i++) {\n if (i % 2 == 0) continue;\n if (i > 7) break;\n r = r + i;\n}", "16"},

    // while with break inside a nested block, repeat / do-while
    {"while", "DozovoZozedi",
     "var r, i: Integer;\nbegin r := 0; i := 0;\n while i < 100 do begin i := i + 1; begin if i = 5 then break; end; r := r + i end;\n"
     " repeat i := i - 1 until i <= 2;\n r := r * 10 + i\nend.", "102"},
    {"while", "D++Iraved",
     "int r, i;\n{ r = 0; i = 0;\n while (i < 100) { i = i + 1; { if (i == 5) break; } r = r + i; }\n"
     " do i = i - 1; while (i > 2);\n r = r * 10 + i;\n}", "102"},
    {"while", "DevavAraroz",
     "Dim r, i\nr = 0 : i = 0\nWhile i < 100\n i = i + 1\n If i = 5 Then break\n r = r + i\nWend\n"
     "Do\n i = i - 1\nLoop Until i <= 2\nr = r * 10 + i", "102"},
    {"while", "JScript",
     "var r = 0, i = 0;\nwhile (i < 100) { i = i + 1; { if (i == 5) break; } r = r + i; }\n"
     "do { i = i - 1; } while (i > 2);\nr = r * 10 + i;", "102"},

    // exceptions: except sees the message, finally always runs
    {"try", "DozovoZozedi",
     "var r: String; x: Integer;\nbegin r := '';\n try x := 1 div 0; r := 'no' except r := 'E:' + ExceptionClassName end;\n"
     " try r := r + ',t' finally r := r + ',f' end\nend.", "E:EDivByZero,t,f"},
    {"try", "D++Iraved",
     "string r; int x;\n{ r = \"\";\n try { x = 1 div 0; r = \"no\"; } except { r = \"E:\" + ExceptionClassName; }\n"
     " try { r = r + \",t\"; } finally { r = r + \",f\"; }\n}", "E:EDivByZero,t,f"},
    {"try", "DevavAraroz",
     "Dim r, x\nr = \"\"\nTry\n x = 1 \\ 0\n r = \"no\"\nCatch\n r = \"E:\" & ExceptionClassName\nEnd Try\n"
     "Try\n r = r & \",t\"\nFinally\n r = r & \",f\"\nEnd Try", "E:EDivByZero,t,f"},
    {"try", "JScript",
     "var r = \"\", x;\ntry { x = 1 div 0; r = \"no\"; } except { r = \"E:\" + ExceptionClassName; }\n"
     "try { r = r + \",t\"; } finally { r = r + \",f\"; }", "E:EDivByZero,t,f"},

    // recursion, with arguments passed in another order
    {"recursion", "DozovoZozedi",
     "var r: String;\nprocedure Hanoi(n: Integer; src, dest, via: String);\nbegin\n if n > 0 then begin\n"
     "  Hanoi(n - 1, src, via, dest); r := r + src + dest + ' '; Hanoi(n - 1, via, dest, src)\n end\nend;\n"
     "begin r := ''; Hanoi(2, 'A', 'C', 'B') end.", "AB AC BC "},
    {"recursion", "D++Iraved",
     "string r;\nvoid Hanoi(int n, string src, string dest, string via) {\n if (n > 0) {\n"
     "  Hanoi(n - 1, src, via, dest); r = r + src + dest + \" \"; Hanoi(n - 1, via, dest, src);\n }\n}\n"
     "{ r = \"\"; Hanoi(2, \"A\", \"C\", \"B\"); }", "AB AC BC "},
    {"recursion", "DevavAraroz",
     "Dim r\nSub Hanoi(n, src, dest, via)\n If n > 0 Then\n  Hanoi(n - 1, src, via, dest)\n  r = r & src & dest & \" \"\n"
     "  Hanoi(n - 1, via, dest, src)\n End If\nEnd Sub\nr = \"\"\nHanoi(2, \"A\", \"C\", \"B\")", "AB AC BC "},
    {"recursion", "JScript",
     "var r = \"\";\nfunction Hanoi(n, src, dest, via) {\n if (n > 0) {\n"
     "  Hanoi(n - 1, src, via, dest); r = r + src + dest + \" \"; Hanoi(n - 1, via, dest, src);\n }\n}\n"
     "Hanoi(2, \"A\", \"C\", \"B\");", "AB AC BC "},

    // var parameters, also into a local of a running activation
    {"varparams", "DozovoZozedi",
     "var r: Integer;\nprocedure P(var x: Integer; d: Integer);\nvar y: Integer;\nbegin\n x := x + d;\n"
     " if d = 1 then begin y := 10; P(y, 5); x := x + y end\nend;\nbegin r := 0; P(r, 1) end.", "16"},
    {"varparams", "D++Iraved",
     "int r;\nvoid P(int &x, int d) {\n int y;\n x = x + d;\n if (d == 1) { y = 10; P(y, 5); x = x + y; }\n}\n"
     "{ r = 0; P(r, 1); }", "16"},
    {"varparams", "DevavAraroz",
     "Dim r\nSub P(ByRef x, ByVal d)\n Dim y\n x = x + d\n If d = 1 Then\n  y = 10\n  P(y, 5)\n  x = x + y\n End If\nEnd Sub\n"
     "r = 0\nP(r, 1)", "16"},
    {"varparams", "JScript",
     "var r = 0;\nfunction P(&x, d) {\n var y;\n x = x + d;\n if (d == 1) { y = 10; P(y, 5); x = x + y; }\n}\nP(r, 1);", "16"},

    // strings: characters by index, concatenation
    {"strings", "DozovoZozedi",
     "var r, s: String;\nbegin s := 'abc'; s[2] := 'X'; r := s + s[3] + IntToStr(Length(s)) end.", "aXcc3"},
    {"strings", "D++Iraved",
     "string r, s;\n{ s = \"abc\"; s[2] = \"X\"; r = s + s[3] + IntToStr(Length(s)); }", "aXcc3"},
    {"strings", "DevavAraroz", "Dim r, s\ns = \"abc\"\ns[2] = \"X\"\nr = s & s[3] & Length(s)", "aXcc3"},
    {"strings", "JScript", "var r, s = \"abc\";\ns[2] = \"X\";\nr = s + s[3] + IntToStr(Length(s));", "aXcc3"},

    // arrays: declared bounds, two dimensions
    {"arrays", "DozovoZozedi",
     "var r, i: Integer; a: array[1..3] of Integer; m: array[2, 2] of Integer;\n"
     "begin for i := 1 to 3 do a[i] := i * i; m[1, 0] := 7; r := a[1] + a[2] + a[3] + m[1, 0] end.", "21"},
    {"arrays", "D++Iraved",
     "int r, i, a[4], m[2][2];\n{ for (i = 1; i <= 3; i++) a[i] = i * i; m[1][0] = 7; r = a[1] + a[2] + a[3] + m[1][0]; }", "21"},
    {"arrays", "DevavAraroz",
     "Dim r, i, a[4], m[2, 2]\nFor i = 1 To 3\n a[i] = i * i\nNext\nm[1, 0] = 7\nr = a[1] + a[2] + a[3] + m[1, 0]", "21"},
    {"arrays", "JScript",
     "var r, a[4], m[2, 2];\nfor (var i = 1; i <= 3; i++) a[i] = i * i;\nm[1, 0] = 7;\nr = a[1] + a[2] + a[3] + m[1, 0];", "21"},

    // an element index that reads the same array, directly and through a function
    {"selfindex", "DozovoZozedi",
     "var r: String; a: array[0..3] of Integer;\nfunction F: Integer; begin Result := a[0] + 1 end;\n"
     "begin a[0] := 2; a[a[0]] := 5; a[F] := 7; r := IntToStr(a[2]) + IntToStr(a[3]) end.", "57"},
    {"selfindex", "D++Iraved",
     "string r; int a[4];\nint F() { return a[0] + 1; }\n{ a[0] = 2; a[a[0]] = 5; a[F()] = 7; r = IntToStr(a[2]) + IntToStr(a[3]); }",
     "57"},
    {"selfindex", "DevavAraroz",
     "Dim r, a[4]\nFunction F\n Return a[0] + 1\nEnd Function\na[0] = 2\na[a[0]] = 5\na[F] = 7\nr = a[2] & a[3]", "57"},
    {"selfindex", "JScript",
     "var r, a[4];\nfunction F() { return a[0] + 1; }\na[0] = 2;\na[a[0]] = 5;\na[F()] = 7;\nr = IntToStr(a[2]) + IntToStr(a[3]);",
     "57"},

    // Set is a plain assignment, compound forms included
    {"set", "DevavAraroz",
     "Dim r, c\nSet c = 6 * 7\nSet r = c\nSet r += 1\nSet r -= 2\nr = r & \"\"", "41"},

    // case: sets with ranges, else branch
    {"case", "DozovoZozedi",
     "var r: String; i: Integer;\nbegin r := '';\n for i := 1 to 6 do\n  case i of 1: r := r + 'a'; 2..4: r := r + 'b'; else r := r + 'z'; end\nend.",
     "abbbzz"},
    {"case", "D++Iraved",
     "string r; int i;\n{ r = \"\";\n for (i = 1; i <= 6; i++)\n  switch (i) { case 1: r = r + \"a\"; case 2..4: r = r + \"b\"; default: r = r + \"z\"; }\n}",
     "abbbzz"},
    {"case", "DevavAraroz",
     "Dim r, i\nr = \"\"\nFor i = 1 To 6\n Select Case i\n  Case 1 : r = r & \"a\"\n  Case 2..4 : r = r & \"b\"\n  Case Else : r = r & \"z\"\n End Select\nNext",
     "abbbzz"},
    {"case", "JScript",
     "var r = \"\";\nfor (var i = 1; i <= 6; i++)\n switch (i) { case 1: r = r + \"a\"; case 2..4: r = r + \"b\"; default: r = r + \"z\"; }",
     "abbbzz"},
};

} // namespace

TEST(QsLanguagesRun, SameProgramsSameResults)
{
    for (const Program &p : programs) {
        auto s = backtest::make(p.language, QString::fromUtf8(p.source));
        QString err;
        try {
            err = backtest::run(*s);
        } catch (const Exception &e) {
            err = QStringLiteral("raised ") + e.message();
        }
        EXPECT_EQ(err, QString()) << p.what << " / " << p.language;
        EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QString::fromLatin1(p.expected)) << p.what << " / " << p.language;
    }
}

namespace {

// Programs that between them make every node each grammar can write. The builder must read
// whatever the grammar walk produced: a program it cannot read is a fault of the engine.
struct RuleProgram
{
    const char *language, *source;
};

const RuleProgram ruleProgramList[] = {
    {"DozovoZozedi",
     "uses 'Lib';\nconst k = 3;\nvar r: Integer; x: Integer = 1; a: array[0..2] of Integer; c: TComponent;\n"
     "procedure P(var v: Integer; w: Integer); begin v := v + w end;\n"
     "function F(n: Integer): Integer; begin Result := n; exit end;\n"
     "begin\n r := 0;\n for r := 0 to 1 do if r in [0, 1..2] then continue else break;\n"
     " while r < 3 do r := r + 1;\n repeat r := r - 1 until r < 2;\n case r of 1: r := 2; else r := 3 end;\n"
     " try P(r, 1) except r := 0 end;\n try r := F(r) finally r := r + k end;\n a[0] := Lib1 + x;\n"
     " c := TComponent.Create(nil);\n with c do Tag := 5;\n c.Free;\nend."},
    {"D++Iraved",
     "#include \"Lib\"\n#define k 3\nint r, x = 1, a[3];\nTComponent c;\n"
     "void P(int &v, int w) { v = v + w; }\nint F(int n) { if (n < 0) exit; return n; }\n"
     "{\n r = 0;\n for (r = 0; r < 2; r++) { if (r == 0) continue; else break; };\n while (r < 3) r = r + 1;\n"
     " do r = r - 1; while (r >= 2);\n switch (r) { case 1, 2..3: r = 2; default: r = 3; }\n"
     " try { P(r, 1); } except { r = 0; }\n try { r = F(r); } finally { r = r + k; }\n for (; r < 9; ) { break; }\n"
     " a[0] = Lib1() + x;\n c = new TComponent(nil);\n delete c;\n}"},
    {"DevavAraroz",
     "Imports \"Lib\"\nDim r, x = 1, a[3], c\n"
     "Sub P(ByRef q, ByVal w)\n q = q + w\nEnd Sub\nFunction F(n)\n Return n\nEnd Function\n"
     "r = 0\nFor r = 0 To 1 Step 1\n If r = 0 Then\n  continue\n ElseIf r = 1 Then\n  break\n Else\n  exit\n End If\nNext\n"
     "While r < 3\n r = r + 1\nWend\nDo\n r = r - 1\nLoop Until r < 2\n"
     "Select Case r\n Case 1, 2..3 : r = 2\n Case Else : r = 3\nEnd Select\n"
     "Try\n P(r, 1)\nCatch\n r = 0\nEnd Try\nTry\n r = F(r)\nFinally\n r = r + 1\nEnd Try\n"
     "a[0] = Lib1 + x\nc = New TComponent(Nil)\nSet c.Tag = 4\nWith c\n Tag = 5\nEnd With\nSet r = c.Tag\nDelete c"},
    {"JScript",
     "import \"Lib\"\nvar r = 0, x = 1, a[3], c;\n"
     "function P(&v, w) { v = v + w; }\nfunction F(n) { return n; }\n"
     "for (r = 0; r < 2; r++) { if (r == 0) continue; else break; }\nwhile (r < 3) r = r + 1;\n"
     "do { r = r - 1; } while (r >= 2);\nswitch (r) { case 1, 2..3: r = 2; default: r = 3; }\n"
     "try { P(r, 1); } except { r = 0; }\ntry { r = F(r); } finally { r = r + 1; }\nfor (; r < 9; ) { break; }\n"
     "a[0] = Lib1() + x;\nc = new TComponent(null);\nwith (c) { Tag = 5; }\ndelete c;"},
};

const char *unitText(const QString &language)
{
    if (language == QLatin1String("DozovoZozedi"))
        return "function Lib1: Integer; begin Result := 1 end;\nbegin end.";
    if (language == QLatin1String("D++Iraved"))
        return "int Lib1() { return 1; }\n{}";
    if (language == QLatin1String("DevavAraroz"))
        return "Function Lib1\n Return 1\nEnd Function";
    return "function Lib1() { return 1; }";
}

void collectNames(const TqsXMLItem *item, QSet<QString> &names)
{
    names.insert(item->Name.toLower());
    for (int i = 0; i < item->Count(); ++i)
        collectNames(item->Items(i), names);
}

} // namespace

TEST(QsLanguagesBuild, EveryNodeOfEveryGrammarBuilds)
{
    backtest::ensureLanguages();
    for (const char *language : {"DozovoZozedi", "D++Iraved", "DevavAraroz", "JScript"}) {
        const QString lang = QString::fromLatin1(language);
        QSet<QString> written;
        for (const RuleProgram &p : ruleProgramList) {
            if (lang != QLatin1String(p.language))
                continue;
            auto s = backtest::make(p.language, QString::fromLatin1(p.source));
            s->AddClass(TComponent::StaticClass(), QString());
            s->OnGetUnit = [](TqsScript *sender, const QString &, QString &text) {
                text = QString::fromLatin1(unitText(sender->SyntaxType));
            };
            TqsILParser parser(s.get());
            parser.SelectLanguage(lang);
            ASSERT_TRUE(parser.MakeILScript(s->SourceText())) << language << ": " << s->ErrorMsg.toStdString() << " at "
                                                              << s->ErrorPos.toStdString();
            collectNames(parser.ILScript().Root(), written);
            EXPECT_EQ(backtest::run(*s), QString()) << language;
        }
        const auto grammar = qsGetCompiledLanguage(lang);
        for (const TqsGElement &e : grammar->Elements) {
            if (e.Node.isEmpty())
                continue;
            EXPECT_TRUE(written.contains(e.Node)) << language << ": no program makes <" << e.Node.toStdString() << ">";
        }
    }
}
