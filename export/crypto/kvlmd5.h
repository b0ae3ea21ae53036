#pragma once
// MD5 digests (RFC 1321) of bytes in memory: the PDF document identifier, the standard
// security handler's key derivation and the per-object keys.
#include <QByteArray>
#include <cstdint>

class TkvlMD5
{
public:
    TkvlMD5() { Init(); }
    ~TkvlMD5();

    void Init();
    // Adds bytes to the message; may be called any number of times.
    void Update(const void *chInput, uint32_t nInputLen);
    // Completes the digest, then wipes count, state and buffer (the digest stays). A further
    // digest needs Init first.
    void Finalize();
    // The 16 digest bytes, valid after Finalize.
    const uint8_t *Digest() const { return m_Digest; }

private:
    uint32_t m_State[4];
    uint64_t m_Count;  // message bits so far
    uint8_t m_Buffer[64];
    uint8_t m_Digest[16] = {};
};

// Hexadecimal text (32 lower-case digits) of the MD5 of the bytes of s.
QByteArray MD5String(const QByteArray &s);
// The 16 raw digest bytes of Len bytes at Buf, written to Digest.
void MD5Buf(const void *Buf, int Len, void *Digest);
// Hexadecimal text of 16 digest bytes: two lower-case digits per byte, high nibble first.
QByteArray PrintMD5(const void *Digest);
