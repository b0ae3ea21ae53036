#pragma once
// The application's windows on a real program folder, for the window tests: points
// LIRRACAL_HOME at the folder, makes the settings, the data module and the main window in
// the program's order, and takes them down again (open child windows first).
#include "app/dm/dm.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/settings.h"
#include "platform/rtl/apppath.h"

#include <QByteArray>
#include <QFile>
#include <QString>

class AppWindows
{
public:
    static QString iniPath() { return rtl::AppPath() + QStringLiteral("LirraCalConf.ini"); }

    // With FreshSettings the settings file starts empty and is removed again by Stop.
    void Start(const QString &home, bool freshSettings)
    {
        m_freshSettings = freshSettings;
        m_oldHome = qgetenv("LIRRACAL_HOME");
        qputenv("LIRRACAL_HOME", QFile::encodeName(home));
        if (m_freshSettings)
            QFile::remove(iniPath());
        Settings = new TSettings(iniPath());
        dm = new Tdm;
        fMain = new TfMain;
    }

    void Stop()
    {
        for (QWidget *x : {fEDIT, fSEDI, fTITOLI, fARC})
            delete x;
        delete fMain;
        delete dm;
        dm = nullptr;
        delete Settings;
        Settings = nullptr;
        if (m_freshSettings)
            QFile::remove(iniPath());
        if (m_oldHome.isNull())
            qunsetenv("LIRRACAL_HOME");
        else
            qputenv("LIRRACAL_HOME", m_oldHome);
    }

private:
    QByteArray m_oldHome;
    bool m_freshSettings = false;
};
