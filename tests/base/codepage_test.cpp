#include "tests/base/qt_print.h"
#include "report/base/codepage.h"

#include <clocale>
#include <string>

#include <gtest/gtest.h>

TEST(CodePage, CharsetTable)
{
    const int table[][2] = {{0, 1252}, {1, 1252}, {2, 42}, {77, 10000}, {128, 932}, {129, 949},
                            {130, 1361}, {134, 936}, {136, 950}, {161, 1253}, {162, 1254},
                            {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251},
                            {222, 874}, {238, 1250}, {255, 850}};
    for (const auto &row : table) {
        EXPECT_EQ(CharSetToCodePage(row[0]), row[1]) << row[0];
        EXPECT_TRUE(cp::IsSupported(row[1])) << row[1];
    }
    EXPECT_THROW(CharSetToCodePage(3), ECodePageError);
    EXPECT_EQ(GetLocalByCharSet(204), 1049);
    EXPECT_EQ(GetLocalByCharSet(178), 13313);
}

TEST(CodePage, SingleBytePagesRoundTripEveryByte)
{
    QByteArray all(256, 0);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    for (int page : {1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 874, 850, 10000, 42}) {
        const QString text = cp::Decode(all, page);
        ASSERT_EQ(text.size(), 256) << page;
        EXPECT_EQ(cp::Encode(text, page), all) << page;
    }
    // 1252 leaves five bytes undefined: they become the C1 characters of the same number.
    EXPECT_EQ(cp::Decode(QByteArray("\x80\x81\x8D\x9D\xE9"), 1252), u"\u20ac\u0081\u008d\u009d\u00e9"_qs);
}

TEST(CodePage, KnownTexts)
{
    // Expected bytes as Python's codecs give them.
    struct Case { int charset; QString text; QByteArray bytes; } cases[] = {
        {204, u"\u041f\u0440\u0438\u0432\u0435\u0442"_qs, QByteArray::fromHex("cff0e8e2e5f2")},
        {161, u"\u03a9\u03bc\u03ad\u03b3\u03b1"_qs, QByteArray::fromHex("d9ecdde3e1")},
        {222, u"\u0e44\u0e17\u0e22"_qs, QByteArray::fromHex("e4b7c2")},
        {128, u"\u65e5\u672c"_qs, QByteArray::fromHex("93fa967b")},
        {134, u"\u4e2d\u6587"_qs, QByteArray::fromHex("d6d0cec4")},
        {129, u"\ud55c\uad6d"_qs, QByteArray::fromHex("c7d1b1b9")},
        {136, u"\u4e2d\u6587"_qs, QByteArray::fromHex("a4a4a4e5")},
        {130, u"\ud55c\uad6d"_qs, QByteArray::fromHex("d0658a82")},
    };
    const std::string localeBefore = std::setlocale(LC_ALL, nullptr);
    for (const auto &c : cases) {
        EXPECT_EQ(AnsiToUnicode(c.bytes, c.charset), c.text) << c.charset;
        EXPECT_EQ(UnicodeToAnsi(c.text, c.charset), c.bytes) << c.charset;
    }
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), localeBefore);

    // Characters a page lacks become '?', a surrogate pair counting as one character.
    EXPECT_EQ(UnicodeToAnsi(QString::fromUcs4(U"a\u4e2d\U0001F600b"), 0), QByteArray("a??b"));
    EXPECT_EQ(UnicodeToAnsi(QString::fromUcs4(U"a\U0001F600\u20acb"), 128), QByteArray("a??b"));
    // An explicit code page wins over the character set.
    EXPECT_EQ(AnsiToUnicode("\xC0", 0, 1251), u"\u0410"_qs);
    // Broken multi-byte input never reads past its end.
    EXPECT_EQ(AnsiToUnicode("a\x93", 128), u"a\ufffd"_qs);
    EXPECT_EQ(AnsiToUnicode("x", 0, 12345), QString());
    EXPECT_EQ(OemToStr("\x82\x9c"), QByteArray("\xE9\xA3"));  // e acute and pound sign
    EXPECT_EQ(OemToStr({}), QByteArray());
}
