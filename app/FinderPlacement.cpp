#include "app/FinderPlacement.h"

#include "ui/WindowPlacement.h"

QPoint FinderFrameTopLeft(const QRect& anchorFrame, QSize frameSize, const QRect& available) {
    QPoint wanted;
    if (anchorFrame.right() + frameSize.width() <= available.right()) {
        wanted = {anchorFrame.right() + 1, anchorFrame.top()};
    } else if (anchorFrame.left() - frameSize.width() >= available.left()) {
        wanted = {anchorFrame.left() - frameSize.width(), anchorFrame.top()};
    } else {
        wanted = anchorFrame.center() - QPoint(frameSize.width() / 2, frameSize.height() / 2);
    }
    return FittedFrameTopLeft(wanted, frameSize, available);
}
