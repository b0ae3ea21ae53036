#include "platform/rtl/inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("conf.ini")); }

    void writeFile(const QByteArray &bytes)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray fileBytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(IniFileTest, WritesGoToTheFileInOrderAndReadCaseInsensitively)
{
    TIniFile ini(path());
    ini.WriteInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Top"), 10);
    ini.WriteInteger(QStringLiteral("SETUP_Main"), QStringLiteral("Left"), -20);
    ini.WriteString(QStringLiteral("Other"), QStringLiteral("Name"), QStringLiteral("Città"));
    ini.WriteInteger(QStringLiteral("setup_main"), QStringLiteral("TOP"), 11); // same key, spelled otherwise
    ini.WriteBool(QStringLiteral("Other"), QStringLiteral("Flag"), true);
    EXPECT_TRUE(ini.LastWriteOk());
    EXPECT_EQ(fileBytes(), QByteArray("[SETUP_Main]\nTop=11\nLeft=-20\n[Other]\nName=Citt\xc3\xa0\nFlag=1\n"));

    TIniFile other(path());
    EXPECT_EQ(other.ReadInteger(QStringLiteral("Setup_Main"), QStringLiteral("top"), 0), 11);
    EXPECT_EQ(other.ReadString(QStringLiteral("OTHER"), QStringLiteral("name"), QString()), QStringLiteral("Città"));
    EXPECT_TRUE(other.ReadBool(QStringLiteral("Other"), QStringLiteral("Flag"), false));
    QStringList keys, sections;
    other.ReadSection(QStringLiteral("setup_main"), keys);
    other.ReadSections(sections);
    EXPECT_EQ(keys, QStringList({QStringLiteral("Top"), QStringLiteral("Left")}));
    EXPECT_EQ(sections, QStringList({QStringLiteral("SETUP_Main"), QStringLiteral("Other")}));
}

TEST_F(IniFileTest, AnotherInstanceSeesEveryWriteAtOnce)
{
    TIniFile a(path()), b(path());
    EXPECT_EQ(b.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 7), 7);
    for (int i = 0; i < 3; ++i) {
        a.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), i);
        EXPECT_EQ(b.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), -1), i);
    }
    // b writes a key of its own without dropping a's.
    b.WriteInteger(QStringLiteral("S"), QStringLiteral("Other"), 5);
    EXPECT_EQ(a.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), -1), 2);
    EXPECT_EQ(a.ReadInteger(QStringLiteral("S"), QStringLiteral("Other"), -1), 5);
}

struct IntCase {
    const char *text;
    int expected; // default is -99
};

TEST_F(IniFileTest, IntegerValuesThatAreNotIntegersReadAsTheDefault)
{
    const IntCase cases[] = {
        {"42", 42},       {" 42 ", 42},        {"-7", -7},           {"+7", 7},
        {"$FF", 255},     {"0x10", 16},        {"$FFFFFFFF", -1},    {"-$10", -16},
        {"2147483647", 2147483647},            {"-2147483648", INT32_MIN},
        {"2147483648", -99}, {"", -99},        {"abc", -99},         {"12abc", -99},
        {"1.5", -99},     {"$", -99},          {"- 3", -99},         {"--3", -99},
        {"$1FFFFFFFF", -99}, {"$ FF", -99},    {"$0x10", -99},       {"0x-1", -99},
    };
    QByteArray file("[S]\n");
    for (size_t i = 0; i < std::size(cases); ++i)
        file += "K" + QByteArray::number(qulonglong(i)) + "=" + cases[i].text + "\n";
    writeFile(file);
    TIniFile ini(path());
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K") + QString::number(i), -99), cases[i].expected)
            << cases[i].text;
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("Missing"), -99), -99);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Missing"), QStringLiteral("K0"), -99), -99);
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("K12"), true)); // "abc": default
}

TEST_F(IniFileTest, FloatsReadWithPointOrComma)
{
    writeFile("[F]\na=1.5\nb=2,25\nc=x\nd=nan\ne=1e3\n");
    TIniFile ini(path());
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("F"), QStringLiteral("a"), 0), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("F"), QStringLiteral("b"), 0), 2.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("F"), QStringLiteral("c"), 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("F"), QStringLiteral("d"), 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("F"), QStringLiteral("e"), 0), 1000);
    ini.WriteFloat(QStringLiteral("F"), QStringLiteral("g"), 0.1);
    EXPECT_EQ(ini.ReadString(QStringLiteral("F"), QStringLiteral("g"), QString()), QStringLiteral("0.1"));
}

TEST_F(IniFileTest, ExistingFileKeepsCommentsAndFirstOfRepeatedKeys)
{
    writeFile("; top comment\r\n[A]\r\nx = 1 \r\n; about y\r\ny=\"  quoted  \"\r\nx=2\r\n\r\n[B]\r\nz='q'\r\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("A"), QStringLiteral("x"), QString()), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("A"), QStringLiteral("y"), QString()), QStringLiteral("  quoted  "));
    EXPECT_EQ(ini.ReadString(QStringLiteral("B"), QStringLiteral("z"), QString()), QStringLiteral("q"));
    QStringList values;
    ini.ReadSectionValues(QStringLiteral("a"), values);
    EXPECT_EQ(values, QStringList({QStringLiteral("x=1"), QStringLiteral("y=  quoted  ")}));

    ini.WriteString(QStringLiteral("A"), QStringLiteral("new"), QStringLiteral("v"));
    EXPECT_EQ(fileBytes(), QByteArray("; top comment\n[A]\nx=1\n; about y\ny=\"  quoted  \"\nx=2\nnew=v\n\n[B]\nz=q\n"));
}

TEST_F(IniFileTest, ValuesRoundTripExactlyAndCannotBreakTheStructure)
{
    TIniFile ini(path());
    const QString values[] = {QStringLiteral("  padded "), QStringLiteral("\"quoted\""), QStringLiteral("a=b;c"),
                              QString()};
    for (const QString &v : values) {
        ini.WriteString(QStringLiteral("V"), QStringLiteral("k"), v);
        EXPECT_EQ(TIniFile(path()).ReadString(QStringLiteral("V"), QStringLiteral("k"), QStringLiteral("?")), v);
    }
    // A line break in a value must not create a section or a key.
    ini.WriteString(QStringLiteral("V"), QStringLiteral("k"), QStringLiteral("x\n[Evil]\r\nk=1"));
    TIniFile again(path());
    EXPECT_FALSE(again.SectionExists(QStringLiteral("Evil")));
    EXPECT_EQ(again.ReadString(QStringLiteral("V"), QStringLiteral("k"), QString()), QStringLiteral("x [Evil] k=1"));
}

TEST_F(IniFileTest, EraseAndDelete)
{
    TIniFile ini(path());
    ini.EraseSection(QStringLiteral("Nothing"));
    ini.DeleteKey(QStringLiteral("Nothing"), QStringLiteral("k"));
    EXPECT_FALSE(QFile::exists(path())) << "removing what is not there writes nothing";

    ini.WriteString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("1"));
    ini.WriteString(QStringLiteral("A"), QStringLiteral("j"), QStringLiteral("2"));
    ini.WriteString(QStringLiteral("B"), QStringLiteral("k"), QStringLiteral("3"));
    ini.DeleteKey(QStringLiteral("a"), QStringLiteral("K"));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("A"), QStringLiteral("k")));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("A"), QStringLiteral("j")));
    ini.EraseSection(QStringLiteral("b"));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("B")));
    EXPECT_EQ(fileBytes(), QByteArray("[A]\nj=2\n"));
}

TEST_F(IniFileTest, UnwritableFileIsNoErrorAndKeepsValuesInMemory)
{
    // A regular file where the folder should be: nobody, root included, can write below it.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TIniFile ini(dir.filePath(QStringLiteral("blocker/conf.ini")));
    ini.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 3);
    EXPECT_FALSE(ini.LastWriteOk());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 3);
    EXPECT_FALSE(ini.UpdateFile());
}

TEST_F(IniFileTest, MemIniFileWritesOnlyOnUpdate)
{
    writeFile("[A]\nk=1\n");
    TMemIniFile mem(path());
    mem.WriteString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("2"));
    mem.WriteString(QStringLiteral("B"), QStringLiteral("j"), QStringLiteral("3"));
    EXPECT_EQ(fileBytes(), QByteArray("[A]\nk=1\n"));
    EXPECT_EQ(mem.ReadString(QStringLiteral("a"), QStringLiteral("K"), QString()), QStringLiteral("2"));
    EXPECT_TRUE(mem.UpdateFile());
    EXPECT_EQ(fileBytes(), QByteArray("[A]\nk=2\n[B]\nj=3\n"));
    mem.Clear();
    EXPECT_FALSE(mem.SectionExists(QStringLiteral("A")));
    EXPECT_EQ(TIniFile(path()).ReadString(QStringLiteral("B"), QStringLiteral("j"), QString()), QStringLiteral("3"));
}

TEST_F(IniFileTest, WholeFileAsLines)
{
    TIniFile ini(path());
    ini.SetStrings({QStringLiteral("; c"), QStringLiteral("[S]"), QStringLiteral("a=1"), QStringLiteral("b = 2")});
    EXPECT_EQ(fileBytes(), QByteArray("; c\n[S]\na=1\nb=2\n"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("b"), 0), 2);
    EXPECT_EQ(ini.GetStrings(),
              QStringList({QStringLiteral("; c"), QStringLiteral("[S]"), QStringLiteral("a=1"), QStringLiteral("b=2")}));
}

TEST_F(IniFileTest, DatesTimesAndBytes)
{
    TIniFile ini(path());
    struct Case {
        const char *key;
        double value; // days since 1899-12-30
        const char *text;
    };
    const Case dateTimes[] = {
        {"noon", 46023.5, "2026-01-01 12:00:00"},
        {"epoch", 0, "1899-12-30 00:00:00"},
        {"before", -1.25, "1899-12-29 06:00:00"},
    };
    for (const Case &c : dateTimes) {
        ini.WriteDateTime(QStringLiteral("D"), QLatin1String(c.key), c.value);
        EXPECT_EQ(ini.ReadString(QStringLiteral("D"), QLatin1String(c.key), QString()), QLatin1String(c.text)) << c.key;
        EXPECT_DOUBLE_EQ(ini.ReadDateTime(QStringLiteral("D"), QLatin1String(c.key), -9), c.value) << c.key;
    }
    ini.WriteDate(QStringLiteral("D"), QStringLiteral("d"), 46023.75);
    EXPECT_DOUBLE_EQ(ini.ReadDate(QStringLiteral("D"), QStringLiteral("d"), -9), 46023);
    ini.WriteTime(QStringLiteral("D"), QStringLiteral("t"), 46023.75);
    EXPECT_DOUBLE_EQ(ini.ReadTime(QStringLiteral("D"), QStringLiteral("t"), -9), 0.75);
    EXPECT_DOUBLE_EQ(ini.ReadDate(QStringLiteral("D"), QStringLiteral("t"), -9), -9);

    QByteArray bytes;
    ini.WriteBinaryStream(QStringLiteral("B"), QStringLiteral("b"), QByteArray("\x00\xff" "A", 3));
    EXPECT_EQ(ini.ReadString(QStringLiteral("B"), QStringLiteral("b"), QString()), QStringLiteral("00FF41"));
    EXPECT_EQ(ini.ReadBinaryStream(QStringLiteral("B"), QStringLiteral("b"), bytes), 3);
    EXPECT_EQ(bytes, QByteArray("\x00\xff" "A", 3));
    for (const char *bad : {"0G", "ABC", ""}) {
        ini.WriteString(QStringLiteral("B"), QStringLiteral("x"), QLatin1String(bad));
        EXPECT_EQ(ini.ReadBinaryStream(QStringLiteral("B"), QStringLiteral("x"), bytes), 0) << bad;
        EXPECT_TRUE(bytes.isEmpty());
    }
}

} // namespace
