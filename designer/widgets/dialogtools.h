#pragma once
// Tool-bar buttons of the designer's dialogs, with the main button images.
class QString;
class QToolBar;
class QToolButton;

// A flat button with main button image Image and hint Hint; a strip without that picture
// shows the hint as text.
QToolButton *kvlToolButton(QToolBar *Bar, int Image, const QString &Hint, const char *Name);
