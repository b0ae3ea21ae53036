#include "engine/widgets/kvlpreviewworkspace.h"

#include "engine/preview/kvltextsearch.h"
#include "engine/widgets/guardedhandler.h"
#include "engine/widgets/kvlpreview.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/services.h"
#include "report/core/kvlresourcetext.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlpreviewpages.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {
int roundEven(double v) { return int(std::nearbyint(v)); }

// The shape of a cursor number: the library's own, else the standard ones a hit test names.
Qt::CursorShape cursorShape(int Cursor)
{
    const int own = kvlCursorShape(Cursor);
    if (own >= 0)
        return Qt::CursorShape(own);
    switch (Cursor) {
    case -21: return Qt::PointingHandCursor;
    case -4: return Qt::IBeamCursor;
    case -11: return Qt::WaitCursor;
    case -3: return Qt::CrossCursor;
    default: return Qt::ArrowCursor;
    }
}
} // namespace

TkvlPreviewWorkspace::TkvlPreviewWorkspace(QWidget *Parent, TkvlPreview *Preview)
    : TkvlScrollWin(Parent), FPreview(Preview)
{
    SetLargeChange(300);
    SetSmallChange(8);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(cursorShape(FDefaultCursor));
}

TkvlPreviewWorkspace::~TkvlPreviewWorkspace() = default;

void TkvlPreviewWorkspace::SetActiveFrameColor(TColor Value)
{
    FActiveFrameColor = Value;
    viewport()->update();
}

void TkvlPreviewWorkspace::SetBackColor(TColor Value)
{
    FBackColor = Value;
    viewport()->update();
}

void TkvlPreviewWorkspace::SetFrameColor(TColor Value)
{
    FFrameColor = Value;
    viewport()->update();
}

bool TkvlPreviewWorkspace::storeBusy() const { return FPreview && FPreview->Running(); }

TkvlCustomPreviewPages *TkvlPreviewWorkspace::pages() const
{
    return FPreview && !FPreview->PreviewPages ? nullptr : FPreviewPages;
}

void TkvlPreviewWorkspace::UpdateScrollBars()
{
    const QPoint max = FPageList.GetMaxBounds();
    SetHorzRange(max.x() + 10);
    SetVertRange(max.y() + 10);
}

QRect TkvlPreviewWorkspace::PageBounds(int Index) const
{
    return FPageList.GetPageBounds(Index, viewport()->width(), FZoom, FRTLLanguage);
}

QRect TkvlPreviewWorkspace::viewBounds(int Index) const { return PageBounds(Index).translated(-FOffset); }

void TkvlPreviewWorkspace::SetToPageNo(int PageN)
{
    if (FDisableUpdate)
        return;
    SetVertPosition(PageBounds(PageN - 1).top() - 10);
}

void TkvlPreviewWorkspace::SetPosition(int PageN, int Top)
{
    if (!pages())
        return;
    TkvlPage *page = pages()->GetPage(PageN - 1);
    if (!page)
        return;
    const auto *reportPage = dynamic_cast<TkvlReportPage *>(page);
    const double margin = reportPage ? reportPage->TopMargin : 0;
    SetVertPosition(kvlPreviewPosition(PageBounds(PageN - 1).top(), margin, Top, FZoom));
}

int TkvlPreviewWorkspace::GetTopPosition()
{
    if (!pages())
        return 0;
    TkvlPage *page = pages()->GetPage(FPageNo - 1);
    if (!page)
        return 0;
    const auto *reportPage = dynamic_cast<TkvlReportPage *>(page);
    const double margin = reportPage ? reportPage->TopMargin : 0;
    return kvlPreviewTopPosition(VertPosition(), PageBounds(FPageNo - 1).top(), margin, FZoom);
}

QRegion TkvlPreviewWorkspace::frameArea(int PageN) const
{
    const QRect r = viewBounds(PageN - 1);
    // The 2-pixel active frame runs one pixel outside the page.
    const QRect outer = r.adjusted(-3, -3, 3, 3);
    return QRegion(outer).subtracted(QRegion(r.adjusted(2, 2, -2, -2)));
}

void TkvlPreviewWorkspace::DrawPages(bool FramesOnly)
{
    if (!isVisible())
        return;
    if (FramesOnly && !FPageList.Count())
        return;
    if (FramesOnly) {
        viewport()->update(frameArea(FFramePage) + frameArea(FPageNo));
        return;
    }
    viewport()->update();
}

void TkvlPreviewWorkspace::Paint(QPainter &Painter, const QRegion &Dirty)
{
    gfx::PainterCanvas canvas(&Painter, 96, 96);
    const QRect client = viewport()->rect();
    canvas.setBrush(gfx::Brush{FBackColor, bsSolid});
    if (FLocked || FPageList.Count() == 0) {
        canvas.fillRect(client);
        return;
    }
    TkvlCustomPreviewPages *store = pages();
    if (!store)
        return;
    const int f = FPageList.FindPage(FOffset.y(), 0);
    const int first = std::max(0, f - 60), last = std::min(FPageList.Count() - 1, f + 340);
    const auto visible = [&](const QRect &r) {
        return r.bottom() >= 0 && r.top() < client.height() && Dirty.intersects(r) && canvas.rectVisible(r);
    };

    // The background only around the pages, so that they do not flicker.
    canvas.saveClip();
    for (int i = first; i <= last; ++i) {
        const QRect r = viewBounds(i);
        if (visible(r))
            canvas.excludeClipRect(r);
    }
    canvas.fillRect(client);
    canvas.restoreClip();

    const QRect active = viewBounds(FPageNo - 1);
    canvas.setPen(gfx::Pen{FActiveFrameColor, 2, psSolid});
    const QPoint frame[] = {{active.left() - 1, active.top() - 1}, {active.right() + 2, active.top() - 1},
                            {active.right() + 2, active.bottom() + 2}, {active.left() - 1, active.bottom() + 2},
                            {active.left() - 1, active.top() - 2}};
    canvas.polyline(frame, 5);
    FFramePage = FPageNo;

    for (int i = first; i <= last; ++i) {
        const QRect r = viewBounds(i);
        if (!visible(r.adjusted(0, 0, 0, 1)))
            continue;
        canvas.setBrush(gfx::Brush{clWhite, bsSolid});
        canvas.setPen(gfx::Pen{FFrameColor, 1, psSolid});
        canvas.rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        if (!guarded([&] { store->DrawPage(i, &canvas, FZoom, FZoom, r.left(), r.top()); }))
            store = nullptr; // one message per paint
        if (!store)
            return;
        if (FIsThumbnail) {
            gfx::FontDesc font;
            font.name = QStringLiteral("Arial");
            font.height = -11; // 8 points at 96 pixels per inch
            font.color = clWhite;
            canvas.setFont(font);
            canvas.setBkMode(gfx::BkMode::Opaque);
            canvas.setBkColor(FBackColor);
            const QString number = QLatin1Char(' ') + QString::number(i + 1) + QLatin1Char(' ');
            canvas.textOut(r.left() + 1, r.top() + 1, number);
        }
        if (FSearch && FSearch->Found() && FSearch->LastFoundPage() == i) {
            const QRect &found = FSearch->FoundRect();
            const int l = roundEven(found.left() * FZoom), t = roundEven(found.top() * FZoom);
            const int rr = roundEven((found.right() + 1) * FZoom), b = roundEven((found.bottom() + 1) * FZoom);
            canvas.setRasterOp(gfx::RasterOp::Xor);
            canvas.setPen(gfx::Pen{clWhite, 1, psSolid});
            for (int y = t; y < b; ++y) {
                canvas.moveTo(r.left() + l - 1, r.top() + y);
                canvas.lineTo(r.left() + rr + 1, r.top() + y);
            }
            canvas.setRasterOp(gfx::RasterOp::Copy);
        }
    }
}

void TkvlPreviewWorkspace::OnHScrollChange()
{
    viewport()->scroll(FOffset.x() - HorzPosition(), 0);
    FOffset.setX(HorzPosition());
}

void TkvlPreviewWorkspace::OnVScrollChange()
{
    viewport()->scroll(0, FOffset.y() - VertPosition());
    FOffset.setY(VertPosition());
    if (FIsThumbnail || !FPreview)
        return;
    FDisableUpdate = true;
    const int saved = FPreview->SavedPageNo();
    FPreview->SetPageNo(saved != -1 ? saved : FPageList.FindPage(FOffset.y(), 0) + 1);
    FDisableUpdate = false;
}

void TkvlPreviewWorkspace::resizeEvent(QResizeEvent *Event)
{
    TkvlScrollWin::resizeEvent(Event);
    SetHorzPage(viewport()->width());
    SetVertPage(viewport()->height());
}

void TkvlPreviewWorkspace::objectOver(int Index, const QPoint &At, TMouseButton Button, TShiftState Shift, int Event)
{
    TkvlCustomPreviewPages *store = pages();
    if (!store || Index < 0 || Index >= store->GetCount())
        return;
    const QRect r = PageBounds(Index);
    int cursor = FDefaultCursor;
    // The store answers for the objects under the mouse: links, hints, cursors, drill-down.
    guarded([&] {
        store->ObjectOver(Index, At.x(), At.y(), Button, Shift, FZoom, r.left() - FOffset.x(), r.top() - FOffset.y(),
                          cursor, TkvlMouseIntEvents(Event));
    });
    viewport()->setCursor(cursorShape(cursor));
}

void TkvlPreviewWorkspace::mousePressEvent(QMouseEvent *Event)
{
    if (OnMouseDown)
        OnMouseDown(Event);
    if (FPageList.Count() && !FLocked && Event->button() == Qt::LeftButton) {
        FDown = true;
        FLastPoint = Event->position().toPoint();
    }
}

void TkvlPreviewWorkspace::mouseMoveEvent(QMouseEvent *Event)
{
    if (!FPageList.Count() || FLocked || FIsThumbnail)
        return;
    const QPoint p = Event->position().toPoint();
    if (FDown) {
        SetHorzPosition(HorzPosition() - (p.x() - FLastPoint.x()));
        SetVertPosition(VertPosition() - (p.y() - FLastPoint.y()));
        FLastPoint = p;
        return;
    }
    if (storeBusy())
        return;
    const int index = FPageList.FindPage(p.y() + FOffset.y(), p.x() + FOffset.x());
    objectOver(index, p, mbLeft, 0, meMouseMove);
}

namespace {
TMouseButton toButton(Qt::MouseButton b)
{
    return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

TShiftState toShift(Qt::KeyboardModifiers m, Qt::MouseButtons buttons)
{
    TShiftState s = 0;
    if (m & Qt::ShiftModifier)
        s |= 1 << ssShift;
    if (m & Qt::AltModifier)
        s |= 1 << ssAlt;
    if (m & Qt::ControlModifier)
        s |= 1 << ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= 1 << ssLeft;
    if (buttons & Qt::RightButton)
        s |= 1 << ssRight;
    if (buttons & Qt::MiddleButton)
        s |= 1 << ssMiddle;
    return s;
}
} // namespace

void TkvlPreviewWorkspace::mouseReleaseEvent(QMouseEvent *Event)
{
    if (!FIsThumbnail && FPreview)
        FPreview->DoClick();
    if (!FPageList.Count() || FLocked)
        return;
    FDown = false;
    const QPoint p = Event->position().toPoint();
    int x = p.x() + FOffset.x();
    if (FRTLLanguage)
        x = viewport()->width() - x;
    const int index = FPageList.FindPage(p.y() + FOffset.y(), x);
    if (FPreview) {
        FDisableUpdate = true;
        FPreview->SetPageNo(index + 1);
        FDisableUpdate = false;
    }
    if (FIsThumbnail || Event->button() == Qt::RightButton || storeBusy())
        return;
    const TMouseButton button = toButton(Event->button());
    const TShiftState shift = toShift(Event->modifiers(), Event->buttons());
    objectOver(index, p, button, shift, meMouseUp);
    // Tick counts from the clock service: monotonic, and pinned by tests.
    const qint64 now = ui::clock().TickCount();
    if (FTimeOffset == 0 || now - FTimeOffset > QApplication::doubleClickInterval()) {
        FTimeOffset = now;
        objectOver(index, p, button, shift, meClick);
    } else {
        FTimeOffset = 0;
        objectOver(index, p, button, shift, meDbClick);
    }
}

void TkvlPreviewWorkspace::mouseDoubleClickEvent(QMouseEvent *Event)
{
    mousePressEvent(Event);
    if (!FIsThumbnail && FPreview)
        FPreview->DoDblClick();
}

void TkvlPreviewWorkspace::wheelEvent(QWheelEvent *Event)
{
    if (!FPreview) {
        TkvlScrollWin::wheelEvent(Event);
        return;
    }
    FPreview->MouseWheelScroll(Event->angleDelta().y(), false, Event->modifiers().testFlag(Qt::ControlModifier));
    Event->accept();
}

void TkvlPreviewWorkspace::keyPressEvent(QKeyEvent *Event)
{
    if (FPreview)
        FPreview->KeyDown(Event);
    else
        TkvlScrollWin::keyPressEvent(Event);
}

bool TkvlPreviewWorkspace::FindText()
{
    TkvlCustomPreviewPages *store = pages();
    if (!FSearch || !store)
        return false;
    bool hit = false;
    if (!guarded([&] { hit = FSearch->FindNext(store, FPageList.Count()); }))
        return false;
    if (!hit) {
        viewport()->update();
        ui::ShowMessage(kvlResourceText(QStringLiteral("clStrNotFound")));
        return false;
    }
    const QRect page = PageBounds(FSearch->LastFoundPage());
    const QRect &found = FSearch->FoundRect();
    const int top = page.top() + roundEven(found.top() * FZoom);
    const int bottom = page.top() + roundEven((found.bottom() + 1) * FZoom);
    const int left = page.left() + roundEven(found.left() * FZoom);
    const int right = page.left() + roundEven((found.right() + 1) * FZoom);
    const int h = viewport()->height(), w = viewport()->width();
    if (top < VertPosition() || bottom > VertPosition() + h)
        SetVertPosition(bottom - h + 20);
    if (left < HorzPosition() || right > HorzPosition() + w)
        SetHorzPosition(right - w + 20);
    viewport()->update();
    return true;
}
