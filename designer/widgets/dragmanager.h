#pragma once
// Drag and drop inside the designer on ordinary mouse events: one controller for the
// program's windows feeds TkvlDragManager with the mouse moves, the release and Esc while a
// drag is armed, finds the registered place under the mouse, sets the cursor and shows the
// outline of what a drop would place.
#include "designer/core/dragmanager.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <vector>

class QRubberBand;
class QWidget;

class TkvlDragController : public QObject
{
public:
    // The controller of the program's windows (main thread).
    static TkvlDragController &Instance();

    // A widget that takes drops; reach widens the area where it is found by that many
    // pixels on each side (a site 0 pixels wide is still found beside its edge).
    void RegisterTarget(QWidget *widget, TkvlDragTarget *target, int reach = 0);
    void UnregisterTarget(QWidget *widget);

    // Arms a drag at a press (threshold: pixels to move before it begins; -1: the
    // platform's drag distance). control is what is dragged and is never its own target.
    void BeginDrag(TkvlDragSource *source, QWidget *control, QPoint screen, int threshold = -1);
    void Cancel() { FManager.Cancel(); finishIfIdle(); }
    const TkvlDragManager &Manager() const { return FManager; }

    // The outline shown while dragging (screen coordinates); an empty rectangle hides it.
    void SetDragRect(const QRect &screen);
    QRect DragRect() const { return FRect; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TkvlDragController();
    TkvlDragTarget *find(const TkvlDragObject &drag, QPoint screen, QPoint &local) const;
    void updateCursor();
    void finishIfIdle();

    struct Entry
    {
        QPointer<QWidget> widget;
        TkvlDragTarget *target;
        int reach;
    };
    std::vector<Entry> FTargets;
    TkvlDragManager FManager;
    bool FFiltering = false;
    bool FCursorSet = false;
    bool FDropPending = false; // released; the drop runs from the event loop
    QRect FRect;
    QPointer<QRubberBand> FOutline;
};
