#pragma once
// The scrolling canvas on which the preview shows prepared pages (the page workspace and the
// thumbnail strip): pages laid out in rows, drawn through the store at the zoom, dragged
// with the hand, mouse events passed to the store's hit test, text found and shown.
#include "engine/preview/kvlpagelist.h"
#include "engine/widgets/kvlscrollwin.h"
#include "platform/rtl/color.h"
#include "report/document/kvlreportunit.h"
#include "report/seams/kvlseamtypes.h"

#include <QPoint>
#include <functional>

class QMouseEvent;
class TkvlCustomPreviewPages;
class TkvlPreview;
class TkvlTextSearch;

class TkvlPreviewWorkspace : public TkvlScrollWin {
    Q_OBJECT
public:
    explicit TkvlPreviewWorkspace(QWidget *Parent = nullptr, TkvlPreview *Preview = nullptr);
    ~TkvlPreviewWorkspace() override;

    TColor ActiveFrameColor() const { return FActiveFrameColor; }
    void SetActiveFrameColor(TColor Value);
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);
    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor Value);
    bool IsThumbnail() const { return FIsThumbnail; }
    void SetIsThumbnail(bool Value) { FIsThumbnail = Value; }
    bool Locked() const { return FLocked; }
    void SetLocked(bool Value) { FLocked = Value; }
    double Zoom() const { return FZoom; }
    void SetZoom(double Value) { FZoom = Value; }
    int PageNo() const { return FPageNo; }
    void SetPageNo(int Value) { FPageNo = Value; }
    bool RTLLanguage() const { return FRTLLanguage; }
    void SetRTLLanguage(bool Value) { FRTLLanguage = Value; }
    TkvlCustomPreviewPages *PreviewPages() const { return FPreviewPages; }
    void SetPreviewPages(TkvlCustomPreviewPages *Value) { FPreviewPages = Value; }
    // The search shared with the preview (its text, found place, cached page).
    void SetSearch(TkvlTextSearch *Value) { FSearch = Value; }
    bool DisableUpdate() const { return FDisableUpdate; }
    QPoint Offset() const { return FOffset; }
    const TkvlPageList &PageList() const { return FPageList; }

    // Layout.
    void AddPage(int Width, int Height) { FPageList.AddPage(Width, Height, FZoom); }
    void ClearPageList() { FPageList.Clear(); }
    void CalcPageBounds(int ClientWidth) { FPageList.CalcBounds(ClientWidth); }
    // Lays the pages out while they are added (see TkvlPageList::BeginLayout).
    void BeginPageLayout(int ClientWidth, int ExpectedCount) { FPageList.BeginLayout(ClientWidth, ExpectedCount); }
    void EndPageLayout() { FPageList.EndLayout(); }
    void UpdateScrollBars();
    // The page's rectangle in the scrolled area (at the zoom).
    QRect PageBounds(int Index) const;

    // Scrolls so that the page's top is 10 pixels below the view's top.
    void SetToPageNo(int PageN);
    // Scrolls to Top pixels (zoom 1) below the top of the page's printable area.
    void SetPosition(int PageN, int Top);
    int GetTopPosition();

    // Repaints; with FramesOnly only the background and the current page's frame change,
    // around the old and the new current page.
    void DrawPages(bool FramesOnly);
    // The next occurrence of the search text from the last found place; the view scrolls to
    // it. Not found: "clStrNotFound" is shown once.
    bool FindText();

    // Fires first on every mouse press (the preview's OnMouseDown).
    std::function<void(QMouseEvent *)> OnMouseDown;

protected:
    void OnHScrollChange() override;
    void OnVScrollChange() override;
    void Paint(QPainter &Painter, const QRegion &Dirty) override;
    void resizeEvent(QResizeEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
    void wheelEvent(QWheelEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    QRect viewBounds(int Index) const;
    QRegion frameArea(int PageN) const;
    bool storeBusy() const;
    // The pages to draw: none once the report has let the preview go (its store may be gone).
    TkvlCustomPreviewPages *pages() const;
    void objectOver(int Index, const QPoint &At, TMouseButton Button, TShiftState Shift, int Event);

    TColor FActiveFrameColor = 0x3CC7FF;
    TColor FBackColor = 0x808080;
    int FDefaultCursor = crKvlHand; // the library's hand, over the pages
    bool FDisableUpdate = false;
    bool FDown = false;
    int FFramePage = 0; // the page whose frame was drawn last
    TColor FFrameColor = 0x606060;
    bool FIsThumbnail = false;
    QPoint FLastPoint;
    bool FLocked = false;
    QPoint FOffset;
    qint64 FTimeOffset = 0;
    TkvlPageList FPageList;
    int FPageNo = 1;
    TkvlPreview *FPreview;
    TkvlCustomPreviewPages *FPreviewPages = nullptr;
    TkvlTextSearch *FSearch = nullptr;
    double FZoom = 1.0;
    bool FRTLLanguage = false;
};
