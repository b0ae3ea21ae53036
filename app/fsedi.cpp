#include "app/fsedi.h"

#include "app/fmain.h"
#include "app/globals.h"
#include "app/resources/btnlist.h"

#include <QPushButton>

TfSEDI::TfSEDI(QWidget *parent) : TChildWindow(fSEDI, TFormSlot::Sedi, parent)
{
    setObjectName(QStringLiteral("fSEDI"));
    setWindowTitle(QStringLiteral("SEDI REGISTRATE"));
    setWindowFlags(windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    setMinimumSize(330, 122);
    setMaximumWidth(330);
}

void TfSEDI::FormClosed()
{
    if (fMain)
        SetImageIndex(fMain->bOpenFormSEDI, 20);
}
