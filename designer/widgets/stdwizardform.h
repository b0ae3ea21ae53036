#pragma once
// The standard report wizard's window: five steps over one record source of the report; Finish
// lays the report out (designer/core/stdwizard.h).
#include "designer/core/stdwizard.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;
class TkvlCustomDesigner;
class TkvlReport;
class TkvlStyleSheet;

class TkvlStdWizardForm : public QDialog {
public:
    // Loads the style sheet from ProgramFolder's "wizstyle.xml" or the built-in one (a file
    // that is not well-formed raises, and the wizard does not open).
    TkvlStdWizardForm(QWidget *Parent, TkvlCustomDesigner *Designer, TkvlReport *Report, bool DotMatrix,
                      const QString &ProgramFolder);
    ~TkvlStdWizardForm() override;

    // What showing does first: the report emptied into Data and Page1, the record sources, the
    // style sets and the samples. Closing without Finish leaves that empty report.
    void Prepare();
    // The choices as they stand.
    TkvlStdWizardChoice Choice() const;
    // Measures column widths on Finish; unset: the memos measure themselves.
    TkvlWizardMeasure Measure;

    QTabWidget *Pages;
    QWidget *StyleTab;
    QComboBox *DatasetsCB;
    QListWidget *FieldsLB, *SelectedFieldsLB, *AvailableFieldsLB, *GroupsLB, *StyleLB;
    QPushButton *AddFieldB, *AddAllFieldsB, *RemoveFieldB, *RemoveAllFieldsB, *FieldUpB, *FieldDownB;
    QPushButton *AddGroupB, *RemoveGroupB, *GroupUpB, *GroupDownB;
    QCheckBox *FitWidthCB;
    QRadioButton *PortraitRB, *LandscapeRB, *TabularRB, *ColumnarRB;
    QLabel *OrientationImg;
    QPushButton *BackB, *NextB, *FinishB;
    QWidget *LayoutPB, *StylePB;

private:
    class SampleBox;
    void FillFields();
    void ShowFieldLists(int FieldsCurrent, int SelectedCurrent);
    void ShowGroupLists(int AvailableCurrent, int GroupsCurrent);
    void PagesChanged();
    void StyleChanged();
    void LayoutChanged();
    void OrientationChanged();
    void Finish();

    TkvlCustomDesigner *FDesigner;
    TkvlReport *FReport;
    bool FDotMatrix;
    std::unique_ptr<TkvlStyleSheet> FStyleSheet;
    std::unique_ptr<TkvlReport> FStyleReport, FLayoutReport;
    TkvlStdWizardFields FFields;
    std::vector<TkvlDataSet *> FSources;
};

// Runs the wizard modally on the designer's report; true when Finish laid out a new report.
// The report is emptied when the wizard opens.
bool kvlExecuteStdWizard(TkvlCustomDesigner *Designer, bool DotMatrix);

// The folder of the running program, where "wizstyle.xml" is looked for.
QString kvlProgramFolder();
