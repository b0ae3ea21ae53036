#include "report/widgets/kvlformutils.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

static void mirrorChildren(QWidget *Parent)
{
    for (QObject *o : Parent->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (!w || w->isWindow())
            continue;
        QRect r = w->geometry();
        r.moveLeft(Parent->width() - r.right() - 1);
        w->setGeometry(r);
        mirrorChildren(w);
    }
}

void kvlMirrorIfRightToLeft(QWidget *Window)
{
    if (Window->layoutDirection() == Qt::RightToLeft)
        mirrorChildren(Window);
}

void kvlCenterOnScreen(QWidget *Window, const QWidget *Anchor)
{
    QScreen *screen = Anchor ? Anchor->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect r(QPoint(), Window->frameGeometry().size());
    r.moveCenter(area.center());
    r.moveLeft(qBound(area.left(), r.left(), qMax(area.left(), area.right() - r.width() + 1)));
    r.moveTop(qBound(area.top(), r.top(), qMax(area.top(), area.bottom() - r.height() + 1)));
    Window->move(r.topLeft());
}
