#include "designer/core/connstore.h"

#include "report/options/kvloptions.h"
#include "report/options/kvlregistry.h"

namespace {

QString connectionsKey()
{
    return QString::fromLatin1(kvlConnectionsKey);
}

} // namespace

std::vector<TkvlConnection> kvlReadConnections()
{
    std::vector<TkvlConnection> out;
    for (TkvlRegistryRoot root : {TkvlRegistryRoot::LocalMachine, TkvlRegistryRoot::CurrentUser})
        for (const TkvlRegistryValue &v : kvlReadRegistryValues(root, connectionsKey()))
            out.push_back({v.Name, v.Data, root == TkvlRegistryRoot::CurrentUser});
    return out;
}

QStringList kvlConnectionNames()
{
    QStringList out;
    for (const TkvlConnection &c : kvlReadConnections())
        out.append(c.Name);
    return out;
}

bool kvlIsConnectionName(const QString &Name)
{
    return kvlIsRegistryValueName(Name);
}

QStringList kvlWriteConnections(const std::vector<TkvlConnection> &Connections)
{
    QStringList failed;
    for (TkvlRegistryRoot root : {TkvlRegistryRoot::LocalMachine, TkvlRegistryRoot::CurrentUser}) {
        const bool user = root == TkvlRegistryRoot::CurrentUser;
        QList<TkvlRegistryValue> values;
        for (const TkvlConnection &c : Connections)
            if (c.User == user)
                values.append({c.Name, c.ConnString});
        if (kvlWriteRegistryKey(root, connectionsKey(), values))
            continue;
        QString file, section;
        kvlRegistryKeyLocation(root, connectionsKey(), file, section);
        failed.append((user ? QStringLiteral("Impossibile salvare le connessioni dell'utente in ")
                            : QStringLiteral("Impossibile salvare le connessioni di sistema in ")) +
                      file);
    }
    return failed;
}
