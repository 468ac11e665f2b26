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

// Where a window frame of `frameSize` goes beside the frame `anchorFrame`: to its right when it
// fits there, else to its left, else centred over it; then fitted onto `available` as
// FittedFrameTopLeft fits it.
QPoint BesideFrameTopLeft(const QRect& anchorFrame, QSize frameSize, const QRect& available);

// Where a window that was replaced by another goes when it comes back: where it stood
// (`stoodAt`), moved as far as the user moved the window that replaced it, from where that one
// was put (`replacementPutAt`) to where it was left (`replacementLeftAt`). Where the replacement
// was put further along to fit on the screen counts for nothing.
QPoint ReturningFrameTopLeft(QPoint stoodAt, QPoint replacementPutAt, QPoint replacementLeftAt);

// Where a window frame of `frameSize` goes so that it covers nothing of the frame `anchorFrame`
// that matters, in turn:
//   1. beside it, to its right, else to its left, when it fits there whole;
//   2. below it, else above it, when it fits there whole;
//   3. clear of `keptInView` (the part of the anchor the window works on): below it, else above
//      it, else to its right, else to its left, when it fits there whole;
//   4. made shorter, down to `minimumFrameHeight`, to fill the larger of the rooms below and above
//      `keptInView`;
//   5. over the anchor's lower half, at its own size.
// Each is fitted onto `available` as FittedFrameTopLeft fits it.
QRect ClearOfFrameGeometry(const QRect& anchorFrame, const QRect& keptInView, QSize frameSize,
                           int minimumFrameHeight, const QRect& available);

// Puts `window` on `screen` where it covers nothing of the frame `anchorFrame` that matters (see
// ClearOfFrameGeometry; its list or other stretching parts get shorter when it is made shorter),
// fitted onto that screen as PlaceWindow fits it.
void PlaceWindowClearOf(QWidget* window, const QRect& anchorFrame, const QRect& keptInView,
                        QScreen* screen, const QRect& frameMargins);

// Puts `window` beside the frame `anchorFrame` on `screen` (see BesideFrameTopLeft), fitted onto
// that screen as PlaceWindow fits it.
void PlaceWindowBeside(QWidget* window, const QRect& anchorFrame, QScreen* screen,
                       const QRect& frameMargins);

// Puts `window` centred over the frame `over` on `screen`, fitted onto that screen as
// PlaceWindow fits it.
void CentreWindowOver(QWidget* window, const QRect& over, QScreen* screen,
                      const QRect& frameMargins);

// Puts `window` with its frame's top-left corner at `frameTopLeft` on `screen` (the window's own
// screen when null), fitted onto that screen; a window larger than the screen is made smaller,
// as far as its minimum size allows. For a window not yet shown, the frame is taken to be as
// thick as `frameMargins` says (the frame of a window already on screen).
void PlaceWindow(QWidget* window, QPoint frameTopLeft, QScreen* screen, const QRect& frameMargins);

// Puts `window`'s frame at `frameTopLeft` as it is, fitted onto no screen: for a window going
// back where it stood, which may be where the window manager kept it a pixel past the screen's
// edge. `frameMargins` is the frame's thickness, as PlaceWindow takes it.
void PutWindowBack(QWidget* window, QPoint frameTopLeft, const QRect& frameMargins);

// Makes a window that would not fit on its screen smaller, as far as its minimum size allows,
// and leaves its position to the window manager.
void ShrinkToScreen(QWidget* window);

// The thickness of a shown window's frame on each side, as a rectangle from the window's
// top-left (left, top) to its bottom-right (right, bottom) margins.
QRect FrameMargins(const QWidget* window);

// Hides `window` and lets its window-system window go; the widgets and what they hold stay, and
// the next show makes a new one where the window is placed by then. A window-system window that
// already exists when it is moved and mapped is framed by openbox in steps, and Qt could measure
// the frame half made (1x1 at the window's corner) and keep that measure until the window next
// moved; a new one is framed as at its first showing.
void WithdrawWindow(QWidget* window);
