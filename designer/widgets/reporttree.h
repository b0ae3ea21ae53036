#pragma once
// The designer's tool window that shows the report as a tree: selecting nodes selects the
// objects, the designer's selection is mirrored back, dragging objects onto a band or a
// report page re-parents them, Delete deletes through the workspace and the right button
// opens the object menu.
#include "designer/core/dragmanager.h"
#include "designer/core/reporttree.h"
#include "designer/widgets/dockform.h"

#include <QPointer>
#include <functional>
#include <vector>

class QMenu;
class QTreeWidget;
class QTreeWidgetItem;
class TkvlCustomDesigner;
class TkvlReport;

class TkvlReportTreeForm final : public TkvlDockForm, private TkvlDragTarget {
public:
    // A window of the designer window Owner showing ADesigner's report.
    TkvlReportTreeForm(QWidget *Owner, TkvlCustomDesigner *ADesigner);
    ~TkvlReportTreeForm() override;

    QTreeWidget *Tree() const { return FTree; }
    // The object a node carries (nullptr for none).
    TkvlComponent *ObjectOf(const QTreeWidgetItem *Item) const;
    QTreeWidgetItem *NodeOf(const TkvlComponent *Object) const;

    // Rebuilds the tree from the report and mirrors the selection.
    void UpdateItems();
    // Selects the nodes of the designer's selection.
    void UpdateSelection();
    void SetColor(const QColor &Color);

    // The designer's selection changed through the tree (the designer shows the first
    // object's page).
    std::function<void(QObject *Sender)> OnSelectionChanged;
    // Delete pressed: the workspace's key handling deletes the selection.
    std::function<void()> OnDeleteKey;
    // The designer's object menu, opened by the right button.
    QPointer<QMenu> PopupMenu;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void showEvent(QShowEvent *Event) override;

private:
    void TreeChange();
    bool DragOver(TkvlDragObject &Drag, QPoint Pos, TkvlDragState State) override;
    void DragDrop(TkvlDragObject &Drag, QPoint Pos) override;
    TkvlComponent *targetAt(QPoint ViewportPos) const;

    struct NodeDrag final : TkvlDragSource {
        void EndDrag(TkvlDragObject &, TkvlDragTarget *, bool) override {}
    } FNodeDrag;

    TkvlCustomDesigner *FDesigner;
    TkvlReport *FReport;
    QTreeWidget *FTree;
    TkvlReportTreeModel FModel;
    std::vector<QTreeWidgetItem *> FNodes;  // parallel to the model's nodes
    std::vector<QTreeWidgetItem *> FSelectedNodeList;
    bool FUpdating = false;
};
