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

QList<TkvlRegistryValue> kvlReadRegistryValues(TkvlRegistryRoot Root, const QString &KeyPath)
{
    QList<TkvlRegistryValue> out;
    QString file, section;
    if (!kvlRegistryKeyLocation(Root, KeyPath, file, section) || !QFileInfo(file).isFile())
        return out;
    const TMemIniFile ini(file);
    QStringList names;
    ini.ReadSection(section, names);
    out.reserve(names.size());
    for (const QString &n : names)
        out.append({n, ini.ReadString(section, n, QString())});
    return out;
}

bool kvlIsRegistryValueName(const QString &Name)
{
    if (Name.trimmed().isEmpty() || Name.startsWith(QLatin1Char('[')) || Name.startsWith(QLatin1Char(';')))
        return false;
    for (QChar c : Name)
        if (c == QLatin1Char('=') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return false;
    return true;
}

bool kvlWriteRegistryKey(TkvlRegistryRoot Root, const QString &KeyPath, const QList<TkvlRegistryValue> &Values)
{
    QString file, section;
    if (!kvlRegistryKeyLocation(Root, KeyPath, file, section))
        return false;
    for (const TkvlRegistryValue &v : Values)
        if (!kvlIsRegistryValueName(v.Name))
            return false;
    // A folder in the way of the file, or a file in the way of its folder, cannot be written.
    const QFileInfo fi(file);
    if (fi.exists() && !fi.isFile())
        return false;
    if (!QDir().mkpath(fi.absolutePath()))
        return false;
    TMemIniFile ini(file);
    ini.EraseSection(section);
    for (const TkvlRegistryValue &v : Values)
        ini.WriteString(section, v.Name, v.Data);
    return ini.UpdateFile();
}
