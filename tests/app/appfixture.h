#pragma once
// An application home in a temporary folder, the settings on it, and fake services.
#include "app/globals.h"
#include "app/settings.h"
#include "platform/rtl/apppath.h"
#include "platform/ui/fakes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class AppHome : public ::testing::Test {
protected:
    QTemporaryDir home;
    ui::FakeServices fakes;
    QByteArray oldHome = qgetenv("LIRRACAL_HOME");

    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("LIRRACAL_HOME", home.path().toLocal8Bit());
        Settings = new TSettings(iniPath());
    }
    void TearDown() override
    {
        delete Settings;
        Settings = nullptr;
        if (oldHome.isNull())
            qunsetenv("LIRRACAL_HOME");
        else
            qputenv("LIRRACAL_HOME", oldHome);
    }
    QString iniPath() const { return rtl::AppPath() + QStringLiteral("LirraCalConf.ini"); }

    // The four values of a section as the file holds them now (-999 when missing).
    std::array<int, 4> fileBounds(const QString &section) const
    {
        TIniFile ini(iniPath());
        std::array<int, 4> v{};
        const char *keys[] = {"Top", "Left", "Width", "Height"};
        for (int i = 0; i < 4; ++i)
            v[i] = ini.ReadInteger(section, QLatin1String(keys[i]), -999);
        return v;
    }
};
