#include "app/startup.h"

#include "app/dm/dm.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/libinit.h"
#include "app/settings.h"
#include "app/singleinstance.h"
#include "app/termsignals.h"
#include "platform/data/connection.h"
#include "platform/rtl/apppath.h"
#include "platform/ui/qtservices.h"
#include "platform/ui/services.h"
#include "report/document/kvlreport.h"

#include "platform/rtl/formatsettings.h"

#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstdlib>

namespace lirracal {

namespace {

// While the program ends on a signal nobody is there to answer: every box answers as if
// closed, without showing.
class TUnattendedBoxes final : public ui::IMessageBoxes
{
public:
    ui::MsgButton Show(const ui::MessageRequest &r) override
    {
        for (ui::MsgButton b : {ui::mbCancel, ui::mbNo, ui::mbOk})
            if (r.buttons & b)
                return b;
        return ui::mbOk;
    }
};

// Brings the main window to the front (a later start on the same folder asked for it).
void ActivateMainWindow()
{
    if (!fMain)
        return;
    if (fMain->isMinimized())
        fMain->showNormal();
    fMain->show();
    fMain->raise();
    fMain->activateWindow();
}

} // namespace

void UseItalianFormatsWithoutLanguage()
{
    // The program speaks Italian: a locale that names no language (C, POSIX) gets the Italian
    // dates and numbers, so the grid, the editor and the questions show one date format.
    if (QLocale::system().language() != QLocale::C)
        return;
    rtl::SetFormatSettings(TFormatSettings::italian());
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void StartUp()
{
    UseItalianFormatsWithoutLanguage();
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
    // Before any thread exists, so that every thread inherits it.
    TTerminationSignals::BlockInThisAndLaterThreads();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LirraCal"));
    ui::qt::InstallItalianQtTranslations();

    TSingleInstance instance(rtl::AppPath());
    switch (instance.Start()) {
    case TSingleInstance::TStart::First: break;
    case TSingleInstance::TStart::OtherRaised: return 0;
    case TSingleInstance::TStart::OtherRunning:
        ui::ErrorBox(QStringLiteral("avvio"), TSingleInstance::AlreadyRunningText.arg(rtl::AppPath()));
        return 1;
    }
    instance.OnActivate = ActivateMainWindow;

    TUnattendedBoxes unattended;
    bool signalled = false;
    TTerminationSignals termination([&](int) {
        if (signalled)
            return;
        signalled = true;
        ui::install(&unattended);
        // A call waiting on a silent server ends now rather than when the server answers.
        if (dm)
            dm->Conn.GiveUpWaiting();
        // A report running now (its script lets events through) stops at its next statement.
        if (dm && dm->fREP)
            dm->fREP->SetTerminated(true);
        // Every loop, modal ones included, returns; the tidy close follows below.
        QCoreApplication::exit(0);
    });

    StartUp();
    // A signal taken while the start-up connected came before the main loop, which would not
    // see that request to end.
    const int rc = signalled ? 0 : app.exec();
    // Closes as "Esci" does: other windows, pending changes dropped, database detached,
    // bounds saved.
    if (signalled && fMain && fMain->isVisible())
        fMain->Esci1Click();
    ShutDown();
    if (signalled)
        ui::install(static_cast<ui::IMessageBoxes *>(nullptr));
    // Everything is saved and detached by now; a call still blocked on a silent server would
    // hold the database client's shutdown, at the end of the process, for minutes.
    if (TConnection::CallsLeftRunning() > 0) {
        std::fflush(nullptr);
        std::_Exit(rc);
    }
    return rc;
}

} // namespace lirracal
