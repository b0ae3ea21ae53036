#include "report/widgets/kvldialogpageform.h"

#include <QMoveEvent>
#include <QResizeEvent>

TkvlDialogForm::TkvlDialogForm(bool ThreadSafe, QWidget *Parent) : QDialog(Parent), TkvlDialogWindow(ThreadSafe) {}

int TkvlDialogForm::ShowModal()
{
    return exec() == QDialog::Accepted ? 1 : 2;
}

// Only the user's moves and resizes (spontaneous events) modify the report.
void TkvlDialogForm::moveEvent(QMoveEvent *e)
{
    QDialog::moveEvent(e);
    if (e->spontaneous() && OnModify)
        OnModify();
}

void TkvlDialogForm::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    if (e->spontaneous() && OnModify)
        OnModify();
}

void TkvlDialogForm::done(int Result)
{
    if (CanClose())
        QDialog::done(Result);
}
