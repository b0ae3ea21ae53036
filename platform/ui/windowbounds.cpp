#include "platform/ui/windowbounds.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <optional>

namespace ui {

namespace {

// Height of the strip at the top of a frame that must stay reachable to drag the window.
constexpr int kTitleStrip = 24;

QSize frameExtra(const QWidget *w)
{
    const QRect f = w->frameGeometry();
    return QSize(f.width() - w->width(), f.height() - w->height());
}

bool marginsMayBeUnknown(const QWidget *w)
{
    const QWindow *h = w->windowHandle();
    return frameExtra(w).isNull() && (!h || !h->isExposed());
}

// Waits for the window manager to report the frame, then takes the margins off
// the outer size that was asked for, unless the size has been changed since, and
// puts the frame's corner where it was asked for: before the frame exists a move
// places the client area there, and the frame would land a title bar higher.
class FrameFix final : public QObject {
public:
    explicit FrameFix(QWidget *w) : QObject(w), FWindow(w) { w->installEventFilter(this); }

    QSize wanted;   // outer size asked for (empty: none)
    QSize applied;  // client size set meanwhile
    std::optional<QPoint> wantedPos; // frame corner asked for

    // Without a meta-object of its own findChild would take any child (a layout) for it.
    static FrameFix *of(QWidget *w)
    {
        for (QObject *c : w->children())
            if (auto *f = dynamic_cast<FrameFix *>(c))
                return f;
        return nullptr;
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (o != FWindow)
            return false;
        switch (e->type()) {
        // The frame extents arrive without an event of their own: look at every
        // event that follows mapping.
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Paint:
        case QEvent::WindowActivate: {
            const QSize extra = frameExtra(FWindow);
            if (extra.isNull())
                break;
            if (wanted.isValid() && FWindow->size() == applied)
                FWindow->resize(wanted - extra);
            if (wantedPos && FWindow->frameGeometry().topLeft() != *wantedPos)
                FWindow->move(*wantedPos);
            deleteLater();
            FWindow->removeEventFilter(this);
            break;
        }
        case QEvent::Hide:
            FWindow->removeEventFilter(this);
            deleteLater();
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget *FWindow;
};

FrameFix *pendingFix(QWidget *w)
{
    FrameFix *fix = FrameFix::of(w);
    return fix ? fix : new FrameFix(w);
}

void setOuterPos(QWidget *w, const QPoint &p)
{
    w->move(p);
    if (!w->isWindow())
        return;
    if (marginsMayBeUnknown(w))
        pendingFix(w)->wantedPos = p;
    else if (FrameFix *fix = FrameFix::of(w))
        fix->wantedPos.reset();
}

void setOuterSize(QWidget *w, int width, int height)
{
    const QSize extra = frameExtra(w);
    w->resize(width - extra.width(), height - extra.height());
    if (!w->isWindow())
        return;
    FrameFix *fix = FrameFix::of(w);
    if (marginsMayBeUnknown(w)) {
        fix = pendingFix(w);
        fix->wanted = QSize(width, height);
        fix->applied = w->size();
    } else if (fix) {
        fix->wanted = w->size() + extra;
        fix->applied = w->size();
    }
}

} // namespace

QRect OuterBounds(const QWidget *w) { return w->frameGeometry(); }

void SetOuterTop(QWidget *w, int top) { setOuterPos(w, QPoint(w->x(), top)); }
void SetOuterLeft(QWidget *w, int left) { setOuterPos(w, QPoint(left, w->y())); }

void SetOuterWidth(QWidget *w, int width)
{
    setOuterSize(w, width, w->frameGeometry().height());
}

void SetOuterHeight(QWidget *w, int height)
{
    setOuterSize(w, w->frameGeometry().width(), height);
}

void BringOnScreen(QWidget *w)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return;
    const QRect frame = w->frameGeometry();
    const QRect strip(frame.left(), frame.top(), frame.width(), qMin(frame.height(), kTitleStrip));
    for (const QScreen *s : screens)
        if (s->availableGeometry().intersects(strip))
            return;

    // The nearest screen: the one whose area is closest to the frame's centre.
    const QPoint c = frame.center();
    QScreen *best = nullptr;
    qint64 bestDist = 0;
    for (QScreen *s : screens) {
        const QRect a = s->availableGeometry();
        const qint64 dx = c.x() < a.left() ? a.left() - c.x() : (c.x() > a.right() ? c.x() - a.right() : 0);
        const qint64 dy = c.y() < a.top() ? a.top() - c.y() : (c.y() > a.bottom() ? c.y() - a.bottom() : 0);
        const qint64 d = dx * dx + dy * dy;
        if (!best || d < bestDist) {
            best = s;
            bestDist = d;
        }
    }
    const QRect area = best->availableGeometry();
    if (frame.width() > area.width() || frame.height() > area.height())
        setOuterSize(w, qMin(frame.width(), area.width()), qMin(frame.height(), area.height()));
    const QRect now = w->frameGeometry(); // minimum sizes may have kept it larger
    const int left = qMax(area.left(), qMin(now.left(), area.right() + 1 - now.width()));
    const int top = qMax(area.top(), qMin(now.top(), area.bottom() + 1 - now.height()));
    setOuterPos(w, QPoint(left, top));
}

} // namespace ui
