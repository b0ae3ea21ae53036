#include "app/widgets/makebutton.h"

#include "app/resources/btnlist.h"

#include <QPushButton>

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption, const QString &hint, int picture)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::TabFocus);
    if (picture >= 0)
        SetImageIndex(b, picture);
    return b;
}
