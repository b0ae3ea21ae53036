#include "report/appearance/frame.h"
#include "platform/rtl/numeric.h"
#include "platform/rtl/reflect/classbuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

const rtl::TypeInfo *kvlFrameStyleType()
{
    return rtl::EnumType(QStringLiteral("TkvlFrameStyle"),
                         {"fsSolid", "fsDash", "fsDot", "fsDashDot", "fsDashDotDot", "fsDouble", "fsAltDot", "fsSquare"});
}

const rtl::TypeInfo *kvlFrameTypType()
{
    return rtl::SetType(QStringLiteral("TkvlFrameTyp"),
                        rtl::EnumType(QStringLiteral("TkvlFrameType"), {"ftLeft", "ftRight", "ftTop", "ftBottom"}));
}

LIRRA_DEFINE_CLASS(TkvlFrameLine)
LIRRA_DEFINE_CLASS(TkvlFrame)

void TkvlFrameLine::DeclareClass(rtl::ClassBuilder<TkvlFrameLine> &b)
{
    using T = TkvlFrameLine;
    b.prop<&T::Color, &T::SetColor>("Color", rtl::types::TColor()).stored<&T::IsColorStored>();
    b.prop<&T::Style, &T::SetStyle>("Style", kvlFrameStyleType()).stored<&T::IsStyleStored>();
    b.prop<&T::Width, &T::SetWidth>("Width").stored<&T::IsWidthStored>();
}

void TkvlFrame::DeclareClass(rtl::ClassBuilder<TkvlFrame> &b)
{
    using T = TkvlFrame;
    b.prop<&T::Color, &T::SetColor>("Color", rtl::types::TColor()).def(0);
    b.prop<&T::DropShadow, &T::SetDropShadow>("DropShadow").def(false);
    b.prop<&T::ShadowColor, &T::SetShadowColor>("ShadowColor", rtl::types::TColor()).def(0);
    b.prop<&T::ShadowWidth, &T::SetShadowWidth>("ShadowWidth").stored<&T::IsShadowWidthStored>();
    b.prop<&T::Style, &T::SetStyle>("Style", kvlFrameStyleType()).def(fsSolid);
    b.prop<&T::Typ, &T::SetTyp>("Typ", kvlFrameTypType()).def(0);
    b.prop<&T::Width, &T::SetWidth>("Width").stored<&T::IsWidthStored>();
    b.prop<&T::LeftLine, &T::SetLeftLine>("LeftLine");
    b.prop<&T::TopLine, &T::SetTopLine>("TopLine");
    b.prop<&T::RightLine, &T::SetRightLine>("RightLine");
    b.prop<&T::BottomLine, &T::SetBottomLine>("BottomLine");
}

// --- TkvlFrameLine ---------------------------------------------------------------------

void TkvlFrameLine::Assign(TPersistent *Source)
{
    if (auto *s = rtl_cast<TkvlFrameLine>(Source)) {
        FColor = s->FColor;
        FStyle = s->FStyle;
        FWidth = s->FWidth;
    }
}

bool TkvlFrameLine::IsColorStored() const { return !FFrame || FColor != FFrame->Color(); }
bool TkvlFrameLine::IsStyleStored() const { return !FFrame || FStyle != FFrame->Style(); }
bool TkvlFrameLine::IsWidthStored() const { return !FFrame || FWidth != FFrame->Width(); }

// --- TkvlFrame -------------------------------------------------------------------------

TkvlFrame::TkvlFrame()
    : FLeftLine(std::make_unique<TkvlFrameLine>(this)), FTopLine(std::make_unique<TkvlFrameLine>(this)),
      FRightLine(std::make_unique<TkvlFrameLine>(this)), FBottomLine(std::make_unique<TkvlFrameLine>(this))
{
}

TkvlFrame::~TkvlFrame() = default;

void TkvlFrame::Assign(TPersistent *Source)
{
    auto *s = rtl_cast<TkvlFrame>(Source);
    if (!s || s == this)
        return;
    FColor = s->FColor;
    FDropShadow = s->FDropShadow;
    FShadowColor = s->FShadowColor;
    FShadowWidth = s->FShadowWidth;
    FStyle = s->FStyle;
    FTyp = s->FTyp;
    FWidth = s->FWidth;
    FLeftLine->Assign(s->FLeftLine.get());
    FTopLine->Assign(s->FTopLine.get());
    FRightLine->Assign(s->FRightLine.get());
    FBottomLine->Assign(s->FBottomLine.get());
}

void TkvlFrame::SetColor(TColor v)
{
    FColor = v;
    for (auto *l : {FLeftLine.get(), FTopLine.get(), FRightLine.get(), FBottomLine.get()})
        l->SetColor(v);
}

void TkvlFrame::SetStyle(TkvlFrameStyle v)
{
    FStyle = v;
    for (auto *l : {FLeftLine.get(), FTopLine.get(), FRightLine.get(), FBottomLine.get()})
        l->SetStyle(v);
}

void TkvlFrame::SetWidth(double v)
{
    FWidth = v;
    for (auto *l : {FLeftLine.get(), FTopLine.get(), FRightLine.get(), FBottomLine.get()})
        l->SetWidth(v);
}

// --- drawing ---------------------------------------------------------------------------

int kvlRoundClamped(double v, int limit)
{
    if (std::isnan(v))
        return 0;
    const double l = double(limit);
    return int(rtl::Round(std::clamp(v, -l, l)));
}

void kvlDrawThickLine(TCanvas *Canvas, int X, int Y, int X1, int Y1, int W)
{
    if (W == 0)
        W = 1;
    const int last = W / 2 - (W % 2 == 0 ? 1 : 0);
    const bool alongX = std::abs(X1 - X) > std::abs(Y1 - Y);
    for (int i = (-W) / 2; i <= last; ++i) {
        if (alongX) {
            Canvas->moveTo(X, Y + i);
            Canvas->lineTo(X1, Y1 + i);
        } else {
            Canvas->moveTo(X + i, Y);
            Canvas->lineTo(X1 + i, Y1);
        }
    }
}

namespace {
constexpr TColor kNone = gfx::kColorNone;   // "no colour"

// A pen of width w with square ends, filled in the line colour.
gfx::Pen geometricPen(TColor color, int w, gfx::PenCap cap)
{
    gfx::Pen p;
    p.color = color;
    p.width = w;
    p.geometric = true;
    p.cap = cap;
    p.join = gfx::PenJoin::Miter;
    return p;
}
} // namespace

void TkvlFrame::DrawSide(TCanvas *C, int x, int y, int x1, int y1, const TkvlFrameLine &Line,
                         TkvlFrameType Side, bool StartJoined, bool EndJoined, double ScaleX, int Limit)
{
    const int w = kvlRoundClamped(Line.Width() * ScaleX, Limit);
    const bool horizontal = Side == ftTop || Side == ftBottom;
    const TkvlFrameStyle style = Line.Style();
    if (style == fsSolid || style == fsDouble) {
        // A free end is pulled in so that it does not stick out past the frame corner.
        const int a = StartJoined ? 0 : 1, b = EndJoined ? 0 : 1;
        if (horizontal) {
            x += (w * a) / 2;
            x1 -= (w * b) / 2;
        } else {
            y += (w * a) / 2;
            y1 -= (w * b) / 2;
        }
    }
    switch (style) {
    case fsSolid: {
        if (w <= 0) {   // no pen of that width: the current pen draws it
            C->moveTo(x, y);
            C->lineTo(x1, y1);
            break;
        }
        const gfx::Pen saved = C->pen();
        const gfx::Brush savedBrush = C->brush();
        C->setPen(geometricPen(Line.Color(), w, gfx::PenCap::Square));
        C->brush() = {Line.Color(), bsSolid};
        C->moveTo(x, y);
        C->lineTo(x1, y1);
        C->setPen(saved);
        C->setBrush(savedBrush);
        break;
    }
    case fsDouble: {
        int d1 = StartJoined ? w : 0, d2 = EndJoined ? w : 0;
        int e1 = -d1, e2 = -d2;
        if (Side == ftLeft || Side == ftTop) {
            d1 = -d1; d2 = -d2; e1 = -e1; e2 = -e2;
        }
        if (!horizontal) {
            C->moveTo(x - w, y + d1);
            C->lineTo(x1 - w, y1 - d2);
            C->moveTo(x + w, y + e1);
            C->lineTo(x1 + w, y1 - e2);
        } else {
            C->moveTo(x + d1, y - w);
            C->lineTo(x1 - d2, y1 - w);
            C->moveTo(x + e1, y + w);
            C->lineTo(x1 - e2, y1 + w);
        }
        break;
    }
    case fsDash:
    case fsDot:
    case fsDashDot:
    case fsDashDotDot:
        kvlDrawThickLine(C, x, y, x1, y1, w);
        break;
    case fsAltDot:
    case fsSquare: {
        const gfx::Pen saved = C->pen();
        const gfx::Brush savedBrush = C->brush();
        const int ww = std::min(w, 0x7FFF);   // dash entries hold up to 2w
        gfx::Pen p = geometricPen(Line.Color(), std::max(ww, 1), gfx::PenCap::Flat);
        p.style = psUserStyle;
        p.dashCount = 2;
        if (ww <= 1) {
            p.dashes = {1, 1};
        } else if (style == fsSquare) {
            p.dashes = {uint16_t(ww), uint16_t(ww)};
        } else {
            p.dashes = {0, uint16_t(2 * ww)};
            p.cap = gfx::PenCap::Round;
        }
        C->setPen(p);
        C->brush() = {Line.Color(), bsSolid};
        C->moveTo(x, y);
        C->lineTo(x1, y1);
        C->setPen(saved);
        C->setBrush(savedBrush);
        break;
    }
    }
}

void TkvlFrame::Draw(TCanvas *C, int X, int Y, int X1, int Y1, double ScaleX, double ScaleY)
{
    // No width may exceed the drawn rectangle: an absurd width would otherwise draw
    // millions of lines.
    const int limit = std::max(std::abs(X1 - X), std::abs(Y1 - Y)) + 1;
    if (FDropShadow) {
        C->pen().style = psSolid;
        C->pen().color = FShadowColor;
        const int sx = kvlRoundClamped(FShadowWidth * ScaleX, limit);
        kvlDrawThickLine(C, X1 + sx / 2, Y + sx, X1 + sx / 2, Y1, sx);
        const int sy = kvlRoundClamped(FShadowWidth * ScaleY, limit);
        kvlDrawThickLine(C, X + sy, Y1 + sy / 2, X1 + sy, Y1 + sy / 2, sy);
    }
    if (FTyp == 0 || FColor == kNone || FWidth == 0)
        return;
    C->brush().style = FStyle == fsSolid ? bsSolid : bsClear;

    auto setPen = [&](const TkvlFrameLine &line) {
        gfx::Pen &p = C->pen();
        p.color = line.Color();
        p.geometric = false;
        p.cap = gfx::PenCap::Round;
        p.dashCount = 0;
        if (line.Style() == fsSolid || line.Style() == fsDouble) {
            p.style = psSolid;
            p.width = kvlRoundClamped(line.Width() * ScaleX, limit);
        } else {
            p.style = TPenStyle(line.Style());
            p.width = 1;
        }
        return p.width;
    };
    const bool notSolid = FStyle != fsSolid;
    if (Has(ftLeft)) {
        const int pw = setPen(*FLeftLine);
        const int k = pw == 2 && notSolid ? 1 : 0;
        DrawSide(C, X, Y - k, X, Y1, *FLeftLine, ftLeft, Has(ftTop), Has(ftBottom), ScaleX, limit);
    }
    if (Has(ftRight)) {
        setPen(*FRightLine);
        DrawSide(C, X1, Y, X1, Y1, *FRightLine, ftRight, Has(ftTop), Has(ftBottom), ScaleX, limit);
    }
    if (Has(ftTop)) {
        setPen(*FTopLine);
        DrawSide(C, X, Y, X1, Y, *FTopLine, ftTop, Has(ftLeft), Has(ftRight), ScaleX, limit);
    }
    if (Has(ftBottom)) {
        const int pw = setPen(*FBottomLine);
        const int k = pw == 1 && notSolid ? 1 : 0;
        DrawSide(C, X, Y1, X1 + k, Y1, *FBottomLine, ftBottom, Has(ftLeft), Has(ftRight), ScaleX, limit);
    }
}
