#pragma once
// Settings of the PDF export on four tabs: what is exported and how, the document's
// information, its passwords and permissions, and how a reader first shows it.
#include "export/dialogs/exportdialog.h"

class QSpinBox;
class QTabWidget;
class TkvlPDFExport;

class TkvlPDFExportDialog final : public TkvlExportDialog {
public:
    explicit TkvlPDFExportDialog(QWidget *Parent = nullptr);

    // Outline is first set from what the report's preview shows: the box is enabled only
    // when it is on.
    void Load(TkvlPDFExport &Filter);
    int Apply(TkvlPDFExport &Filter);

    QTabWidget *PageControl() const { return FPages; }
    QCheckBox *PDFACB() const { return FPdfA; }
    QCheckBox *EmbeddedCB() const { return FEmbedded; }
    QCheckBox *PrintOptCB() const { return FPrintOpt; }
    QCheckBox *OutlineCB() const { return FOutline; }
    QCheckBox *BackgrCB() const { return FBackgr; }
    QCheckBox *TransparentCB() const { return FTransparent; }
    QSpinBox *Quality() const { return FQuality; }
    QLineEdit *TitleE() const { return FInfo[0]; }
    QLineEdit *AuthorE() const { return FInfo[1]; }
    QLineEdit *SubjectE() const { return FInfo[2]; }
    QLineEdit *KeywordsE() const { return FInfo[3]; }
    QLineEdit *CreatorE() const { return FInfo[4]; }
    QLineEdit *ProducerE() const { return FInfo[5]; }
    QLineEdit *OwnPassE() const { return FOwnPass; }
    QLineEdit *UserPassE() const { return FUserPass; }
    QCheckBox *PrintCB() const { return FPerm[0]; }
    QCheckBox *ModCB() const { return FPerm[1]; }
    QCheckBox *CopyCB() const { return FPerm[2]; }
    QCheckBox *AnnotCB() const { return FPerm[3]; }
    QCheckBox *HideToolbarCB() const { return FViewer[0]; }
    QCheckBox *HideMenubarCB() const { return FViewer[1]; }
    QCheckBox *HideWindowUICB() const { return FViewer[2]; }
    QCheckBox *FitWindowCB() const { return FViewer[3]; }
    QCheckBox *CenterWindowCB() const { return FViewer[4]; }
    QCheckBox *PrintScalingCB() const { return FViewer[5]; }

private:
    QTabWidget *FPages;
    QCheckBox *FPdfA, *FEmbedded, *FPrintOpt, *FOutline, *FBackgr, *FTransparent;
    QSpinBox *FQuality;
    QLineEdit *FInfo[6];
    QLineEdit *FOwnPass, *FUserPass;
    QCheckBox *FPerm[4];
    QCheckBox *FViewer[6];
};

// Start-up: the dialog becomes the PDF filter's ShowModal.
void kvlRegisterPDFExportDialog();
