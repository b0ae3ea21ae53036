#pragma once
// What the designer window's tool bars, palette and status bar show for the page and the
// selection, worked out without widgets: the window gathers a TkvlControlInput, calls
// UpdateControls and applies the returned table while its change handlers are muted.
#include "designer/core/workspaceunits.h"
#include "designer/core/settings.h"
#include "platform/rtl/color.h"
#include "report/core/kvlrect.h"
#include "report/registry/kvlregistries.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

class TkvlComponent;
class TkvlPage;
class TkvlReport;


// The kind of the page shown; pkNone is the code tab.
enum TkvlPageKind : uint8_t { pkNone, pkReport, pkDMP, pkData, pkDialog };
TkvlPageKind kvlPageKind(const TkvlPage *Page);

// Every command a tool-bar button, menu entry or window key reaches.
enum TkvlCommand : uint8_t {
    // font and text
    cmFontName, cmFontSize, cmBold, cmItalic, cmUnderline, cmFontColor, cmFont,
    cmTextLeft, cmTextCenter, cmTextRight, cmTextBlock, cmTextTop, cmTextMiddle, cmTextBottom,
    cmStyle, cmHighlight, cmRotate,
    // frame and fill
    cmFrameLeft, cmFrameRight, cmFrameTop, cmFrameBottom, cmFrameAll, cmFrameNo, cmFrameEdit,
    cmFrameColor, cmFrameStyle, cmFrameWidth, cmFillColor, cmFillEdit,
    // editing
    cmUndo, cmRedo, cmCut, cmCopy, cmPaste, cmDelete, cmSelectAll, cmSelectAllOfType, cmEdit,
    cmGroup, cmUngroup, cmBringToFront, cmSendToBack, cmSetToGrid,
    // alignment of objects
    cmAlignLeft, cmAlignHCenter, cmAlignHCenterPage, cmAlignRight, cmAlignTop, cmAlignVCenter,
    cmAlignVCenterPage, cmAlignBottom, cmSpaceH, cmSpaceV, cmSameWidth, cmSameHeight,
    // report and pages
    cmNew, cmOpen, cmSave, cmPreview, cmNewPage, cmNewDialog, cmDeletePage, cmPageSettings,
    cmRevertInherited, cmRevertInheritedChild, cmTabOrder,
    // view
    cmScale, cmShowGrid, cmGridAlign, cmHandTool, cmZoomTool, cmTextTool, cmObjectInspector,
    // script
    cmShowCode, cmRunScript, cmRunToCursor, cmToggleBreakpoint, cmStopScript, cmEvaluate, cmStep,
    cmFind, cmReplace, cmFindNext,
    cmCount
};

// The window's view of the designer when the controls are brought up to date.
struct TkvlControlInput {
    TkvlPageKind PageKind = pkNone;
    TkvlPage *Page = nullptr;  // the page shown, nullptr on the code tab
    TkvlReport *Report = nullptr;
    std::span<TkvlComponent *const> Selected;  // the window's selection (first = Selected[0])
    int ObjectCount = 0;                       // entries of the window's object list
    int PageCount = 0;                         // pages of the report, the data page included
    int UndoCount = 0, RedoCount = 0;          // snapshots in the undo and redo buffers
    bool ClipboardHasObjects = false;
    bool Modified = false;
    TkvlDesignerRestrictions Restrictions = 0;
};

// One command's state.
struct TkvlCommandState {
    bool Enabled = true;
    bool Down = false;  // pressed / ticked
    bool Visible = true;
};

struct TkvlControlState {
    std::array<TkvlCommandState, cmCount> Commands{};
    const TkvlCommandState &operator[](TkvlCommand c) const { return Commands[size_t(c)]; }
    TkvlCommandState &operator[](TkvlCommand c) { return Commands[size_t(c)]; }

    QString FontName, FontSize, FrameWidth;
    // The style list shows StyleName (empty: its first entry) when SetStyle is on, else
    // stays as it is.
    QString StyleName;
    bool SetStyle = false;
    // The font button opens the dot-matrix style menu, ticked from these bits.
    bool DMPStyleMenu = false;
    uint16_t DMPFontStyle = 0;
    // Status bar panel 2.
    QString StatusText;
};

// The table for the input. Reads the selection, changes nothing.
TkvlControlState UpdateControls(const TkvlControlInput &In);

// Status bar panel 2 for one selected object.
QString kvlSelectionStatusText(const TkvlComponent *Object);

// The 13 widths of the frame-width list, with the locale's decimal separator.
QStringList kvlFrameWidths();

// The style list: "no style" first, then the report's style names.
QStringList UpdateStyles(const TkvlReport *Report);

// The script language's editor syntax and the script file dialogs' filter.
struct TkvlSyntaxType {
    QString Syntax;
    int FilterIndex = 5;
    QString DefaultExt;
};
TkvlSyntaxType UpdateSyntaxType(const QString &ScriptLanguage);

// ---- the object palette -----------------------------------------------------------------

// The fixed tools at the head of the palette; their buttons carry kvlFixedToolTag.
enum TkvlPaletteTool : uint8_t { ptSelect, ptHand, ptZoom, ptText, ptFormat, ptBand, ptRegistry };
constexpr int kvlFixedToolTag = 1000;

struct TkvlPaletteButton {
    TkvlPaletteTool Tool = ptRegistry;
    int Tag = kvlFixedToolTag;  // the registry index for a registry button
    int ImageIndex = -1;        // into the object images (fixed tools: the main images)
    QString Hint;
    bool IsCategory = false;
    // The categories the button belongs to (fixed tools: none).
    TkvlObjectCategories Category = 0;
};

// The palette in its order: fixed tools, classes without a category name, then the
// categories some registered class names.
std::vector<TkvlPaletteButton> kvlPaletteButtons(const TkvlObjectCollection &Objects);
// Which buttons the page kind shows.
bool kvlPaletteButtonVisible(const TkvlPaletteButton &Button, TkvlPageKind Kind);

// ---- position texts ----------------------------------------------------------------------

struct TkvlPositionTexts {
    QString Coord1, Coord2, Coord3;
    // Where the rulers mark the selection, in the unit.
    double RulerLeft = 0, RulerTop = 0;
};
enum TkvlPositionMode : uint8_t {
    pmIdle,       // no mouse gesture
    pmDrawing,    // moving, sizing, inserting, drawing a line
    pmScaling,    // Width and Height are scale factors
};
// Rect holds left, top, width and height in pixels. PageSelected: the page itself is first
// selected (only the position is shown).
TkvlPositionTexts kvlPositionTexts(const TkvlRect &Rect, TkvlDesignerUnits Units, TkvlPositionMode Mode,
                                   bool PageSelected);

// The colour a colour drop-down opens with (cmFontColor, cmFrameColor or cmFillColor), from
// the first selected object when it is a view; black otherwise.
TColor kvlSelectorColor(TkvlCommand Button, const TkvlComponent *First);

// ---- window keys --------------------------------------------------------------------------

// Where the focus is when a key reaches the window.
enum TkvlKeyFocus : uint8_t { kfOther, kfInspector, kfInspectorEdit, kfFontSize, kfScale };
struct TkvlKeyResult {
    TkvlCommand Command = cmCount;  // cmCount: none
    bool ToWorkspace = false;       // also handed to the workspace's key handling
};
// What a key pressed anywhere in the window reaches. Key and Modifiers as Qt gives them.
TkvlKeyResult kvlWindowKey(int Key, Qt::KeyboardModifiers Modifiers, TkvlPageKind Kind, TkvlKeyFocus Focus);
