#include "designer/widgets/designerworkspace.h"

#include "designer/widgets/inplacememo.h"
#include "designer/widgets/marginspanel.h"
#include "platform/gfx/paintercanvas.h"
#include "report/widgets/kvlformutils.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPixmap>
#include <QPointer>

QCursor kvlPencilCursor()
{
    // A pencil lying from the lower left (its tip, the hot spot) to the upper right.
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, false);
        const QPolygon body({QPoint(5, 22), QPoint(20, 7), QPoint(25, 12), QPoint(10, 27)});
        p.setPen(Qt::black);
        p.setBrush(QColor(250, 200, 60));
        p.drawPolygon(body);
        p.setBrush(QColor(230, 120, 120));  // the eraser end
        p.drawPolygon(QPolygon({QPoint(20, 7), QPoint(23, 4), QPoint(28, 9), QPoint(25, 12)}));
        p.setBrush(QColor(240, 220, 180));  // the sharpened wood
        p.drawPolygon(QPolygon({QPoint(5, 22), QPoint(10, 27), QPoint(1, 30)}));
        p.setPen(Qt::black);
        p.drawPoint(1, 30);
        p.drawPoint(2, 29);
    }
    return QCursor(pm, 1, 30);
}

TkvlDesignerWorkspace::TkvlDesignerWorkspace(QWidget *Parent, std::unique_ptr<TkvlWorkspace> Core)
    : QWidget(Parent), FCore(Core ? std::move(Core) : std::make_unique<TkvlWorkspace>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);  // the paint covers everything
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    FMarginsPanel = new TMarginsPanel(Parent, this);
    FMarginsPanel->stackUnder(this);
    FInplaceMemo = new TInplaceMemo(this);
    FCore->SetView(this);
    GeometryChanged();
}

TkvlDesignerWorkspace::~TkvlDesignerWorkspace()
{
    FCore->SetView(nullptr);
    // The panel points at us: it goes with us unless its parent took it already.
    delete FMarginsPanel;
}

void TkvlDesignerWorkspace::SetParent(QWidget *AParent)
{
    const bool shown = isVisible();
    FMarginsPanel->setParent(AParent);
    setParent(AParent);
    FMarginsPanel->stackUnder(this);
    FMarginsPanel->setVisible(shown);
    setVisible(shown);
}

QPoint TkvlDesignerWorkspace::Origin() const { return FMarginsPanel->pos(); }

void TkvlDesignerWorkspace::SetOrigin(const QPoint &Value)
{
    FMarginsPanel->move(Value);
    GeometryChanged();
}

void TkvlDesignerWorkspace::SetColor(TColor Value)
{
    FCore->FColor = Value;
    kvlSetBackground(FMarginsPanel, Value);
    FMarginsPanel->update();
    update();
}

void TkvlDesignerWorkspace::Invalidate() { update(); }

void TkvlDesignerWorkspace::GeometryChanged()
{
    FMarginsPanel->resize(FCore->PanelSize());
    setGeometry(FCore->WorkspaceRect().translated(FMarginsPanel->pos()));
    FMarginsPanel->update();
    update();
}

void TkvlDesignerWorkspace::BringToFront() { raise(); }

void TkvlDesignerWorkspace::RefreshHover() { MouseMove(Qt::NoModifier, 0, 0); }

TMarginsPanel *TkvlDesignerWorkspace::MarginsPanel() const { return FMarginsPanel; }

void TkvlDesignerWorkspace::MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void TkvlDesignerWorkspace::MouseMove(Qt::KeyboardModifiers, int, int) {}
void TkvlDesignerWorkspace::MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void TkvlDesignerWorkspace::MouseLeave() {}

void TkvlDesignerWorkspace::paintEvent(QPaintEvent *Event)
{
    // Drawn off screen and copied in one block, so the page never flickers.
    const QRect area = Event->rect();
    QImage buffer(area.size(), QImage::Format_RGB32);
    {
        QPainter p(&buffer);
        p.translate(-area.topLeft());
        gfx::PainterCanvas canvas(&p, 96, 96);
        TkvlWorkspace &c = *FCore;
        c.Paint(&canvas, width(), height());
        using M = TkvlDesignMode1;
        if (c.FMode1 == M::dmSelectionRect && c.FMouseDown)
            c.DrawSelectionRect(&canvas);
        else if (c.FMode1 == M::dmInsertObject)
            c.DrawInsertionRect(&canvas);
        else if (c.FMode1 == M::dmInsertLine)
            c.DrawCross(&canvas, c.FMouseDown);
    }
    QPainter(this).drawImage(area.topLeft(), buffer);
}

void TkvlDesignerWorkspace::mousePressEvent(QMouseEvent *Event)
{
    if (FInplaceMemo->isVisible())
        FInplaceMemo->EditDone();
    const QPoint p = Event->position().toPoint();
    MouseDown(Event->button(), Event->modifiers(), p.x(), p.y());
}

void TkvlDesignerWorkspace::mouseMoveEvent(QMouseEvent *Event)
{
    const QPoint p = Event->position().toPoint();
    MouseMove(Event->modifiers(), p.x(), p.y());
}

void TkvlDesignerWorkspace::mouseReleaseEvent(QMouseEvent *Event)
{
    const QPoint p = Event->position().toPoint();
    MouseUp(Event->button(), Event->modifiers(), p.x(), p.y());
}

void TkvlDesignerWorkspace::mouseDoubleClickEvent(QMouseEvent *)
{
    FCore->EditObject();
    FCore->FDblClicked = true;
}

void TkvlDesignerWorkspace::leaveEvent(QEvent *) { MouseLeave(); }

void TkvlDesignerWorkspace::moveEvent(QMoveEvent *)
{
    if (FCore->OnTopLeftChanged)
        FCore->OnTopLeftChanged();
}
