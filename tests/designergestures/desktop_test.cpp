// Under a real window manager that leaves Alt with the mouse to the programs: rulers, scroll box
// and workspace on the events-list template, used with the mouse and keys as a new user would
// (xdotool). Screenshots, two of them taken with the button held, are kept in the temporary
// folder's lirra-artifacts/designergestures.
#include "designer/core/workspaceunits.h"
#include "tests/app/desktop.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>

namespace {

QStringList numbers(const QString &line) { return line.split(QLatin1Char(' '), Qt::SkipEmptyParts); }

// How many grid steps (of a millimetre) a distance is; -1 when it is not a whole number of them.
int gridSteps(double distance)
{
    const double steps = distance / kvlWs01cm;
    return std::fabs(steps - std::round(steps)) < 1e-4 ? int(std::round(steps)) : -1;
}

TEST(GesturesDesktop, MouseAndKeysEditTheTemplate)
{
    for (const char *tool : {"xdotool", "import"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    TestDesktop desktop;
    START_TEST_DESKTOP(desktop, QStringLiteral(LIRRA_SOURCE_ROOT "/tests/app/openbox-rc.xml"));
    const QString shots = QDir::temp().filePath(QStringLiteral("lirra-artifacts/designergestures"));
    QDir().mkpath(shots);
    auto run = [&](const QStringList &args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), desktop.Display());
        p.setProcessEnvironment(env);
        p.start(args.first(), args.mid(1));
        p.waitForFinished(20000);
    };
    auto shot = [&](const char *name) {
        QThread::msleep(1000);  // the program catches up with the mouse first
        run({QStringLiteral("import"), QStringLiteral("-window"), QStringLiteral("root"),
             QDir(shots).filePath(QLatin1String(name))});
    };
    // One xdotool chain: "mousemove 10 20 mousedown 1 ..." with pauses between the moves.
    auto xdo = [&](const QString &chain) {
        run(QStringList{QStringLiteral("xdotool")} + chain.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        QThread::msleep(200);
    };

    QProcess demo;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), desktop.Display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    demo.setProcessEnvironment(env);
    demo.start(QStringLiteral(GESTURES_DEMO),
               {QStringLiteral(LIRRA_SOURCE_ROOT "/data/LirraCal_Report/Elenco eventi.kv3"), QStringLiteral("MSede"),
                QStringLiteral("MasterData1")});
    ASSERT_TRUE(demo.waitForStarted(10000));
    QString start, ready;
    while (!ready.startsWith(QLatin1String("READY")) && demo.waitForReadyRead(20000))
        while (demo.canReadLine()) {
            const QString line = QString::fromUtf8(demo.readLine()).trimmed();
            (line.startsWith(QLatin1String("START")) ? start : ready) = line;
        }
    ASSERT_TRUE(ready.startsWith(QLatin1String("READY"))) << ready.toStdString();
    const QStringList at = numbers(ready), was = numbers(start);
    const int mx = at[2].toInt(), my = at[3].toInt(), cx = at[5].toInt(), cy = at[6].toInt();
    const int bx = at[8].toInt(), by = at[9].toInt(), ox = at[11].toInt(), oy = at[12].toInt();
    QThread::msleep(2000);  // a busy machine may still be drawing the first picture

    // Select the memo, then size it from its top-left handle: 40 pixels wider to the left, the
    // rulers' markers following its left and top.
    xdo(QStringLiteral("mousemove %1 %2 click 1").arg(mx).arg(my));
    xdo(QStringLiteral("mousemove %1 %2 sleep 0.2 mousedown 1 sleep 0.2 mousemove %3 %2 sleep 0.2 mousemove %4 %2 sleep 0.3")
            .arg(cx).arg(cy).arg(cx - 20).arg(cx - 40));
    shot("1-resize-held.png");
    xdo(QStringLiteral("mouseup 1"));
    // Move it 30 pixels left, then three pixels back with Ctrl+Right.
    xdo(QStringLiteral("mousemove %1 %2 sleep 0.2 mousedown 1 sleep 0.2 mousemove %3 %2 sleep 0.2 mousemove %4 %2 sleep 0.2 mouseup 1")
            .arg(mx).arg(my).arg(mx - 15).arg(mx - 30));
    xdo(QStringLiteral("key ctrl+Right ctrl+Right ctrl+Right"));
    shot("2-moved.png");
    // Grow the band by its bottom edge.
    xdo(QStringLiteral("mousemove %1 %2 sleep 0.2 mousedown 1 sleep 0.2 mousemove %1 %3 sleep 0.2 mousemove %1 %4 sleep 0.2 mouseup 1")
            .arg(bx).arg(by).arg(by + 10).arg(by + 20));
    // A rubber band from empty paper below the bands, held for the picture.
    xdo(QStringLiteral("mousemove %1 %2 sleep 0.2 mousedown 1 sleep 0.2 mousemove %3 %4 sleep 0.2 mousemove %5 %6 sleep 0.3")
            .arg(ox + 500).arg(oy + 600).arg(ox + 300).arg(oy + 400).arg(ox + 120).arg(my + 5));
    shot("3-rubber-band-held.png");
    xdo(QStringLiteral("mouseup 1"));
    // Arm a line and draw it across empty paper.
    xdo(QStringLiteral("key ctrl+l"));
    xdo(QStringLiteral("mousemove %1 %2 sleep 0.2 mousedown 1 sleep 0.2 mousemove %3 %2 sleep 0.2 mousemove %4 %2 sleep 0.2 mouseup 1")
            .arg(ox + 100).arg(oy + 650).arg(ox + 200).arg(ox + 300));
    xdo(QStringLiteral("key ctrl+q"));
    if (!demo.waitForFinished(10000)) {
        demo.kill();
        demo.waitForFinished(3000);
    }
    const QString out = QString::fromUtf8(demo.readAllStandardOutput());
    QString memoLine, bandLine, lineLine;
    for (const QString &l : out.split(QLatin1Char('\n'))) {
        if (l.startsWith(QLatin1String("MEMO ")))
            memoLine = l;
        else if (l.startsWith(QLatin1String("BAND ")))
            bandLine = l;
        else if (l.startsWith(QLatin1String("LINE ")))
            lineLine = l;
    }
    ASSERT_FALSE(memoLine.isEmpty()) << out.toStdString();
    const QStringList now = numbers(memoLine);
    // Sized and moved on the 1 mm grid (40 and 30 pixels: 10 and 7 steps), then 3 pixels by the keys.
    EXPECT_EQ(gridSteps(now[3].toDouble() - was[3].toDouble()), 10) << out.toStdString();
    EXPECT_EQ(gridSteps(was[1].toDouble() - (now[1].toDouble() - 3)), 17) << out.toStdString();
    EXPECT_DOUBLE_EQ(now[2].toDouble(), was[2].toDouble()) << out.toStdString();
    EXPECT_GT(numbers(bandLine).value(1).toDouble(), was[5].toDouble()) << out.toStdString();
    EXPECT_FALSE(lineLine.isEmpty()) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("LINES 1"))) << out.toStdString();
}

} // namespace
