#pragma once
// Outer bounds of top-level windows (frame included), as settings files store them.
#include <QRect>

class QWidget;

namespace ui {

// Frame rectangle: left, top, width and height including the window decoration.
QRect OuterBounds(const QWidget *w);

// Each moves the frame or sizes the window so that its outer size is the value;
// the client size is the value less the frame margins, then the window's own
// minimum and maximum sizes apply. Where the margins are not known yet (a window
// not yet mapped by the window manager) the size is corrected once they are.
void SetOuterTop(QWidget *w, int top);
void SetOuterLeft(QWidget *w, int left);
void SetOuterWidth(QWidget *w, int width);
void SetOuterHeight(QWidget *w, int height);

// A window whose title strip lies on no screen (saved on a screen that is gone,
// or above every screen) is moved, and shrunk if need be, into the available
// area of the nearest screen. Otherwise nothing changes.
void BringOnScreen(QWidget *w);

} // namespace ui
