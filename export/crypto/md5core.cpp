#include "export/crypto/md5core.h"

namespace kvl::md5 {

namespace {

inline uint32_t rotl(uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }

inline uint32_t le32(const uint8_t *p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// The four auxiliary functions; F and G in the forms that need one operation less.
#define KVL_F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define KVL_G(x, y, z) ((y) ^ ((z) & ((x) ^ (y))))
#define KVL_H(x, y, z) ((x) ^ (y) ^ (z))
#define KVL_I(x, y, z) ((y) ^ ((x) | ~(z)))
#define KVL_STEP(f, a, b, c, d, x, s, ac) (a) = (b) + rotl((a) + f((b), (c), (d)) + (x) + (ac), (s))

} // namespace

void Transform(uint32_t State[4], const uint8_t *Block)
{
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = le32(Block + 4 * i);
    uint32_t a = State[0], b = State[1], c = State[2], d = State[3];

    KVL_STEP(KVL_F, a, b, c, d, x[0], 7, 0xd76aa478);
    KVL_STEP(KVL_F, d, a, b, c, x[1], 12, 0xe8c7b756);
    KVL_STEP(KVL_F, c, d, a, b, x[2], 17, 0x242070db);
    KVL_STEP(KVL_F, b, c, d, a, x[3], 22, 0xc1bdceee);
    KVL_STEP(KVL_F, a, b, c, d, x[4], 7, 0xf57c0faf);
    KVL_STEP(KVL_F, d, a, b, c, x[5], 12, 0x4787c62a);
    KVL_STEP(KVL_F, c, d, a, b, x[6], 17, 0xa8304613);
    KVL_STEP(KVL_F, b, c, d, a, x[7], 22, 0xfd469501);
    KVL_STEP(KVL_F, a, b, c, d, x[8], 7, 0x698098d8);
    KVL_STEP(KVL_F, d, a, b, c, x[9], 12, 0x8b44f7af);
    KVL_STEP(KVL_F, c, d, a, b, x[10], 17, 0xffff5bb1);
    KVL_STEP(KVL_F, b, c, d, a, x[11], 22, 0x895cd7be);
    KVL_STEP(KVL_F, a, b, c, d, x[12], 7, 0x6b901122);
    KVL_STEP(KVL_F, d, a, b, c, x[13], 12, 0xfd987193);
    KVL_STEP(KVL_F, c, d, a, b, x[14], 17, 0xa679438e);
    KVL_STEP(KVL_F, b, c, d, a, x[15], 22, 0x49b40821);

    KVL_STEP(KVL_G, a, b, c, d, x[1], 5, 0xf61e2562);
    KVL_STEP(KVL_G, d, a, b, c, x[6], 9, 0xc040b340);
    KVL_STEP(KVL_G, c, d, a, b, x[11], 14, 0x265e5a51);
    KVL_STEP(KVL_G, b, c, d, a, x[0], 20, 0xe9b6c7aa);
    KVL_STEP(KVL_G, a, b, c, d, x[5], 5, 0xd62f105d);
    KVL_STEP(KVL_G, d, a, b, c, x[10], 9, 0x02441453);
    KVL_STEP(KVL_G, c, d, a, b, x[15], 14, 0xd8a1e681);
    KVL_STEP(KVL_G, b, c, d, a, x[4], 20, 0xe7d3fbc8);
    KVL_STEP(KVL_G, a, b, c, d, x[9], 5, 0x21e1cde6);
    KVL_STEP(KVL_G, d, a, b, c, x[14], 9, 0xc33707d6);
    KVL_STEP(KVL_G, c, d, a, b, x[3], 14, 0xf4d50d87);
    KVL_STEP(KVL_G, b, c, d, a, x[8], 20, 0x455a14ed);
    KVL_STEP(KVL_G, a, b, c, d, x[13], 5, 0xa9e3e905);
    KVL_STEP(KVL_G, d, a, b, c, x[2], 9, 0xfcefa3f8);
    KVL_STEP(KVL_G, c, d, a, b, x[7], 14, 0x676f02d9);
    KVL_STEP(KVL_G, b, c, d, a, x[12], 20, 0x8d2a4c8a);

    KVL_STEP(KVL_H, a, b, c, d, x[5], 4, 0xfffa3942);
    KVL_STEP(KVL_H, d, a, b, c, x[8], 11, 0x8771f681);
    KVL_STEP(KVL_H, c, d, a, b, x[11], 16, 0x6d9d6122);
    KVL_STEP(KVL_H, b, c, d, a, x[14], 23, 0xfde5380c);
    KVL_STEP(KVL_H, a, b, c, d, x[1], 4, 0xa4beea44);
    KVL_STEP(KVL_H, d, a, b, c, x[4], 11, 0x4bdecfa9);
    KVL_STEP(KVL_H, c, d, a, b, x[7], 16, 0xf6bb4b60);
    KVL_STEP(KVL_H, b, c, d, a, x[10], 23, 0xbebfbc70);
    KVL_STEP(KVL_H, a, b, c, d, x[13], 4, 0x289b7ec6);
    KVL_STEP(KVL_H, d, a, b, c, x[0], 11, 0xeaa127fa);
    KVL_STEP(KVL_H, c, d, a, b, x[3], 16, 0xd4ef3085);
    KVL_STEP(KVL_H, b, c, d, a, x[6], 23, 0x04881d05);
    KVL_STEP(KVL_H, a, b, c, d, x[9], 4, 0xd9d4d039);
    KVL_STEP(KVL_H, d, a, b, c, x[12], 11, 0xe6db99e5);
    KVL_STEP(KVL_H, c, d, a, b, x[15], 16, 0x1fa27cf8);
    KVL_STEP(KVL_H, b, c, d, a, x[2], 23, 0xc4ac5665);

    KVL_STEP(KVL_I, a, b, c, d, x[0], 6, 0xf4292244);
    KVL_STEP(KVL_I, d, a, b, c, x[7], 10, 0x432aff97);
    KVL_STEP(KVL_I, c, d, a, b, x[14], 15, 0xab9423a7);
    KVL_STEP(KVL_I, b, c, d, a, x[5], 21, 0xfc93a039);
    KVL_STEP(KVL_I, a, b, c, d, x[12], 6, 0x655b59c3);
    KVL_STEP(KVL_I, d, a, b, c, x[3], 10, 0x8f0ccc92);
    KVL_STEP(KVL_I, c, d, a, b, x[10], 15, 0xffeff47d);
    KVL_STEP(KVL_I, b, c, d, a, x[1], 21, 0x85845dd1);
    KVL_STEP(KVL_I, a, b, c, d, x[8], 6, 0x6fa87e4f);
    KVL_STEP(KVL_I, d, a, b, c, x[15], 10, 0xfe2ce6e0);
    KVL_STEP(KVL_I, c, d, a, b, x[6], 15, 0xa3014314);
    KVL_STEP(KVL_I, b, c, d, a, x[13], 21, 0x4e0811a1);
    KVL_STEP(KVL_I, a, b, c, d, x[4], 6, 0xf7537e82);
    KVL_STEP(KVL_I, d, a, b, c, x[11], 10, 0xbd3af235);
    KVL_STEP(KVL_I, c, d, a, b, x[2], 15, 0x2ad7d2bb);
    KVL_STEP(KVL_I, b, c, d, a, x[9], 21, 0xeb86d391);

    State[0] += a;
    State[1] += b;
    State[2] += c;
    State[3] += d;
}

void TransformBlocks(uint32_t State[4], const uint8_t *Blocks, uint64_t Count)
{
    for (uint64_t i = 0; i < Count; ++i)
        Transform(State, Blocks + 64 * i);
}

#undef KVL_F
#undef KVL_G
#undef KVL_H
#undef KVL_I
#undef KVL_STEP

} // namespace kvl::md5
