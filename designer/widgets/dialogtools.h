#pragma once
// Controls of the designer's dialogs: named edits and check boxes, and tool-bar buttons with
// the main button images.
class QCheckBox;
class QLineEdit;
class QString;
class QToolBar;
class QToolButton;
class QWidget;

// A flat button with main button image Image and hint Hint; a strip without that picture
// shows the hint as text.
QToolButton *kvlToolButton(QToolBar *Bar, int Image, const QString &Hint, const char *Name);

QLineEdit *kvlLineEdit(QWidget *Parent, const char *Name);
// Caption: a number of the string table.
QCheckBox *kvlCheckBox(QWidget *Parent, int Caption, const char *Name);
QCheckBox *kvlCheckBox(QWidget *Parent, const QString &Caption, const char *Name);
