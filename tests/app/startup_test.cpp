#include "appfixture.h"
#include "app/dm/dm.h"
#include "app/fmain.h"
#include "app/startup.h"
#include "platform/rtl/reflect/classinfo.h"
#include "script/core/qslanguages.h"

#include <QCoreApplication>
#include <QFile>

namespace {

class StartUpTest : public AppHome {
protected:
    void SetUp() override
    {
        AppHome::SetUp();
        // StartUp makes its own settings.
        delete Settings;
        Settings = nullptr;
    }
};

TEST_F(StartUpTest, SettingsThenMainWindowThenDataModule)
{
    lirracal::StartUp();
    ASSERT_NE(Settings, nullptr);
    EXPECT_EQ(Settings->FileName(), rtl::AppPath() + QStringLiteral("LirraCalConf.ini"));
    ASSERT_NE(fMain, nullptr);
    ASSERT_NE(dm, nullptr);
    EXPECT_TRUE(fMain->isVisible());
    EXPECT_EQ(dm->parent(), QCoreApplication::instance());
    fMain->close();
    EXPECT_TRUE(QFile::exists(Settings->FileName()));
    lirracal::ShutDown();
    EXPECT_EQ(Settings, nullptr);
    EXPECT_EQ(fMain, nullptr);
    EXPECT_EQ(dm, nullptr);
}

TEST_F(StartUpTest, LibrariesAreRegisteredAtStart)
{
    lirracal::StartUp();
    // Templates can name the report's classes and scripts can use the four languages.
    for (const char *cls : {"TkvlReport", "TkvlPage", "TkvlDBDataset", "TkvlVariables", "TkvlStyles", "TPicture"})
        EXPECT_NE(rtl::FindClass(QString::fromLatin1(cls)), nullptr) << cls;
    QStringList languages;
    qsGetLanguageList(languages);
    for (const char *lang : {"DozovoZozedi", "D++Iraved", "DevavAraroz", "JScript"})
        EXPECT_TRUE(languages.contains(QString::fromLatin1(lang))) << lang;
    fMain->close();
    lirracal::ShutDown();
}

TEST_F(StartUpTest, UnwritableSettingsFileStillOpensTheWindow)
{
    // The program folder is below a regular file: nothing can be written there.
    QFile blocker(home.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("LIRRACAL_HOME", home.filePath(QStringLiteral("blocker/app")).toLocal8Bit());

    lirracal::StartUp();
    ASSERT_NE(fMain, nullptr);
    EXPECT_TRUE(fMain->isVisible());
    fMain->move(20, 30);
    fMain->close();
    EXPECT_FALSE(Settings->LastWriteOk());
    // The database cannot be made there either: that failure of the connect is the only message.
    for (const ui::MessageRequest &m : fakes.messages.shown)
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("Classe: "))) << qPrintable(m.text);
    lirracal::ShutDown();
}

} // namespace
