#pragma once
// The event editor window, opened and closed by a double click in the main grid.
#include "app/widgets/childwindow.h"

class TfEDIT : public TChildWindow
{
    Q_OBJECT
public:
    explicit TfEDIT(QWidget *parent = nullptr);
};
