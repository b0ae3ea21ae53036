#include "report/options/kvlregistry.h"

#include "platform/rtl/inifile.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

namespace {

QMutex rootsLock;
QString rootOverride[2];

} // namespace

QString kvlRegistryRootFolder(TkvlRegistryRoot Root)
{
    {
        QMutexLocker lock(&rootsLock);
        const QString &o = rootOverride[int(Root)];
        if (!o.isEmpty())
            return o;
    }
    if (Root == TkvlRegistryRoot::LocalMachine)
        return QStringLiteral("/etc/xdg");
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void kvlSetRegistryRootFolder(TkvlRegistryRoot Root, const QString &Folder)
{
    QMutexLocker lock(&rootsLock);
    rootOverride[int(Root)] = Folder;
}

bool kvlRegistryKeyLocation(TkvlRegistryRoot Root, const QString &KeyPath, QString &FileName, QString &Section)
{
    QStringList parts = KeyPath.split(QLatin1Char('\\'));
    if (!parts.isEmpty() && parts.first().isEmpty())
        parts.removeFirst();
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    if (parts.size() < 2)
        return false;
    for (const QString &p : parts)
        if (p.isEmpty() || p == QLatin1String(".") || p == QLatin1String("..") || p.contains(QLatin1Char('/')))
            return false;
    Section = parts.takeLast();
    FileName = kvlRegistryRootFolder(Root) + QLatin1Char('/') + parts.join(QLatin1Char('/')) + QStringLiteral(".ini");
    return true;
}

QString kvlReadRegistryString(TkvlRegistryRoot Root, const QString &KeyPath, const QString &Name)
{
    QString file, section;
    if (!kvlRegistryKeyLocation(Root, KeyPath, file, section) || !QFileInfo(file).isFile())
        return QString();
    const TMemIniFile ini(file);
    return ini.ReadString(section, Name, QString());
}
