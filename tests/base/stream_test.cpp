#include "tests/base/qt_print.h"
#include "platform/rtl/stream.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Stream, MemoryStream)
{
    TMemoryStream m;
    m.WriteBytes("hello");
    m.SetPosition(8);  // writing past the end grows the stream
    m.WriteBytes("!");
    EXPECT_EQ(m.Size(), 9);
    m.Seek(-1, soEnd);
    char c = 0;
    EXPECT_EQ(m.Read(&c, 5), 1);
    EXPECT_EQ(c, '!');
    EXPECT_EQ(m.Read(&c, 1), 0);
    m.SetPosition(0);
    char buf[10];
    EXPECT_THROW(m.ReadBuffer(buf, 10), EReadError);
    m.SetSize(2);
    EXPECT_EQ(m.Bytes(), QByteArray("he"));
    EXPECT_EQ(m.Position(), 2);
}

TEST(Stream, FileStream)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(u"f.bin"_qs);
    {
        TFileStream f(name, fmCreate);
        f.WriteBytes("0123456789");
        f.SetPosition(3);
        f.WriteBytes("x");
        EXPECT_EQ(f.Size(), 10);
    }
    TFileStream r(name, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(r.ReadAll(), QByteArray("012x456789"));
    try {
        TFileStream missing(dir.filePath(u"none"_qs), fmOpenRead);
        FAIL() << "no exception";
    } catch (const EFOpenError &e) {
        EXPECT_TRUE(e.message().startsWith(u"Cannot open file \""_qs)) << e.what();
    }
    auto t = TFileStream::CreateTemp(dir.path(), u"kv"_qs);
    EXPECT_TRUE(t->FileName().startsWith(dir.path() + u"/kv"_qs));
    EXPECT_EQ(t->Size(), 0);
}
