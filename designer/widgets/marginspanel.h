#pragma once
// The sheet of paper behind the workspace: a shadowed border, the margins as a dotted
// rectangle, and mouse input in the margins passed on to the workspace.
#include <QWidget>

class TkvlDesignerWorkspace;

class TMarginsPanel : public QWidget {
    Q_OBJECT
public:
    TMarginsPanel(QWidget *Parent, TkvlDesignerWorkspace *Workspace);

    TkvlDesignerWorkspace *Workspace() const { return FWorkspace; }

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
