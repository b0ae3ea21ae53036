#include "app/dm/dm.h"

#include "app/globals.h"
#include "app/settings.h"
#include "platform/data/dberrors.h"
#include "platform/data/fbclient.h"
#include "platform/rtl/apppath.h"
#include "platform/rtl/inifile.h"
#include "platform/ui/messages.h"
#include "platform/ui/serverwait.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCursor>
#include <QApplication>
#include <QGuiApplication>
#include <QSqlQuery>
#include <cmath>

namespace {

// IDs per statement when many events are archived at once; well under the server's limits
// on parameters and IN lists.
constexpr int kIdsPerStatement = 200;

} // namespace

Tdm::Tdm(QObject *owner) : QObject(owner), FQ(&Conn), EVENTS(&Conn), SEDI(&Conn), TITOLI(&Conn)
{
    setObjectName(QStringLiteral("dm"));
    FQ.Name = QStringLiteral("FQ");
    EVENTS.Name = QStringLiteral("EVENTS");
    SEDI.Name = QStringLiteral("SEDI");
    TITOLI.Name = QStringLiteral("TITOLI");
    EVENTS.KeyFields = QStringLiteral("ID");
    SEDI.KeyFields = QStringLiteral("SEDE");
    TITOLI.KeyFields = QStringLiteral("TITOLO");

    EVENTS.AfterOpen = [](TDataSet &ds) {
        for (const char *name : {"ID", "ARC"})
            if (TField *f = ds.FindField(QLatin1String(name)))
                f->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    };
    SEDI.BeforeDelete = [this](TDataSet &ds) { return SEDIBeforeDelete(ds); };
    TITOLI.BeforeDelete = [this](TDataSet &ds) { return TITOLIBeforeDelete(ds); };

    CreateReportComponents();

    Conn.OnLost = [this](TConnection &c) { ConnLost(c); };
    Conn.OnRecover = [this](TConnection &c) { return ConnRecover(c); };
    Conn.OnRestored = [this](TConnection &c) { ConnRestored(c); };
    // Hourglass while the database works.
    Conn.OnBusy = [](bool busy) {
        if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            return;
        if (busy)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::restoreOverrideCursor();
    };
    // A call kept waiting by the server says so, and can be cancelled.
    Conn.OnWaiting = [notice = std::make_shared<std::unique_ptr<ui::TServerWaitNotice>>()](
                         bool waiting, const std::function<void()> &cancel) {
        notice->reset();
        if (!waiting || !qobject_cast<QApplication *>(QCoreApplication::instance()))
            return;
        *notice = std::make_unique<ui::TServerWaitNotice>(cancel);
        (*notice)->show();
    };
}

Tdm::~Tdm()
{
    if (dm == this)
        dm = nullptr;
    // The queries go before the connection they use.
    EVENTS.Close();
    SEDI.Close();
    TITOLI.Close();
    FQ.Close();
}

// ---------------------------------------------------------------- handlers

void Tdm::ConnLost(TConnection &)
{
    if (OnStatusText)
        OnStatusText(dmtext::StatusLost);
}

TRecoverAction Tdm::ConnRecover(TConnection &)
{
    return TRecoverAction::Retry;
}

void Tdm::ConnRestored(TConnection &)
{
    ui::InformationBox(dmtext::RestoredTopic, dmtext::RestoredText);
}

bool Tdm::SEDIBeforeDelete(TDataSet &ds)
{
    const QString sede = ds.FieldByName(QStringLiteral("SEDE"))->AsString();
    return ui::ConfirmBox(dmtext::DeleteSedeTopic,
                          dmtext::DeleteSedeText + QLatin1Char('"') + sede + QLatin1Char('"') + QLatin1String(" ?"));
}

bool Tdm::TITOLIBeforeDelete(TDataSet &ds)
{
    const QString titolo = ds.FieldByName(QStringLiteral("TITOLO"))->AsString();
    return ui::ConfirmBox(dmtext::DeleteTitleTopic,
                          dmtext::DeleteTitleText + QLatin1Char('"') + titolo + QLatin1Char('"') + QLatin1String(" ?"));
}

// ---------------------------------------------------------------- database

QString Tdm::ConfigFile()
{
    return rtl::AppPath() + QStringLiteral("LirraCalConf.ini");
}

TDatabaseConfig Tdm::ReadDatabaseConfig(const QString &iniFile)
{
    TDatabaseConfig c;
    const QString section = QStringLiteral("Database");
    // The program's settings are read once, at start: the data module reads them there.
    std::unique_ptr<TIniFile> own;
    const TIniFile *settings = Settings && Settings->FileName() == iniFile ? Settings : nullptr;
    if (!settings && QFileInfo::exists(iniFile)) {
        own = std::make_unique<TIniFile>(iniFile);
        settings = own.get();
    }
    if (settings) {
        const TIniFile &ini = *settings;
        if (ini.SectionExists(section)) {
            const QString server = ini.ReadString(section, QStringLiteral("Server"), QString()).trimmed();
            const QString path = ini.ReadString(section, QStringLiteral("Path"), QString()).trimmed();
            c.embedded = server.isEmpty();
            c.database = server.isEmpty() ? path : server + QLatin1Char(':') + path;
            c.user = ini.ReadString(section, QStringLiteral("User"), QStringLiteral("SYSDBA"));
            c.password = ini.ReadString(section, QStringLiteral("Password"), QString());
            if (!c.database.isEmpty())
                return c;
        }
    }
    c = TDatabaseConfig();
    c.database = rtl::AppPath() + QStringLiteral("Data/LIRRACAL.FDB");
    return c;
}

void Tdm::PrepareDatabase()
{
    PrepareDatabase(ReadDatabaseConfig(ConfigFile()));
}

void Tdm::PrepareDatabase(const TDatabaseConfig &config)
{
    if (Conn.Connected())
        Conn.Close();
    Conn.Database = config.database;
    Conn.UserName = config.user;
    Conn.Password = config.password;
    if (config.embedded && !data::IsRemoteDatabase(config.database) && !QFileInfo::exists(config.database))
        CreateEventsDatabase(config.database);
}

void Tdm::CreateSchema(TConnection &conn)
{
    static const char *const statements[] = {
        "CREATE TABLE EVENTS (ID INTEGER NOT NULL, TITLE VARCHAR(120) NOT NULL, START_EVENT TIMESTAMP NOT NULL, "
        "END_EVENT TIMESTAMP NOT NULL, SEDE VARCHAR(50), COLOR CHAR(7), ARC CHAR(1), CONSTRAINT PK_EVENTS PRIMARY KEY (ID))",
        "CREATE DESCENDING INDEX IX_EVENTS_START ON EVENTS (START_EVENT)",
        "CREATE TABLE SEDI (SEDE VARCHAR(50) NOT NULL, SEDECOLOR CHAR(7), CONSTRAINT PK_SEDI PRIMARY KEY (SEDE))",
        "CREATE TABLE TITOLI (TITOLO VARCHAR(120) NOT NULL, CONSTRAINT UQ_TITOLI UNIQUE (TITOLO))",
        "CREATE SEQUENCE ID_EVENTS",
    };
    conn.RunInTransaction([&] {
        for (const char *sql : statements)
            conn.ExecSQL(QString::fromLatin1(sql));
    });
}

void Tdm::CreateEventsDatabase(const QString &path)
{
    const QFileInfo fi(path);
    const QString folder = fi.absolutePath();
    if (!QDir().mkpath(folder))
        throw EDatabaseError(QStringLiteral("Impossibile creare la cartella dei dati %1: controlla che il percorso "
                                            "esista e che tu possa scriverci.")
                                 .arg(QDir::toNativeSeparators(folder)));
    if (!QFileInfo(folder).isWritable())
        throw EDatabaseError(QStringLiteral("Impossibile scrivere nella cartella dei dati %1: controlla i permessi.")
                                 .arg(QDir::toNativeSeparators(folder)));
    // Built under a temporary name and renamed when complete, so a failure never leaves a
    // database without its tables where the program looks for it.
    const QString temp = fi.absoluteFilePath() + QStringLiteral(".new");
    QFile::remove(temp);
    try {
        TConnection c;
        c.Database = temp;
        c.UserName = QStringLiteral("SYSDBA");
        c.CreateDatabase();
        c.Open();
        CreateSchema(c);
        c.Close();
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    if (!QFile::rename(temp, fi.absoluteFilePath())) {
        QFile::remove(temp);
        throw EDatabaseError(QStringLiteral("Cannot create the database file %1").arg(fi.absoluteFilePath()));
    }
}

// ---------------------------------------------------------------- actions

void Tdm::RunAction(const std::function<void()> &fn)
{
    Conn.RunInTransaction(fn);
}

int Tdm::CurrentEventID()
{
    FQ.Open(dmsql::GeneratorCurrent);
    const int id = FQ.FieldByName(QStringLiteral("NewID"))->AsInteger();
    FQ.Close();
    return id;
}

int Tdm::NextEventID()
{
    int id = 0;
    RunAction([&] {
        FQ.Open(dmsql::GeneratorNext);
        id = FQ.FieldByName(QStringLiteral("NewID"))->AsInteger();
        FQ.Close();
    });
    return id;
}

int Tdm::InsertEvent(const QString &title, double start, double end, const QString &sede, const QString &color)
{
    int id = 0;
    RunAction([&] {
        FQ.Open(dmsql::GeneratorNext);
        id = FQ.FieldByName(QStringLiteral("NewID"))->AsInteger();
        FQ.Close();
        FQ.SetSQL(dmsql::InsertEvent);
        FQ.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
        FQ.ParamByName(QStringLiteral("TITLE")).SetAsString(title);
        FQ.ParamByName(QStringLiteral("START_EVENT")).SetAsDateTime(start);
        FQ.ParamByName(QStringLiteral("END_EVENT")).SetAsDateTime(end);
        FQ.ParamByName(QStringLiteral("SEDE")).SetAsString(sede);
        FQ.ParamByName(QStringLiteral("COLOR")).SetAsString(color);
        FQ.ExecSQL();
    });
    return id;
}

int Tdm::InsertNewEvent(double day)
{
    const double d = std::floor(day);
    return InsertEvent(dmtext::PlaceholderTitle, d + 9.0 / 24.0, d + 12.0 / 24.0, dmtext::PlaceholderSede,
                       dmtext::NewEventColor);
}

void Tdm::DeleteEvent(int id)
{
    DeleteEvents({id});
}

void Tdm::DeleteEvents(const QList<int> &ids)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::DeleteEvent);
        for (int id : ids) {
            FQ.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
            FQ.ExecSQL();
        }
    });
}

void Tdm::ArchiveEvents(const QList<int> &ids)
{
    RunAction([&] {
        for (qsizetype from = 0; from < ids.size(); from += kIdsPerStatement) {
            const qsizetype n = qMin<qsizetype>(kIdsPerStatement, ids.size() - from);
            QStringList marks;
            for (qsizetype i = 0; i < n; ++i)
                marks << QStringLiteral(":ID%1").arg(i);
            FQ.SetSQL(QStringLiteral("UPDATE EVENTS SET ARC = 'X' WHERE ID IN (%1)").arg(marks.join(QLatin1String(", "))));
            for (qsizetype i = 0; i < n; ++i)
                FQ.ParamByName(QStringLiteral("ID%1").arg(i)).SetAsInteger(ids[from + i]);
            FQ.ExecSQL();
        }
    });
}

void Tdm::SetArchived(const QList<int> &ids, bool archived)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::SetArc);
        for (int id : ids) {
            if (archived)
                FQ.ParamByName(QStringLiteral("ARC")).SetAsString(QStringLiteral("X"));
            else
                FQ.ParamByName(QStringLiteral("ARC")).Clear();
            FQ.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
            FQ.ExecSQL();
        }
    });
}

void Tdm::SetEventStart(int id, double dt)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::SetStart);
        FQ.ParamByName(QStringLiteral("DT")).SetAsDateTime(dt);
        FQ.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
        FQ.ExecSQL();
    });
}

void Tdm::SetEventEnd(int id, double dt)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::SetEnd);
        FQ.ParamByName(QStringLiteral("DT")).SetAsDateTime(dt);
        FQ.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
        FQ.ExecSQL();
    });
}

void Tdm::SetEventTitle(int id, const QString &title)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::SetTitle);
        FQ.ParamByName(QStringLiteral("TITLE")).SetAsString(title);
        FQ.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
        FQ.ExecSQL();
    });
}

void Tdm::SetEventSede(int id, const QString &sede, const QString &color)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::SetSede);
        FQ.ParamByName(QStringLiteral("SEDE")).SetAsString(sede);
        FQ.ParamByName(QStringLiteral("COLOR")).SetAsString(color);
        FQ.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
        FQ.ExecSQL();
    });
}

void Tdm::SetEventColor(int id, const QString &color)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::SetColor);
        FQ.ParamByName(QStringLiteral("COLOR")).SetAsString(color);
        FQ.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
        FQ.ExecSQL();
    });
}

void Tdm::InsertPlaceholderSede()
{
    RunAction([&] {
        FQ.SetSQL(dmsql::InsertSede);
        FQ.ParamByName(QStringLiteral("SEDE")).SetAsString(dmtext::PlaceholderSede);
        FQ.ExecSQL();
    });
}

void Tdm::InsertPlaceholderTitolo()
{
    RunAction([&] {
        FQ.SetSQL(dmsql::InsertTitolo);
        FQ.ParamByName(QStringLiteral("TITOLO")).SetAsString(dmtext::PlaceholderTitle);
        FQ.ExecSQL();
    });
}

int Tdm::UnarchiveArchivedEvents(const QList<int> &ids)
{
    int rows = 0;
    RunAction([&] {
        rows = 0;
        FQ.SetSQL(dmsql::UnarchiveArchived);
        for (int id : ids) {
            FQ.ParamByName(QStringLiteral("ARC")).Clear();
            FQ.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
            FQ.ExecSQL();
            rows += FQ.RowsAffected();
        }
    });
    return rows;
}

int Tdm::DeleteArchivedEvents(const QList<int> &ids)
{
    int rows = 0;
    RunAction([&] {
        rows = 0;
        FQ.SetSQL(dmsql::DeleteArchived);
        for (int id : ids) {
            FQ.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
            FQ.ExecSQL();
            rows += FQ.RowsAffected();
        }
    });
    return rows;
}

bool Tdm::IsDuplicateKeyError(const std::exception &e)
{
    const auto *db = dynamic_cast<const EDBEngineError *>(&e);
    if (!db || db->connectionLost())
        return false;
    // isc_unique_key_violation, isc_no_dup; SQLCODE -803.
    for (long code : db->codes())
        if (code == 335544665L || code == 335544349L)
            return true;
    return db->sqlCode() == QLatin1String("-803") ||
           db->message().contains(QLatin1String("violation of PRIMARY or UNIQUE KEY"), Qt::CaseInsensitive);
}

QString Tdm::SedeColor(const QString &sede)
{
    // Through the scratch query, so the shared sites query keeps listing every site.
    FQ.SetSQL(dmsql::SedeByName);
    FQ.ParamByName(QStringLiteral("SEDE")).SetAsString(sede);
    FQ.Open();
    const QString color = FQ.IsEmpty() ? QString() : FQ.FieldByName(QStringLiteral("SEDECOLOR"))->AsString();
    FQ.Close();
    return color;
}

QStringList Tdm::ColumnList(const QString &sql, const QString &field)
{
    QStringList out;
    FQ.Open(sql);
    const TField *f = FQ.FieldByName(field);
    for (FQ.First(); !FQ.Eof(); FQ.Next()) {
        const QString v = f->AsString();
        if (!v.isEmpty())
            out << v;
    }
    FQ.Close();
    return out;
}

QStringList Tdm::TitleList()
{
    return ColumnList(dmsql::TitoliList, QStringLiteral("TITOLO"));
}

QStringList Tdm::SedeList()
{
    return ColumnList(dmsql::Sedi, QStringLiteral("SEDE"));
}

// ---------------------------------------------------------------- changes that must find the event

void Tdm::ExecForEvent(int id)
{
    FQ.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
    FQ.ExecSQL();
    if (FQ.RowsAffected() == 0)
        throw EDatabaseError(QStringLiteral("Nessun evento con ID = %1: la modifica non è stata registrata.").arg(id));
}

void Tdm::RemoveEvent(int id)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::DeleteEvent);
        ExecForEvent(id);
    });
}

void Tdm::SaveEventPeriod(int id, std::optional<double> start, std::optional<double> end)
{
    RunAction([&] {
        if (start) {
            FQ.SetSQL(dmsql::SetStart);
            FQ.ParamByName(QStringLiteral("DT")).SetAsDateTime(*start);
            ExecForEvent(id);
        }
        if (end) {
            FQ.SetSQL(dmsql::SetEnd);
            FQ.ParamByName(QStringLiteral("DT")).SetAsDateTime(*end);
            ExecForEvent(id);
        }
    });
}

void Tdm::SaveEventTitle(int id, const QString &title)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::SetTitle);
        FQ.ParamByName(QStringLiteral("TITLE")).SetAsString(title);
        ExecForEvent(id);
    });
}

void Tdm::SaveEventSede(int id, const QString &sede, const QString &color)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::SetSede);
        FQ.ParamByName(QStringLiteral("SEDE")).SetAsString(sede);
        FQ.ParamByName(QStringLiteral("COLOR")).SetAsString(color);
        ExecForEvent(id);
    });
}

void Tdm::SaveEventColor(int id, const QString &color)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::SetColor);
        FQ.ParamByName(QStringLiteral("COLOR")).SetAsString(color);
        ExecForEvent(id);
    });
}

void Tdm::SaveEventArchived(int id, bool archived)
{
    RunAction([&] {
        FQ.SetSQL(dmsql::SetArc);
        if (archived)
            FQ.ParamByName(QStringLiteral("ARC")).SetAsString(QStringLiteral("X"));
        else
            FQ.ParamByName(QStringLiteral("ARC")).Clear();
        ExecForEvent(id);
    });
}
