#pragma once
// Options of the spreadsheet export: continuous output, page breaks, fine grid, and how the
// pages are split into worksheets.
#include "export/dialogs/exportdialog.h"

class QSpinBox;
class TkvlXLSXExport;

class TkvlXLSXExportDialog final : public TkvlExportDialog {
public:
    explicit TkvlXLSXExportDialog(QWidget *Parent = nullptr);

    void Load(TkvlXLSXExport &Filter);
    int Apply(TkvlXLSXExport &Filter);

    QCheckBox *ContinuousCB() const { return FContinuous; }
    QCheckBox *PageBreaksCB() const { return FPageBreaks; }
    QCheckBox *WCB() const { return FWysiwyg; }
    QRadioButton *RPagesRB() const { return FRPages; }
    QRadioButton *NotSplitRB() const { return FNotSplit; }
    QRadioButton *RowsCountRB() const { return FRowsCount; }
    QLineEdit *edChunk() const { return FChunk; }

private:
    QCheckBox *FContinuous, *FPageBreaks, *FWysiwyg;
    QRadioButton *FRPages, *FNotSplit, *FRowsCount;
    QLineEdit *FChunk;
};

// Start-up: the dialog becomes the spreadsheet filter's ShowModal.
void kvlRegisterXLSXExportDialog();
