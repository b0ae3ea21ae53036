// Under a real window manager: the workspace on the events-list template in a scroll area,
// used with the mouse and keys as a new user would (xdotool); screenshots are kept in the
// temporary folder's lirra-artifacts/designerworkspace.
#include "tests/app/desktop.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

namespace {

void run(const QString &display, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    p.setProcessEnvironment(env);
    p.start(args.first(), args.mid(1));
    p.waitForFinished(10000);
}

TEST(WorkspaceDesktop, ShowsTheTemplateAndTakesTextTypedInPlace)
{
    for (const char *tool : {"xdotool", "import"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    TestDesktop desktop;
    START_TEST_DESKTOP(desktop);
    const QString shots = QDir::temp().filePath(QStringLiteral("lirra-artifacts/designerworkspace"));
    QDir().mkpath(shots);
    auto shot = [&](const char *name) {
        run(desktop.Display(), {QStringLiteral("import"), QStringLiteral("-window"), QStringLiteral("root"),
                                QDir(shots).filePath(QLatin1String(name))});
    };

    QProcess demo;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), desktop.Display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    demo.setProcessEnvironment(env);
    demo.start(QStringLiteral(WORKSPACE_DEMO),
               {QStringLiteral(LIRRA_SOURCE_ROOT "/data/LirraCal_Report/Elenco eventi.kv3"), QStringLiteral("MTitolo")});
    ASSERT_TRUE(demo.waitForStarted(10000));
    QByteArray ready;
    while (!ready.startsWith("READY") && demo.waitForReadyRead(20000))
        ready = demo.readLine().trimmed();
    ASSERT_TRUE(ready.startsWith("READY")) << ready.constData();
    const QList<QByteArray> at = ready.split(' ');
    const QString x = QString::fromLatin1(at.value(1)), y = QString::fromLatin1(at.value(2));
    QThread::msleep(500);
    shot("1-shown.png");

    // A double click on the selected memo opens the editor; type, then click elsewhere.
    run(desktop.Display(), {QStringLiteral("xdotool"), QStringLiteral("mousemove"), x, y, QStringLiteral("click"),
                            QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("1")});
    QThread::msleep(300);
    run(desktop.Display(), {QStringLiteral("xdotool"), QStringLiteral("type"), QStringLiteral("--delay"),
                            QStringLiteral("30"), QStringLiteral("Riunione di sede")});
    QThread::msleep(300);
    shot("2-typing.png");
    run(desktop.Display(), {QStringLiteral("xdotool"), QStringLiteral("mousemove"), x,
                            QString::number(y.toInt() + 300), QStringLiteral("click"), QStringLiteral("1")});
    QThread::msleep(300);
    shot("3-written.png");
    run(desktop.Display(), {QStringLiteral("xdotool"), QStringLiteral("key"), QStringLiteral("ctrl+q")});
    if (!demo.waitForFinished(10000)) {
        demo.kill();
        demo.waitForFinished(3000);
    }
    const QString out = QString::fromUtf8(demo.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("TEXT Riunione di sede\r\n"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("MODIFIED 1"))) << out.toStdString();
}

} // namespace
