#pragma once
// The window a dialog page of a report runs in.
#include "report/progress/kvlwindows.h"

#include <QDialog>

class TkvlDialogForm final : public QDialog, public TkvlDialogWindow {
public:
    explicit TkvlDialogForm(bool ThreadSafe, QWidget *Parent = nullptr);

    void SetCaption(const QString &Caption) override { setWindowTitle(Caption); }
    void SetBounds(const QRect &Bounds) override { setGeometry(Bounds); }
    QRect Bounds() const override { return geometry(); }
    void Show() override { show(); }
    void Hide() override { hide(); }
    int ShowModal() override;

protected:
    // The designer moves controls with the arrow keys and walks them with Tab: the window
    // does not give those keys to focus navigation.
    bool focusNextPrevChild(bool) override { return false; }
    void moveEvent(QMoveEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    // Every way of closing (the window's close button, Escape, a modal result) ends here and
    // asks the page first; QDialog's close event keeps the window when it stays visible.
    void done(int Result) override;
};
