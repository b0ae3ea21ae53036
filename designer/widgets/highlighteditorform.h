#pragma once
// The conditional highlight dialog: alone, or with its two groups on the Highlight page of the
// text-object editor.
#include "designer/core/highlighteditor.h"
#include "designer/widgets/hostdialog.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class QToolButton;
class TkvlCustomDesigner;

class TkvlHighlightEditorForm : public TkvlHostDialog {
    Q_OBJECT
public:
    // Conditions are edited through the designer's expression editor.
    TkvlHighlightEditorForm(QWidget *Parent, TkvlCustomDesigner *Designer);

    void SetMemoView(TkvlCustomMemoView *Memo) { FMemo = Memo; }
    const TkvlHighlightEditor &Editor() const { return FEditor; }

    QListWidget *HighlightsLB = nullptr;
    QPushButton *AddB = nullptr, *DeleteB = nullptr, *EditB = nullptr;
    QToolButton *UpB = nullptr, *DownB = nullptr;
    QCheckBox *FrameCB = nullptr, *FillCB = nullptr, *FontCB = nullptr, *VisibleCB = nullptr;
    QPushButton *FrameB = nullptr, *FillB = nullptr, *FontB = nullptr;
    QWidget *PaintBox1 = nullptr;

protected:
    void ShowStep() override;
    void HideStep() override;

private:
    void FillList();
    void UpdateControls();
    TkvlCustomDesigner *FDesigner;
    TkvlCustomMemoView *FMemo = nullptr;
    TkvlHighlightEditor FEditor;
};

// Edits Memo's highlights in a modal dialog; true on OK (the memo then holds them).
bool kvlEditHighlights(QWidget *Owner, TkvlCustomDesigner *Designer, TkvlCustomMemoView *Memo);
