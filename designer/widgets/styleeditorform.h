#pragma once
// The report's style set: add, delete, rename, what each style applies, its fill, font and
// frame, a sample, and style files. Edits a copy that OK writes into the report.
#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QListWidget;
class QPushButton;
class QToolButton;
class QWidget;
class TkvlReport;
class TkvlStyleItem;
class TkvlStyles;

// The fill and frame dialogs of the designer on a style; true when the style changed.
struct TkvlStyleDialogs {
    std::function<bool(TkvlStyleItem *Style, QWidget *Owner)> EditFill, EditFrame;
};

class TkvlStyleEditorForm final : public QDialog {
public:
    TkvlStyleEditorForm(TkvlReport *AReport, TkvlStyleDialogs Dialogs, QWidget *Owner = nullptr);
    ~TkvlStyleEditorForm() override;

    TkvlStyles *Styles() const { return FStyles.get(); }

    QToolButton *AddB() const { return FAdd; }
    QToolButton *DeleteB() const { return FDelete; }
    QToolButton *EditB() const { return FEdit; }
    QToolButton *LoadB() const { return FLoad; }
    QToolButton *SaveB() const { return FSave; }
    QToolButton *OkB() const { return FOk; }
    QToolButton *CancelB() const { return FCancel; }
    QListWidget *StylesTV() const { return FList; }
    QCheckBox *ApplyFillCB() const { return FApplyFill; }
    QCheckBox *ApplyFontCB() const { return FApplyFont; }
    QCheckBox *ApplyFrameCB() const { return FApplyFrame; }
    QPushButton *ColorB() const { return FColorB; }
    QPushButton *FontB() const { return FFontB; }
    QPushButton *FrameB() const { return FFrameB; }
    QCheckBox *DefCB() const { return FDef; }
    QWidget *PaintBox() const { return FPaintBox; }

    void done(int Result) override;

protected:
    void keyPressEvent(QKeyEvent *Event) override;

private:
    TkvlStyleItem *Selected() const;
    void UpdateStyles(int Index);
    void UpdateControls();
    void ApplyBoxes();
    void Rename();

    TkvlReport *FReport;
    TkvlStyleDialogs FDialogs;
    std::unique_ptr<TkvlStyles> FStyles;
    bool FIsLocked = false;

    QToolButton *FAdd, *FDelete, *FEdit, *FLoad, *FSave, *FCancel, *FOk;
    QListWidget *FList;
    QCheckBox *FApplyFill, *FApplyFont, *FApplyFrame, *FDef;
    QPushButton *FColorB, *FFontB, *FFrameB;
    QWidget *FPaintBox;
};

// The designer's styles command: true when OK wrote the styles into the report.
bool kvlEditStyles(TkvlReport *Report, TkvlStyleDialogs Dialogs, QWidget *Owner);
