#pragma once
// The designer's own drag and drop inside the program, without widgets: a source arms a
// drag on a mouse press, the drag begins once the mouse has moved far enough, each place
// under the mouse answers whether it takes the drop, release drops and Esc cancels. The
// widgets feed it ordinary mouse and key events and show the cursor it asks for; docking
// tool windows, trees and tabs all use it.
#include <QPoint>
#include <functional>

class QObject;
class TkvlDragTarget;
class TkvlDragSource;

enum class TkvlDragState { Enter, Move, Leave };
enum class TkvlDragCursor { Default, Drag, NoDrop };

struct TkvlDragObject
{
    TkvlDragSource *Source = nullptr;
    QObject *Control = nullptr;  // what is dragged (a tool window, a tree node's view, ...)
    QPoint StartPos;             // where the mouse was pressed (screen)
    QPoint Pos;                  // where it is now (screen)
    QPoint Local;                // the same in the current target's coordinates
    TkvlDragTarget *Target = nullptr;
    bool Accepted = false;       // the current target takes the drop
};

// A place that may take a drop. pos is in the target's own coordinates.
class TkvlDragTarget
{
public:
    virtual ~TkvlDragTarget() = default;
    // Whether a drop here would be taken.
    virtual bool DragOver(TkvlDragObject &drag, QPoint pos, TkvlDragState state) = 0;
    virtual void DragDrop(TkvlDragObject &drag, QPoint pos) = 0;
};

class TkvlDragSource
{
public:
    virtual ~TkvlDragSource() = default;
    // Called once at the end of a drag that began: target is the place that took the drop,
    // nullptr when the drop fell on nothing (or on a refusing place), or when cancelled.
    virtual void EndDrag(TkvlDragObject &drag, TkvlDragTarget *target, bool cancelled) = 0;
    // A drop on no place (or on a refusing one) is something the source acts on itself (a
    // tool window floats).
    virtual bool DropsOnNothing() const { return false; }
    virtual TkvlDragCursor DragCursor() const { return TkvlDragCursor::Drag; }
    // After each step of the drag, once the place under the mouse has answered.
    virtual void DragMoved(TkvlDragObject &drag) { (void)drag; }
};

class TkvlDragManager
{
public:
    // The place under a screen point (excluding the dragged control) and the point in its
    // coordinates; nullptr for none.
    using Finder = std::function<TkvlDragTarget *(const TkvlDragObject &drag, QPoint screen, QPoint &local)>;

    explicit TkvlDragManager(Finder finder) : FFinder(std::move(finder)) {}

    // Arms a drag at a press; it begins when the mouse has moved threshold pixels in either
    // direction (0: at once). A drag already armed or running is cancelled first.
    void BeginDrag(TkvlDragSource *source, QObject *control, QPoint screen, int threshold);
    bool Armed() const { return FState != Idle; }
    bool Dragging() const { return FState == Dragging_; }
    const TkvlDragObject &Drag() const { return FDrag; }
    TkvlDragCursor Cursor() const;

    void MouseMove(QPoint screen);
    // Drops (or just disarms a drag that never began).
    void MouseUp(QPoint screen);
    // Esc: the current place is left and the source told; nothing is dropped.
    void Cancel();
    // A place that is going away: never called again.
    void TargetGone(TkvlDragTarget *target);

private:
    enum State { Idle, Armed_, Dragging_ };
    void track(QPoint screen);
    void finish(bool drop);

    Finder FFinder;
    State FState = Idle;
    int FThreshold = 0;
    TkvlDragObject FDrag;
};
