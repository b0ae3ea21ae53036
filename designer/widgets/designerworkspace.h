#pragma once
// The control that shows the page workspace: it paints the core's picture of the page in one
// block, draws the rubber band, the insertion outline and the line cross over it, keeps the
// margins panel (the sheet behind it) in place, and hands mouse input to its handlers. The
// gestures themselves override MouseDown, MouseMove, MouseUp and MouseLeave.
#include "designer/core/workspace.h"

#include <QCursor>
#include <QPointer>
#include <QWidget>
#include <memory>

class TInplaceMemo;
class TMarginsPanel;

// The pencil shown while a line is armed (drawn by the program).
QCursor kvlPencilCursor();

class TkvlDesignerWorkspace : public QWidget, public TkvlWorkspaceView {
    Q_OBJECT
public:
    // The margins panel is made beside the workspace, with the same parent. A designer
    // subclass may hand in a core of its own kind.
    explicit TkvlDesignerWorkspace(QWidget *Parent, std::unique_ptr<TkvlWorkspace> Core = nullptr);
    ~TkvlDesignerWorkspace() override;

    TkvlWorkspace &Core() const { return *FCore; }
    TMarginsPanel *MarginsPanel() const;
    TInplaceMemo *InplaceMemo() const { return FInplaceMemo; }

    // The margins panel follows the workspace to its new parent.
    void SetParent(QWidget *AParent);
    // The sheet's top-left inside the scroll box.
    QPoint Origin() const;
    void SetOrigin(const QPoint &Value);
    // Background of the printable area; the margins panel takes it too.
    void SetColor(TColor Value);

    // ---- the core's view ----
    void Invalidate() override;
    void GeometryChanged() override;
    void BringToFront() override;
    void RefreshHover() override;

    // ---- mouse handlers in workspace pixels (the gestures override them) ----
    virtual void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    virtual void MouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    virtual void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    virtual void MouseLeave();

protected:
    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
    void leaveEvent(QEvent *Event) override;
    void moveEvent(QMoveEvent *Event) override;

private:
    std::unique_ptr<TkvlWorkspace> FCore;
    QPointer<TMarginsPanel> FMarginsPanel;  // belongs to the parent; goes with us
    TInplaceMemo *FInplaceMemo = nullptr;
};
