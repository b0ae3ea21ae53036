#pragma once
// The control that shows the page workspace: it paints the core's picture of the page in one
// block, draws the rubber band, the insertion outline and the line cross over it, keeps the
// margins panel (the sheet behind it) in place, and hands mouse and key input to the gestures
// of its core. A designer subclass may wrap the virtual handlers with its tools.
#include "designer/core/gestures.h"
#include "designer/widgets/scrollbox.h"

#include <QCursor>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <memory>

class TInplaceMemo;
class TMarginsPanel;

// The pencil shown while a line is armed (drawn by the program).
QCursor kvlPencilCursor();

class TkvlDesignerWorkspace : public QWidget,
                              public TkvlWorkspaceView,
                              public TkvlGestureView,
                              public TkvlKeyTarget {
    Q_OBJECT
public:
    // The margins panel is made beside the workspace, with the same parent. A designer
    // subclass may hand in a core of its own kind.
    explicit TkvlDesignerWorkspace(QWidget *Parent, std::unique_ptr<TkvlGestures> Core = nullptr);
    ~TkvlDesignerWorkspace() override;

    TkvlGestures &Core() const { return *FCore; }
    // The menu a right click opens (not owned); nullptr for none.
    void SetPopupMenu(QMenu *Menu) { FPopup = Menu; }
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

    // ---- what the gestures ask of the control ----
    void SetCursorKind(TkvlCursorKind Kind) override;
    bool ScrollState(QSize &Client, QPoint &Pos) override;
    void SetScrollPos(const QPoint &Pos) override;
    bool HasPopup() const override;
    void PopupAt(int X, int Y) override;
    bool InplaceVisible() const override;
    void InplaceEdit(TkvlCustomMemoView *Memo) override;
    void InplaceDone() override;
    void FocusForPress(bool ReportPage) override;
    QPoint CursorPos() const override;

    // ---- handlers in workspace pixels; the margins panel and the scroll box call them too ----
    virtual void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    virtual void MouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    virtual void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    virtual void MouseLeave();
    void KeyDown(int &Key, Qt::KeyboardModifiers Shift) override;
    void KeyPress(QChar &Key) override;
    void KeyUp(int &Key, Qt::KeyboardModifiers Shift) override;

Q_SIGNALS:
    // The page changed (once per gesture or key).
    void Modified();
    void SelectionChanged();
    // An armed object was drawn: the core's FInsertion holds its class and bounds.
    void Inserted();
    // Left, top, width, height in page units (a scale drag: width, height, factors).
    void PositionChanged(double Left, double Top, double Width, double Height);

protected:
    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
    void leaveEvent(QEvent *Event) override;
    void moveEvent(QMoveEvent *Event) override;

private:
    TkvlScrollBox *scrollBox() const;

    std::unique_ptr<TkvlGestures> FCore;
    QPointer<QMenu> FPopup;
    QPoint FLastMouse;
    QPointer<TMarginsPanel> FMarginsPanel;  // belongs to the parent; goes with us
    TInplaceMemo *FInplaceMemo = nullptr;
};
