#pragma once
// The word-processing export's dialog: page range and open-after-export; its texts come from
// the string table by each control's Tag.
#include "export/dialogs/exportdialog.h"

class TkvlDOCXExport;

class TkvlDOCXExportDialog final : public TkvlExportDialog {
public:
    explicit TkvlDOCXExportDialog(QWidget *Parent = nullptr);

    void Load(TkvlDOCXExport &Filter);
    int Apply(TkvlDOCXExport &Filter);
};

// Every widget from Root down whose "Tag" property is above 0 gets the string-table text of
// that number: a window its title, a group box its title, a button or label its text.
void kvlAssignTexts(QWidget *Root);

// Start-up: the dialog becomes the word-processing filter's ShowModal.
void kvlRegisterDOCXExportDialog();
