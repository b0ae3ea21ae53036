#include "appfixture.h"
#include "app/dm/dm.h"
#include "app/fmain.h"
#include "app/startup.h"
#include "platform/rtl/reflect/classinfo.h"
#include "script/core/qslanguages.h"

#include "app/widgets/datepicker.h"
#include "app/widgets/dbgrid.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"

#include <QCoreApplication>
#include <QLocale>
#include <QDir>
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
    // The database cannot be made there either: that failure of the connect is the only message,
    // and it names the folder that cannot be made.
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    const QString &text = fakes.messages.shown[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Classe: EDatabaseError\r\nMessaggio: Impossibile creare la cartella dei dati ")))
        << qPrintable(text);
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(rtl::AppPath() + QStringLiteral("Data")))) << qPrintable(text);
    lirracal::ShutDown();
}

TEST_F(StartUpTest, LocaleWithoutLanguageShowsItalianDatesEverywhere)
{
    if (QLocale::system().language() != QLocale::C)
        GTEST_SKIP() << "needs a locale without language (the tests run under C.UTF-8)";
    const rtl::ScopedFormatSettings keep(rtl::FormatSettings());
    const QLocale keepLocale;
    lirracal::StartUp();
    ASSERT_TRUE(dm->Conn.Connected());
    const double start = rtl::EncodeDate(2026, 12, 10) + 9.0 / 24;
    dm->InsertEvent(QStringLiteral("Riunione"), start, start + 1.0 / 24, dmtext::PlaceholderSede, dmtext::NewEventColor);
    dm->EVENTS.Open(dmsql::EventsAll);
    // The grid, the pickers and the questions all read day/month/year.
    EXPECT_EQ(fMain->DBGridEVENTS->CellText(0, 2), QStringLiteral("10/12/2026 09:00:00"));
    fMain->eFiltraDataPicker->SetDate(QDate(2026, 12, 10));
    EXPECT_EQ(fMain->eFiltraDataPicker->text(), QStringLiteral("10/12/2026"));
    EXPECT_EQ(rtl::DateToStr(start), QStringLiteral("10/12/2026"));
    fMain->close();
    lirracal::ShutDown();
    QLocale::setDefault(keepLocale);
}

} // namespace
