#pragma once
// The designer's small dialogs: the report's record sources (or, stand-alone, its named
// connection), the tab order of a dialog page, the named connections and the about box.
// Each edits a working copy and writes it back only on OK; each has one entry function.
#include <QDialog>
#include <QSize>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class TkvlComponent;
class TkvlCustomDesigner;
class TkvlDataSet;
class TkvlDialogControl;
class TkvlReport;

// ---- report data -----------------------------------------------------------------------------

class TkvlReportDataForm : public QDialog {
public:
    // Standalone: the named connections instead of the record sources.
    TkvlReportDataForm(QWidget *Parent, TkvlReport *Report, bool Standalone);
    // OK writes the ticks to the report; the size is remembered whatever the result.
    void done(int Result) override;

    QListWidget *DatasetsLB;
    QPushButton *OKB, *CancelB;

private:
    void BuildConnectionList();
    void BuildDatasetList();
    TkvlReport *FReport;
    bool FStandalone;
    std::vector<TkvlDataSet *> FSources;
};

// The dialog modally; true on OK (the designer then marks the report modified and refreshes its
// data tree).
bool kvlExecuteReportData(QWidget *Parent, TkvlReport *Report, bool Standalone);

// ---- tab order -------------------------------------------------------------------------------

class TkvlTabOrderEditorForm : public QDialog {
public:
    // Orders the children of the designer's first selected object, else of its current page.
    TkvlTabOrderEditorForm(QWidget *Parent, TkvlCustomDesigner *Designer);
    // Anything but OK puts the children and the tab chain back as they were.
    void done(int Result) override;

    QListWidget *ControlsLB;
    QPushButton *UpB, *DownB, *OkB, *CancelB;

private:
    void Move(int Delta);
    TkvlComponent *FParent = nullptr;
    std::vector<TkvlComponent *> FOldOrder;
    std::vector<TkvlDialogControl *> FControls;
};

// The controls' windows take the keyboard focus in the given order.
void kvlSetDialogTabOrder(const std::vector<TkvlDialogControl *> &Controls);

// The dialog modally; true on OK. The designer reloads its objects either way and marks the
// report modified on OK.
bool kvlExecuteTabOrder(TkvlCustomDesigner *Designer);

// ---- named connections -----------------------------------------------------------------------

class TkvlConnectionItemEdit : public QDialog {
public:
    TkvlConnectionItemEdit(QWidget *Parent, TkvlReport *Report);
    QLineEdit *NameE, *ConnE;
    QPushButton *ConnB, *OkB, *CancelB;
    QRadioButton *SystemRB, *UserRB;

private:
    TkvlReport *FReport;
};

class TkvlConnEditorForm : public QDialog {
public:
    TkvlConnEditorForm(QWidget *Parent, TkvlReport *Report);
    // OK writes both stores; a store that cannot be written is named to the user.
    void done(int Result) override;

    QTreeWidget *ConnLV;
    QPushButton *NewB, *EditB, *DeleteB, *TestB, *OKB;

protected:
    // Esc closes like Close.
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void AddItem(const QString &Name, bool User, const QString &ConnString);
    void Edit(bool New);
    TkvlReport *FReport;
};

void kvlExecuteConnections(QWidget *Parent, TkvlReport *Report);

// ---- about -----------------------------------------------------------------------------------

struct TkvlAboutAddresses {
    QString Web = QStringLiteral("https://www.korvelle.example");
    QString Sales = QStringLiteral("vendite@korvelle.example");
    QString Support = QStringLiteral("assistenza@korvelle.example");
};

class TkvlAboutForm : public QDialog {
public:
    TkvlAboutForm(QWidget *Parent, const TkvlAboutAddresses &Addresses = {});
    QLabel *WebL, *SalesL, *SupportL;
    QPushButton *Button1;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
};

void kvlExecuteAbout(QWidget *Parent, const TkvlAboutAddresses &Addresses = {});
