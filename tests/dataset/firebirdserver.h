#pragma once
// A Firebird server of the test's own on 127.0.0.1, which a test can kill, pause (SIGSTOP) and
// resume, and its SYSDBA password.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <csignal>

namespace testserver {

inline const QString kServer = QStringLiteral("/usr/sbin/firebird");
inline const QString kPasswordFile = QStringLiteral("/etc/firebird/3.0/SYSDBA.password");
inline const QString kFirebirdDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0");
inline const QString kSecurityDb = QStringLiteral("/var/lib/firebird/3.0/system/security3.fdb");

// A root folder for the server of this test: the installed plugins and messages, a copy of
// the package's security database (so the package's SYSDBA password holds and no other server
// on this machine shares the file), and a configuration that listens on 127.0.0.1 only.
inline QString makeServerRoot(const QString &root)
{
    QDir().mkpath(root);
    if (!QFile::copy(kSecurityDb, root + QStringLiteral("/security3.fdb")))
        return QStringLiteral("cannot read ") + kSecurityDb;
    for (const char *name : {"firebird.msg", "intl", "plugins"})
        QFile::link(kFirebirdDir + QLatin1Char('/') + QLatin1String(name), root + QLatin1Char('/') + QLatin1String(name));
    QFile::copy(kFirebirdDir + QStringLiteral("/plugins.conf"), root + QStringLiteral("/plugins.conf"));
    QFile conf(root + QStringLiteral("/firebird.conf"));
    if (!conf.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write ") + conf.fileName();
    conf.write("SecurityDatabase = " + QFile::encodeName(root) + "/security3.fdb\nRemoteBindAddress = 127.0.0.1\n");
    return QString();
}

// A server process of our own on 127.0.0.1, with its own lock folder.
class ServerProcess
{
public:
    ~ServerProcess() { Stop(); }

    // Empty when it runs; else why it cannot.
    QString Start(const QString &root, const QString &lockDir)
    {
        if (!QFileInfo(kServer).isExecutable())
            return kServer + QStringLiteral(" is not installed (package firebird3.0-server)");
        if (port == 0) {
            QTcpServer probe;
            if (!probe.listen(QHostAddress::LocalHost, 0))
                return QStringLiteral("no free local port");
            port = probe.serverPort();
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FIREBIRD"), root);
        env.insert(QStringLiteral("FIREBIRD_LOCK"), lockDir);
        m_proc.setProcessEnvironment(env);
        m_proc.setProcessChannelMode(QProcess::MergedChannels);
        m_proc.start(kServer, {QStringLiteral("-p"), QString::number(port)});
        if (!m_proc.waitForStarted(5000))
            return QStringLiteral("the server did not start: ") + m_proc.errorString();
        // Ready once it accepts connections; waiting on the process also notices an early exit.
        const QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired()) {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, port);
            if (s.waitForConnected(200))
                return QString();
            if (m_proc.waitForFinished(50))
                return QStringLiteral("the server exited: ") + QString::fromLocal8Bit(m_proc.readAll());
        }
        Stop();
        return QStringLiteral("the server did not accept connections");
    }

    void Kill()
    {
        if (m_proc.state() != QProcess::NotRunning) {
            m_proc.kill();
            m_proc.waitForFinished(10000);
        }
    }
    void Stop()
    {
        Resume();
        Kill();
    }
    // SIGSTOP: the server keeps its sockets but answers nothing.
    void Pause() { ::kill(pid_t(m_proc.processId()), SIGSTOP); }
    void Resume()
    {
        if (m_proc.state() != QProcess::NotRunning)
            ::kill(pid_t(m_proc.processId()), SIGCONT);
    }

    quint16 port = 0;

private:
    QProcess m_proc;
};

inline QString sysdbaPassword()
{
    QFile f(kPasswordFile);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    for (const QByteArray &line : f.readAll().split('\n')) {
        const QByteArray t = line.trimmed();
        if (t.startsWith("ISC_PASSWORD="))
            return QString::fromUtf8(t.mid(13)).remove(QLatin1Char('"'));
    }
    return QString();
}

} // namespace testserver
