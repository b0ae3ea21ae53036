#pragma once
// Byte-order operations and the one bounds-checked reader every table goes through.
// Font files are hostile input: a read outside the buffer raises "TrueType font format
// error" instead of touching memory that is not the font's.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace ttf {

// Big-endian values at a raw pointer (the caller has checked the range).
inline uint16_t be16(const uint8_t *p) { return uint16_t(p[0] << 8 | p[1]); }
inline uint32_t be32(const uint8_t *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
inline void put16(uint8_t *p, uint16_t v)
{
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}
inline void put32(uint8_t *p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

// A four-character tag as it is compared: its bytes in file order, read big-endian.
constexpr uint32_t Tag(const char (&s)[5])
{
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 |
           uint32_t(uint8_t(s[2])) << 8 | uint32_t(uint8_t(s[3]));
}

inline uint32_t RoundUp4(uint32_t n) { return (n + 3u) & ~3u; }

[[noreturn]] void RaiseFormatError();

// The font bytes: reads are checked against the buffer's size. The buffer belongs to the
// collection (its private copy); only the font header's load writes into it.
class FontBuffer {
public:
    FontBuffer() = default;
    FontBuffer(uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    const uint8_t *data() const { return m_data; }
    size_t size() const { return m_size; }
    bool contains(uint64_t pos, uint64_t len) const { return pos <= m_size && len <= m_size - pos; }

    // Pointer to len bytes at pos, or the format error.
    const uint8_t *at(uint64_t pos, uint64_t len) const
    {
        if (!contains(pos, len))
            RaiseFormatError();
        return m_data + pos;
    }
    uint8_t u8(uint64_t pos) const { return *at(pos, 1); }
    uint16_t u16(uint64_t pos) const { return be16(at(pos, 2)); }
    int16_t i16(uint64_t pos) const { return int16_t(u16(pos)); }
    uint32_t u32(uint64_t pos) const { return be32(at(pos, 4)); }
    void setU32(uint64_t pos, uint32_t v)
    {
        at(pos, 4);
        put32(m_data + pos, v);
    }

private:
    uint8_t *m_data = nullptr;
    size_t m_size = 0;
};

// Sum modulo 2^32 of the big-endian words of len bytes; a last partial word counts
// only its own bytes.
uint32_t CalcChecksum(const uint8_t *p, size_t len);

// Room for len bytes at pos in an output buffer (grown with zeros); the pointer to them.
uint8_t *OutputAt(QByteArray &out, uint32_t pos, uint32_t len);

} // namespace ttf
