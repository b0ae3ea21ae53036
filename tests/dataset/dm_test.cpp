// The data module on a real embedded database: schema, statement catalogue, transactions,
// delete confirmations and the write-back of the shared queries.
#include "dbfixture.h"
#include "platform/data/dberrors.h"
#include "platform/rtl/apppath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

TEST(DatabaseSetup, EmbeddedFileIsCreatedOnFirstUseWithItsSchema)
{
    QTemporaryDir home;
    qputenv("LIRRACAL_HOME", QFile::encodeName(home.path()));
    const TDatabaseConfig cfg = Tdm::ReadDatabaseConfig(Tdm::ConfigFile());
    EXPECT_TRUE(cfg.embedded);
    EXPECT_EQ(cfg.database, rtl::AppPath() + QStringLiteral("Data/LIRRACAL.FDB"));

    {
        Tdm dm;
        dm.PrepareDatabase();
        ASSERT_TRUE(QFileInfo::exists(cfg.database));
        EXPECT_FALSE(QFileInfo::exists(cfg.database + QStringLiteral(".new")));
        dm.Conn.Open();
        TQuery q(&dm.Conn);
        q.Open(QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) AS N FROM RDB$RELATIONS "
                              "WHERE RDB$SYSTEM_FLAG = 0 ORDER BY 1"));
        QStringList tables;
        for (q.First(); !q.Eof(); q.Next())
            tables << q.FieldByName(QStringLiteral("N"))->AsString();
        EXPECT_EQ(tables, (QStringList{QStringLiteral("EVENTS"), QStringLiteral("SEDI"), QStringLiteral("TITOLI")}));
        q.Open(QStringLiteral("SELECT TRIM(RDB$CHARACTER_SET_NAME) AS CS FROM RDB$DATABASE"));
        EXPECT_EQ(q.FieldByName(QStringLiteral("CS"))->AsString(), QStringLiteral("UTF8"));
        EXPECT_EQ(dm.CurrentEventID(), 0);

        dm.EVENTS.Open(dmsql::EventsAll);
        struct Col
        {
            const char *name;
            TFieldType type;
            int size;
            bool required;
        };
        const Col cols[] = {{"ID", TFieldType::ftInteger, 0, true},          {"TITLE", TFieldType::ftString, 120, true},
                            {"START_EVENT", TFieldType::ftDateTime, 0, true}, {"END_EVENT", TFieldType::ftDateTime, 0, true},
                            {"SEDE", TFieldType::ftString, 50, false},       {"COLOR", TFieldType::ftFixedChar, 7, false},
                            {"ARC", TFieldType::ftFixedChar, 1, false}};
        ASSERT_EQ(dm.EVENTS.FieldCount(), 7);
        for (int i = 0; i < 7; ++i) {
            const TField *f = dm.EVENTS.Fields(i);
            EXPECT_EQ(f->FieldName(), QLatin1String(cols[i].name));
            EXPECT_EQ(f->DataType(), cols[i].type) << cols[i].name;
            EXPECT_EQ(f->Size(), cols[i].size) << cols[i].name;
            EXPECT_EQ(f->Required(), cols[i].required) << cols[i].name;
        }
        EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("ID"))->Alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        dm.InsertNewEvent(dayOf(2026, 9, 10));
    }
    // The second run uses the file that is there.
    Tdm dm;
    dm.PrepareDatabase();
    dm.Conn.Open();
    EXPECT_EQ(dm.CurrentEventID(), 1);
    qunsetenv("LIRRACAL_HOME");
}

TEST(DatabaseSetup, SectionDatabaseSelectsAServerAndIsOnlyRead)
{
    QTemporaryDir home;
    const QString ini = home.filePath(QStringLiteral("LirraCalConf.ini"));
    const QByteArray text = "[SETUP_Main]\r\nTop=1\r\n[Database]\r\nServer=db.example\r\nPath=/var/db/LIRRACAL.FDB\r\n"
                            "User=CAL\r\nPassword=secret\r\n";
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    const TDatabaseConfig cfg = Tdm::ReadDatabaseConfig(ini);
    EXPECT_FALSE(cfg.embedded);
    EXPECT_EQ(cfg.database, QStringLiteral("db.example:/var/db/LIRRACAL.FDB"));
    EXPECT_EQ(cfg.user, QStringLiteral("CAL"));
    EXPECT_EQ(cfg.password, QStringLiteral("secret"));

    Tdm dm;
    dm.PrepareDatabase(cfg);
    EXPECT_EQ(dm.Conn.Database, cfg.database);
    EXPECT_TRUE(dm.Conn.IsRemote());
    EXPECT_EQ(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{QStringLiteral("LirraCalConf.ini")});
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), text);
}

TEST_F(EventsDbTest, CatalogueStatements)
{
    const double day = dayOf(2026, 9, 10);
    const int a = dm.InsertNewEvent(day);
    const int b = dm.InsertNewEvent(day);
    EXPECT_EQ(b, a + 1);
    EXPECT_EQ(dm.CurrentEventID(), b);

    dm.EVENTS.Open(dmsql::EventsNewestFirst);
    ASSERT_EQ(dm.EVENTS.RecordCount(), 2);
    EXPECT_EQ(dm.dsEVENTS.rowCount(), 2);
    EXPECT_EQ(dm.dsEVENTS.data(dm.dsEVENTS.index(0, 0)).toString(), QString::number(b));
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("ID"))->AsInteger(), b);
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("TITLE"))->AsString(), dmtext::PlaceholderTitle);
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("SEDE"))->AsString(), dmtext::PlaceholderSede);
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("COLOR"))->AsString(), QStringLiteral("#FFFF35"));
    EXPECT_DOUBLE_EQ(dm.EVENTS.FieldByName(QStringLiteral("START_EVENT"))->AsDateTime(), day + 9.0 / 24);
    EXPECT_DOUBLE_EQ(dm.EVENTS.FieldByName(QStringLiteral("END_EVENT"))->AsDateTime(), day + 12.0 / 24);
    EXPECT_TRUE(dm.EVENTS.FieldByName(QStringLiteral("ARC"))->IsNull());

    dm.SetEventStart(a, day + 8.5 / 24);
    dm.SetEventEnd(a, day + 1 + 10.0 / 24);
    dm.SetEventTitle(a, QStringLiteral("Riunione"));
    dm.SetEventSede(a, QStringLiteral("Roma"), QStringLiteral("#C6FFB3"));
    dm.SetEventColor(b, QStringLiteral("#00FF00"));
    const int c = dm.InsertEvent(QStringLiteral("Cena"), day - 1, day - 1 + 0.1, QStringLiteral("Milano"), QStringLiteral("#FFCCFF"));
    EXPECT_EQ(c, b + 1);
    dm.SetArchived({b}, true);

    dm.EVENTS.Open(dmsql::EventsNotArchived);
    EXPECT_EQ(dm.EVENTS.RecordCount(), 2);
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("ID"))->AsInteger(), a); // newest start first
    EXPECT_DOUBLE_EQ(dm.EVENTS.FieldByName(QStringLiteral("START_EVENT"))->AsDateTime(), day + 8.5 / 24);
    EXPECT_DOUBLE_EQ(dm.EVENTS.FieldByName(QStringLiteral("END_EVENT"))->AsDateTime(), day + 1 + 10.0 / 24);
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("TITLE"))->AsString(), QStringLiteral("Riunione"));
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("SEDE"))->AsString(), QStringLiteral("Roma"));
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("COLOR"))->AsString(), QStringLiteral("#C6FFB3"));

    dm.EVENTS.Open(dmsql::EventsArchived);
    ASSERT_EQ(dm.EVENTS.RecordCount(), 1);
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("ID"))->AsInteger(), b);
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("ARC"))->AsString(), QStringLiteral("X"));
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("COLOR"))->AsString(), QStringLiteral("#00FF00"));
    dm.SetArchived({b}, false);
    dm.EVENTS.Refresh();
    EXPECT_TRUE(dm.EVENTS.IsEmpty());

    dm.EVENTS.Open(dmsql::EventsAll);
    EXPECT_EQ(dm.EVENTS.RecordCount(), 3);
    dm.DeleteEvent(c);
    dm.EVENTS.Refresh();
    EXPECT_EQ(dm.EVENTS.RecordCount(), 2);

    // Sites and titles.
    dm.InsertPlaceholderSede();
    dm.InsertPlaceholderTitolo();
    EXPECT_THROW(dm.InsertPlaceholderSede(), EDBEngineError);
    EXPECT_THROW(dm.InsertPlaceholderTitolo(), EDBEngineError);
    dm.SEDI.Open(dmsql::SediOrdered);
    ASSERT_TRUE(dm.SEDI.Locate(QStringLiteral("SEDE"), dmtext::PlaceholderSede));
    dm.SEDI.Edit();
    dm.SEDI.FieldByName(QStringLiteral("SEDE"))->SetAsString(QStringLiteral("Verona"));
    dm.SEDI.FieldByName(QStringLiteral("SEDECOLOR"))->SetAsString(QStringLiteral("#00FF00"));
    dm.SEDI.Post();
    dm.InsertPlaceholderSede();
    EXPECT_EQ(dm.SedeColor(QStringLiteral("Verona")), QStringLiteral("#00FF00"));
    EXPECT_EQ(dm.SedeColor(dmtext::PlaceholderSede), QString());
    EXPECT_EQ(dm.SedeColor(QStringLiteral("Nessuna")), QString());
    EXPECT_EQ(dm.SedeList(), (QStringList{QStringLiteral("Verona"), dmtext::PlaceholderSede}));
    EXPECT_EQ(dm.TitleList(), QStringList{dmtext::PlaceholderTitle});
    dm.SEDI.Open(dmsql::Sedi);
    dm.TITOLI.Open(dmsql::TitoliOrdered);
    EXPECT_EQ(dm.SEDI.RecordCount(), 2);
    EXPECT_EQ(dm.TITOLI.RecordCount(), 1);
    dm.TITOLI.Open(dmsql::Titoli);
    EXPECT_EQ(dm.TITOLI.RecordCount(), 1);
    dm.FQ.Open(dmsql::GeneratorNext);
    EXPECT_EQ(dm.FQ.FieldByName(QStringLiteral("NEWID"))->AsInteger(), c + 1);
    EXPECT_THROW(dm.FQ.Open(QStringLiteral("UPDATE EVENTS SET COLOR = COLOR WHERE ID = 0")), EDatabaseError);
    EXPECT_FALSE(dm.FQ.Active());
}

TEST_F(EventsDbTest, TextWithQuotesAndSqlSymbolsRoundTrips)
{
    const QString title = QStringLiteral("L'evento & co -- ; DROP TABLE EVENTS; '' \" è");
    const QString sede = QStringLiteral("Sala 'A' -- ;");
    const int id = dm.InsertEvent(title, dayOf(2026, 9, 10, 9), dayOf(2026, 9, 10, 10), sede, QStringLiteral("#FFFF00"));
    const int other = dm.InsertNewEvent(dayOf(2026, 9, 11));
    dm.SetEventTitle(other, title);
    dm.SetEventSede(other, sede, QStringLiteral("#FFFF00"));
    dm.EVENTS.Open(dmsql::EventsNewestFirst);
    ASSERT_EQ(dm.EVENTS.RecordCount(), 2);
    for (int want : {other, id}) {
        ASSERT_TRUE(dm.EVENTS.Locate(QStringLiteral("ID"), want));
        EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("TITLE"))->AsString(), title);
        EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("SEDE"))->AsString(), sede);
    }
    // Through the titles query's write-back as well; a trailing blank of VARCHAR text stays.
    dm.TITOLI.Open(dmsql::Titoli);
    dm.TITOLI.Insert();
    dm.TITOLI.FieldByName(QStringLiteral("TITOLO"))->SetAsString(title + QLatin1Char(' '));
    dm.TITOLI.Post();
    EXPECT_EQ(committed(dmsql::Titoli, QStringLiteral("TITOLO")), QStringList{title + QLatin1Char(' ')});
    EXPECT_EQ(dm.SedeColor(sede), QString());
}

TEST_F(EventsDbTest, EachActionIsCommittedAtOnce)
{
    const int id = dm.InsertNewEvent(dayOf(2026, 9, 10));
    EXPECT_EQ(committed(dmsql::EventsAll, QStringLiteral("ID")), QStringList{QString::number(id)});
    dm.SetEventTitle(id, QStringLiteral("Subito"));
    EXPECT_EQ(committed(dmsql::EventsAll, QStringLiteral("TITLE")), QStringList{QStringLiteral("Subito")});

    // A failing action leaves nothing behind.
    EXPECT_THROW(dm.Conn.RunInTransaction([&] {
        dm.SetEventTitle(id, QStringLiteral("Mai"));
        dm.FQ.ExecSQL(QStringLiteral("UPDATE NOPE SET X = 1"));
    }),
                 EDBEngineError);
    EXPECT_FALSE(dm.Conn.InTransaction());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); // the busy cursor is gone after a failure too
    EXPECT_EQ(committed(dmsql::EventsAll, QStringLiteral("TITLE")), QStringList{QStringLiteral("Subito")});

    // Reload: the queries keep their rows across the new attachment.
    dm.EVENTS.Open(dmsql::EventsAll);
    dm.Conn.Reconnect();
    EXPECT_EQ(dm.EVENTS.RecordCount(), 1);
    dm.EVENTS.Refresh();
    EXPECT_EQ(dm.EVENTS.RecordCount(), 1);
}

TEST_F(EventsDbTest, ArchivingManyEventsIsAllOrNothing)
{
    dm.Conn.RunInTransaction([&] {
        for (int i = 0; i < 2100; ++i)
            dm.InsertNewEvent(dayOf(2026, 1, 1) + i);
    });
    QList<int> ids;
    for (int i = 1; i <= 2100; ++i)
        ids << i;

    // One event the database refuses to archive: no event is archived.
    dm.Conn.RunInTransaction([&] {
        dm.Conn.ExecSQL(QStringLiteral("CREATE EXCEPTION E_REFUSED 'refused'"));
    });
    dm.Conn.RunInTransaction([&] {
        dm.Conn.ExecSQL(QStringLiteral("CREATE TRIGGER T_REFUSE FOR EVENTS BEFORE UPDATE AS BEGIN "
                                       "IF (NEW.ID = 2000 AND NEW.ARC IS NOT NULL) THEN EXCEPTION E_REFUSED; END"));
    });
    EXPECT_THROW(dm.ArchiveEvents(ids), EDBEngineError);
    dm.EVENTS.Open(dmsql::EventsArchived);
    EXPECT_EQ(dm.EVENTS.RecordCount(), 0);

    dm.Conn.ExecSQL(QStringLiteral("DROP TRIGGER T_REFUSE"));
    dm.ArchiveEvents(ids);
    dm.EVENTS.Refresh();
    EXPECT_EQ(dm.EVENTS.RecordCount(), 2100);
}

TEST_F(EventsDbTest, DeleteConfirmations)
{
    dm.InsertPlaceholderTitolo();
    dm.InsertPlaceholderSede();
    struct Case
    {
        TQuery *query;
        QString sql, field, caption, text;
    };
    const Case cases[] = {
        {&dm.TITOLI, dmsql::TitoliOrdered, QStringLiteral("TITOLO"), QStringLiteral("LirraCal: conferma eliminazione titolo"),
         QStringLiteral("Eliminare il titolo: \"[titolo da definire]\" ?")},
        {&dm.SEDI, dmsql::SediOrdered, QStringLiteral("SEDE"), QStringLiteral("LirraCal: conferma eliminazione sede"),
         QStringLiteral("Eliminare la sede: \"[sede da definire]\" ?")},
    };
    for (const Case &c : cases) {
        c.query->Open(c.sql);
        boxes.shown.clear();
        boxes.answers = {ui::mbNo};
        EXPECT_FALSE(c.query->Delete());
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_EQ(boxes.shown[0].caption, c.caption);
        EXPECT_EQ(boxes.shown[0].text, c.text);
        EXPECT_EQ(c.query->RecordCount(), 1);
        EXPECT_EQ(committed(c.sql, c.field).size(), 1);

        boxes.answers = {ui::mbYes};
        EXPECT_TRUE(c.query->Delete());
        EXPECT_EQ(boxes.shown.size(), 2);
        EXPECT_TRUE(c.query->IsEmpty());
        EXPECT_TRUE(committed(c.sql, c.field).isEmpty());
    }
}

TEST_F(EventsDbTest, WriteBackFindsTheRowByItsOriginalKey)
{
    const int a = dm.InsertNewEvent(dayOf(2026, 9, 10));
    const int b = dm.InsertNewEvent(dayOf(2026, 9, 11));
    dm.EVENTS.Open(dmsql::EventsNewestFirst);
    ASSERT_TRUE(dm.EVENTS.Locate(QStringLiteral("ID"), a));
    dm.EVENTS.Edit();
    dm.EVENTS.FieldByName(QStringLiteral("COLOR"))->SetAsString(QStringLiteral("#FF99FF"));
    dm.EVENTS.Post();
    // Short text in a fixed-length column reads back without the padding.
    dm.EVENTS.Edit();
    dm.EVENTS.FieldByName(QStringLiteral("ARC"))->SetAsString(QStringLiteral("X"));
    dm.EVENTS.FieldByName(QStringLiteral("COLOR"))->SetAsString(QStringLiteral("#F"));
    dm.EVENTS.Post();
    dm.EVENTS.Refresh();
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("ID"))->AsInteger(), a);
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("COLOR"))->AsString(), QStringLiteral("#F"));

    // Another client deletes the row: the write-back finds nothing and says so.
    dm.DeleteEvent(b);
    ASSERT_TRUE(dm.EVENTS.Locate(QStringLiteral("ID"), b));
    dm.EVENTS.Edit();
    dm.EVENTS.FieldByName(QStringLiteral("TITLE"))->SetAsString(QStringLiteral("perso"));
    EXPECT_THROW(dm.EVENTS.Post(), EDatabaseError);
    dm.EVENTS.Cancel();
    dm.EVENTS.Refresh();
    EXPECT_EQ(dm.EVENTS.RecordCount(), 1);
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("ID"))->AsInteger(), a);

    // A text longer than its column is refused before it reaches the database.
    dm.EVENTS.Edit();
    EXPECT_THROW(dm.EVENTS.FieldByName(QStringLiteral("COLOR"))->SetAsString(QStringLiteral("#1234567")), EDatabaseError);
    dm.EVENTS.Cancel();
}

} // namespace

namespace {

TEST_F(EventsDbTest, ReopeningWithNewSqlKeepsFilterAndSort)
{
    for (const char *title : {"RIUNIONE A", "riunione b", "Riunione c", "ALTRO"})
        dm.InsertEvent(QString::fromUtf8(title), dayOf(2026, 9, 10, 9), dayOf(2026, 9, 10, 10), QStringLiteral("Roma"),
                       QStringLiteral("#FFFF00"));
    dm.SetArchived({1}, true);
    dm.EVENTS.Open(dmsql::EventsAll);
    dm.EVENTS.SetFilter(QStringLiteral("[TITLE]='RIU*' OR [TITLE]='riu*'"));
    dm.EVENTS.SetFiltered(true);
    dm.EVENTS.SetIndexFieldNames(QStringLiteral("TITLE:D"));
    auto titles = [&] {
        QStringList out;
        for (dm.EVENTS.First(); !dm.EVENTS.Eof(); dm.EVENTS.Next())
            out << dm.EVENTS.FieldByName(QStringLiteral("TITLE"))->AsString();
        return out;
    };
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("riunione b"), QStringLiteral("RIUNIONE A")}));
    dm.EVENTS.Open(dmsql::EventsNotArchived);
    EXPECT_EQ(titles(), QStringList{QStringLiteral("riunione b")});
    dm.EVENTS.Open(dmsql::EventsNewestFirst);
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("riunione b"), QStringLiteral("RIUNIONE A")}));
    EXPECT_EQ(dm.EVENTS.RecordCount(), 2);
    dm.EVENTS.SetFiltered(false);
    EXPECT_EQ(dm.EVENTS.RecordCount(), 4);

    // Refresh after another action deleted the current event: the next one becomes current.
    ASSERT_TRUE(dm.EVENTS.Locate(QStringLiteral("TITLE"), "RIUNIONE A"));
    const int next = (dm.EVENTS.Next(), dm.EVENTS.FieldByName(QStringLiteral("ID"))->AsInteger());
    dm.EVENTS.Prior();
    dm.DeleteEvent(dm.EVENTS.FieldByName(QStringLiteral("ID"))->AsInteger());
    dm.EVENTS.Refresh();
    EXPECT_EQ(dm.EVENTS.FieldByName(QStringLiteral("ID"))->AsInteger(), next);
    EXPECT_EQ(dm.EVENTS.RecordCount(), 3);
}

} // namespace
