// Package writing utilities: escaping, colours, the de-duplicating list, writers, folders.
#include "export/office/kvlfileutils.h"
#include "export/office/kvlofficeopen.h"
#include "exporttestutil.h"
#include "platform/rtl/stream.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace exporttest;

namespace {

TEST(OfficeOpen, EscapeAndEscapeXMLText)
{
    struct Case {
        QString in, escape, xmlText;
    };
    const Case cases[] = {
        {u"a&b \"c\" <d> 'e'"_qs, u"a&amp;b &quot;c&quot; &lt;d&gt; 'e'"_qs, u"a&amp;b &quot;c&quot; &lt;d&gt; 'e'"_qs},
        {u"&amp;"_qs, u"&amp;amp;"_qs, u"&amp;amp;"_qs},  // an entity is escaped again
        {u"tab\tLF\nCR\r"_qs, u"tab\tLF\nCR\r"_qs, u"tab\tLF\nCR\r"_qs},
        {QString::fromUtf16(u"x\u0001y\u000Bz"), QString::fromUtf16(u"x\u0001y\u000Bz"), u"xyz"_qs},
        {QString::fromUtf16(u"a\uFFFEb\uFFFFc"), QString::fromUtf16(u"a\uFFFEb\uFFFFc"), u"abc"_qs},
        {QString(QChar(0xD800)) + u"a"_qs + QChar(0xDC00), QString(QChar(0xD800)) + u"a"_qs + QChar(0xDC00), u"a"_qs},
        {QString::fromUtf8("\xF0\x9F\x98\x80 <"), QString::fromUtf8("\xF0\x9F\x98\x80 &lt;"),
         QString::fromUtf8("\xF0\x9F\x98\x80 &lt;")},  // a pair outside the BMP stays
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Escape(c.in), c.escape) << c.in.toStdString();
        EXPECT_EQ(EscapeXMLText(c.in), c.xmlText) << c.in.toStdString();
    }
}

TEST(OfficeOpen, ColoursSwappedAndCompared)
{
    EXPECT_EQ(RGBSwap(clRed), 0xFF0000);
    EXPECT_EQ(RGBSwap(rtl::RGB(0x12, 0x34, 0x56)), 0x123456);
    EXPECT_EQ(RGBSwap(clBtnFace), 0xF0F0F0);
    EXPECT_EQ(RGBSwap(clHighlight), 0x0078D7);  // system colours resolve before the swap
    EXPECT_EQ(Distance(0xFF0000, 0xFE0000), 1);
    EXPECT_EQ(Distance(0xFF0000, 0x00FF00), 510);
}

TEST(OfficeOpen, StrListReturnsTheIndexOfAnEqualEntry)
{
    TkvlStrList list;
    std::vector<int> got;
    for (const char *s : {"b", "a", "B", "a", "b"})
        got.push_back(list.Add(QString::fromLatin1(s)));
    EXPECT_EQ(got, (std::vector<int>{0, 1, 2, 1, 0}));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IndexOf(u"B"_qs), 2);
    EXPECT_EQ(list.IndexOf(u"c"_qs), -1);
    list.Clear();
    EXPECT_EQ(list.Add(u"a"_qs), 0);
}

TEST(OfficeOpen, WritersWriteUtf8OrAnsi)
{
    TMemoryStream s;
    WriteStr(s, QString(), true);
    EXPECT_EQ(s.Size(), 0);
    WriteStr(s, u"è€"_qs, true);
    WriteStr(s, u"è€"_qs, false);
    EXPECT_EQ(s.Bytes(), QByteArray("\xC3\xA8\xE2\x82\xAC\xE8\x80"));

    TMemoryStream list;
    TStringList lines;
    WriteStrList(list, u"sst"_qs, lines);
    EXPECT_EQ(list.Bytes(), QByteArray("<sst count=\"0\"></sst>"));
    lines.Add(u"<si>à</si>"_qs);
    lines.Add(u"<si>b</si>"_qs);
    TkvlWriter w(new TMemoryStream, true);
    w.Write(u"cellXfs"_qs, lines);
    w.Write(u"<c r=\"%s%d\"/>"_qs, {Variant(u"A"_qs), Variant(7)});
    w.Write({u"<a>"_qs, u"</a>"_qs});
    EXPECT_EQ(static_cast<TMemoryStream &>(w.Stream()).Bytes(),
              QByteArray("<cellXfs count=\"2\"><si>\xC3\xA0</si>\r\n<si>b</si>\r\n</cellXfs><c r=\"A7\"/><a></a>"));
}

TEST(OfficeOpen, PackageFoldersArePrivateAndNew)
{
    QTemporaryDir base;
    const QString a = CreatePackageFolder(base.path());
    const QString b = CreatePackageFolder(base.path());
    EXPECT_NE(a, b);
    EXPECT_TRUE(a.endsWith(u'/'));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(a).constData(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_THROW(CreatePackageFolder(base.path() + u"/missing/deeper"_qs), EInOutError);

    CreateDirs(a, {u"xl"_qs, u"xl/worksheets"_qs, u"_rels"_qs});
    EXPECT_TRUE(QFileInfo(a + u"xl/worksheets"_qs).isDir());
    EXPECT_THROW(CreateDirs(a, {u"no/such/parent"_qs}), EInOutError);
}

TEST(OfficeOpen, DeleteFolderRemovesLinksNotTheirTargets)
{
    QTemporaryDir base;
    const QString outside = base.path() + u"/outside"_qs;
    WriteFile(outside + u"/keep.txt"_qs, "keep");
    const QString folder = base.path() + u"/package"_qs;
    WriteFile(folder + u"/xl/sheet.xml"_qs, "x");
    QDir().mkpath(folder + u"/empty"_qs);
    ASSERT_TRUE(QFile::link(outside, folder + u"/xl/link-to-folder"_qs));
    ASSERT_TRUE(QFile::link(outside + u"/keep.txt"_qs, folder + u"/link-to-file"_qs));

    DeleteFolder(folder + u"/"_qs);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(ReadFile(outside + u"/keep.txt"_qs), QByteArray("keep"));
    DeleteFolder(folder);  // already gone: nothing happens
}

} // namespace
