#pragma once
// A small stand-in for the designer window: two control bars, a left and a right dock
// site around a central area, and tool windows of its own.
#include "designer/widgets/dockbar.h"
#include "designer/widgets/dockform.h"
#include "designer/widgets/docksite.h"

#include <QBoxLayout>
#include <QToolBar>

class TestToolWindow : public TkvlDockForm
{
    Q_OBJECT
public:
    TestToolWindow(QWidget *owner, const QString &name) : TkvlDockForm(owner)
    {
        setObjectName(name);
        setWindowTitle(name);
        resize(150, 300);
    }
};

class TestDialog : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
};

class DockHost : public QWidget
{
public:
    explicit DockHost(const QString &name = QStringLiteral("DesignerForm"))
    {
        setObjectName(name);
        resize(700, 500);
        auto *outer = new QVBoxLayout(this);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->setSpacing(0);
        top = new TkvlControlBar(this);
        top->setObjectName(QStringLiteral("DockTop"));
        bottom = new TkvlControlBar(this);
        bottom->setObjectName(QStringLiteral("DockBottom"));
        auto *middle = new QHBoxLayout;
        middle->setSpacing(0);
        outer->addWidget(top);
        outer->addLayout(middle, 1);
        outer->addWidget(bottom);
        left = new TkvlDockSite(this, TkvlDockSide::Left);
        left->setObjectName(QStringLiteral("LeftDockSite1"));
        right = new TkvlDockSite(this, TkvlDockSide::Right);
        right->setObjectName(QStringLiteral("RightDockSite"));
        center = new QWidget(this);
        middle->addWidget(center, 1);
        left->PlaceIn(middle, 0);
        right->PlaceIn(middle);
        left->SetTopParentWin(this);
        right->SetTopParentWin(this);
        toolbar = new QToolBar(top);
        toolbar->setObjectName(QStringLiteral("StandardTB"));
        toolbar->addAction(QStringLiteral("A"));
        toolbar->addAction(QStringLiteral("B"));
        top->Insert(toolbar, QPoint(0, 0));
        inspector = new TestToolWindow(this, QStringLiteral("Inspector"));
        tree = new TestToolWindow(this, QStringLiteral("DataTree"));
    }

    TkvlControlBar *top, *bottom;
    TkvlDockSite *left, *right;
    QWidget *center;
    QToolBar *toolbar;
    TestToolWindow *inspector, *tree;
};
