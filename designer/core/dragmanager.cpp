#include "designer/core/dragmanager.h"

#include <cstdlib>

void TkvlDragManager::BeginDrag(TkvlDragSource *source, QObject *control, QPoint screen, int threshold)
{
    if (FState != Idle)
        Cancel();
    FDrag = TkvlDragObject();
    FDrag.Source = source;
    FDrag.Control = control;
    FDrag.StartPos = FDrag.Pos = screen;
    FThreshold = threshold;
    FState = Armed_;
    if (threshold <= 0) {
        FState = Dragging_;
        track(screen);
    }
}

TkvlDragCursor TkvlDragManager::Cursor() const
{
    if (FState != Dragging_)
        return TkvlDragCursor::Default;
    // A source that acts on a drop nowhere takes refused places as nowhere.
    if (FDrag.Accepted || FDrag.Source->DropsOnNothing())
        return FDrag.Source->DragCursor();
    return TkvlDragCursor::NoDrop;
}

void TkvlDragManager::MouseMove(QPoint screen)
{
    if (FState == Armed_) {
        const QPoint d = screen - FDrag.StartPos;
        if (std::abs(d.x()) < FThreshold && std::abs(d.y()) < FThreshold)
            return;
        FState = Dragging_;
    }
    if (FState == Dragging_)
        track(screen);
}

void TkvlDragManager::track(QPoint screen)
{
    FDrag.Pos = screen;
    QPoint local;
    TkvlDragTarget *target = FFinder ? FFinder(FDrag, screen, local) : nullptr;
    if (target != FDrag.Target && FDrag.Target) {
        TkvlDragTarget *old = FDrag.Target;
        FDrag.Target = nullptr;
        FDrag.Accepted = false;
        old->DragOver(FDrag, FDrag.Local, TkvlDragState::Leave);
    }
    const bool entering = target && target != FDrag.Target;
    FDrag.Target = target;
    FDrag.Local = local;
    FDrag.Accepted = target && target->DragOver(FDrag, local, entering ? TkvlDragState::Enter : TkvlDragState::Move);
    FDrag.Source->DragMoved(FDrag);
}

void TkvlDragManager::MouseUp(QPoint screen)
{
    if (FState == Armed_) {
        FState = Idle;
        FDrag = TkvlDragObject();
        return;
    }
    if (FState != Dragging_)
        return;
    track(screen);
    finish(true);
}

void TkvlDragManager::Cancel()
{
    if (FState == Armed_) {
        FState = Idle;
        FDrag = TkvlDragObject();
        return;
    }
    if (FState == Dragging_)
        finish(false);
}

void TkvlDragManager::finish(bool drop)
{
    // The state is reset before any handler runs, so a handler may start a new drag.
    TkvlDragObject drag = FDrag;
    FState = Idle;
    FDrag = TkvlDragObject();
    TkvlDragTarget *target = drag.Target;
    TkvlDragTarget *taker = nullptr;
    if (target) {
        if (drop && drag.Accepted) {
            target->DragDrop(drag, drag.Local);
            taker = target;
        } else {
            drag.Accepted = false;
            target->DragOver(drag, drag.Local, TkvlDragState::Leave);
        }
    }
    drag.Source->EndDrag(drag, taker, !drop);
}

void TkvlDragManager::TargetGone(TkvlDragTarget *target)
{
    if (FDrag.Target == target) {
        FDrag.Target = nullptr;
        FDrag.Accepted = false;
    }
}
