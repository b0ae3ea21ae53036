// Page content: the page's colour and frame, and every exported view as drawing operators.
#include "export/pdf/pdfexport.h"
#include "export/pdf/pdftext.h"

#include "platform/rtl/color.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/views/kvlcheckbox.h"
#include "report/views/kvlline.h"
#include "report/views/kvlshape.h"
#include "report/views/kvlview.h"

#include <algorithm>
#include <cmath>

using pdf::ln;
using pdf::num;

namespace {
constexpr double kDivider = 0.75;
constexpr double kMmToPt = 2.8346456692913384;
constexpr double kPxPerMm = 3.77953;
constexpr double kKappa1 = 1.5522847498, kKappa2 = 0.4477152502;
} // namespace

double TkvlPDFExport::GetLeft(double px) const { return px * kDivider + FMarginLeft; }
double TkvlPDFExport::GetTop(double py) const { return FHeight - FMarginTop - py * kDivider; }

QByteArray TkvlPDFExport::GetPDFColor(TColor Color)
{
    if (Color == 0)
        return QByteArrayLiteral("0 0 0");
    if (Color == 0xFFFFFF)
        return QByteArrayLiteral("1 1 1");
    if (Color == FLastColor)
        return FLastColorResult;
    const TColor c = rtl::ColorToRGB(Color);
    QByteArray s;
    pdf::appendNum(s, rtl::GetRValue(c) / 255.0);
    s += ' ';
    pdf::appendNum(s, rtl::GetGValue(c) / 255.0);
    s += ' ';
    pdf::appendNum(s, rtl::GetBValue(c) / 255.0);
    FLastColor = Color;
    FLastColorResult = s;
    return s;
}

void TkvlPDFExport::AppendDash(TkvlFrameStyle Style, double Width)
{
    pdf::Writer w(FContent);
    // A pattern of zero lengths is not allowed: a line without width is drawn solid.
    if (Width <= 0 || Style == fsSolid || Style == fsDouble || Style == fsAltDot || Style == fsSquare) {
        w << "[] 0 d" << ln;
        return;
    }
    const double d = Width * 6, g = Width * 2;
    w << "[";
    switch (Style) {
    case fsDash: w << num(d) << ' '; break;
    case fsDot: w << num(g) << ' ' << num(d) << ' '; break;
    case fsDashDot: w << num(d) << ' ' << num(d) << ' ' << num(g) << ' ' << num(d) << ' '; break;
    case fsDashDotDot:
        w << num(d) << ' ' << num(d) << ' ' << num(g) << ' ' << num(d) << ' ' << num(g) << ' ' << num(d) << ' ';
        break;
    default: break;
    }
    w << "] 0 d" << ln;
}

void TkvlPDFExport::DrawFrameLine(TColor Color, TkvlFrameStyle Style, double Width, double X1, double Y1,
                                  double X2, double Y2)
{
    pdf::Writer w(FContent);
    w << GetPDFColor(Color) << " RG" << ln;
    AppendDash(Style, Width);
    w << num(Width * kDivider) << " w" << ln << num(X1) << ' ' << num(Y1) << " m" << ln << num(X2) << ' ' << num(Y2)
      << " l" << ln << "S" << ln;
}

void TkvlPDFExport::DrawPageDecorations(TkvlPage *Page)
{
    auto *p = rtl_cast<TkvlReportPage>(Page);
    if (!p)
        return;
    pdf::Writer w(FContent);
    if (p->Color() != clNone) {
        const double x1 = p->LeftMargin * kMmToPt, y1 = p->BottomMargin * kMmToPt;
        const double x2 = FWidth - p->RightMargin * kMmToPt, y2 = FHeight - p->TopMargin * kMmToPt;
        const QByteArray c = GetPDFColor(p->Color());
        w << num(0) << " w" << ln << c << " RG" << ln << c << " rg" << ln << num(x1) << ' ' << num(y1) << " m" << ln
          << num(x2) << ' ' << num(y1) << " l" << ln << num(x2) << ' ' << num(y2) << " l" << ln << num(x1) << ' '
          << num(y2) << " l" << ln << "B" << ln;
    }
    const TkvlFrame *f = p->Frame();
    if (!f || f->Typ() == 0 || f->Color() == clNone)
        return;
    const double L = p->LeftMargin * kPxPerMm * kDivider, B = p->BottomMargin * kPxPerMm * kDivider;
    const double T = (p->Height() - p->TopMargin * kPxPerMm) * kDivider;
    const double R = (p->Width() - p->RightMargin * kPxPerMm) * kDivider;
    auto pw = [&](TkvlFrameType t, const TkvlFrameLine *l) { return f->Has(t) ? l->Width() * kDivider : 0.0; };
    const double wL = pw(ftLeft, f->LeftLine()), wR = pw(ftRight, f->RightLine());
    const double wT = pw(ftTop, f->TopLine()), wB = pw(ftBottom, f->BottomLine());
    auto side = [&](TkvlFrameType t, const TkvlFrameLine *l, double x1, double y1, double x2, double y2) {
        if (!f->Has(t))
            return;
        if (l->Style() != fsDouble) {
            DrawFrameLine(l->Color(), l->Style(), l->Width(), x1, y1, x2, y2);
            return;
        }
        const double lw = l->Width() * kDivider;
        auto line = [&](double a1, double b1, double a2, double b2) {
            DrawFrameLine(l->Color(), l->Style(), l->Width(), a1, b1, a2, b2);
        };
        switch (t) {
        case ftLeft:
            line(L - lw, T + wT, L - lw, B - wB);
            line(L + lw, T - wT, L + lw, B + wB);
            break;
        case ftRight:
            line(R + lw, T + wT, R + lw, B - wB);
            line(R - lw, T - wT, R - lw, B + wB);
            break;
        case ftTop:
            line(L - 1.5 * wL, T + lw, R + 1.5 * wR, T + lw);
            line(L + 0.5 * wL, T - lw, R - 0.5 * wR, T - lw);
            break;
        case ftBottom:
            line(L - 1.5 * wL, B - lw, R + 1.5 * wR, B - lw);
            line(L + 0.5 * wL, B + lw, R - 0.5 * wR, B + lw);
            break;
        }
    };
    side(ftLeft, f->LeftLine(), L, T, L, B);
    side(ftRight, f->RightLine(), R, T, R, B);
    side(ftTop, f->TopLine(), L, T, R, T);
    side(ftBottom, f->BottomLine(), L, B, R, B);
}

void TkvlPDFExport::AddObject(TkvlView *View)
{
    AddLink(View);
    if (auto *memo = rtl_cast<TkvlCustomMemoView>(View)) {
        const TBrushStyle brush = memo->FillType() == ftBrush ? memo->BrushStyle() : bsClear;
        const bool tags = memo->AllowHTMLTags && HTMLTags && memo->Text().contains(QLatin1Char('<'));
        if ((brush == bsSolid || brush == bsClear) && !tags) {
            AddMemoText(memo);
            return;
        }
    }
    if (auto *line = rtl_cast<TkvlCustomLineView>(View)) {
        AddLine(line);
        return;
    }
    if (auto *shape = rtl_cast<TkvlShapeView>(View)) {
        AddShape(shape);
        return;
    }
    if (auto *check = rtl_cast<TkvlCheckBoxView>(View)) {
        AddCheckBox(check);
        return;
    }
    if ((View->Name() == QLatin1String("_pagebackground") && !Background) || View->Width() <= 0 ||
        View->Height() <= 0) {
        MakeUpFrames(View);
        return;
    }
    AddPictureObject(View);
}

void TkvlPDFExport::MakeUpFrames(TkvlView *View)
{
    const TkvlFrame *f = View->Frame();
    if (!f || f->Typ() == 0 || f->Color() == clNone)
        return;
    const double X0 = View->GetAbsLeft(), Y0 = View->GetAbsTop(), W = View->Width(), H = View->Height();
    auto half = [&](TkvlFrameType t, const TkvlFrameLine *l) {
        return f->Has(t) && l->Width() > 1 ? l->Width() / 2 : 0.0;
    };
    auto full = [&](TkvlFrameType t, const TkvlFrameLine *l) {
        return f->Has(t) && l->Width() > 1 ? l->Width() : 0.0;
    };
    const double hL = half(ftLeft, f->LeftLine()), hR = half(ftRight, f->RightLine());
    const double hT = half(ftTop, f->TopLine()), hB = half(ftBottom, f->BottomLine());
    const double kL = full(ftLeft, f->LeftLine()), kR = full(ftRight, f->RightLine());
    const double kB = full(ftBottom, f->BottomLine());
    const bool shadow = f->DropShadow();
    const double SW = shadow ? f->ShadowWidth() : 0;
    const double R = X0 + W - SW, Bt = Y0 + H - SW;

    const double outerLeft = X0 - hL, outerTop = Y0 - hT;
    const double innerLeft = X0 + hL + 2, innerTop = Y0 + hT + 2;
    const double XL = X0 - kL;
    const double XR = shadow ? X0 + W - SW : X0 + W + kR;
    const double outerRight = shadow ? X0 + W - hR - SW : X0 + W + hR;
    const double outerBottom = shadow ? Y0 + H - hB - SW : Y0 + H + hB;
    const double innerRight = shadow ? X0 + W - 1.5 * kR - SW - 2 : X0 + W - hR - 2;
    const double innerBottom = shadow ? Y0 + H - 1.5 * kB - SW - 2 : Y0 + H - hB - 2;
    const double XI = shadow ? X0 + W - kR - SW - 2 : X0 + W - 2;
    const double vFrom = f->Has(ftTop) ? innerTop : outerTop;
    const double vTo = f->Has(ftBottom) ? innerBottom : outerBottom;
    const double hFrom = f->Has(ftLeft) ? X0 + 2 : XL;
    const double hTo = f->Has(ftRight) ? XI : XR;

    auto line = [&](const TkvlFrameLine *l, double x1, double y1, double x2, double y2) {
        DrawFrameLine(l->Color(), l->Style(), l->Width(), GetLeft(x1), GetTop(y1), GetLeft(x2), GetTop(y2));
    };
    if (f->Has(ftLeft)) {
        const TkvlFrameLine *l = f->LeftLine();
        if (l->Style() == fsDouble) {
            line(l, outerLeft, outerTop, outerLeft, outerBottom);
            line(l, innerLeft, vFrom, innerLeft, vTo);
        } else {
            line(l, X0, Y0, X0, Bt);
        }
    }
    if (f->Has(ftRight)) {
        const TkvlFrameLine *l = f->RightLine();
        if (l->Style() == fsDouble) {
            line(l, outerRight, outerTop, outerRight, outerBottom);
            line(l, innerRight, vFrom, innerRight, vTo);
        } else {
            line(l, R, Y0, R, Bt);
        }
    }
    if (f->Has(ftTop)) {
        const TkvlFrameLine *l = f->TopLine();
        if (l->Style() == fsDouble) {
            line(l, XL, outerTop, XR, outerTop);
            line(l, hFrom, innerTop, hTo, innerTop);
        } else {
            line(l, X0 - hL, Y0, R + hR, Y0);
        }
    }
    if (f->Has(ftBottom)) {
        const TkvlFrameLine *l = f->BottomLine();
        if (l->Style() == fsDouble) {
            line(l, XL, outerBottom, XR, outerBottom);
            line(l, hFrom, innerBottom, hTo, innerBottom);
        } else {
            line(l, X0 - hL, Bt, R + hR, Bt);
        }
    }
}

void TkvlPDFExport::AddLine(TkvlCustomLineView *Line)
{
    const TkvlFrame *f = Line->Frame();
    const double x1 = GetLeft(Line->GetAbsLeft()), y1 = GetTop(Line->GetAbsTop());
    const double x2 = GetLeft(Line->GetAbsLeft() + Line->Width()), y2 = GetTop(Line->GetAbsTop() + Line->Height());
    AppendDash(f->Style(), f->Width());
    pdf::Writer w(FContent);
    w << GetPDFColor(f->Color()) << " RG" << ln << num(f->Width() * kDivider) << " w" << ln << num(x1) << ' '
      << num(y1) << " m" << ln << num(x2) << ' ' << num(y2) << " l" << ln << "S" << ln;
    if (Line->ArrowStart)
        DrawArrow(Line, x1, y1, x2, y2);
    if (Line->ArrowEnd)
        DrawArrow(Line, x2, y2, x1, y1);
}

void TkvlPDFExport::DrawArrow(TkvlCustomLineView *Line, double TipX, double TipY, double OtherX, double OtherY)
{
    const double dx = OtherX - TipX, dy = OtherY - TipY;
    const double len = std::hypot(dx, dy);
    if (!(len > 0))
        return;   // a line of no length has no direction to point in
    const double l = Line->ArrowLength * kDivider, h = Line->ArrowWidth * kDivider;
    const double ux = dx / len, uy = dy / len;
    const double bx = TipX + ux * l, by = TipY + uy * l;
    // Across the line: horizontal for a vertical line, vertical for a horizontal one.
    const double px = uy * h, py = -ux * h;
    const TkvlFrame *f = Line->Frame();
    AppendDash(f->Style(), f->Width());
    pdf::Writer w(FContent);
    w << num(bx + px) << ' ' << num(by + py) << " m" << ln << num(TipX) << ' ' << num(TipY) << " l" << ln
      << num(bx - px) << ' ' << num(by - py) << " l" << ln;
    if (Line->ArrowSolid)
        w << "1 j" << ln << GetPDFColor(f->Color()) << " rg" << ln << "b" << ln;
    else
        w << "S" << ln;
}

void TkvlPDFExport::AddShape(TkvlShapeView *Shape)
{
    const TkvlFrame *f = Shape->Frame();
    const double X0 = Shape->GetAbsLeft(), Y0 = Shape->GetAbsTop(), W = Shape->Width(), H = Shape->Height();
    const double left = GetLeft(X0), top = GetTop(Y0), right = GetLeft(X0 + W), bottom = GetTop(Y0 + H);
    const double cx = GetLeft(X0 + W / 2), cy = GetTop(Y0 + H / 2);
    const bool filled = Shape->Color() != clNone;
    pdf::Writer w(FContent);
    AppendDash(f->Style(), f->Width());
    w << GetPDFColor(f->Color()) << " RG" << ln << num(f->Width() * kDivider) << " w" << ln;
    auto pt = [&](double x, double y) { w << num(x) << ' ' << num(y) << ' '; };
    auto fill = [&] {
        if (filled)
            w << GetPDFColor(Shape->Color()) << " rg" << ln;
    };
    switch (Shape->Shape) {
    case skRectangle:
        fill();
        w << num(left) << ' ' << num(bottom) << ' ' << ln << num(W * kDivider) << ' ' << num(H * kDivider) << " re"
          << ln;
        break;
    case skRoundRectangle: {
        fill();
        const double r = Shape->Curve == 0 ? 7.48 : Shape->Curve * 3.74, c = r / 2;
        const double L = X0, T = Y0, R = X0 + W, B = Y0 + H;
        auto p = [&](double x, double y) { pt(GetLeft(x), GetTop(y)); };
        p(L + r, B); w << "m" << ln;
        p(R - r, B); w << "l" << ln;
        p(R - c, B); p(R, B - c); p(R, B - r); w << "c" << ln;
        p(R, T + r); w << "l" << ln;
        p(R, T + c); p(R - c, T); p(R - r, T); w << "c" << ln;
        p(L + r, T); w << "l" << ln;
        p(L + c, T); p(L, T + c); p(L, T + r); w << "c" << ln;
        p(L, B - r); w << "l" << ln;
        p(L, B - c); p(L + c, B); p(L + r, B); w << "c" << ln;
        break;
    }
    case skEllipse: {
        fill();
        const double a = W / 2, b = H / 2;
        auto p = [&](double x, double y) { pt(GetLeft(X0 + x), GetTop(Y0 + y)); };
        p(2 * a, b); w << "m" << ln;
        p(2 * a, kKappa1 * b); p(kKappa1 * a, 2 * b); p(a, 2 * b); w << "c" << ln;
        p(kKappa2 * a, 2 * b); p(0, kKappa1 * b); p(0, b); w << "c" << ln;
        p(0, kKappa2 * b); p(kKappa2 * a, 0); p(a, 0); w << "c" << ln;
        p(kKappa1 * a, 0); p(2 * a, kKappa2 * b); p(2 * a, b); w << "c" << ln;
        break;
    }
    case skTriangle:
        fill();
        pt(cx, top); w << "m ";
        pt(right, bottom); w << "l ";
        pt(left, bottom); w << "l ";
        pt(cx, top); w << "l" << ln;
        break;
    case skDiamond:
        fill();
        pt(cx, top); w << "m ";
        pt(right, cy); w << "l ";
        pt(cx, bottom); w << "l ";
        pt(left, cy); w << "l ";
        pt(cx, top); w << "l" << ln;
        break;
    case skDiagonal1:
        pt(left, bottom); w << "m" << ln;
        pt(right, top); w << "l" << ln << "S" << ln;
        return;
    case skDiagonal2:
        pt(left, top); w << "m" << ln;
        pt(right, bottom); w << "l" << ln << "S" << ln;
        return;
    }
    w << (filled ? "B" : "S") << ln;
}

void TkvlPDFExport::AddCheckBox(TkvlCheckBoxView *Check)
{
    const TkvlFrame *f = Check->Frame();
    const double X0 = Check->GetAbsLeft(), Y0 = Check->GetAbsTop(), W = Check->Width(), H = Check->Height();
    const double c = std::min(W, H) / 2, e = (W - c) / 2, v = (H - c) / 2;
    const double fw = f->Width();
    pdf::Writer w(FContent);
    w << "[] 0 d" << ln << GetPDFColor(Check->CheckColor) << " RG" << ln << num(fw * kDivider * 2) << " w "
      << GetPDFColor(Check->Color()) << " rg" << ln;
    auto seg = [&](double x1, double y1, double x2, double y2) {
        w << num(GetLeft(x1)) << ' ' << num(GetTop(y1)) << " m " << num(GetLeft(x2)) << ' ' << num(GetTop(y2))
          << " l ";
    };
    bool mark = true;
    const bool cross = Check->Checked ? Check->CheckStyle == csCross : Check->UncheckStyle == usCross;
    const bool lineCross = Check->Checked ? Check->CheckStyle == csLineCross : Check->UncheckStyle == usLineCross;
    if (cross) {
        w << num(fw * kDivider * 6) << " w 2 J ";
        seg(X0 + e, Y0 + v, X0 + W - e, Y0 + H - v);
        seg(X0 + W - e, Y0 + v, X0 + e, Y0 + H - v);
    } else if (Check->Checked && Check->CheckStyle == csCheck) {
        w << num(H * fw * kDivider / 10) << " w 2 J ";
        w << num(GetLeft(X0 + e)) << ' ' << num(GetTop(Y0 + H / 2)) << " m " << num(GetLeft(X0 + e + c / 3)) << ' '
          << num(GetTop(Y0 + H - v)) << " l " << num(GetLeft(X0 + e + c)) << ' ' << num(GetTop(Y0 + v - c / 4))
          << " l ";
    } else if (lineCross) {
        seg(X0, Y0, X0 + W, Y0 + H);
        seg(X0 + W, Y0, X0, Y0 + H);
    } else if (Check->Checked && Check->CheckStyle == csPlus) {
        seg(X0 + 4, Y0 + H / 2, X0 + W - 4, Y0 + H / 2);
        seg(X0 + W / 2, Y0 + 4, X0 + W / 2, Y0 + H - 4);
    } else if (!Check->Checked && Check->UncheckStyle == usMinus) {
        seg(X0 + 4, Y0 + H / 2, X0 + W - 4, Y0 + H / 2);
    } else {
        mark = false;
    }
    if (mark)
        w << ln << (Check->Color() == clNone ? "S" : "B") << ln;

    auto side = [&](TkvlFrameType t, const TkvlFrameLine *l, double x1, double y1, double x2, double y2, double dx1,
                    double dy1, double dx2, double dy2) {
        if (!f->Has(t))
            return;
        auto stroke = [&](double a1, double b1, double a2, double b2) {
            w << GetPDFColor(l->Color()) << " RG" << ln;
            AppendDash(l->Style(), l->Width());
            w << num(l->Width() * kDivider) << " w" << ln;
            seg(a1, b1, a2, b2);
            w << ln << "S" << ln;
        };
        stroke(x1, y1, x2, y2);
        if (l->Style() == fsDouble) {
            const double d = l->Width() + 2;
            stroke(x1 + dx1 * d, y1 + dy1 * d, x2 + dx2 * d, y2 + dy2 * d);
        }
    };
    side(ftTop, f->TopLine(), X0, Y0, X0 + W, Y0, -1, -1, 1, -1);
    side(ftRight, f->RightLine(), X0 + W, Y0, X0 + W, Y0 + H, 1, -1, 1, 1);
    side(ftBottom, f->BottomLine(), X0, Y0 + H, X0 + W, Y0 + H, -1, 1, 1, 1);
    side(ftLeft, f->LeftLine(), X0, Y0, X0, Y0 + H, -1, -1, -1, 1);
}
