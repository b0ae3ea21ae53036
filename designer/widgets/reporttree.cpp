#include "designer/widgets/reporttree.h"

#include "designer/core/settings.h"
#include "designer/widgets/dragmanager.h"
#include "report/core/kvlobjects.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QIcon objectIcon(int Image)
{
    TImageList &images = kvlResources().GetMainButtonImages();
    if (Image < 0 || Image >= images.Count())
        return {};
    return QIcon(QPixmap::fromImage(images.Image(Image)));
}

} // namespace

TkvlReportTreeForm::TkvlReportTreeForm(QWidget *Owner, TkvlCustomDesigner *ADesigner)
    : TkvlDockForm(Owner), FDesigner(ADesigner), FReport(ADesigner->Report()), FTree(new QTreeWidget(Body()))
{
    setWindowTitle(kvlGet(2200));
    setObjectName(QStringLiteral("ReportTreeForm"));
    if (kvlDesignerComp() && kvlDesignerComp()->RTLLanguage)
        setLayoutDirection(Qt::RightToLeft);
    auto *layout = new QVBoxLayout(Body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FTree);
    FTree->setHeaderHidden(true);
    FTree->setRootIsDecorated(false);
    FTree->setFrameShape(QFrame::Box);
    FTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FTree->setDragDropMode(QAbstractItemView::NoDragDrop);
    FTree->viewport()->installEventFilter(this);
    FTree->installEventFilter(this);
    connect(FTree, &QTreeWidget::itemSelectionChanged, this, [this] { TreeChange(); });
    TkvlDragController::Instance().RegisterTarget(FTree->viewport(), this);
    resize(200, 300);
}

TkvlReportTreeForm::~TkvlReportTreeForm() { TkvlDragController::Instance().UnregisterTarget(FTree->viewport()); }

TkvlComponent *TkvlReportTreeForm::ObjectOf(const QTreeWidgetItem *Item) const
{
    if (!Item)
        return nullptr;
    const int i = Item->data(0, Qt::UserRole).toInt();
    return i >= 0 && i < int(FModel.Nodes().size()) ? FModel.Nodes()[size_t(i)].Object : nullptr;
}

QTreeWidgetItem *TkvlReportTreeForm::NodeOf(const TkvlComponent *Object) const
{
    const int i = FModel.IndexOf(Object);
    return i < 0 ? nullptr : FNodes[size_t(i)];
}

void TkvlReportTreeForm::UpdateItems()
{
    {
        const QSignalBlocker block(FTree);
        FTree->setUpdatesEnabled(false);
        FTree->clear();
        FNodes.clear();
        FSelectedNodeList.clear();
        FModel.Build(FReport, !kvlDesignerAllows(drDontEditInternalDatasets));
        const auto &nodes = FModel.Nodes();
        FNodes.reserve(nodes.size());
        for (size_t i = 0; i < nodes.size(); ++i) {
            const auto &n = nodes[i];
            QTreeWidgetItem *item = n.Parent < 0 ? new QTreeWidgetItem(FTree) : new QTreeWidgetItem(FNodes[size_t(n.Parent)]);
            item->setText(0, TkvlReportTreeModel::Text(n.Object));
            item->setData(0, Qt::UserRole, int(i));
            if (n.Image >= 0)
                item->setIcon(0, objectIcon(n.Image));
            FNodes.push_back(item);
        }
        FTree->expandAll();
        FTree->setUpdatesEnabled(true);
    }
    UpdateSelection();
}

void TkvlReportTreeForm::UpdateSelection()
{
    if (FDesigner->SelectedObjects.empty())
        return;
    FUpdating = true;
    FTree->clearSelection();
    QTreeWidgetItem *last = nullptr;
    for (TkvlComponent *c : FDesigner->SelectedObjects)
        if (QTreeWidgetItem *node = NodeOf(c)) {
            node->setSelected(true);
            last = node;
        }
    if (last)
        FTree->scrollToItem(last, QAbstractItemView::PositionAtTop);
    FUpdating = false;
}

void TkvlReportTreeForm::SetColor(const QColor &Color)
{
    QPalette p = FTree->palette();
    p.setColor(QPalette::Base, Color);
    FTree->setPalette(p);
    UpdateItems();
}

void TkvlReportTreeForm::showEvent(QShowEvent *Event)
{
    TkvlDockForm::showEvent(Event);
    UpdateItems();
}

void TkvlReportTreeForm::TreeChange()
{
    if (FUpdating)
        return;
    FDesigner->SelectedObjects.clear();
    FSelectedNodeList.clear();
    QTreeWidgetItem *focused = FTree->currentItem();
    if (!focused || !ObjectOf(focused))
        return;
    const QList<QTreeWidgetItem *> selected = FTree->selectedItems();
    const QList<QTreeWidgetItem *> nodes = selected.size() > 1 ? selected : QList<QTreeWidgetItem *>{focused};
    for (QTreeWidgetItem *node : nodes)
        if (TkvlComponent *c = ObjectOf(node)) {
            FDesigner->SelectedObjects.push_back(c);
            FSelectedNodeList.push_back(node);
        }
    if (OnSelectionChanged)
        OnSelectionChanged(this);
}

TkvlComponent *TkvlReportTreeForm::targetAt(QPoint ViewportPos) const
{
    TkvlComponent *c = ObjectOf(FTree->itemAt(ViewportPos));
    return TkvlReportTreeModel::AcceptsDrop(c) ? c : nullptr;
}

bool TkvlReportTreeForm::DragOver(TkvlDragObject &, QPoint Pos, TkvlDragState) { return targetAt(Pos) != nullptr; }

void TkvlReportTreeForm::DragDrop(TkvlDragObject &Drag, QPoint Pos)
{
    TkvlComponent *target = targetAt(Pos);
    if (Drag.Source != &FNodeDrag || !target)
        return;
    std::vector<TkvlComponent *> dragged;
    for (QTreeWidgetItem *node : FSelectedNodeList)
        if (TkvlComponent *c = ObjectOf(node))
            dragged.push_back(c);
    const bool moved = TkvlReportTreeModel::Drop(dragged, target);
    // The tree shows the new parents; the dragged objects stay selected.
    const std::vector<TkvlComponent *> keep = FDesigner->SelectedObjects;
    UpdateItems();
    FDesigner->SelectedObjects = keep;
    FSelectedNodeList.clear();
    for (TkvlComponent *c : dragged)
        if (QTreeWidgetItem *node = NodeOf(c))
            FSelectedNodeList.push_back(node);
    UpdateSelection();
    if (OnSelectionChanged)
        OnSelectionChanged(this);
    if (moved)
        FDesigner->SetModified(true);
}

bool TkvlReportTreeForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == FTree && Event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent *>(Event)->key() == Qt::Key_Delete) {
            if (OnDeleteKey)
                OnDeleteKey();
            return true;
        }
    }
    if (Watched == FTree->viewport() && Event->type() == QEvent::MouseButtonPress) {
        auto *m = static_cast<QMouseEvent *>(Event);
        if (m->button() == Qt::RightButton) {
            if (!PopupMenu)
                return false;
            for (QTreeWidgetItem *node : FTree->selectedItems())
                if (ObjectOf(node) == FReport)
                    return true;
            PopupMenu->popup(m->globalPosition().toPoint());
            return true;
        }
        if (m->button() == Qt::LeftButton && FTree->itemAt(m->position().toPoint()))
            TkvlDragController::Instance().BeginDrag(&FNodeDrag, nullptr, m->globalPosition().toPoint());
    }
    return TkvlDockForm::eventFilter(Watched, Event);
}
