#include "platform/rtl/stream.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString osError(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

constexpr int64_t kCopyChunk = 64 * 1024;

} // namespace

// ---- TStream ----

int64_t TStream::Size()
{
    const int64_t pos = Seek(0, soCurrent);
    const int64_t end = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return end;
}

void TStream::SetSize(int64_t)
{
    throw EStreamError(QStringLiteral("Stream size cannot be changed"));
}

void TStream::ReadBuffer(void *Buffer, int64_t Count)
{
    char *p = static_cast<char *>(Buffer);
    while (Count > 0) {
        const int64_t n = Read(p, Count);
        if (n <= 0)
            throw EReadError(QStringLiteral("Stream read error"));
        p += n;
        Count -= n;
    }
}

void TStream::WriteBuffer(const void *Buffer, int64_t Count)
{
    if (Count > 0 && Write(Buffer, Count) != Count)
        throw EWriteError(QStringLiteral("Stream write error"));
}

int64_t TStream::CopyFrom(TStream &Source, int64_t Count)
{
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    QByteArray buf(int(std::min(Count, kCopyChunk)), Qt::Uninitialized);
    const int64_t total = Count;
    while (Count > 0) {
        const int64_t n = std::min<int64_t>(Count, buf.size());
        Source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.constData(), n);
        Count -= n;
    }
    return total;
}

QByteArray TStream::ReadAll()
{
    const int64_t left = Size() - Position();
    if (left <= 0)
        return {};
    if (left > std::numeric_limits<int>::max() / 2)
        throw EReadError(QStringLiteral("Stream too large"));
    QByteArray bytes(int(left), Qt::Uninitialized);
    ReadBuffer(bytes.data(), left);
    return bytes;
}

// ---- TMemoryStream ----

int64_t TMemoryStream::Read(void *Buffer, int64_t Count)
{
    const int64_t n = std::max<int64_t>(0, std::min(Count, int64_t(FData.size()) - FPosition));
    if (n > 0) {
        std::memcpy(Buffer, FData.constData() + FPosition, size_t(n));
        FPosition += n;
    }
    return n;
}

int64_t TMemoryStream::Write(const void *Buffer, int64_t Count)
{
    if (Count <= 0)
        return 0;
    const int64_t end = FPosition + Count;
    if (end > FData.size()) {
        if (end > std::numeric_limits<int>::max() - 64)
            throw EWriteError(QStringLiteral("Out of memory while expanding memory stream"));
        if (end > FData.capacity())
            FData.reserve(int(std::min<int64_t>(std::max<int64_t>(end, FData.capacity() * 2),
                                                std::numeric_limits<int>::max() - 64)));
        FData.resize(int(end));
    }
    std::memcpy(FData.data() + FPosition, Buffer, size_t(Count));
    FPosition = end;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FData.size() + Offset; break;
    }
    if (FPosition < 0)
        FPosition = 0;
    return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize)
{
    if (NewSize < 0 || NewSize > std::numeric_limits<int>::max() - 64)
        throw EWriteError(QStringLiteral("Out of memory while expanding memory stream"));
    FData.resize(int(NewSize));
    if (FPosition > NewSize)
        FPosition = NewSize;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream &Stream)
{
    Stream.SetPosition(0);
    Clear();
    FData = Stream.ReadAll();
}

void TMemoryStream::LoadFromFile(const QString &FileName)
{
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TMemoryStream::SaveToStream(TStream &Stream)
{
    Stream.WriteBuffer(FData.constData(), FData.size());
}

void TMemoryStream::SaveToFile(const QString &FileName)
{
    TFileStream f(FileName, fmCreate);
    SaveToStream(f);
}

// ---- TFileStream ----

TFileStream::TFileStream(const QString &FileName, uint16_t Mode) : FFileName(FileName)
{
    const QByteArray path = QFile::encodeName(FileName);
    if (Mode == fmCreate || (Mode & 0xFF00) == fmCreate) {
        FHandle = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, osError(errno)));
        return;
    }
    int flags = O_RDONLY;
    if ((Mode & 3) == fmOpenWrite)
        flags = O_WRONLY;
    else if ((Mode & 3) == fmOpenReadWrite)
        flags = O_RDWR;
    FHandle = ::open(path.constData(), flags | O_CLOEXEC);
    if (FHandle < 0)
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, osError(errno)));
    struct stat st;
    if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, osError(EISDIR)));
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

std::unique_ptr<TFileStream> TFileStream::CreateTemp(const QString &Dir, const QString &Prefix)
{
    QString dir = Dir.isEmpty() ? QDir::tempPath() : Dir;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    QByteArray templ = QFile::encodeName(dir + Prefix) + "XXXXXX";
    const int fd = ::mkostemp(templ.data(), O_CLOEXEC);
    if (fd < 0)
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2")
                                .arg(dir + Prefix, osError(errno)));
    return std::unique_ptr<TFileStream>(new TFileStream(fd, QFile::decodeName(templ)));
}

int64_t TFileStream::Read(void *Buffer, int64_t Count)
{
    char *p = static_cast<char *>(Buffer);
    int64_t done = 0;
    while (done < Count) {
        const ssize_t n = ::read(FHandle, p + done, size_t(Count - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EReadError(QStringLiteral("Stream read error"));
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Write(const void *Buffer, int64_t Count)
{
    const char *p = static_cast<const char *>(Buffer);
    int64_t done = 0;
    while (done < Count) {
        const ssize_t n = ::write(FHandle, p + done, size_t(Count - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        done += n;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    const off_t r = ::lseek(FHandle, off_t(Offset), whence);
    if (r < 0)
        throw EStreamError(QStringLiteral("Stream seek error"));
    return r;
}

int64_t TFileStream::Size()
{
    struct stat st;
    if (::fstat(FHandle, &st) != 0)
        throw EStreamError(QStringLiteral("Stream size error"));
    return st.st_size;
}

void TFileStream::SetSize(int64_t NewSize)
{
    if (::ftruncate(FHandle, off_t(NewSize)) != 0)
        throw EWriteError(QStringLiteral("Stream write error"));
    if (Position() > NewSize)
        Seek(NewSize, soBeginning);
}

bool TFileStream::Sync() { return ::fsync(FHandle) == 0; }
