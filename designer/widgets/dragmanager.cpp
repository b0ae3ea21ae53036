#include "designer/widgets/dragmanager.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QWidget>

TkvlDragController &TkvlDragController::Instance()
{
    static TkvlDragController *controller = new TkvlDragController; // lives as long as the program
    return *controller;
}

TkvlDragController::TkvlDragController()
    : FManager([this](const TkvlDragObject &drag, QPoint screen, QPoint &local) { return find(drag, screen, local); })
{
}

void TkvlDragController::RegisterTarget(QWidget *widget, TkvlDragTarget *target, int reach)
{
    UnregisterTarget(widget);
    FTargets.push_back({widget, target, reach});
}

void TkvlDragController::UnregisterTarget(QWidget *widget)
{
    for (auto it = FTargets.begin(); it != FTargets.end();) {
        if (it->widget == widget || it->widget.isNull()) {
            FManager.TargetGone(it->target);
            it = FTargets.erase(it);
        } else {
            ++it;
        }
    }
}

TkvlDragTarget *TkvlDragController::find(const TkvlDragObject &drag, QPoint screen, QPoint &local) const
{
    const auto *control = qobject_cast<const QWidget *>(drag.Control);
    const Entry *best = nullptr;
    for (const Entry &e : FTargets) {
        QWidget *w = e.widget;
        if (!w || !w->isVisible() || !w->isEnabled())
            continue;
        if (control && (w == control || control->isAncestorOf(w)))
            continue;
        const QRect area = QRect(w->mapToGlobal(QPoint(0, 0)), w->size()).adjusted(-e.reach, -e.reach, e.reach, e.reach);
        if (!area.contains(screen))
            continue;
        // A place inside another place wins.
        if (!best || best->widget->isAncestorOf(w))
            best = &e;
    }
    if (!best)
        return nullptr;
    local = best->widget->mapFromGlobal(screen);
    return best->target;
}

void TkvlDragController::BeginDrag(TkvlDragSource *source, QWidget *control, QPoint screen, int threshold)
{
    if (threshold < 0)
        threshold = QApplication::startDragDistance();
    if (!FFiltering) {
        qApp->installEventFilter(this);
        FFiltering = true;
    }
    FManager.BeginDrag(source, control, screen, threshold);
    updateCursor();
    finishIfIdle();
}

void TkvlDragController::SetDragRect(const QRect &screen)
{
    FRect = screen;
    if (screen.isEmpty()) {
        if (FOutline)
            FOutline->deleteLater(); // a window of its own: made again for the next drag
        FOutline.clear();
        return;
    }
    if (!FOutline)
        FOutline = new QRubberBand(QRubberBand::Rectangle);
    FOutline->setGeometry(screen);
    FOutline->show();
}

void TkvlDragController::updateCursor()
{
    const TkvlDragCursor c = FManager.Cursor();
    if (c == TkvlDragCursor::Default) {
        if (FCursorSet)
            QApplication::restoreOverrideCursor();
        FCursorSet = false;
        return;
    }
    const QCursor cursor(c == TkvlDragCursor::Drag ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
    if (FCursorSet)
        QApplication::changeOverrideCursor(cursor);
    else
        QApplication::setOverrideCursor(cursor);
    FCursorSet = true;
}

void TkvlDragController::finishIfIdle()
{
    if (FManager.Armed())
        return;
    updateCursor();
    SetDragRect(QRect());
    if (FFiltering) {
        qApp->removeEventFilter(this);
        FFiltering = false;
    }
}

bool TkvlDragController::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        if (FDropPending)
            return true;
        const bool dragging = FManager.Dragging();
        FManager.MouseMove(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        updateCursor();
        finishIfIdle();
        // Once the drag runs, the widgets under the mouse see nothing of it.
        return dragging || FManager.Dragging();
    }
    case QEvent::MouseButtonRelease: {
        auto *m = static_cast<QMouseEvent *>(event);
        if (FDropPending)
            return false;
        if (m->button() != Qt::LeftButton)
            return FManager.Dragging();
        const QPoint at = m->globalPosition().toPoint();
        if (!FManager.Dragging()) {
            FManager.MouseUp(at); // a click: the drag never began
            finishIfIdle();
            return false;
        }
        // The drop reparents windows, maybe the very one this release is being delivered
        // to: it happens once the release has been handled. The release goes on, so that
        // the window ends the mouse grab of the press.
        FDropPending = true;
        QMetaObject::invokeMethod(
            this,
            [this, at] {
                FDropPending = false;
                FManager.MouseUp(at);
                finishIfIdle();
            },
            Qt::QueuedConnection);
        return false;
    }
    case QEvent::KeyPress:
        if (FDropPending)
            return true;
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && FManager.Dragging()) {
            FManager.Cancel();
            finishIfIdle();
            return true;
        }
        return FManager.Dragging();
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return FManager.Dragging();
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
