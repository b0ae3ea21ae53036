#pragma once
// The hidden window that dialog controls live in while they are not on a shown dialog. It is
// made on first use and never shown; at shutdown it lets go of its controls (their report
// objects own them) before it goes.
#include <QWidget>

class TkvlParentForm final : public QWidget {
public:
    TkvlParentForm();
    // Gets a control ready to paint and measure while it is not shown (style, font and size
    // resolved), as it would be on a shown window.
    void CreateControlHandle(QWidget *Control);
};

TkvlParentForm *kvlParentForm();
// Detaches every control from the hidden window and frees the window (a later use makes a
// new one). Also run when the application object goes.
void EmptyParentForm();
