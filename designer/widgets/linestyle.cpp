#include "designer/widgets/linestyle.h"

#include "designer/core/colortable.h"
#include "designer/widgets/colorselector.h"
#include "platform/gfx/paintercanvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// Window-coloured with a shadow-coloured border.
void paintGround(TCanvas &Canvas, QSize Size)
{
    Canvas.setPen(gfx::Pen{clBtnShadow});
    Canvas.setBrush(gfx::Brush{clWindow, bsSolid});
    Canvas.rectangle(0, 0, Size.width(), Size.height());
}

} // namespace

// ---- TkvlFrameSampleControl

TkvlFrameSampleControl::TkvlFrameSampleControl(QWidget *Parent) : QWidget(Parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TkvlFrameSampleControl::SetFrame(TkvlFrame *Value)
{
    FFrame = Value;
    update();
}

void TkvlFrameSampleControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    gfx::PainterCanvas canvas(&painter, 96, 96);
    paintGround(canvas, size());

    // Corner marks of the inner rectangle, two 5-pixel strokes each, pointing outwards.
    const int l = 10, t = 10, r = width() - 11, b = height() - 11;
    canvas.setPen(gfx::Pen{clGray});
    const struct {
        int x, y, dx, dy;
    } corners[] = {{l, t, -1, -1}, {r, t, 1, -1}, {l, b, -1, 1}, {r, b, 1, 1}};
    for (const auto &c : corners) {
        canvas.moveTo(c.x + c.dx, c.y);
        canvas.lineTo(c.x + 6 * c.dx, c.y);
        canvas.moveTo(c.x, c.y + c.dy);
        canvas.lineTo(c.x, c.y + 6 * c.dy);
    }

    gfx::FontDesc f = kvlCanvasFont(font());
    f.color = clWindowText;
    canvas.setFont(f);
    canvas.setBkMode(gfx::BkMode::Transparent);
    const QString text = QStringLiteral("Sample");
    canvas.textOut((width() - canvas.textWidth(text)) / 2, (height() - canvas.textMetrics().height) / 2, text);

    if (FFrame)
        FFrame->Draw(&canvas, l, t, r, b, 1, 1);
}

void TkvlFrameSampleControl::mousePressEvent(QMouseEvent *Event)
{
    const auto line = kvlFrameSampleHit(Event->position().toPoint(), size());
    if (!line)
        return;
    const bool shown = FFrame && FFrame->Has(*line);
    if (OnFrameLineClicked)
        OnFrameLineClicked(*line, !shown);
    update();
}

// ---- TkvlLineStyleControl

TkvlLineStyleControl::TkvlLineStyleControl(QWidget *Parent) : QWidget(Parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TkvlLineStyleControl::SetStyle(int Value)
{
    FStyle = Value;
    update();
}

void TkvlLineStyleControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    gfx::PainterCanvas canvas(&painter, 96, 96);
    paintGround(canvas, size());
    if (FStyle >= 0 && FStyle < kvlLineRows::Count) {
        const QRect r = kvlLineRows::RowRect(FStyle, size());
        canvas.setPen(gfx::Pen{clBtnShadow});
        canvas.setBrush(gfx::Brush{clHighlight, bsSolid});
        canvas.rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }
    canvas.setBkMode(gfx::BkMode::Transparent);
    kvlDrawLineStyles(canvas, width(), 1, false);
}

void TkvlLineStyleControl::mouseReleaseEvent(QMouseEvent *Event)
{
    if (Event->button() != Qt::LeftButton)
        return;
    const auto row = kvlLineRows::HitTest(Event->position().toPoint(), size());
    if (!row)
        return;
    FStyle = *row;
    update();
    if (OnStyleChanged)
        OnStyleChanged(this);
}
