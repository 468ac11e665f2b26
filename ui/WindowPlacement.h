#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

// Where a window frame of `frameSize` goes when it is wanted with its top-left corner at
// `wanted`: moved just enough to lie inside `available`, the screen's area for windows. A frame
// larger than the area starts at the area's top or left edge.
QPoint FittedFrameTopLeft(QPoint wanted, QSize frameSize, const QRect& available);

// Where a window frame of `frameSize` goes to stand centred over the frame `over`, fitted onto
// `available` as FittedFrameTopLeft fits it.
QPoint CentredFrameTopLeft(const QRect& over, QSize frameSize, const QRect& available);

// Puts `window` centred over the frame `over` on `screen`, fitted onto that screen as
// PlaceWindow fits it.
void CentreWindowOver(QWidget* window, const QRect& over, QScreen* screen,
                      const QRect& frameMargins);

// Puts `window` with its frame's top-left corner at `frameTopLeft` on `screen` (the window's own
// screen when null), fitted onto that screen; a window larger than the screen is made smaller,
// as far as its minimum size allows. For a window not yet shown, the frame is taken to be as
// thick as `frameMargins` says (the frame of a window already on screen).
void PlaceWindow(QWidget* window, QPoint frameTopLeft, QScreen* screen, const QRect& frameMargins);

// Makes a window that would not fit on its screen smaller, as far as its minimum size allows,
// and leaves its position to the window manager.
void ShrinkToScreen(QWidget* window);

// The thickness of a shown window's frame on each side, as a rectangle from the window's
// top-left (left, top) to its bottom-right (right, bottom) margins.
QRect FrameMargins(const QWidget* window);
