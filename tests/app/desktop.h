#pragma once
// A throw-away X display with a window manager, for what only a real window manager shows
// (frames, title bars). Skips the test when Xvfb or openbox are missing, except under CI=true,
// where that is a failure.
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

class TestDesktop
{
public:
    ~TestDesktop()
    {
        for (QProcess *p : {&FWm, &FServer})
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(3000)) {
                    p->kill();
                    p->waitForFinished(3000);
                }
            }
    }

    // Empty when the desktop is up; otherwise why not (the caller skips or fails). With a
    // ConfigFile the window manager reads it instead of its own settings (for instance
    // tests/app/openbox-rc.xml, which leaves Alt with the mouse to the programs).
    QString Start(const QString &ConfigFile = QString())
    {
        for (const char *tool : {"Xvfb", "openbox"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                return QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
        // Xvfb picks a free display and writes its number to standard output.
        FServer.setProcessChannelMode(QProcess::SeparateChannels);
        FServer.setStandardErrorFile(QProcess::nullDevice());
        FServer.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                               QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                               QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!FServer.waitForStarted(5000))
            return QStringLiteral("Xvfb did not start");
        while (!FServer.canReadLine() && FServer.waitForReadyRead(10000)) {
        }
        const QByteArray number = FServer.readLine().trimmed();
        if (number.isEmpty())
            return QStringLiteral("Xvfb gave no display");
        FDisplay = QStringLiteral(":") + QString::fromLatin1(number);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), FDisplay);
        FWm.setProcessEnvironment(env);
        FWm.setStandardOutputFile(QProcess::nullDevice());
        FWm.setStandardErrorFile(QProcess::nullDevice());
        QStringList wmArgs{QStringLiteral("--sm-disable")};
        if (!ConfigFile.isEmpty())
            wmArgs << QStringLiteral("--config-file") << ConfigFile;
        FWm.start(QStringLiteral("openbox"), wmArgs);
        if (!FWm.waitForStarted(5000))
            return QStringLiteral("openbox did not start");
        QThread::msleep(1000); // until it manages the screen
        return {};
    }

    QString Display() const { return FDisplay; }

private:
    QProcess FServer;
    QProcess FWm;
    QString FDisplay;
};

// Starts a desktop or skips the test (fails it under CI=true).
#define START_TEST_DESKTOP(desktop, ...)                                              \
    do {                                                                              \
        const QString why = (desktop).Start(__VA_ARGS__);                             \
        if (!why.isEmpty()) {                                                         \
            if (qgetenv("CI") == "true")                                              \
                FAIL() << "no test desktop: " << why.toStdString();                   \
            GTEST_SKIP() << "no test desktop (" << why.toStdString() << ")";          \
        }                                                                             \
    } while (0)
