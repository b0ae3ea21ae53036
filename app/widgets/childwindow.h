#pragma once
// Base of the windows opened on demand beside the main window: a top-level window that sets its
// global reference while it exists, restores its bounds from its section of the settings file
// when first shown, saves them and frees itself when closed. Closing it never ends the program.
#include "app/settings.h"

#include <QWidget>

class TChildWindow : public QWidget
{
    Q_OBJECT
public:
    TChildWindow(QWidget *&global, TFormSlot slot, QWidget *parent = nullptr);
    ~TChildWindow() override;

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    // After the bounds are saved, before the window goes.
    virtual void FormClosed() {}

private:
    QWidget *&FGlobal;
    TFormSlot FSlot;
    bool FShown = false;
};
