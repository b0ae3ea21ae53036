#include "platform/rtl/apppath.h"

#include <QCoreApplication>
#include <QDir>

namespace rtl {

QString AppPath()
{
    QString dir = qEnvironmentVariable("LIRRACAL_HOME");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    dir = QDir::cleanPath(QDir(dir).absolutePath());
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

} // namespace rtl
