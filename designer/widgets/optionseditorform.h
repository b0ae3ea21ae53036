#pragma once
// The designer's options: grid and unit, fonts, colours and workspace behaviour. Edits a copy
// of the window's options; OK checks every number first and only then hands the copy back.
#include "designer/core/optionseditor.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TkvlOptionsEditor final : public QDialog {
public:
    // Grid: the workspace's grid type; StartupVisible: the window offers a start-up screen;
    // RestoreState: the window restores its default layout and settings.
    TkvlOptionsEditor(const TkvlDesignerOptions &Options, TkvlGridType Grid, bool StartupVisible,
                      std::function<void()> RestoreState, QWidget *Owner = nullptr);

    // The options to take after OK.
    const TkvlDesignerOptions &Options() const { return FResult; }

    QRadioButton *CMRB() const { return FUnitRB[0]; }
    QRadioButton *InchesRB() const { return FUnitRB[1]; }
    QRadioButton *PixelsRB() const { return FUnitRB[2]; }
    QLineEdit *CME() const { return FGridE[0]; }
    QLineEdit *InchesE() const { return FGridE[1]; }
    QLineEdit *PixelsE() const { return FGridE[2]; }
    QLineEdit *DialogFormE() const { return FGridE[3]; }
    QCheckBox *ShowGridCB() const { return FShowGrid; }
    QCheckBox *AlignGridCB() const { return FAlignGrid; }
    QComboBox *CodeWindowFontCB() const { return FCodeFont; }
    QComboBox *CodeWindowSizeCB() const { return FCodeSize; }
    QComboBox *MemoEditorFontCB() const { return FMemoFont; }
    QComboBox *MemoEditorSizeCB() const { return FMemoSize; }
    QCheckBox *ObjectFontCB() const { return FObjectFont; }
    QPushButton *WorkspaceB() const { return FWorkspaceB; }
    QPushButton *ToolB() const { return FToolB; }
    QLabel *WorkspacePB() const { return FWorkspacePB; }
    QLabel *ToolPB() const { return FToolPB; }
    QCheckBox *LCDCB() const { return FLCD; }
    QCheckBox *EditAfterInsCB() const { return FEditAfterIns; }
    QCheckBox *BandsCaptionsCB() const { return FBandsCaptions; }
    QCheckBox *DropFieldsCB() const { return FDropFields; }
    QCheckBox *FreeBandsCB() const { return FFreeBands; }
    QCheckBox *StartupCB() const { return FStartup; }
    QLineEdit *GapE() const { return FGap; }
    QPushButton *RestoreDefaultsB() const { return FRestore; }
    QPushButton *OkB() const { return FOk; }
    QPushButton *CancelB() const { return FCancel; }

    void done(int Result) override;

protected:
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void ChooseColor(TColor &Color, QLabel *Swatch);
    static void PaintSwatch(QLabel *Swatch, TColor Color);

    TkvlDesignerOptions FBefore, FResult;
    bool FUnitsEditable;
    std::function<void()> FRestoreState;
    TColor FWColor, FTColor;

    QRadioButton *FUnitRB[3];
    QLineEdit *FGridE[4], *FGap;
    QCheckBox *FShowGrid, *FAlignGrid, *FObjectFont, *FLCD, *FEditAfterIns, *FBandsCaptions, *FDropFields,
        *FFreeBands, *FStartup;
    QComboBox *FCodeFont, *FCodeSize, *FMemoFont, *FMemoSize;
    QPushButton *FWorkspaceB, *FToolB, *FRestore, *FOk, *FCancel;
    QLabel *FWorkspacePB, *FToolPB;
};

// The designer's options command: true when OK changed Options.
bool kvlEditDesignerOptions(TkvlDesignerOptions &Options, TkvlGridType Grid, bool StartupVisible,
                            std::function<void()> RestoreState, QWidget *Owner);
