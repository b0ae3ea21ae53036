#pragma once
// The main window on a real embedded events database in a temporary program folder. The
// database, with a small set of events, is made once for all the tests; each test gets a new
// data module, a new main window and fake services.
#include "app/dm/dm.h"
#include "tests/appwindows.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/settings.h"
#include "platform/rtl/apppath.h"
#include "platform/ui/fakes.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

inline double dayTime(int y, int m, int d, int hour = 0, int minute = 0)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d))) + (hour * 60 + minute) / 1440.0;
}

class MainWindowTest : public ::testing::Test
{
protected:
    static inline QTemporaryDir *s_home = nullptr;

    static void SetUpTestSuite()
    {
        s_home = new QTemporaryDir;
        ASSERT_TRUE(s_home->isValid());
        const QString db = s_home->filePath(QStringLiteral("Data/LIRRACAL.FDB"));
        Tdm::CreateEventsDatabase(db);
        Tdm fill;
        TDatabaseConfig cfg;
        cfg.database = db;
        fill.PrepareDatabase(cfg);
        fill.Conn.Open();
        struct Ev
        {
            const char *title;
            double start, end;
            const char *sede;
            const char *color;
        };
        // Newest first as the grid shows them (START_EVENT descending).
        const Ev events[] = {
            {"[titolo da definire]", dayTime(2026, 9, 12, 9), dayTime(2026, 9, 12, 12), "Sala A", "FF0000"},
            {"Riunione plenaria", dayTime(2026, 9, 11, 0), dayTime(2026, 9, 11, 2), "Sala A", "#ZZ0000"},
            {"riunione breve", dayTime(2026, 9, 10, 14), dayTime(2026, 9, 10, 15), "sala b", "#00FF00"},
            {"RIUNIONE mensile", dayTime(2026, 9, 10, 9), dayTime(2026, 9, 10, 12), "Sala A", "#FF0000"},
            {"Pranzo", dayTime(2026, 9, 9, 12), dayTime(2026, 9, 9, 14), "[sede da definire]", ""},
            {"L'evento", dayTime(2026, 9, 8, 10), dayTime(2026, 9, 8, 11), "Sala C", "#0000FF"},
        };
        for (const Ev &e : events)
            fill.InsertEvent(QString::fromUtf8(e.title), e.start, e.end, QString::fromUtf8(e.sede), QString::fromUtf8(e.color));
        const int old = fill.InsertEvent(QStringLiteral("Riunione annuale"), dayTime(2026, 1, 5, 9), dayTime(2026, 1, 5, 10),
                                         QStringLiteral("Sala A"), QStringLiteral("#FFFF35"));
        fill.ArchiveEvents({old});
        fill.Conn.Close();
    }
    static void TearDownTestSuite()
    {
        delete s_home;
        s_home = nullptr;
    }

    void SetUp() override
    {
        app.Start(s_home->path(), true);
        w = fMain;
    }
    void TearDown() override
    {
        app.Stop();
    }

    static QString iniPath() { return AppWindows::iniPath(); }
    static void writeIni(const QByteArray &text)
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    // Shows the window, which connects.
    void showAndConnect()
    {
        w->show();
        ASSERT_TRUE(dm->Conn.Connected());
        w->resize(1200, 600);
    }
    QStringList shownTitles() const;
    QStringList messageTexts() const
    {
        QStringList out;
        for (const ui::MessageRequest &m : fakes.messages.shown)
            out << m.text;
        return out;
    }

    ui::FakeServices fakes;
    TfMain *w = nullptr;
    AppWindows app;
};
