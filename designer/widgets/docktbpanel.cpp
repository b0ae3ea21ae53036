#include "designer/widgets/docktbpanel.h"

#include "designer/widgets/docksite.h"

#include <QPainter>
#include <QToolBar>

namespace {

// A parent standing at the left or right of its window: a vertical toolbar, or anything
// placed in a left or right dock site.
bool standsAtSide(const QWidget *w)
{
    if (const auto *tb = dynamic_cast<const QToolBar *>(w); tb && tb->orientation() == Qt::Vertical)
        return true;
    for (const QWidget *p = w ? w->parentWidget() : nullptr; p && !p->isWindow(); p = p->parentWidget())
        if (const auto *site = dynamic_cast<const TkvlDockSite *>(p))
            return kvlDockByWidth(site->Side());
    return false;
}

} // namespace

TkvlTBPanel::TkvlTBPanel(QWidget *parent) : QWidget(nullptr)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(true);
    resize(8, 8);
    if (parent)
        SetParent(parent);
}

void TkvlTBPanel::SetParent(QWidget *parent)
{
    setParent(parent);
    FAlign = standsAtSide(parent) ? alTop : alLeft;
}

void TkvlTBPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().button());
}
