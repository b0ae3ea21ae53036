// The general-class and ini-file modules seen from scripts: the registered vocabulary,
// lists, streams and ini files in the four languages, and object arguments that do not
// hold the expected object.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/objecthandles.h"
#include "script/classlib/qsclassesrtti.h"
#include "script/core/qsscript.h"
#include "script/grammar/qsgrammars.h"
#include "script/items/qsclasses.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

std::unique_ptr<TqsScript> Make(const char *language, const QString &source)
{
    static const bool ready = [] {
        qsRegisterStandardLanguages();
        qsRegisterClassLibModules();
        return true;
    }();
    (void)ready;
    auto s = std::make_unique<TqsScript>();
    s->AddRTTI();
    s->SyntaxType = QString::fromLatin1(language);
    s->Lines = source.split(QLatin1Char('\n'));
    return s;
}

// Compiles and runs; "compile: ..." or "raised: ..." on failure, else the text of r.
QString RunScript(const char *language, const QString &source, TqsScript **keep = nullptr)
{
    static std::unique_ptr<TqsScript> last;
    last = Make(language, source);
    if (keep)
        *keep = last.get();
    if (!last->Compile())
        return QStringLiteral("compile: ") + last->ErrorMsg + QStringLiteral(" at ") + last->ErrorPos;
    try {
        last->Execute();
    } catch (const Exception &e) {
        return QStringLiteral("raised: ") + e.message();
    }
    return last->Variables(QStringLiteral("r")).toString();
}

QString FileText(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
}

TEST(ClassLibModules, RegisteredNamesHaveTheirValuesAndAncestors)
{
    auto s = Make("DozovoZozedi", QString());
    const struct
    {
        const char *name;
        int value;
    } constants[] = {{"fmCreate", 65280},     {"fmOpenReadWrite", 2}, {"fmShareDenyNone", 64}, {"soFromEnd", 2},
                     {"dupError", 2},         {"poLandscape", 1}};
    for (const auto &c : constants)
        EXPECT_EQ(s->Variables(QLatin1String(c.name)).toInt(), c.value) << c.name;
    const struct
    {
        const char *cls, *ancestor, *members;
    } classes[] = {
        {"TObject", "", "Create Free ClassName"},
        {"TPersistent", "TObject", "Assign"},
        {"TCollection", "TPersistent", "Clear Count Items"},
        {"TList", "TObject", "Add Clear Delete IndexOf Insert Remove Count Items"},
        {"TStrings", "TPersistent",
         "Create Add AddObject Clear Delete IndexOf IndexOfName IndexOfObject Insert InsertObject LoadFromFile "
         "LoadFromStream SaveToFile Move SaveToStream CommaText Count Text Names Objects Values Strings"},
        {"TStringList", "TStrings", "Find Sort Duplicates Sorted"},
        {"TStream", "TObject", "Read Write Seek CopyFrom Position Size"},
        {"TFileStream", "TStream", "Create"},
        {"TMemoryStream", "TStream", "Clear LoadFromStream LoadFromFile SaveToStream SaveToFile"},
        {"TComponent", "TPersistent", "Create Owner"},
        {"TCustomIniFile", "TObject",
         "Create ReadInteger WriteInteger ReadBool WriteBool ReadDate WriteDate ReadDateTime WriteDateTime ReadFloat "
         "WriteFloat ReadTime WriteTime ReadBinaryStream WriteBinaryStream SectionExists ValueExists WriteTStrings "
         "ReadTStrings FileName"},
        {"TMemIniFile", "TCustomIniFile",
         "Create WriteString ReadString ReadSectionValuesEx DeleteKey ReadSection ReadSections ReadSectionValues "
         "EraseSection Clear GetStrings SetStrings SaveIniFileToStream LoadIniFileFromStream"},
        {"TIniFile", "TCustomIniFile",
         "WriteString ReadString ReadSectionValuesEx DeleteKey ReadSection ReadSections ReadSectionValues EraseSection "
         "SaveIniFileToStream LoadIniFileFromStream"},
    };
    for (const auto &c : classes) {
        SCOPED_TRACE(c.cls);
        TqsClassVariable *cls = s->FindClass(QString::fromLatin1(c.cls));
        ASSERT_NE(cls, nullptr);
        EXPECT_EQ(cls->FAncestor, QLatin1String(c.ancestor));
        for (const QString &m : QString::fromLatin1(c.members).split(QLatin1Char(' '))) {
            bool own = false;
            for (TqsCustomVariable *v : cls->FMembers)
                own = own || v->FName.compare(m, Qt::CaseInsensitive) == 0;
            EXPECT_TRUE(own) << m.toStdString();
        }
    }
    EXPECT_EQ(s->FindClass(u"TStrings")->FDefProperty, s->FindClass(u"TStrings")->Find(u"Strings"));
}

// Sorted list, Find writing the index back, Values and CommaText, in each language.
TEST(ClassLibModules, StringListsBehaveAlikeInTheFourLanguages)
{
    const char *expected = "-11|2|1|a=1,\"b c\",c"; // BoolToStr gives -1 for True
    const struct
    {
        const char *language, *source;
    } programs[] = {
        {"DozovoZozedi",
         "var r: String; l: TStringList; i: Integer;\n"
         "begin l := TStringList.Create; l.Add('c'); l.Add('a=1'); l.Add('b c');\n"
         " l.Sorted := True; i := -1;\n"
         " r := BoolToStr(l.Find('b c', i)) + IntToStr(i) + '|' + IntToStr(l.Count - 1) + '|';\n"
         " r := r + l.Values['a'] + '|' + l.CommaText; l.Free;\nend."},
        {"D++Iraved",
         "string r; TStringList l; int i;\n"
         "{ l = TStringList.Create; l.Add(\"c\"); l.Add(\"a=1\"); l.Add(\"b c\");\n"
         " l.Sorted = true; i = -1;\n"
         " r = BoolToStr(l.Find(\"b c\", i)) + IntToStr(i) + \"|\" + IntToStr(l.Count - 1) + \"|\";\n"
         " r = r + l.Values[\"a\"] + \"|\" + l.CommaText; l.Free; }"},
        {"DevavAraroz",
         "Dim r, l, i, f\n"
         "l = TStringList.Create\nl.Add(\"c\")\nl.Add(\"a=1\")\nl.Add(\"b c\")\n"
         "l.Sorted = True\ni = -1\n"
         "f = l.Find(\"b c\", i)\nr = BoolToStr(f) & IntToStr(i) & \"|\" & IntToStr(l.Count - 1) & \"|\"\n"
         "r = r & l.Values(\"a\") & \"|\" & l.CommaText\nl.Free"},
        {"JScript",
         "var r, l, i;\n"
         "l = TStringList.Create(); l.Add(\"c\"); l.Add(\"a=1\"); l.Add(\"b c\");\n"
         "l.Sorted = true; i = -1;\n"
         "r = BoolToStr(l.Find(\"b c\", i)) + IntToStr(i) + \"|\" + IntToStr(l.Count - 1) + \"|\";\n"
         "r = r + l.Values[\"a\"] + \"|\" + l.CommaText; l.Free();"},
    };
    for (const auto &p : programs)
        EXPECT_EQ(RunScript(p.language, QString::fromLatin1(p.source)), QLatin1String(expected)) << p.language;
}

TEST(ClassLibModules, StreamsMoveOneBytePerCharacter)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.bin"));
    const QString body = QStringLiteral(
        "var r, b: String; f: TFileStream; n: Integer;\n"
        "begin f := TFileStream.Create('%1', fmCreate);\n"
        " n := f.Write('AB' + Chr(200) + 'CD', 4); f.Position := 1; b := '';\n"
        " n := n * 10 + f.Read(b, 99); r := IntToStr(n) + ':' + IntToStr(Length(b)) + ':' + IntToStr(Ord(b[2])) + ':' + IntToStr(f.Size);\n"
        " f.Seek(0, soFromBeginning); f.Read(b, 2); r := r + ':' + b; f.Free;\nend.")
                             .arg(file);
    // 4 written, 3 read back from position 1 (the past-the-end count moves what is there)
    EXPECT_EQ(RunScript("DozovoZozedi", body), QStringLiteral("43:3:200:4:AB"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("AB\xC8" "C"));

    const struct
    {
        const char *what, *statement, *error;
    } faults[] = {
        {"wide character", "m.Write(Chr(300), 1)", "not a byte"},
        {"negative count", "m.Read(b, -1)", "Invalid byte count"},
        {"missing file", "TFileStream.Create('/nonexistent/x', fmOpenRead)", "nonexistent"},
    };
    for (const auto &c : faults) {
        const QString src = QStringLiteral("var r, b: String; m: TMemoryStream;\nbegin m := TMemoryStream.Create; %1; r := 'ran';\nend.")
                                .arg(QLatin1String(c.statement));
        const QString got = RunScript("DozovoZozedi", src);
        EXPECT_TRUE(got.startsWith(QLatin1String("raised: ")) && got.contains(QLatin1String(c.error))) << c.what << ": " << got.toStdString();
    }
}

// Stale, forged and wrong-class object numbers are script errors, never a crash.
TEST(ClassLibModules, ObjectArgumentsAreCheckedThroughTheHandleTable)
{
    const struct
    {
        const char *what, *body;
    } cases[] = {
        {"freed", "l := TStringList.Create; l.Free; l.Add('x')"},
        {"forged", "l := TStringList(12345678); l.Add('x')"},
        {"wrong class", "m := TMemoryStream.Create; l := TStringList(m); l.Add('x')"},
        {"wrong class argument", "l := TStringList.Create; m := TMemoryStream(l); l.SaveToStream(m)"},
    };
    for (const auto &c : cases) {
        const QString src =
            QStringLiteral("var r: String; l: TStringList; m: TMemoryStream;\nbegin %1; r := 'ran';\nend.").arg(QLatin1String(c.body));
        const QString got = RunScript("DozovoZozedi", src);
        EXPECT_TRUE(got.startsWith(QLatin1String("raised: Invalid object reference"))) << c.what << ": " << got.toStdString();
    }
}

TEST(ClassLibModules, IniFilesKeepListsAndSectionValues)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.ini"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // a hand-written Count far beyond the keys present; a repeated key in V (the ini
        // class keeps its first value, so the values are 1 and 2)
        f.write("[H]\nCount=50000000\nItems0=x\nItems2=z\n[V]\na=1\nb=2\na=3\n");
    }
    const QString src = QStringLiteral(
        "var r: String; ini: TIniFile; l: TStringList;\n"
        "begin ini := TIniFile.Create('%1'); l := TStringList.Create;\n"
        " l.Add('one'); l.Add('two'); ini.WriteTStrings('S', l);\n"
        " l.Clear; l.Add('kept'); ini.ReadTStrings('S', l, False); r := l.CommaText;\n"
        " ini.ReadTStrings('H', l); r := r + '|' + l.CommaText;\n"
        " ini.ReadSectionValuesEx('V', l); r := r + '|' + l.CommaText;\n"
        " r := r + '|' + ini.ReadString('S', 'Count', '?') + IntToStr(ini.ReadInteger('S', 'none', 7));\n"
        " l.Free; ini.Free;\nend.")
                            .arg(file);
    EXPECT_EQ(RunScript("DozovoZozedi", src), QStringLiteral("kept,one,two|x,,z|1,2|27"));
    const QString text = FileText(file);
    EXPECT_TRUE(text.contains(QLatin1String("[S]\nItems0=one\nItems1=two\nCount=2\n")) ||
                text.contains(QLatin1String("[S]\r\nItems0=one\r\nItems1=two\r\nCount=2\r\n")))
        << text.toStdString();
}

TEST(ClassLibModules, MemIniFileStreamsItsLines)
{
    QTemporaryDir dir;
    const QString src = QStringLiteral(
        "var r: String; a, b: TMemIniFile; m: TMemoryStream;\n"
        "begin a := TMemIniFile.Create('%1'); b := TMemIniFile.Create('%2'); m := TMemoryStream.Create;\n"
        " a.WriteString('X', 'k', 'v'); a.WriteBool('X', 'on', True); a.SaveIniFileToStream(m);\n"
        " m.Position := 0; b.LoadIniFileFromStream(m);\n"
        " r := b.ReadString('X', 'k', '?') + BoolToStr(b.ReadBool('X', 'on', False)) + BoolToStr(b.SectionExists('Y'));\n"
        " m.Free; a.Free; b.Free;\nend.")
                            .arg(dir.filePath(QStringLiteral("a.ini")), dir.filePath(QStringLiteral("b.ini")));
    EXPECT_EQ(RunScript("DozovoZozedi", src), QStringLiteral("v-10"));
    // memory ini files write nothing until asked to
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("b.ini"))));
}

} // namespace
