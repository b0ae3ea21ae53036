#pragma once
// The scroll box that holds the paper. It keeps Tab and the arrow keys for itself (no focus
// move, no scrolling) and hands every key press, typed character and release on to the
// controls inside it, in order, so that the workspace edits by keyboard while the scroll
// box has the focus.
#include <QScrollArea>

class QKeyEvent;

// A control inside the scroll box that takes its keys as the box hands them on. Setting
// the key to 0 (or the character to null) hides it from the controls after it.
class TkvlKeyTarget
{
public:
    virtual ~TkvlKeyTarget() = default;
    virtual void KeyDown(int &key, Qt::KeyboardModifiers shift) = 0;
    virtual void KeyPress(QChar &key) = 0;
    virtual void KeyUp(int &key, Qt::KeyboardModifiers shift) = 0;
};

class TkvlScrollBox : public QScrollArea
{
public:
    explicit TkvlScrollBox(QWidget *parent = nullptr);

    // The scrolled area: controls placed on it keep their positions and the scroll range
    // follows their extent.
    QWidget *Content() const { return FContent; }
    // Grows or shrinks the scrolled area to the controls' extent.
    void UpdateRange();

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void handOn(QKeyEvent *event, bool press);

    QWidget *FContent;
    bool FHandingOn = false; // a key a plain child ignored comes back up to the box
};
