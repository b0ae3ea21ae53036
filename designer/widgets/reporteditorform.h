#pragma once
// The report's options: printer and copies, two engine options, the password, the base report
// it inherits from and its description. The controls are the working copy: OK checks the
// numbers first and only then writes the report.
#include "designer/core/reporteditor.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TkvlCustomDesigner;
class TkvlReport;
class TPicture;

class TkvlReportEditorForm final : public QDialog {
public:
    // Designer locks and reloads around a change of the base report (may be null); Templates
    // is the designer's template folder, which a folder chosen here replaces at once.
    TkvlReportEditorForm(TkvlReport *AReport, TkvlCustomDesigner *Designer, TkvlTemplateFolder &Templates,
                         QWidget *Owner = nullptr);
    ~TkvlReportEditorForm() override;

    QTabWidget *Tabs() const { return FTabs; }
    QListWidget *PrintersLB() const { return FPrinters; }
    QLineEdit *CopiesE() const { return FCopies; }
    QCheckBox *CollateCB() const { return FCollate; }
    QCheckBox *DoublePassCB() const { return FDoublePass; }
    QCheckBox *PrintIfEmptyCB() const { return FPrintIfEmpty; }
    QLineEdit *PasswordE() const { return FPassword; }
    QLabel *InheritStateL() const { return FInheritState; }
    QRadioButton *DontChangeRB() const { return FDontChange; }
    QRadioButton *DetachRB() const { return FDetach; }
    QRadioButton *InheritRB() const { return FInherit; }
    QListWidget *InheritLV() const { return FTemplates; }
    QLineEdit *PathE() const { return FPath; }
    QPushButton *BrowseB() const { return FBrowse; }
    QLineEdit *NameE() const { return FName; }
    QLineEdit *AuthorE() const { return FAuthor; }
    QPlainTextEdit *DescriptionE() const { return FDescription; }
    QLabel *PictureImg() const { return FPictureImg; }
    QPushButton *PictureB() const { return FPictureB; }
    QLineEdit *MajorE() const { return FVersion[0]; }
    QLineEdit *MinorE() const { return FVersion[1]; }
    QLineEdit *ReleaseE() const { return FVersion[2]; }
    QLineEdit *BuildE() const { return FVersion[3]; }
    QPushButton *OkB() const { return FOk; }
    QPushButton *CancelB() const { return FCancel; }

    void done(int Result) override;

protected:
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void FillTemplateList();
    void ShowPicture();

    TkvlReport *FReport;
    TkvlCustomDesigner *FDesigner;
    TkvlTemplateFolder &FFolder;
    QStringList FTemplateFiles;
    QStringList FPrinterNames;
    std::unique_ptr<TPicture> FPicture;
    bool FHiddenPassword;

    QTabWidget *FTabs;
    QListWidget *FPrinters, *FTemplates;
    QLineEdit *FCopies, *FPassword, *FPath, *FName, *FAuthor, *FVersion[4];
    QCheckBox *FCollate, *FDoublePass, *FPrintIfEmpty;
    QLabel *FInheritState, *FPictureImg, *FCreated, *FModified;
    QRadioButton *FDontChange, *FDetach, *FInherit;
    QPushButton *FBrowse, *FPictureB, *FOk, *FCancel;
    QPlainTextEdit *FDescription;
};

// The report options command: true when OK wrote the report.
bool kvlEditReportOptions(TkvlReport *Report, TkvlCustomDesigner *Designer, TkvlTemplateFolder &Templates,
                          QWidget *Owner);
