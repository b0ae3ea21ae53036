#pragma once
// The sheet of paper behind the workspace: a shadowed border, the margins as a dotted
// rectangle, and mouse input in the margins passed on to the workspace.
#include "designer/widgets/scrollbox.h"

#include <QWidget>

class TkvlDesignerWorkspace;

class TMarginsPanel : public QWidget, public TkvlKeyTarget {
    Q_OBJECT
public:
    TMarginsPanel(QWidget *Parent, TkvlDesignerWorkspace *Workspace);

    TkvlDesignerWorkspace *Workspace() const { return FWorkspace; }

    // The scroll box hands its keys here too: the workspace beside us acts on them, so the
    // panel leaves them alone (and they never travel back up to the box).
    void KeyDown(int &, Qt::KeyboardModifiers) override {}
    void KeyPress(QChar &) override {}
    void KeyUp(int &, Qt::KeyboardModifiers) override {}

protected:
    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;

private:
    // A point of the panel in workspace pixels (outside the workspace in the margins).
    QPoint toWorkspace(const QPoint &P) const;

    TkvlDesignerWorkspace *FWorkspace;
};
