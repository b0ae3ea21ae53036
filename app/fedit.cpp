#include "app/fedit.h"

#include "app/globals.h"

TfEDIT::TfEDIT(QWidget *parent) : TChildWindow(fEDIT, TFormSlot::Edit, parent)
{
    setObjectName(QStringLiteral("fEDIT"));
    setWindowTitle(QStringLiteral(" MODIFICA EVENTO SELEZIONATO"));
    setWindowFlags(windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    setFixedSize(368, 461);
}
