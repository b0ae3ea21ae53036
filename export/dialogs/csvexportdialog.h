#pragma once
// Options of the comma-separated text export.
#include "export/dialogs/exportdialog.h"

class TkvlCSVExport;

class TkvlCSVExportDialog final : public TkvlExportDialog {
public:
    explicit TkvlCSVExportDialog(QWidget *Parent = nullptr);

    void Load(TkvlCSVExport &Filter);
    int Apply(TkvlCSVExport &Filter);

    QGroupBox *GroupQuality() const { return FGroupQuality; }
    QCheckBox *OEMCB() const { return FOEM; }
    QLabel *SeparatorLB() const { return FSeparatorL; }
    QLineEdit *SeparatorE() const { return FSeparatorE; }

private:
    QGroupBox *FGroupQuality;
    QCheckBox *FOEM;
    QLabel *FSeparatorL;
    QLineEdit *FSeparatorE;
};

// Start-up: the export dialogs become the filters' ShowModal.
void kvlRegisterExportDialogs();
