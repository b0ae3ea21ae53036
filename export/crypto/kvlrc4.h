#pragma once
// RC4, for the strings and streams of a protected PDF.
#include <cstdint>

class TkvlRC4
{
public:
    // Sets up the permutation from a key of 1 to 256 bytes; any other length leaves the
    // permutation as it was (all zero on a new object, which gives a zero key stream).
    void Start(const void *Key, int KeyLength);
    // Enciphers (or deciphers: the same operation) Length bytes of Source into Target; the
    // two may be one buffer. The permutation carries over to the next call, the indices do not.
    void Crypt(const void *Source, void *Target, int Length);

private:
    uint8_t FKey[256] = {};
};
