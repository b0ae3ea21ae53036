#include "report/widgets/kvldialogpageform.h"

#include "report/widgets/kvlformutils.h"
#include "report/widgets/kvlvirtualkeys.h"
#include "platform/ui/virtualkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QResizeEvent>

TkvlDialogForm::TkvlDialogForm(bool ThreadSafe, QWidget *Parent) : QDialog(Parent), TkvlDialogWindow(ThreadSafe)
{
    setMouseTracking(true);
    SetColor(FColor);
}

TkvlDialogForm::~TkvlDialogForm() { qApp->removeEventFilter(this); }

void TkvlDialogForm::SetColor(TColor Value)
{
    FColor = Value;
    kvlSetBackground(this, Value);
}

void TkvlDialogForm::SetFont(const TFont &Value) { setFont(kvlQFont(Value)); }

void TkvlDialogForm::SetBounds(const QRect &Value)
{
    move(Value.topLeft());
    resize(Value.size() - FrameExtent());
}

void TkvlDialogForm::SetStayOnTop(bool Value)
{
    FStayOnTop = Value;
    if (!isVisible())  // changing the flags of a shown window would hide it
        setWindowFlag(Qt::WindowStaysOnTopHint, Value);
}

// Border, place and state as the page asked, just before the window shows.
void TkvlDialogForm::prepareToShow()
{
    Qt::WindowFlags f = Qt::Dialog;
    bool fixed = true;
    switch (FBorderStyle) {
    case bsNone:
        f |= Qt::FramelessWindowHint;
        break;
    case bsSingle:
        f |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
        break;
    case bsSizeable:
        f |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
        fixed = false;
        break;
    case bsDialog:
        f |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        break;
    case bsToolWindow:
    case bsSizeToolWin:
        f = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        fixed = FBorderStyle == bsToolWindow;
        break;
    }
    if (FStayOnTop)
        f |= Qt::WindowStaysOnTopHint;
    const QRect bounds = geometry();
    setWindowFlags(f | Qt::CustomizeWindowHint);
    setGeometry(bounds);
    if (fixed) {
        setFixedSize(size());
    } else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }

    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        kvlCenterOnScreen(this, nullptr);
        break;
    case poMainFormCenter:
    case poOwnerFormCenter:
        if (QWidget *owner = QApplication::activeWindow(); owner && owner != this) {
            QRect r(QPoint(), frameGeometry().size());
            r.moveCenter(owner->frameGeometry().center());
            move(r.topLeft());
        } else {
            kvlCenterOnScreen(this, nullptr);
        }
        break;
    default:  // designed, or where the window manager puts it
        break;
    }
    setWindowState(FWindowState == wsMaximized   ? Qt::WindowMaximized
                   : FWindowState == wsMinimized ? Qt::WindowMinimized
                                                 : Qt::WindowNoState);
}

void TkvlDialogForm::Show()
{
    prepareToShow();
    show();
}

TModalResult TkvlDialogForm::ShowModal()
{
    prepareToShow();
    return exec();
}

void TkvlDialogForm::SetModalResult(TModalResult Value)
{
    if (Value == mrNone)
        setResult(mrNone);
    else
        done(Value);
}

void TkvlDialogForm::done(int Result)
{
    if (CanClose())
        QDialog::done(Result == QDialog::Rejected ? mrCancel : Result);
}

void TkvlDialogForm::FocusActiveControl()
{
    if (!focusWidget())
        QDialog::focusNextPrevChild(true);
}

bool TkvlDialogForm::focusNextPrevChild(bool Next)
{
    QWidget *focused = focusWidget();
    return focused && focused != this && QDialog::focusNextPrevChild(Next);
}

// ---- notifications ----------------------------------------------------------------------

bool TkvlDialogForm::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate && OnActivate)
        OnActivate();
    else if (e->type() == QEvent::WindowDeactivate && OnDeactivate)
        OnDeactivate();
    return QDialog::event(e);
}

void TkvlDialogForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    qApp->installEventFilter(this);
    if (OnShow)
        OnShow();
}

void TkvlDialogForm::hideEvent(QHideEvent *e)
{
    QDialog::hideEvent(e);
    qApp->removeEventFilter(this);
    if (OnHide)
        OnHide();
}

// Only the user's moves and resizes (spontaneous events) modify the report.
void TkvlDialogForm::moveEvent(QMoveEvent *e)
{
    QDialog::moveEvent(e);
    if (OnMoveSize)
        OnMoveSize();
    if (e->spontaneous() && OnModify)
        OnModify();
}

void TkvlDialogForm::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    if (OnMoveSize)
        OnMoveSize();
    if (OnResize)
        OnResize();
    if (e->spontaneous() && OnModify)
        OnModify();
}

void TkvlDialogForm::mouseReleaseEvent(QMouseEvent *e)
{
    QDialog::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick)
        OnClick();
}

void TkvlDialogForm::mouseMoveEvent(QMouseEvent *e)
{
    QDialog::mouseMoveEvent(e);
    if (OnMouseMove)
        OnMouseMove();
}

// ---- keys -------------------------------------------------------------------------------

bool TkvlDialogForm::eventFilter(QObject *Watched, QEvent *e)
{
    if ((e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) && !FReplacingKey) {
        // A key goes to the focused control (or the window) first and then up to its
        // parents: the window looks at it once, on its first delivery.
        QWidget *target = focusWidget() ? focusWidget() : this;
        if (Watched == target)
            return previewKey(Watched, static_cast<QKeyEvent *>(e));
    }
    return QDialog::eventFilter(Watched, e);
}

bool TkvlDialogForm::previewKey(QObject *Receiver, QKeyEvent *e)
{
    const bool press = e->type() == QEvent::KeyPress;
    const uint16_t vk = ui::VirtualKey(e->key());
    uint16_t key = vk;
    if (vk) {
        const TShiftState shift = kvlShiftState(e->modifiers(), QApplication::mouseButtons());
        if (press && OnKeyDown)
            OnKeyDown(key, shift);
        else if (!press && OnKeyUp)
            OnKeyUp(key, shift);
        if (key == 0)
            return true;
    }
    QString text = e->text();
    if (press && text.size() == 1 && OnKeyPress) {
        QChar c = text.at(0);
        OnKeyPress(c);
        if (c.isNull())
            return true;
        text = QString(c);
    }
    if (key == vk && text == e->text())
        return false;
    // Changed: the control gets the key the script made of it.
    const int qtKey = key == vk ? e->key() : ui::QtKey(key);
    const QString newText = text != e->text() || key == vk ? text : QString();
    QKeyEvent replacement(e->type(), qtKey, e->modifiers(), newText, e->isAutoRepeat(), ushort(e->count()));
    FReplacingKey = true;
    QApplication::sendEvent(Receiver, &replacement);
    FReplacingKey = false;
    return true;
}
