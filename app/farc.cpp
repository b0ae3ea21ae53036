#include "app/farc.h"

#include "app/fmain.h"
#include "app/globals.h"
#include "app/resources/btnlist.h"

#include <QPushButton>

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TfARC::TfARC(QWidget *parent) : TChildWindow(fARC, TFormSlot::Arc, parent)
{
    setObjectName(QStringLiteral("fARC"));
    setWindowTitle(QStringLiteral("EVENTI ARCHIVIATI"));
    setMinimumSize(600, 122);
    auto *lay = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    LabCountArc = new QLabel(QStringLiteral("..."), this);
    LabCountArc->setObjectName(QStringLiteral("LabCountArc"));
    LabCountArc->setToolTip(QStringLiteral("Numero di eventi archiviati"));
    top->addWidget(LabCountArc);
    top->addStretch(1);
    lay->addLayout(top);
    lay->addStretch(1);
}

void TfARC::FormClosed()
{
    if (fMain)
        SetImageIndex(fMain->bOpenFormARC, 20);
}
