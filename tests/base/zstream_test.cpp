#include "tests/base/qt_print.h"
#include "report/base/zstream.h"

#include <QtEndian>

#include <random>

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

QByteArray randomBytes(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    QByteArray b(n, Qt::Uninitialized);
    for (char &c : b)
        c = char(rng());
    return b;
}

QByteArray sample()
{
    QByteArray b;
    for (int i = 0; i < 2000; ++i)
        b += "row " + QByteArray::number(i) + " of the button strip\n";
    return b;
}

// zlib's own one-call inflater, independent of ours.
QByteArray zlibUncompress(const QByteArray &z, qsizetype expected)
{
    QByteArray out(expected + 16, Qt::Uninitialized);
    uLongf len = uLongf(out.size());
    if (uncompress(reinterpret_cast<Bytef *>(out.data()), &len,
                   reinterpret_cast<const Bytef *>(z.constData()), uLong(z.size())) != Z_OK)
        return "<uncompress failed>";
    out.truncate(qsizetype(len));
    return out;
}

QByteArray rawDeflate(const QByteArray &data)
{
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&z, uLong(data.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.truncate(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

// A packed resource: gzip layout with the Adler-32 of the data in the time field.
QByteArray packedResource(const QByteArray &data, const QByteArray &name, bool realTime = false)
{
    QByteArray r("\x1F\x8B\x08", 3);
    r += char(name.isEmpty() ? 0 : 8);
    uchar word[4];
    const uLong adler = adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef *>(data.constData()),
                                uInt(data.size()));
    qToBigEndian<quint32>(realTime ? 1700000000u : quint32(adler), word);
    r.append(reinterpret_cast<const char *>(word), 4);
    r += "\x02\x03";
    if (!name.isEmpty())
        r += name + '\0';
    r += rawDeflate(data);
    const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size()));
    qToLittleEndian<quint32>(quint32(crc), word);
    r.append(reinterpret_cast<const char *>(word), 4);
    qToLittleEndian<quint32>(quint32(data.size()), word);
    r.append(reinterpret_cast<const char *>(word), 4);
    return r;
}

QString decompressError(const QByteArray &z, qsizetype max = qsizetype(1) << 30)
{
    try {
        ZDecompress(z.constData(), z.size(), 0, max);
    } catch (const EZDecompressionError &e) {
        return e.message();
    }
    return u"no error"_qs;
}

} // namespace

TEST(ZStream, DeflateRoundTripsAtEveryLevel)
{
    const QByteArray inputs[] = {QByteArray(), QByteArray("x"), sample(), randomBytes(300000, 1)};
    for (TZCompressionLevel level : {zcNone, zcFastest, zcDefault, zcMax}) {
        for (const QByteArray &in : inputs) {
            TMemoryStream src(in), packed;
            src.Seek(0, soEnd);  // the whole source counts, wherever it stands
            packed.Write("head", 4);
            kvlDeflateStream(src, packed, level);
            const QByteArray z = packed.Bytes().mid(4);
            ASSERT_GE(z.size(), 8) << level;  // even an empty source gives a whole stream
            EXPECT_EQ(zlibUncompress(z, in.size()), in) << level << " " << in.size();
            EXPECT_EQ(ZDecompress(z), in) << level << " " << in.size();
        }
    }
}

TEST(ZStream, CompressionStreamContract)
{
    TMemoryStream target;
    const QByteArray part1 = randomBytes(200000, 2), part2 = sample();
    int progress = 0;
    {
        TZCompressionStream z(target, zcNone);
        z.OnProgress = [&](TCustomZStream *) { ++progress; };
        EXPECT_EQ(z.CompressionRate(), 0);
        z.WriteBuffer(part1.constData(), part1.size());
        // Someone else moves the target: the compressed data still continues where it was.
        target.SetPosition(0);
        z.WriteBuffer(part2.constData(), part2.size());
        EXPECT_EQ(z.Position(), part1.size() + part2.size());
        char c;
        try {
            z.Read(&c, 1);
            FAIL() << "no exception";
        } catch (const EZCompressionError &e) {
            EXPECT_EQ(e.message(), u"Invalid ZStream operation!"_qs);
        }
        EXPECT_THROW(z.Seek(0, soBeginning), EZCompressionError);
        EXPECT_THROW(z.Seek(5, soCurrent), EZCompressionError);
        z.Finish();
        EXPECT_LT(z.CompressionRate(), 1);  // stored, not compressed
    }
    EXPECT_GE(progress, 3);
    EXPECT_EQ(ZDecompress(target.Bytes()), part1 + part2);

    TMemoryStream small;
    {
        TZCompressionStream z(small, zcMax);
        const QByteArray s = sample();
        z.WriteBuffer(s.constData(), s.size());
        z.Finish();
        EXPECT_GT(z.CompressionRate(), 80);
    }
}

TEST(ZStream, DecompressGrowsAndFails)
{
    const QByteArray zeros(5 << 20, '\0');
    QByteArray z(int(compressBound(uLong(zeros.size()))), Qt::Uninitialized);
    uLongf zlen = uLongf(z.size());
    compress2(reinterpret_cast<Bytef *>(z.data()), &zlen, reinterpret_cast<const Bytef *>(zeros.constData()),
              uLong(zeros.size()), 9);
    z.truncate(qsizetype(zlen));
    for (qsizetype estimate : {qsizetype(0), qsizetype(1), qsizetype(zeros.size())}) {
        const QByteArray out = ZDecompress(z, estimate);
        EXPECT_EQ(out.size(), zeros.size()) << estimate;
        EXPECT_EQ(out, zeros) << estimate;
    }

    // A stream that needs a preset dictionary.
    QByteArray dictStream(256, Qt::Uninitialized);
    {
        z_stream d{};
        deflateInit(&d, 9);
        deflateSetDictionary(&d, reinterpret_cast<const Bytef *>("dictionary"), 10);
        d.next_in = reinterpret_cast<Bytef *>(const_cast<char *>("dictionary text"));
        d.avail_in = 15;
        d.next_out = reinterpret_cast<Bytef *>(dictStream.data());
        d.avail_out = 256;
        deflate(&d, Z_FINISH);
        dictStream.truncate(qsizetype(d.total_out));
        deflateEnd(&d);
    }
    const QByteArray good = ZDecompress(QByteArray("x\x9c\x03\x00\x00\x00\x00\x01", 8));
    EXPECT_TRUE(good.isEmpty());

    struct Case { QByteArray in; qsizetype max; QString error; } cases[] = {
        {z.left(z.size() / 2), qsizetype(1) << 30, u"data error"_qs},
        {z.left(2), qsizetype(1) << 30, u"data error"_qs},
        {QByteArray(), qsizetype(1) << 30, u"data error"_qs},
        {QByteArray("not zlib at all"), qsizetype(1) << 30, u"data error"_qs},
        {dictStream, qsizetype(1) << 30, u"data error"_qs},
        {z, 1 << 20, u"insufficient memory"_qs},
    };
    for (const auto &c : cases)
        EXPECT_EQ(decompressError(c.in, c.max), c.error) << c.in.size();
}

TEST(ZStream, PackedResources)
{
    const QByteArray data = sample();
    for (const QByteArray &name : {QByteArray("DesgnButtons.bmp"), QByteArray()}) {
        TMemoryStream src(packedResource(data, name)), target;
        target.Write("keep", 4);
        QString header;
        kvlDecompressStream(src, target, data.size(), &header);
        EXPECT_EQ(target.Bytes(), "keep" + data) << name.constData();
        EXPECT_EQ(header, u"x\u00da"_qs);
    }

    const QByteArray good = packedResource(data, "n");
    QByteArray damaged = good;
    damaged[30] = char(damaged[30] ^ 0x55);
    struct Case { QByteArray in; } cases[] = {
        {packedResource(data, "n", true)},  // a standard gzip file: a real time, no checksum
        {damaged},
        {good.left(17)},
        {QByteArray("\x1F\x8B\x08\x08\0\0\0\0\0\0unterminated name......", 33)},
        {QByteArray(20, 'x')},
        {QByteArray()},
    };
    for (const auto &c : cases) {
        TMemoryStream src(c.in), target;
        try {
            kvlDecompressStream(src, target, qsizetype(1) << 20);
            ADD_FAILURE() << "no exception for " << c.in.toHex().constData();
        } catch (const EZDecompressionError &e) {
            EXPECT_EQ(e.message(), u"data error"_qs) << c.in.toHex().constData();
        }
    }

    // The trailer's size is the size: above the caller's bound it is refused before any
    // inflating; data that inflates to more than it is refused, to less is damaged.
    const QByteArray bomb(64 << 20, '\0');
    QByteArray understated = packedResource(bomb, "n");
    QByteArray overstated = good;
    qToLittleEndian<quint32>(quint32(16), understated.data() + understated.size() - 4);
    qToLittleEndian<quint32>(quint32(data.size() + 1), overstated.data() + overstated.size() - 4);
    struct Bound {
        QByteArray in;
        qsizetype max;
        QString error;
    } bounds[] = {
        {packedResource(bomb, "n"), qsizetype(1) << 20, u"insufficient memory"_qs},
        {understated, qsizetype(1) << 20, u"insufficient memory"_qs},
        {overstated, qsizetype(1) << 20, u"data error"_qs},
        {good, data.size() - 1, u"insufficient memory"_qs},
    };
    for (const Bound &b : bounds) {
        TMemoryStream src(b.in), target;
        try {
            kvlDecompressStream(src, target, b.max);
            ADD_FAILURE() << "no exception, max " << b.max;
        } catch (const EZDecompressionError &e) {
            EXPECT_EQ(e.message(), b.error) << b.max;
        }
        EXPECT_EQ(target.Size(), 0);
    }
}

TEST(ZStream, DecompressDefaultsToASmallBound)
{
    // 32 MiB of zeros deflate to about 32 KB: without a size from its caller this is refused.
    const QByteArray zeros(32 << 20, '\0');
    QByteArray z(int(compressBound(uLong(zeros.size()))), Qt::Uninitialized);
    uLongf zlen = uLongf(z.size());
    compress2(reinterpret_cast<Bytef *>(z.data()), &zlen, reinterpret_cast<const Bytef *>(zeros.constData()),
              uLong(zeros.size()), 9);
    z.truncate(qsizetype(zlen));
    EXPECT_EQ(decompressError(z, kZDefaultMaxOutput), u"insufficient memory"_qs);
    EXPECT_EQ(ZDecompress(z, 0, zeros.size()).size(), zeros.size());
}
