#pragma once
// The window "EVENTI ARCHIVIATI", opened and closed by the main window's "ARCHIVIATI" button.
#include "app/widgets/childwindow.h"

class QLabel;

class TfARC : public TChildWindow
{
    Q_OBJECT
public:
    explicit TfARC(QWidget *parent = nullptr);

    // Number of archived events shown.
    QLabel *LabCountArc = nullptr;

protected:
    void FormClosed() override;
};
