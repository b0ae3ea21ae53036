#pragma once
// The event editor: changes the title, site, colour, start and end of the event the main grid
// stands on, duplicates it to another day and archives or un-archives it. Opened and closed by a
// double click in the main grid; its date pickers follow the grid's row when the user moves it.
#include "app/widgets/childwindow.h"
#include "platform/data/dataset.h"

#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimeEdit;
class QToolButton;
class TColorBox;
class TDatePickerEdit;

class TfEDIT : public TChildWindow, private TDataSetObserver
{
    Q_OBJECT
public:
    explicit TfEDIT(QWidget *parent = nullptr);
    ~TfEDIT() override;

    static const QString Caption;
    // Texts of the save labels: nothing pending, and changes waiting for their button.
    static const QString Saved;
    static const QString Unsaved;

    // --- title
    QToolButton *bGetListCONS = nullptr;
    QToolButton *bGetListCONSArrow = nullptr;
    QLineEdit *eTITLE = nullptr;
    // --- start
    QLabel *labSalvaInizio = nullptr;
    TDatePickerEdit *StartDataPicker = nullptr;
    QTimeEdit *DateTimePickerInizio = nullptr;
    QComboBox *cbOraInizio = nullptr;
    QComboBox *cbMinutiInizio = nullptr;
    QPushButton *bSaveStartData = nullptr;
    // --- end
    QLabel *labSalvaFine = nullptr;
    TDatePickerEdit *EndDataPicker = nullptr;
    QTimeEdit *DateTimePickerFine = nullptr;
    QComboBox *cbOraFine = nullptr;
    QComboBox *cbMinutiFine = nullptr;
    QPushButton *bSaveEndData = nullptr;
    // --- site
    QToolButton *bGetListSEDI = nullptr;
    QToolButton *bGetListSEDIArrow = nullptr;
    QLineEdit *eSede = nullptr;
    // --- colour
    QLineEdit *eColor = nullptr;
    TColorBox *ColorBox = nullptr;
    // --- duplicate
    TDatePickerEdit *DataDaDuplicarePicker = nullptr;
    QPushButton *bIncDay[7] = {};
    QPushButton *bDuplicaEvento = nullptr;
    // --- archive
    QLineEdit *eARC = nullptr;
    QPushButton *bArchivia = nullptr;
    QPushButton *bAnnullaArchiviazione = nullptr;
    QLineEdit *ID = nullptr;

    // The list of titles or sites last popped up (owned by the editor).
    QMenu *PopupMenu = nullptr;

    // --- actions
    void bSaveStartDataClick();
    void bSaveEndDataClick();
    // Duplicate date := start date + tag days (1 to 7); any other tag copies the start date.
    void bIncDayClick(int tag);
    void bDuplicaEventoClick();
    void bArchiviaClick();
    void bAnnullaArchiviazioneClick();
    void bGetListTITOLIClick();
    void bGetListSEDIClick();
    void OnClickInserisciTITLEHandler(QAction *item);
    void OnClickInserisciSEDEHandler(QAction *item);
    void ColorBoxClick();
    // The pickers take the dates of the grid's current row; nothing is left marked unsaved.
    void FollowCurrentRow();

protected:
    void showEvent(QShowEvent *e) override;
    void FormClosed() override;

private:
    void CreateControls();
    void StartDataPickerChange();
    void EndDataPickerChange();
    // The current event's ID; false (and nothing to do) when the grid stands on no event.
    bool CurrentEvent(int &id);
    double StoredValue(const char *field) const;
    // Date and time from the pickers and lists; empty when they make no valid moment.
    std::optional<double> StartValue() const;
    std::optional<double> EndValue() const;
    void SaveSide(bool start);
    void ShowList(QToolButton *button, bool titles);
    void RefreshEvents(bool count);
    void LoadFields();

    void DataSetAfterOpen(TDataSet &) override { LoadFields(); }
    void DataSetBeforeClose(TDataSet &) override;
    void DataSetDestroying(TDataSet &) override;
    void DataSetChanged(TDataSet &) override { LoadFields(); }
    void DataSetRecordChanged(TDataSet &, int) override { LoadFields(); }
    void DataSetScrolled(TDataSet &) override { LoadFields(); }

    TDataSet *FEvents = nullptr;
    bool FShown = false;
    bool FRevertingEnd = false;
};
