#include "designer/widgets/dockform.h"

#include "designer/widgets/docksite.h"
#include "designer/widgets/dragmanager.h"
#include "platform/ui/windowbounds.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// The strip above the window's content: the title, and what the user drags to dock or
// float the window.
class DockCaption final : public QWidget
{
public:
    explicit DockCaption(TkvlDockForm *form) : QWidget(form), FForm(form)
    {
        setFixedHeight(fontMetrics().height() + 4);
        setCursor(Qt::SizeAllCursor);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().button());
        p.setPen(palette().buttonText().color());
        p.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, FForm->windowTitle());
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton)
            FForm->StartDockDrag(e->globalPosition().toPoint());
    }

private:
    TkvlDockForm *FForm;
};

} // namespace

TkvlDockForm::TkvlDockForm(QWidget *owner) : QWidget(owner, Qt::Tool), FOwner(owner)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FCaption = new DockCaption(this);
    FBody = new QWidget(this);
    layout->addWidget(FCaption);
    layout->addWidget(FBody, 1);
    FUndockSize = QSize(200, 300);
    resize(FUndockSize);
}

TkvlDockSite *TkvlDockForm::HostDockSite() const
{
    for (QWidget *p = parentWidget(); p && !isWindow(); p = p->parentWidget())
        if (auto *site = dynamic_cast<TkvlDockSite *>(p))
            return site;
    return nullptr;
}

void TkvlDockForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (isWindow())
        FUndockSize = size();
}

QRect TkvlDockForm::FloatRectAt(QPoint screen) const
{
    const QSize size = isWindow() ? ui::OuterBounds(this).size() : FUndockSize;
    return QRect(screen - FGrab, size);
}

void TkvlDockForm::StartDockDrag(QPoint screen)
{
    const QPoint corner = isWindow() ? ui::OuterBounds(this).topLeft() : mapToGlobal(QPoint(0, 0));
    FGrab = screen - corner;
    TkvlDragController::Instance().BeginDrag(this, this, screen);
}

void TkvlDockForm::DragMoved(TkvlDragObject &drag)
{
    if (!drag.Accepted)
        TkvlDragController::Instance().SetDragRect(FloatRectAt(drag.Pos));
}

void TkvlDockForm::EndDrag(TkvlDragObject &drag, TkvlDragTarget *target, bool cancelled)
{
    if (cancelled || target)
        return;
    const QPoint corner = FloatRectAt(drag.Pos).topLeft();
    if (TkvlDockSite *site = HostDockSite()) {
        if (!site->DoUnDock(this, nullptr))
            return;
        // The size it floated with is the window's own, its frame comes on top.
        resize(FUndockSize);
    }
    ui::SetOuterLeft(this, corner.x());
    ui::SetOuterTop(this, corner.y());
    show();
    ui::BringOnScreen(this);
}

void TkvlDockForm::FloatAt(const QRect &outer)
{
    if (TkvlDockSite *site = HostDockSite()) {
        if (!site->DoUnDock(this, nullptr))
            return;
    } else if (!isWindow()) {
        setParent(FOwner, Qt::Tool);
    }
    ui::SetOuterWidth(this, outer.width());
    ui::SetOuterHeight(this, outer.height());
    ui::SetOuterLeft(this, outer.left());
    ui::SetOuterTop(this, outer.top());
    show();
    ui::BringOnScreen(this);
}
