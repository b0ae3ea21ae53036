#include "app/widgets/childwindow.h"

#include "app/globals.h"

#include <QCloseEvent>
#include <QShowEvent>

TChildWindow::TChildWindow(QWidget *&global, TFormSlot slot, QWidget *parent)
    : QWidget(parent, Qt::Window), FGlobal(global), FSlot(slot)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    setFont(f);
    FGlobal = this;
}

TChildWindow::~TChildWindow()
{
    if (FGlobal == this)
        FGlobal = nullptr;
}

void TChildWindow::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (e->spontaneous() || FShown)
        return;
    FShown = true;
    if (Settings)
        LoadFormBounds(Settings, FSlot);
}

void TChildWindow::closeEvent(QCloseEvent *e)
{
    if (Settings)
        SaveFormBounds(Settings, FSlot, this);
    FormClosed();
    if (FGlobal == this)
        FGlobal = nullptr;
    QWidget::closeEvent(e);
}
