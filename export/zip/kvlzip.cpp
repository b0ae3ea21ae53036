#include "export/zip/kvlzip.h"

#include "export/common/deflater.h"
#include "export/zip/ziprecords.h"
#include "platform/rtl/stream.h"
#include "report/base/codepage.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>
#include <zlib.h>
#include <vector>

using namespace kvl::zip;

namespace {

// Files of this size or less are stored: deflating them gains nothing.
constexpr int64_t kStoreLimit = 128;
// 0xFFFFFFFF marks a ZIP64 value, so a 32-bit field holds at most one less.
constexpr int64_t kMax32 = 0xFFFFFFFEll;

void check32(int64_t Value, const char *What, const QString &Entry = QString())
{
    if (Value > kMax32)
        throw EkvlZipError(QStringLiteral("The %1%2 is too large for a ZIP archive (%3 bytes, at most 4 GiB)")
                               .arg(QLatin1String(What),
                                    Entry.isEmpty() ? QString() : QStringLiteral(" of ") + Entry)
                               .arg(Value));
}

int64_t modificationTime(const QString &Path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(Path).constData(), &st) != 0)
        return 0;
    return int64_t(st.st_mtime);
}

struct Entry {
    TkvlZipEntryFields fields;
    uint32_t offset = 0;
    QByteArray name;
};

} // namespace

TkvlZipArchive::TkvlZipArchive()
{
    Clear();
}

TkvlZipArchive::~TkvlZipArchive() = default;

void TkvlZipArchive::Clear()
{
    FErrors.Clear();
    FFileList.Clear();
    FData.clear();
    RootFolder.clear();
    Comment.clear();
}

void TkvlZipArchive::AddFile(const QString &FileName)
{
    const QFileInfo info(FileName);
    if (!info.isFile()) {
        FErrors.Add(QStringLiteral("File ") + FileName + QStringLiteral(" not found!"));
        return;
    }
    FFileList.Add(FileName);
    if (RootFolder.isEmpty())
        RootFolder = info.absolutePath() + u'/';
}

void TkvlZipArchive::AddData(const QString &Name, const QByteArray &Data) { FData.emplace_back(Name, Data); }

void TkvlZipArchive::AddDir(const QString &DirName)
{
    QDir dir(DirName);
    if (DirName.isEmpty() || !dir.exists())
        return;
    const QString prefix = DirName.endsWith(u'/') ? DirName : DirName + u'/';
    QStringList names = dir.entryList(QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::NoSort);
    // Plain code-unit order: the same on every machine and locale.
    std::sort(names.begin(), names.end());
    for (const QString &name : names) {
        const QString path = prefix + name;
        const QFileInfo info(path);
        if (info.isDir()) {
            // A link to a folder could lead out of the package or round in a loop.
            if (!info.isSymLink())
                AddDir(path);
        } else {
            AddFile(path);
        }
    }
}

void TkvlZipArchive::SaveToStream(TStream &Stream)
{
    const int count = GetCount();
    if (count > 0xFFFF)
        throw EkvlZipError(QStringLiteral("A ZIP archive holds at most 65535 files, not %1").arg(count));

    std::vector<Entry> entries;
    entries.reserve(size_t(count));
    // One stream serves every entry of the archive.
    TkvlDeflater deflater(Z_DEFAULT_COMPRESSION, TkvlDeflater::Raw);
    QByteArray read, packed;  // kept from entry to entry
    const int64_t now = QDateTime::currentSecsSinceEpoch();
    for (int i = 0; i < count; ++i) {
        const bool inMemory = i < int(FData.size());
        const QString &path = inMemory ? FData[size_t(i)].first : FFileList[i - int(FData.size())];
        QString name = path;
        if (!inMemory && !RootFolder.isEmpty()) {
            const qsizetype at = name.indexOf(RootFolder);
            if (at >= 0)
                name.remove(at, RootFolder.size());
        }
        Entry e;
        e.name = cp::Encode(name, cp::kAnsiCodePage).replace('\\', '/');

        if (!inMemory) {
            TFileStream file(path, fmOpenRead | fmShareDenyWrite);
            const int64_t size = file.Size();
            check32(size, "file", name);
            read.resize(qsizetype(size));
            file.ReadBuffer(read.data(), size);
        }
        const QByteArray &data = inMemory ? FData[size_t(i)].second : read;
        const int64_t size = data.size();
        check32(size, "file", name);
        e.fields.FUnCompressedSize = uint32_t(size);
        e.fields.FCrc32 = uint32_t(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef *>(data.constData()),
                                         uInt(size)));
        const uint32_t dosTime = DosDateTime(inMemory ? now : modificationTime(path));
        e.fields.FLastModFileDate = uint16_t(dosTime >> 16);
        e.fields.FLastModFileTime = uint16_t(dosTime & 0xFFFF);

        const char *body = data.constData();
        int64_t bodySize = size;
        if (size > kStoreLimit) {
            deflater.Pack(data, packed);
            body = packed.constData();
            bodySize = packed.size();
            e.fields.FCompressionMethod = 8;
        }
        check32(bodySize, "compressed file", name);
        e.fields.FCompressedSize = uint32_t(bodySize);

        const int64_t offset = Stream.Position();
        check32(offset, "archive");
        e.offset = uint32_t(offset);

        TkvlZipLocalFileHeader header;
        header.F = e.fields;
        header.SetFileName(e.name);
        header.SaveToStream(Stream);
        Stream.WriteBuffer(body, bodySize);
        entries.push_back(std::move(e));
        if (OnProgress)
            OnProgress(this);
    }

    const int64_t start = Stream.Position();
    check32(start, "archive");
    for (const Entry &e : entries) {
        TkvlZipFileHeader header;
        header.F = e.fields;
        header.FRelativeOffsetLocalHeader = e.offset;
        header.SetFileName(e.name);
        header.SaveToStream(Stream);
    }
    const int64_t end = Stream.Position();
    check32(end, "archive");
    TkvlZipCentralDirectory dir;
    dir.FTotalOfEntriesCentralDirOnDisk = uint16_t(count);
    dir.FTotalOfEntriesCentralDir = uint16_t(count);
    dir.FSizeOfCentralDir = uint32_t(end - start);
    dir.FOffsetStartingDiskDir = uint32_t(start);
    dir.SaveToStream(Stream);
}

void TkvlZipArchive::SaveToFile(const QString &FileName)
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(file);
}
