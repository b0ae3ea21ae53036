#pragma once
// Control bars: named strips at the top and bottom of the designer that hold its toolbars
// at free positions in rows; and toolbars floating in small tool windows of their owner.
#include <QWidget>
#include <memory>

class TkvlDragTarget;

class QToolBar;

class TkvlControlBar : public QWidget
{
    Q_OBJECT // found among a window's children by type
public:
    explicit TkvlControlBar(QWidget *parent = nullptr);
    ~TkvlControlBar() override;

    // Height of one row of toolbars.
    int RowSize() const { return FRowSize; }
    void SetRowSize(int value);
    // Puts a toolbar (from wherever it is) into the bar at pos.
    void Insert(QToolBar *toolbar, QPoint pos);
    // The bar is as high as its toolbars reach, in whole rows.
    void UpdateHeight();

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    int FRowSize = 27;
    std::unique_ptr<TkvlDragTarget> FTarget;
};

// Lets the user drag the toolbar by its grip (the strip before its first button) into a
// control bar of its owner or out of it, where it floats.
void kvlMakeToolbarDraggable(QToolBar *toolbar);
// Width of that grip.
constexpr int kvlToolbarGrip = 8;

// The window a toolbar belongs to, wherever it is (bar or floating).
QWidget *kvlToolbarOwner(const QToolBar *toolbar);
bool kvlToolbarFloating(const QToolBar *toolbar);
// The bar that holds the toolbar, else nullptr.
TkvlControlBar *kvlToolbarBar(const QToolBar *toolbar);
// Floats the toolbar in a tool window of its owner: the window's outer corner at the
// rectangle's corner (screen), the toolbar the rectangle's size.
void kvlFloatToolbar(QToolBar *toolbar, const QRect &outer);
// The floating window of a floating toolbar.
QWidget *kvlToolbarFloatWindow(const QToolBar *toolbar);
