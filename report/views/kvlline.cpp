#include "report/views/kvlline.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlresourcetext.h"
#include "report/views/viewdraw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

LIRRA_DEFINE_CLASS(TkvlCustomLineView)
LIRRA_DEFINE_CLASS(TkvlLineView)

void TkvlCustomLineView::DeclareClass(rtl::ClassBuilder<TkvlCustomLineView> &b)
{
    // The line's Color is its brush colour, used while a diagonal line is drawn.
    b.publish("Color").stored(true).def(clNone);
    b.publish("TagStr");
}

void TkvlLineView::DeclareClass(rtl::ClassBuilder<TkvlLineView> &b)
{
    using T = TkvlLineView;
    b.prop<&T::ArrowEnd>("ArrowEnd").def(false);
    b.prop<&T::ArrowLength>("ArrowLength").def(20);
    b.prop<&T::ArrowSolid>("ArrowSolid").def(false);
    b.prop<&T::ArrowStart>("ArrowStart").def(false);
    b.prop<&T::ArrowWidth>("ArrowWidth").def(5);
    b.publish("Frame");
    b.prop<&T::Diagonal>("Diagonal").def(false);
    b.description([] { return kvlResourceText(QStringLiteral("obLine")); });
}

TkvlCustomLineView::TkvlCustomLineView(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlStretcheable(AOwner, Design)
{
    SetkvComponentStyle(kvComponentStyle() & TkvlComponentStyle(~kvlBit(csDefaultDiff)));
    if (Design) {
        const int f = Design->flags;
        Diagonal = f != 0;
        ArrowEnd = f == 2 || f == 4;
        ArrowStart = f == 3 || f == 4;
    }
}

void TkvlCustomLineView::Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY)
{
    if (!Diagonal) {
        if (Width() <= Height()) {
            SetWidth(0);
            Frame()->SetTyp(kvlFrameBit(ftLeft));
        } else {
            SetHeight(0);
            Frame()->SetTyp(kvlFrameBit(ftTop));
        }
    }
    BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
    if (Diagonal) {
        DrawDiagonalLine();
        return;
    }
    DrawFrame();
    DrawArrows();
}

void TkvlCustomLineView::DrawArrows()
{
    if (ArrowStart)
        DrawArrow(X1, Y1, X, Y);
    if (ArrowEnd)
        DrawArrow(X, Y, X1, Y1);
}

void TkvlCustomLineView::DrawDiagonalLine()
{
    TkvlFrame *f = Frame();
    if (f->Color() == clNone || f->Width() == 0)
        return;
    const TColor color = Color();
    Canvas->setBrush(color == clNone ? gfx::Brush{0xFFFFFF, bsClear} : gfx::Brush{color, bsSolid});
    gfx::Pen pen;
    pen.color = f->Color();
    pen.width = 1;
    pen.style = f->Style() == fsDouble ? psSolid : TPenStyle(f->Style());
    Canvas->setPen(pen);
    DrawLine(X, Y, X1, Y1, FrameWidth);
    DrawArrows();
}

void TkvlCustomLineView::DrawArrow(int AX1, int AY1, int AX2, int AY2)
{
    const double L = ArrowLength * ScaleX, A = ArrowWidth * ScaleX;
    auto between = [](double v, double a, double b) { return v >= std::min(a, b) && v <= std::max(a, b); };
    double xp, yp, w1x, w1y, w2x, w2y;
    if (std::abs(AX2 - AX1) > 8) {
        const double k = double(AY2 - AY1) / double(AX2 - AX1);
        // Where the line meets the circle of radius L around the tip.
        const double d = L / std::sqrt(1 + k * k);
        xp = AX2 + d;
        if (!between(xp, AX1, AX2))
            xp = AX2 - d;
        yp = AY1 + k * (xp - AX1);
        const double a = std::atan(k);
        w1x = xp + std::sin(a) * A;
        w1y = yp - std::cos(a) * A;
        w2x = xp - std::sin(a) * A;
        w2y = yp + std::cos(a) * A;
    } else {
        xp = AX2;
        yp = AY2 - L;
        if (!between(yp, AY1, AY2))
            yp = AY2 + L;
        w1x = xp - A;
        w1y = yp;
        w2x = xp + A;
        w2y = yp;
    }
    const QPoint tip(AX2, AY2), w1(kvlRnd(w1x), kvlRnd(w1y)), w2(kvlRnd(w2x), kvlRnd(w2y));
    gfx::Pen pen;
    pen.color = Frame()->Color();
    if (ArrowSolid) {
        Canvas->setPen(pen);
        Canvas->setBrush({pen.color, bsSolid});
        const QPoint pts[] = {tip, w1, w2};
        Canvas->polygon(pts, 3);
    } else {
        pen.width = kvlRnd(Frame()->Width() * ScaleX);
        Canvas->setPen(pen);
        const QPoint pts[] = {w1, tip, w2};
        Canvas->polyline(pts, 3);
    }
}
