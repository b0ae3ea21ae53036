#pragma once
// Drawings compared with checked-in pictures in tests/data.
#include "tests/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace testsupport {

// Every pixel of actual within tolerance (per colour channel) of the picture stored under
// path (relative to tests/data). With LIRRA_UPDATE_REFERENCES=1 fresh is stored there first.
// A mismatching drawing is saved in the temporary folder for a look. Anti-aliased drawings may allow
// a small share of pixels (allowedShare of all) to differ more, where text edges fall apart by a pixel.
inline void expectMatchesPicture(const QImage &actual, const QString &path, const QImage &fresh, int tolerance = 24,
                                 double allowedShare = 0)
{
    const QString file = dataFile(path);
    if (qEnvironmentVariable("LIRRA_UPDATE_REFERENCES") == QLatin1String("1")) {
        QDir().mkpath(QFileInfo(file).path());
        ASSERT_TRUE(fresh.save(file)) << file.toStdString();
    }
    QImage stored(file);
    ASSERT_FALSE(stored.isNull()) << "missing reference " << file.toStdString();
    stored = stored.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(stored.size(), actual.size()) << path.toStdString();
    int off = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), b = stored.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            if (d > tolerance && off++ == 0)
                first = QPoint(x, y);
        }
    if (off > allowedShare * actual.width() * actual.height()) {
        const QString out =
            QDir::temp().filePath(QFileInfo(path).completeBaseName() + QStringLiteral("-actual.png"));
        actual.save(out);
        ADD_FAILURE() << path.toStdString() << ": " << off << " pixels differ, the first at (" << first.x() << ", "
                      << first.y() << "); the drawing is " << out.toStdString();
    }
}

} // namespace testsupport
