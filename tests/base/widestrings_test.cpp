#include "tests/base/qt_print.h"
#include "report/base/widestrings.h"
#include "platform/rtl/stream.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList lines(const TkvlWideStrings &w)
{
    QStringList l;
    for (int i = 0; i < w.Count(); ++i)
        l << w.Get(i);
    return l;
}

} // namespace

TEST(WideStrings, SetTextSplitsLines)
{
    const QString nul(QChar(0));
    struct Case { QString text; QStringList lines; } cases[] = {
        {u"a\r\nb\r\n"_qs, {u"a"_qs, u"b"_qs}},
        {u"a\r\nb"_qs, {u"a"_qs, u"b"_qs}},
        {{}, {}},
        {u"\r\n"_qs, {QString()}},
        {u"a\rb\nc\u2028d"_qs, {u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs}},
        {u"a\r\n\u2028b"_qs, {u"a"_qs, u"b"_qs}},
        {u"a\n\rb"_qs, {u"a"_qs, QString(), u"b"_qs}},
        {u"a\r\rb"_qs, {u"a"_qs, QString(), u"b"_qs}},
        {u"a"_qs + nul + u"b\r\nc"_qs, {u"a"_qs + nul + u"b"_qs, u"c"_qs}},  // NUL is a character
    };
    for (const auto &c : cases) {
        TkvlWideStrings w;
        w.Add(u"old"_qs);
        w.SetText(c.text);
        EXPECT_EQ(lines(w), c.lines) << c.text.toStdString();
    }
    TkvlWideStrings w;
    w.SetText(u"a\nb"_qs);
    EXPECT_EQ(w.Text(), u"a\r\nb\r\n"_qs);
}

TEST(WideStrings, ListOperations)
{
    TkvlWideStrings w;
    int flag = 0;
    w.Add(u"zero"_qs);
    w.AddObject(u"one"_qs, &flag);
    w.Put(2, u"two"_qs);  // Count appends
    EXPECT_EQ(w.Count(), 3);
    w.Insert(1, u"ONE"_qs);  // replaces, keeping the object
    EXPECT_EQ(lines(w), QStringList({u"zero"_qs, u"ONE"_qs, u"two"_qs}));
    EXPECT_EQ(w.GetObject(1), &flag);
    try {
        w.Insert(4, u"x"_qs);
        FAIL() << "no exception";
    } catch (const EWideStringsError &e) {
        EXPECT_STREQ(e.what(), "Wide String Out of Bounds");
    }
    EXPECT_THROW(w.Put(-1, u"x"_qs), EWideStringsError);
    EXPECT_EQ(w.Count(), 3);
    EXPECT_EQ(w.Get(3), QString());
    EXPECT_EQ(w.Get(-1), QString());
    EXPECT_EQ(w.GetObject(7), nullptr);
    w.PutObject(7, &flag);
    EXPECT_EQ(w.IndexOf(u"two"_qs), 2);
    EXPECT_EQ(w.IndexOf(u"TWO"_qs), -1);
    w.Delete(0);
    TkvlWideStrings copy;
    copy.Assign(w);
    copy.AddStrings(w);
    EXPECT_EQ(lines(copy), QStringList({u"ONE"_qs, u"two"_qs, u"ONE"_qs, u"two"_qs}));
    EXPECT_EQ(copy.GetObject(2), &flag);
}

TEST(WideStrings, FilesAndStreams)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(u"t.txt"_qs);
    const QString text = u"Citt\u00e0 \u20ac\r\n\u65e5\u672c\r\n"_qs;

    TkvlWideStrings w;
    w.SetText(text);
    TMemoryStream bare;
    w.SaveToStream(bare);
    EXPECT_EQ(bare.Size(), text.size() * 2);
    EXPECT_NE(bare.Bytes().left(2), QByteArray("\xFF\xFE"));
    bare.SetPosition(0);
    TkvlWideStrings fromW;
    fromW.LoadFromWStream(bare);
    EXPECT_EQ(fromW.Text(), text);

    // A file gets the mark, so it loads back as it was.
    w.SaveToFile(name);
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("\xFF\xFE"));
    TkvlWideStrings back;
    back.LoadFromFile(name);
    EXPECT_EQ(back.Text(), text);

    // Without a mark: UTF-8 when valid, else code page 1252; a bare mark is an empty text.
    struct Case { QByteArray bytes; QStringList lines; } cases[] = {
        {"Citt\xC3\xA0\r\nx", {u"Citt\u00e0"_qs, u"x"_qs}},
        {"Citt\xE0 \x80", {u"Citt\u00e0 \u20ac"_qs}},
        {"\xFF\xFE", {}},
        {QByteArray("\xFF\xFE" "a\0\n\0b\0", 8), {u"a"_qs, u"b"_qs}},
    };
    for (const auto &c : cases) {
        TMemoryStream in(c.bytes);
        TkvlWideStrings l;
        l.LoadFromStream(in);
        EXPECT_EQ(lines(l), c.lines) << c.bytes.toHex().constData();
    }
}

#include "platform/rtl/stringlist.h"

TEST(WideStrings, StringListExchange)
{
    int flag = 0;
    TStringList source;
    source.Add(u"one"_qs);
    source.AddObject(u"\u00e8 two"_qs, &flag);
    TkvlWideStrings w;
    w.Add(u"old"_qs);
    w.Assign(source);
    EXPECT_EQ(lines(w), QStringList({u"one"_qs, u"\u00e8 two"_qs}));
    EXPECT_EQ(w.GetObject(1), &flag);
    TStringList back;
    back.Add(u"old"_qs);
    w.AssignTo(back);
    EXPECT_EQ(back.Text(), source.Text());
    EXPECT_EQ(back.Objects(1), &flag);
}
