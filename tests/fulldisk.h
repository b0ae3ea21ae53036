#pragma once
// A small file system with no room left, for tests of writes that fail part-way.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sched.h>
#include <sys/mount.h>

// A small tmpfs mounted by the test (in a mount namespace of its own when the process can
// make one), filled to the last byte by a file of its own.
class FullDisk {
public:
    FullDisk()
    {
        if (!FBase.isValid())
            return;
        FDir = FBase.filePath(QStringLiteral("disk"));
        QDir().mkpath(FDir);
        if (::unshare(CLONE_NEWNS) == 0)
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
        FMounted = ::mount("lirratest", QFile::encodeName(FDir).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                           "size=256k") == 0;
    }
    ~FullDisk()
    {
        if (FMounted)
            ::umount2(QFile::encodeName(FDir).constData(), MNT_DETACH);
    }
    bool Mounted() const { return FMounted; }
    QString Path(const QString &Name) const { return FDir + QLatin1Char('/') + Name; }
    // Takes every free block; the filler is a file of its own, so the test's files stay.
    void Fill() const
    {
        QFile filler(Path(QStringLiteral("riempitivo")));
        filler.open(QIODevice::WriteOnly | QIODevice::Append);
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        const QByteArray byte(1, 'x');
        while (filler.write(byte) == 1 && filler.flush()) {
        }
    }
    QStringList Entries() const { return QDir(FDir).entryList(QDir::Files | QDir::Hidden | QDir::System); }

private:
    QTemporaryDir FBase;
    QString FDir;
    bool FMounted = false;
};
