#pragma once
// The MD5 compression function, shared by the digest context and the chunked hash family so
// that both give the same digests from one piece of code.
#include <cstdint>

namespace kvl::md5 {

constexpr uint32_t kInitA = 0x67452301u;
constexpr uint32_t kInitB = 0xEFCDAB89u;
constexpr uint32_t kInitC = 0x98BADCFEu;
constexpr uint32_t kInitD = 0x10325476u;

// Runs the 64 steps over one 64-byte block (message words read little-endian) and adds the
// result into State.
void Transform(uint32_t State[4], const uint8_t *Block);

// Same, for Count consecutive blocks.
void TransformBlocks(uint32_t State[4], const uint8_t *Blocks, uint64_t Count);

} // namespace kvl::md5
