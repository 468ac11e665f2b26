#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the place finder's frame goes beside the input window's frame (`anchorFrame`) on the
// screen area `available`: to its right when it fits there, else to its left, else centred over
// it; then moved just enough to lie inside the area (a frame larger than the area starts at its
// top-left edge).
QPoint FinderFrameTopLeft(const QRect& anchorFrame, QSize frameSize, const QRect& available);
