#pragma once
// The named database connections of the stand-alone designer: one value per connection (name
// and connection string) under the connections key of the local machine (system connections)
// and of the current user (user connections).
#include <QString>
#include <QStringList>
#include <vector>

struct TkvlConnection {
    QString Name;
    QString ConnString;
    bool User = false;  // else a system connection
};

// The system connections, then the user connections; a key that cannot be read adds nothing.
std::vector<TkvlConnection> kvlReadConnections();

// The names alone, in the same order (a name kept in both stores is listed twice).
QStringList kvlConnectionNames();

// Whether the name can be stored.
bool kvlIsConnectionName(const QString &Name);

// Writes every system connection to the local machine's key and every user connection to the
// current user's, each key replaced whole (a name twice keeps the later string). A store that
// cannot be written stays as it was; the answer names each such store for the user (empty when
// both were written).
QStringList kvlWriteConnections(const std::vector<TkvlConnection> &Connections);
