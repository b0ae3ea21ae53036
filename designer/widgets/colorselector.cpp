#include "designer/widgets/colorselector.h"

#include "designer/core/colortable.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/ui/services.h"
#include "report/widgets/kvlpopupform.h"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

gfx::FontDesc kvlCanvasFont(const QFont &Font)
{
    gfx::FontDesc d;
    d.name = Font.family();
    d.height = Font.pixelSize() > 0 ? -Font.pixelSize() : -int(std::lround(Font.pointSizeF() * 96 / 72));
    d.style = (Font.bold() ? gfx::StyleBold : 0) | (Font.italic() ? gfx::StyleItalic : 0) |
              (Font.underline() ? gfx::StyleUnderline : 0) | (Font.strikeOut() ? gfx::StyleStrikeOut : 0);
    return d;
}

// ---- TkvlCustomSelector

TkvlCustomSelector::TkvlCustomSelector(QWidget *Owner, int clWidth, int clHeight)
    : FclWidth(clWidth), FclHeight(clHeight), FPopup(new TkvlPopupForm)
{
    setParent(FPopup);
    setFixedSize(FclWidth, FclHeight);
    setMouseTracking(true);
    // Everything is painted: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    FPopup->resize(FclWidth, FclHeight);
    if (Owner) {
        FTag = Owner->property("Tag").toInt();
        QObject::connect(Owner, &QObject::destroyed, FPopup, &QObject::deleteLater);
        FPopup->move(Owner->mapToGlobal(QPoint(0, Owner->height() + 2)));
    }
    FPopup->show();
    FPopup->activateWindow();
}

void TkvlCustomSelector::Paint(TCanvas &Canvas)
{
    Canvas.setPen(gfx::Pen{clBtnShadow});
    Canvas.setBrush(gfx::Brush{clWindow, bsSolid});
    Canvas.rectangle(0, 0, width(), height());
}

void TkvlCustomSelector::ClosePopup()
{
    FPopup->hide();
    FPopup->deleteLater();
}

void TkvlCustomSelector::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    gfx::PainterCanvas canvas(&painter, 96, 96);
    canvas.setFont(kvlCanvasFont(font()));
    Paint(canvas);
    if (FHover)
        DrawEdge(canvas, FHoverPos.x(), FHoverPos.y(), FDown);
}

void TkvlCustomSelector::hover(QPoint P, bool Down)
{
    FHover = true;
    FHoverPos = P;
    FDown = Down;
    update();
}

void TkvlCustomSelector::mousePressEvent(QMouseEvent *Event)
{
    if (Event->button() == Qt::LeftButton)
        hover(Event->position().toPoint(), true);
}

void TkvlCustomSelector::mouseMoveEvent(QMouseEvent *Event) { hover(Event->position().toPoint(), false); }

void TkvlCustomSelector::mouseReleaseEvent(QMouseEvent *Event)
{
    if (Event->button() == Qt::LeftButton)
        Release(Event->position().toPoint().x(), Event->position().toPoint().y());
}

// ---- TkvlColorSelector

namespace {

// Three nested one-pixel frames: the outer one blue, the inner two light grey.
void hoverFrame(TCanvas &Canvas, QRect r)
{
    Canvas.setBrush(gfx::Brush{0, bsClear});
    const TColor colors[] = {0xC56A31, 0xE8E6E2, 0xE8E6E2};
    for (TColor c : colors) {
        Canvas.setPen(gfx::Pen{c});
        Canvas.rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        r.adjust(1, 1, -1, -1);
    }
}

} // namespace

TkvlColorSelector::TkvlColorSelector(QWidget *Owner)
    : TkvlCustomSelector(Owner, kvlColorGrid::Width, kvlColorGrid::Height)
{
}

void TkvlColorSelector::SetBtnCaption(const QString &Value)
{
    FBtnCaption = Value;
    update();
}

void TkvlColorSelector::Paint(TCanvas &Canvas)
{
    TkvlCustomSelector::Paint(Canvas);
    const TkvlColorTable &table = kvlColorTable();
    Canvas.setPen(gfx::Pen{clGray});
    for (int i = 0; i < TkvlColorTable::Count; ++i) {
        const QRect r = kvlColorGrid::SwatchRect(i);
        const TColor c = i == 0 ? clWhite : table.Color(i);
        Canvas.setBrush(gfx::Brush{c, bsSolid});
        Canvas.rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }
    // The first cell stands for no colour: white, crossed.
    Canvas.moveTo(10, 10);
    Canvas.lineTo(18, 18);
    Canvas.moveTo(17, 10);
    Canvas.lineTo(9, 18);

    const QRect b = kvlColorGrid::ButtonRect(size());
    Canvas.setBrush(gfx::Brush{clBtnFace, bsSolid});
    Canvas.rectangle(b.left(), b.top(), b.right() + 1, b.bottom() + 1);
    Canvas.setBkMode(gfx::BkMode::Transparent);
    Canvas.setPen(gfx::Pen{clBtnText});
    gfx::FontDesc f = Canvas.font();
    f.color = clBtnText;
    Canvas.setFont(f);
    Canvas.textOut((width() - Canvas.textWidth(FBtnCaption)) / 2, 118, FBtnCaption);
}

void TkvlColorSelector::DrawEdge(TCanvas &Canvas, int X, int Y, bool)
{
    if (const auto hit = kvlColorGrid::HitTest(QPoint(X, Y), size()))
        hoverFrame(Canvas, kvlColorGrid::HoverRect(*hit, size()));
}

void TkvlColorSelector::Release(int X, int Y)
{
    const auto hit = kvlColorGrid::HitTest(QPoint(X, Y), size());
    if (!hit)
        return;
    QPointer<TkvlColorSelector> self(this);
    if (*hit == kvlColorGrid::Button) {
        // Out of sight while the dialog runs; hidden, the pop-up does not free itself (and this
        // selector with it) when the dialog takes the focus.
        Popup()->hide();
        TColor c = FColor;
        const bool ok = ui::colorDialog().Execute(c);
        if (!self)
            return;
        if (!ok) {
            ClosePopup();
            return;
        }
        FColor = c;
        kvlColorTable().AddCustom(c);
    } else {
        FColor = kvlColorTable().Color(*hit);
    }
    update();
    if (OnColorChanged)
        OnColorChanged(this);
    if (self)
        ClosePopup();
}

// ---- TkvlLineSelector

void kvlDrawLineStyles(TCanvas &Canvas, int Width, int Gap, bool Thick)
{
    auto line = [&](int y) {
        for (int k = 0; k < (Thick ? 2 : 1); ++k) {
            Canvas.moveTo(7, y + k);
            Canvas.lineTo(Width - 8, y + k);
        }
    };
    for (int i = 0; i < kvlLineRows::Count; ++i) {
        const int y = kvlLineRows::LineY(i);
        if (i == fsDouble) {
            Canvas.setPen(gfx::Pen{clBlack, 1, psSolid});
            line(y - Gap);
            line(y + Gap);
        } else {
            // The frame styles up to dash-dot-dot share their ordinals with the pen styles.
            Canvas.setPen(gfx::Pen{clBlack, 1, TPenStyle(i)});
            line(y);
        }
    }
}

TkvlLineSelector::TkvlLineSelector(QWidget *Owner)
    : TkvlCustomSelector(Owner, kvlLineRows::SelectorWidth, kvlLineRows::SelectorHeight)
{
}

void TkvlLineSelector::Paint(TCanvas &Canvas)
{
    TkvlCustomSelector::Paint(Canvas);
    Canvas.setBkMode(gfx::BkMode::Transparent);
    kvlDrawLineStyles(Canvas, width(), 2, true);
}

void TkvlLineSelector::DrawEdge(TCanvas &Canvas, int X, int Y, bool IsDown)
{
    const auto row = kvlLineRows::HitTest(QPoint(X, Y), size());
    if (!row)
        return;
    QRect r = kvlLineRows::RowRect(*row, size());
    Canvas.setPen(gfx::Pen{clBtnShadow});
    Canvas.setBrush(gfx::Brush{0, bsClear});
    for (int k = 0; k < (IsDown ? 2 : 1); ++k) {
        Canvas.rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        r.adjust(1, 1, -1, -1);
    }
}

void TkvlLineSelector::Release(int X, int Y)
{
    const auto row = kvlLineRows::HitTest(QPoint(X, Y), size());
    if (!row)
        return;
    FStyle = *row;
    update();
    QPointer<TkvlLineSelector> self(this);
    if (OnStyleChanged)
        OnStyleChanged(this);
    if (self)
        ClosePopup();
}
