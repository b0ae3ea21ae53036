// The general-class and ini-file modules seen from scripts: the registered vocabulary,
// lists, streams and ini files in the four languages, and object arguments that do not
// hold the expected object.
#include "platform/rtl/objecthandles.h"
#include "script/items/qsclasses.h"
#include "tests/classlib/scriptrun.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

using classlibtest::Make;
using classlibtest::RunScript;

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
        {"TqsXMLItem", "TObject", "Create AddItem Clear InsertItem Add Find FindItem Root Data Count Name Parent Text Items Prop"},
        {"TqsXMLDocument", "TObject", "Create SaveToStream LoadFromStream SaveToFile LoadFromFile Root"},
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

// An XML tree built, saved to a stream and read back; elements freed by their parent or by the
// script leave stale handles, never dangling pointers.
TEST(ClassLibModules, XMLTreesRoundTripAndFreedElementsGoStale)
{
    const QString src = QStringLiteral(
        "var r: String; d, e: TqsXMLDocument; a, b: TqsXMLItem; m: TMemoryStream;\n"
        "begin d := TqsXMLDocument.Create; d.Root.Name := 'cfg'; a := d.Root.Add; a.Name := 'item';\n"
        " a.Prop['k'] := 'v <1>'; b := d.Root.FindItem('other'); b.Data := 7; a.Add.Name := 'leaf';\n"
        " m := TMemoryStream.Create; d.SaveToStream(m); m.Position := 0;\n"
        " e := TqsXMLDocument.Create; e.LoadFromStream(m);\n"
        " r := e.Root.Name + '|' + IntToStr(e.Root.Count) + '|' + e.Root.Items[0].Prop['k'] + '|' + e.Root[0][0].Name;\n"
        " r := r + '|' + IntToStr(e.Root.Find('other')) + IntToStr(e.Root.Find('none')) + '|' + IntToStr(d.Root.FindItem('other').Data);\n"
        " b.InsertItem(0, a); r := r + '|' + IntToStr(d.Root.Count) + a.Parent.Name + a.Root.Name;\n"
        " a.Free; r := r + '|' + IntToStr(b.Count);\n"
        " m.Free; d.Free; e.Free;\nend.");
    EXPECT_EQ(RunScript("DozovoZozedi", src), QStringLiteral("cfg|2|v <1>|leaf|1-1|7|1othercfg|0"));

    const struct
    {
        const char *what, *body, *error;
    } faults[] = {
        {"child freed by its parent's Clear", "a := d.Root.Add; d.Root.Clear; a.Name := 'x'", "Invalid object reference"},
        {"child of a freed document", "a := d.Root.Add; d.Free; a.Name := 'x'", "Invalid object reference"},
        {"element into its own child", "a := d.Root.Add; a.AddItem(d.Root)", "cannot contain itself"},
        {"index past the end", "a := d.Root.Items[0]", "out of bounds"},
    };
    for (const auto &c : faults) {
        const QString got = RunScript("DozovoZozedi", QStringLiteral("var r: String; d: TqsXMLDocument; a: TqsXMLItem;\n"
                                                                     "begin d := TqsXMLDocument.Create; %1; r := 'ran';\nend.")
                                                          .arg(QLatin1String(c.body)));
        EXPECT_TRUE(got.startsWith(QLatin1String("raised: ")) && got.contains(QLatin1String(c.error))) << c.what << ": " << got.toStdString();
    }
    // the root freed by the script: the document makes a new one
    EXPECT_EQ(RunScript("DozovoZozedi", "var r: String; d: TqsXMLDocument;\n"
                                        "begin d := TqsXMLDocument.Create; d.Root.Name := 'x'; d.Root.Free; r := '[' + d.Root.Name + ']'; d.Free;\nend."),
              QStringLiteral("[]"));
}

} // namespace
