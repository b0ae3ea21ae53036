#pragma once
// The designer's tool window that lists what a report can print: record sources and their
// fields, variables, the script's functions and classes, on four tabs. Fields and variables
// are dragged onto a page or into the script; a double click inserts them.
#include "designer/core/dragmanager.h"
#include "designer/widgets/dockform.h"

#include <QPoint>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;
class TkvlDataSet;
class TkvlReport;
class TqsXMLItem;

class TkvlDataTreeForm final : public TkvlDockForm {
public:
    // OwnedByDesigner: the designer window's own tree, which remembers the collapsed record
    // sources for the next window when it closes.
    TkvlDataTreeForm(QWidget *Owner, TkvlReport *Report, bool OwnedByDesigner = true);
    ~TkvlDataTreeForm() override;

    QTabBar *Tabs() const { return FTabs; }
    QTreeWidget *DataTree() const { return FTrees[0]; }
    QTreeWidget *VariablesTree() const { return FTrees[1]; }
    QTreeWidget *FunctionsTree() const { return FTrees[2]; }
    QTreeWidget *ClassesTree() const { return FTrees[3]; }
    QWidget *CBPanel() const { return FCBPanel; }
    QCheckBox *InsFieldCB() const { return FInsFieldCB; }
    QCheckBox *InsCaptionCB() const { return FInsCaptionCB; }
    QCheckBox *SortCB() const { return FSortCB; }
    QLabel *NoDataL() const { return FNoDataL; }
    QLabel *FunctionNameL() const { return FFunctionNameL; }
    QLabel *FunctionDescL() const { return FFunctionDescL; }

    // Fills the record-source and variable trees.
    void UpdateItems();
    // The text a node inserts; an index outside the selection means the focused node.
    QString GetFieldName(int SelectionIndex = -1) const;
    TkvlDataSet *GetDataSet(int SelectionIndex = -1) const;
    // The alias of the focused record-source node, else empty.
    QString ActiveDS() const;
    bool IsDataField() const { return GetActivePage() == 0; }
    int GetActivePage() const;
    int GetSelectionCount() const;
    void ShowTab(int Index);
    // Tab and the shown tree's top node, kept by the variables dialog between openings.
    QPoint GetLastPosition() const;
    void SetLastPosition(QPoint Position);
    // Selects the record source that is the designer's only selected object.
    void UpdateSelection();
    void SetColor(const QColor &Color);
    void SetMultiSelectAllowed(bool Value);
    // Moves the tabs and their panels into another window (the variables dialog), where
    // they follow its size.
    void SetControlsParent(QWidget *AParent);
    // Lays the tabs and panels out in their parent.
    void UpdateSize();

    std::function<void()> OnDblClick;
    // Drags of nodes come from this source (the workspace and the script editor take them).
    const TkvlDragSource *NodeDragSource() const { return &FNodeDrag; }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void FillDataTree();
    void FillVariablesTree();
    void FillFunctions();
    void FillClasses();
    void ExpandClass(QTreeWidgetItem *Item);
    void FunctionsTreeChange();
    void CheckMultiSelection();
    QTreeWidgetItem *nodeAt(int SelectionIndex) const;
    QStringList collapsedNow() const;

    struct NodeDrag final : TkvlDragSource {
        void EndDrag(TkvlDragObject &, TkvlDragTarget *, bool) override {}
    } FNodeDrag;

    TkvlReport *FReport;
    bool FOwnedByDesigner;
    QTabBar *FTabs;
    QWidget *FPanels[4];
    QTreeWidget *FTrees[4];
    QWidget *FCBPanel;
    QCheckBox *FInsFieldCB, *FInsCaptionCB, *FSortCB;
    QWidget *FNoDataPn;
    QLabel *FNoDataL;
    QLabel *FFunctionNameL, *FFunctionDescL;
    std::unique_ptr<TqsXMLItem> FCatalogue;
    bool FMultiSelectAllowed = false;
    bool FFirstTime = true;
    bool FUpdating = false;
    QWidget *FControlsParent = nullptr;  // another window holding the controls
};
