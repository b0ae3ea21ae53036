#pragma once
// Helpers of the export tests: running the independent checkers (Python, unzip, openssl,
// LibreOffice) and scratch folders.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace exporttest {

struct RunResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a program to its end (at most TimeoutMs); exitCode -1 when it could not start.
RunResult RunProgram(const QString &Program, const QStringList &Args, const QByteArray &Input = QByteArray(),
              int TimeoutMs = 120000);
// /usr/bin/python3 with Script given on its standard input and Args after "-".
RunResult Python(const QByteArray &Script, const QStringList &Args = {});
bool HaveProgram(const QString &Name);
QByteArray ReadFile(const QString &Path);
void WriteFile(const QString &Path, const QByteArray &Bytes);
QByteArray Hex(const void *Data, int Size);

} // namespace exporttest
