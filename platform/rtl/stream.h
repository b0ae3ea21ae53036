#pragma once
// Byte streams with the usual Read/Write/Seek contract: an abstract base, a growable
// memory stream and a file stream.
#include "platform/rtl/exceptions.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

LIRRA_DECLARE_EXCEPTION(EStreamError, Exception)
LIRRA_DECLARE_EXCEPTION(EReadError, EStreamError)
LIRRA_DECLARE_EXCEPTION(EWriteError, EStreamError)
LIRRA_DECLARE_EXCEPTION(EFOpenError, EStreamError)
LIRRA_DECLARE_EXCEPTION(EFCreateError, EStreamError)

class TStream
{
public:
    virtual ~TStream() = default;

    // Reads up to Count bytes; returns how many were read (0 at the end).
    virtual int64_t Read(void *Buffer, int64_t Count) = 0;
    // Writes Count bytes; returns how many were written.
    virtual int64_t Write(const void *Buffer, int64_t Count) = 0;
    // Moves the position; returns the new position.
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t NewSize);

    // As Read/Write, but a short transfer raises EReadError / EWriteError.
    void ReadBuffer(void *Buffer, int64_t Count);
    void WriteBuffer(const void *Buffer, int64_t Count);
    void WriteBytes(const QByteArray &Bytes) { WriteBuffer(Bytes.constData(), Bytes.size()); }
    // Copies Count bytes from Source's position; Count 0 copies the whole Source from its start.
    int64_t CopyFrom(TStream &Source, int64_t Count);
    // The bytes from the position to the end.
    QByteArray ReadAll();
};

class TMemoryStream : public TStream
{
public:
    TMemoryStream() = default;
    explicit TMemoryStream(const QByteArray &Bytes) : FData(Bytes) {}

    int64_t Read(void *Buffer, int64_t Count) override;
    int64_t Write(const void *Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return FData.size(); }
    void SetSize(int64_t NewSize) override;

    void Clear();
    const char *Memory() const { return FData.constData(); }
    char *Memory() { return FData.data(); }
    const QByteArray &Bytes() const { return FData; }

    void LoadFromStream(TStream &Stream);
    void LoadFromFile(const QString &FileName);
    void SaveToStream(TStream &Stream);
    void SaveToFile(const QString &FileName);

private:
    QByteArray FData;
    int64_t FPosition = 0;
};

// Open modes; the share flags are accepted for the callers' sake but not enforced.
enum : uint16_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

class TFileStream : public TStream
{
public:
    // fmCreate creates or truncates the file (read and write); otherwise the file must exist.
    TFileStream(const QString &FileName, uint16_t Mode);
    ~TFileStream() override;
    TFileStream(const TFileStream &) = delete;
    TFileStream &operator=(const TFileStream &) = delete;

    // A new, uniquely named file Prefix + random suffix in Dir, opened for reading and writing.
    static std::unique_ptr<TFileStream> CreateTemp(const QString &Dir, const QString &Prefix);

    int64_t Read(void *Buffer, int64_t Count) override;
    int64_t Write(const void *Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override;
    void SetSize(int64_t NewSize) override;

    const QString &FileName() const { return FFileName; }
    // Forces written data to the disk; false when the system refuses.
    bool Sync();

private:
    TFileStream(int Fd, const QString &FileName) : FHandle(Fd), FFileName(FileName) {}
    int FHandle = -1;
    QString FFileName;
};
