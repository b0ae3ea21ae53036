#pragma once
// The data module: the events database connection, the scratch query FQ through which the
// program's statements go, and the shared queries EVENTS, SEDI and TITOLI the windows show.
#include "platform/data/connection.h"
#include "platform/data/query.h"
#include "platform/data/tablemodel.h"
#include "platform/rtl/reflect/component.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class TkvlDBDataset;
class TkvlCSVExport;
class TkvlPDFExport;
class TkvlXLSXExport;
class TkvlDOCXExport;
class TkvlDesigner;
class TkvlReport;

// Every statement the program sends. Values are always bound as parameters.
namespace dmsql {
inline const QString EventsNotArchived = QStringLiteral("SELECT * FROM EVENTS WHERE ARC IS NULL order by START_EVENT DESC");
inline const QString EventsAll = QStringLiteral("SELECT * FROM EVENTS order by START_EVENT DESC");
inline const QString EventsArchived = QStringLiteral("SELECT * FROM EVENTS WHERE ARC = 'X' order by START_EVENT DESC");
inline const QString EventsNewestFirst = QStringLiteral("SELECT * FROM EVENTS order by ID DESC");
inline const QString TitoliOrdered = QStringLiteral("SELECT * FROM TITOLI order by TITOLO");
inline const QString SediOrdered = QStringLiteral("SELECT * FROM SEDI order by SEDE");
inline const QString Titoli = QStringLiteral("SELECT * FROM TITOLI");
inline const QString Sedi = QStringLiteral("SELECT * FROM SEDI");
inline const QString TitoliList = QStringLiteral("SELECT * FROM TITOLI ORDER BY TITOLO");
inline const QString SedeByName = QStringLiteral("SELECT * from SEDI WHERE SEDE = :SEDE");
inline const QString GeneratorCurrent = QStringLiteral("SELECT GEN_ID(ID_EVENTS, 0) AS newID FROM RDB$DATABASE");
inline const QString GeneratorNext = QStringLiteral("SELECT GEN_ID(ID_EVENTS, 1) AS newID FROM RDB$DATABASE");
inline const QString InsertEvent = QStringLiteral(
    "INSERT INTO EVENTS (ID, TITLE, START_EVENT, END_EVENT, SEDE, COLOR) VALUES (:ID, :TITLE, :START_EVENT, :END_EVENT, :SEDE, :COLOR)");
inline const QString DeleteEvent = QStringLiteral("DELETE FROM EVENTS WHERE ID = :ID");
inline const QString SetArc = QStringLiteral("UPDATE EVENTS SET ARC = :ARC WHERE ID = :ID ");
inline const QString SetStart = QStringLiteral("UPDATE EVENTS SET START_EVENT =:DT WHERE ID = :ID ");
inline const QString SetEnd = QStringLiteral("UPDATE EVENTS SET END_EVENT =:DT WHERE ID = :ID ");
inline const QString SetTitle = QStringLiteral("UPDATE EVENTS SET TITLE = :TITLE WHERE ID = :ID ");
inline const QString SetSede = QStringLiteral("UPDATE EVENTS SET SEDE = :SEDE , COLOR = :COLOR WHERE ID = :ID ");
inline const QString SetColor = QStringLiteral("UPDATE EVENTS SET COLOR = :COLOR WHERE ID = :ID ");
inline const QString InsertSede = QStringLiteral("INSERT INTO SEDI (SEDE) VALUES (:SEDE)");
inline const QString InsertTitolo = QStringLiteral("INSERT INTO TITOLI (TITOLO) VALUES (:TITOLO)");
// The archive window touches archived events only, whatever the events query holds.
inline const QString UnarchiveArchived = QStringLiteral("UPDATE EVENTS SET ARC = :ARC WHERE ID = :ID AND ARC = 'X'");
inline const QString DeleteArchived = QStringLiteral("DELETE FROM EVENTS WHERE ID = :ID AND ARC = 'X'");
} // namespace dmsql

// Texts the data module shows.
namespace dmtext {
inline const QString PlaceholderTitle = QStringLiteral("[titolo da definire]");
inline const QString PlaceholderSede = QStringLiteral("[sede da definire]");
inline const QString NewEventColor = QStringLiteral("#FFFF35");
inline const QString StatusLost = QStringLiteral("Connessione persa");
inline const QString RestoredTopic = QStringLiteral("verifica connessione");
inline const QString RestoredText = QStringLiteral("La connessione è stata ripristinata.");
inline const QString DeleteTitleTopic = QStringLiteral("conferma eliminazione titolo");
inline const QString DeleteTitleText = QStringLiteral("Eliminare il titolo: ");
inline const QString DeleteSedeTopic = QStringLiteral("conferma eliminazione sede");
inline const QString DeleteSedeText = QStringLiteral("Eliminare la sede: ");
} // namespace dmtext

// Where the events database is: the section "Database" of LirraCalConf.ini when it is there
// (keys Server, Path, User, Password; read only), else the embedded file Data/LIRRACAL.FDB in
// the program folder, created with its tables on first use.
struct TDatabaseConfig
{
    bool embedded = true;
    QString database; // path, or server:path
    QString user = QStringLiteral("SYSDBA");
    QString password;
};

// Owned by the application for the whole run (global dm).
class Tdm : public QObject
{
    Q_OBJECT
public:
    explicit Tdm(QObject *owner = nullptr);
    ~Tdm() override;
    Tdm(const Tdm &) = delete;
    Tdm &operator=(const Tdm &) = delete;

    TConnection Conn;
    TQuery FQ;
    TQuery EVENTS;
    TQuery SEDI;
    TQuery TITOLI;
    // What the grids show of the three queries.
    TDataSetTableModel dsEVENTS{&EVENTS};
    TDataSetTableModel dsSEDI{&SEDI};
    TDataSetTableModel dsTITOLI{&TITOLI};

    // Report components (dmreports.cpp), owned by Components, the container that references
    // in templates know as "dm": the record sources "EVENTS", "SEDI" and "TITOLI" over the
    // three queries. Declared after the queries so that they go first.
    std::unique_ptr<TComponent> Components;
    TkvlDBDataset *fEVENTS = nullptr;
    TkvlDBDataset *fSEDI = nullptr;
    TkvlDBDataset *fTITOLI = nullptr;
    // The comma-separated text export the preview offers (through the filter registry).
    TkvlCSVExport *kvlCSVExport1 = nullptr;
    // The PDF export, reached the same way.
    TkvlPDFExport *kvlPDFExport1 = nullptr;
    // The spreadsheet export the preview offers.
    TkvlXLSXExport *kvlXLSXExport1 = nullptr;
    // The word-processing export the preview offers.
    TkvlDOCXExport *kvlDOCXExport1 = nullptr;
    // The report document the report menus load templates into; it prepares before it shows.
    TkvlReport *fREP = nullptr;
    // The settings every report designer window opened from the calendar reads.
    TkvlDesigner *kvlDesigner1 = nullptr;

    // Writes the main window's first status panel; set by the main window.
    std::function<void(const QString &)> OnStatusText;

    // Handlers of the connection and of the sites and titles queries.
    void ConnLost(TConnection &);
    TRecoverAction ConnRecover(TConnection &);
    void ConnRestored(TConnection &);
    bool SEDIBeforeDelete(TDataSet &ds);
    bool TITOLIBeforeDelete(TDataSet &ds);

    // --- the database
    static TDatabaseConfig ReadDatabaseConfig(const QString &iniFile);
    static QString ConfigFile(); // AppPath + "LirraCalConf.ini"
    // Points Conn at the configured database, creating the embedded file when it is missing.
    void PrepareDatabase();
    void PrepareDatabase(const TDatabaseConfig &config);
    // Creates an embedded database file with the tables and the generator (all or nothing).
    static void CreateEventsDatabase(const QString &path);
    static void CreateSchema(TConnection &conn);

    // --- actions; each one is a transaction of its own
    int CurrentEventID();                // generator's current value
    int NextEventID();                   // draws the next value
    // New event with the placeholder title and site, on the day given, 09:00-12:00.
    int InsertNewEvent(double day);
    // New event with the next generator value; returns its ID.
    int InsertEvent(const QString &title, double start, double end, const QString &sede, const QString &color);
    void DeleteEvent(int id);
    void DeleteEvents(const QList<int> &ids);
    // Marks the events archived; all or none.
    void ArchiveEvents(const QList<int> &ids);
    void SetArchived(const QList<int> &ids, bool archived);
    void SetEventStart(int id, double dt);
    void SetEventEnd(int id, double dt);
    void SetEventTitle(int id, const QString &title);
    void SetEventSede(int id, const QString &sede, const QString &color);
    void SetEventColor(int id, const QString &color);
    void InsertPlaceholderSede();
    void InsertPlaceholderTitolo();
    // Archived events made live again / deleted, all or none; events that are not archived
    // are left alone. Returns how many events changed.
    int UnarchiveArchivedEvents(const QList<int> &ids);
    int DeleteArchivedEvents(const QList<int> &ids);
    // Whether an error is the database refusing a duplicate of a primary or unique key.
    static bool IsDuplicateKeyError(const std::exception &e);
    // Colour text of a site ("" when the site has none or does not exist).
    QString SedeColor(const QString &sede);
    // Non-empty titles / sites in the order of the lists the editor shows.
    QStringList TitleList();
    QStringList SedeList();

    // --- changes of one event that must find it: each raises EDatabaseError, and writes
    // nothing, when no event has that ID (deleted meanwhile by someone else)
    void RemoveEvent(int id);
    // Start and/or end in one transaction.
    void SaveEventPeriod(int id, std::optional<double> start, std::optional<double> end);
    void SaveEventTitle(int id, const QString &title);
    void SaveEventSede(int id, const QString &sede, const QString &color);
    void SaveEventColor(int id, const QString &color);
    void SaveEventArchived(int id, bool archived);

private:
    void CreateReportComponents();
    void RunAction(const std::function<void()> &fn);
    // Runs the statement prepared in FQ; raises when it changed no row.
    void ExecForEvent(int id);
    QStringList ColumnList(const QString &sql, const QString &field);
};
