#include "report/progress/kvldialogwindow.h"

void TkvlDialogWindow::SetBounds(const QRect &Value)
{
    FBounds = Value;
    if (OnMoveSize)
        OnMoveSize();
}

void TkvlDialogWindow::SetClientSize(const QSize &Value)
{
    SetBounds(QRect(FBounds.topLeft(), Value + FrameExtent()));
}
