#pragma once
// The fill dialog: a private fill of each kind on a page of its own; the result is the fill of
// the page active on OK.
#include "designer/core/filleditor.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;
class TkvlColorComboBox;

class TkvlFillEditorForm : public QDialog {
    Q_OBJECT
public:
    explicit TkvlFillEditorForm(QWidget *Parent = nullptr);

    void SetFill(const TkvlCustomFill *Fill);
    // The private fill of the active page.
    TkvlCustomFill *Fill();
    // Only the brush kind is offered.
    void SetIsSimpleFill(bool Value);

    // A blend that is no number keeps the dialog open.
    void done(int Result) override;

    QTabWidget *PageControl = nullptr;
    QComboBox *BrushStyleCB = nullptr, *GradientStyleCB = nullptr, *GlassOrientationCB = nullptr;
    TkvlColorComboBox *BrushBackColorCB = nullptr, *BrushForeColorCB = nullptr;
    TkvlColorComboBox *GradientStartColorCB = nullptr, *GradientEndColorCB = nullptr, *GlassColorCB = nullptr;
    QLineEdit *GlassBlendE = nullptr;
    QCheckBox *GlassHatchCB = nullptr;
    QWidget *PaintBox1 = nullptr;

protected:
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void UpdateControls();
    bool ReadBlend();
    TkvlFillEditor FEditor;
    QString FBadBlend;
};

// Edits a fill in a modal dialog. On OK the answer is a new fill of the chosen kind (the
// caller owns it); nullptr on Cancel.
TkvlCustomFill *kvlEditFill(QWidget *Owner, const TkvlCustomFill *Fill, bool IsSimpleFill = false);
