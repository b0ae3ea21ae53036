#pragma once
// The push buttons of the application's windows: name, caption, hint and picture in one call.
#include <QString>

class QPushButton;
class QWidget;

// A button that takes the focus by Tab only (not by click), with the picture of the program's
// image list at Picture (none when negative).
QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption, const QString &hint,
                        int picture = -1);
