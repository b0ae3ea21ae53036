#pragma once
// The window "TITOLI REGISTRATI", opened and closed by the main window's "TITOLI" button.
#include "app/widgets/childwindow.h"

class TfTITOLI : public TChildWindow
{
    Q_OBJECT
public:
    explicit TfTITOLI(QWidget *parent = nullptr);

protected:
    void FormClosed() override;
};
