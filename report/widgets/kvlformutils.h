#pragma once
// Helpers the report library's small windows share.
class QWidget;

// For a window laid out right to left, flips its children's places within their parents
// (the windows place their controls at fixed points for left-to-right).
void kvlMirrorIfRightToLeft(QWidget *Window);

// Centres the window on the screen of Anchor (the primary screen without one), kept fully on it.
void kvlCenterOnScreen(QWidget *Window, const QWidget *Anchor);
