#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace {

constexpr int kAnswerMs = 3000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");
const QByteArray kDone = QByteArrayLiteral("ok\n");

} // namespace

const QString TSingleInstance::AlreadyRunningText = QStringLiteral(
    "LirraCal è già in esecuzione su questa cartella:\n%1\nUsa la finestra già aperta.");

TSingleInstance::TSingleInstance(const QString &appPath, QObject *parent) : QObject(parent), FAppPath(appPath) {}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::ServerName() const
{
    // The folder by its canonical path, so two spellings of one folder meet; per user.
    QString dir = QDir(FAppPath).canonicalPath();
    if (dir.isEmpty())
        dir = QDir::cleanPath(FAppPath);
    const QByteArray hash = QCryptographicHash::hash(dir.toUtf8(), QCryptographicHash::Sha1).toHex().left(20);
    return QStringLiteral("LirraCal-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

TSingleInstance::TStart TSingleInstance::Start()
{
    QDir().mkpath(FAppPath);
    FLock = std::make_unique<QLockFile>(QDir(FAppPath).filePath(QStringLiteral("LirraCal.lock")));
    FLock->setStaleLockTime(0); // stale only when its process is gone, however long it ran
    if (!FLock->tryLock(0)) {
        if (FLock->error() != QLockFile::LockFailedError)
            return TStart::First; // a folder that cannot be written: nothing to share it with
        QLocalSocket socket;
        socket.connectToServer(ServerName());
        if (!socket.waitForConnected(kAnswerMs))
            return TStart::OtherRunning;
        socket.write(kActivate);
        socket.flush();
        while (!socket.canReadLine() && socket.waitForReadyRead(kAnswerMs)) {
        }
        return socket.canReadLine() && socket.readLine() == kDone ? TStart::OtherRaised : TStart::OtherRunning;
    }
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = ServerName();
    QLocalServer::removeServer(name); // left by an instance that died; we hold the lock
    if (FServer->listen(name))
        connect(FServer, &QLocalServer::newConnection, this, [this] { Serve(); });
    return TStart::First;
}

void TSingleInstance::Serve()
{
    while (QLocalSocket *s = FServer->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        connect(s, &QLocalSocket::readyRead, s, [this, s] {
            if (!s->canReadLine())
                return;
            if (s->readLine() == kActivate && OnActivate)
                OnActivate();
            s->write(kDone);
            s->flush();
            s->disconnectFromServer();
        });
    }
}
