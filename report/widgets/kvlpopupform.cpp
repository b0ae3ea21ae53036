#include "report/widgets/kvlpopupform.h"

#include "report/progress/kvlwindows.h"

#include <QCloseEvent>
#include <QTimer>

TkvlPopupForm::TkvlPopupForm(QWidget *Parent)
    : QWidget(Parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
}

void TkvlPopupForm::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) {
        kvlPopupFormClosed();
        // Not from inside the activation change itself.
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

void TkvlPopupForm::closeEvent(QCloseEvent *e)
{
    QWidget::closeEvent(e);
    if (FModalResult == 0)
        deleteLater();
}
