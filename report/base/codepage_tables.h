#pragma once
// Byte-to-Unicode tables of the single-byte code pages (upper half only).
#include <cstdint>

namespace cp {

extern const uint16_t kPage1250[128];
extern const uint16_t kPage1251[128];
extern const uint16_t kPage1252[128];
extern const uint16_t kPage1253[128];
extern const uint16_t kPage1254[128];
extern const uint16_t kPage1255[128];
extern const uint16_t kPage1256[128];
extern const uint16_t kPage1257[128];
extern const uint16_t kPage1258[128];
extern const uint16_t kPage874[128];
extern const uint16_t kPage850[128];
extern const uint16_t kPage10000[128];

} // namespace cp
