#pragma once
// The dialog shown before prepared pages are printed: printer, pages, copies, order, duplex,
// print mode and sheet. Accepted, it writes the report's print options and makes its printer
// the current one; cancelled, it puts the previous printer back.
#include "report/options/kvloptions.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TkvlCustomPrinter;
class TkvlReport;

class TkvlPrintDialog final : public QDialog {
public:
    TkvlPrintDialog(TkvlReport *AReport, TkvlDuplexMode ADuplexMode, QWidget *Parent = nullptr);

    // The duplex mode chosen (the caller's until the dialog or the printer's properties change it).
    TkvlDuplexMode ADuplexMode() const { return FDuplexMode; }

    QComboBox *PrintersCB() const { return FPrinters; }
    QPushButton *PropButton() const { return FProp; }
    QLabel *WhereL1() const { return FWhere; }
    QCheckBox *FileCB() const { return FFile; }
    QRadioButton *AllRB() const { return FAll; }
    QRadioButton *CurPageRB() const { return FCurPage; }
    QRadioButton *PageNumbersRB() const { return FPageNumbersRB; }
    QLineEdit *PageNumbersE() const { return FPageNumbers; }
    QSpinBox *CopiesE() const { return FCopies; }
    QCheckBox *CollateCB() const { return FCollate; }
    QComboBox *PrintPagesCB() const { return FPrintPages; }
    QComboBox *OrderCB() const { return FOrder; }
    QComboBox *DuplexCB() const { return FDuplex; }
    QComboBox *PrintModeCB() const { return FPrintMode; }
    QComboBox *PagPageSizeCB() const { return FSheets; }
    QLabel *CopiesPB() const { return FCopiesPicture; }
    QPushButton *OkB() const { return FOk; }
    QPushButton *CancelB() const { return FCancel; }

    void done(int Result) override;

protected:
    void showEvent(QShowEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void PrinterChosen();
    void PrintModeChosen();
    void PropertiesClicked();
    void DrawCopies();
    void FillSheets(TkvlCustomPrinter *Printer);
    void SelectSheet(int PaperNumber);
    void FormShow();
    void WriteOptions();

    TkvlReport *FReport;
    TkvlDuplexMode FDuplexMode;
    int FOldIndex;
    bool FShown = false;
    QList<int> FSheetNumbers;  // paper number of each sheet entry; -1 for "Default"

    QComboBox *FPrinters;
    QPushButton *FProp;
    QLabel *FWhere;
    QCheckBox *FFile;
    QRadioButton *FAll, *FCurPage, *FPageNumbersRB;
    QLineEdit *FPageNumbers;
    QSpinBox *FCopies;
    QCheckBox *FCollate;
    QLabel *FCopiesPicture;
    QComboBox *FPrintPages, *FOrder, *FDuplex, *FPrintMode, *FSheets;
    QPushButton *FOk, *FCancel;
};

// Start-up: printing asks with this dialog.
void kvlRegisterPrintDialog();
