#pragma once
// Routines every window of the application shares.
#include "platform/rtl/color.h"

#include <QString>

class QAction;
class QMenu;
class QWidget;

// Focus colours of input fields (line edits, combo boxes, date and time pickers):
// yellow on entering, the window colour on leaving, 3-D light on entering a
// read-only field. Other widgets keep their colour.
void ColorEnter(QWidget *control);
void ColorExit(QWidget *control);
void ColorEnterGray(QWidget *control);
// Wires ColorEnter (ColorEnterGray when readOnly) and ColorExit to the field's focus.
void InstallFocusColours(QWidget *field, bool readOnly = false);

// "#RRGGBB", upper case, system colours resolved.
QString ColorToHex(TColor color);
// A colour text as the grids show it: an optional leading "#", then red, green
// and blue as two hexadecimal digits each. False when any of them is not a number.
bool TryColorFromText(const QString &text, TColor &color);
// The colour a grid cell shows for a colour text: yellow when it cannot be read.
TColor DisplayColorFromText(const QString &text);

// The text with its first "&" removed.
QString RemoveAmpersand(const QString &text);

// A menu item for a value (a file, title or site name): the caption shows the value
// literally ("&" doubled) and the action's data carries it unchanged.
QAction *AddValueAction(QMenu *menu, const QString &value);
// The value a menu item stands for.
QString ActionValue(const QAction *action);
