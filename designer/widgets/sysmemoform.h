#pragma once
// The system-text and aggregate dialog: its only result is Text.
#include "designer/core/sysmemo.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TkvlComboEdit;
class TkvlCustomDesigner;

class TkvlSysMemoEditorForm : public QDialog {
    Q_OBJECT
public:
    TkvlSysMemoEditorForm(QWidget *Parent, TkvlCustomDesigner *Designer, bool AggregateOnly = false);

    // In: the object's text; out (after OK): the produced text.
    QString Text;

    void done(int Result) override;

    QRadioButton *SysVariableRB = nullptr, *AggregateRB = nullptr, *TextRB = nullptr;
    QComboBox *SysVariableCB = nullptr, *FunctionCB = nullptr, *DataBandCB = nullptr, *DataSetCB = nullptr,
              *DataFieldCB = nullptr;
    TkvlComboEdit *ExpressionE = nullptr;
    QCheckBox *CountInvisibleCB = nullptr, *RunningTotalCB = nullptr;
    QLabel *SampleL = nullptr;
    QLineEdit *TextE = nullptr;

protected:
    void showEvent(QShowEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    TkvlAggregateChoice Choice() const;
    void UpdateSample();
    void FillFields();
    TkvlCustomDesigner *FDesigner;
    bool FAggregateOnly;
    QWidget *FAggregatePanel = nullptr;
    QGroupBox *FGroupBox1 = nullptr, *FGroupBox2 = nullptr;
};

// The text of a system text object edited in the dialog: true on OK with Text replaced.
bool kvlEditSysMemo(QWidget *Owner, TkvlCustomDesigner *Designer, QString &Text);
// An aggregate chosen in the dialog, enclosed in "[" and "]"; empty on Cancel.
QString kvlInsertAggregate(QWidget *Owner, TkvlCustomDesigner *Designer);
