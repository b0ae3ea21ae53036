#pragma once
// Direct calls into the Firebird client library, for what the Qt driver does not offer:
// creating databases, setting up the embedded engine, and telling a lost connection from
// other errors.
#include <QList>
#include <QString>
#include <QVariant>

namespace data {

// Sets FIREBIRD_LOCK to a per-user folder (unless the environment already names one) so the
// embedded engine can attach without the system-wide lock folder. Runs once; call before the
// first attach of the process.
void PrepareClientEnvironment();

// A database name of the form host:path, host/port:path or inet://... goes to a server;
// anything else is a file opened by the embedded engine.
bool IsRemoteDatabase(const QString &database);

// Host and TCP port of a server database name (3050 when the name gives none or a service
// name); false for an embedded file.
bool ServerAddress(const QString &database, QString *host, quint16 *port);

// Creates an empty database with UTF8 as its default character set. Raises EDBEngineError
// when the client library refuses (the file exists, the folder is missing, no server).
void CreateDatabase(const QString &database, const QString &user, const QString &password);

// Asks the server about the attachment behind a Qt driver handle. True when the answer is a
// network or shutdown error, i.e. the connection is gone; codes receives the status codes.
bool AttachmentLost(const QVariant &driverHandle, QList<long> *codes = nullptr);

// Stops the call now running on the attachment behind a Qt driver handle; made from another
// thread than the one waiting in that call. Without abort the server is asked to fail the
// call (it answers when it is alive); with abort the client side of the connection is closed
// at once, which also ends a call waiting on a server that says nothing. False when the client
// library refused.
bool CancelOperation(const QVariant &driverHandle, bool abort);

// Status codes that mean the attachment no longer exists.
bool IsConnectionLossCode(long code);

} // namespace data
