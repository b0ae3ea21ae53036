#include "report/views/kvlcheckbox.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlresourcetext.h"
#include "report/data/kvldataset.h"
#include "report/views/viewdraw.h"

#include <algorithm>

LIRRA_DEFINE_CLASS(TkvlCheckBoxView)

namespace {

const rtl::TypeInfo *checkStyleType()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlCheckStyle"), {"csCross", "csCheck", "csLineCross", "csPlus"});
    return t;
}

const rtl::TypeInfo *uncheckStyleType()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlUncheckStyle"), {"usEmpty", "usCross", "usLineCross", "usMinus"});
    return t;
}

enum class Mark { None, Cross, Check, LineCross, Plus, Minus };

Mark markFor(const TkvlCheckBoxView &v)
{
    if (v.Checked) {
        switch (v.CheckStyle) {
        case csCross: return Mark::Cross;
        case csCheck: return Mark::Check;
        case csLineCross: return Mark::LineCross;
        case csPlus: return Mark::Plus;
        }
    }
    switch (v.UncheckStyle) {
    case usCross: return Mark::Cross;
    case usLineCross: return Mark::LineCross;
    case usMinus: return Mark::Minus;
    default: return Mark::None;
    }
}

// The check and cross symbols as vector figures: a character cell as tall as the box, the
// glyph's ink a centred square of 3/5 of that height, strokes a sixth of the ink wide.
void drawSymbol(TCanvas *c, Mark m, int L, int T, int R, int B, TColor color)
{
    const int h = B - T;
    const int s = kvlRnd(h * 0.6);
    if (s <= 0)
        return;
    const int x0 = L + (R - L - s) / 2, y0 = T + (h - s) / 2;
    gfx::Pen pen;
    pen.color = color;
    pen.width = std::max(1, kvlRnd(s / 6.0));
    pen.geometric = true;
    pen.cap = gfx::PenCap::Round;
    pen.join = gfx::PenJoin::Round;
    c->setPen(pen);
    c->setBkMode(gfx::BkMode::Transparent);
    c->saveClip();
    c->intersectClipRect(QRect(L, T, R - L, B - T));
    if (m == Mark::Check) {
        const QPoint pts[] = {{x0, y0 + kvlRnd(s * 0.55)}, {x0 + kvlRnd(s * 0.38), y0 + s}, {x0 + s, y0}};
        c->polyline(pts, 3);
    } else {
        c->moveTo(x0, y0);
        c->lineTo(x0 + s, y0 + s);
        c->moveTo(x0, y0 + s);
        c->lineTo(x0 + s, y0);
    }
    c->restoreClip();
}

} // namespace

void TkvlCheckBoxView::DeclareClass(rtl::ClassBuilder<TkvlCheckBoxView> &b)
{
    using T = TkvlCheckBoxView;
    b.publish("BrushStyle");
    b.prop<&T::CheckColor>("CheckColor", rtl::types::TColor()).stored(true);
    b.prop<&T::Checked>("Checked").def(true);
    b.prop<&T::CheckStyle>("CheckStyle", checkStyleType()).stored(true);
    b.publish("Color");
    b.publish("Cursor");
    b.publish("DataField");
    b.publish("DataSet");
    b.publish("DataSetName");
    b.prop<&T::Expression>("Expression");
    b.publish("Frame");
    b.publish("TagStr");
    b.prop<&T::UncheckStyle>("UncheckStyle", uncheckStyleType()).def(usEmpty);
    b.publish("URL");
    b.description([] { return kvlResourceText(QStringLiteral("obChBox")); });
}

TkvlCheckBoxView::TkvlCheckBoxView(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlView(AOwner, Design)
{
    SetHeight(5 * 3.77953);
    SetWidth(5 * 3.77953);
}

void TkvlCheckBoxView::Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY)
{
    BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
    DrawBackground();
    DrawMark(X, Y, X1, Y1);
    DrawFrame();
}

void TkvlCheckBoxView::DrawMark(int L, int T, int R, int B)
{
    const Mark m = markFor(*this);
    if (m == Mark::None)
        return;
    if (m == Mark::Cross || m == Mark::Check) {
        drawSymbol(Canvas, m, L, T, R, B, CheckColor);
        return;
    }
    gfx::Pen pen;
    pen.color = CheckColor;
    Canvas->setPen(pen);
    const int w = FrameWidth;
    if (m == Mark::LineCross) {
        DrawLine(L, T, R, B, w);
        DrawLine(L, B, R, T, w);
        return;
    }
    const int ym = T + (B - T) / 2;
    DrawLine(L + 3, ym, R - 2, ym, w);
    if (m == Mark::Plus) {
        const int xm = L + (R - L) / 2;
        DrawLine(xm, T + 3, xm, B - 2, w);
    }
}

void TkvlCheckBoxView::GetData()
{
    TkvlView::GetData();
    if (IsDataField()) {
        const Variant v = DataSet()->GetValue(DataField);
        Checked = !v.isNull() && !v.isEmpty() && v.toBool();
    } else if (!Expression.isEmpty()) {
        Checked = Calc(Expression).toBool();
    }
}
