#pragma once
// The window "EVENTI ARCHIVIATI", opened and closed by the main window's "ARCHIVIATI" button.
// It has no query of its own: while it is open the shared events query holds the archived
// events, and closing it brings back the not-archived ones.
#include "app/widgets/childwindow.h"

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TDBGrid;

class TfARC : public TChildWindow
{
    Q_OBJECT
public:
    explicit TfARC(QWidget *parent = nullptr);

    QWidget *Panel1 = nullptr;
    QPushButton *bAutoSizeDBGrid_ARC = nullptr;
    QLineEdit *eARC = nullptr;
    QPushButton *bAnnullaArchiviazione = nullptr;
    QCheckBox *cbToggleTuttiSelArc = nullptr;
    // Number of archived events shown.
    QLabel *LabCountArc = nullptr;
    QPushButton *bEliminaEventiSelezionati = nullptr;
    TDBGrid *DBGridEVENTS_ARC = nullptr;

    // Reopens the events query on the archived events and writes their number.
    int ContaEventiArc();
    void bAutoSizeDBGrid_ARCClick();
    void cbToggleTuttiSelArcClick();
    void bAnnullaArchiviazioneClick();
    void bEliminaEventiSelezionatiClick();
    void DBGridEVENTS_ARCTitleClick(int column);

protected:
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void FormClosed() override;

private:
    void FormShow();
    // Asks, then runs action on the ID of every selected event.
    void ActOnSelection(const QString &confirmTopic, const QString &confirmText, const std::function<void(const QList<int> &)> &action);
    bool FShown = false;
};
