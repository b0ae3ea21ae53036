#include "report/appearance/fill.h"
#include "platform/gfx/graphic.h"
#include "platform/rtl/numeric.h"
#include "platform/rtl/reflect/classbuilder.h"

#include <algorithm>
#include <cmath>

const rtl::TypeInfo *kvlFillTypeType()
{
    return rtl::EnumType(QStringLiteral("TkvlFillType"), {"ftBrush", "ftGradient", "ftGlass"});
}

const rtl::TypeInfo *kvlBrushStyleType()
{
    return rtl::EnumType(QStringLiteral("TBrushStyle"), {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                                         "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"});
}

namespace {
const rtl::TypeInfo *gradientStyleType()
{
    return rtl::EnumType(QStringLiteral("TkvlGradientStyle"),
                         {"gsHorizontal", "gsVertical", "gsElliptic", "gsRectangle", "gsVertCenter", "gsHorizCenter"});
}
const rtl::TypeInfo *glassOrientationType()
{
    return rtl::EnumType(QStringLiteral("TkvlGlassFillOrientation"),
                         {"foVertical", "foHorizontal", "foVerticalMirror", "foHorizontalMirror"});
}

constexpr TColor kNone = gfx::kColorNone;   // "no colour"

struct Rgb {
    int r, g, b;
};
Rgb rgbOf(TColor c)
{
    const uint32_t v = gfx::colorToRgb(c);
    return {int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF)};
}
TColor colorOf(int r, int g, int b) { return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16)); }

// (X, Y)-(X1, Y1) as a rectangle whose right and bottom edges are left out.
QRect area(int x, int y, int x1, int y1) { return QRect(x, y, x1 - x, y1 - y); }

// Draws a hatch over the rectangle without touching the pixels between its lines.
void drawHatch(TCanvas *C, TBrushStyle style, TColor color, int X, int Y, int X1, int Y1)
{
    const gfx::Brush savedBrush = C->brush();
    const TPenStyle savedPen = C->pen().style;
    C->brush() = {color, style};
    C->setBkMode(gfx::BkMode::Transparent);
    C->pen().style = psClear;
    C->rectangle(X, Y, X1 + 1, Y1 + 1);
    C->brush().style = savedBrush.style;
    C->pen().style = savedPen;
}
} // namespace

LIRRA_DEFINE_CLASS(TkvlCustomFill)
LIRRA_DEFINE_CLASS(TkvlBrushFill)
LIRRA_DEFINE_CLASS(TkvlGradientFill)
LIRRA_DEFINE_CLASS(TkvlGlassFill)

void TkvlCustomFill::DeclareClass(rtl::ClassBuilder<TkvlCustomFill> &) {}

void TkvlBrushFill::DeclareClass(rtl::ClassBuilder<TkvlBrushFill> &b)
{
    using T = TkvlBrushFill;
    b.prop<&T::FBackColor>("BackColor", rtl::types::TColor()).def(kNone);
    b.prop<&T::FForeColor>("ForeColor", rtl::types::TColor()).def(0);
    b.prop<&T::FStyle>("Style", kvlBrushStyleType()).def(bsSolid);
}

void TkvlGradientFill::DeclareClass(rtl::ClassBuilder<TkvlGradientFill> &b)
{
    using T = TkvlGradientFill;
    b.prop<&T::FStartColor>("StartColor", rtl::types::TColor()).def(0xFFFFFF);
    b.prop<&T::FEndColor>("EndColor", rtl::types::TColor()).def(0);
    b.prop<&T::FGradientStyle>("GradientStyle", gradientStyleType());
}

void TkvlGlassFill::DeclareClass(rtl::ClassBuilder<TkvlGlassFill> &b)
{
    using T = TkvlGlassFill;
    b.prop<&T::FColor>("Color", rtl::types::TColor()).stored<&T::IsColorStored>();
    b.prop<&T::FBlend>("Blend");
    b.prop<&T::FHatch>("Hatch").def(false);
    b.prop<&T::FOrientation>("Orientation", glassOrientationType()).def(foHorizontal);
}

TkvlCustomFill *kvlCreateFill(TkvlFillType Kind)
{
    switch (Kind) {
    case ftGradient: return new TkvlGradientFill;
    case ftGlass: return new TkvlGlassFill;
    default: return new TkvlBrushFill;
    }
}

TkvlFillType kvlGetFillType(const TkvlCustomFill *Fill)
{
    if (rtl_cast<TkvlGradientFill>(Fill))
        return ftGradient;
    if (rtl_cast<TkvlGlassFill>(Fill))
        return ftGlass;
    return ftBrush;
}

// --- brush -----------------------------------------------------------------------------

void TkvlBrushFill::Assign(TPersistent *Source)
{
    if (auto *s = rtl_cast<TkvlBrushFill>(Source)) {
        FBackColor = s->FBackColor;
        FForeColor = s->FForeColor;
        FStyle = s->FStyle;
    }
}

void TkvlBrushFill::Draw(TCanvas *C, int X, int Y, int X1, int Y1, double, double)
{
    C->brush().style = FStyle;
    if (FBackColor != kNone) {
        C->brush() = {FBackColor, bsSolid};
        C->fillRect(area(X, Y, X1, Y1));
    }
    if (FStyle >= bsHorizontal && FStyle <= bsDiagCross)
        drawHatch(C, FStyle, FForeColor, X, Y, X1, Y1);
}

// --- gradient --------------------------------------------------------------------------

void TkvlGradientFill::Assign(TPersistent *Source)
{
    if (auto *s = rtl_cast<TkvlGradientFill>(Source)) {
        FStartColor = s->FStartColor;
        FEndColor = s->FEndColor;
        FGradientStyle = s->FGradientStyle;
    }
}

TColor TkvlGradientFill::GetColor() const
{
    const Rgb a = rgbOf(FStartColor), b = rgbOf(FEndColor);
    return colorOf(a.r + rtl::MulDiv(127, b.r - a.r, 255), a.g + rtl::MulDiv(127, b.g - a.g, 255),
                   a.b + rtl::MulDiv(127, b.b - a.b, 255));
}

void TkvlGradientFill::Draw(TCanvas *C, int X, int Y, int X1, int Y1, double, double)
{
    const int Left = X, Top = Y, W = X1 - X, H = Y1 - Y;
    const Rgb s = rgbOf(FStartColor), e = rgbOf(FEndColor);
    const int dr = e.r - s.r, dg = e.g - s.g, db = e.b - s.b;
    auto step = [&](int i, int n) {
        return colorOf(s.r + rtl::MulDiv(i, dr, n), s.g + rtl::MulDiv(i, dg, n), s.b + rtl::MulDiv(i, db, n));
    };
    const gfx::Brush savedBrush = C->brush();
    auto fill = [&](const QRect &r, TColor c) {
        C->brush() = {c, bsSolid};
        C->fillRect(r);
    };
    switch (FGradientStyle) {
    case gsHorizontal:
        for (int i = 0; i <= 255; ++i)
            fill(area(Left + rtl::MulDiv(i, W, 256), Top, Left + rtl::MulDiv(i + 1, W, 256), Top + H), step(i, 255));
        break;
    case gsVertical:
        for (int i = 0; i <= 255; ++i)
            fill(area(Left, Top + rtl::MulDiv(i, H, 256), Left + W, Top + rtl::MulDiv(i + 1, H, 256)), step(i, 255));
        break;
    case gsElliptic: {
        if (W <= 0 || H <= 0)   // nothing to fill
            break;
        TBitmap bmp;
        bmp.setSize(W, H);
        TCanvas *bc = bmp.canvas();
        bc->pen().style = psClear;
        const double eh = H / 4.0, gw = W / 4.0;
        double right = gw + W, bottom = eh + H, top = -eh, left = -gw;
        for (int i = 0; i <= 155; ++i) {
            bc->brush() = {step(i, 155), bsSolid};
            right -= (gw + W / 2.0) / 155;
            bottom -= (eh + H / 2.0) / 155;
            top += (eh + H / 2.0) / 155;
            left += (gw + W / 2.0) / 155;
            bc->ellipse(int(left), int(top), int(right), int(bottom));
        }
        C->drawImage(QRect(Left, Top, W, H), bmp.image());
        break;
    }
    case gsRectangle: {
        C->pen().style = psClear;
        C->setRasterOp(gfx::RasterOp::Copy);
        double l = Left, t = Top, r = Left + W, b = Top + H;
        for (int i = 0; i <= 255; ++i) {
            l += W / 2.0 / 255;
            r -= W / 2.0 / 255;
            t += H / 2.0 / 255;
            b -= H / 2.0 / 255;
            C->brush() = {step(i, 255), bsSolid};
            C->rectangle(int(l), int(t), int(r), int(b));
        }
        C->pen().style = psSolid;
        break;
    }
    case gsVertCenter:
    case gsHorizCenter: {
        const bool vert = FGradientStyle == gsVertCenter;
        const int half = (vert ? H : W) / 2;
        if (half < 0)
            break;
        if (half == 0) {   // one pixel or none across: the start colour, no division by zero
            fill(area(Left, Top, Left + W, Top + H), step(0, 1));
            break;
        }
        for (int c = 0; c <= half; ++c) {
            const TColor col = step(c, half);
            if (vert) {
                fill(area(Left, Top + c, Left + W, Top + c + 1), col);
                fill(area(Left, Top + H - c - 1, Left + W, Top + H - c), col);
            } else {
                fill(area(Left + c, Top, Left + c + 1, Top + H), col);
                fill(area(Left + W - c - 1, Top, Left + W - c, Top + H), col);
            }
        }
        break;
    }
    }
    C->setBrush(savedBrush);
}

// --- glass -----------------------------------------------------------------------------

void TkvlGlassFill::Assign(TPersistent *Source)
{
    if (auto *s = rtl_cast<TkvlGlassFill>(Source)) {
        FColor = s->FColor;
        FBlend = s->FBlend;
        FHatch = s->FHatch;
        FOrientation = s->FOrientation;
    }
}

void TkvlGlassFill::Draw(TCanvas *C, int X, int Y, int X1, int Y1, double, double)
{
    if (FColor == kNone)
        return;
    const Rgb base = rgbOf(FColor);
    const double blend = std::isnan(FBlend) ? 0 : std::clamp(FBlend, -1e6, 1e6);
    auto lighten = [&](int c) { return int(std::clamp<int64_t>(c + rtl::Round((255 - c) * blend), 0, 255)); };
    const Rgb light{lighten(base.r), lighten(base.g), lighten(base.b)};
    const gfx::Brush saved = C->brush();
    C->brush() = {FColor, bsSolid};
    C->fillRect(area(X, Y, X1, Y1));
    C->brush() = {colorOf(light.r, light.g, light.b), bsSolid};
    switch (FOrientation) {
    case foVertical: C->fillRect(area(X, Y, X1 - (X1 - X) / 2, Y1)); break;
    case foHorizontal: C->fillRect(area(X, Y, X1, Y1 - (Y1 - Y) / 2)); break;
    case foVerticalMirror: C->fillRect(area(X + (X1 - X) / 2, Y, X1, Y1)); break;
    case foHorizontalMirror: C->fillRect(area(X, Y + (Y1 - Y) / 2, X1, Y1)); break;
    }
    C->setBrush(saved);
    if (FHatch) {
        // Each channel a little darker, none below 0.
        const TColor hatch = colorOf(std::max(0, light.r - 6), std::max(0, light.g - 6), std::max(0, light.b - 6));
        drawHatch(C, bsBDiagonal, hatch, X, Y, X1, Y1);
    }
}
