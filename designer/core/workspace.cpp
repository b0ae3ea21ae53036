#include "designer/core/workspace.h"

#include "designer/core/workspaceunits.h"
#include "platform/gfx/canvas.h"
#include "platform/rtl/numeric.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldialogcomponent.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/views/kvlline.h"

#include <QImage>
#include <algorithm>
#include <unordered_set>

namespace {

bool isPageOrReport(const TkvlComponent *C) { return C->Is<TkvlPage>() || C->Is<TkvlReport>(); }

// A caption font: "Tahoma" of Round(8 * scale) points.
gfx::FontDesc captionFont(double Scale, bool Bold, int Orientation = 0)
{
    gfx::FontDesc f;
    f.name = QStringLiteral("Tahoma");
    f.height = -rtl::MulDiv(int(rtl::Round(8 * Scale)), 96, 72);
    f.style = Bold ? gfx::StyleBold : 0;
    f.orientation = Orientation;
    f.color = clBlack;
    return f;
}

gfx::Pen plainPen(TColor Color, TPenStyle Style = psSolid)
{
    gfx::Pen p;
    p.color = Color;
    p.style = Style;
    p.width = 1;
    return p;
}

void drawButtonImage(TCanvas *Canvas, int Index, int X, int Y)
{
    const TImageList &images = kvlResources().GetMainButtonImages();
    if (Index < images.Count()) {
        const QImage &img = images.Image(Index);
        Canvas->drawImage(QRect(X, Y, img.width(), img.height()), img);
    }
}

} // namespace

// ---- lists ----------------------------------------------------------------------------------

bool TkvlObjectLists::IsSelected(const TkvlComponent *C) const
{
    return std::find(Selected.begin(), Selected.end(), C) != Selected.end();
}

void TkvlObjectLists::Load(TkvlPage *Page)
{
    Objects.clear();
    Selected.clear();
    if (!Page)
        return;
    Objects = Page->GetAllObjects();
    if (TkvlReport *r = Page->Report())
        Objects.push_back(r);
    Objects.push_back(Page);
    Selected.push_back(Page);
}

// ---- workspace ------------------------------------------------------------------------------

TkvlWorkspace::TkvlWorkspace()
    : FGridX(kvlWs01cm), FGridY(kvlWs01cm), FLists(&FOwnLists),
      FDialogControlClass(rtl::FindClass(u"TkvlDialogControl"))
{
    FBandHeader = 5 * kvlWs01cm;
}

TkvlWorkspace::~TkvlWorkspace() = default;

int TkvlWorkspace::px(double v) const { return int(rtl::Round(v * FScale)); }

void TkvlWorkspace::SetPageDimensions(int AWidth, int AHeight, const TkvlMargins &AMargins)
{
    FPageWidth = AWidth;
    FPageHeight = AHeight;
    FMargins = AMargins;
    SetScale(FScale);
    AdjustBands(true);
}

void TkvlWorkspace::SetScale(double Value)
{
    FScale = Value;
    if (FView)
        FView->GeometryChanged();
}

QSize TkvlWorkspace::PanelSize() const
{
    return QSize(int(rtl::Round(FPageWidth * FScale)), int(rtl::Round(FPageHeight * FScale)));
}

QRect TkvlWorkspace::WorkspaceRect() const
{
    const QSize panel = PanelSize();
    return QRect(int(rtl::Round(FMargins.Left * FScale)), int(rtl::Round(FMargins.Top * FScale)),
                 panel.width() - int(rtl::Round((FMargins.Left + FMargins.Right - 1) * FScale)),
                 panel.height() - int(rtl::Round((FMargins.Top + FMargins.Bottom - 1) * FScale)));
}

void TkvlWorkspace::UpdateBandHeader()
{
    switch (FGridType) {
    case gt1pt: FBandHeader = 16; break;
    case gt1cm: FBandHeader = 5 * kvlWs01cm; break;
    case gt1in: FBandHeader = 2 * kvlWs01in; break;
    case gtDialog: FBandHeader = 16; break;
    case gtChar: FBandHeader = kvlWsCharY; break;
    case gtNone: break;
    }
    if (!FShowBandCaptions)
        FBandHeader = 0;
}

void TkvlWorkspace::SetGridType(TkvlGridType Value)
{
    FGridType = Value;
    UpdateBandHeader();
    if (FView && !FLists->Selected.empty())
        FView->RefreshHover();
    AdjustBands(true);
    Repaint();
}

void TkvlWorkspace::SetShowBandCaptions(bool Value)
{
    FShowBandCaptions = Value;
    UpdateBandHeader();
    AdjustBands(true);
    Repaint();
}

void TkvlWorkspace::SetShowGrid(bool Value)
{
    FShowGrid = Value;
    Repaint();
}

void TkvlWorkspace::DisableUpdate()
{
    FDisableUpdate = true;
    FMode = dmSelect;
    FMode1 = TkvlDesignMode1::dmNone;
}

void TkvlWorkspace::Repaint()
{
    if (!FDisableUpdate)
        PrepareDraw();
    if (FView)
        FView->Invalidate();
}

void TkvlWorkspace::UpdateView()
{
    Repaint();
    if (OnNotifyPosition)
        OnNotifyPosition(SelectedCount() > 0 ? GetSelectionBounds() : TkvlRect{});
}

void TkvlWorkspace::DoModify()
{
    if (FModifyFlag && OnModify)
        OnModify();
    FModifyFlag = false;
}

void TkvlWorkspace::SelectionChanged()
{
    auto &sel = SelectedObjects();
    const int count = SelectedCount();
    bool grouped = false;
    for (int i = 0; i < count && !grouped; ++i)
        grouped = sel[size_t(i)]->Is<TkvlReportComponent>() && sel[size_t(i)]->GroupIndex() != 0;
    if (grouped) {
        std::unordered_set<const TkvlComponent *> selected(sel.begin(), sel.end());
        std::vector<int32_t> groups;
        for (int i = 0; i < count; ++i) {
            TkvlComponent *c = sel[size_t(i)];
            if (c->Is<TkvlReportComponent>() && c->GroupIndex() != 0)
                groups.push_back(c->GroupIndex());
        }
        for (TkvlComponent *c : Objects())
            if (c->GroupIndex() != 0 && c->Is<TkvlReportComponent>() && !selected.count(c) &&
                std::find(groups.begin(), groups.end(), c->GroupIndex()) != groups.end()) {
                sel.push_back(c);
                selected.insert(c);
            }
    }
    if (OnSelectionChanged)
        OnSelectionChanged();
    Repaint();
}

void TkvlWorkspace::EditObject()
{
    if (SelectedObjects().size() == 1 && OnEdit)
        OnEdit();
}

// ---- selection ------------------------------------------------------------------------------

int TkvlWorkspace::SelectedCount() const
{
    const auto &sel = FLists->Selected;
    if (sel.size() == 1 && isPageOrReport(sel.front()))
        return 0;
    return int(sel.size());
}

TkvlRect TkvlWorkspace::GetSelectionBounds() const
{
    const auto &sel = FLists->Selected;
    const int count = SelectedCount();
    if (count == 1) {
        const TkvlComponent *c = sel.front();
        return TkvlRect{c->Left(), c->Top(), c->Width(), c->Height()};
    }
    double l = 1e10, t = 1e10, r = -1e10, b = -1e10;
    for (int i = 0; i < count; ++i) {
        const TkvlComponent *c = sel[size_t(i)];
        const double al = c->GetAbsLeft(), at = c->GetAbsTop();
        l = std::min(l, al);
        t = std::min(t, at);
        r = std::max(r, al + c->Width());
        b = std::max(b, at + c->Height());
    }
    return TkvlRect{l, t, r - l, b - t};
}

TkvlComponent *TkvlWorkspace::GetRightBottomObject() const
{
    const auto &sel = FLists->Selected;
    const int count = SelectedCount();
    TkvlComponent *found = nullptr;
    double maxR = 0, maxB = 0;
    for (int i = 0; i < count; ++i) {
        TkvlComponent *c = sel[size_t(i)];
        const double r = c->GetAbsLeft() + c->Width(), b = c->GetAbsTop() + c->Height();
        if (r > maxR || (r == maxR && b > maxB)) {
            maxR = r;
            maxB = b;
            found = c;
        }
    }
    return found;
}

bool TkvlWorkspace::ListsEqual(const std::vector<TkvlComponent *> &A, const std::vector<TkvlComponent *> &B)
{
    return A == B;
}

void TkvlWorkspace::SelectOnly(TkvlComponent *C)
{
    auto &sel = SelectedObjects();
    sel.clear();
    sel.push_back(C ? C : static_cast<TkvlComponent *>(FPage));
}

// ---- editing --------------------------------------------------------------------------------

void TkvlWorkspace::GroupObjects()
{
    const auto &sel = SelectedObjects();
    const int count = SelectedCount();
    for (int i = 0; i < count; ++i)
        sel[size_t(i)]->SetGroupIndex(0);
    std::vector<int32_t> used;
    for (const TkvlComponent *c : Objects())
        if (c->GroupIndex() > 0)
            used.push_back(c->GroupIndex());
    std::sort(used.begin(), used.end());
    int32_t n = 1;
    for (int32_t u : used)
        if (u == n)
            ++n;
        else if (u > n)
            break;
    for (int i = 0; i < count; ++i)
        sel[size_t(i)]->SetGroupIndex(n);
}

void TkvlWorkspace::UngroupObjects()
{
    const auto &sel = SelectedObjects();
    const int count = SelectedCount();
    for (int i = 0; i < count; ++i)
        sel[size_t(i)]->SetGroupIndex(0);
}

void TkvlWorkspace::DeleteObjects()
{
    if (SelectedCount() == 0)
        return;
    auto &sel = SelectedObjects();
    // The whole selection is checked before anything goes, so a refused delete changes nothing.
    for (const TkvlComponent *c : sel)
        if (!isPageOrReport(c) && !c->HasRestriction(rfDontDelete) && c->GetIsAncestor())
            throw EDesignerError(QStringLiteral("Could not delete ") + c->Name() +
                                 QStringLiteral(", it was introduced in the ancestor report"));
    std::unordered_set<const TkvlComponent *> freed;
    const std::vector<TkvlComponent *> victims = sel;
    for (TkvlComponent *c : victims) {
        if (isPageOrReport(c) || c->HasRestriction(rfDontDelete) || freed.count(c))
            continue;
        freed.insert(c);
        for (TkvlComponent *d : c->GetAllObjects())
            freed.insert(d);
        if (FInplaceObject && freed.count(FInplaceObject))
            FInplaceObject = nullptr;
        if (FSizedBand && freed.count(static_cast<TkvlComponent *>(FSizedBand)))
            FSizedBand = nullptr;
        delete c;
    }
    auto gone = [&](TkvlComponent *c) { return freed.count(c) != 0; };
    std::erase_if(sel, gone);
    std::erase_if(Objects(), gone);
    if (sel.empty())
        sel.push_back(FPage);
    AdjustBands(true);
    FModifyFlag = true;
    DoModify();
    SelectionChanged();
}

// ---- painting -------------------------------------------------------------------------------

void TkvlWorkspace::PrepareDraw()
{
    auto *rp = rtl_cast<TkvlReportPage>(FPage);
    if (rp)
        rp->AlignChildren();
    const bool columns = rp && rp->Columns() > 1;
    for (TkvlComponent *c : Objects()) {
        c->IsDesigning = true;
        auto *b = rtl_cast<TkvlBand>(c);
        if (!b)
            continue;
        if (b->Vertical()) {
            if (b->Top() != 0)
                b->SetTop(0);
            continue;
        }
        if (b->Left() != 0)
            b->SetLeft(0);
        const int n = b->BandNumber();
        if (columns && n >= 4 && n <= 16 && b->Width() != rp->ColumnWidth * kvlWs01cm)
            b->SetWidth(rp->ColumnWidth * kvlWs01cm);
    }
}

void TkvlWorkspace::Paint(TCanvas *Canvas, int AWidth, int AHeight)
{
    DrawBackground(Canvas, AWidth, AHeight);
    if (FDisableUpdate)
        return;
    if (auto *rp = rtl_cast<TkvlReportPage>(FPage))
        rp->Draw(Canvas, FScale, FScale, -FMargins.Left * FScale, -FMargins.Top * FScale);
    DrawObjects(Canvas);
}

void TkvlWorkspace::DrawBackground(TCanvas *Canvas, int AWidth, int AHeight)
{
    const bool lined = FShowGrid && (FGridType == gt1cm || FGridType == gt1in);
    if (!lined) {  // the lined grid lays its own background
        Canvas->setBrush(gfx::Brush{FColor, bsSolid});
        Canvas->fillRect(QRect(0, 0, AWidth, AHeight));
    }
    if (!FShowGrid)
        return;
    switch (FGridType) {
    case gt1cm:
    case gt1in: DrawMM(Canvas, AWidth, AHeight); break;
    case gt1pt:
    case gtDialog:
    case gtChar: DrawPoints(Canvas, AWidth, AHeight); break;
    case gtNone: break;
    }
}

void TkvlWorkspace::DrawMM(TCanvas *Canvas, int AWidth, int AHeight)
{
    const TColor base = FGridLCD ? 0xE2E2E2 : 0xE8E8E8;
    const double step = (FGridType == gt1cm ? kvlWs01cm : kvlWs01in) * FScale;
    if (!(step > 0) || AWidth <= 0)
        return;
    // Lines in order: at each step the vertical one, then the horizontal one over it, so where two
    // cross the later step's colour shows.
    struct GridLine {
        int pos;
        QRgb color;
    };
    std::vector<GridLine> lines;
    const int limit = std::max(AWidth, AHeight);
    for (int k = 0; k * step < limit; ++k) {
        TColor color = base;
        if (k % 10 != 0) {
            if (FGridType == gt1cm && k % 5 != 0)
                continue;  // white: not drawn
            color = base + 0x101010;
        }
        lines.push_back({int(rtl::Round(k * step)), rtl::ToQColor(color).rgb()});
    }
    // A one-pixel column costs a span per row; one row holding every vertical line, copied down the
    // view, is far cheaper and also lays the background.
    QImage row(AWidth, 1, QImage::Format_RGB32);
    row.fill(rtl::ToQColor(FColor));
    auto *rowPixels = reinterpret_cast<QRgb *>(row.scanLine(0));
    for (const GridLine &l : lines)
        if (l.pos < AWidth)
            rowPixels[l.pos] = l.color;
    Canvas->setRasterOp(gfx::RasterOp::Copy);
    size_t next = 0;
    QImage across(AWidth, 1, QImage::Format_RGB32);
    for (int y = 0; y < AHeight; ++y) {
        while (next < lines.size() && lines[next].pos < y)
            ++next;
        while (next + 1 < lines.size() && lines[next + 1].pos == y)  // at a tiny zoom the last step wins
            ++next;
        if (next == lines.size() || lines[next].pos != y) {
            Canvas->drawImage(QRect(0, y, AWidth, 1), row);
            continue;
        }
        // A horizontal line: over the vertical lines of earlier steps, under those of later ones.
        across.fill(lines[next].color);  // a copy still held by the canvas stays as it was drawn
        auto *acrossPixels = reinterpret_cast<QRgb *>(across.scanLine(0));
        for (size_t i = next + 1; i < lines.size(); ++i)
            if (lines[i].pos < AWidth)
                acrossPixels[lines[i].pos] = lines[i].color;
        Canvas->drawImage(QRect(0, y, AWidth, 1), across);
    }
}

void TkvlWorkspace::DrawPoints(TCanvas *Canvas, int AWidth, int AHeight)
{
    const double sx = FGridX * FScale, sy = FGridY * FScale;
    if (!(sx > 2 && sy > 2) || AWidth <= 0)
        return;
    QImage row(AWidth, 1, QImage::Format_RGB32);
    row.fill(rtl::ToQColor(FColor));
    const QRgb dot = FGridType == gtDialog ? qRgb(0, 0, 0) : qRgb(0x80, 0x80, 0x80);
    for (int k = 0; k * sx < AWidth; ++k) {
        const int x = int(rtl::Round(k * sx));
        if (x < AWidth)
            row.setPixel(x, 0, dot);
    }
    for (int k = 0; k * sy < AHeight; ++k)
        Canvas->drawImage(QRect(0, int(rtl::Round(k * sy)), AWidth, 1), row);
}

void TkvlWorkspace::DrawObjects(TCanvas *Canvas)
{
    for (TkvlComponent *c : Objects())
        if (auto *rc = rtl_cast<TkvlReportComponent>(c))
            DrawObject(Canvas, rc);
    if (!FMouseDown)
        DrawSqares(Canvas);
}

bool TkvlWorkspace::IsDialogControl(const TkvlComponent *C) const
{
    return FDialogControlClass && C->ClassType()->inheritsFrom(FDialogControlClass);
}

bool TkvlWorkspace::HasScript(const TkvlComponent *C) const
{
    auto *rc = rtl_cast<TkvlReportComponent>(C);
    if (!rc)
        return false;
    if (!rc->OnAfterData.isEmpty() || !rc->OnAfterPrint.isEmpty() || !rc->OnBeforePrint.isEmpty() ||
        !rc->OnPreviewClick.isEmpty())
        return true;
    if (auto *b = rtl_cast<TkvlBand>(C))
        return !b->OnAfterCalcHeight.isEmpty();
    if (IsDialogControl(C)) {
        static const char16_t *const events[] = {u"OnClick",   u"OnDblClick", u"OnEnter",     u"OnExit",
                                                 u"OnKeyDown", u"OnKeyPress", u"OnKeyUp",     u"OnMouseDown",
                                                 u"OnMouseMove", u"OnMouseUp"};
        auto *obj = const_cast<TkvlComponent *>(C);
        for (const char16_t *e : events)
            if (const rtl::PropInfo *p = C->ClassType()->findProp(QStringView(e)))
                if (!p->getStr(obj).isEmpty())
                    return true;
    }
    return false;
}

void TkvlWorkspace::DrawBandCaption(TCanvas *Canvas, TkvlBand *B)
{
    const bool data = B->Is<TkvlDataBand>();
    const QString kind = kvlResources().Get(B->BandName());
    Canvas->setBkMode(gfx::BkMode::Transparent);
    Canvas->setRasterOp(gfx::RasterOp::Copy);
    Canvas->setPen(plainPen(0x808080));
    Canvas->setBrush(gfx::Brush{clWhite, bsClear});
    if (!B->Vertical()) {
        const int y1 = px(B->Top() - FBandHeader), w = px(B->Width()), y2 = px(B->Top() + B->Height());
        Canvas->rectangle(0, y1, w + 1, y2 + 1);
        if (FShowBandCaptions) {
            Canvas->setBrush(gfx::Brush{data ? TColor(0x30A7E0) : clBtnFace, bsSolid});
            Canvas->fillRect(QRect(QPoint(1, y1 + 1), QPoint(w - 1, px(B->Top()) - 1)));
        }
        Canvas->setFont(captionFont(FScale, true));
        Canvas->textOut(6, y1 + 2, kind);
        const int x = 6 + Canvas->textWidth(kind);
        Canvas->setFont(captionFont(FScale, false));
        Canvas->textOut(x, y1 + 2, QString(QStringLiteral(": ") + B->Name()));
        if (!FShowBandCaptions)
            return;
        if (auto *db = rtl_cast<TkvlDataBand>(B)) {
            QString a;
            if (db->DataSet() && db->Report())
                a = db->Report()->GetAlias(db->DataSet());
            else if (db->RowCount() != 0)
                a = QString::number(db->RowCount());
            const int tw = Canvas->textWidth(a);
            if (FScale > 0.7)
                drawButtonImage(Canvas, 53, int(rtl::Round(B->Width() * FScale - tw - 24)),
                                int(rtl::Round(2 * FScale + y1)));
            if (!a.isEmpty())
                Canvas->textOut(int(rtl::Round(B->Width() * FScale - tw - 3)), y1 + 3, a);
            if (db->Columns > 1) {
                Canvas->setPen(plainPen(clBlack, psDot));
                Canvas->setBrush(gfx::Brush{clWhite, bsClear});
                const double step = db->ColumnWidth + db->ColumnGap;
                for (int k = 1; k <= db->Columns; ++k)
                    Canvas->rectangle(int(rtl::Round(step * (k - 1) * FScale)), px(B->Top()),
                                      int(rtl::Round((step * (k - 1) + db->ColumnWidth) * FScale)),
                                      px(B->Top() + B->Height()));
            }
        } else if (auto *gh = rtl_cast<TkvlGroupHeader>(B)) {
            if (!gh->Condition.isEmpty())
                Canvas->textOut(int(rtl::Round(B->Width() * FScale - Canvas->textWidth(gh->Condition) - 3)), y1 + 3,
                                gh->Condition);
        }
        return;
    }
    const int x1 = px(B->Left() - FBandHeader);
    Canvas->rectangle(x1, 0, px(B->Left() + B->Width()) + 1, px(B->Height()));
    if (FShowBandCaptions) {
        Canvas->setBrush(gfx::Brush{data ? TColor(0xEEBB00) : clBtnFace, bsSolid});
        Canvas->fillRect(QRect(QPoint(x1 + 1, 1), QPoint(px(B->Left()) - 1, px(B->Height()) - 1)));
    }
    Canvas->setFont(captionFont(FScale, false, 900));
    const int nameWidth = Canvas->textWidth(B->Name());
    Canvas->textOut(x1 + 2, nameWidth + 4, B->Name());
    Canvas->setFont(captionFont(FScale, true, 900));
    const QString head = kind + QStringLiteral(": ");
    Canvas->textOut(x1 + 2, Canvas->textWidth(head) + nameWidth + 6, head);
}

void TkvlWorkspace::DrawScriptSign(TCanvas *Canvas, TkvlComponent *C)
{
    const double l = C->GetAbsLeft();
    double t = C->GetAbsTop();
    if (auto *b = rtl_cast<TkvlBand>(C); b && !b->Vertical())
        t += 2 - FBandHeader;
    Canvas->setRasterOp(gfx::RasterOp::Copy);
    Canvas->setPen(plainPen(clRed));
    for (int i = 0; i < 4; ++i) {
        const int x = px(l + 2 + i);
        Canvas->moveTo(x, px(t + 1 + i));
        Canvas->lineTo(x, px(t + 1 + i + 7 - 2 * i));
    }
}

void TkvlWorkspace::DrawObject(TCanvas *Canvas, TkvlReportComponent *C)
{
    C->Draw(Canvas, FScale, FScale, FOffsetX, FOffsetY);
    Canvas->setRasterOp(gfx::RasterOp::Copy);
    if (auto *b = rtl_cast<TkvlBand>(C)) {
        DrawBandCaption(Canvas, b);
    } else if (!C->Is<TkvlCustomLineView>() && !C->Is<TkvlDialogComponent>() && !IsDialogControl(C)) {
        auto *v = rtl_cast<TkvlView>(C);
        if (FShowEdges && v && !(FPage && FPage->Is<TkvlDataPage>()) && v->Frame()->Typ() != kvlFrameAll) {
            const double l = C->GetAbsLeft(), t = C->GetAbsTop();
            const double r = l + C->Width(), b = t + C->Height();
            const double strokes[8][4] = {{l, t + 3, l, t},     {l, t, l + 4, t},     {l, b - 3, l, b},
                                          {l, b, l + 4, b},     {r - 3, t, r, t},     {r, t, r, t + 4},
                                          {r - 3, b, r, b},     {r, b, r, b - 4}};
            Canvas->setPen(plainPen(clBlack));
            for (const auto &s : strokes) {
                Canvas->moveTo(px(s[0]), px(s[1]));
                Canvas->lineTo(px(s[2]), px(s[3]));
            }
        }
    }
    if (HasScript(C))
        DrawScriptSign(Canvas, C);
    if (C->GetIsAncestor())
        drawButtonImage(Canvas, 99, px(C->GetAbsLeft() + 2), px(C->GetAbsTop() + 1));
}

int TkvlWorkspace::HandleSize() const { return FScale < 0.7 ? 3 : FScale <= 1.7 ? 5 : 7; }

void TkvlWorkspace::DrawPoint(TCanvas *Canvas, double X, double Y, int N) const
{
    const int cx = px(X) - N / 2, cy = px(Y) - N / 2;
    for (int i = 0; i < N; ++i) {
        Canvas->moveTo(cx, cy + i);
        Canvas->lineTo(cx + N, cy + i);
    }
}

void TkvlWorkspace::DrawSqares(TCanvas *Canvas)
{
    const int count = SelectedCount();
    if (count == 0)
        return;
    const auto &sel = FLists->Selected;
    const int n = HandleSize();
    const TkvlComponent *grip = count > 1 ? GetRightBottomObject() : nullptr;
    Canvas->setRasterOp(gfx::RasterOp::Xor);
    for (int i = 0; i < count; ++i) {
        const TkvlComponent *c = sel[size_t(i)];
        const double l = c->GetAbsLeft(), t = c->GetAbsTop(), w = c->Width(), h = c->Height();
        const bool line = c->Is<TkvlCustomLineView>();
        Canvas->setPen(plainPen(clWhite));
        DrawPoint(Canvas, l, t, n);
        if (!line) {
            DrawPoint(Canvas, l + w, t, n);
            DrawPoint(Canvas, l, t + h, n);
            if (count == 1) {
                DrawPoint(Canvas, l + w / 2, t, n);
                DrawPoint(Canvas, l + w / 2, t + h, n);
                DrawPoint(Canvas, l, t + h / 2, n);
                DrawPoint(Canvas, l + w, t + h / 2, n);
            }
        }
        if (c == grip)
            Canvas->setPen(plainPen(0x808000));
        DrawPoint(Canvas, l + w, t + h, n);
    }
    Canvas->setRasterOp(gfx::RasterOp::Copy);
}

void TkvlWorkspace::DrawSelectionRect(TCanvas *Canvas) const
{
    Canvas->setRasterOp(gfx::RasterOp::Xor);
    Canvas->setPen(plainPen(0xC0C0C0, psDot));
    Canvas->setBrush(gfx::Brush{clWhite, bsClear});
    Canvas->rectangle(int(rtl::Round(FSelectionRect.Left)), int(rtl::Round(FSelectionRect.Top)),
                      int(rtl::Round(FSelectionRect.Right)), int(rtl::Round(FSelectionRect.Bottom)));
    Canvas->setRasterOp(gfx::RasterOp::Copy);
}

void TkvlWorkspace::DrawInsertionRect(TCanvas *Canvas) const
{
    double l = FInsertion.Left, t = FInsertion.Top;
    double r = l + FInsertion.Width, b = t + FInsertion.Height;
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    Canvas->setRasterOp(gfx::RasterOp::Copy);
    Canvas->setPen(plainPen(clBlack, psDot));
    Canvas->setBrush(gfx::Brush{clWhite, bsClear});
    Canvas->rectangle(px(l), px(t), px(r) + 1, px(b) + 1);
}

void TkvlWorkspace::DrawCross(TCanvas *Canvas, bool Full) const
{
    const TkvlInsertion &ins = FInsertion;
    double x = ins.Left, y = ins.Top;
    if (Full) {
        if (ins.Flags != 0) {
            x += ins.Width;
            y += ins.Height;
        } else if (std::abs(ins.Height) >= std::abs(ins.Width)) {
            y += ins.Height;
        } else {
            x += ins.Width;
        }
    }
    const double sx = x * FScale, sy = y * FScale;
    const int ix = int(rtl::Round(sx)), iy = int(rtl::Round(sy));
    Canvas->setRasterOp(gfx::RasterOp::Xor);
    Canvas->setPen(plainPen(0xC0C0C0));
    Canvas->moveTo(int(rtl::Round(sx - 4)), iy);
    Canvas->lineTo(int(rtl::Round(sx + 5)), iy);
    Canvas->moveTo(ix, int(rtl::Round(sy - 4)));
    Canvas->lineTo(ix, int(rtl::Round(sy + 5)));
    if (Full) {
        Canvas->moveTo(px(ins.Left), px(ins.Top));
        Canvas->lineTo(ix, iy);
    }
    Canvas->setRasterOp(gfx::RasterOp::Copy);
}
