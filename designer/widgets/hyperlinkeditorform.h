#pragma once
// The hyperlink dialog: what a click on the printed object does in the preview. Writes into
// the view only on OK.
#include "designer/core/hyperlinkeditor.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TkvlComboEdit;
class TkvlCustomDesigner;

class TkvlHyperlinkEditorForm : public QDialog {
    Q_OBJECT
public:
    TkvlHyperlinkEditorForm(QWidget *Parent, TkvlCustomDesigner *Designer);

    TkvlView *View = nullptr;

    void done(int Result) override;

    // One of each per kind, in TkvlHyperlinkKind order.
    QRadioButton *KindRB[6] = {};
    QWidget *KindP[6] = {};
    QLineEdit *ValueE[6] = {};
    TkvlComboEdit *ExprE[6] = {};
    TkvlComboEdit *ReportNameE = nullptr;
    QComboBox *ReportParamCB = nullptr, *ReportPageCB = nullptr, *ReportPageParamCB = nullptr;
    QLabel *Hint2L = nullptr;
    QCheckBox *ModifyAppearanceCB = nullptr;

protected:
    void showEvent(QShowEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    TkvlHyperlinkKind Kind() const;
    void ArrangePanels();
    TkvlCustomDesigner *FDesigner;
};

// Edits View's hyperlink; true on OK.
bool kvlEditHyperlink(QWidget *Owner, TkvlCustomDesigner *Designer, TkvlView *View);
