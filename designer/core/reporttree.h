#pragma once
// The report as a tree without widgets: which objects the tree shows under which parent,
// their pictures, and re-parenting by a drop.
#include <QHash>
#include <QString>
#include <vector>

class TkvlComponent;
class TkvlReport;

class TkvlReportTreeModel {
public:
    struct Node {
        TkvlComponent *Object;
        int Parent;  // index of the parent's node, -1 for the report
        int Image;   // index into the object pictures, -1: the tree's default
    };

    // The report, its pages, bands and objects depth first; the data page only with its data
    // components, and not at all when HideDataPage.
    void Build(TkvlReport *Report, bool HideDataPage);
    const std::vector<Node> &Nodes() const { return FNodes; }
    // The node of an object, -1 when not shown.
    int IndexOf(const TkvlComponent *Object) const { return FIndex.value(Object, -1); }
    static QString Text(const TkvlComponent *Object);
    static int ImageOf(const TkvlComponent *Object);

    // A drop may land on a band or a report page.
    static bool AcceptsDrop(const TkvlComponent *Target);
    // Moves the dragged objects (a band: its movable children) to the end of Target's
    // children, keeping their Left and Top; objects Target's page may not hold stay. True
    // when anything moved.
    static bool Drop(const std::vector<TkvlComponent *> &Dragged, TkvlComponent *Target);

private:
    void add(TkvlComponent *Object, int Parent);

    std::vector<Node> FNodes;
    QHash<const TkvlComponent *, int> FIndex;
};
