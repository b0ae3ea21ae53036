#include "platform/rtl/replacingfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

TReplacingFile::TReplacingFile(const QString &Target) : FTarget(Target)
{
    const QFileInfo target(Target);
    FFile = TFileStream::CreateTemp(target.absolutePath(), QLatin1Char('.') + target.fileName() + QLatin1Char('.'));
    FTempName = FFile->FileName();
}

TReplacingFile::~TReplacingFile() { Discard(); }

void TReplacingFile::Commit()
{
    if (!FFile)
        throw EWriteError(QStringLiteral("Stream write error"));
    const bool synced = FFile->Sync();
    FFile.reset();
    const QFileDevice::Permissions perms =
        QFile::exists(FTarget) ? QFile::permissions(FTarget)
                               : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                     QFileDevice::ReadOther;
    QFile::setPermissions(FTempName, perms);
    if (!synced) {
        Discard();
        throw EWriteError(QStringLiteral("Stream write error"));
    }
    if (std::rename(QFile::encodeName(FTempName).constData(), QFile::encodeName(FTarget).constData()) != 0) {
        const int err = errno;
        Discard();
        throw EWriteError(QStringLiteral("Cannot create file \"%1\". %2").arg(FTarget, QString::fromLocal8Bit(std::strerror(err))));
    }
    FTempName.clear();
}

void TReplacingFile::Discard()
{
    FFile.reset();
    if (!FTempName.isEmpty())
        QFile::remove(FTempName);
    FTempName.clear();
}
