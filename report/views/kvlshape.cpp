#include "report/views/kvlshape.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlresourcetext.h"
#include "report/views/viewdraw.h"

#include <algorithm>

LIRRA_DEFINE_CLASS(TkvlShapeView)

namespace {
const rtl::TypeInfo *shapeKindType()
{
    static const rtl::TypeInfo *t = rtl::EnumType(
        QStringLiteral("TkvlShapeKind"),
        {"skRectangle", "skRoundRectangle", "skEllipse", "skTriangle", "skDiamond", "skDiagonal1", "skDiagonal2"});
    return t;
}
} // namespace

TPenStyle kvlFramePenStyle(TkvlFrameStyle Style)
{
    return Style == fsDouble ? psSolid : TPenStyle(Style);
}

void TkvlShapeView::DeclareClass(rtl::ClassBuilder<TkvlShapeView> &b)
{
    using T = TkvlShapeView;
    b.publish("Color");
    b.publish("Cursor");
    b.prop<&T::Curve>("Curve").def(0);
    b.publish("FillType");
    b.publish("Fill");
    b.publish("Frame");
    b.prop<&T::Shape>("Shape", shapeKindType()).def(skRectangle);
    b.publish("TagStr");
    b.publish("URL");
    b.description([] { return kvlResourceText(QStringLiteral("obShape")); });
}

TkvlShapeView::TkvlShapeView(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlView(AOwner, Design)
{
    SetkvComponentStyle(kvComponentStyle() & TkvlComponentStyle(~kvlBit(csDefaultDiff)));
    if (Design)
        Shape = TkvlShapeKind(std::min<int>(Design->flags, skDiagonal2));
}

void TkvlShapeView::Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY)
{
    BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
    const TkvlFrameStyle style = Frame()->Style();
    DrawShape(X, Y, X1, Y1, kvlFramePenStyle(style));
    if (style != fsDouble)
        return;
    // The inner figure is placed from the drawn rectangle; the object's bounds stay as they are.
    const double fw = Frame()->Width();
    auto sx = [&](double k) { return kvlRnd(k * fw * ScaleX); };
    auto sy = [&](double k) { return kvlRnd(k * fw * ScaleY); };
    int l = X, t = Y, r = X1, b = Y1;
    switch (Shape) {
    case skTriangle:
        l += sx(4), t += sy(4), r -= sx(4), b -= sy(2);
        break;
    case skDiamond:
        l += sx(3), t += sy(3), r -= sx(3), b -= sy(3);
        break;
    case skDiagonal1:
    case skDiagonal2:
        l += sx(2), r += sx(2);
        break;
    default:
        l += sx(2), t += sy(2), r -= sx(2), b -= sy(2);
        break;
    }
    if (r <= l || (b <= t && Shape != skDiagonal1 && Shape != skDiagonal2))
        return;  // no room for a second figure
    DrawShape(l, t, r, b, psSolid);
}

void TkvlShapeView::DrawShape(int L, int T, int R, int B, TPenStyle PenStyle)
{
    TCanvas *c = Canvas;
    const TColor frameColor = Frame()->Color();
    gfx::Pen pen;
    pen.color = frameColor;
    pen.width = FrameWidth;
    pen.style = frameColor == clNone ? psClear : PenStyle;
    c->setPen(pen);
    c->setBkMode(gfx::BkMode::Opaque);
    const TColor color = Color();
    const TBrushStyle brushStyle = BrushStyle();
    if (brushStyle != bsSolid) {
        // A gradient or glass fill is painted inside the figure's outline in the pass below,
        // which covers the whole figure: one pass serves.
        if (color != clNone && FillType() == ftBrush) {
            c->setBrush({color, bsSolid});
            DrawFigure(L, T, R, B);
        }
        // Hatch lines in the frame colour; between them the colour below stays.
        c->setBrush({frameColor, brushStyle});
        c->setBkMode(gfx::BkMode::Transparent);
        DrawFigure(L, T, R, B);
    } else {
        c->setBrush(color == clNone ? gfx::Brush{0xFFFFFF, bsClear} : gfx::Brush{color, bsSolid});
        DrawFigure(L, T, R, B);
    }
}

int TkvlShapeView::Corner(int DX_, int DY_) const
{
    return Curve != 0 ? kvlRnd(Curve * ScaleX * 10) : std::min(DX_, DY_) / 4;
}

QPainterPath TkvlShapeView::FigureOutline(int L, int T, int R, int B) const
{
    QPainterPath p;
    const int dx = R - L, dy = B - T;
    switch (Shape) {
    case skEllipse:
        p.addEllipse(QRectF(L, T, dx + 1, dy + 1));
        break;
    case skRoundRectangle: {
        const int corner = Corner(dx, dy);
        p.addRoundedRect(QRectF(L, T, dx + 1, dy + 1), corner / 2.0, corner / 2.0);
        break;
    }
    case skTriangle:
        p.addPolygon(QPolygonF({QPointF(R, B), QPointF(L, B), QPointF(L + dx / 2, T), QPointF(R, B)}));
        break;
    case skDiamond:
        p.addPolygon(QPolygonF({QPointF(L + dx / 2, T), QPointF(R, T + dy / 2), QPointF(L + dx / 2, B),
                                QPointF(L, T + dy / 2)}));
        p.closeSubpath();
        break;
    default:
        p.addRect(QRectF(L, T, dx + 1, dy + 1));
        break;
    }
    return p;
}

void TkvlShapeView::DrawFigure(int L, int T, int R, int B)
{
    TCanvas *c = Canvas;
    const bool diagonal = Shape == skDiagonal1 || Shape == skDiagonal2;
    if (!diagonal && FillType() != ftBrush) {
        // Gradient and glass fills are painted inside the figure's outline.
        c->saveClip();
        c->intersectClipPath(FigureOutline(L, T, R, B));
        Fill()->Draw(c, L, T, R, B, ScaleX, ScaleY);
        c->restoreClip();
        c->brush().style = bsClear;
    }
    const int dx = R - L, dy = B - T;
    switch (Shape) {
    case skRectangle:
        c->rectangle(L, T, R + 1, B + 1);
        break;
    case skRoundRectangle: {
        const int corner = Corner(dx, dy);
        c->roundRect(L, T, R + 1, B + 1, corner, corner);
        break;
    }
    case skEllipse:
        c->ellipse(L, T, R + 1, B + 1);
        break;
    case skTriangle: {
        const QPoint pts[] = {{R, B}, {L, B}, {L + dx / 2, T}, {R, B}};
        c->polygon(pts, 4);
        break;
    }
    case skDiamond: {
        const QPoint pts[] = {{L + dx / 2, T}, {R, T + dy / 2}, {L + dx / 2, B}, {L, T + dy / 2}};
        c->polygon(pts, 4);
        break;
    }
    case skDiagonal1:
        DrawLine(L, B, R, T, FrameWidth);
        break;
    case skDiagonal2:
        DrawLine(L, T, R, B, FrameWidth);
        break;
    }
}
