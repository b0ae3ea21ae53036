#include "designer/core/gestures.h"

#include "designer/core/workspaceunits.h"
#include "platform/rtl/numeric.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlobjects.h"
#include "report/appearance/frame.h"
#include "report/dmp/kvldmpviews.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/views/kvlline.h"
#include "report/views/kvlview.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace {

using M = TkvlDesignMode1;

bool isPageOrReport(const TkvlComponent *C) { return C->Is<TkvlPage>() || C->Is<TkvlReport>(); }

bool isDiagonal(const TkvlComponent *C)
{
    const auto *l = rtl_cast<TkvlCustomLineView>(C);
    return l && l->Diagonal;
}

// Normalized absolute box (left, top, right, bottom).
TkvlRect absBox(const TkvlComponent *C)
{
    const double l = C->GetAbsLeft(), t = C->GetAbsTop();
    return TkvlRect{std::min(l, l + C->Width()), std::min(t, t + C->Height()), std::max(l, l + C->Width()),
                    std::max(t, t + C->Height())};
}

bool overlaps(const TkvlRect &A, const TkvlRect &B)
{
    return A.Left <= B.Right && B.Left <= A.Right && A.Top <= B.Bottom && B.Top <= A.Bottom;
}

bool isBand(const TkvlComponent *C) { return C->Is<TkvlBand>(); }

} // namespace

// ---- small pieces -----------------------------------------------------------------------------

double TkvlGestures::Round8(double v) { return rtl::Round(v * 100000000.0) / 100000000.0; }

void TkvlGestures::SetCursor(TkvlCursorKind Kind)
{
    FCursor = Kind;
    if (FGView)
        FGView->SetCursorKind(Kind);
}

TkvlCursorKind TkvlGestures::CTtoCursor(TkvlCursorType Ct)
{
    switch (Ct) {
    case ct1:
    case ct2: return TkvlCursorKind::SizeNWSE;
    case ct3:
    case ct4: return TkvlCursorKind::SizeNESW;
    case ct5:
    case ct6: return TkvlCursorKind::SizeWE;
    case ct7:
    case ct8: return TkvlCursorKind::SizeNS;
    case ct9:
    case ct10: return TkvlCursorKind::Cross;
    case ct0: break;
    }
    return TkvlCursorKind::Default;
}

void TkvlGestures::notify(double L, double T, double W, double H)
{
    if (OnNotifyPosition)
        OnNotifyPosition(TkvlRect{L, T, W, H});
}

void TkvlGestures::notifySelection()
{
    if (OnNotifyPosition)
        OnNotifyPosition(SelectedCount() > 0 ? GetSelectionBounds() : TkvlRect{});
}

TkvlDesignMode1 TkvlGestures::armedMode1() const
{
    if (FMode != dmInsert || !FInsertion.ComponentClass)
        return M::dmNone;
    return FInsertion.ComponentClass->inheritsFrom(TkvlCustomLineView::StaticClass()) ? M::dmInsertLine
                                                                                      : M::dmInsertObject;
}

// ---- hit tests --------------------------------------------------------------------------------

TkvlCursorType TkvlGestures::MapLineHandle(const TkvlComponent *C, TkvlCursorType Ct)
{
    const auto *line = rtl_cast<TkvlCustomLineView>(C);
    if (!line || Ct == ct0)
        return Ct;
    if (line->Diagonal)
        return Ct == ct1 ? ct9 : Ct == ct2 ? ct10 : ct0;
    if (C->Width() == 0)
        return (Ct == ct1 || Ct == ct3) ? ct7 : (Ct == ct2 || Ct == ct4) ? ct8 : ct0;
    if (C->Height() == 0)
        return (Ct == ct1 || Ct == ct4) ? ct6 : (Ct == ct2 || Ct == ct3) ? ct5 : ct0;
    return ct0;
}

TkvlCursorType TkvlGestures::HandleAt(const TkvlComponent *C, int X, int Y) const
{
    const double l = C->GetAbsLeft(), t = C->GetAbsTop(), w = C->Width(), h = C->Height();
    const double pts[8][2] = {{l, t},         {l + w, t + h},     {l + w, t},     {l, t + h},
                              {l + w, t + h / 2}, {l, t + h / 2}, {l + w / 2, t}, {l + w / 2, t + h}};
    const double x = X / Scale(), y = Y / Scale();
    for (int i = 0; i < 8; ++i)
        if (x >= pts[i][0] - 2 && x <= pts[i][0] + 3 && y >= pts[i][1] - 2 && y <= pts[i][1] + 3)
            return MapLineHandle(C, TkvlCursorType(ct1 + i));
    return ct0;
}

TkvlCursorType TkvlGestures::FlipHandle(TkvlCursorType Ct, bool NegWidth, bool NegHeight)
{
    static const TkvlCursorType A[8] = {ct3, ct4, ct1, ct2, ct6, ct5, ct0, ct0};
    static const TkvlCursorType B[8] = {ct4, ct3, ct2, ct1, ct0, ct0, ct8, ct7};
    static const TkvlCursorType C[8] = {ct2, ct1, ct4, ct3, ct0, ct0, ct0, ct0};
    if (Ct < ct1 || Ct > ct8 || (!NegWidth && !NegHeight))
        return Ct;
    const int i = Ct - ct1;
    return NegWidth && NegHeight ? C[i] : NegWidth ? A[i] : B[i];
}

bool TkvlGestures::Contain(const TkvlComponent *C, double x, double y) const
{
    const TkvlRect r = absBox(C);
    double el = 0, er = 0, et = 0, eb = 0;
    if (C->Width() == 0)
        el = er = 4;
    else if (C->Height() == 0)
        et = eb = 4;
    if (const auto *b = rtl_cast<TkvlBand>(C)) {
        if (b->Vertical())
            el += FBandHeader;
        else
            et += FBandHeader;
    }
    if (C->Is<TkvlLineView>() && isDiagonal(C) && C->Width() != 0 && C->Height() != 0) {
        if (x < r.Left - 5 || x > r.Right + 5 || y < r.Top - 5 || y > r.Bottom + 5)
            return false;
        const double k = C->Height() / C->Width();
        const double d = std::fabs((k * (x - C->GetAbsLeft()) - (y - C->GetAbsTop())) * std::cos(std::atan(k)));
        return d < 5;
    }
    return x >= r.Left - el && x <= r.Right + er && y >= r.Top - et && y <= r.Bottom + eb;
}

bool TkvlGestures::Contain2(const TkvlComponent *C, double x, double y)
{
    const double a = C->Width() == 0 ? 4 : 0, b = C->Width() == 0 ? 0 : 4;
    const double l = C->GetAbsLeft(), t = C->GetAbsTop();
    return x >= l - a && x <= l + C->Width() + a && y >= t - b && y <= t + C->Height() + b;
}

TkvlBand *TkvlGestures::BandEdgeAt(int X, int Y) const
{
    const double x = X / Scale(), y = Y / Scale();
    for (TkvlComponent *c : Lists()->Objects) {
        auto *b = rtl_cast<TkvlBand>(c);
        if (!b)
            continue;
        if (b->Vertical() ? std::fabs(x - (b->Left() + b->Width())) <= 2 : std::fabs(y - (b->Top() + b->Height())) <= 2)
            return b;
    }
    return nullptr;
}

// ---- the step gate ----------------------------------------------------------------------------

bool TkvlGestures::CheckMove(double &dx, double &dy, bool Alt)
{
    bool refused = false;
    if (FGridAlign != Alt) {
        // A grid step of zero or less leaves that direction unsnapped.
        const bool passX = FGridX <= 0 || std::fabs(dx) >= FGridX;
        const bool passY = FGridY <= 0 || std::fabs(dy) >= FGridY;
        if (!passX && !passY)
            refused = true;
        else {
            if (FGridX > 0)
                dx = std::trunc(dx / FGridX) * FGridX;
            if (FGridY > 0)
                dy = std::trunc(dy / FGridY) * FGridY;
        }
    }
    if (dx == 0 && dy == 0)
        refused = true;
    CheckGuides(dx, dy, refused);
    return !refused;
}

// ---- press ------------------------------------------------------------------------------------

TkvlComponent *TkvlGestures::pressHit(double x, double y) const
{
    const auto &objs = Lists()->Objects;
    // Bands stand first in the list, so an object lying on a band is found before it.
    for (auto it = objs.rbegin(); it != objs.rend(); ++it)
        if ((*it)->Is<TkvlReportComponent>() && Contain(*it, x, y))
            return *it;
    return nullptr;
}

void TkvlGestures::startRubberBand(int X, int Y)
{
    SelectOnly(nullptr);
    FMode1 = M::dmSelectionRect;
    FSelectionRect = TkvlRect{double(X), double(Y), double(X), double(Y)};
}

void TkvlGestures::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    if (FDisableUpdate || FMouseDown)
        return;
    if (FDblClicked) {  // the press that came with the double click
        FDblClicked = false;
        return;
    }
    if (FGView && FGView->InplaceVisible())
        FGView->InplaceDone();
    auto &sel = SelectedObjects();
    const std::vector<TkvlComponent *> before = sel;
    if (FGView)
        FGView->FocusForPress(Page() && Page()->Is<TkvlReportPage>());
    FMouseDown = true;
    FMoveTop.clear();
    FSavedAlign.clear();
    const double x = X / Scale(), y = Y / Scale();
    FLastMousePointX = x;
    FLastMousePointY = y;

    bool selecting = false;
    if (FMode1 == M::dmNone && (Shift & Qt::ControlModifier)) {
        startRubberBand(X, Y);
        selecting = true;
    }
    if (FMode1 == M::dmNone) {
        selecting = true;
        TkvlComponent *hit = pressHit(x, y);
        if (hit && hit->HasStyle(csContainer)) {
            if (hit->ContainerMouseDown(nullptr, X, Y))
                FMode1 = M::dmContainer;
            else {
                const auto &inner = hit->GetContainerObjects();
                for (auto it = inner.rbegin(); it != inner.rend(); ++it)
                    if ((*it)->Visible() && Contain(*it, x, y)) {
                        hit = *it;
                        break;
                    }
            }
        }
        if (!hit)
            startRubberBand(X, Y);
        else {
            const auto at = std::find(sel.begin(), sel.end(), hit);
            if (!(Shift & Qt::ShiftModifier)) {
                if (at == sel.end()) {
                    sel.clear();
                    sel.push_back(hit);
                }
            } else if (at != sel.end())
                sel.erase(at);
            else
                sel.push_back(hit);
            std::erase_if(sel, [](TkvlComponent *c) { return isPageOrReport(c); });
            if (!sel.empty()) {
                if (FMode1 != M::dmContainer)
                    FMode1 = M::dmMove;
            } else {
                SelectOnly(nullptr);
                FMode1 = M::dmNone;
            }
        }
    }
    // Alt drags a single band alone: its objects go to the page until the release.
    if ((Shift & Qt::AltModifier) && FMode1 == M::dmMove && SelectedCount() == 1 && isBand(sel.front()))
        AdjustBands(false);
    if (FMode1 == M::dmScale) {
        const TkvlRect b = GetSelectionBounds();
        FScaleRect = TkvlRect{b.Left, b.Top, b.Left + b.Right, b.Top + b.Bottom};
        FScaleRect1 = FScaleRect;
        for (int i = 0, n = SelectedCount(); i < n; ++i) {
            TkvlComponent *c = sel[size_t(i)];
            c->OriginalRect = TkvlRect{c->GetAbsLeft(), c->GetAbsTop(), c->Width(), c->Height()};
        }
    }
    if (FMode1 == M::dmInsertLine) {
        FInsertion.Width = 0;
        FInsertion.Height = 0;
    }
    if (selecting) {
        if (ListsEqual(before, sel))
            Repaint();
        else
            SelectionChanged();
    }
    if (Button == Qt::RightButton && FGView && FGView->HasPopup()) {
        FMode1 = M::dmNone;
        FMouseDown = false;
        Repaint();
        FGView->PopupAt(X, Y);
        return;
    }
    if (FMode1 == M::dmMove) {
        FSavedAlign.clear();
        for (int i = 0, n = SelectedCount(); i < n; ++i)
            if (auto *v = rtl_cast<TkvlView>(sel[size_t(i)])) {
                FSavedAlign.push_back(v->Align());
                v->SetAlign(baNone);
            }
    }
}

// ---- move -------------------------------------------------------------------------------------

void TkvlGestures::MouseMove(Qt::KeyboardModifiers Shift, int X, int Y)
{
    if (FDisableUpdate)
        return;
    bool reported = false;
    if (!FMouseDown)
        hover(Shift, X, Y, reported);
    else if (!drag(Shift, X, Y, reported))
        return;  // a refused step changes nothing
    else
        autoScroll(X, Y);
    if (reported)
        return;
    if (SelectedCount() == 0)
        notify(X / Scale(), Y / Scale(), 0, 0);
    else if (FMouseDown)
        notifySelection();
}

void TkvlGestures::hover(Qt::KeyboardModifiers Shift, int X, int Y, bool &Reported)
{
    auto &sel = SelectedObjects();
    if (FMode == dmSelect) {
        const int count = SelectedCount();
        TkvlCursorKind cursor = TkvlCursorKind::Default;
        FMode1 = M::dmNone;
        FCT = ct0;
        if (count == 1) {
            FCT = HandleAt(sel.front(), X, Y);
            if (FCT != ct0) {
                FMode1 = M::dmSize;
                cursor = CTtoCursor(FCT);
            }
        } else if (count > 1) {
            if (TkvlComponent *rb = GetRightBottomObject()) {
                const double x = X / Scale(), y = Y / Scale();
                const double hx = rb->GetAbsLeft() + rb->Width(), hy = rb->GetAbsTop() + rb->Height();
                if (x >= hx - 2 && x <= hx + 3 && y >= hy - 2 && y <= hy + 3) {
                    FMode1 = M::dmScale;
                    cursor = TkvlCursorKind::SizeNWSE;
                }
            }
        }
        if (FMode1 != M::dmSize && FMode1 != M::dmScale) {
            cursor = TkvlCursorKind::Default;
            if (TkvlBand *b = BandEdgeAt(X, Y)) {
                FMode1 = M::dmSizeBand;
                FSizedBand = b;
                cursor = b->Vertical() ? TkvlCursorKind::SplitH : TkvlCursorKind::SplitV;
            }
        }
        SetCursor(cursor);
    }
    const double x = X / Scale(), y = Y / Scale();
    if (Shift & Qt::AltModifier) {
        SetCursor(TkvlCursorKind::Default);
        FMode1 = M::dmNone;
        for (TkvlComponent *c : Objects())
            if (auto *m = rtl_cast<TkvlCustomMemoView>(c); m && Contain2(m, x, y)) {
                FInplaceObject = m;
                SetCursor(TkvlCursorKind::IBeam);
                FMode1 = M::dmInplaceEdit;
                break;
            }
        return;
    }
    // Alt let go over an armed page: the armed gesture comes back.
    if (FMode == dmInsert && (FMode1 == M::dmNone || FMode1 == M::dmInplaceEdit))
    {
        FMode1 = armedMode1();
        SetCursor(FMode1 == M::dmInsertLine ? TkvlCursorKind::Pencil : TkvlCursorKind::CrossHair);
    }
    if (FMode1 == M::dmInsertObject || FMode1 == M::dmInsertLine) {
        double dx = x - FInsertion.Left, dy = y - FInsertion.Top;
        if (CheckMove(dx, dy, false)) {
            FInsertion.Left += dx;
            FInsertion.Top += dy;
            Repaint();
        }
        Reported = true;
        if (FMode1 == M::dmInsertObject)
            notify(FInsertion.Left, FInsertion.Top, FInsertion.Width, FInsertion.Height);
        else
            notify(FInsertion.Left, FInsertion.Top, 0, 0);
        return;
    }
    if (FMode == dmSelect && FMode1 != M::dmSize && FMode1 != M::dmScale)
        for (TkvlComponent *c : Objects())
            if (c->HasStyle(csContainer) && Contain2(c, x, y))
                c->ContainerMouseMove(nullptr, X, Y);
}

// ---- drag -------------------------------------------------------------------------------------

void TkvlGestures::invalidate()
{
    // Painting lays out aligned objects first; a drag step only asks for the paint.
    FPrepareDue = true;
    if (View())
        View()->Invalidate();
}

void TkvlGestures::PrepareIfDue()
{
    if (FPrepareDue && !FDisableUpdate)
        PrepareDraw();
    FPrepareDue = false;
}

bool TkvlGestures::drag(Qt::KeyboardModifiers Shift, int X, int Y, bool &Reported)
{
    const double x = X / Scale(), y = Y / Scale();
    const bool alt = Shift & Qt::AltModifier;
    double dx = x - FLastMousePointX, dy = y - FLastMousePointY;
    auto &sel = SelectedObjects();
    auto advance = [&] {
        FLastMousePointX += dx;
        FLastMousePointY += dy;
    };
    switch (FMode1) {
    case M::dmSizeBand: {
        if (!FSizedBand || !CheckMove(dx, dy, alt))
            return false;
        TkvlBand *b = FSizedBand;
        if (b->Vertical())
            b->SetWidth(b->Width() + dx);
        else
            b->SetHeight(b->Height() + dy);
        AdjustBandHeight(b);
        AdjustBands(true);
        FModifyFlag = true;
        advance();
        invalidate();
        Reported = true;
        notify(b->Left(), b->Top(), b->Width(), b->Height());
        return true;
    }
    case M::dmInsertObject:
        dx = x - FInsertion.Left;
        dy = y - FInsertion.Top;
        if (!CheckMove(dx, dy, alt))
            return false;
        FInsertion.Width = dx;
        FInsertion.Height = dy;
        invalidate();
        Reported = true;
        notify(FInsertion.Left, FInsertion.Top, FInsertion.Width, FInsertion.Height);
        return true;
    case M::dmInsertLine:
        dx = x - (FInsertion.Left + FInsertion.Width);
        dy = y - (FInsertion.Top + FInsertion.Height);
        if (!CheckMove(dx, dy, alt))
            return false;
        FInsertion.Width += dx;
        FInsertion.Height += dy;
        invalidate();
        Reported = true;
        notify(FInsertion.Left, FInsertion.Top, FInsertion.Width, FInsertion.Height);
        return true;
    case M::dmMove: {
        if (Shift & Qt::ShiftModifier)
            return true;
        if (!CheckMove(dx, dy, alt))
            return false;
        if (!FModifyFlag && SelectedCount() == 1) {
            auto *vb = rtl_cast<TkvlBand>(sel.front());
            if (vb && vb->Vertical()) {
                // A column band carries the views standing in its column.
                const double l = vb->GetAbsLeft(), r = l + vb->Width();
                for (TkvlComponent *c : Objects())
                    if (c->Is<TkvlView>() && c != vb && c->GetAbsLeft() >= l - 0.0001 &&
                        c->GetAbsLeft() + c->Width() <= r + 0.0001 && !Lists()->IsSelected(c))
                        sel.push_back(c);
            }
        }
        const int count = SelectedCount();
        if (count > 0) {
            if (auto *b = rtl_cast<TkvlBand>(sel.front()); b && b->Vertical())
                dy = 0;
        }
        if (FMoveTop.size() != size_t(count)) {
            // Which objects follow dy: not those whose parent moves with them.
            std::unordered_set<const TkvlComponent *> chosen(sel.begin(), sel.begin() + count);
            FMoveTop.assign(size_t(count), 1);
            for (int i = 0; i < count; ++i)
                if (chosen.count(sel[size_t(i)]->Parent()))
                    FMoveTop[size_t(i)] = 0;
        }
        for (int i = 0; i < count; ++i) {
            TkvlComponent *c = sel[size_t(i)];
            c->SetLeft(c->Left() + dx);
            if (!FMoveTop[size_t(i)])
                continue;
            const double top = c->Top() + dy;
            if (c->GetIsAncestor() && c->Parent() && (top < -0.0001 || top > c->Parent()->Height()))
                continue;
            c->SetTop(top);
        }
        FModifyFlag = true;
        advance();
        invalidate();
        Reported = true;
        notifySelection();
        return true;
    }
    case M::dmSize: {
        if (SelectedCount() != 1 || !CheckMove(dx, dy, alt))
            return false;
        dragSize(dx, dy);
        FModifyFlag = true;
        advance();
        invalidate();
        Reported = true;
        const TkvlComponent *c = sel.front();
        notify(c->Left(), c->Top(), c->Width(), c->Height());
        return true;
    }
    case M::dmScale:
        if (!CheckMove(dx, dy, alt))
            return false;
        dragScale(dx, dy);
        FModifyFlag = true;
        advance();
        invalidate();
        Reported = true;
        return true;
    case M::dmSelectionRect:
        FSelectionRect.Right = X;
        FSelectionRect.Bottom = Y;
        invalidate();
        return true;
    case M::dmContainer:
        if (SelectedCount() > 0)
            sel.front()->ContainerMouseMove(nullptr, X, Y);
        invalidate();
        return true;
    default:
        return true;
    }
}

void TkvlGestures::dragSize(double dx, double dy)
{
    TkvlComponent *c = SelectedObjects().front();
    const double sl = c->Left(), st = c->Top(), sw = c->Width(), sh = c->Height();
    auto left = [&](double d) { c->SetLeft(c->Left() + d); };
    auto top = [&](double d) { c->SetTop(c->Top() + d); };
    auto width = [&](double d) { c->SetWidth(c->Width() + d); };
    auto height = [&](double d) { c->SetHeight(c->Height() + d); };
    switch (FCT) {
    case ct1:
    case ct9: left(dx), width(-dx), top(dy), height(-dy); break;
    case ct2:
    case ct10: width(dx), height(dy); break;
    case ct3: top(dy), width(dx), height(-dy); break;
    case ct4: left(dx), width(-dx), height(dy); break;
    case ct5: width(dx); break;
    case ct6: left(dx), width(-dx); break;
    case ct7: top(dy), height(-dy); break;
    case ct8: height(dy); break;
    case ct0: return;
    }
    if (!isDiagonal(c)) {
        const bool negW = c->Width() < 0, negH = c->Height() < 0;
        FCT = FlipHandle(FCT, negW, negH);
        if (negW) {
            c->SetLeft(c->Left() + c->Width());
            c->SetWidth(-c->Width());
        }
        if (negH) {
            c->SetTop(c->Top() + c->Height());
            c->SetHeight(-c->Height());
        }
    }
    SetCursor(CTtoCursor(FCT));
    if (c->Left() < 0)
        c->SetLeft(0);
    if (c->GetIsAncestor() && c->Parent() && (c->Top() < -0.0001 || c->Top() > c->Parent()->Height()))
        c->SetBounds(sl, st, sw, sh);
    if (auto *b = rtl_cast<TkvlBand>(c)) {
        if (FCT == ct1 || FCT == ct3 || FCT == ct7)  // the children keep their place on the page
            for (TkvlComponent *child : b->Objects())
                child->SetTop(child->Top() - dy);
        AdjustBandHeight(b);
        AdjustBands(true);
    }
}

void TkvlGestures::dragScale(double dx, double dy)
{
    TkvlRect &r = FScaleRect;
    const TkvlRect &s = FScaleRect1;
    if (r.Right + dx > r.Left)
        r.Right += dx;
    if (r.Bottom + dy > r.Top)
        r.Bottom += dy;
    // A group with no width (or height) at the start keeps that direction unscaled.
    const double sw = s.Right - s.Left, sh = s.Bottom - s.Top;
    const double kx = sw != 0 ? (r.Right - r.Left) / sw : 1, ky = sh != 0 ? (r.Bottom - r.Top) / sh : 1;
    auto &sel = SelectedObjects();
    for (int i = 0, n = SelectedCount(); i < n; ++i) {
        TkvlComponent *c = sel[size_t(i)];
        const TkvlRect &o = c->OriginalRect;  // left, top, width, height
        double top = (o.Top - s.Top) * ky + s.Top;
        if (c->Parent() && c->Parent()->Is<TkvlBand>())
            top -= c->Parent()->Top();
        c->SetLeft((o.Left - s.Left) * kx + s.Left);
        c->SetTop(top);
        c->SetWidth(o.Right * kx);
        c->SetHeight(o.Bottom * ky);
    }
    notify(r.Right - r.Left, r.Bottom - r.Top, kx, ky);
}

void TkvlGestures::autoScroll(int X, int Y)
{
    QSize client;
    QPoint pos;
    if (FCursor == TkvlCursorKind::Hand || !FGView || !FGView->ScrollState(client, pos))
        return;
    const QPoint p(X + int(rtl::Round(Scale() * Margins().Left)), Y + int(rtl::Round(Scale() * Margins().Top)));
    QPoint to = pos;
    if (p.x() > client.width() + pos.x())
        to.rx() = p.x() - client.width();
    else if (p.x() < pos.x())
        to.rx() = p.x();
    if (p.y() > client.height() + pos.y())
        to.ry() = p.y() - client.height();
    else if (p.y() < pos.y())
        to.ry() = p.y();
    if (to != pos)
        FGView->SetScrollPos(to);
}

// ---- release ----------------------------------------------------------------------------------

void TkvlGestures::finishInsertion()
{
    TkvlInsertion &in = FInsertion;
    TkvlRect r{in.Left, in.Top, in.Left + in.Width, in.Top + in.Height};
    const bool line = in.ComponentClass->inheritsFrom(TkvlCustomLineView::StaticClass());
    if (line && in.Flags == 0) {
        // A straight line keeps its length; drawn leftwards or upwards it starts at the drag's end.
        if (in.Width < 0)
            r.Right = in.Left - in.Width;
        if (in.Height < 0)
            r.Bottom = in.Top - in.Height;
        if (in.Width < 0 && std::fabs(in.Width) > std::fabs(in.Height)) {
            r.Left = in.Left + in.Width;
            r.Right = in.Left;
        }
        if (in.Height < 0 && std::fabs(in.Height) > std::fabs(in.Width)) {
            r.Top = in.Top + in.Height;
            r.Bottom = in.Top;
        }
    } else if (!(line && in.ComponentClass->inheritsFrom(TkvlLineView::StaticClass()))) {
        if ((in.Width >= 0 && in.Width < 4) || (in.Height > 0 && in.Height < 4))
            r = TkvlRect{in.Left, in.Top, in.Left + in.OriginalWidth, in.Top + in.OriginalHeight};
        r = TkvlRect{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                     std::max(r.Top, r.Bottom)};
    }
    in.Left = Round8(r.Left);
    in.Top = Round8(r.Top);
    in.Width = Round8(r.Right - r.Left);
    in.Height = Round8(r.Bottom - r.Top);
    if (OnInsert)
        OnInsert();
}

bool TkvlGestures::touches(const TkvlComponent *C, const TkvlRect &R) const
{
    if (!overlaps(absBox(C), R))
        return false;
    if (!(C->Is<TkvlLineView>() && isDiagonal(C) && C->Width() != 0 && C->Height() != 0))
        return true;
    // The band's corners lie on both sides of the line (or on it).
    const double x0 = C->GetAbsLeft(), y0 = C->GetAbsTop(), w = C->Width(), h = C->Height();
    double lo = 1e300, hi = -1e300;
    for (const double px : {R.Left, R.Right})
        for (const double py : {R.Top, R.Bottom}) {
            const double side = (px - x0) * h - (py - y0) * w;
            lo = std::min(lo, side);
            hi = std::max(hi, side);
        }
    return lo <= 0 && hi >= 0;
}

void TkvlGestures::selectInRect()
{
    const TkvlRect &f = FSelectionRect;
    const double s = Scale();
    const TkvlRect r{std::min(f.Left, f.Right) / s, std::min(f.Top, f.Bottom) / s, std::max(f.Left, f.Right) / s,
                     std::max(f.Top, f.Bottom) / s};
    auto &sel = SelectedObjects();
    sel.clear();
    std::unordered_set<const TkvlComponent *> chosen;
    auto take = [&](TkvlComponent *c) {
        if (chosen.insert(c).second)
            sel.push_back(c);
    };
    for (TkvlComponent *c : Objects()) {
        if (!c->Is<TkvlReportComponent>() || isBand(c))
            continue;
        if (c->HasStyle(csContainer)) {
            for (TkvlComponent *inner : c->GetContainerObjects())
                if (inner->Visible() && touches(inner, r))
                    take(inner);
        } else if (touches(c, r))
            take(c);
    }
    if (sel.empty())
        SelectOnly(nullptr);
}

void TkvlGestures::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers, int X, int Y)
{
    // A release whose press we never had (swallowed after a double click) finishes nothing.
    if (FDisableUpdate || Button != Qt::LeftButton || !FMouseDown)
        return;
    auto &sel = SelectedObjects();
    std::vector<TkvlComponent *> before = sel;
    FMouseDown = false;
    if (FMode == dmInsert && FInsertion.ComponentClass &&
        (FMode1 == M::dmInsertObject || FMode1 == M::dmInsertLine))
        finishInsertion();
    switch (FMode1) {
    case M::dmSelectionRect: selectInRect(); break;
    case M::dmInplaceEdit:
        if (FInplaceObject) {
            SelectOnly(FInplaceObject);
            SelectionChanged();
            before = sel;
            if (FGView)
                FGView->InplaceEdit(FInplaceObject);
        }
        FMode1 = M::dmNone;
        break;
    case M::dmMove:
    case M::dmSize: {
        size_t k = 0;
        for (int i = 0, n = SelectedCount(); i < n; ++i) {
            TkvlComponent *c = sel[size_t(i)];
            if (auto *v = rtl_cast<TkvlView>(c); v && k < FSavedAlign.size())
                v->SetAlign(TkvlAlign(FSavedAlign[k++]));
            c->SetLeft(Round8(c->Left()));
            c->SetTop(Round8(c->Top()));
            c->SetWidth(Round8(c->Width()));
            c->SetHeight(Round8(c->Height()));
        }
        FSavedAlign.clear();
        break;
    }
    case M::dmSizeBand:
        if (FSizedBand)
            FSizedBand->SetHeight(Round8(FSizedBand->Height()));
        break;
    case M::dmContainer:
        if (SelectedCount() > 0)
            sel.front()->ContainerMouseUp(nullptr, X, Y);
        break;
    default: break;
    }
    AdjustBands(true);
    if (ListsEqual(before, sel))
        Repaint();
    else
        SelectionChanged();
    DoModify();
    FCT = ct0;
    FMode1 = armedMode1();
    if (SelectedCount() > 0)
        notifySelection();
    else
        notify(X / Scale(), Y / Scale(), 0, 0);
}

// ---- leaving and arming -----------------------------------------------------------------------

void TkvlGestures::parkInsertion()
{
    if (FMode1 == M::dmInsertObject) {
        FInsertion.Left = -1000 * FGridX;
        FInsertion.Top = -1000 * FGridY;
    } else if (FMode1 == M::dmInsertLine) {
        const double k = GridType() == gtChar ? 0.5 : 1;
        FInsertion.Left = -FGridX * k;
        FInsertion.Top = -FGridY * k;
    }
}

void TkvlGestures::MouseLeave()
{
    if (FDisableUpdate || FMouseDown)
        return;
    if (FMode1 == M::dmInsertObject || FMode1 == M::dmInsertLine) {
        parkInsertion();
        Repaint();
    }
    if (FMode == dmDrag)
        SetInsertion(nullptr, 0, 0, 0);
}

void TkvlGestures::SetInsertion(const rtl::ClassInfo *AClass, double AWidth, double AHeight, uint16_t AFlag)
{
    FInsertion.ComponentClass = AClass;
    FInsertion.Width = FInsertion.OriginalWidth = AWidth;
    FInsertion.Height = FInsertion.OriginalHeight = AHeight;
    FInsertion.Flags = AFlag;
    FMode = dmInsert;
    if (!AClass) {
        FMode = dmSelect;
        FMode1 = M::dmNone;
        SetCursor(TkvlCursorKind::Default);
        return;
    }
    FMode1 = armedMode1();
    SetCursor(FMode1 == M::dmInsertLine ? TkvlCursorKind::Pencil : TkvlCursorKind::CrossHair);
    parkInsertion();
    Repaint();
}

// ---- keys -------------------------------------------------------------------------------------

void TkvlGestures::KeyDown(int Key, Qt::KeyboardModifiers Shift)
{
    if (FDisableUpdate)
        return;
    if ((Shift & Qt::AltModifier) && FGView) {
        const QPoint p = FGView->CursorPos();
        MouseMove(Shift, p.x(), p.y());
    }
    int dx = 0, dy = 0;
    switch (Key) {
    case Qt::Key_Tab: DoTab(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: EditObject(); return;
    case Qt::Key_Delete: DeleteObjects(); return;
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Down: dy = 1; break;
    default: return;
    }
    if (Shift & Qt::ControlModifier)
        DoNudge(dx, dy, !(Shift & Qt::ShiftModifier));
    else if (Shift & Qt::ShiftModifier)
        DoSize(dx, dy);
    else if (Shift & Qt::AltModifier)
        DoStick(dx, dy);
    else
        FindNearest(dx, dy);
    AdjustBands(true);
}

void TkvlGestures::KeyUp(int, Qt::KeyboardModifiers)
{
    if (!FDisableUpdate)
        DoModify();
}

void TkvlGestures::DoNudge(double X, double Y, bool Smooth)
{
    const int count = SelectedCount();
    if (count == 0)
        return;
    if (!Smooth || GridType() == gtChar) {
        X *= FGridX;
        Y *= FGridY;
    }
    auto &sel = SelectedObjects();
    for (int i = 0; i < count; ++i) {
        TkvlComponent *c = sel[size_t(i)];
        c->SetLeft(c->Left() + X);
        c->SetTop(c->Top() + Y);
    }
    FModifyFlag = true;
    notifySelection();
    Repaint();
}

void TkvlGestures::DoSize(double X, double Y)
{
    const int count = SelectedCount();
    if (count == 0)
        return;
    auto &sel = SelectedObjects();
    for (int i = 0; i < count; ++i) {
        TkvlComponent *c = sel[size_t(i)];
        const double w = c->Width(), h = c->Height();
        c->SetWidth(w + X * FGridX);
        if (c->Width() < 0)
            c->SetWidth(w);
        c->SetHeight(h + Y * FGridY);
        if (c->Height() < 0)
            c->SetHeight(h);
    }
    FModifyFlag = true;
    notifySelection();
    Repaint();
}

TkvlComponent *TkvlGestures::neighbour(int X, int Y, bool StripOnly) const
{
    const auto &sel = Lists()->Selected;
    if (SelectedCount() != 1)
        return nullptr;
    const TkvlComponent *s = sel.front();
    const TkvlRect b = absBox(s);
    const double L = b.Left, T = b.Top, R = b.Right, B = b.Bottom;
    constexpr double far = 1e10;
    const bool horizontal = X != 0;
    TkvlRect strip, half;
    if (X > 0)
        strip = {L, T, far, B}, half = {L, 0, far, far};
    else if (X < 0)
        strip = {-far, T, R, B}, half = {0, 0, R, far};
    else if (Y > 0)
        strip = {L, T, R, far}, half = {0, T, far, far};
    else
        strip = {L, -far, R, B}, half = {0, 0, far, B};
    const QRect ws = WorkspaceRect();
    const double extent = ws.width() + ws.height();
    double best = far;
    TkvlComponent *found = nullptr;
    for (TkvlComponent *c : Lists()->Objects) {
        if (c == s || !c->Is<TkvlReportComponent>() || isBand(c))
            continue;
        const TkvlRect cb = absBox(c);
        const double q = X > 0 ? cb.Left - L : X < 0 ? R - cb.Right : Y > 0 ? cb.Top - T : B - cb.Bottom;
        double score;
        if (overlaps(cb, strip))
            score = q;
        else if (StripOnly || !overlaps(cb, half))
            continue;
        else {
            double dx, dy;
            if (horizontal) {
                dx = X > 0 ? cb.Left - R : L - cb.Right;
                dy = cb.Top <= T ? T - cb.Bottom : cb.Top - B;
                if (dx < dy)
                    continue;
            } else {
                dy = Y > 0 ? cb.Top - B : T - cb.Bottom;
                dx = cb.Left <= L ? L - cb.Right : cb.Left - R;
                if (dy < dx)
                    continue;
            }
            if (dx == 0 && dy == 0)
                continue;
            score = std::sqrt(dx * dx + dy * dy) * extent;
        }
        if (score < best) {
            best = score;
            found = c;
        }
    }
    return found;
}

void TkvlGestures::FindNearest(int X, int Y)
{
    TkvlComponent *n = neighbour(X, Y, false);
    if (!n)
        return;
    SelectOnly(n);
    notifySelection();
    SelectionChanged();
}

void TkvlGestures::DoStick(int X, int Y)
{
    TkvlComponent *n = neighbour(X, Y, true);
    if (!n)
        return;
    TkvlComponent *s = SelectedObjects().front();
    double gap = 0;
    const auto *sm = rtl_cast<TkvlDMPMemoView>(s), *nm = rtl_cast<TkvlDMPMemoView>(n);
    if (sm && nm) {
        // Two frame lines would share a cell: one cell stays free between them.
        const TkvlFrame *sf = sm->Frame(), *nf = nm->Frame();
        if (X > 0 && (sf->Has(ftRight) || nf->Has(ftLeft)))
            gap = kvlWsCharX;
        else if (X < 0 && (sf->Has(ftLeft) || nf->Has(ftRight)))
            gap = kvlWsCharX;
        else if (Y > 0 && (sf->Has(ftBottom) || nf->Has(ftTop)))
            gap = kvlWsCharY;
        else if (Y < 0 && (sf->Has(ftTop) || nf->Has(ftBottom)))
            gap = kvlWsCharY;
    }
    if (X > 0)
        s->SetLeft(n->Left() - s->Width() - gap);
    else if (X < 0)
        s->SetLeft(n->Left() + n->Width() + gap);
    else if (Y > 0)
        s->SetTop(n->Top() - s->Height() - gap);
    else
        s->SetTop(n->Top() + n->Height() + gap);
    FModifyFlag = true;
    notifySelection();
    Repaint();
}

void TkvlGestures::DoTab()
{
    if (SelectedCount() != 1)
        return;
    TkvlComponent *c = SelectedObjects().front();
    TkvlComponent *next = nullptr;
    if (isBand(c)) {
        if (!c->Objects().empty())
            next = c->Objects().front();
    } else if (c->Is<TkvlView>() && c->Parent()) {
        const auto &kids = c->Parent()->Objects();
        const auto at = std::find(kids.begin(), kids.end(), c);
        if (at != kids.end())
            next = (at + 1 == kids.end()) ? kids.front() : *(at + 1);
    }
    if (!next)
        return;
    SelectOnly(next);
    notifySelection();
    SelectionChanged();
}
