#include "designer/widgets/scrollbox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <vector>

TkvlScrollBox::TkvlScrollBox(QWidget *parent) : QScrollArea(parent), FContent(new QWidget)
{
    setFocusPolicy(Qt::StrongFocus);
    setWidgetResizable(false);
    setWidget(FContent);
    FContent->installEventFilter(this);
}

void TkvlScrollBox::UpdateRange()
{
    QRect extent;
    for (QObject *o : FContent->children())
        if (o->isWidgetType() && static_cast<QWidget *>(o)->isVisibleTo(FContent))
            extent |= static_cast<QWidget *>(o)->geometry();
    const QSize size(std::max(0, extent.right() + 1), std::max(0, extent.bottom() + 1));
    if (FContent->size() != size)
        FContent->resize(size);
}

bool TkvlScrollBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FContent) {
        switch (event->type()) {
        case QEvent::ChildAdded:
            if (QObject *c = static_cast<QChildEvent *>(event)->child(); c->isWidgetType())
                c->installEventFilter(this);
            UpdateRange();
            break;
        case QEvent::ChildRemoved:
        case QEvent::LayoutRequest:
            UpdateRange();
            break;
        default:
            break;
        }
    } else if (watched->isWidgetType() && watched->parent() == FContent &&
               (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        UpdateRange();
    }
    return QScrollArea::eventFilter(watched, event);
}

// Tab stays here: the controls inside use it on the selection.
bool TkvlScrollBox::focusNextPrevChild(bool) { return false; }

void TkvlScrollBox::keyPressEvent(QKeyEvent *event) { handOn(event, true); }
void TkvlScrollBox::keyReleaseEvent(QKeyEvent *event) { handOn(event, false); }

// The box itself does nothing with keys (arrows do not scroll); each control inside gets
// the key in child order, seeing what the controls before it left of it.
void TkvlScrollBox::handOn(QKeyEvent *event, bool press)
{
    // A plain control's copy of the key that it ignores travels back up to this box: it has
    // been handed on already.
    if (FHandingOn)
        return;
    FHandingOn = true;
    const struct Reset {
        bool &Flag;
        ~Reset() { Flag = false; }
    } reset{FHandingOn};
    int key = event->key();
    const Qt::KeyboardModifiers shift = event->modifiers();
    // A handler may add or remove controls: the list is taken first, guarded.
    std::vector<QPointer<QObject>> children;
    for (QObject *o : FContent->children())
        if (o->isWidgetType())
            children.emplace_back(o);
    for (const QPointer<QObject> &o : children) {
        if (!o || key == 0)
            continue;
        if (auto *t = dynamic_cast<TkvlKeyTarget *>(o.data())) {
            if (press)
                t->KeyDown(key, shift);
            else
                t->KeyUp(key, shift);
        } else {
            QKeyEvent copy(event->type(), key, shift, event->text(), event->isAutoRepeat(), ushort(event->count()));
            QApplication::sendEvent(o.data(), &copy);
        }
    }
    if (!press || event->text().isEmpty())
        return;
    QChar ch = event->text().at(0);
    for (const QPointer<QObject> &o : children)
        if (ch.isNull())
            break;
        else if (auto *t = dynamic_cast<TkvlKeyTarget *>(o.data()))
            t->KeyPress(ch);
}
