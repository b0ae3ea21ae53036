#include "designer/widgets/dockbar.h"

#include "designer/core/dragmanager.h"
#include "designer/widgets/dragmanager.h"
#include "platform/ui/windowbounds.h"

#include <QChildEvent>
#include <QEvent>
#include <QMouseEvent>
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

// A control bar as a drop place: it takes the toolbars of its own window.
class BarTarget final : public TkvlDragTarget
{
public:
    explicit BarTarget(TkvlControlBar *bar) : FBar(bar) {}
    bool DragOver(TkvlDragObject &drag, QPoint, TkvlDragState state) override
    {
        auto *tb = qobject_cast<QToolBar *>(drag.Control);
        return state != TkvlDragState::Leave && tb && kvlToolbarOwner(tb) == FBar->window();
    }
    void DragDrop(TkvlDragObject &drag, QPoint pos) override;
    QPoint Grab; // press point within the toolbar, set by the toolbar's drag

private:
    TkvlControlBar *FBar;
};

// Drags a toolbar by its grip.
class ToolbarDrag final : public QObject, public TkvlDragSource
{
public:
    explicit ToolbarDrag(QToolBar *toolbar) : QObject(toolbar), FToolbar(toolbar)
    {
        toolbar->installEventFilter(this);
    }
    void EndDrag(TkvlDragObject &drag, TkvlDragTarget *target, bool cancelled) override
    {
        if (cancelled || target)
            return;
        kvlFloatToolbar(FToolbar, QRect(drag.Pos - Grab, FToolbar->size()));
    }
    bool DropsOnNothing() const override { return true; }
    TkvlDragCursor DragCursor() const override { return TkvlDragCursor::Default; }
    void DragMoved(TkvlDragObject &drag) override
    {
        TkvlDragController::Instance().SetDragRect(QRect(drag.Pos - Grab, FToolbar->size()));
    }
    QPoint Grab;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched == FToolbar && e->type() == QEvent::MouseButtonPress) {
            auto *m = static_cast<QMouseEvent *>(e);
            const QPoint p = m->position().toPoint();
            const bool onGrip = FToolbar->orientation() == Qt::Horizontal ? p.x() < kvlToolbarGrip : p.y() < kvlToolbarGrip;
            if (m->button() == Qt::LeftButton && onGrip) {
                Grab = p;
                TkvlDragController::Instance().BeginDrag(this, FToolbar, m->globalPosition().toPoint());
                return true;
            }
        }
        return QObject::eventFilter(watched, e);
    }

private:
    QToolBar *FToolbar;
};

void BarTarget::DragDrop(TkvlDragObject &drag, QPoint pos)
{
    auto *tb = qobject_cast<QToolBar *>(drag.Control);
    auto *source = dynamic_cast<ToolbarDrag *>(drag.Source);
    if (!tb || !source)
        return;
    // Lands in the row under the mouse, its grip where the mouse let go.
    const QPoint at(pos.x() - source->Grab.x(), pos.y() / FBar->RowSize() * FBar->RowSize());
    FBar->Insert(tb, at);
}

} // namespace

void kvlMakeToolbarDraggable(QToolBar *toolbar)
{
    if (toolbar->findChild<QObject *>(QStringLiteral("kvlToolbarDrag"), Qt::FindDirectChildrenOnly))
        return;
    auto *drag = new ToolbarDrag(toolbar);
    drag->setObjectName(QStringLiteral("kvlToolbarDrag"));
    toolbar->setContentsMargins(kvlToolbarGrip, 0, 0, 0);
}

TkvlControlBar::TkvlControlBar(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFixedHeight(0);
    // Found beside its edge too: an empty bar is 0 pixels high.
    FTarget = std::make_unique<BarTarget>(this);
    TkvlDragController::Instance().RegisterTarget(this, FTarget.get(), 8);
}

TkvlControlBar::~TkvlControlBar() { TkvlDragController::Instance().UnregisterTarget(this); }

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
