#pragma once
// The three records of a ZIP archive as written by TkvlZipArchive (all numbers little-endian).
#include <QByteArray>
#include <cstdint>

class TStream;

namespace kvl::zip {

// Fields shared by the local and the central header.
struct TkvlZipEntryFields {
    uint16_t FGeneralPurpose = 0;
    uint16_t FCompressionMethod = 0;
    uint16_t FLastModFileTime = 0;
    uint16_t FLastModFileDate = 0;
    uint32_t FCrc32 = 0;
    uint32_t FCompressedSize = 0;
    uint32_t FUnCompressedSize = 0;
};

class TkvlZipLocalFileHeader
{
public:
    static constexpr uint32_t kSignature = 0x04034B50;
    uint16_t FVersion = 20;
    TkvlZipEntryFields F;

    // Stores the name with every '\' turned into '/'.
    void SetFileName(const QByteArray &Name);
    void SetExtraField(const QByteArray &Extra);
    const QByteArray &FileName() const { return FFileName; }
    void SaveToStream(TStream &Stream) const;

private:
    QByteArray FFileName;
    QByteArray FExtraField;
};

class TkvlZipFileHeader
{
public:
    static constexpr uint32_t kSignature = 0x02014B50;
    uint16_t FVersionMadeBy = 20;
    uint16_t FVersionNeeded = 20;
    TkvlZipEntryFields F;
    uint16_t FDiskNumberStart = 0;
    uint16_t FInternalFileAttribute = 0;
    uint32_t FExternalFileAttribute = 0;
    uint32_t FRelativeOffsetLocalHeader = 0;

    void SetFileName(const QByteArray &Name);
    void SetExtraField(const QByteArray &Extra);
    void SetFileComment(const QByteArray &Comment);
    void SaveToStream(TStream &Stream) const;

private:
    QByteArray FFileName;
    QByteArray FExtraField;
    QByteArray FFileComment;
};

class TkvlZipCentralDirectory
{
public:
    static constexpr uint32_t kSignature = 0x06054B50;
    uint16_t FNumberOfTheDisk = 0;
    uint16_t FNumberOfTheDiskStartCentralDir = 0;
    uint16_t FTotalOfEntriesCentralDirOnDisk = 0;
    uint16_t FTotalOfEntriesCentralDir = 0;
    uint32_t FSizeOfCentralDir = 0;
    uint32_t FOffsetStartingDiskDir = 0;

    void SetComment(const QByteArray &Comment);
    void SaveToStream(TStream &Stream) const;

private:
    QByteArray FComment;
};

// DOS date (high word) and time (low word) of a time in seconds since the epoch, in local
// time; times before 1980 give 1980-01-01 00:00, after 2107 give 2107-12-31 23:59:58.
uint32_t DosDateTime(int64_t UnixTime);

} // namespace kvl::zip
