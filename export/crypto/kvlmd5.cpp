#include "export/crypto/kvlmd5.h"

#include "export/crypto/md5core.h"

#include <cstring>

TkvlMD5::~TkvlMD5() = default;

void TkvlMD5::Init()
{
    m_Count = 0;
    m_State[0] = kvl::md5::kInitA;
    m_State[1] = kvl::md5::kInitB;
    m_State[2] = kvl::md5::kInitC;
    m_State[3] = kvl::md5::kInitD;
    std::memset(m_Buffer, 0, sizeof m_Buffer);
}

void TkvlMD5::Update(const void *chInput, uint32_t nInputLen)
{
    const auto *in = static_cast<const uint8_t *>(chInput);
    const uint32_t i = uint32_t((m_Count >> 3) & 63);
    m_Count += uint64_t(nInputLen) << 3;
    const uint32_t partLen = 64 - i;
    uint32_t done = 0;
    if (nInputLen >= partLen) {
        std::memcpy(m_Buffer + i, in, partLen);
        kvl::md5::Transform(m_State, m_Buffer);
        done = partLen;
        const uint32_t whole = (nInputLen - done) / 64;
        kvl::md5::TransformBlocks(m_State, in + done, whole);
        done += whole * 64;
        std::memcpy(m_Buffer, in + done, nInputLen - done);
    } else {
        std::memcpy(m_Buffer + i, in, nInputLen);
    }
}

void TkvlMD5::Finalize()
{
    uint8_t bits[8];
    for (int k = 0; k < 8; ++k)
        bits[k] = uint8_t(m_Count >> (8 * k));
    const uint32_t i = uint32_t((m_Count >> 3) & 63);
    static const uint8_t padding[64] = {0x80};
    Update(padding, i < 56 ? 56 - i : 120 - i);
    Update(bits, 8);
    for (int w = 0; w < 4; ++w)
        for (int k = 0; k < 4; ++k)
            m_Digest[4 * w + k] = uint8_t(m_State[w] >> (8 * k));
    m_Count = 0;
    std::memset(m_State, 0, sizeof m_State);
    std::memset(m_Buffer, 0, sizeof m_Buffer);
}

QByteArray PrintMD5(const void *Digest)
{
    static const char digits[] = "0123456789abcdef";
    const auto *d = static_cast<const uint8_t *>(Digest);
    QByteArray out(32, Qt::Uninitialized);
    for (int k = 0; k < 16; ++k) {
        out[2 * k] = digits[d[k] >> 4];
        out[2 * k + 1] = digits[d[k] & 15];
    }
    return out;
}

void MD5Buf(const void *Buf, int Len, void *Digest)
{
    TkvlMD5 md5;
    if (Len > 0)
        md5.Update(Buf, uint32_t(Len));
    md5.Finalize();
    std::memcpy(Digest, md5.Digest(), 16);
}

QByteArray MD5String(const QByteArray &s)
{
    uint8_t digest[16];
    MD5Buf(s.constData(), int(s.size()), digest);
    return PrintMD5(digest);
}
