#include "app/fmain.h"

#include "app/dm/dm.h"
#include "app/farc.h"
#include "app/fsedi.h"
#include "app/ftitoli.h"
#include "app/globals.h"
#include "app/procedures.h"
#include "app/resources/btnlist.h"
#include "app/settings.h"
#include "app/widgets/datepicker.h"
#include "app/widgets/dbgrid.h"
#include "app/widgets/makebutton.h"
#include "app/widgets/dbnavigator.h"
#include "app/widgets/guard.h"
#include "platform/data/fbclient.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/services.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>
#include <atomic>

const QString TfMain::Caption = QStringLiteral("LIRRA CALENDARIO | v. 100.1 del 10/09/2026");
const QString TfMain::StatusOpen = QStringLiteral("Connessione aperta su.../LIRRA CALENDARIO DUDU");
const QString TfMain::StatusClosed = QStringLiteral("Connessione chiusa");
const QString TfMain::WebSite = QStringLiteral("https://www.dunfell.example");

namespace {

const QString kServerTopic = QStringLiteral("verifica connessione al database");
const QString kWebTopic = QStringLiteral("apertura pagina web");

// Column widths of the grid, by whether the ARC column is shown.
constexpr int kFixedWidths[] = {50, 0, 134, 134, 104, 30, 110};
constexpr int kTitleLessArc = 549;
constexpr int kTitleLessNoArc = 579;

enum DateFilter { Before, Same, After };

// Quoted text for a filter: single quotes around, single quotes inside doubled.
QString Quoted(const QString &s)
{
    QString out = s;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

// Runs the probe on a worker thread; the window keeps painting meanwhile (user input waits).
bool ProbeWithoutFreezing(const QString &host, quint16 port, int timeoutMs)
{
    ui::INetProbe &probe = ui::netProbe();
    std::atomic<bool> ok{false};
    QThread *th = QThread::create([&] {
        try {
            ok = probe.CanConnect(host, port, timeoutMs);
        } catch (...) {
            ok = false;
        }
    });
    QEventLoop loop;
    QObject::connect(th, &QThread::finished, &loop, &QEventLoop::quit);
    th->start();
    if (!th->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    th->wait();
    delete th;
    return ok;
}

// Hourglass while the data-access layer works.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

TfMain::TfMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(Caption);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    setFont(f);
    setMinimumSize(1024, 174);

    auto *central = new QWidget(this);
    auto *lay = new QVBoxLayout(central);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    setCentralWidget(central);

    CreatePanel1();
    CreateGrid();
    CreatePanel2();
    lay->addWidget(Panel1);
    lay->addWidget(DBGridEVENTS, 1);
    lay->addWidget(Panel2);
    CreateStatusBar();
    CreateMenu();
}

TfMain::~TfMain()
{
    if (fMain == this)
        fMain = nullptr;
}

// ---------------------------------------------------------------- layout

void TfMain::CreatePanel1()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *h = new QHBoxLayout(Panel1);
    h->setContentsMargins(4, 4, 4, 4);
    h->setSpacing(4);

    bOpenRemoto = MakeButton(Panel1, "bOpenRemoto", QStringLiteral("Apri"),
                             QStringLiteral("Apri connessione al database remoto"), 16);
    bCloseConn = MakeButton(Panel1, "bCloseConn", QStringLiteral("Chiudi"),
                            QStringLiteral("Chiudi connessione al database remoto"), 17);
    bMostraNonArchiviati = MakeButton(Panel1, "bMostraNonArchiviati", QStringLiteral("Non archiviati"),
                                      QStringLiteral("Mostra tutti gli eventi non archiviati"), 6);
    bMostraTutti = MakeButton(Panel1, "bMostraTutti", QStringLiteral("Tutti"),
                              QStringLiteral("Mostra tutti gli eventi compresi quelli archiviati"), 6);
    bOpenFormARC = MakeButton(Panel1, "bOpenFormARC", QStringLiteral("ARCHIVIATI"),
                              QStringLiteral("Apri/chiudi la tabella eventi archiviati"), 20);
    bOpenFormTITOLI = MakeButton(Panel1, "bOpenFormTITOLI", QStringLiteral("TITOLI"),
                                 QStringLiteral("Apri/chiudi la tabella titoli"), 20);
    bOpenFormSEDI = MakeButton(Panel1, "bOpenFormSEDI", QStringLiteral("SEDI"),
                               QStringLiteral("Apri/chiudi la tabella sedi"), 20);
    LabCount = new QLabel(QStringLiteral("..."), Panel1);
    LabCount->setObjectName(QStringLiteral("LabCount"));
    LabCount->setToolTip(QStringLiteral("Numero di eventi visualizzati in tabella"));
    LabCount->setMinimumWidth(60);
    LabCount->setAlignment(Qt::AlignCenter);

    auto split = [this](const char *name, const QString &caption, const QString &hint, QMenu *&menu) {
        auto *b = new QToolButton(Panel1);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setPopupMode(QToolButton::MenuButtonPopup);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        menu = new QMenu(b);
        b->setMenu(menu);
        return b;
    };
    bStampa = split("bStampa", QStringLiteral("Stampa"), QStringLiteral("Seleziona report da stampare/esportare"), PopupStampa);
    bEditReport = split("bEditReport", QStringLiteral("Modifica"), QStringLiteral("Seleziona report da modificare"),
                        PopupEditReport);

    for (QWidget *w : {static_cast<QWidget *>(bOpenRemoto), static_cast<QWidget *>(bCloseConn),
                       static_cast<QWidget *>(bMostraNonArchiviati), static_cast<QWidget *>(bMostraTutti),
                       static_cast<QWidget *>(bOpenFormARC), static_cast<QWidget *>(bOpenFormTITOLI),
                       static_cast<QWidget *>(bOpenFormSEDI), static_cast<QWidget *>(LabCount),
                       static_cast<QWidget *>(bStampa), static_cast<QWidget *>(bEditReport)})
        h->addWidget(w);
    h->addStretch(1);

    connect(bOpenRemoto, &QPushButton::clicked, this, [this] { bOpenRemotoClick(); });
    connect(bCloseConn, &QPushButton::clicked, this, [this] { bCloseConnClick(); });
    connect(bMostraNonArchiviati, &QPushButton::clicked, this, [this] { bMostraNonArchiviatiClick(); });
    connect(bMostraTutti, &QPushButton::clicked, this, [this] { bMostraTuttiClick(); });
    connect(bOpenFormARC, &QPushButton::clicked, this, [this] { bOpenFormARCClick(); });
    connect(bOpenFormTITOLI, &QPushButton::clicked, this, [this] { bOpenFormTITOLIClick(); });
    connect(bOpenFormSEDI, &QPushButton::clicked, this, [this] { bOpenFormSEDIClick(); });
    connect(bStampa, &QToolButton::clicked, this, [this] { bStampaClick(); });
    connect(bEditReport, &QToolButton::clicked, this, [this] { bEditReportClick(); });
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (FReportMenu)
            FReportMenu->popup(mapToGlobal(at));
    });
}

void TfMain::CreatePanel2()
{
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto *h = new QHBoxLayout(Panel2);
    h->setContentsMargins(2, 3, 2, 3);
    h->setSpacing(4);

    bAutoSizeDBGrid = MakeButton(Panel2, "bAutoSizeDBGrid", QStringLiteral("|=|"),
                                 QStringLiteral("Adatta larghezza colonne"));
    bAutoSizeDBGrid->setFixedWidth(28);

    DBNavigatorEVENTS = new TDBNavigator(Panel2);
    DBNavigatorEVENTS->setObjectName(QStringLiteral("DBNavigatorEVENTS"));
    DBNavigatorEVENTS->setToolTip(QStringLiteral("Tabella PRICE"));
    DBNavigatorEVENTS->SetVisibleButtons({TNavigateBtn::nbFirst, TNavigateBtn::nbPrior, TNavigateBtn::nbNext,
                                          TNavigateBtn::nbLast, TNavigateBtn::nbInsert, TNavigateBtn::nbEdit,
                                          TNavigateBtn::nbPost, TNavigateBtn::nbCancel, TNavigateBtn::nbRefresh});

    bDelete = MakeButton(Panel2, "bDelete", QString(), QStringLiteral("Ellimina l'evento selezionato"), 4);

    cbCercaTitle = new QComboBox(Panel2);
    cbCercaTitle->setObjectName(QStringLiteral("cbCercaTitle"));
    cbCercaTitle->addItems({QStringLiteral("Evento"), QStringLiteral("Sede")});
    cbCercaTitle->setPlaceholderText(QStringLiteral("* Seleziona campo *"));
    cbCercaTitle->setCurrentIndex(0);
    cbCercaTitle->setToolTip(QStringLiteral("Seleziona il campo su cui cercare"));
    InstallFocusColours(cbCercaTitle);

    eCerca = new QLineEdit(Panel2);
    eCerca->setObjectName(QStringLiteral("eCerca"));
    eCerca->setPlaceholderText(QStringLiteral("Cerca..."));
    eCerca->setToolTip(QStringLiteral(
        "Inserisci testo da cercare dal campo selezionato. Cancella stringa per eliminare il filtro."));
    eCerca->installEventFilter(this);
    InstallFocusColours(eCerca);

    bAzzeraCerca = MakeButton(Panel2, "bAzzeraCerca", QString(),
                              QStringLiteral("Azzera i filtri e mostra tutti gli eventi non filtrati"), 19);

    eFiltraDataPicker = new TDatePickerEdit(Panel2);
    eFiltraDataPicker->setObjectName(QStringLiteral("eFiltraDataPicker"));
    eFiltraDataPicker->setToolTip(QStringLiteral(
        "Seleziona la data di inizio su cui applicare i filtri (precedenti, uguali o successivi)"));
    InstallFocusColours(eFiltraDataPicker);

    bDataPrima = MakeButton(Panel2, "bDataPrima", QStringLiteral("<"),
                            QStringLiteral("Visualizza eventi precedenti alla data selezionata"));
    bDataUguale = MakeButton(Panel2, "bDataUguale", QStringLiteral("="),
                             QStringLiteral("Visualizza eventi uguali alla data selezionata"));
    bDataDopo = MakeButton(Panel2, "bDataDopo", QStringLiteral(">"),
                           QStringLiteral("Visualizza eventi successivi alla data selezionata"));
    for (QPushButton *b : {bDelete, bAzzeraCerca, bDataPrima, bDataUguale, bDataDopo})
        b->setFixedWidth(28);
    cbCercaTitle->setFixedWidth(96);
    eCerca->setMinimumWidth(90);
    eFiltraDataPicker->setFixedWidth(100);

    bArchiviaEventiFiltrati = MakeButton(Panel2, "bArchiviaEventiFiltrati", QStringLiteral("Archivia"),
                                         QStringLiteral("Archivia tutti gli eventi presenti in tabella"), 30);
    bApplica = MakeButton(Panel2, "bApplica", QStringLiteral("Ricarica"),
                          QStringLiteral("Applica ora tutte le modifiche in corso anche sul database remoto"), 26);
    bGoCalendarOnline = MakeButton(Panel2, "bGoCalendarOnline", QStringLiteral("Calendario"),
                                   QStringLiteral("Pagina web con il calendario"), 27);

    // As wide as caption and picture need: the panel fits the smallest window.
    for (QPushButton *b : {bArchiviaEventiFiltrati, bApplica, bGoCalendarOnline})
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + b->iconSize().width() + 24);
    h->setSpacing(3);
    for (QWidget *w : std::initializer_list<QWidget *>{bAutoSizeDBGrid, DBNavigatorEVENTS, bDelete, cbCercaTitle, eCerca,
                                                       bAzzeraCerca, eFiltraDataPicker, bDataPrima, bDataUguale,
                                                       bDataDopo, bArchiviaEventiFiltrati, bApplica, bGoCalendarOnline})
        h->addWidget(w);
    h->setStretchFactor(eCerca, 1);

    connect(bAutoSizeDBGrid, &QPushButton::clicked, this, [this] { bAutoSizeDBGridClick(); });
    connect(DBNavigatorEVENTS, &TDBNavigator::Click, this, [this](TNavigateBtn b) { DBNavigatorEVENTSClick(b); });
    connect(bDelete, &QPushButton::clicked, this, [this] { RunGuarded([this] { bDeleteClick(); }); });
    connect(bAzzeraCerca, &QPushButton::clicked, this, [this] { bAzzeraCercaClick(); });
    connect(bDataPrima, &QPushButton::clicked, this, [this] { bDataPrimaClick(); });
    connect(bDataUguale, &QPushButton::clicked, this, [this] { bDataUgualeClick(); });
    connect(bDataDopo, &QPushButton::clicked, this, [this] { bDataDopoClick(); });
    connect(bArchiviaEventiFiltrati, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { bArchiviaEventiFiltratiClick(); }); });
    connect(bApplica, &QPushButton::clicked, this, [this] { bApplicaClick(); });
    connect(bGoCalendarOnline, &QPushButton::clicked, this, [this] { bGoCalendarOnlineClick(); });
}

void TfMain::CreateGrid()
{
    DBGridEVENTS = new TDBGrid(this);
    DBGridEVENTS->setObjectName(QStringLiteral("DBGridEVENTS"));
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(13);
    DBGridEVENTS->setFont(f);
    DBGridEVENTS->setToolTip(QStringLiteral("Doppio clic per aprire/chiudere la finestra di modifica evento"));
    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
    DBGridEVENTS->AddColumn(QStringLiteral("ID")).TitleAlignment = centre;
    DBGridEVENTS->AddColumn(QStringLiteral("TITLE"), QStringLiteral("Titolo"));
    DBGridEVENTS->AddColumn(QStringLiteral("START_EVENT"), QStringLiteral("Inizio"));
    DBGridEVENTS->AddColumn(QStringLiteral("END_EVENT"), QStringLiteral("Fine"));
    DBGridEVENTS->AddColumn(QStringLiteral("SEDE"), QStringLiteral("Sede"));
    TGridColumn &arc = DBGridEVENTS->AddColumn(QStringLiteral("ARC"), QStringLiteral("A"));
    arc.TitleAlignment = centre;
    arc.Visible = false;
    TGridColumn &color = DBGridEVENTS->AddColumn(QStringLiteral("COLOR"), QStringLiteral("Colore"));
    color.TitleAlignment = centre;
    color.Alignment = centre;

    const int titleCol = 1, sedeCol = 4, colorCol = 6;
    DBGridEVENTS->OnCellStyle = [this](TGridCellStyle &st, int row, int column) {
        if (column == titleCol || column == sedeCol) {
            const QString placeholder = column == titleCol ? dmtext::PlaceholderTitle : dmtext::PlaceholderSede;
            st.Text = rtl::ToQColor(DBGridEVENTS->CellText(row, column) == placeholder ? clFuchsia : clWindowText);
        } else if (column == colorCol) {
            st.Background = rtl::ToQColor(DisplayColorFromText(DBGridEVENTS->CellText(row, column)));
            // Readable on every background colour, selected or not.
            st.Text = rtl::ToQColor(clWindowText);
        }
    };

    connect(DBGridEVENTS, &TDBGrid::TitleClick, this, [this](int column) { DBGridEVENTSTitleClick(column); });
    connect(DBGridEVENTS, &TDBGrid::GridDblClick, this, [this] { DBGridEVENTSDblClick(); });
}

void TfMain::CreateStatusBar()
{
    QStatusBar *sb = statusBar();
    sb->setObjectName(QStringLiteral("StatusBar"));
    sb->setSizeGripEnabled(true);
    const int widths[] = {600, 100, 100, 100, 100};
    const QString texts[] = {StatusClosed, QStringLiteral("0"), QString(), QString(), QString()};
    for (int i = 0; i < 5; ++i) {
        auto *l = new QLabel(texts[i], sb);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        // The first panel gives way so that the bar fits the narrowest window.
        if (i == 0)
            l->setMinimumWidth(200);
        else
            l->setFixedWidth(widths[i]);
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        sb->addWidget(l, i == 0 ? 1 : 0);
        FStatusPanels.append(l);
    }
}

void TfMain::CreateMenu()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    Esci1 = file->addAction(QStringLiteral("Esci"));
    Esci1->setObjectName(QStringLiteral("Esci1"));
    Esci1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    SetImageIndex(Esci1, 0);
    Forzalachiusura1 = file->addAction(QStringLiteral("Forza la chiusura"));
    Forzalachiusura1->setObjectName(QStringLiteral("Forzalachiusura1"));
    Forzalachiusura1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Delete));
    SetImageIndex(Forzalachiusura1, 1);

    QMenu *help = menuBar()->addMenu(QStringLiteral("Help"));
    AprilaguidadiLirraNext1 = help->addAction(QStringLiteral("Guida online a LirraCal..."));
    AprilaguidadiLirraNext1->setObjectName(QStringLiteral("AprilaguidadiLirraNext1"));
    SetImageIndex(AprilaguidadiLirraNext1, 25);
    Dunfellhomepage1 = help->addAction(QStringLiteral("Dunfell: home page..."));
    Dunfellhomepage1->setObjectName(QStringLiteral("Dunfellhomepage1"));
    SetImageIndex(Dunfellhomepage1, 24);

    connect(Esci1, &QAction::triggered, this, [this] { Esci1Click(); });
    connect(Forzalachiusura1, &QAction::triggered, this, [this] { Forzalachiusura1Click(); });
    connect(AprilaguidadiLirraNext1, &QAction::triggered, this, [this] { AprilaguidadiLirraNext1Click(); });
    connect(Dunfellhomepage1, &QAction::triggered, this, [this] { Dunfellhomepage1Click(); });
}

QLabel *TfMain::StatusPanel(int panel) const
{
    return panel >= 0 && panel < FStatusPanels.size() ? FStatusPanels[panel] : nullptr;
}

QString TfMain::StatusText(int panel) const
{
    const QLabel *l = StatusPanel(panel);
    return l ? l->text() : QString();
}

void TfMain::SetStatusText(int panel, const QString &text)
{
    if (QLabel *l = StatusPanel(panel))
        l->setText(text);
}

// ---------------------------------------------------------------- window events

void TfMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous() || FShown)
        return;
    FShown = true;
    FormShow();
}

void TfMain::closeEvent(QCloseEvent *event)
{
    if (!FTerminating)
        FormClose();
    QMainWindow::closeEvent(event);
}

void TfMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // From the new width, so maximising and restoring leave the columns right.
    bAutoSizeDBGridClick();
}

bool TfMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == eCerca && event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent *>(event)->isAutoRepeat())
        eCercaKeyUp();
    return QMainWindow::eventFilter(watched, event);
}

void TfMain::BindDataModule()
{
    if (!dm)
        return;
    DBGridEVENTS->SetDataSet(&dm->EVENTS);
    DBNavigatorEVENTS->SetDataSet(&dm->EVENTS);
    dm->OnStatusText = [this](const QString &text) { SetStatusText(0, text); };
}

void TfMain::FormShow()
{
    BindDataModule();
    if (Settings)
        LoadFormBounds(Settings, TFormSlot::Main);
    bOpenRemotoClick();
}

void TfMain::FormClose()
{
    if (Settings)
        SaveFormBounds(Settings, TFormSlot::Main, this);
}

int TfMain::OuterWidth() const
{
    return width() + (frameGeometry().width() - geometry().width());
}

// ---------------------------------------------------------------- controls

void TfMain::DisableControls(QWidget *parent, bool flag)
{
    if (!parent)
        return;
    for (QWidget *w : parent->findChildren<QWidget *>())
        w->setEnabled(flag);
}

void TfMain::EnableControls(QWidget *parent, bool flag)
{
    DisableControls(parent, flag);
}

// ---------------------------------------------------------------- connection

bool TfMain::IsInternetAvailable()
{
    const TDatabaseConfig cfg = Tdm::ReadDatabaseConfig(Tdm::ConfigFile());
    QString host;
    quint16 port = 0;
    if (!data::ServerAddress(cfg.database, &host, &port))
        return true; // the embedded database is on this machine
    return ProbeWithoutFreezing(host, port, kProbeTimeoutMs);
}

void TfMain::bOpenRemotoClick()
{
    if (!dm)
        return;
    BindDataModule();
    if (!IsInternetAvailable()) {
        const TDatabaseConfig cfg = Tdm::ReadDatabaseConfig(Tdm::ConfigFile());
        QString host;
        quint16 port = 0;
        data::ServerAddress(cfg.database, &host, &port);
        ui::WarningBox(kServerTopic,
                       QStringLiteral("Il server del database %1 (porta %2) non risponde.\n"
                                      "Controlla la connessione di rete e che il server sia acceso, poi riprova "
                                      "con \"Apri\".")
                           .arg(host)
                           .arg(port));
        return;
    }
    const WaitCursor wait;
    try {
        dm->PrepareDatabase();
        dm->Conn.Open();
        FConnectedOnce = true;
        EnableControls(Panel1, true);
        EnableControls(Panel2, true);
        dm->EVENTS.Open(dmsql::EventsNotArchived);
        ContaEventi();
        dm->TITOLI.Open(dmsql::TitoliOrdered);
        dm->SEDI.Open(dmsql::SediOrdered);
        bAutoSizeDBGridClick();
        SetStatusText(0, StatusOpen);
    } catch (...) {
        ShowCurrentErrorMessage();
    }
}

void TfMain::CloseChildWindows()
{
    for (QWidget **w : {&fEDIT, &fSEDI, &fTITOLI, &fARC}) {
        if (QWidget *win = *w) {
            win->close();
            *w = nullptr;
        }
    }
}

void TfMain::bCloseConnClick()
{
    CloseChildWindows();
    if (!dm || !dm->Conn.Connected())
        return;
    try {
        for (TQuery *q : {&dm->EVENTS, &dm->SEDI, &dm->TITOLI, &dm->FQ})
            q->Close();
        dm->Conn.Close();
    } catch (const Exception &e) {
        ui::ShowMessage(QStringLiteral("Errore durante la disconnessione: ") + e.message());
    } catch (const std::exception &e) {
        ui::ShowMessage(QStringLiteral("Errore durante la disconnessione: ") + QString::fromLocal8Bit(e.what()));
    }
    // The connection is closed whatever the commit said.
    ShowClosed();
}

void TfMain::ShowClosed()
{
    CloseChildWindows();
    if (dm) {
        for (TQuery *q : {&dm->EVENTS, &dm->SEDI, &dm->TITOLI, &dm->FQ})
            q->Close();
    }
    SetStatusText(0, StatusClosed);
    DisableControls(Panel1, false);
    DisableControls(Panel2, false);
    bOpenRemoto->setEnabled(true);
}

void TfMain::bApplicaClick()
{
    if (!dm)
        return;
    // Never connected in this run: connecting is what "Apri" does, on the configured database.
    if (!FConnectedOnce) {
        bOpenRemotoClick();
        return;
    }
    const WaitCursor wait;
    // A reconnect that failed has taken the connection down.
    if (!RunGuarded([this] { dm->Conn.Reconnect(); }) && !dm->Conn.Connected())
        ShowClosed();
}

// ---------------------------------------------------------------- views and counting

void TfMain::ShowEventsView(const QString &sql, bool showArc)
{
    if (!dm)
        return;
    const WaitCursor wait;
    RunGuarded([&] {
        // Opening fetches the rows afresh; the filter and sort in force stay.
        dm->EVENTS.Close();
        dm->EVENTS.Open(sql);
        DBGridEVENTS->SetColumnVisible(5, showArc);
        bAutoSizeDBGridClick();
        ContaEventi();
    });
}

void TfMain::bMostraNonArchiviatiClick()
{
    ShowEventsView(dmsql::EventsNotArchived, false);
}

void TfMain::bMostraTuttiClick()
{
    ShowEventsView(dmsql::EventsAll, true);
}

void TfMain::ContaEventi()
{
    int n = 0;
    if (dm && dm->EVENTS.Active()) {
        n = dm->EVENTS.RecordCount();
        dm->EVENTS.First();
    }
    LabCount->setText(QString::number(n));
}

int TfMain::ContaEventiArc()
{
    if (!dm)
        return 0;
    dm->EVENTS.Open(dmsql::EventsArchived);
    const int n = dm->EVENTS.RecordCount();
    dm->EVENTS.First();
    if (auto *arc = qobject_cast<TfARC *>(fARC))
        arc->LabCountArc->setText(QString::number(n));
    return n;
}

void TfMain::bAutoSizeDBGridClick()
{
    const bool arc = DBGridEVENTS->Column(5).Visible;
    const int w = OuterWidth();
    for (int i = 0; i < 7; ++i) {
        int width = kFixedWidths[i];
        if (i == 1)
            width = w - (arc ? kTitleLessArc : kTitleLessNoArc);
        else if (i == 5 && !arc)
            width = 0;
        DBGridEVENTS->SetColumnWidth(i, width);
    }
}

// ---------------------------------------------------------------- search and filters

void TfMain::eCercaKeyUp()
{
    if (!dm)
        return;
    TQuery &q = dm->EVENTS;
    const QString text = eCerca->text();
    std::exception_ptr error;
    try {
        const int item = cbCercaTitle->currentIndex();
        if (item == 0 || item == 1) {
            const QString field = item == 0 ? QStringLiteral("[TITLE]=") : QStringLiteral("[SEDE]=");
            // Any mix of capitals and small letters matches.
            if (q.FilterOptions() != foCaseInsensitive)
                q.SetFilterOptions(foCaseInsensitive);
            q.SetFilter(field + Quoted(text + QLatin1Char('*')));
        }
    } catch (...) {
        error = std::current_exception();
    }
    RunGuarded([&] {
        if (!text.isEmpty()) {
            q.SetFiltered(true);
            ContaEventi();
        } else {
            q.SetFiltered(false);
            if (q.Active())
                q.First();
            ContaEventi();
            bAutoSizeDBGridClick();
        }
    });
    if (error) {
        try {
            std::rethrow_exception(error);
        } catch (...) {
            ShowCurrentException();
        }
    }
}

void TfMain::bAzzeraCercaClick()
{
    if (!dm)
        return;
    const QSignalBlocker block(eCerca);
    eCerca->clear();
    RunGuarded([this] {
        dm->EVENTS.SetFiltered(false);
        bAutoSizeDBGridClick();
        ContaEventi();
    });
}

void TfMain::ApplyDateFilter(int kind)
{
    if (!dm || !eFiltraDataPicker->CheckText())
        return;
    const QDate d = eFiltraDataPicker->Date();
    if (!d.isValid())
        return; // no date, no filter
    const QString day = QStringLiteral("{d ") + d.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" }");
    const QString next = QStringLiteral("{d ") + d.addDays(1).toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" }");
    QString filter;
    switch (kind) {
    case Before: filter = QStringLiteral("START_EVENT < ") + day; break;
    case Same: filter = QStringLiteral("START_EVENT >= ") + day + QStringLiteral(" AND START_EVENT < ") + next; break;
    default: filter = QStringLiteral("START_EVENT >= ") + next; break; // from 00:00 of the next day
    }
    RunGuarded([&] {
        TQuery &q = dm->EVENTS;
        q.SetFiltered(false);
        q.SetFilter(filter);
        q.SetFiltered(true);
        ContaEventi();
    });
}

void TfMain::bDataPrimaClick() { ApplyDateFilter(Before); }
void TfMain::bDataUgualeClick() { ApplyDateFilter(Same); }
void TfMain::bDataDopoClick() { ApplyDateFilter(After); }

void TfMain::DBGridEVENTSTitleClick(int column)
{
    DBGridEVENTS->SortByTitle(column);
}

// ---------------------------------------------------------------- other windows

namespace {

template <typename W>
void toggleWindow(QWidget *&global, QPushButton *button)
{
    if (global) {
        QWidget *w = global;
        global = nullptr;
        w->close();
        SetImageIndex(button, 20);
    } else {
        auto *w = new W;
        w->show();
        SetImageIndex(button, 21);
    }
}

} // namespace

void TfMain::bOpenFormTITOLIClick() { toggleWindow<TfTITOLI>(fTITOLI, bOpenFormTITOLI); }
void TfMain::bOpenFormSEDIClick() { toggleWindow<TfSEDI>(fSEDI, bOpenFormSEDI); }
void TfMain::bOpenFormARCClick() { toggleWindow<TfARC>(fARC, bOpenFormARC); }

// ---------------------------------------------------------------- web pages and closing

void TfMain::OpenWebPage(const QString &path)
{
    const QString url = WebSite + path;
    if (!ui::shell().OpenUrl(url))
        ui::WarningBox(kWebTopic, QStringLiteral("Nessun programma ha potuto aprire la pagina:\n%1\n"
                                                 "Controlla che sia installato un browser web.").arg(url));
}

void TfMain::bGoCalendarOnlineClick() { OpenWebPage(QStringLiteral("/calendario/index.php")); }
void TfMain::AprilaguidadiLirraNext1Click() { OpenWebPage(QStringLiteral("/docs/LirraCal_Guida.pdf")); }
void TfMain::Dunfellhomepage1Click() { OpenWebPage(QStringLiteral("/")); }

void TfMain::Esci1Click()
{
    bCloseConnClick();
    close();
}

void TfMain::Forzalachiusura1Click()
{
    if (!ui::ConfirmBox(QStringLiteral("conferma chiusura programma"), QStringLiteral("Forzare la chiusura del programma?")))
        return;
    // Ends at once: the window's closing does not run, its bounds are not saved.
    FTerminating = true;
    hide();
    QCoreApplication::exit(0);
}
