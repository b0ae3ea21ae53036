#pragma once
// Mouse and keyboard editing of the page workspace, without widgets: the control hands in
// buttons, modifiers and its own pixels, and this core selects, moves, sizes, scales, draws
// armed objects and acts on keys. What needs the control (cursor, scrolling, pop-up menu,
// in-place editor, focus) goes through TkvlGestureView.
#include "designer/core/workspace.h"

#include <QPoint>
#include <QSize>

class TkvlBand;

// The cursor the control shows; it maps each kind to a picture.
enum class TkvlCursorKind : uint8_t {
    Default, SizeNWSE, SizeNESW, SizeWE, SizeNS, Cross, SplitV, SplitH, CrossHair, IBeam, Pencil, Hand
};

// What the gestures ask of the control beyond painting.
class TkvlGestureView {
public:
    virtual void SetCursorKind(TkvlCursorKind Kind) = 0;
    // The scrolling parent's client size and scroll position, both relative to the sheet's
    // top-left; false when the control does not scroll.
    virtual bool ScrollState(QSize &Client, QPoint &Pos)
    {
        (void)Client;
        (void)Pos;
        return false;
    }
    virtual void SetScrollPos(const QPoint &Pos) { (void)Pos; }
    // A pop-up menu is assigned; PopupAt opens it without waiting.
    virtual bool HasPopup() const { return false; }
    virtual void PopupAt(int X, int Y)
    {
        (void)X;
        (void)Y;
    }
    virtual bool InplaceVisible() const { return false; }
    virtual void InplaceEdit(TkvlCustomMemoView *Memo) { (void)Memo; }
    virtual void InplaceDone() {}
    // A press takes the focus: the scroll box on a report page, nothing on other pages.
    virtual void FocusForPress(bool ReportPage) { (void)ReportPage; }
    // The mouse position in workspace pixels.
    virtual QPoint CursorPos() const { return {}; }

protected:
    ~TkvlGestureView() = default;
};

// Containers get the mouse with no workspace object (their calls take a report object, which
// the workspace is not) and the control's pixels.
class TkvlGestures : public TkvlWorkspace {
public:
    void SetGestureView(TkvlGestureView *Value) { FGView = Value; }

    // ---- mouse, in workspace pixels ----
    void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void MouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void MouseLeave();
    // ---- keys (Qt key codes) ----
    void KeyDown(int Key, Qt::KeyboardModifiers Shift);
    void KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void DoNudge(double X, double Y, bool Smooth);
    void DoSize(double X, double Y);
    void DoStick(int X, int Y);
    void FindNearest(int X, int Y);
    void DoTab();

    // Arms a class for drawing (nullptr disarms); AFlag non-zero draws a diagonal line.
    virtual void SetInsertion(const rtl::ClassInfo *AClass, double AWidth, double AHeight, uint16_t AFlag);

    // Lays aligned objects out when a drag step asked for a paint (the control calls it
    // before painting).
    void PrepareIfDue();

    TkvlCursorKind Cursor() const { return FCursor; }
    void SetCursor(TkvlCursorKind Kind);

    // ---- hit tests (page units unless said) ----
    // The handle of a single selected object under the control pixel (X, Y), mapped for lines.
    TkvlCursorType HandleAt(const TkvlComponent *C, int X, int Y) const;
    static TkvlCursorType MapLineHandle(const TkvlComponent *C, TkvlCursorType Ct);
    // The handle after a size drag made the width and/or height negative.
    static TkvlCursorType FlipHandle(TkvlCursorType Ct, bool NegWidth, bool NegHeight);
    // Click hit test and hover hit test at the page point (x, y).
    bool Contain(const TkvlComponent *C, double x, double y) const;
    static bool Contain2(const TkvlComponent *C, double x, double y);
    // The band whose resizing edge is under the control pixel; nullptr when none.
    TkvlBand *BandEdgeAt(int X, int Y) const;
    static TkvlCursorKind CTtoCursor(TkvlCursorType Ct);

    // The step gate: snapping (inverted by Alt), then the guides. False refuses the step.
    bool CheckMove(double &dx, double &dy, bool Alt);
    static double Round8(double v);

protected:
    // Guides may bend or refuse a step; nothing here.
    virtual void CheckGuides(double &dx, double &dy, bool &Refused)
    {
        (void)dx;
        (void)dy;
        (void)Refused;
    }

private:
    void hover(Qt::KeyboardModifiers Shift, int X, int Y, bool &Reported);
    bool drag(Qt::KeyboardModifiers Shift, int X, int Y, bool &Reported);
    void dragSize(double dx, double dy);
    void dragScale(double dx, double dy);
    void autoScroll(int X, int Y);
    void invalidate();
    void finishInsertion();
    void selectInRect();
    bool touches(const TkvlComponent *C, const TkvlRect &R) const;
    TkvlComponent *pressHit(double x, double y) const;
    void startRubberBand(int X, int Y);
    void notify(double L, double T, double W, double H);
    void notifySelection();
    void parkInsertion();
    TkvlDesignMode1 armedMode1() const;
    // FindNearest and DoStick: the neighbour in a direction; strip hits only when StripOnly.
    TkvlComponent *neighbour(int X, int Y, bool StripOnly) const;

    TkvlGestureView *FGView = nullptr;
    TkvlCursorKind FCursor = TkvlCursorKind::Default;
    bool FPrepareDue = false;
    std::vector<uint8_t> FMoveTop;  // per moved object: whether it follows vertical steps
};
