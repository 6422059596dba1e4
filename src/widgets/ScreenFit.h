#pragma once

#include <QRect>

class QWidget;

// Keeps top-level windows on the screen they open on: within its available geometry (the
// screen less panels and docks), frame included, whatever size was asked or remembered.
namespace ScreenFit {

// The room a window's client area (its geometry(), the frame excluded) has on its screen.
// The frame is the window's own once it has one; before its first show a title bar and a
// border are allowed for.
QRect clientRoom(const QWidget &window);

// Shrinks the window to clientRoom (never below its minimum size: a window whose minimum does
// not fit is a layout fault its tests catch) and moves it inside; a window that was never
// placed is centred.
void fitToScreen(QWidget &window);

} // namespace ScreenFit
