#pragma once
// The main window with the sites, titles and archive windows on a real embedded events
// database in a temporary program folder. The database is made once; every test works on a
// fresh copy of it, with a new data module, a new main window and fake services.
#include "app/dm/dm.h"
#include "tests/appwindows.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/settings.h"
#include "platform/rtl/apppath.h"
#include "platform/ui/fakes.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline double dayTime(int y, int m, int d, int hour = 0)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d))) + hour / 24.0;
}

class SiteWindowsTest : public ::testing::Test
{
protected:
    static inline QTemporaryDir *s_dir = nullptr;

    static QString templatePath() { return s_dir->filePath(QStringLiteral("template.fdb")); }
    static QString homePath() { return s_dir->filePath(QStringLiteral("home")); }
    static QString dbPath() { return homePath() + QStringLiteral("/Data/LIRRACAL.FDB"); }

    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        ASSERT_TRUE(s_dir->isValid());
        Tdm::CreateEventsDatabase(templatePath());
        Tdm fill;
        TDatabaseConfig cfg;
        cfg.database = templatePath();
        fill.PrepareDatabase(cfg);
        fill.Conn.Open();
        // Four live events, three archived ones.
        const char *live[] = {"Concerto", "Riunione", "Pranzo", "Mostra"};
        for (int i = 0; i < 4; ++i)
            fill.InsertEvent(QString::fromUtf8(live[i]), dayTime(2026, 9, 10 + i, 9), dayTime(2026, 9, 10 + i, 12),
                             QStringLiteral("Sala A"), QStringLiteral("#FF0000"));
        QList<int> archived;
        const char *old[] = {"Vecchio uno", "Vecchio due", "Vecchio tre"};
        for (int i = 0; i < 3; ++i)
            archived << fill.InsertEvent(QString::fromUtf8(old[i]), dayTime(2026, 1, 5 + i, 9), dayTime(2026, 1, 5 + i, 10),
                                         QStringLiteral("Sala B"), QStringLiteral("#0000FF"));
        fill.ArchiveEvents(archived);
        fill.Conn.RunInTransaction([&] {
            for (const char *sql : {"INSERT INTO SEDI (SEDE, SEDECOLOR) VALUES ('Sala A', '#FF0000')",
                                    "INSERT INTO SEDI (SEDE, SEDECOLOR) VALUES ('Sala B', NULL)",
                                    "INSERT INTO SEDI (SEDE, SEDECOLOR) VALUES ('Sala C', '#0000FF')",
                                    "INSERT INTO TITOLI (TITOLO) VALUES ('Concerto')",
                                    "INSERT INTO TITOLI (TITOLO) VALUES ('Riunione')"})
                fill.Conn.ExecSQL(QString::fromLatin1(sql));
        });
        fill.Conn.Close();
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        QDir().mkpath(homePath() + QStringLiteral("/Data"));
        QFile::remove(dbPath());
        ASSERT_TRUE(QFile::copy(templatePath(), dbPath()));
        QFile::setPermissions(dbPath(), QFile::ReadOwner | QFile::WriteOwner);
        app.Start(homePath(), true);
        w = fMain;
        w->show();
        ASSERT_TRUE(dm->Conn.Connected());
    }
    void TearDown() override
    {
        app.Stop();
    }

    static QString iniPath() { return AppWindows::iniPath(); }

    // First column of the first row of a statement, as text ("" when there is no row).
    static QString scalar(const QString &sql)
    {
        dm->FQ.Open(sql);
        const QString v = dm->FQ.IsEmpty() ? QString() : dm->FQ.Fields(0)->AsString();
        dm->FQ.Close();
        return v;
    }
    static int count(const QString &sql) { return scalar(sql).toInt(); }

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
