#include "designer/widgets/marginspanel.h"

#include "designer/widgets/designerworkspace.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/rtl/numeric.h"
#include "report/widgets/kvlformutils.h"

#include <QMouseEvent>
#include <QPainter>

TMarginsPanel::TMarginsPanel(QWidget *Parent, TkvlDesignerWorkspace *Workspace)
    : QWidget(Parent), FWorkspace(Workspace)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    kvlSetBackground(this, clWindow);
}

void TMarginsPanel::paintEvent(QPaintEvent *)
{
    const int w = width(), h = height();
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    gfx::PainterCanvas c(&painter, 96, 96);
    gfx::Pen pen;
    pen.color = 0x505050;
    c.setPen(pen);
    c.setBrush(gfx::Brush{clWhite, bsClear});
    c.rectangle(0, 0, w - 1, h - 1);
    const QPoint shadow[] = {QPoint(1, h - 1), QPoint(w - 1, h - 1), QPoint(w - 1, 0)};
    c.polyline(shadow, 3);
    c.setBrush(gfx::Brush{0x808080, bsSolid});
    c.fillRect(QRect(0, h - 1, 1, 1));
    c.fillRect(QRect(w - 1, 0, 1, 1));

    const TkvlWorkspace &ws = FWorkspace->Core();
    const TkvlMargins &m = ws.Margins();
    const double s = ws.Scale();
    const int l = int(rtl::Round(m.Left * s)), t = int(rtl::Round(m.Top * s));
    const int r = w - int(rtl::Round(m.Right * s)) + 1, b = h - int(rtl::Round(m.Bottom * s)) + 1;
    pen.color = 0xC0C0C0;
    pen.style = psDot;
    c.setPen(pen);
    const QPoint margins[] = {QPoint(l - 1, t - 1), QPoint(l - 1, b), QPoint(r, b), QPoint(r, t - 1),
                              QPoint(l - 1, t - 1)};
    c.polyline(margins, 5);
}

QPoint TMarginsPanel::toWorkspace(const QPoint &P) const { return P + pos() - FWorkspace->pos(); }

void TMarginsPanel::mousePressEvent(QMouseEvent *Event)
{
    const QPoint p = toWorkspace(Event->position().toPoint());
    FWorkspace->MouseDown(Event->button(), Event->modifiers(), p.x(), p.y());
}

void TMarginsPanel::mouseMoveEvent(QMouseEvent *Event)
{
    if (FWorkspace->Core().FMode == dmSelect) {
        const QPoint p = toWorkspace(Event->position().toPoint());
        FWorkspace->MouseMove(Event->modifiers(), p.x(), p.y());
    } else {
        FWorkspace->MouseLeave();
    }
    setCursor(FWorkspace->cursor());
}

void TMarginsPanel::mouseReleaseEvent(QMouseEvent *Event)
{
    const QPoint p = toWorkspace(Event->position().toPoint());
    FWorkspace->MouseUp(Event->button(), Event->modifiers(), p.x(), p.y());
}
