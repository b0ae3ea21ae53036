#pragma once
// The page workspace without widgets: the page shown at its zoom, the object and selection
// lists it shares with the designer window, grid and caption settings, the band layout, and
// the drawing of the page onto any canvas. The workspace control, the margins panel and the
// mouse and key gestures sit on top of it and keep their state here.
#include "platform/rtl/color.h"
#include "platform/rtl/exceptions.h"
#include "report/core/kvlrect.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class TCanvas;
class TkvlBand;
class TkvlComponent;
class TkvlCustomMemoView;
class TkvlPage;
class TkvlReportComponent;
namespace rtl {
class ClassInfo;
}

// A designer operation refused with a message for the user.
LIRRA_DECLARE_EXCEPTION(EDesignerError, Exception)

// The workspace's top-level mode.
enum TkvlDesignMode : uint8_t { dmSelect, dmInsert, dmDrag };
// The gesture under way. Scoped: the page's duplex mode already owns the name dmNone.
enum class TkvlDesignMode1 : uint8_t {
    dmNone, dmMove, dmSize, dmSizeBand, dmScale, dmInplaceEdit, dmSelectionRect, dmInsertObject, dmInsertLine,
    dmMoveGuide, dmContainer
};
// Grid drawing and caption strip height.
enum TkvlGridType : uint8_t { gt1pt, gt1cm, gt1in, gtDialog, gtChar, gtNone };
// The handle under the mouse of a single selected object; ct0 none.
enum TkvlCursorType : uint8_t { ct0, ct1, ct2, ct3, ct4, ct5, ct6, ct7, ct8, ct9, ct10 };

// The object class armed for insertion and its outline, in page units.
struct TkvlInsertion {
    const rtl::ClassInfo *ComponentClass = nullptr;
    double Left = 0, Top = 0, Width = 0, Height = 0, OriginalWidth = 0, OriginalHeight = 0;
    uint16_t Flags = 0;  // line classes: non-zero is a diagonal line
};

// Page margins in page units.
struct TkvlMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The lists the designer window shares with the workspace, the inspector and the clipboard:
// every object of the shown page (its descendants, then the report, then the page) and the
// selection, which never stays empty (the page stands in for "nothing").
class TkvlObjectLists {
public:
    std::vector<TkvlComponent *> Objects;
    std::vector<TkvlComponent *> Selected;

    bool IsSelected(const TkvlComponent *C) const;
    // Empties both lists and fills Objects as the window does for a shown page.
    void Load(TkvlPage *Page);
};

// What the workspace asks of the control that shows it.
class TkvlWorkspaceView {
public:
    // Paint again (the whole control).
    virtual void Invalidate() = 0;
    // The scale or the page size changed: place and size the margins panel and the workspace.
    virtual void GeometryChanged() = 0;
    // A dialog control that left its parent control lies on the page again: the workspace
    // control goes back in front of the page's controls.
    virtual void BringToFront() {}
    // Cursors and position reports are refreshed as after a mouse move with no keys at (0, 0).
    virtual void RefreshHover() {}
    // Whether the dialog control's own control accepts child controls (a panel, a group box).
    virtual bool AcceptsControls(TkvlComponent *DialogControl)
    {
        (void)DialogControl;
        return false;
    }

protected:
    ~TkvlWorkspaceView() = default;
};

class TkvlWorkspace {
public:
    TkvlWorkspace();
    virtual ~TkvlWorkspace();
    TkvlWorkspace(const TkvlWorkspace &) = delete;
    TkvlWorkspace &operator=(const TkvlWorkspace &) = delete;

    void SetView(TkvlWorkspaceView *View) { FView = View; }
    TkvlWorkspaceView *View() const { return FView; }
    // The window's lists (not owned) and the page shown (not owned).
    void SetLists(TkvlObjectLists *Lists) { FLists = Lists; }
    TkvlObjectLists *Lists() const { return FLists; }
    std::vector<TkvlComponent *> &Objects() { return FLists->Objects; }
    std::vector<TkvlComponent *> &SelectedObjects() { return FLists->Selected; }
    TkvlPage *Page() const { return FPage; }
    void SetPage(TkvlPage *Value) { FPage = Value; }

    // ---- geometry ----
    // Paper size and margins in page units; re-applies the scale and lays the bands out.
    void SetPageDimensions(int AWidth, int AHeight, const TkvlMargins &AMargins);
    double Scale() const { return FScale; }
    void SetScale(double Value);
    // Size of the sheet (the margins panel) in pixels at the current scale.
    QSize PanelSize() const;
    // The workspace (the printable area) inside the sheet, in the sheet's pixels.
    QRect WorkspaceRect() const;
    const TkvlMargins &Margins() const { return FMargins; }

    // ---- settings ----
    void SetGridType(TkvlGridType Value);
    TkvlGridType GridType() const { return FGridType; }
    void SetShowBandCaptions(bool Value);
    void SetShowGrid(bool Value);
    // Caption strip height for the grid type; 0 without captions.
    void UpdateBandHeader();

    // ---- updating ----
    void DisableUpdate();
    void EnableUpdate() { FDisableUpdate = false; }
    // Repaints and reports the selection's bounds (or an empty rectangle).
    void UpdateView();
    void Repaint();
    // Raises OnModify once when something changed since the last call.
    void DoModify();
    // Completes groups, tells the window, repaints.
    void SelectionChanged();
    // OnEdit for a single entry (the page counts).
    virtual void EditObject();

    // ---- selection ----
    // The selection's length, except that the page alone or the report alone counts 0.
    int SelectedCount() const;
    // One object: its own (Left, Top, Width, Height). Several: the union of their absolute
    // boxes as (left, top, width, height).
    TkvlRect GetSelectionBounds() const;
    // The selected object with the greatest right edge (then bottom edge); nullptr when none.
    TkvlComponent *GetRightBottomObject() const;
    static bool ListsEqual(const std::vector<TkvlComponent *> &A, const std::vector<TkvlComponent *> &B);
    // Selects C alone (the page when C is nullptr).
    void SelectOnly(TkvlComponent *C);

    // ---- editing ----
    void GroupObjects();
    void UngroupObjects();
    // Deletes the selection but objects restricted against deleting. With an inherited
    // object in the selection nothing is deleted and EDesignerError carries the message.
    virtual void DeleteObjects();

    // ---- band layout (bandlayout.cpp) ----
    // Stacks the bands (unless placed freely), attaches views to the band they lie in (or
    // releases them to the page), re-parents dialog controls, and puts the bands first in
    // the object list.
    void AdjustBands(bool AttachObjects);
    // Grows a band around its objects, moving them down when one sticks out above.
    void AdjustBandHeight(TkvlBand *ABand);
    // What painting would otherwise change: aligned objects placed, horizontal bands at
    // Left 0 (with the page's column width on multi-column pages), vertical bands at Top 0,
    // every object marked as being designed. Run before painting, so painting reads only.
    void PrepareDraw();

    // ---- drawing (workspace pixels) ----
    // Background, grid, the page's own picture and the objects; Width and Height are the
    // control's size.
    void Paint(TCanvas *Canvas, int AWidth, int AHeight);
    void DrawBackground(TCanvas *Canvas, int AWidth, int AHeight);
    virtual void DrawObjects(TCanvas *Canvas);
    void DrawObject(TCanvas *Canvas, TkvlReportComponent *C);
    void DrawSqares(TCanvas *Canvas);
    // Feedback drawn over the painted picture (XOR ones erase themselves when drawn twice).
    void DrawSelectionRect(TCanvas *Canvas) const;
    void DrawInsertionRect(TCanvas *Canvas) const;
    void DrawCross(TCanvas *Canvas, bool Full) const;
    // Handle size in pixels at the current scale: 3, 5 or 7.
    int HandleSize() const;

    // ---- events to the designer window ----
    std::function<void()> OnModify, OnEdit, OnInsert, OnSelectionChanged, OnTopLeftChanged;
    std::function<void(const TkvlRect &)> OnNotifyPosition;

    // ---- state shared with the gestures and the controls ----
    double FBandHeader = 0;
    TColor FColor = 0xFFFFFF;
    TkvlCursorType FCT = ct0;
    bool FDblClicked = false;
    bool FDisableUpdate = false;
    bool FFreeBandsPlacement = false;
    int FGapBetweenBands = 0;
    bool FGridAlign = true;
    bool FGridLCD = false;
    double FGridX, FGridY;
    TkvlCustomMemoView *FInplaceObject = nullptr;
    TkvlInsertion FInsertion;
    double FLastMousePointX = 0, FLastMousePointY = 0;
    TkvlDesignMode FMode = dmSelect;
    TkvlDesignMode1 FMode1 = TkvlDesignMode1::dmNone;
    bool FModifyFlag = false;
    bool FMouseDown = false;
    double FOffsetX = 0, FOffsetY = 0;
    TkvlRect FScaleRect, FScaleRect1;
    std::vector<uint8_t> FSavedAlign;
    TkvlRect FSelectionRect;  // rubber band, workspace pixels
    bool FShowBandCaptions = true;
    bool FShowEdges = true;
    bool FShowGrid = true;
    TkvlBand *FSizedBand = nullptr;

protected:
    // Kinds the report library registers by name (dialog controls live in a widget library).
    bool IsDialogControl(const TkvlComponent *C) const;
    bool HasScript(const TkvlComponent *C) const;

private:
    void DrawMM(TCanvas *Canvas, int AWidth, int AHeight);
    void DrawPoints(TCanvas *Canvas, int AWidth, int AHeight);
    void DrawBandCaption(TCanvas *Canvas, TkvlBand *B);
    void DrawScriptSign(TCanvas *Canvas, TkvlComponent *C);
    void DrawPoint(TCanvas *Canvas, double X, double Y, int N) const;
    int px(double v) const;

    TkvlWorkspaceView *FView = nullptr;
    TkvlObjectLists *FLists = nullptr;
    TkvlObjectLists FOwnLists;  // until the window gives its own
    TkvlPage *FPage = nullptr;
    TkvlGridType FGridType = gt1cm;
    TkvlMargins FMargins;
    int FPageWidth = 0, FPageHeight = 0;
    double FScale = 1;
    const rtl::ClassInfo *FDialogControlClass = nullptr;
};
