#pragma once
// Controls of the frame dialog: the sample whose frame lines are switched by clicking them, and
// the list of line styles.
#include "report/appearance/frame.h"

#include <QWidget>
#include <functional>

class TkvlFrameSampleControl : public QWidget {
public:
    explicit TkvlFrameSampleControl(QWidget *Parent = nullptr);

    // Shown, not owned.
    TkvlFrame *Frame() const { return FFrame; }
    void SetFrame(TkvlFrame *Value);

    // A press on a frame line: the line and whether it should now be shown (the opposite of
    // whether the frame has it).
    std::function<void(TkvlFrameType Line, bool State)> OnFrameLineClicked;

protected:
    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;

private:
    TkvlFrame *FFrame = nullptr;
};

class TkvlLineStyleControl : public QWidget {
public:
    explicit TkvlLineStyleControl(QWidget *Parent = nullptr);

    // 0 .. 5: the frame styles from solid to double.
    int Style() const { return FStyle; }
    void SetStyle(int Value);

    std::function<void(TkvlLineStyleControl *Sender)> OnStyleChanged;

protected:
    void paintEvent(QPaintEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;

private:
    int FStyle = 0;
};
