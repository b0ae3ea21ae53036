#pragma once
// The frame dialog: edits a private frame; the caller copies it back on OK.
#include "designer/core/frameeditor.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QToolButton;
class TkvlColorComboBox;
class TkvlFrameSampleControl;
class TkvlLineStyleControl;

class TkvlFrameEditorForm : public QDialog {
    Q_OBJECT
public:
    explicit TkvlFrameEditorForm(QWidget *Parent = nullptr);

    void SetFrame(TkvlFrame *Value);
    TkvlFrame Frame;

    // A side set to State with the current line values (also what the sample's clicks do).
    void FrameLineClicked(TkvlFrameType Side, bool State);

    TkvlFrameSampleControl *SampleC = nullptr;
    TkvlLineStyleControl *LineStyleC = nullptr;
    TkvlColorComboBox *LineColorCB = nullptr, *ShadowColorCB = nullptr;
    QComboBox *LineWidthCB = nullptr, *ShadowWidthCB = nullptr;
    QToolButton *FrameAllB = nullptr, *FrameNoB = nullptr;
    QToolButton *FrameTopB = nullptr, *FrameBottomB = nullptr, *FrameLeftB = nullptr, *FrameRightB = nullptr;
    QCheckBox *ShadowCB = nullptr;

protected:
    void showEvent(QShowEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    // The current line values; false (after the conversion error was shown) on a bad width.
    bool CurrentLine(TkvlFrameLineValues &Line);
    void UpdateControls();
    QLabel *FShadowWidthL = nullptr, *FShadowColorL = nullptr;
};

// Edits Frame in a modal dialog; on OK Frame takes the result and the answer is true.
bool kvlEditFrame(QWidget *Owner, TkvlFrame *Frame);
