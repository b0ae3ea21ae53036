#pragma once
// Small helpers shared by the tests.
#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace testsupport {

// Folder of checked-in fixtures (tests/data).
inline QString dataDir()
{
    const QByteArray d = qgetenv("LIRRA_TEST_DATA");
    return d.isEmpty() ? QStringLiteral("tests/data") : QString::fromLocal8Bit(d);
}

inline QString dataFile(const QString &name) { return dataDir() + QLatin1Char('/') + name; }

} // namespace testsupport
