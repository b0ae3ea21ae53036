#pragma once
// A family of hashes over one chunked base (MD5, SHA-1, Whirlpool, a Jenkins one-at-a-time
// variant) and the AES block cipher. The PDF writer uses TCryptoMD5 to recognise pictures
// it has already written.
#include "platform/rtl/exceptions.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TStream;

LIRRA_DECLARE_EXCEPTION(ECryptoHash, Exception)
LIRRA_DECLARE_EXCEPTION(ECryptoHashUnknown, ECryptoHash)
LIRRA_DECLARE_EXCEPTION(ECryptoAESException, Exception)
LIRRA_DECLARE_EXCEPTION(ECryptoAESInvalidKeyLength, ECryptoAESException)

class TCryptoHash
{
public:
    virtual ~TCryptoHash();

    // A new hash of the member named exactly Name ("MD5", "SHA1", "Whirlpool", "Jenkins"), or
    // nullptr for any other name.
    static std::unique_ptr<TCryptoHash> Create(const QString &Name);
    // Hashes Size bytes at Data with the member named Name into DigestSize bytes at Digest.
    // An unknown name raises ECryptoHashUnknown, a wrong digest size ECryptoHash.
    static void Hash(const QString &Name, void *Digest, int DigestSize, const void *Data, int64_t Size);
    static void Hash(const QString &Name, void *Digest, int DigestSize, const QByteArray &s);

    void Push(uint8_t b);
    void Push(const void *Data, int64_t Size);
    // The whole stream from position 0 to its end, wherever its position was.
    void Push(TStream &Stream);

    int ChunkSize() const { return int(FChunk.size()); }

    // Back to the state of a new object.
    virtual void Reset();
    // Finishes the hash and copies its digest; Size must equal DigestSize (ECryptoHash
    // otherwise). Changes the state: a second call needs Reset first.
    virtual void GetDigest(void *Digest, int Size) = 0;
    virtual int DigestSize() const = 0;

protected:
    explicit TCryptoHash(int ChunkSize);
    // Compresses one full chunk into the state.
    virtual void Process(const uint8_t *Data) = 0;
    // Appends the padding: 0x80, zeros, and the message length in bits as an n-byte field
    // (little- or big-endian) closing the last chunk.
    virtual void Finish(int n, bool LittleEndian);
    void CheckDigestSize(int Size) const;

    std::vector<uint8_t> FChunk;
    int64_t FLength = 0;  // bytes pushed since creation or Reset
};

class TCryptoMD5 : public TCryptoHash
{
public:
    TCryptoMD5();
    void Reset() override;
    void GetDigest(void *Digest, int Size) override;
    int DigestSize() const override { return 16; }

protected:
    void Process(const uint8_t *Data) override;

private:
    uint32_t FState[4];
};

class TCryptoSHA1 : public TCryptoHash
{
public:
    TCryptoSHA1();
    void Reset() override;
    void GetDigest(void *Digest, int Size) override;
    int DigestSize() const override { return 20; }

protected:
    void Process(const uint8_t *Data) override;

private:
    uint32_t FState[5];
};

class TCryptoWhirlpool : public TCryptoHash
{
public:
    TCryptoWhirlpool();
    void Reset() override;
    void GetDigest(void *Digest, int Size) override;
    int DigestSize() const override { return 64; }

protected:
    void Process(const uint8_t *Data) override;

private:
    uint64_t FState[8];  // rows of the 8 x 8 byte state, first byte most significant
};

class TCryptoJenkins : public TCryptoHash
{
public:
    TCryptoJenkins();
    void Reset() override;
    void GetDigest(void *Digest, int Size) override;
    int DigestSize() const override { return 4; }

protected:
    void Process(const uint8_t *Data) override;
    void Finish(int n, bool LittleEndian) override;

private:
    uint32_t FHash = 0;
};

// AES (128, 192 or 256-bit keys) on single 16-byte blocks, no chaining. A block's bytes fill
// the state column by column: byte i + 4j is row i, column j.
class TCryptoAES
{
public:
    using State = uint8_t[4][4];

    // A key of 16, 24 or 32 bytes; any other length raises ECryptoAESInvalidKeyLength.
    TCryptoAES(const void *Key, int KeyLength);
    explicit TCryptoAES(const QByteArray &Key) : TCryptoAES(Key.constData(), int(Key.size())) {}
    virtual ~TCryptoAES();

    virtual void Encrypt(State &S) const;
    virtual void Decrypt(State &S) const;
    virtual void Encrypt(void *Output, const void *Input) const;
    virtual void Decrypt(void *Output, const void *Input) const;

    int Rounds() const { return FNr; }

private:
    int FNr = 0;
    std::vector<std::array<std::array<uint8_t, 4>, 4>> FW;  // one round key per round, plus one
};

// N (at most 4) bytes at Data + Offset as a little-endian number; larger N raises ECryptoHash.
uint32_t GetNBytesAt(const void *Data, int Offset, int N);
// Writes the N (at most 4) low bytes of Value there, least significant first.
void SetNBytesAt(void *Data, int Offset, int N, uint32_t Value);
