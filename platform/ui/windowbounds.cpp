#include "platform/ui/windowbounds.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QTimer>
#include <optional>

namespace ui {

namespace {

// Height of the strip at the top of a frame that must stay reachable to drag the window.
constexpr int kTitleStrip = 24;
// No decoration is wider than this; a larger difference is a geometry in flux.
constexpr int kMaxMargin = 256;
// How often and how long a new window is watched until the window manager has framed it.
// Counted in checks, not in time: a busy start-up can hold the event loop for seconds.
constexpr int kPollMs = 50;
constexpr int kSlowPollMs = 500; // a window manager that is slow (or absent) to frame the window
constexpr int kFastPolls = 40;
constexpr int kSettledPolls = 4;
constexpr int kMaxFramedPolls = 40; // a window manager that keeps moving it wins

// The frame margins, once the window manager has reported them. Right after mapping
// Qt can report a frame smaller than the client area; that is no frame yet.
std::optional<QSize> knownFrameExtra(const QWidget *w)
{
    const QRect f = w->frameGeometry();
    const QSize extra(f.width() - w->width(), f.height() - w->height());
    if (extra.isNull() || extra.width() < 0 || extra.height() < 0 || extra.width() > kMaxMargin ||
        extra.height() > kMaxMargin)
        return std::nullopt;
    return extra;
}

bool marginsMayBeUnknown(const QWidget *w)
{
    const QWindow *h = w->windowHandle();
    return !knownFrameExtra(w) && (!h || !h->isExposed());
}

// Watches a window that is being mapped until the window manager has framed it, then
// takes the margins off the outer size that was asked for (unless the size has been
// changed since) and puts the frame's corner where it was asked for: before the frame
// exists a move places the client area there, and the frame would land a title bar
// higher. The margins arrive without an event of their own and the window manager
// may apply earlier requests late, so the window is checked on every event that
// follows mapping and on a short timer, until it has stayed where it was asked to be.
class FrameFix final : public QObject {
public:
    explicit FrameFix(QWidget *w) : QObject(w), FWindow(w)
    {
        w->installEventFilter(this);
        FPoll.setInterval(kPollMs);
        QObject::connect(&FPoll, &QTimer::timeout, this, [this] { check(); });
        if (w->isVisible())
            startPolling();
    }

    QSize wanted;   // outer size asked for (empty: none)
    QSize applied;  // client size set meanwhile
    std::optional<QPoint> wantedPos; // frame corner asked for

    // Without a meta-object of its own findChild would take any child (a layout) for it.
    static FrameFix *of(const QWidget *w)
    {
        for (QObject *c : w->children())
            if (auto *f = dynamic_cast<FrameFix *>(c))
                return f;
        return nullptr;
    }

    // The outer bounds the window is on its way to.
    QRect target() const
    {
        const QRect f = FWindow->frameGeometry();
        const QSize extra = knownFrameExtra(FWindow).value_or(QSize());
        const QSize size = wanted.isValid() && FWindow->size() == applied ? wanted : FWindow->size() + extra;
        return QRect(wantedPos.value_or(f.topLeft()), size);
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (o != FWindow)
            return false;
        switch (e->type()) {
        case QEvent::Show:
            startPolling();
            check();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Paint:
        case QEvent::WindowActivate:
            if (FPoll.isActive())
                check();
            break;
        case QEvent::Hide:
            finish();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void startPolling()
    {
        if (!FPoll.isActive())
            FPoll.start();
    }

    void check()
    {
        if (FDone)
            return;
        const std::optional<QSize> extra = knownFrameExtra(FWindow);
        if (!extra) {
            if (++FUnframedPolls == kFastPolls)
                FPoll.setInterval(kSlowPollMs);
            return;
        }
        FPoll.setInterval(kPollMs);
        bool asked = false;
        if (wanted.isValid() && FWindow->size() == applied && FWindow->size() + *extra != wanted) {
            FWindow->resize(wanted - *extra);
            applied = FWindow->size();
            asked = true;
        }
        if (wantedPos && FWindow->frameGeometry().topLeft() != *wantedPos) {
            FWindow->move(*wantedPos);
            asked = true;
        }
        FSettled = asked ? 0 : FSettled + 1;
        if (FSettled >= kSettledPolls || ++FFramedPolls >= kMaxFramedPolls)
            finish();
    }

    void finish()
    {
        FDone = true;
        FPoll.stop();
        FWindow->removeEventFilter(this);
        deleteLater();
    }

    QWidget *FWindow;
    QTimer FPoll;
    int FUnframedPolls = 0;
    int FFramedPolls = 0;
    int FSettled = 0;
    bool FDone = false;
};

FrameFix *pendingFix(QWidget *w)
{
    FrameFix *fix = FrameFix::of(w);
    return fix ? fix : new FrameFix(w);
}

// Outer bounds as last asked for while the window is still being framed.
QRect currentOuter(const QWidget *w)
{
    if (const FrameFix *fix = FrameFix::of(w))
        return fix->target();
    return w->frameGeometry();
}

void setOuterPos(QWidget *w, const QPoint &p)
{
    w->move(p);
    if (!w->isWindow())
        return;
    if (marginsMayBeUnknown(w))
        pendingFix(w)->wantedPos = p;
    else if (FrameFix *fix = FrameFix::of(w))
        fix->wantedPos = p;
}

void setOuterSize(QWidget *w, int width, int height)
{
    const QSize extra = knownFrameExtra(w).value_or(QSize(0, 0));
    w->resize(width - extra.width(), height - extra.height());
    if (!w->isWindow())
        return;
    FrameFix *fix = FrameFix::of(w);
    if (marginsMayBeUnknown(w))
        fix = pendingFix(w);
    if (fix) {
        fix->wanted = QSize(width, height);
        fix->applied = w->size();
    }
}

} // namespace

QRect OuterBounds(const QWidget *w) { return currentOuter(w); }

void SetOuterTop(QWidget *w, int top) { setOuterPos(w, QPoint(currentOuter(w).left(), top)); }
void SetOuterLeft(QWidget *w, int left) { setOuterPos(w, QPoint(left, currentOuter(w).top())); }

void SetOuterWidth(QWidget *w, int width)
{
    setOuterSize(w, width, currentOuter(w).height());
}

void SetOuterHeight(QWidget *w, int height)
{
    setOuterSize(w, currentOuter(w).width(), height);
}

void BringOnScreen(QWidget *w)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return;
    const QRect frame = currentOuter(w);
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
    const QRect now = currentOuter(w); // minimum sizes may have kept it larger
    const int left = qMax(area.left(), qMin(now.left(), area.right() + 1 - now.width()));
    const int top = qMax(area.top(), qMin(now.top(), area.bottom() + 1 - now.height()));
    setOuterPos(w, QPoint(left, top));
}

} // namespace ui
