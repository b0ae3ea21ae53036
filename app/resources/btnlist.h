#pragma once
// The pictures of buttons and menu items, by their index in the program's image list.
#include <QIcon>

class QAbstractButton;
class QAction;
class QObject;

// A 16 x 16 picture drawn by the program; an empty icon for an index it has no picture for.
QIcon BtnListIcon(int index);

// Sets the picture and remembers its index (property "ImageIndex").
void SetImageIndex(QAbstractButton *button, int index);
void SetImageIndex(QAction *action, int index);
// The index last set, -1 when none.
int ImageIndex(const QObject *object);
