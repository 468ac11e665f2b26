#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <array>
#include <optional>

QPoint FittedFrameTopLeft(QPoint wanted, QSize frameSize, const QRect& available) {
    // Past the right or bottom edge: move back just enough; then never past the left or top.
    const int x =
        std::max(available.left(),
                 std::min(wanted.x(), available.left() + available.width() - frameSize.width()));
    const int y =
        std::max(available.top(),
                 std::min(wanted.y(), available.top() + available.height() - frameSize.height()));
    return {x, y};
}

QPoint CentredFrameTopLeft(const QRect& over, QSize frameSize, const QRect& available) {
    const QPoint wanted(over.left() + (over.width() - frameSize.width()) / 2,
                        over.top() + (over.height() - frameSize.height()) / 2);
    return FittedFrameTopLeft(wanted, frameSize, available);
}

QPoint BesideFrameTopLeft(const QRect& anchorFrame, QSize frameSize, const QRect& available) {
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

QPoint ReturningFrameTopLeft(QPoint stoodAt, QPoint replacementPutAt, QPoint replacementLeftAt) {
    return stoodAt + (replacementLeftAt - replacementPutAt);
}

namespace {

// Steps 1 to 3 of ClearOfFrameGeometry: where a frame of `frameSize` stands whole on `available`
// covering nothing of `anchorFrame`, or else nothing of `keptInView`; none when nowhere.
std::optional<QPoint> ClearPlace(const QRect& anchorFrame, const QRect& keptInView, QSize frameSize,
                                 const QRect& available) {
    // Whole on the available area at the top-left corner `at`.
    const auto fits = [&](QPoint at) { return available.contains(QRect(at, frameSize)); };
    // Right of, left of, below and above a rectangle, slid along its edge onto the available
    // area.
    const auto placements = [&](const QRect& frame) {
        const QPoint slid = FittedFrameTopLeft(frame.topLeft(), frameSize, available);
        return std::array{QPoint(frame.right() + 1, slid.y()),
                          QPoint(frame.left() - frameSize.width(), slid.y()),
                          QPoint(slid.x(), frame.bottom() + 1),
                          QPoint(slid.x(), frame.top() - frameSize.height())};
    };
    for (const QPoint at : placements(anchorFrame)) {
        if (fits(at)) {
            return at;
        }
    }
    if (keptInView.isValid()) {
        const auto clear = placements(keptInView);
        for (const QPoint at : {clear[2], clear[3], clear[0], clear[1]}) {
            if (fits(at)) {
                return at;
            }
        }
    }
    return std::nullopt;
}

} // namespace

QRect ClearOfFrameGeometry(const QRect& anchorFrame, const QRect& keptInView, QSize frameSize,
                           int minimumFrameHeight, const QRect& available) {
    if (const auto at = ClearPlace(anchorFrame, keptInView, frameSize, available)) {
        return {*at, frameSize};
    }
    if (keptInView.isValid()) {
        // The larger of the rooms below and above the kept part, on the available area.
        const int room =
            std::max(available.bottom() - keptInView.bottom(), keptInView.top() - available.top());
        if (room >= minimumFrameHeight && room < frameSize.height()) {
            const QSize shorter(frameSize.width(), room);
            if (const auto at = ClearPlace(anchorFrame, keptInView, shorter, available)) {
                return {*at, shorter};
            }
        }
    }
    const QPoint overLowerHalf(anchorFrame.left() + (anchorFrame.width() - frameSize.width()) / 2,
                               anchorFrame.top() + anchorFrame.height() / 2);
    return {FittedFrameTopLeft(overLowerHalf, frameSize, available), frameSize};
}

QRect FrameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect inside = window->geometry();
    return QRect(QPoint(inside.left() - frame.left(), inside.top() - frame.top()),
                 QPoint(frame.right() - inside.right(), frame.bottom() - inside.bottom()));
}

namespace {

QSize FrameExtra(const QRect& frameMargins) {
    return {frameMargins.left() + frameMargins.right(), frameMargins.top() + frameMargins.bottom()};
}

// Gives a window the size it opens at, no larger than `available` allows with its frame.
void FitSize(QWidget* window, const QRect& available, QSize frameExtra) {
    if (!window->isVisible() && !window->testAttribute(Qt::WA_Resized)) {
        window->adjustSize(); // the size it will open at
    }
    // Never smaller than its layout lets it be: it would grow when shown, past where it was put.
    const QSize fitting = window->size()
                              .expandedTo(window->minimumSizeHint())
                              .boundedTo(available.size() - frameExtra)
                              .expandedTo(window->minimumSize());
    if (fitting != window->size()) {
        window->resize(fitting);
    }
}

// Puts the window's frame at `frameTopLeft` by placing its inside where the frame leaves it. A
// window manager keeps the inside where it is asked to be when it maps a window again, whereas a
// frame position given to a hidden window is not always kept (openbox put it back by the
// frame's thickness).
void MoveFrameTo(QWidget* window, QPoint frameTopLeft, const QRect& frameMargins) {
    window->setGeometry(
        QRect(frameTopLeft + QPoint(frameMargins.left(), frameMargins.top()), window->size()));
}

QScreen* ScreenOf(const QWidget* window, QScreen* screen) {
    if (screen) {
        return screen;
    }
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

} // namespace

void PutWindowBack(QWidget* window, QPoint frameTopLeft, const QRect& frameMargins) {
    MoveFrameTo(window, frameTopLeft, frameMargins);
}

void ShrinkToScreen(QWidget* window) {
    if (QScreen* screen = ScreenOf(window, nullptr)) {
        FitSize(window, screen->availableGeometry(), FrameExtra(FrameMargins(window)));
    }
}

namespace {

// Fits the window to its screen's area, then gives its frame the rectangle `frameFor` gives for
// the frame's size (kept on that area); the window takes that rectangle's size too, when
// `frameFor` makes it smaller.
template <typename FrameFor>
void FitAndMove(QWidget* window, QScreen* screen, const QRect& frameMargins, FrameFor frameFor) {
    screen = ScreenOf(window, screen);
    if (!screen) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize frameExtra = FrameExtra(frameMargins);
    FitSize(window, available, frameExtra);
    const QRect frame = frameFor(window->size() + frameExtra, available);
    if (frame.size() != window->size() + frameExtra) {
        window->resize(frame.size() - frameExtra);
    }
    MoveFrameTo(window, frame.topLeft(), frameMargins);
}

} // namespace

void PlaceWindow(QWidget* window, QPoint frameTopLeft, QScreen* screen, const QRect& frameMargins) {
    FitAndMove(window, screen, frameMargins, [&](QSize frameSize, const QRect& available) {
        return QRect(FittedFrameTopLeft(frameTopLeft, frameSize, available), frameSize);
    });
}

void CentreWindowOver(QWidget* window, const QRect& over, QScreen* screen,
                      const QRect& frameMargins) {
    FitAndMove(window, screen, frameMargins, [&](QSize frameSize, const QRect& available) {
        return QRect(CentredFrameTopLeft(over, frameSize, available), frameSize);
    });
}

void PlaceWindowClearOf(QWidget* window, const QRect& anchorFrame, const QRect& keptInView,
                        QScreen* screen, const QRect& frameMargins) {
    FitAndMove(window, screen, frameMargins, [&](QSize frameSize, const QRect& available) {
        // Its smallest frame: the window no smaller than its layout and its minimum size allow.
        const int minimumFrameHeight =
            window->minimumSizeHint().expandedTo(window->minimumSize()).height() +
            frameSize.height() - window->height();
        return ClearOfFrameGeometry(anchorFrame, keptInView, frameSize, minimumFrameHeight,
                                    available);
    });
}

void PlaceWindowBeside(QWidget* window, const QRect& anchorFrame, QScreen* screen,
                       const QRect& frameMargins) {
    FitAndMove(window, screen, frameMargins, [&](QSize frameSize, const QRect& available) {
        return QRect(BesideFrameTopLeft(anchorFrame, frameSize, available), frameSize);
    });
}

namespace {

// Reaches QWidget::destroy, which is protected: it lets the window-system window go together
// with the widget's QWindow, so that closing still reaches the widget. (QWindow::destroy alone
// leaves a QWindow without a window-system window, which takes a close for done without closing.)
struct WindowSystemRelease : QWidget {
    using QWidget::destroy;
};

} // namespace

void WithdrawWindow(QWidget* window) {
    window->hide();
    if (window->windowHandle()) {
        void (QWidget::*destroy)(bool, bool) = &WindowSystemRelease::destroy;
        (window->*destroy)(true, true);
    }
}
