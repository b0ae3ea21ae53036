#include "designer/widgets/designerworkspace.h"

#include "designer/widgets/inplacememo.h"
#include "designer/widgets/marginspanel.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/ui/messages.h"
#include "report/memo/kvlmemo.h"
#include "report/widgets/kvlformutils.h"

#include <QScrollBar>

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPixmap>
#include <QPointer>

QCursor kvlPencilCursor()
{
    // A pencil lying from the lower left (its tip, the hot spot) to the upper right.
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, false);
        const QPolygon body({QPoint(5, 22), QPoint(20, 7), QPoint(25, 12), QPoint(10, 27)});
        p.setPen(Qt::black);
        p.setBrush(QColor(250, 200, 60));
        p.drawPolygon(body);
        p.setBrush(QColor(230, 120, 120));  // the eraser end
        p.drawPolygon(QPolygon({QPoint(20, 7), QPoint(23, 4), QPoint(28, 9), QPoint(25, 12)}));
        p.setBrush(QColor(240, 220, 180));  // the sharpened wood
        p.drawPolygon(QPolygon({QPoint(5, 22), QPoint(10, 27), QPoint(1, 30)}));
        p.setPen(Qt::black);
        p.drawPoint(1, 30);
        p.drawPoint(2, 29);
    }
    return QCursor(pm, 1, 30);
}

TkvlDesignerWorkspace::TkvlDesignerWorkspace(QWidget *Parent, std::unique_ptr<TkvlGestures> Core)
    : QWidget(Parent), FCore(Core ? std::move(Core) : std::make_unique<TkvlGestures>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);  // the paint covers everything
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    FMarginsPanel = new TMarginsPanel(Parent, this);
    FMarginsPanel->stackUnder(this);
    FInplaceMemo = new TInplaceMemo(this);
    FCore->SetView(this);
    FCore->SetGestureView(this);
    FCore->OnModify = [this] { Q_EMIT Modified(); };
    FCore->OnSelectionChanged = [this] { Q_EMIT SelectionChanged(); };
    FCore->OnInsert = [this] { Q_EMIT Inserted(); };
    FCore->OnNotifyPosition = [this](const TkvlRect &r) { Q_EMIT PositionChanged(r.Left, r.Top, r.Right, r.Bottom); };
    GeometryChanged();
}

TkvlDesignerWorkspace::~TkvlDesignerWorkspace()
{
    FCore->SetView(nullptr);
    FCore->SetGestureView(nullptr);
    // The panel points at us: it goes with us unless its parent took it already.
    delete FMarginsPanel;
}

void TkvlDesignerWorkspace::SetParent(QWidget *AParent)
{
    const bool shown = isVisible();
    FMarginsPanel->setParent(AParent);
    setParent(AParent);
    FMarginsPanel->stackUnder(this);
    FMarginsPanel->setVisible(shown);
    setVisible(shown);
}

QPoint TkvlDesignerWorkspace::Origin() const { return FMarginsPanel->pos(); }

void TkvlDesignerWorkspace::SetOrigin(const QPoint &Value)
{
    FMarginsPanel->move(Value);
    GeometryChanged();
}

void TkvlDesignerWorkspace::SetColor(TColor Value)
{
    FCore->FColor = Value;
    kvlSetBackground(FMarginsPanel, Value);
    FMarginsPanel->update();
    update();
}

void TkvlDesignerWorkspace::Invalidate() { update(); }

void TkvlDesignerWorkspace::GeometryChanged()
{
    FMarginsPanel->resize(FCore->PanelSize());
    setGeometry(FCore->WorkspaceRect().translated(FMarginsPanel->pos()));
    FMarginsPanel->update();
    update();
}

void TkvlDesignerWorkspace::BringToFront() { raise(); }

void TkvlDesignerWorkspace::RefreshHover() { FCore->MouseMove(Qt::NoModifier, 0, 0); }

TMarginsPanel *TkvlDesignerWorkspace::MarginsPanel() const { return FMarginsPanel; }

// ---- the gestures' view ----

void TkvlDesignerWorkspace::SetCursorKind(TkvlCursorKind Kind)
{
    switch (Kind) {
    case TkvlCursorKind::Default: setCursor(Qt::ArrowCursor); break;
    case TkvlCursorKind::SizeNWSE: setCursor(Qt::SizeFDiagCursor); break;
    case TkvlCursorKind::SizeNESW: setCursor(Qt::SizeBDiagCursor); break;
    case TkvlCursorKind::SizeWE: setCursor(Qt::SizeHorCursor); break;
    case TkvlCursorKind::SizeNS: setCursor(Qt::SizeVerCursor); break;
    case TkvlCursorKind::Cross:
    case TkvlCursorKind::CrossHair: setCursor(Qt::CrossCursor); break;
    case TkvlCursorKind::SplitV: setCursor(Qt::SplitVCursor); break;
    case TkvlCursorKind::SplitH: setCursor(Qt::SplitHCursor); break;
    case TkvlCursorKind::IBeam: setCursor(Qt::IBeamCursor); break;
    case TkvlCursorKind::Pencil: setCursor(kvlPencilCursor()); break;
    case TkvlCursorKind::Hand: setCursor(Qt::PointingHandCursor); break;
    }
}

TkvlScrollBox *TkvlDesignerWorkspace::scrollBox() const
{
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (auto *box = dynamic_cast<TkvlScrollBox *>(w))
            return box;
    return nullptr;
}

// Scroll positions relative to the sheet, whose top-left is Origin() in the scrolled area.
bool TkvlDesignerWorkspace::ScrollState(QSize &Client, QPoint &Pos)
{
    QAbstractScrollArea *area = scrollBox();
    if (!area)
        return false;
    Client = area->viewport()->size();
    Pos = QPoint(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value()) - Origin();
    return true;
}

void TkvlDesignerWorkspace::SetScrollPos(const QPoint &Pos)
{
    if (QAbstractScrollArea *area = scrollBox()) {
        const QPoint p = Pos + Origin();
        area->horizontalScrollBar()->setValue(p.x());
        area->verticalScrollBar()->setValue(p.y());
    }
}

bool TkvlDesignerWorkspace::HasPopup() const { return FPopup != nullptr; }

void TkvlDesignerWorkspace::PopupAt(int X, int Y)
{
    if (FPopup)
        FPopup->popup(mapToGlobal(QPoint(X, Y)));
}

bool TkvlDesignerWorkspace::InplaceVisible() const { return FInplaceMemo->isVisible(); }
void TkvlDesignerWorkspace::InplaceEdit(TkvlCustomMemoView *Memo) { FInplaceMemo->Edit(Memo); }
void TkvlDesignerWorkspace::InplaceDone() { FInplaceMemo->EditDone(); }

void TkvlDesignerWorkspace::FocusForPress(bool ReportPage)
{
    if (!ReportPage) {
        if (QWidget *f = window()->focusWidget())
            f->clearFocus();
    } else if (TkvlScrollBox *box = scrollBox())
        box->setFocus(Qt::MouseFocusReason);
}

// Where the mouse was last seen over the workspace or the margins.
QPoint TkvlDesignerWorkspace::CursorPos() const { return FLastMouse; }

// ---- handlers ----

void TkvlDesignerWorkspace::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    FCore->MouseDown(Button, Shift, X, Y);
}

void TkvlDesignerWorkspace::MouseMove(Qt::KeyboardModifiers Shift, int X, int Y)
{
    FLastMouse = QPoint(X, Y);
    FCore->MouseMove(Shift, X, Y);
}

void TkvlDesignerWorkspace::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    FCore->MouseUp(Button, Shift, X, Y);
}

void TkvlDesignerWorkspace::MouseLeave() { FCore->MouseLeave(); }

void TkvlDesignerWorkspace::KeyDown(int &Key, Qt::KeyboardModifiers Shift)
{
    // The Alt key's own press may come without the Alt state (X11 reports the state before it).
    if (Key == Qt::Key_Alt)
        Shift |= Qt::AltModifier;
    try {
        FCore->KeyDown(Key, Shift);
    } catch (const EDesignerError &e) {  // deleting an inherited object
        ui::ShowMessage(e.message());
    }
}

void TkvlDesignerWorkspace::KeyPress(QChar &) {}

void TkvlDesignerWorkspace::KeyUp(int &Key, Qt::KeyboardModifiers Shift) { FCore->KeyUp(Key, Shift); }

void TkvlDesignerWorkspace::paintEvent(QPaintEvent *Event)
{
    // Drawn off screen and copied in one block, so the page never flickers.
    const QRect area = Event->rect();
    QImage buffer(area.size(), QImage::Format_RGB32);
    {
        QPainter p(&buffer);
        p.translate(-area.topLeft());
        gfx::PainterCanvas canvas(&p, 96, 96);
        TkvlGestures &c = *FCore;
        c.PrepareIfDue();
        c.Paint(&canvas, width(), height());
        using M = TkvlDesignMode1;
        if (c.FMode1 == M::dmSelectionRect && c.FMouseDown)
            c.DrawSelectionRect(&canvas);
        else if (c.FMode1 == M::dmInsertObject)
            c.DrawInsertionRect(&canvas);
        else if (c.FMode1 == M::dmInsertLine)
            c.DrawCross(&canvas, c.FMouseDown);
    }
    QPainter(this).drawImage(area.topLeft(), buffer);
}

void TkvlDesignerWorkspace::mousePressEvent(QMouseEvent *Event)
{
    // A press closes the editor even where a subclass's handler takes the press itself.
    if (FInplaceMemo->isVisible())
        FInplaceMemo->EditDone();
    const QPoint p = Event->position().toPoint();
    MouseDown(Event->button(), Event->modifiers(), p.x(), p.y());
}

void TkvlDesignerWorkspace::mouseMoveEvent(QMouseEvent *Event)
{
    const QPoint p = Event->position().toPoint();
    MouseMove(Event->modifiers(), p.x(), p.y());
}

void TkvlDesignerWorkspace::mouseReleaseEvent(QMouseEvent *Event)
{
    const QPoint p = Event->position().toPoint();
    MouseUp(Event->button(), Event->modifiers(), p.x(), p.y());
}

// The double click stands for its second press, which the gestures then swallow.
void TkvlDesignerWorkspace::mouseDoubleClickEvent(QMouseEvent *Event)
{
    if (Event->button() == Qt::LeftButton) {
        FCore->EditObject();
        FCore->FDblClicked = true;
    }
    const QPoint p = Event->position().toPoint();
    MouseDown(Event->button(), Event->modifiers(), p.x(), p.y());
}

void TkvlDesignerWorkspace::leaveEvent(QEvent *) { MouseLeave(); }

void TkvlDesignerWorkspace::moveEvent(QMoveEvent *)
{
    if (FCore->OnTopLeftChanged)
        FCore->OnTopLeftChanged();
}
