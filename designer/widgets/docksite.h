#pragma once
// The designer's dock sites: side panels that tool windows of the designer dock into,
// stacked along the site, with a splitter bar beside the site that collapses it with a
// click on its grip and resizes it when dragged elsewhere.
#include "designer/core/docklayout.h"
#include "designer/core/dragmanager.h"

#include <QPointer>
#include <QWidget>

class QBoxLayout;
class QSplitter;
class TkvlDockForm;
class TkvlDockSite;

class TDockSplitter : public QWidget
{
public:
    explicit TDockSplitter(TkvlDockSite *site);
    TkvlDockSite *DockSite() const { return FDockSite; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int along(QPoint p) const;
    int length() const;
    TkvlDockSite *FDockSite;
    bool FDown = false;
    QPoint FLast; // screen position of the last drag step
};

class TkvlDockSite : public QWidget, public TkvlDragTarget
{
    Q_OBJECT // found among a window's children by type
public:
    explicit TkvlDockSite(QWidget *parent = nullptr, TkvlDockSide side = TkvlDockSide::Left);
    ~TkvlDockSite() override;

    TkvlDockSide Side() const { return FModel.Side; }
    void SetSide(TkvlDockSide side);
    // The window whose tool windows may dock here.
    QWidget *TopParentWin() const { return FTopParentWin; }
    void SetTopParentWin(QWidget *window) { FTopParentWin = window; }
    TDockSplitter *Splitter() const { return FSplitter; }

    // Puts the site into its parent's box layout at index, with its splitter beside it on
    // the inner side.
    void PlaceIn(QBoxLayout *layout, int index = -1);

    int PanelSize() const { return FModel.PanelSize; }
    void SetPanelSize(int value) { FModel.PanelSize = value; }
    // Width of a left or right site, height of a top or bottom one.
    int Thickness() const { return FModel.Thickness; }
    void SetThickness(int value);
    bool Collapsed() const { return FModel.Collapsed; }
    void ToggleCollapse();
    void DragSplitter(int dx, int dy);

    int DockClientCount() const;
    TkvlDockForm *DockClients(int index) const;
    // Docks a window (at index along the site, -1: last) as a drop does; false when
    // refused (a window of another owner).
    bool Dock(TkvlDockForm *form, int index = -1);
    // Takes a docked window out before it goes to newTarget (nullptr: floating); refused
    // when the target belongs to another window.
    bool DoUnDock(TkvlDockForm *form, TkvlDockSite *newTarget);
    // The tool window a stored layout names, among the top window's own.
    TkvlDockForm *ReloadDockedControl(const QString &name) const;

    // The docking layout, and restoring one (text that cannot be read changes nothing).
    QByteArray SaveLayout();
    bool LoadLayout(const QByteArray &text);

    // Drop target.
    bool DragOver(TkvlDragObject &drag, QPoint pos, TkvlDragState state) override;
    void DragDrop(TkvlDragObject &drag, QPoint pos) override;

    // Whether window may dock here.
    bool Accepts(const TkvlDockForm *form) const;

private:
    friend class TkvlDockForm;
    void applyThickness();
    void applySizes();
    void syncModelSizes();
    int dropIndex(QPoint pos) const;
    QRect dropRect() const;
    void formLeft(TkvlDockForm *form);

    TkvlDockSiteModel FModel;
    QPointer<TDockSplitter> FSplitter;
    QPointer<QWidget> FTopParentWin;
    QSplitter *FStack;
};
