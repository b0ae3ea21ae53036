#pragma once
// The window a dialog page of a report runs in.
#include "report/progress/kvldialogwindow.h"

#include <QDialog>

class TkvlDialogForm final : public QDialog, public TkvlDialogWindow {
public:
    explicit TkvlDialogForm(bool ThreadSafe, QWidget *Parent = nullptr);
    ~TkvlDialogForm() override;

    void SetCaption(const QString &Value) override { setWindowTitle(Value); }
    QString Caption() const override { return windowTitle(); }
    void SetColor(TColor Value) override;
    void SetFont(const TFont &Value) override;
    void SetBounds(const QRect &Value) override;
    QRect Bounds() const override { return frameGeometry(); }
    void SetClientSize(const QSize &Value) override { resize(Value); }
    QSize ClientSize() const override { return size(); }
    void SetStayOnTop(bool Value) override;

    bool Visible() const override { return isVisible(); }
    void Show() override;
    void Hide() override { hide(); }
    TModalResult ShowModal() override;
    TModalResult ModalResult() const override { return result(); }
    void SetModalResult(TModalResult Value) override;
    void FocusActiveControl() override;

protected:
    QSize FrameExtent() const override { return frameGeometry().size() - size(); }

    // The window sees the keys of its controls before they do (scripts may change or
    // swallow them).
    bool eventFilter(QObject *Watched, QEvent *e) override;
    bool event(QEvent *e) override;
    // Tab walks the controls while one has the focus; otherwise the window keeps Tab and
    // the arrow keys, with which the designer moves controls.
    bool focusNextPrevChild(bool Next) override;
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;
    void moveEvent(QMoveEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    // Every way of closing (the window's close button, Escape, a modal result) ends here and
    // asks the page first; QDialog's close event keeps the window when it stays visible.
    void done(int Result) override;

private:
    void prepareToShow();
    bool previewKey(QObject *Receiver, QKeyEvent *e);

    bool FReplacingKey = false;
};
