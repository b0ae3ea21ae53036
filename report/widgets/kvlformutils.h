#pragma once
// Helpers the report library's small windows share.
#include "platform/rtl/color.h"

#include <QFont>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QSize;
class QString;
class QWidget;
class TFont;

// For a window laid out right to left, flips its children's places within their parents
// (the windows place their controls at fixed points for left-to-right).
void kvlMirrorIfRightToLeft(QWidget *Window);

// Centres the window on the screen of Anchor (the primary screen without one), kept fully on it.
void kvlCenterOnScreen(QWidget *Window, const QWidget *Anchor);

// The Qt font of a report font (name, pixel height, style).
QFont kvlQFont(const TFont &Font);
// Gives a widget a background colour (system colours resolved).
void kvlSetBackground(QWidget *Widget, TColor Color);

// The OK and Cancel buttons of a dialog, right-aligned in a row of their own: OK is the
// default button and accepts, Cancel rejects.
QHBoxLayout *kvlOkCancelRow(QDialog *Dialog, const QString &OkCaption, const char *OkName,
                            const QString &CancelCaption, QPushButton *&Ok, QPushButton *&Cancel);

// Fits a form whose controls are laid out in a fixed client area: the form's small type
// (11 pixels), tight rows, nested layouts with narrow margins, and the fixed size.
void kvlFitFixedForm(QWidget *Form, const QSize &ClientSize);
