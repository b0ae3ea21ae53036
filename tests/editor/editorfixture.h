#pragma once
// The main window and the event editor on a real embedded events database. The database is made
// once with a few events, titles and sites; every test works on a fresh copy of it in a program
// folder of its own, with a new data module, main window and fake services.
#include "app/dm/dm.h"
#include "tests/appwindows.h"
#include "app/fedit.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/settings.h"
#include "platform/data/valueconv.h"
#include "platform/rtl/apppath.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/fakes.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

inline double dayTime(int y, int m, int d, int hour = 0, int minute = 0)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d))) + (hour * 60 + minute) / 1440.0;
}

// "yyyy-MM-dd HH:mm" of a stored moment, so a failure shows readable values.
inline QString moment(double days)
{
    return data::DateTimeFromDays(days).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

struct StoredEvent
{
    bool found = false;
    QString title, start, end, sede, color, arc;
};

class EventsDbTest : public ::testing::Test
{
protected:
    static inline QTemporaryDir *s_template = nullptr;
    static inline int s_riunione = 0, s_cena = 0, s_corso = 0, s_archiviato = 0;

    static QString templateDb() { return s_template->filePath(QStringLiteral("LIRRACAL.FDB")); }

    static void SetUpTestSuite()
    {
        s_template = new QTemporaryDir;
        ASSERT_TRUE(s_template->isValid());
        Tdm::CreateEventsDatabase(templateDb());
        Tdm fill;
        TDatabaseConfig cfg;
        cfg.database = templateDb();
        fill.PrepareDatabase(cfg);
        fill.Conn.Open();
        // Newest first as the not-archived view shows them (START_EVENT descending).
        s_riunione = fill.InsertEvent(QStringLiteral("Riunione"), dayTime(2026, 9, 10, 9), dayTime(2026, 9, 10, 12),
                                      QStringLiteral("Sala A"), QStringLiteral("#FF0000"));
        s_cena = fill.InsertEvent(QStringLiteral("Cena"), dayTime(2026, 9, 9, 22), dayTime(2026, 9, 10, 1, 30),
                                  QStringLiteral("Sala B"), QStringLiteral("#00FF00"));
        s_corso = fill.InsertEvent(QStringLiteral("Corso"), dayTime(2026, 9, 8, 10), dayTime(2026, 9, 8, 11),
                                   QStringLiteral("Sala A"), QStringLiteral("#0000FF"));
        s_archiviato = fill.InsertEvent(QStringLiteral("Vecchio"), dayTime(2026, 1, 5, 9), dayTime(2026, 1, 5, 10),
                                        QStringLiteral("Sala A"), QStringLiteral("#FFFF35"));
        fill.ArchiveEvents({s_archiviato});
        fill.Conn.RunInTransaction([&] {
            for (const QString &t : {QStringLiteral("L'ospite & co"), QStringLiteral("Assemblea")}) {
                fill.FQ.SetSQL(QStringLiteral("INSERT INTO TITOLI (TITOLO) VALUES (:T)"));
                fill.FQ.ParamByName(QStringLiteral("T")).SetAsString(t);
                fill.FQ.ExecSQL();
            }
            fill.FQ.SetSQL(QStringLiteral("INSERT INTO SEDI (SEDE, SEDECOLOR) VALUES (:S, :C)"));
            fill.FQ.ParamByName(QStringLiteral("S")).SetAsString(QStringLiteral("Sala Verde"));
            fill.FQ.ParamByName(QStringLiteral("C")).SetAsString(QStringLiteral("#C6FFB3"));
            fill.FQ.ExecSQL();
            fill.FQ.ParamByName(QStringLiteral("S")).SetAsString(QStringLiteral("Sala senza colore"));
            fill.FQ.ParamByName(QStringLiteral("C")).Clear();
            fill.FQ.ExecSQL();
        });
        fill.Conn.Close();
    }
    static void TearDownTestSuite()
    {
        delete s_template;
        s_template = nullptr;
    }

    void SetUp() override
    {
        fakes.messages.shown.clear();
        fakes.messages.answers.clear();
        home = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(home->isValid());
        ASSERT_TRUE(QDir().mkpath(home->filePath(QStringLiteral("Data"))));
        ASSERT_TRUE(QFile::copy(templateDb(), home->filePath(QStringLiteral("Data/LIRRACAL.FDB"))));
        fakes.clock.now = QDateTime(QDate(2026, 9, 20), QTime(16, 45));
        app.Start(home->path(), false);
        w = fMain;
        w->show();
        ASSERT_TRUE(dm->Conn.Connected());
    }
    void TearDown() override
    {
        app.Stop();
        home.reset();
    }

    // The event as stored, read afresh through a query of its own.
    StoredEvent stored(int id)
    {
        TQuery q(&dm->Conn);
        q.SetSQL(QStringLiteral("SELECT * FROM EVENTS WHERE ID = :ID"));
        q.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
        q.Open();
        StoredEvent e;
        if (q.IsEmpty())
            return e;
        e.found = true;
        e.title = q.FieldByName(QStringLiteral("TITLE"))->AsString();
        e.start = moment(q.FieldByName(QStringLiteral("START_EVENT"))->AsDateTime());
        e.end = moment(q.FieldByName(QStringLiteral("END_EVENT"))->AsDateTime());
        e.sede = q.FieldByName(QStringLiteral("SEDE"))->AsString();
        e.color = q.FieldByName(QStringLiteral("COLOR"))->AsString();
        e.arc = q.FieldByName(QStringLiteral("ARC"))->AsString();
        return e;
    }
    QList<int> storedIds(const QString &where = QString())
    {
        TQuery q(&dm->Conn);
        q.Open(QStringLiteral("SELECT ID FROM EVENTS ") + where + QStringLiteral(" ORDER BY ID"));
        QList<int> out;
        for (q.First(); !q.Eof(); q.Next())
            out << q.FieldByName(QStringLiteral("ID"))->AsInteger();
        return out;
    }
    // Behind the program's back, as another user would.
    void deleteBehindTheBack(int id)
    {
        dm->Conn.RunInTransaction([&] {
            TQuery q(&dm->Conn);
            q.SetSQL(QStringLiteral("DELETE FROM EVENTS WHERE ID = :ID"));
            q.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
            q.ExecSQL();
        });
    }
    int currentId() const { return dm->EVENTS.FieldByName(QStringLiteral("ID"))->AsInteger(); }
    bool gotoEvent(int id) { return dm->EVENTS.Locate(QStringLiteral("ID"), Variant(id)); }
    QStringList captions() const
    {
        QStringList out;
        for (const ui::MessageRequest &m : fakes.messages.shown)
            out << m.caption;
        return out;
    }
    QStringList texts() const
    {
        QStringList out;
        for (const ui::MessageRequest &m : fakes.messages.shown)
            out << m.text;
        return out;
    }

    // A fresh program folder for each run of SetUp (a table test may start over with it).
    std::unique_ptr<QTemporaryDir> home;
    ui::FakeServices fakes;
    rtl::ScopedFormatSettings italian{TFormatSettings::italian()};
    TfMain *w = nullptr;
    AppWindows app;
};
