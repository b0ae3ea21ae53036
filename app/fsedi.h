#pragma once
// The window "SEDI REGISTRATE", opened and closed by the main window's "SEDI" button.
#include "app/widgets/childwindow.h"

class TfSEDI : public TChildWindow
{
    Q_OBJECT
public:
    explicit TfSEDI(QWidget *parent = nullptr);

protected:
    void FormClosed() override;
};
