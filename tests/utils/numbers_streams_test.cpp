#include "platform/rtl/exceptions.h"
#include "report/utils/numbers.h"
#include "report/utils/streams.h"

#include "platform/rtl/stream.h"
#include "platform/rtl/formatsettings.h"
#include <gtest/gtest.h>

namespace {

TEST(StreamCRC32, MatchesIeeeChecksumAndKeepsPosition)
{
    struct Case {
        QByteArray data;
        uint32_t crc;
    } cases[] = {{"abc", 0x352441C2u}, {"", 0u}, {"123456789", 0xCBF43926u}};
    for (const Case &c : cases) {
        TMemoryStream buf(c.data);
        buf.SetPosition(c.data.size() / 2);
        EXPECT_EQ(kvlStreamCRC32(buf), c.crc) << c.data.constData();
        EXPECT_EQ(buf.Position(), c.data.size() / 2);
    }
}

TEST(StreamCRC32, CoversTheWholeOfALargeStream)
{
    // Longer than one read block: a change in the last byte must change the sum.
    const QByteArray big(200000, 'x');
    TMemoryStream a(big), b(big.left(big.size() - 1) + 'z');
    EXPECT_NE(kvlStreamCRC32(a), kvlStreamCRC32(b));
}

TEST(StreamHex, RoundTripsBytes)
{
    TMemoryStream in(QByteArray::fromHex("00ab10ff"));
    EXPECT_EQ(kvlStreamToString(in), QStringLiteral("00AB10FF"));

    TMemoryStream out(QByteArray("xxxxxx"));
    out.SetPosition(5);
    kvlStringToStream(QStringLiteral("00ab10F"), out); // odd length: the last digit is dropped
    EXPECT_EQ(out.Bytes(), QByteArray::fromHex("00ab10") + "xxx");

    TMemoryStream bad;
    kvlStringToStream(QStringLiteral("41zz42"), bad); // stops at the first pair that is not hex
    EXPECT_EQ(bad.Bytes(), QByteArray("A"));
}

TEST(NumberText, ReadsEitherSeparatorAndRejectsBadText)
{
    rtl::ScopedFormatSettings italian(TFormatSettings::italian());
    const struct {
        const char *text;
        double value;
    } good[] = {{"1,5", 1.5}, {"1.5", 1.5}, {" 1 234,5 ", 1234.5}, {"-2", -2}, {"1e3", 1000}};
    for (const auto &c : good)
        EXPECT_DOUBLE_EQ(kvlStrToFloat(QString::fromUtf8(c.text)), c.value) << c.text;
    for (const char *text : {"", "abc", "1.234,5", "inf", "nan", "0x10", "1e"})
        EXPECT_THROW(kvlStrToFloat(QString::fromUtf8(text)), EConvertError) << text;
}

TEST(NumberText, WritesWholeNumbersPlainAndOthersWithTwoDecimals)
{
    rtl::ScopedFormatSettings italian(TFormatSettings::italian());
    EXPECT_EQ(kvlFloatToStr(2), QStringLiteral("2"));
    EXPECT_EQ(kvlFloatToStr(-40), QStringLiteral("-40"));
    EXPECT_EQ(kvlFloatToStr(2.5), QStringLiteral("2,50"));

    EXPECT_EQ(kvFloat2Str(1234.5, 2, u','), QStringLiteral("1234,50"));
    EXPECT_EQ(kvFloat2Str(3, 0, u'.'), QStringLiteral("3"));
    EXPECT_EQ(kvFloat2Str(-0.001, 2, u'.'), QStringLiteral("0.00"));
    EXPECT_EQ(kvFloat2Str(-1.005, 1, u'.'), QStringLiteral("-1.0"));
}

} // namespace
