#include "designer/widgets/dockbar.h"

#include "platform/ui/windowbounds.h"

#include <QChildEvent>
#include <QEvent>
#include <QPointer>
#include <QToolBar>

namespace {

// The tool window a floating toolbar sits in: one per toolbar, closed with it.
class FloatWindow final : public QWidget
{
public:
    // No layout: a horizontal toolbar would be held to its own height, and the stored
    // size is what it floats with.
    FloatWindow(QWidget *owner, QToolBar *toolbar) : QWidget(owner, Qt::Tool), FToolbar(toolbar)
    {
        toolbar->setParent(this);
        toolbar->move(0, 0);
        setWindowTitle(toolbar->windowTitle());
    }
    QToolBar *Toolbar() const { return FToolbar; }

protected:
    bool event(QEvent *e) override
    {
        // The toolbar has left: the window has nothing to show any more.
        if (e->type() == QEvent::ChildRemoved && static_cast<QChildEvent *>(e)->child() == FToolbar.data())
            deleteLater();
        return QWidget::event(e);
    }

private:
    QPointer<QToolBar> FToolbar;
};

FloatWindow *floatWindowOf(const QToolBar *toolbar) { return dynamic_cast<FloatWindow *>(toolbar->parentWidget()); }

} // namespace

TkvlControlBar::TkvlControlBar(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFixedHeight(0);
}

void TkvlControlBar::SetRowSize(int value)
{
    FRowSize = std::max(1, value);
    UpdateHeight();
}

void TkvlControlBar::Insert(QToolBar *toolbar, QPoint pos)
{
    QWidget *old = toolbar->parentWidget();
    toolbar->setParent(this);
    toolbar->move(std::max(0, pos.x()), std::max(0, pos.y()));
    toolbar->show();
    if (old && old != this && dynamic_cast<FloatWindow *>(old))
        old->deleteLater();
    UpdateHeight();
}

void TkvlControlBar::UpdateHeight()
{
    int bottom = 0;
    for (QObject *o : children())
        if (auto *w = qobject_cast<QWidget *>(o); w && !w->isHidden())
            bottom = std::max(bottom, w->geometry().bottom() + 1);
    const int rows = (bottom + FRowSize - 1) / FRowSize;
    setFixedHeight(rows * FRowSize);
}

bool TkvlControlBar::event(QEvent *e)
{
    if (e->type() == QEvent::ChildAdded) {
        if (QObject *c = static_cast<QChildEvent *>(e)->child(); c->isWidgetType())
            c->installEventFilter(this);
    } else if (e->type() == QEvent::ChildRemoved) {
        UpdateHeight();
    }
    return QWidget::event(e);
}

bool TkvlControlBar::eventFilter(QObject *watched, QEvent *e)
{
    if (watched->parent() == this) {
        switch (e->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            UpdateHeight();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, e);
}

QWidget *kvlToolbarOwner(const QToolBar *toolbar)
{
    if (const FloatWindow *f = floatWindowOf(toolbar))
        return f->parentWidget();
    return toolbar->isWindow() ? toolbar->parentWidget() : toolbar->window();
}

bool kvlToolbarFloating(const QToolBar *toolbar) { return floatWindowOf(toolbar) != nullptr; }

TkvlControlBar *kvlToolbarBar(const QToolBar *toolbar) { return dynamic_cast<TkvlControlBar *>(toolbar->parentWidget()); }

QWidget *kvlToolbarFloatWindow(const QToolBar *toolbar) { return floatWindowOf(toolbar); }

void kvlFloatToolbar(QToolBar *toolbar, const QRect &outer)
{
    FloatWindow *f = floatWindowOf(toolbar);
    if (!f)
        f = new FloatWindow(kvlToolbarOwner(toolbar), toolbar);
    toolbar->resize(outer.size());
    toolbar->show();
    // The toolbar keeps its size; the window's frame comes on top of it, so that a toolbar
    // saved and restored does not shrink by its frame every time.
    f->resize(outer.size());
    ui::SetOuterLeft(f, outer.left());
    ui::SetOuterTop(f, outer.top());
    f->show();
    ui::BringOnScreen(f);
}
