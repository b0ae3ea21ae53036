#include "report/utils/files.h"

#include "platform/rtl/apppath.h"
#include "platform/rtl/exceptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryFile>

namespace {

QString withSlash(QString dir)
{
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

} // namespace

QString GetTemporaryFolder() { return withSlash(QDir::tempPath()); }

QString GetTempFile() { return kvlCreateTempFile(QString()); }

QString kvlCreateTempFile(const QString &TempDir)
{
    const QString dir = TempDir.isEmpty() ? GetTemporaryFolder() : withSlash(TempDir);
    QTemporaryFile file(dir + QStringLiteral("kvXXXXXX.tmp"));
    file.setAutoRemove(false);
    if (!file.open())
        throw Exception(QStringLiteral("Cannot create a temporary file in %1: %2").arg(dir, file.errorString()));
    return file.fileName();
}

QString GetAppFileName() { return QCoreApplication::applicationFilePath(); }

QString GetAppPath() { return rtl::AppPath(); }
