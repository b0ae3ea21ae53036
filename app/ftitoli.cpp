#include "app/ftitoli.h"

#include "app/fmain.h"
#include "app/globals.h"
#include "app/resources/btnlist.h"

#include <QPushButton>

TfTITOLI::TfTITOLI(QWidget *parent) : TChildWindow(fTITOLI, TFormSlot::Titoli, parent)
{
    setObjectName(QStringLiteral("fTITOLI"));
    setWindowTitle(QStringLiteral("TITOLI REGISTRATI"));
    setWindowFlags(windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    setMinimumSize(330, 122);
    setMaximumWidth(820);
}

void TfTITOLI::FormClosed()
{
    if (fMain)
        SetImageIndex(fMain->bOpenFormTITOLI, 20);
}
