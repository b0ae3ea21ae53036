#pragma once
// The designer window's tool bars and object palette: standard, text, frame, alignment and
// extra-tools bars, the vertical palette, their actions and shortcuts. The window docks the
// bars in its control bars, connects the signals to its commands and hands every control
// state it works out to ApplyControls.
#include "designer/core/controlstate.h"

#include <QObject>
#include <QString>
#include <array>
#include <vector>

class QAction;
class QActionGroup;
class QComboBox;
class QKeyEvent;
class QToolBar;
class QToolButton;
class QWidget;
class TImageList;
class TkvlColorSelector;
class TkvlFontComboBox;
class TkvlCustomComboBox;
class TkvlLineSelector;

// Repaints button image Index of List: the image over olive (the mask colour) with a bar of
// Color along its bottom, olive made transparent again.
void kvlChangeGlyphColor(TImageList &List, int Index, TColor Color);

class TkvlDesignerToolbars : public QObject {
    Q_OBJECT
public:
    // The bars, actions and palette belong to Owner (the designer window); the actions'
    // shortcuts work anywhere in it.
    explicit TkvlDesignerToolbars(QWidget *Owner);
    ~TkvlDesignerToolbars() override;

    QToolBar *StandardTB, *TextTB, *FrameTB, *AlignTB, *ExtraTB, *ObjectsTB;
    TkvlFontComboBox *FontNameCB;
    TkvlCustomComboBox *FontSizeCB, *StyleCB, *ScaleCB, *FrameWidthCB;

    // The action of a command (menus share them); every command has one.
    QAction *Action(TkvlCommand C) const { return FActions[size_t(C)]; }
    // The tool-bar button of a command, when it has one.
    QToolButton *Button(TkvlCommand C) const;

    // The palette in its order, with its buttons.
    const std::vector<TkvlPaletteButton> &PaletteButtons() const { return FPalette; }
    QToolButton *PaletteButton(int Index) const;
    // Rebuilds the palette and the extra bar from the registries.
    void CreateObjectsToolbar();
    void CreateExtraToolbar();
    // Presses the select tool and shows the palette buttons of the page kind.
    void SwitchToolbar(TkvlPageKind Kind);
    void PressSelectTool();
    bool TextToolDown() const;

    // Enables, presses and shows every control and fills the lists; the change signals stay
    // quiet meanwhile.
    void ApplyControls(const TkvlControlState &S);
    bool UpdatingControls() const { return FUpdatingControls; }
    void SetStyles(const QStringList &Styles);

    // Shows Color in the bar of a colour button (font, fill or frame colour).
    void ChangeGlyphColor(TkvlCommand Button, TColor Color);
    // Opens the colour drop-down under a colour button; ColorChosen reports the choice.
    TkvlColorSelector *CreateColorSelector(TkvlCommand Button, TColor Initial);
    TkvlLineSelector *CreateLineSelector();

    // The window's key handling: true when the key reached a command (then signalled).
    bool FormKeyDown(QKeyEvent *Event, TkvlPageKind Kind, TkvlKeyFocus Focus);

Q_SIGNALS:
    void CommandTriggered(int Command);               // a TkvlCommand
    void TextChosen(int Command, const QString &Text);  // font name or size, style, zoom, frame width
    void ToolChosen(int Tool);                        // a TkvlPaletteTool
    void ObjectChosen(int RegistryIndex);             // a palette registry button
    void WizardChosen(int WizardIndex);
    void ColorChosen(int Command, TColor Color);
    void LineStyleChosen(int Style);
    // The workspace should handle the key as well (dialog and data pages).
    void KeyToWorkspace(QKeyEvent *Event);

private:
    void createActions(QWidget *Owner);
    void createCombos();
    void readButtonImages();
    void applyIcon(TkvlCommand C);
    void textEdited(TkvlCommand C, const QString &Text);

    std::array<QAction *, cmCount> FActions{};
    std::array<int, cmCount> FImage{};
    std::vector<TkvlPaletteButton> FPalette;
    std::vector<QAction *> FPaletteActions;
    QActionGroup *FPaletteGroup = nullptr;
    bool FUpdatingControls = false;
};
