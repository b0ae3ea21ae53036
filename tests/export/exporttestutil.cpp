#include "exporttestutil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace exporttest {

RunResult RunProgram(const QString &Program, const QStringList &Args, const QByteArray &Input, int TimeoutMs)
{
    RunResult r;
    QProcess p;
    p.start(Program, Args);
    if (!p.waitForStarted(10000))
        return r;
    p.write(Input);
    p.closeWriteChannel();
    if (!p.waitForFinished(TimeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

RunResult Python(const QByteArray &Script, const QStringList &Args)
{
    return RunProgram(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-")} + Args, Script);
}

bool HaveProgram(const QString &Name)
{
    return !QStandardPaths::findExecutable(Name).isEmpty();
}

QByteArray ReadFile(const QString &Path)
{
    QFile f(Path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void WriteFile(const QString &Path, const QByteArray &Bytes)
{
    QDir().mkpath(QFileInfo(Path).absolutePath());
    QFile f(Path);
    if (f.open(QIODevice::WriteOnly))
        f.write(Bytes);
}

QByteArray Hex(const void *Data, int Size)
{
    return QByteArray(static_cast<const char *>(Data), Size).toHex();
}

} // namespace exporttest
