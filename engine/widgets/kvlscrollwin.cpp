#include "engine/widgets/kvlscrollwin.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <algorithm>

TkvlScrollWin::TkvlScrollWin(QWidget *Parent) : QAbstractScrollArea(Parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    SetBorderStyle(bsSingle);
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int Action) { barAction(Qt::Horizontal, Action); });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int Action) { barAction(Qt::Vertical, Action); });
    updateBar(Qt::Horizontal);
    updateBar(Qt::Vertical);
}

void TkvlScrollWin::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    setFrameStyle(Value == bsSingle ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

void TkvlScrollWin::SetHorzPage(int Value)
{
    FHorzPage = Value;
    SetHorzRange(FHorzRange);
}

void TkvlScrollWin::SetVertPage(int Value)
{
    FVertPage = Value;
    SetVertRange(FVertRange);
}

void TkvlScrollWin::SetHorzRange(int Value)
{
    FHorzRange = Value;
    updateBar(Qt::Horizontal);
}

void TkvlScrollWin::SetVertRange(int Value)
{
    FVertRange = Value;
    updateBar(Qt::Vertical);
}

void TkvlScrollWin::SetSmallChange(int Value)
{
    FSmallChange = Value;
    horizontalScrollBar()->setSingleStep(Value);
    verticalScrollBar()->setSingleStep(Value);
}

void TkvlScrollWin::SetHorzPosition(int Value)
{
    Value = std::max(0, std::min(Value, FHorzRange - FHorzPage));
    if (Value == FHorzPosition)
        return;
    FHorzPosition = Value;
    horizontalScrollBar()->setValue(Value);
    OnHScrollChange();
}

void TkvlScrollWin::SetVertPosition(int Value)
{
    Value = std::max(0, std::min(Value, FVertRange - FVertPage));
    if (Value == FVertPosition)
        return;
    FVertPosition = Value;
    verticalScrollBar()->setValue(Value);
    OnVScrollChange();
}

void TkvlScrollWin::updateBar(Qt::Orientation Direction)
{
    const bool h = Direction == Qt::Horizontal;
    QScrollBar *bar = h ? horizontalScrollBar() : verticalScrollBar();
    const int range = h ? FHorzRange : FVertRange, page = h ? FHorzPage : FVertPage;
    const QSignalBlocker block(bar);
    bar->setRange(0, std::max(0, range - page));
    bar->setPageStep(std::max(1, page));
    bar->setSingleStep(FSmallChange);
    bar->setValue(h ? FHorzPosition : FVertPosition);
}

void TkvlScrollWin::Scroll(Qt::Orientation Direction, TScrollCode Code, int TrackPosition)
{
    const bool h = Direction == Qt::Horizontal;
    const int position = h ? FHorzPosition : FVertPosition;
    int next = position;
    switch (Code) {
    case scLineUp: next = position - FSmallChange; break;
    case scLineDown: next = position + FSmallChange; break;
    case scPageUp: next = position - FLargeChange; break;
    case scPageDown: next = position + FLargeChange; break;
    case scThumbPosition:
    case scThumbTrack: next = TrackPosition; break;
    case scTop: next = 0; break;
    case scBottom: next = h ? FHorzRange : FVertRange; break;
    case scEndScroll: return;
    }
    if (h)
        SetHorzPosition(next);
    else
        SetVertPosition(next);
}

void TkvlScrollWin::barAction(Qt::Orientation Direction, int Action)
{
    QScrollBar *bar = Direction == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    TScrollCode code = scEndScroll;
    switch (QAbstractSlider::SliderAction(Action)) {
    case QAbstractSlider::SliderSingleStepSub: code = scLineUp; break;
    case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; break;
    case QAbstractSlider::SliderPageStepSub: code = scPageUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = scPageDown; break;
    case QAbstractSlider::SliderMove: code = scThumbTrack; break;
    case QAbstractSlider::SliderToMinimum: code = scTop; break;
    case QAbstractSlider::SliderToMaximum: code = scBottom; break;
    default: break;
    }
    Scroll(Direction, code, bar->sliderPosition());
    // The bar shows our position, whatever step it computed itself.
    bar->setSliderPosition(Direction == Qt::Horizontal ? FHorzPosition : FVertPosition);
}

void TkvlScrollWin::Paint(QPainter &Painter, const QRegion &Dirty)
{
    for (const QRect &r : Dirty)
        Painter.fillRect(r, palette().window());
}

void TkvlScrollWin::paintEvent(QPaintEvent *Event)
{
    QPainter painter(viewport());
    Paint(painter, Event->region());
}
