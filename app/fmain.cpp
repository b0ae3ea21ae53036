#include "app/fmain.h"

#include "app/globals.h"
#include "app/settings.h"

#include <QCloseEvent>
#include <QShowEvent>

TfMain::TfMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QStringLiteral("LIRRA CALENDARIO | v. 100.1 del 10/09/2026"));
    setMinimumSize(954, 174);
}

TfMain::~TfMain()
{
    if (fMain == this)
        fMain = nullptr;
}

void TfMain::bOpenRemotoClick()
{
}

void TfMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous() || FShown)
        return;
    FShown = true;
    FormShow();
}

void TfMain::closeEvent(QCloseEvent *event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}

void TfMain::FormShow()
{
    LoadFormBounds(Settings, TFormSlot::Main);
    bOpenRemotoClick();
}

void TfMain::FormClose()
{
    SaveFormBounds(Settings, TFormSlot::Main, this);
}
