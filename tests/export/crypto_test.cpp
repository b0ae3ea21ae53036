// Digests and ciphers against published known answers (RFC 1321, RFC 6229, RFC 3174, the
// Whirlpool reference vectors, FIPS-197) and against Python's hashlib and openssl.
#include "export/crypto/kvlcrypto.h"
#include "export/crypto/kvlmd5.h"
#include "export/crypto/kvlrc4.h"
#include "exporttestutil.h"
#include "platform/rtl/stream.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using exporttest::Hex;

namespace {

QByteArray Md5WithContext(const QByteArray &m, const std::vector<int> &cuts)
{
    TkvlMD5 md5;
    int from = 0;
    for (int cut : cuts) {
        md5.Update(m.constData() + from, uint32_t(cut - from));
        from = cut;
    }
    md5.Update(m.constData() + from, uint32_t(m.size() - from));
    md5.Finalize();
    return PrintMD5(md5.Digest());
}

QByteArray Md5WithFamily(const QByteArray &m, const std::vector<int> &cuts)
{
    TCryptoMD5 md5;
    int from = 0;
    for (int cut : cuts) {
        md5.Push(m.constData() + from, cut - from);
        from = cut;
    }
    md5.Push(m.constData() + from, m.size() - from);
    uint8_t d[16];
    md5.GetDigest(d, 16);
    return Hex(d, 16);
}

struct KnownDigest {
    QByteArray message;
    const char *md5;
};

// RFC 1321, appendix A.5, and block-boundary messages (bytes (7i + 3) mod 256) whose
// digests come from Python's hashlib.
QByteArray Pattern(int n)
{
    QByteArray m(n, '\0');
    for (int i = 0; i < n; ++i)
        m[i] = char((i * 7 + 3) & 255);
    return m;
}

const std::vector<KnownDigest> &Md5Vectors()
{
    static const std::vector<KnownDigest> v = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        {Pattern(55), "52c0e574e1198de5fe3f8f11440dcb1b"},
        {Pattern(56), "46c9907fc908ee68b1e7b8e71286a518"},
        {Pattern(63), "a62f6d59e837867693f042f5b8f5a236"},
        {Pattern(64), "7160b8fb5e9e4023d549c3971fbaeead"},
        {Pattern(65), "70bd662e7aefbda85a0f7244167b7897"},
    };
    return v;
}

TEST(Md5, KnownAnswersThroughEveryEntryPoint)
{
    for (const KnownDigest &k : Md5Vectors()) {
        SCOPED_TRACE(k.message.size());
        EXPECT_EQ(MD5String(k.message), k.md5);
        uint8_t d[16];
        MD5Buf(k.message.constData(), int(k.message.size()), d);
        EXPECT_EQ(Hex(d, 16), k.md5);
        EXPECT_EQ(Md5WithContext(k.message, {}), k.md5);
        EXPECT_EQ(Md5WithFamily(k.message, {}), k.md5);
        TCryptoHash::Hash(QStringLiteral("MD5"), d, 16, k.message);
        EXPECT_EQ(Hex(d, 16), k.md5);
    }
}

TEST(Md5, SplitAtEveryByteAroundTheFinalBlock)
{
    for (const KnownDigest &k : Md5Vectors()) {
        const int n = int(k.message.size());
        if (n < 55)
            continue;
        for (int cut = 0; cut <= n; ++cut) {
            SCOPED_TRACE(QStringLiteral("%1 bytes cut at %2").arg(n).arg(cut).toStdString());
            EXPECT_EQ(Md5WithContext(k.message, {cut}), k.md5);
            EXPECT_EQ(Md5WithFamily(k.message, {cut}), k.md5);
        }
        // One byte at a time.
        TCryptoMD5 md5;
        for (char c : k.message)
            md5.Push(uint8_t(c));
        uint8_t d[16];
        md5.GetDigest(d, 16);
        EXPECT_EQ(Hex(d, 16), k.md5);
    }
}

TEST(Md5, DigestTextIsLowerCaseAndContextIsWipedAfterFinalize)
{
    const uint8_t d[16] = {0x00, 0x0F, 0xA0, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0xBC};
    EXPECT_EQ(PrintMD5(d), QByteArray("000fa0ff0102030405060708090a0bbc"));
    // A reused context gives the right digest again only after Init.
    TkvlMD5 md5;
    md5.Update("abc", 3);
    md5.Finalize();
    md5.Init();
    md5.Update("abc", 3);
    md5.Finalize();
    EXPECT_EQ(PrintMD5(md5.Digest()), QByteArray("900150983cd24fb0d6963f7d28e17f72"));
}

TEST(Md5, StreamIsHashedFromItsStartWhereverItsPositionIs)
{
    TMemoryStream s(QByteArray("abc"));
    s.Seek(0, soEnd);
    TCryptoMD5 md5;
    md5.Push(s);
    uint8_t d[16];
    md5.GetDigest(d, 16);
    EXPECT_EQ(Hex(d, 16), "900150983cd24fb0d6963f7d28e17f72");

    TMemoryStream empty;
    md5.Reset();
    md5.Push(empty);
    md5.GetDigest(d, 16);
    EXPECT_EQ(Hex(d, 16), "d41d8cd98f00b204e9800998ecf8427e");
}

// 600 MiB: beyond the 512 MiB where a 32-bit bit count wraps. Expected from hashlib over
// the same bytes (0..255 repeated).
TEST(Md5, SixHundredMebibytesAsHashlibSays)
{
    QByteArray block(1 << 20, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = char(i & 255);
    TCryptoMD5 md5;
    for (int i = 0; i < 600; ++i)
        md5.Push(block.constData(), block.size());
    uint8_t d[16];
    md5.GetDigest(d, 16);
    EXPECT_EQ(Hex(d, 16), "e8e0b260cd6ec9c81e9f0d7695232b7c");
}

// ---------------------------------------------------------------------------------------------

struct Rc4Vector {
    int keyLength;  // key bytes 1, 2, ..., n
    int offset;
    const char *keystream;
};

// RFC 6229, section 2: key streams at offsets 0, 240 and 4080.
TEST(Rc4, KeyStreamsOfRfc6229)
{
    const Rc4Vector vectors[] = {
        {5, 0, "b2396305f03dc027ccc3524a0a1118a8"},
        {5, 240, "28cb1132c96ce286421dcaadb8b69eae"},
        {5, 4080, "068326a2118416d21f9d04b2cd1ca050"},
        {16, 0, "9ac7cc9a609d1ef7b2932899cde41b97"},
        {16, 240, "065902e4b620f6cc36c8589f66432f2b"},
        {16, 4080, "ff38265c1642c1abe8d3c2fe5e572bf8"},
        {32, 0, "eaa6bd25880bf93d3f5d1e4ca2611d91"},
        {32, 240, "114ae344ded71b35f2e60febad727fd8"},
        {32, 4080, "a13a7c79c7e119b5ab0296ab28c300b9"},
    };
    for (const Rc4Vector &v : vectors) {
        SCOPED_TRACE(v.keyLength);
        QByteArray key;
        for (int i = 1; i <= v.keyLength; ++i)
            key.append(char(i));
        TkvlRC4 rc4;
        rc4.Start(key.constData(), int(key.size()));
        QByteArray buf(4096, '\0');
        rc4.Crypt(buf.constData(), buf.data(), int(buf.size()));  // in place
        EXPECT_EQ(buf.mid(v.offset, 16).toHex(), v.keystream);
    }
}

TEST(Rc4, KeyLengthsOutsideOneTo256LeaveThePermutationAsItWas)
{
    const QByteArray plain("plain text of a PDF string");
    QByteArray key(257, 'k');
    for (int len : {0, 257, -1}) {
        TkvlRC4 fresh;
        fresh.Start(key.constData(), len);
        QByteArray out(plain.size(), '\0');
        fresh.Crypt(plain.constData(), out.data(), int(plain.size()));
        EXPECT_EQ(out, plain) << len;  // an all-zero permutation gives a zero key stream
    }
    // 256 bytes are accepted, and a second Start under the same key restores the text.
    for (int i = 0; i < 256; ++i)
        key[i] = char(i * 31 + 7);
    TkvlRC4 rc4;
    rc4.Start(key.constData(), 256);
    QByteArray buf = plain;
    rc4.Crypt(buf.constData(), buf.data(), int(buf.size()));
    EXPECT_NE(buf, plain);
    rc4.Start(key.constData(), 257);  // refused: the advanced permutation stays
    rc4.Start(key.constData(), 256);
    rc4.Crypt(buf.constData(), buf.data(), int(buf.size()));
    EXPECT_EQ(buf, plain);
}

// ---------------------------------------------------------------------------------------------

struct HashVector {
    const char *name;
    QByteArray message;
    const char *digest;
};

TEST(CryptoHash, KnownAnswersOfEachMember)
{
    const HashVector vectors[] = {
        // RFC 3174, section 7.3.
        {"SHA1", "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"SHA1", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {"SHA1", QByteArray(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
        {"SHA1", QByteArray("01234567").repeated(80), "dea356a2cddd90c7a7ecedc5ebb563934f460452"},
        // The Whirlpool reference vectors (ISO/IEC 10118-3).
        {"Whirlpool", "",
         "19fa61d75522a4669b44e39c1d2e1726c530232130d407f89afee0964997f7a7"
         "3e83be698b288febcf88e3e03c4f0757ea8964e59b63d93708b138cc42a66eb3"},
        {"Whirlpool", "abc",
         "4e2448a4c6f486bb16b6562c73b4020bf3043e3a731bce721ae1b303d97e6d4c"
         "7181eebdb6c57e277d0e34957114cbd6c797fc9d95d8b582d225292076d4eef5"},
        // The one-at-a-time hash over the padded message, as described for the family
        // (computed by a separate Python transcription of that description).
        {"Jenkins", "", "48c7df83"},
        {"Jenkins", "abc", "5aa77e5a"},
    };
    for (const HashVector &v : vectors) {
        SCOPED_TRACE(v.name);
        auto h = TCryptoHash::Create(QString::fromLatin1(v.name));
        ASSERT_TRUE(h);
        QByteArray d(h->DigestSize(), '\0');
        h->Push(v.message.constData(), v.message.size());
        h->GetDigest(d.data(), int(d.size()));
        EXPECT_EQ(d.toHex(), v.digest);
        // Reset gives a fresh hash of the same message.
        h->Reset();
        h->Push(v.message.constData(), v.message.size());
        h->GetDigest(d.data(), int(d.size()));
        EXPECT_EQ(d.toHex(), v.digest);
    }
}

TEST(CryptoHash, NamesAndSizesAreChecked)
{
    EXPECT_EQ(TCryptoHash::Create(QStringLiteral("md5")), nullptr);  // names are case-sensitive
    EXPECT_EQ(TCryptoHash::Create(QStringLiteral("SHA-1")), nullptr);
    uint8_t d[64];
    try {
        TCryptoHash::Hash(QStringLiteral("md5"), d, 16, QByteArray("abc"));
        FAIL();
    } catch (const ECryptoHashUnknown &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Hash function md5 is unknown"));
    }
    // A digest buffer of the wrong size is refused, never overrun.
    EXPECT_THROW(TCryptoHash::Hash(QStringLiteral("MD5"), d, 20, QByteArray("abc")), ECryptoHash);
    EXPECT_THROW(TCryptoHash::Hash(QStringLiteral("Whirlpool"), d, 16, QByteArray("abc")), ECryptoHash);

    const uint8_t bytes[8] = {0x01, 0x02, 0x03, 0x04, 0x05};
    EXPECT_EQ(GetNBytesAt(bytes, 1, 3), 0x040302u);
    EXPECT_THROW(GetNBytesAt(bytes, 0, 5), ECryptoHash);
    uint8_t out[8] = {};
    SetNBytesAt(out, 2, 2, 0xAABBCCDD);
    EXPECT_EQ(Hex(out, 5), "0000ddcc00");
    EXPECT_THROW(SetNBytesAt(out, 0, 8, 1), ECryptoHash);
}

// ---------------------------------------------------------------------------------------------

struct AesVector {
    const char *key;
    const char *cipher;
};

TEST(Aes, Fips197AppendixC)
{
    const QByteArray plain = QByteArray::fromHex("00112233445566778899aabbccddeeff");
    const AesVector vectors[] = {
        {"000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {"000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", "8ea2b7ca516745bfeafc49904b496089"},
    };
    for (const AesVector &v : vectors) {
        const QByteArray key = QByteArray::fromHex(v.key);
        SCOPED_TRACE(key.size() * 8);
        TCryptoAES aes(key);
        EXPECT_EQ(aes.Rounds(), key.size() / 4 + 6);
        uint8_t out[16], back[16];
        aes.Encrypt(out, plain.constData());
        EXPECT_EQ(Hex(out, 16), v.cipher);
        aes.Decrypt(back, out);
        EXPECT_EQ(Hex(back, 16), plain.toHex());
    }
}

TEST(Aes, AgreesWithOpensslOnRandomBlocks)
{
    if (!exporttest::HaveProgram(QStringLiteral("openssl")))
        GTEST_SKIP() << "openssl is not installed";
    auto *rng = QRandomGenerator::global();
    for (int bits : {128, 192, 256}) {
        QByteArray key(bits / 8, '\0'), block(32, '\0');
        rng->fillRange(reinterpret_cast<quint32 *>(key.data()), key.size() / 4);
        rng->fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        const auto r = exporttest::RunProgram(QStringLiteral("openssl"),
                                       {QStringLiteral("enc"), QStringLiteral("-aes-%1-ecb").arg(bits),
                                        QStringLiteral("-nopad"), QStringLiteral("-K"), QString::fromLatin1(key.toHex())},
                                       block);
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        TCryptoAES aes(key);
        QByteArray ours(32, '\0');
        aes.Encrypt(ours.data(), block.constData());
        aes.Encrypt(ours.data() + 16, block.constData() + 16);
        EXPECT_EQ(ours.toHex(), r.out.toHex()) << bits;
    }
}

TEST(Aes, OtherKeyLengthsAreUndefined)
{
    for (int len : {0, 8, 20, 33}) {
        const QByteArray key(len, 'k');
        try {
            TCryptoAES aes(key);
            FAIL() << len;
        } catch (const ECryptoAESInvalidKeyLength &e) {
            EXPECT_EQ(e.message(), QStringLiteral("AES-%1 is undefined").arg(len * 8));
        }
    }
}

} // namespace
