#include "app/startup.h"

#include "app/dm/dm.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/libinit.h"
#include "app/settings.h"
#include "platform/rtl/apppath.h"

#include <QApplication>

namespace lirracal {

void StartUp()
{
    InitializeLibraries();
    // The file need not exist, nor be writable: the program runs without it.
    Settings = new TSettings(rtl::AppPath() + QStringLiteral("LirraCalConf.ini"));
    fMain = new TfMain;
    dm = new Tdm(qApp);
    fMain->show();
}

void ShutDown()
{
    delete dm;
    delete fMain;
    delete Settings;
    Settings = nullptr;
}

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LirraCal"));
    StartUp();
    const int rc = app.exec();
    ShutDown();
    return rc;
}

} // namespace lirracal
