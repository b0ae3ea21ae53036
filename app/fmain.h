#pragma once
// The main events window: the grid of the shared events query, the two tool panels, the
// status bar and the main menu. Restores its bounds when first shown and then connects.
#include <QMainWindow>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QWidget;
class TDBGrid;
class TDBNavigator;
class TDatePickerEdit;
enum class TNavigateBtn;

class TfMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfMain(QWidget *parent = nullptr);
    ~TfMain() override;

    static const QString Caption;
    static const QString StatusOpen;
    static const QString StatusClosed;
    // Where the program's web pages are.
    static const QString WebSite;

    // --- upper panel
    QWidget *Panel1 = nullptr;
    QPushButton *bOpenRemoto = nullptr;
    QPushButton *bCloseConn = nullptr;
    QPushButton *bMostraNonArchiviati = nullptr;
    QPushButton *bMostraTutti = nullptr;
    QPushButton *bOpenFormARC = nullptr;
    QPushButton *bOpenFormTITOLI = nullptr;
    QPushButton *bOpenFormSEDI = nullptr;
    QLabel *LabCount = nullptr;
    QToolButton *bStampa = nullptr;
    QToolButton *bEditReport = nullptr;
    QMenu *PopupStampa = nullptr;
    QMenu *PopupEditReport = nullptr;
    // --- lower panel
    QWidget *Panel2 = nullptr;
    QPushButton *bAutoSizeDBGrid = nullptr;
    TDBNavigator *DBNavigatorEVENTS = nullptr;
    QPushButton *bDelete = nullptr;
    QComboBox *cbCercaTitle = nullptr;
    QLineEdit *eCerca = nullptr;
    QPushButton *bAzzeraCerca = nullptr;
    TDatePickerEdit *eFiltraDataPicker = nullptr;
    QPushButton *bDataPrima = nullptr;
    QPushButton *bDataUguale = nullptr;
    QPushButton *bDataDopo = nullptr;
    QPushButton *bArchiviaEventiFiltrati = nullptr;
    QPushButton *bApplica = nullptr;
    QPushButton *bGoCalendarOnline = nullptr;
    // --- grid, status bar, menu
    TDBGrid *DBGridEVENTS = nullptr;
    QAction *Esci1 = nullptr;
    QAction *Forzalachiusura1 = nullptr;
    QAction *AprilaguidadiLirraNext1 = nullptr;
    QAction *Dunfellhomepage1 = nullptr;

    QString StatusText(int panel) const;
    void SetStatusText(int panel, const QString &text);
    QLabel *StatusPanel(int panel) const;

    // Rows of the events query as filtered, into LabCount; the cursor goes to the first row.
    void ContaEventi();
    // The archive window's count: reopens the events query on the archived events.
    int ContaEventiArc();
    // Whether the database can be reached: a server is probed on its host and port; the
    // embedded database needs no probe.
    bool IsInternetAvailable();
    // Enabled state of every control inside parent, at any depth.
    static void DisableControls(QWidget *parent, bool flag);
    static void EnableControls(QWidget *parent, bool flag);

    // --- actions
    virtual void bOpenRemotoClick();
    void bCloseConnClick();
    void bApplicaClick();
    void bMostraNonArchiviatiClick();
    void bMostraTuttiClick();
    void bAutoSizeDBGridClick();
    void eCercaKeyUp();
    void bAzzeraCercaClick();
    void bDataPrimaClick();
    void bDataUgualeClick();
    void bDataDopoClick();
    void DBGridEVENTSTitleClick(int column);
    void bOpenFormTITOLIClick();
    void bOpenFormSEDIClick();
    void bOpenFormARCClick();
    void bGoCalendarOnlineClick();
    void AprilaguidadiLirraNext1Click();
    void Dunfellhomepage1Click();
    void Esci1Click();
    void Forzalachiusura1Click();

    // Hooks of the event operations.
    void DBNavigatorEVENTSClick(TNavigateBtn button);
    void bDeleteClick();
    void bArchiviaEventiFiltratiClick();
    void DBGridEVENTSDblClick();

    // --- report menus (freports.cpp): each press lists the report folder in a new menu, shown
    // under the button and kept as the window's context menu; an item runs its road.
    static QString ReportFolder(); // AppPath + "LirraCal_Report"
    void bStampaClick();
    void bEditReportClick();
    void OnClickStampaHandler(QAction *item);
    void OnClickEditReportHandler(QAction *item);
    // The menu the last press built (the window's context menu); nullptr before the first.
    QMenu *ReportContextMenu() const { return FReportMenu; }

    static constexpr int kProbeTimeoutMs = 2000;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreatePanel1();
    void CreatePanel2();
    void CreateGrid();
    void CreateStatusBar();
    void CreateMenu();
    void BindDataModule();
    void FormShow();
    void FormClose();
    void ApplyDateFilter(int kind);
    void OpenWebPage(const QString &path);
    void ShowEventsView(const QString &sql, bool showArc);
    void CloseChildWindows();
    // The window without a connection, as "Chiudi" leaves it.
    void ShowClosed();
    int OuterWidth() const;
    QMenu *BuildReportMenu(bool print);
    void FillReportMenu(QMenu *menu, bool print);
    void RunReport(QAction *item, bool edit);
    QMenu *FReportMenu = nullptr;

    QList<QLabel *> FStatusPanels;
    bool FShown = false;
    bool FConnectedOnce = false;
    bool FTerminating = false;
};
