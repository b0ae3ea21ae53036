#pragma once
// The pattern every export dialog follows: the page range (all, current, listed pages with a
// field that takes digits, ',' and '-' only), open-after-export, OK and Cancel, F1 for help,
// and the save dialog (through the file-dialog service) after OK.
#include "export/common/exportoutput.h"
#include "report/seams/kvlseamtypes.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class TkvlCustomExportFilter;

class TkvlExportDialog : public QDialog {
public:
    explicit TkvlExportDialog(QWidget *Parent = nullptr);

    // Controls from the filter: file name proposed, page range, open-after-export.
    // OpenAfterExport is the filter's flag, switched off for a slave export.
    void Load(TkvlCustomExportFilter &Filter, bool &OpenAfterExport);
    // After OK: the page range and open-after-export into the filter, then the file through
    // the save dialog (not for a slave export). mrOk, or mrCancel when it is cancelled.
    int Apply(TkvlCustomExportFilter &Filter, bool &OpenAfterExport);
    // Load, the modal loop, Apply.
    int Run(TkvlCustomExportFilter &Filter, bool &OpenAfterExport);

    QGroupBox *GroupPageRange() const { return FGroupPageRange; }
    QRadioButton *AllRB() const { return FAll; }
    QRadioButton *CurPageRB() const { return FCurPage; }
    QRadioButton *PageNumbersRB() const { return FPageNumbers; }
    QLineEdit *PageNumbersE() const { return FPageNumbersE; }
    QLabel *DescrL() const { return FDescr; }
    QCheckBox *OpenCB() const { return FOpen; }
    QPushButton *OkB() const { return FOk; }
    QPushButton *CancelB() const { return FCancel; }
    // The name the save dialog will propose.
    const QString &SaveFileName() const { return FSaveFileName; }

protected:
    // Where a filter's own options go (between the page range and the open box).
    QVBoxLayout *OptionsLayout() const { return FOptions; }
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    QGroupBox *FGroupPageRange;
    QRadioButton *FAll, *FCurPage, *FPageNumbers;
    QLineEdit *FPageNumbersE;
    QLabel *FDescr;
    QCheckBox *FOpen;
    QPushButton *FOk, *FCancel;
    QVBoxLayout *FOptions;
    QString FSaveFileName;
    bool FOverwritePrompt = false;
};

// Makes Dialog the ShowModal of the filter class Filter: Load, the modal loop, Apply.
template <class Dialog, class Filter>
void kvlRegisterExportDialogFor()
{
    kvlSetExportDialog(Filter::StaticClass()->name(), [](TkvlCustomExportFilter &F) {
        auto &filter = static_cast<Filter &>(F);
        Dialog dialog;
        dialog.Load(filter);
        if (dialog.exec() != QDialog::Accepted)
            return int(mrCancel);
        return dialog.Apply(filter);
    });
}
