// Sizes, drawing and splitting of memos: everything that goes through the text layout.
#include "report/memo/kvlmemo.h"

#include "platform/gfx/canvas.h"
#include "report/data/kvldataset.h"
#include "report/views/viewdraw.h"

#include <cmath>

namespace {

const QRect &bigRect()
{
    static const QRect r(0, 0, 10000, 10000);
    return r;
}

} // namespace

namespace {

// Room around the text along one axis: both gaps, the inner halves of the two frame lines,
// and the shadow.
double adjustment(const TkvlFrame *f, double Gap, TkvlFrameType Before, TkvlFrameType After)
{
    double d = 2 * Gap;
    if (f->Typ() & kvlFrameBit(Before))
        d += (f->Width() - 1) / 2;
    if (f->Typ() & kvlFrameBit(After))
        d += f->Width() / 2;
    if (f->DropShadow())
        d += f->ShadowWidth();
    return d;
}

} // namespace

double TkvlCustomMemoView::AdjustCalcHeight() const
{
    return adjustment(Frame(), GapY, ftTop, ftBottom);
}

double TkvlCustomMemoView::AdjustCalcWidth() const
{
    return adjustment(Frame(), GapX, ftLeft, ftRight);
}

void TkvlCustomMemoView::SetLayoutParams(TkvlDrawText &L) const
{
    L.SetUseDefaultCharset(UseDefaultCharset);
    L.SetMonoFont(DrawAsMask);
    L.SetFont(*Font());
    L.SetOptions(WordWrap, AllowHTMLTags, RTLReading, WordBreak, Clipped, Wysiwyg, FRotation);
    L.SetGaps(ParagraphGap, CharSpacing, LineSpacing);
}

double TkvlCustomMemoView::CalcHeight()
{
    TkvlGraphLock lock;
    TkvlDrawText &L = LayoutObject();
    SetLayoutParams(L);
    QRect r = bigRect();
    if (!AutoWidth) {
        BeginDrawAtScaleOne();
        r = TextRect;
    }
    L.SetDimensions(1, 1, 1, r, r);
    L.SetText(FMemo, false);
    return std::nearbyint(L.CalcHeight() + adjustment(Frame(), GapY, ftTop, ftBottom));
}

double TkvlCustomMemoView::CalcWidth()
{
    TkvlGraphLock lock;
    TkvlDrawText &L = LayoutObject();
    SetLayoutParams(L);
    L.SetDimensions(1, 1, 1, bigRect(), bigRect());
    L.SetText(FMemo, false);
    return std::nearbyint(L.CalcWidth() + AdjustCalcWidth());
}

void TkvlCustomMemoView::BeginDraw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX,
                                   double AOffsetY)
{
    TkvlStretcheable::BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
    const TkvlFrame *f = Frame();
    const double w = f->Width();
    // The view's rectangle already leaves the shadow out.
    int left = X, top = Y, right = X1, bottom = Y1;
    if (f->Typ() & kvlFrameBit(ftLeft))
        left += kvlRnd((AScaleX * w - 1) / 2);
    if (f->Typ() & kvlFrameBit(ftRight))
        right -= kvlRnd(AScaleX * w / 2);
    if (f->Typ() & kvlFrameBit(ftTop))
        top += kvlRnd((AScaleY * w - 1) / 2);
    if (f->Typ() & kvlFrameBit(ftBottom))
        bottom -= kvlRnd(AScaleY * w / 2);
    const int gx = kvlRnd(AScaleX * GapX), gy = kvlRnd(AScaleY * GapY);
    const int l = left + gx, t = top + gy, r = right - gx + 1, b = bottom - gy + 1;
    TextRect = QRect(l, t, r - l, b - t);
}

void TkvlCustomMemoView::BeginDrawAtScaleOne()
{
    const TkvlFrame *f = Frame();
    ScaleOneRect &c = FScaleOne;
    const double absLeft = GetAbsLeft(), absTop = GetAbsTop();
    if (c.valid && c.absLeft == absLeft && c.absTop == absTop && c.width == Width() && c.height == Height()
        && c.gapX == GapX && c.gapY == GapY && c.frameWidth == f->Width() && c.frameTyp == int(f->Typ())
        && c.dropShadow == f->DropShadow() && c.shadowWidth == f->ShadowWidth()) {
        Canvas = nullptr;
        ScaleX = ScaleY = 1;
        OffsetX = OffsetY = 0;
        X = c.x;
        Y = c.y;
        X1 = c.x1;
        Y1 = c.y1;
        DX = X1 - X;
        DY = Y1 - Y;
        FrameWidth = c.frameW;
        TextRect = c.textRect;
        return;
    }
    BeginDraw(nullptr, 1, 1, 0, 0);
    c = {absLeft, absTop,   Width(), Height(), GapX, GapY, f->Width(), f->ShadowWidth(), int(f->Typ()),
         f->DropShadow(), X, Y, X1, Y1, FrameWidth, TextRect, true};
}

void TkvlCustomMemoView::SetDrawParams(TkvlDrawText &L, TCanvas *ACanvas, double AScaleX, double AScaleY,
                                       double AOffsetX, double AOffsetY)
{
    SetLayoutParams(L);
    if (!IsDesigning && AutoWidth) {
        L.SetDimensions(1, 1, 1, bigRect(), bigRect());
        L.SetText(FMemo, false);
        const double oldWidth = Width();
        const double newWidth = L.CalcWidth() + AdjustCalcWidth();
        SetWidth(newWidth);
        if (HAlign == haRight)
            SetLeft(Left() + oldWidth - newWidth);
        else if (HAlign == haCenter)
            SetLeft(Left() + (oldWidth - newWidth) / 2);
        if (TkvlComponent *p = Parent())
            p->AlignChildren();
    }
    // At scale 1 first, so that the device rectangle left behind is the real one.
    BeginDraw(ACanvas, 1, 1, 0, 0);
    const QRect original = TextRect;
    BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
    if (!IsPrinting)
        PrintScale = 1;
    L.SetDimensions(AScaleX, AScaleY, PrintScale, original, TextRect);
    L.SetText(FMemo, FirstParaBreak);
    L.SetParaBreaks(FirstParaBreak, LastParaBreak);
}

void TkvlCustomMemoView::Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY)
{
    TkvlWideStrings saved;
    const bool placeholder = IsDesigning && IsDataField();
    if (placeholder) {
        saved.Assign(FMemo);
        FMemo.Clear();
        FMemo.Add(QStringLiteral("[%1.\"%2\"]").arg(DataSet()->UserName(), DataField));
    } else if (!IsDesigning) {
        ExtractMacros();
    }
    {
        TkvlGraphLock lock;
        TkvlDrawText &L = LayoutObject();
        SetDrawParams(L, ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
        DrawBackground();
        DrawFrame();
        if (Underlines && FRotation == 0)
            DrawUnderlines(L);
        L.DrawText(ACanvas, HAlign, VAlign);
    }
    if (placeholder)
        FMemo.Assign(saved);
}

void TkvlCustomMemoView::DrawUnderlines(TkvlDrawText &L)
{
    if (!Canvas)
        return;
    gfx::Pen pen;
    pen.color = Frame()->Color();
    pen.width = std::max(1, FrameWidth);
    pen.style = psSolid;
    Canvas->setPen(pen);
    Canvas->setRasterOp(gfx::RasterOp::Copy);
    const double step = L.LineHeight() * ScaleY;
    if (step <= 0)
        return;
    const double y0 = Y + (GapY - LineSpacing + 1) * ScaleY;
    for (int k = 1;; ++k) {
        const int y = kvlRnd(y0 + k * step);
        if (y >= Y1)
            break;
        DrawLine(X, y, X1, y, FrameWidth);
    }
}

QString TkvlCustomMemoView::WrapText(bool WrapWords)
{
    TkvlGraphLock lock;
    TkvlDrawText &L = LayoutObject();
    SetDrawParams(L, nullptr, 1, 1, 0, 0);
    if (WrapWords) {
        QString t = L.GetWrappedText();
        if (t.endsWith(QLatin1String("\r\n")))
            t.chop(2);
        return t;
    }
    QString t = Text();
    if (t.endsWith(QLatin1String("\r\n")))
        t.chop(2);
    return TkvlDrawText::DeleteTags(t);
}

void TkvlCustomMemoView::InitPart()
{
    FPartMemo = Text();
    FirstParaBreak = false;
    LastParaBreak = false;
}

double TkvlCustomMemoView::DrawPart()
{
    TkvlGraphLock lock;
    TkvlDrawText &L = LayoutObject();
    SetText(FPartMemo);
    SetDrawParams(L, nullptr, 1, 1, 0, 0);
    double unused = L.UnusedSpace();
    const double height = Height();
    // On an empty page the first line goes in anyway, cut at the bottom: waiting for more room
    // would make pages without end.
    const bool force = unused == 0 && SpaceEmpty() && L.LineCount() > 0;
    if (force) {
        for (int grow = 1; unused == 0 && grow <= 64; ++grow) {
            SetHeight(height + grow * std::max(1.0, L.LineHeight()));
            SetDrawParams(L, nullptr, 1, 1, 0, 0);
            unused = L.UnusedSpace();
        }
    }
    bool paraBreak = false;
    FPartMemo = L.GetOutBoundsText(paraBreak);
    SetText(L.GetInBoundsText());
    LastParaBreak = paraBreak;
    if (force) {
        SetHeight(height);
        return 0.0001;
    }
    return unused == 0 ? height : unused;
}
