#include "export/zip/ziprecords.h"

#include "export/zip/kvlzip.h"
#include "platform/rtl/stream.h"

#include <algorithm>
#include <ctime>

namespace kvl::zip {

namespace {

// Little-endian field writer collecting one record before a single stream write.
class Record
{
public:
    Record &u16(uint16_t v)
    {
        FBytes.append(char(v & 0xFF)).append(char(v >> 8));
        return *this;
    }
    Record &u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
    Record &bytes(const QByteArray &b)
    {
        FBytes.append(b);
        return *this;
    }
    Record &fields(const TkvlZipEntryFields &f)
    {
        return u16(f.FGeneralPurpose)
            .u16(f.FCompressionMethod)
            .u16(f.FLastModFileTime)
            .u16(f.FLastModFileDate)
            .u32(f.FCrc32)
            .u32(f.FCompressedSize)
            .u32(f.FUnCompressedSize);
    }
    void writeTo(TStream &Stream) const { Stream.WriteBuffer(FBytes.constData(), FBytes.size()); }

private:
    QByteArray FBytes;
};

uint16_t length16(const QByteArray &b, const char *what)
{
    if (b.size() > 0xFFFF)
        throw EkvlZipError(QStringLiteral("The %1 is longer than a ZIP archive allows (%2 bytes)")
                               .arg(QLatin1String(what))
                               .arg(b.size()));
    return uint16_t(b.size());
}

QByteArray slashes(QByteArray Name)
{
    Name.replace('\\', '/');
    return Name;
}

} // namespace

void TkvlZipLocalFileHeader::SetFileName(const QByteArray &Name) { FFileName = slashes(Name); }
void TkvlZipLocalFileHeader::SetExtraField(const QByteArray &Extra) { FExtraField = Extra; }

void TkvlZipLocalFileHeader::SaveToStream(TStream &Stream) const
{
    Record r;
    r.u32(kSignature).u16(FVersion).fields(F);
    r.u16(length16(FFileName, "file name")).u16(length16(FExtraField, "extra field"));
    r.bytes(FFileName).bytes(FExtraField).writeTo(Stream);
}

void TkvlZipFileHeader::SetFileName(const QByteArray &Name) { FFileName = slashes(Name); }
void TkvlZipFileHeader::SetExtraField(const QByteArray &Extra) { FExtraField = Extra; }
void TkvlZipFileHeader::SetFileComment(const QByteArray &Comment) { FFileComment = Comment; }

void TkvlZipFileHeader::SaveToStream(TStream &Stream) const
{
    Record r;
    r.u32(kSignature).u16(FVersionMadeBy).u16(FVersionNeeded).fields(F);
    r.u16(length16(FFileName, "file name"))
        .u16(length16(FExtraField, "extra field"))
        .u16(length16(FFileComment, "file comment"));
    r.u16(FDiskNumberStart).u16(FInternalFileAttribute).u32(FExternalFileAttribute).u32(FRelativeOffsetLocalHeader);
    r.bytes(FFileName).bytes(FExtraField).bytes(FFileComment).writeTo(Stream);
}

void TkvlZipCentralDirectory::SetComment(const QByteArray &Comment) { FComment = Comment; }

void TkvlZipCentralDirectory::SaveToStream(TStream &Stream) const
{
    Record r;
    r.u32(kSignature).u16(FNumberOfTheDisk).u16(FNumberOfTheDiskStartCentralDir);
    r.u16(FTotalOfEntriesCentralDirOnDisk).u16(FTotalOfEntriesCentralDir);
    r.u32(FSizeOfCentralDir).u32(FOffsetStartingDiskDir).u16(length16(FComment, "archive comment"));
    r.bytes(FComment).writeTo(Stream);
}

uint32_t DosDateTime(int64_t UnixTime)
{
    const time_t t = time_t(UnixTime);
    struct tm lt {};
    if (!localtime_r(&t, &lt) || lt.tm_year < 80)
        return (uint32_t((0 << 9) | (1 << 5) | 1) << 16);  // 1980-01-01 00:00:00
    if (lt.tm_year > 207)
        return (uint32_t((127 << 9) | (12 << 5) | 31) << 16) | uint32_t((23 << 11) | (59 << 5) | 29);
    const uint32_t date = uint32_t(((lt.tm_year - 80) << 9) | ((lt.tm_mon + 1) << 5) | lt.tm_mday);
    const uint32_t time = uint32_t((lt.tm_hour << 11) | (lt.tm_min << 5) | (std::min(lt.tm_sec, 59) / 2));
    return (date << 16) | time;
}

} // namespace kvl::zip
