#include "export/crypto/kvlcrypto.h"

#include "export/crypto/md5core.h"
#include "platform/rtl/stream.h"

#include <cstring>

namespace {

inline uint32_t RotLeft(uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }
inline uint64_t RotRight64(uint64_t x, int s) { return s == 0 ? x : (x >> s) | (x << (64 - s)); }

inline uint32_t be32(const uint8_t *p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

inline uint64_t be64(const uint8_t *p)
{
    return (uint64_t(be32(p)) << 32) | be32(p + 4);
}

// Product in GF(2^8) modulo the given polynomial (with its x^8 bit).
uint8_t GFMul(uint8_t a, uint8_t b, unsigned poly)
{
    unsigned r = 0, x = a;
    for (; b; b >>= 1) {
        if (b & 1)
            r ^= x;
        x <<= 1;
        if (x & 0x100)
            x ^= poly;
    }
    return uint8_t(r);
}

// Whirlpool's S-box, built from its two 4-bit mini-boxes, and the eight column tables of
// its round function (S-box then the circulant diffusion row 1, 1, 4, 1, 8, 5, 2, 9).
struct WhirlpoolTables {
    uint8_t S[256];
    uint64_t C[8][256];
    uint64_t RC[11];

    WhirlpoolTables()
    {
        static const uint8_t E[16] = {0x1, 0xB, 0x9, 0xC, 0xD, 0x6, 0xF, 0x3,
                                      0xE, 0x8, 0x7, 0x4, 0xA, 0x2, 0x5, 0x0};
        static const uint8_t R[16] = {0x7, 0xC, 0xB, 0xD, 0xE, 0x4, 0x9, 0xF,
                                      0x6, 0x3, 0x8, 0xA, 0x2, 0x5, 0x1, 0x0};
        uint8_t Einv[16];
        for (int i = 0; i < 16; ++i)
            Einv[E[i]] = uint8_t(i);
        for (int x = 0; x < 256; ++x) {
            const uint8_t a = E[x >> 4], b = Einv[x & 15];
            const uint8_t r = R[a ^ b];
            S[x] = uint8_t((E[a ^ r] << 4) | Einv[b ^ r]);
        }
        static const uint8_t row[8] = {1, 1, 4, 1, 8, 5, 2, 9};
        for (int x = 0; x < 256; ++x) {
            uint64_t v = 0;
            for (int j = 0; j < 8; ++j)
                v = (v << 8) | GFMul(S[x], row[j], 0x11D);
            for (int k = 0; k < 8; ++k)
                C[k][x] = RotRight64(v, 8 * k);
        }
        RC[0] = 0;
        for (int r = 1; r <= 10; ++r)
            RC[r] = be64(S + 8 * (r - 1));
    }
};

// The AES S-box (multiplicative inverse modulo 0x11B, then the affine map with 0x63) and its
// inverse.
struct AESTables {
    uint8_t S[256];
    uint8_t Sinv[256];

    AESTables()
    {
        for (int x = 0; x < 256; ++x) {
            uint8_t inv = 0;
            for (int y = 1; x && y < 256; ++y)
                if (GFMul(uint8_t(x), uint8_t(y), 0x11B) == 1) {
                    inv = uint8_t(y);
                    break;
                }
            auto rotl8 = [](uint8_t v, int s) { return uint8_t((v << s) | (v >> (8 - s))); };
            const uint8_t s = inv ^ rotl8(inv, 1) ^ rotl8(inv, 2) ^ rotl8(inv, 3) ^ rotl8(inv, 4) ^ 0x63;
            S[x] = s;
            Sinv[s] = uint8_t(x);
        }
    }
};

// Built on first use, once per process (thread-safe initialisation of a local static).
const WhirlpoolTables &Whirlpool()
{
    static const WhirlpoolTables t;
    return t;
}

const AESTables &AES()
{
    static const AESTables t;
    return t;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Unit-level helpers

uint32_t GetNBytesAt(const void *Data, int Offset, int N)
{
    if (N < 0 || N > 4)
        throw ECryptoHash(QStringLiteral("Cannot read %1 bytes as one number").arg(N));
    const auto *p = static_cast<const uint8_t *>(Data) + Offset;
    uint32_t v = 0;
    for (int k = N - 1; k >= 0; --k)
        v = (v << 8) | p[k];
    return v;
}

void SetNBytesAt(void *Data, int Offset, int N, uint32_t Value)
{
    if (N < 0 || N > 4)
        throw ECryptoHash(QStringLiteral("Cannot write %1 bytes as one number").arg(N));
    auto *p = static_cast<uint8_t *>(Data) + Offset;
    for (int k = 0; k < N; ++k)
        p[k] = uint8_t(Value >> (8 * k));
}

// ---------------------------------------------------------------------------------------------
// TCryptoHash

TCryptoHash::TCryptoHash(int ChunkSize) : FChunk(size_t(ChunkSize), 0) {}

TCryptoHash::~TCryptoHash() = default;

std::unique_ptr<TCryptoHash> TCryptoHash::Create(const QString &Name)
{
    if (Name == u"MD5")
        return std::make_unique<TCryptoMD5>();
    if (Name == u"SHA1")
        return std::make_unique<TCryptoSHA1>();
    if (Name == u"Whirlpool")
        return std::make_unique<TCryptoWhirlpool>();
    if (Name == u"Jenkins")
        return std::make_unique<TCryptoJenkins>();
    return nullptr;
}

void TCryptoHash::Hash(const QString &Name, void *Digest, int DigestSize, const void *Data, int64_t Size)
{
    auto h = Create(Name);
    if (!h)
        throw ECryptoHashUnknown(QStringLiteral("Hash function %1 is unknown").arg(Name));
    h->Push(Data, Size);
    h->GetDigest(Digest, DigestSize);
}

void TCryptoHash::Hash(const QString &Name, void *Digest, int DigestSize, const QByteArray &s)
{
    Hash(Name, Digest, DigestSize, s.constData(), s.size());
}

void TCryptoHash::Reset()
{
    FLength = 0;
}

void TCryptoHash::Push(uint8_t b)
{
    const size_t i = size_t(FLength % int64_t(FChunk.size()));
    ++FLength;
    FChunk[i] = b;
    if (i + 1 == FChunk.size())
        Process(FChunk.data());
}

void TCryptoHash::Push(const void *Data, int64_t Size)
{
    if (Size <= 0)
        return;
    const auto *p = static_cast<const uint8_t *>(Data);
    const int64_t chunk = int64_t(FChunk.size());
    int64_t i = FLength % chunk;
    FLength += Size;
    if (i > 0) {
        const int64_t take = std::min(chunk - i, Size);
        std::memcpy(FChunk.data() + i, p, size_t(take));
        p += take;
        Size -= take;
        if (i + take < chunk)
            return;
        Process(FChunk.data());
    }
    // Whole chunks straight from the caller's bytes.
    for (; Size >= chunk; p += chunk, Size -= chunk)
        Process(p);
    if (Size > 0)
        std::memcpy(FChunk.data(), p, size_t(Size));
}

void TCryptoHash::Push(TStream &Stream)
{
    Stream.SetPosition(0);
    // A multiple of every member's chunk size.
    std::vector<uint8_t> buf(size_t(64) * 1024);
    for (;;) {
        const int64_t n = Stream.Read(buf.data(), int64_t(buf.size()));
        if (n <= 0)
            break;
        Push(buf.data(), n);
    }
}

void TCryptoHash::Finish(int n, bool LittleEndian)
{
    // The length in bits, counted in 64 bits: no wrap at 512 MiB.
    const uint64_t bits = uint64_t(FLength) * 8;
    const int64_t chunk = int64_t(FChunk.size());
    Push(uint8_t(0x80));
    while (FLength % chunk != chunk - n)
        Push(uint8_t(0));
    uint8_t *field = FChunk.data() + (chunk - n);
    for (int k = 0; k < n; ++k) {
        const uint8_t b = k < 8 ? uint8_t(bits >> (8 * k)) : 0;
        field[LittleEndian ? k : n - 1 - k] = b;
    }
    Process(FChunk.data());
}

void TCryptoHash::CheckDigestSize(int Size) const
{
    if (Size != DigestSize())
        throw ECryptoHash(QStringLiteral("Digest size %1 does not match the hash's %2 bytes")
                              .arg(Size)
                              .arg(DigestSize()));
}

// ---------------------------------------------------------------------------------------------
// MD5

TCryptoMD5::TCryptoMD5() : TCryptoHash(64)
{
    Reset();
}

void TCryptoMD5::Reset()
{
    TCryptoHash::Reset();
    FState[0] = kvl::md5::kInitA;
    FState[1] = kvl::md5::kInitB;
    FState[2] = kvl::md5::kInitC;
    FState[3] = kvl::md5::kInitD;
}

void TCryptoMD5::Process(const uint8_t *Data)
{
    kvl::md5::Transform(FState, Data);
}

void TCryptoMD5::GetDigest(void *Digest, int Size)
{
    CheckDigestSize(Size);
    Finish(8, true);
    for (int w = 0; w < 4; ++w)
        SetNBytesAt(Digest, 4 * w, 4, FState[w]);
}

// ---------------------------------------------------------------------------------------------
// SHA-1

TCryptoSHA1::TCryptoSHA1() : TCryptoHash(64)
{
    Reset();
}

void TCryptoSHA1::Reset()
{
    TCryptoHash::Reset();
    FState[0] = 0x67452301u;
    FState[1] = 0xEFCDAB89u;
    FState[2] = 0x98BADCFEu;
    FState[3] = 0x10325476u;
    FState[4] = 0xC3D2E1F0u;
}

void TCryptoSHA1::Process(const uint8_t *Data)
{
    uint32_t w[80];
    for (int t = 0; t < 16; ++t)
        w[t] = be32(Data + 4 * t);
    for (int t = 16; t < 80; ++t)
        w[t] = RotLeft(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
    uint32_t a = FState[0], b = FState[1], c = FState[2], d = FState[3], e = FState[4];
    for (int t = 0; t < 80; ++t) {
        uint32_t f, k;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        const uint32_t tmp = RotLeft(a, 5) + f + e + k + w[t];
        e = d;
        d = c;
        c = RotLeft(b, 30);
        b = a;
        a = tmp;
    }
    FState[0] += a;
    FState[1] += b;
    FState[2] += c;
    FState[3] += d;
    FState[4] += e;
}

void TCryptoSHA1::GetDigest(void *Digest, int Size)
{
    CheckDigestSize(Size);
    Finish(8, false);
    auto *out = static_cast<uint8_t *>(Digest);
    for (int w = 0; w < 5; ++w)
        for (int k = 0; k < 4; ++k)
            out[4 * w + k] = uint8_t(FState[w] >> (24 - 8 * k));
}

// ---------------------------------------------------------------------------------------------
// Whirlpool

TCryptoWhirlpool::TCryptoWhirlpool() : TCryptoHash(64)
{
    Reset();
}

void TCryptoWhirlpool::Reset()
{
    TCryptoHash::Reset();
    std::memset(FState, 0, sizeof FState);
}

void TCryptoWhirlpool::Process(const uint8_t *Data)
{
    const WhirlpoolTables &t = Whirlpool();
    // One round: S-box, column shift, diffusion, all through the column tables.
    auto round = [&t](const uint64_t in[8], uint64_t out[8]) {
        for (int i = 0; i < 8; ++i) {
            uint64_t v = 0;
            for (int k = 0; k < 8; ++k)
                v ^= t.C[k][(in[(i - k) & 7] >> (56 - 8 * k)) & 0xFF];
            out[i] = v;
        }
    };
    uint64_t block[8], K[8], state[8], tmp[8];
    for (int i = 0; i < 8; ++i) {
        block[i] = be64(Data + 8 * i);
        K[i] = FState[i];
        state[i] = block[i] ^ K[i];
    }
    for (int r = 1; r <= 10; ++r) {
        round(K, tmp);
        tmp[0] ^= t.RC[r];
        std::memcpy(K, tmp, sizeof K);
        round(state, tmp);
        for (int i = 0; i < 8; ++i)
            state[i] = tmp[i] ^ K[i];
    }
    for (int i = 0; i < 8; ++i)
        FState[i] ^= state[i] ^ block[i];
}

void TCryptoWhirlpool::GetDigest(void *Digest, int Size)
{
    CheckDigestSize(Size);
    Finish(32, false);
    auto *out = static_cast<uint8_t *>(Digest);
    for (int i = 0; i < 8; ++i)
        for (int k = 0; k < 8; ++k)
            out[8 * i + k] = uint8_t(FState[i] >> (56 - 8 * k));
}

// ---------------------------------------------------------------------------------------------
// Jenkins

TCryptoJenkins::TCryptoJenkins() : TCryptoHash(64) {}

void TCryptoJenkins::Reset()
{
    TCryptoHash::Reset();
    FHash = 0;
}

void TCryptoJenkins::Process(const uint8_t *Data)
{
    uint32_t h = FHash;
    for (int i = 0; i < 64; ++i) {
        h += Data[i];
        h *= 1025;
        h ^= h >> 6;
    }
    FHash = h;
}

void TCryptoJenkins::Finish(int n, bool LittleEndian)
{
    TCryptoHash::Finish(n, LittleEndian);
    FHash *= 9;
    FHash ^= FHash >> 11;
    FHash *= 32769;
}

void TCryptoJenkins::GetDigest(void *Digest, int Size)
{
    CheckDigestSize(Size);
    Finish(32, true);
    SetNBytesAt(Digest, 0, 4, FHash);
}

// ---------------------------------------------------------------------------------------------
// AES

namespace {

inline uint8_t xtime(uint8_t x) { return uint8_t((x << 1) ^ ((x & 0x80) ? 0x1B : 0)); }

} // namespace

TCryptoAES::TCryptoAES(const void *Key, int KeyLength)
{
    if (KeyLength != 16 && KeyLength != 24 && KeyLength != 32)
        throw ECryptoAESInvalidKeyLength(QStringLiteral("AES-%1 is undefined").arg(KeyLength * 8));
    const AESTables &t = AES();
    const int Nk = KeyLength / 4;
    FNr = Nk + 6;
    const int words = 4 * (FNr + 1);
    std::vector<std::array<uint8_t, 4>> w(static_cast<size_t>(words));
    const auto *k = static_cast<const uint8_t *>(Key);
    for (int i = 0; i < Nk; ++i)
        for (int b = 0; b < 4; ++b)
            w[i][b] = k[4 * i + b];
    uint8_t rcon = 1;
    for (int i = Nk; i < words; ++i) {
        std::array<uint8_t, 4> temp = w[i - 1];
        if (i % Nk == 0) {
            temp = {uint8_t(t.S[temp[1]] ^ rcon), t.S[temp[2]], t.S[temp[3]], t.S[temp[0]]};
            rcon = xtime(rcon);
        } else if (Nk > 6 && i % Nk == 4) {
            for (auto &b : temp)
                b = t.S[b];
        }
        for (int b = 0; b < 4; ++b)
            w[i][b] = w[i - Nk][b] ^ temp[b];
    }
    FW.resize(size_t(FNr + 1));
    for (int r = 0; r <= FNr; ++r)
        for (int col = 0; col < 4; ++col)
            for (int row = 0; row < 4; ++row)
                FW[r][row][col] = w[4 * r + col][row];
}

TCryptoAES::~TCryptoAES() = default;

void TCryptoAES::Encrypt(State &S) const
{
    const AESTables &t = AES();
    auto addKey = [&](int r) {
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                S[i][j] ^= FW[r][i][j];
    };
    auto subShift = [&] {
        for (int i = 0; i < 4; ++i) {
            uint8_t row[4];
            for (int j = 0; j < 4; ++j)
                row[j] = t.S[S[i][(j + i) & 3]];
            std::memcpy(S[i], row, 4);
        }
    };
    addKey(0);
    for (int r = 1; r <= FNr; ++r) {
        subShift();
        if (r < FNr) {
            for (int j = 0; j < 4; ++j) {
                const uint8_t a0 = S[0][j], a1 = S[1][j], a2 = S[2][j], a3 = S[3][j];
                const uint8_t all = a0 ^ a1 ^ a2 ^ a3;
                S[0][j] = a0 ^ all ^ xtime(a0 ^ a1);
                S[1][j] = a1 ^ all ^ xtime(a1 ^ a2);
                S[2][j] = a2 ^ all ^ xtime(a2 ^ a3);
                S[3][j] = a3 ^ all ^ xtime(a3 ^ a0);
            }
        }
        addKey(r);
    }
}

void TCryptoAES::Decrypt(State &S) const
{
    const AESTables &t = AES();
    auto addKey = [&](int r) {
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                S[i][j] ^= FW[r][i][j];
    };
    auto invShiftSub = [&] {
        for (int i = 0; i < 4; ++i) {
            uint8_t row[4];
            for (int j = 0; j < 4; ++j)
                row[(j + i) & 3] = t.Sinv[S[i][j]];
            std::memcpy(S[i], row, 4);
        }
    };
    auto mul = [](uint8_t a, uint8_t b) { return GFMul(a, b, 0x11B); };
    addKey(FNr);
    for (int r = FNr - 1; r >= 0; --r) {
        invShiftSub();
        addKey(r);
        if (r > 0) {
            for (int j = 0; j < 4; ++j) {
                const uint8_t a0 = S[0][j], a1 = S[1][j], a2 = S[2][j], a3 = S[3][j];
                S[0][j] = mul(a0, 14) ^ mul(a1, 11) ^ mul(a2, 13) ^ mul(a3, 9);
                S[1][j] = mul(a0, 9) ^ mul(a1, 14) ^ mul(a2, 11) ^ mul(a3, 13);
                S[2][j] = mul(a0, 13) ^ mul(a1, 9) ^ mul(a2, 14) ^ mul(a3, 11);
                S[3][j] = mul(a0, 11) ^ mul(a1, 13) ^ mul(a2, 9) ^ mul(a3, 14);
            }
        }
    }
}

namespace {

void BlockToState(const void *Block, TCryptoAES::State &S)
{
    const auto *p = static_cast<const uint8_t *>(Block);
    for (int i = 0; i < 16; ++i)
        S[i & 3][i >> 2] = p[i];
}

void StateToBlock(const TCryptoAES::State &S, void *Block)
{
    auto *p = static_cast<uint8_t *>(Block);
    for (int i = 0; i < 16; ++i)
        p[i] = S[i & 3][i >> 2];
}

} // namespace

void TCryptoAES::Encrypt(void *Output, const void *Input) const
{
    State S;
    BlockToState(Input, S);
    Encrypt(S);
    StateToBlock(S, Output);
}

void TCryptoAES::Decrypt(void *Output, const void *Input) const
{
    State S;
    BlockToState(Input, S);
    Decrypt(S);
    StateToBlock(S, Output);
}
