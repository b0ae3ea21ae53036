#include "designer/widgets/docksite.h"

#include "designer/widgets/dockform.h"
#include "designer/widgets/dragmanager.h"

#include <QBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSplitter>

namespace {

// Beside an empty (0 pixels thick) site a drop is still taken this close to its edge.
constexpr int kReach = 10;

const QColor kGripFill(208, 208, 192);
const QColor kDotShade(128, 128, 128);

} // namespace

// ---- TDockSplitter

TDockSplitter::TDockSplitter(TkvlDockSite *site) : QWidget(site->parentWidget()), FDockSite(site)
{
    setMouseTracking(true);
    hide();
}

int TDockSplitter::length() const { return kvlDockByWidth(FDockSite->Side()) ? height() : width(); }
int TDockSplitter::along(QPoint p) const { return kvlDockByWidth(FDockSite->Side()) ? p.y() : p.x(); }

void TDockSplitter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    const TkvlDockSide side = FDockSite->Side();
    p.fillRect(kvldocksplitter::GripRect(side, length()), kGripFill);
    for (const QPoint &d : kvldocksplitter::GripDots(side, length())) {
        p.fillRect(QRect(d, QSize(2, 2)), kDotShade);
        p.fillRect(QRect(d, QSize(1, 1)), Qt::white);
    }
}

void TDockSplitter::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint p = e->position().toPoint();
    if (kvldocksplitter::CursorAt(FDockSite->Side(), along(p), length()) == kvldocksplitter::Cursor::Hand) {
        // The grip collapses or expands; it starts no drag.
        FDockSite->ToggleCollapse();
        return;
    }
    FDown = true;
    FLast = e->globalPosition().toPoint();
}

void TDockSplitter::mouseMoveEvent(QMouseEvent *e)
{
    if (FDown) {
        const QPoint now = e->globalPosition().toPoint();
        const QPoint d = now - FLast;
        FLast = now;
        FDockSite->DragSplitter(d.x(), d.y());
        return;
    }
    using kvldocksplitter::Cursor;
    switch (kvldocksplitter::CursorAt(FDockSite->Side(), along(e->position().toPoint()), length())) {
    case Cursor::Hand: setCursor(Qt::PointingHandCursor); break;
    case Cursor::SplitHorizontal: setCursor(Qt::SplitHCursor); break;
    case Cursor::SplitVertical: setCursor(Qt::SplitVCursor); break;
    }
}

void TDockSplitter::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        FDown = false;
}

// ---- TkvlDockSite

TkvlDockSite::TkvlDockSite(QWidget *parent, TkvlDockSide side) : QWidget(parent), FStack(new QSplitter(this))
{
    FModel.Side = side;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FStack);
    FStack->setChildrenCollapsible(false);
    FSplitter = new TDockSplitter(this);
    SetSide(side);
    TkvlDragController::Instance().RegisterTarget(this, this, kReach);
}

TkvlDockSite::~TkvlDockSite()
{
    TkvlDragController::Instance().UnregisterTarget(this);
    delete FSplitter.data();
}

void TkvlDockSite::SetSide(TkvlDockSide side)
{
    FModel.Side = side;
    const bool byWidth = kvlDockByWidth(side);
    FStack->setOrientation(byWidth ? Qt::Vertical : Qt::Horizontal);
    if (FSplitter) {
        FSplitter->setMinimumSize(0, 0);
        FSplitter->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (byWidth)
            FSplitter->setFixedWidth(kvldocksplitter::Thickness);
        else
            FSplitter->setFixedHeight(kvldocksplitter::Thickness);
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    applyThickness();
}

void TkvlDockSite::PlaceIn(QBoxLayout *layout, int index)
{
    if (index < 0)
        index = layout->count();
    const bool inner = FModel.Side == TkvlDockSide::Left || FModel.Side == TkvlDockSide::Top;
    // The splitter sits on the side that faces the rest of the window.
    layout->insertWidget(index, inner ? static_cast<QWidget *>(this) : FSplitter.data());
    layout->insertWidget(index + 1, inner ? FSplitter.data() : static_cast<QWidget *>(this));
    applyThickness();
}

void TkvlDockSite::applyThickness()
{
    if (kvlDockByWidth(FModel.Side))
        setFixedWidth(FModel.Thickness);
    else
        setFixedHeight(FModel.Thickness);
    if (FSplitter)
        FSplitter->setVisible(FModel.SplitterVisible());
}

// The windows' shares along the site as the model has them.
void TkvlDockSite::applySizes()
{
    QList<int> sizes;
    for (const TkvlDockEntry &e : FModel.Docked)
        sizes << e.Size;
    FStack->setSizes(sizes);
}

void TkvlDockSite::SetThickness(int value)
{
    FModel.Thickness = std::max(0, value);
    FModel.Collapsed = false;
    applyThickness();
}

void TkvlDockSite::ToggleCollapse()
{
    FModel.ToggleCollapse();
    applyThickness();
}

void TkvlDockSite::DragSplitter(int dx, int dy)
{
    FModel.DragSplitter(dx, dy);
    applyThickness();
}

int TkvlDockSite::DockClientCount() const { return FStack->count(); }

TkvlDockForm *TkvlDockSite::DockClients(int index) const { return dynamic_cast<TkvlDockForm *>(FStack->widget(index)); }

bool TkvlDockSite::Accepts(const TkvlDockForm *form) const
{
    // The owner itself, not its name: two designer windows have the same name.
    return form && FTopParentWin && form->Owner() == FTopParentWin;
}

void TkvlDockSite::syncModelSizes()
{
    const QList<int> sizes = FStack->sizes();
    for (int i = 0; i < int(FModel.Docked.size()) && i < sizes.size(); ++i)
        FModel.Docked[size_t(i)].Size = sizes[i];
}

bool TkvlDockSite::Dock(TkvlDockForm *form, int index)
{
    if (!Accepts(form))
        return false;
    if (TkvlDockSite *from = form->HostDockSite()) {
        if (from != this && !from->DoUnDock(form, this))
            return false;
    }
    syncModelSizes();
    const bool byWidth = kvlDockByWidth(FModel.Side);
    const QSize size = form->isWindow() ? form->size() : form->UndockSize();
    FModel.DockOver(size.width(), size.height());
    // Moved within the site: its entry goes, the site keeps its thickness.
    if (const int at = FStack->indexOf(form); at >= 0) {
        FModel.Docked.erase(FModel.Docked.begin() + at);
        if (index > at)
            --index;
    }
    if (index < 0 || index > int(FModel.Docked.size()))
        index = int(FModel.Docked.size());
    if (form->isWindow())
        form->SetUndockSize(form->size());
    FStack->insertWidget(index, form);
    form->show();
    FModel.DockDrop(form->objectName(), byWidth ? size.height() : size.width(), index);
    applyThickness();
    applySizes();
    return true;
}

bool TkvlDockSite::DoUnDock(TkvlDockForm *form, TkvlDockSite *newTarget)
{
    if (newTarget && newTarget->TopParentWin() != FTopParentWin)
        return false;
    formLeft(form);
    return true;
}

void TkvlDockSite::formLeft(TkvlDockForm *form)
{
    const int at = FStack->indexOf(form);
    if (at < 0)
        return;
    syncModelSizes();
    FModel.UnDockAt(at);
    form->hide();
    form->setParent(form->Owner(), Qt::Tool);
    applyThickness();
}

TkvlDockForm *TkvlDockSite::ReloadDockedControl(const QString &name) const
{
    if (!FTopParentWin || name.isEmpty())
        return nullptr;
    const QList<TkvlDockForm *> forms = FTopParentWin->findChildren<TkvlDockForm *>();
    TkvlDockForm *containing = nullptr;
    for (TkvlDockForm *f : forms) {
        if (f->Owner() != FTopParentWin)
            continue;
        if (f->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return f;
        if (!containing && f->objectName().contains(name, Qt::CaseInsensitive))
            containing = f;
    }
    return containing;
}

QByteArray TkvlDockSite::SaveLayout()
{
    syncModelSizes();
    return FModel.LayoutText();
}

bool TkvlDockSite::LoadLayout(const QByteArray &text)
{
    syncModelSizes();
    TkvlDockSiteModel next = FModel;
    const QScreen *s = screen();
    const QSize area = s ? s->availableGeometry().size() : QSize(4096, 4096);
    const int maxSize = kvlDockByWidth(FModel.Side) ? area.height() : area.width();
    const auto known = [this](const QString &name) { return ReloadDockedControl(name) != nullptr; };
    if (!next.ApplyLayoutText(text, known, maxSize))
        return false;
    const bool wasEmpty = FModel.Docked.empty();
    for (size_t i = 0; i < next.Docked.size(); ++i) {
        TkvlDockForm *form = nullptr;
        // Windows docked here now are found by their place, the others by name.
        for (int k = 0; k < FStack->count() && !form; ++k)
            if (DockClients(k) && DockClients(k)->objectName().compare(next.Docked[i].Name, Qt::CaseInsensitive) == 0)
                form = DockClients(k);
        if (!form)
            form = ReloadDockedControl(next.Docked[i].Name);
        if (!form)
            continue;
        if (TkvlDockSite *from = form->HostDockSite(); from && from != this && !from->DoUnDock(form, this))
            continue;
        if (form->isWindow())
            form->SetUndockSize(form->size());
        FStack->insertWidget(int(i), form);
        form->show();
    }
    // The model follows what the stack holds now.
    std::vector<TkvlDockEntry> docked;
    for (int k = 0; k < FStack->count(); ++k) {
        const QString name = FStack->widget(k)->objectName();
        const int at = next.IndexOf(name);
        docked.push_back({name, at >= 0 ? next.Docked[size_t(at)].Size : 0});
    }
    FModel.Docked = std::move(docked);
    if (wasEmpty && !FModel.Docked.empty() && FModel.Thickness < FModel.PanelSize)
        FModel.Thickness = FModel.PanelSize;
    applyThickness();
    applySizes();
    return true;
}

QRect TkvlDockSite::dropRect() const
{
    const QPoint corner = mapToGlobal(QPoint(0, 0));
    const int thick = std::max(FModel.Thickness, FModel.PanelSize);
    switch (FModel.Side) {
    case TkvlDockSide::Left: return QRect(corner, QSize(thick, height()));
    case TkvlDockSide::Right: return QRect(corner + QPoint(width() - thick, 0), QSize(thick, height()));
    case TkvlDockSide::Top: return QRect(corner, QSize(width(), thick));
    case TkvlDockSide::Bottom: break;
    }
    return QRect(corner + QPoint(0, height() - thick), QSize(width(), thick));
}

int TkvlDockSite::dropIndex(QPoint pos) const
{
    const bool byWidth = kvlDockByWidth(FModel.Side);
    for (int i = 0; i < FStack->count(); ++i) {
        const QRect g = FStack->widget(i)->geometry();
        const int mid = byWidth ? g.center().y() : g.center().x();
        if ((byWidth ? pos.y() : pos.x()) < mid)
            return i;
    }
    return FStack->count();
}

bool TkvlDockSite::DragOver(TkvlDragObject &drag, QPoint, TkvlDragState state)
{
    auto *form = dynamic_cast<TkvlDockForm *>(drag.Control);
    if (state == TkvlDragState::Leave || !Accepts(form))
        return false;
    const QSize size = form->isWindow() ? form->size() : form->UndockSize();
    FModel.DockOver(size.width(), size.height());
    TkvlDragController::Instance().SetDragRect(dropRect());
    return true;
}

void TkvlDockSite::DragDrop(TkvlDragObject &drag, QPoint pos)
{
    if (auto *form = dynamic_cast<TkvlDockForm *>(drag.Control))
        Dock(form, dropIndex(pos));
}
