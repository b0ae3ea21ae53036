#pragma once
// The progress window: a borderless panel with the message, the bar and Cancel. The window that
// was active when it was made is disabled while it lives and enabled again when it hides.
#include "report/progress/kvlwindows.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

class TkvlProgressForm final : public QWidget, public TkvlProgress {
public:
    explicit TkvlProgressForm(QWidget *Parent = nullptr);
    ~TkvlProgressForm() override;

    void Hide() override { hide(); }

    QLabel *LMessage() const { return FMessage; }
    QProgressBar *Bar() const { return FBar; }
    QPushButton *CancelB() const { return FCancel; }

protected:
    void ShowWindow() override;
    void PositionChanged() override;
    void MessageChanged() override;
    void LayoutChanged() override;
    void CloseWindow() override { hide(); }

    void hideEvent(QHideEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;

private:
    void enableActiveForm();

    QPointer<QWidget> FActiveForm;
    QLabel *FMessage;
    QProgressBar *FBar;
    QPushButton *FCancel;
    QPoint FDragOffset;
};
