#pragma once
// A tool window of the designer that docks into the designer's dock sites or floats as a
// tool window of its owner. Its caption strip is what the user drags, docked or floating;
// the window's content goes into Body().
#include "designer/core/dragmanager.h"

#include <QPointer>
#include <QWidget>

class TkvlDockSite;

class TkvlDockForm : public QWidget, public TkvlDragSource
{
    Q_OBJECT
public:
    // A window of owner (the designer window), floating until it is docked.
    explicit TkvlDockForm(QWidget *owner);

    QWidget *Owner() const { return FOwner; }
    QWidget *Body() const { return FBody; }
    QWidget *Caption() const { return FCaption; }
    // The site that holds it, nullptr while it floats.
    TkvlDockSite *HostDockSite() const;
    bool Floating() const { return isWindow(); }

    // Makes it a floating tool window of its owner with that outer rectangle (screen).
    void FloatAt(const QRect &outer);
    // The size it floats with (kept while docked).
    QSize UndockSize() const { return FUndockSize; }
    void SetUndockSize(const QSize &size) { FUndockSize = size; }

    // Drag source: a drop on no place floats it where the mouse left it.
    void EndDrag(TkvlDragObject &drag, TkvlDragTarget *target, bool cancelled) override;
    bool DropsOnNothing() const override { return true; }
    TkvlDragCursor DragCursor() const override { return TkvlDragCursor::Default; }
    void DragMoved(TkvlDragObject &drag) override;

    // Where a drop at the mouse would float it (screen).
    QRect FloatRectAt(QPoint screen) const;
    // Starts a dock drag as a press on the caption does.
    void StartDockDrag(QPoint screen);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QPointer<QWidget> FOwner;
    QWidget *FCaption;
    QWidget *FBody;
    QSize FUndockSize;
    QPoint FGrab; // press point relative to the window's outer corner
};
