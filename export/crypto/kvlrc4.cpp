#include "export/crypto/kvlrc4.h"

#include <utility>

void TkvlRC4::Start(const void *Key, int KeyLength)
{
    if (KeyLength < 1 || KeyLength > 256)
        return;
    const auto *k = static_cast<const uint8_t *>(Key);
    for (int i = 0; i < 256; ++i)
        FKey[i] = uint8_t(i);
    uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
        j = uint8_t(j + FKey[i] + k[i % KeyLength]);
        std::swap(FKey[i], FKey[j]);
    }
}

void TkvlRC4::Crypt(const void *Source, void *Target, int Length)
{
    const auto *src = static_cast<const uint8_t *>(Source);
    auto *dst = static_cast<uint8_t *>(Target);
    uint8_t i = 0, j = 0;
    for (int n = 0; n < Length; ++n) {
        i = uint8_t(i + 1);
        j = uint8_t(j + FKey[i]);
        std::swap(FKey[i], FKey[j]);
        dst[n] = src[n] ^ FKey[uint8_t(FKey[i] + FKey[j])];
    }
}
