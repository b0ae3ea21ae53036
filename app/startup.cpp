#include "app/startup.h"

#include <QApplication>
#include <QMainWindow>

namespace lirracal {

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LirraCal"));
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("LirraCal"));
    w.show();
    return app.exec();
}

} // namespace lirracal
