#include "designer/widgets/ruler.h"

#include "platform/gfx/paintercanvas.h"
#include "platform/rtl/numeric.h"

#include <QPainter>

namespace {

// Distance of a tick of length k from the ruler's outer edge, so that ticks centre on 9.
int tickStart(int k) { return (13 - k) / 2 + 3; }

int tickLength(TkvlTickKind kind)
{
    switch (kind) {
    case TkvlTickKind::Small: return 2;
    case TkvlTickKind::Half: return 4;
    default: return 6;
    }
}

} // namespace

TkvlRuler::TkvlRuler(QWidget *parent) : QWidget(parent)
{
    // Painted whole every time: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

template <class T> void TkvlRuler::set(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    update();
}

void TkvlRuler::SetVertical(bool value) { set(FVertical, value); }
void TkvlRuler::SetOffset(int value) { set(FOffset, value); }
void TkvlRuler::SetScale(double value) { set(FScale, value); }
void TkvlRuler::SetStart(int value) { set(FStart, value); }
void TkvlRuler::SetUnits(TkvlRulerUnits value) { set(FUnits, value); }
void TkvlRuler::SetPosition(double value) { set(FPosition, value); }
void TkvlRuler::SetSize(int value) { set(FSize, value); }

TkvlRulerScale TkvlRuler::ScaleParams() const
{
    TkvlRulerScale r;
    r.Units = FUnits;
    r.Scale = FScale;
    r.Offset = FOffset;
    r.Start = FStart;
    r.Size = FSize;
    r.Length = FVertical ? height() : width();
    r.Vertical = FVertical;
    return r;
}

void TkvlRuler::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    gfx::PainterCanvas canvas(&painter, 96, 96);
    const int W = width(), H = height();
    const TkvlRulerScale r = ScaleParams();

    canvas.setBrush(gfx::Brush{clBtnFace, bsSolid});
    canvas.fillRect(rect());
    canvas.setBrush(gfx::Brush{clWindow, bsSolid});
    const int e = kvlRulerEnd(r);
    const QRect strip = FVertical ? QRect(QPoint(3, FOffset), QPoint(W - 5 - 1, e - 1))
                                  : QRect(QPoint(FOffset, 3), QPoint(e - 1, H - 5 - 1));
    if (strip.isValid())
        canvas.fillRect(strip);

    gfx::FontDesc font;
    font.name = QStringLiteral("Arial");
    font.height = -rtl::MulDiv(7, 96, 72);
    font.orientation = FVertical ? 900 : 0;
    canvas.setFont(font);
    canvas.setBkColor(clWindow);
    canvas.setPen(gfx::Pen{clBlack});

    const auto ticks = kvlRulerTicks(r, [&](QStringView s) { return canvas.textWidth(s); });
    const int textHeight = canvas.textMetrics().height;
    for (const TkvlRulerTick &t : ticks) {
        if (t.Kind == TkvlTickKind::Label) {
            const int w = canvas.textWidth(t.Text);
            if (FVertical)
                canvas.textOut(W - textHeight - 6, t.Pos + w / 2 + 1, t.Text);
            else
                canvas.textOut(t.Pos - w / 2 + 1, 4, t.Text);
            continue;
        }
        const int k = tickLength(t.Kind), a = tickStart(k);
        if (FVertical) {
            canvas.moveTo(a, t.Pos);
            canvas.lineTo(a + k, t.Pos);
        } else {
            canvas.moveTo(t.Pos, a);
            canvas.lineTo(t.Pos, a + k);
        }
    }

    if (const std::optional<int> m = kvlRulerMarker(r, FPosition)) {
        if (FVertical) {
            canvas.moveTo(3, *m);
            canvas.lineTo(16, *m);
        } else {
            canvas.moveTo(*m, 3);
            canvas.lineTo(*m, 16);
        }
    }
}
