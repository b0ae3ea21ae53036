#pragma once
// A dock site of the designer without widgets: which tool windows it holds in which order
// and sizes, how thick it is, its collapsing, its splitter's grip and the layout text that
// the settings keep.
#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// The side of its parent a dock site (and its splitter) sticks to.
enum class TkvlDockSide { Left, Right, Top, Bottom };

// Left and right sites are measured by their width, top and bottom ones by their height.
inline bool kvlDockByWidth(TkvlDockSide side) { return side == TkvlDockSide::Left || side == TkvlDockSide::Right; }

struct TkvlDockEntry
{
    QString Name; // the tool window's name
    int Size = 0; // its share along the site (height in a left site, width in a top one)
    bool operator==(const TkvlDockEntry &) const = default;
};

class TkvlDockSiteModel
{
public:
    TkvlDockSide Side = TkvlDockSide::Left;
    int PanelSize = 100;  // thickness a newly docked window gets
    int SavedSize = 0;    // thickness before collapsing
    int Thickness = 0;    // current width (left, right) or height (top, bottom)
    bool Collapsed = false;
    std::vector<TkvlDockEntry> Docked;

    int IndexOf(const QString &name) const;
    // A window of the given size is dragged over the site: its thickness-wise size becomes
    // the size a drop gives.
    void DockOver(int draggedWidth, int draggedHeight);
    // Docks the window at index (-1: last); a site thinner than PanelSize grows to it.
    void DockDrop(const QString &name, int alongSize, int index = -1);
    // Takes the window out; false when it is not docked here. An emptied site shrinks to 0.
    bool UnDock(const QString &name) { return UnDockAt(IndexOf(name)); }
    bool UnDockAt(int index);
    bool SplitterVisible() const { return !Docked.empty(); }

    // A click on the splitter's grip: collapse to 0 remembering the thickness, or expand
    // back to it.
    void ToggleCollapse();
    // A drag of the splitter by (dx, dy) pixels: a left site grows by dx, a right one
    // shrinks by dx, a top one grows by dy, a bottom one shrinks by dy; never below 0.
    void DragSplitter(int dx, int dy);

    // The layout as text (windows in order with their sizes), and reading it back.
    QByteArray LayoutText() const;
    // Applies a stored layout: the named windows that exist (known answers for a name) come
    // first in the stored order with the stored sizes (clamped to 0..maxSize), then the
    // windows docked now that the text does not name, in their order. Text that cannot be
    // read changes nothing and answers false. Names are answered in stored order.
    bool ApplyLayoutText(const QByteArray &text, const std::function<bool(const QString &)> &known, int maxSize);
};

// The splitter bar beside a site: 6 pixels thick, a grip centred along it.
namespace kvldocksplitter {
constexpr int Thickness = 6;
constexpr int HandReach = 20; // the hand cursor within this distance of the middle
enum class Cursor { Hand, SplitVertical, SplitHorizontal };
// Cursor at a point "along" pixels from the bar's start, for a bar of that length.
Cursor CursorAt(TkvlDockSide side, int along, int length);
// The grip's filled area in bar coordinates (x along a horizontal bar, y along a vertical one).
QRect GripRect(TkvlDockSide side, int length);
// The white pixels of the 7 grip dots; each has grey pixels right, below and below-right.
std::vector<QPoint> GripDots(TkvlDockSide side, int length);
} // namespace kvldocksplitter
