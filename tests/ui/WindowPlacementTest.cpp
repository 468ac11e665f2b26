#include "ui/WindowPlacement.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

// A frame wanted at a corner keeps it when it fits and moves just enough when it does not.
TEST(FittedFrameTopLeft, MovesOnlyAsFarAsTheScreenEdgeNeeds) {
    const QRect screen(0, 0, 1280, 800);           // a whole screen, panels left out
    const QRect rightScreen(1280, 30, 1920, 1050); // a second screen, right of the first
    struct Row {
        const char* name;
        QPoint wanted;
        QSize frame;
        QRect available;
        QPoint expected;
    };
    const Row rows[] = {
        {"fits", {100, 50}, {600, 500}, screen, {100, 50}},
        {"pastRight", {900, 50}, {600, 500}, screen, {680, 50}},
        {"pastBottom", {100, 500}, {600, 500}, screen, {100, 300}},
        {"pastBoth", {1200, 790}, {600, 500}, screen, {680, 300}},
        {"leftOfScreen", {-40, -10}, {600, 500}, screen, {0, 0}},
        {"exactlyFits", {680, 300}, {600, 500}, screen, {680, 300}},
        {"widerThanScreen", {50, 50}, {1500, 500}, screen, {0, 50}},
        {"secondScreen", {3000, 900}, {600, 500}, rightScreen, {2600, 580}},
        {"secondScreenAboveItsTop", {1400, 0}, {600, 500}, rightScreen, {1400, 30}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FittedFrameTopLeft(row.wanted, row.frame, row.available), row.expected)
            << row.name;
    }
}

// A frame centred over another stands centred on it where it fits, and moves onto the screen
// where it does not.
TEST(CentredFrameTopLeft, CentresThenFits) {
    const QRect screen(0, 0, 1280, 800);
    struct Row {
        const char* name;
        QRect over;
        QSize frame;
        QPoint expected;
    };
    const Row rows[] = {
        {"smallerOverLarger", {100, 50, 800, 600}, {400, 300}, {300, 200}},
        {"oddDifference", {100, 50, 801, 601}, {400, 300}, {300, 200}},
        {"largerOverSmaller", {400, 300, 200, 100}, {600, 500}, {200, 100}},
        {"overNearTheLeftEdge", {0, 0, 200, 100}, {600, 500}, {0, 0}},
        {"overNearTheBottomRight", {1100, 700, 180, 100}, {600, 500}, {680, 300}},
        {"sameSize", {10, 20, 600, 500}, {600, 500}, {10, 20}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CentredFrameTopLeft(row.over, row.frame, screen), row.expected) << row.name;
    }
}

// The input window after Back: where it stood before the result window replaced it, not where
// the result window was fitted onto the screen, and moved as far as the user moved the result
// window. Figures read with xwininfo under openbox on a 1600 x 1000 screen, where a 1213 px wide
// result window put at the input window's corner (468, 206) was fitted 81 px to the left.
TEST(ReturningFrameTopLeft, WhereItStoodMovedAsTheUserMovedItsReplacement) {
    struct Row {
        const char* name;
        QPoint stoodAt;
        QPoint replacementPutAt;
        QPoint replacementLeftAt;
        QPoint expected;
    };
    const Row rows[] = {
        {"replacementFittedLeftIsNotFollowed", {468, 206}, {388, 226}, {388, 226}, {468, 206}},
        {"replacementMovedByTheUser", {468, 206}, {388, 226}, {200, 150}, {280, 130}},
        {"replacementMovedOntoASecondScreen", {468, 206}, {388, 226}, {1988, 226}, {2068, 206}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ReturningFrameTopLeft(row.stoodAt, row.replacementPutAt, row.replacementLeftAt),
                  row.expected)
            << row.name;
    }
}

// The finder's place: beside the input window, else below or above it, else clear of the boxes
// it fills, else made shorter to fill the larger room below or above those boxes, else over the
// input window's lower half; slid along an edge onto the screen. Worked by hand for a 860 x 460
// finder (smaller where the row says) on screens of 1600 x 1000, 1024 x 1000, 1024 x 600 and
// 800 x 600; the rows that make it shorter use frames measured under openbox (input window
// 664 x 573 with its place boxes 643 x 122, finder 862 x 481, smallest 262 high).
TEST(ClearOfFrameGeometry, BesideThenBelowOrAboveThenClearOfTheBoxesThenLowerHalf) {
    struct Row {
        const char* name;
        QRect available;
        QRect anchor;
        QRect kept;
        QSize frame;
        QPoint expected;
        int minimumHeight = 0;   // none given: the frame is never made shorter
        QSize expectedSize = {}; // none given: the frame's own
    };
    const QRect wide(0, 0, 1600, 1000);
    const QRect tall(0, 0, 1024, 1000);
    const QRect small(0, 0, 1024, 600);
    const QRect smallest(0, 0, 800, 600);
    const QSize finder(860, 460);
    const QSize measured(862, 481);
    const QSize narrowed(800, 481); // as wide as the 800 x 600 screen
    const QRect input(180, 6, 664, 573);
    const QRect boxes(190, 190, 643, 122);
    const QRect lowBoxes(190, 330, 643, 122);
    const Row rows[] = {
        {"rightWhenItFits", wide, {100, 100, 600, 500}, {}, finder, {700, 100}},
        {"leftWhenTheRightIsFull", wide, {900, 100, 600, 500}, {}, finder, {40, 100}},
        {"besideSlidUpOntoTheScreen", wide, {100, 700, 600, 300}, {}, finder, {700, 540}},
        {"belowWhenNeitherSideHasRoom", tall, {100, 50, 600, 400}, {}, finder, {100, 450}},
        {"aboveWhenBelowIsFull", tall, {100, 500, 600, 400}, {}, finder, {100, 40}},
        {"belowTheBoxesOnASmallScreen",
         small,
         {112, 20, 800, 560},
         {130, 60, 500, 150},
         {700, 300},
         {130, 210}},
        {"aboveTheBoxesWhenBelowThemIsFull",
         small,
         {112, 20, 800, 560},
         {130, 400, 500, 150},
         {700, 300},
         {130, 100}},
        {"rightOfTallBoxes",
         small,
         {112, 20, 800, 560},
         {130, 20, 300, 560},
         {500, 500},
         {430, 20}},
        {"noRoomAnywhereLowerHalf",
         {0, 0, 800, 600},
         {100, 100, 600, 400},
         {},
         {400, 300},
         {200, 300}},
        {"noRoomOn800x600LowerHalfFitted",
         {0, 0, 800, 600},
         {0, 0, 780, 590},
         {20, 100, 500, 200},
         {800, 560},
         {0, 40}},
        // clang-format off
        {"shorterBelowTheBoxesOn1024x600", small, input, boxes, measured, {162, 312}, 262,
         {862, 288}},
        {"roomJustTheSmallestHeight", small, input, boxes, measured, {162, 312}, 288, {862, 288}},
        {"shorterAboveWhenAboveHasMoreRoom", small, input, lowBoxes, measured, {162, 0}, 262,
         {862, 330}},
        {"shorterBelowTheBoxesOn800x600", smallest, input.translated(-112, 7),
         boxes.translated(-112, 7), narrowed, {0, 319}, 262, {800, 281}},
        {"tooLittleRoomLowerHalfAtItsOwnSize", smallest, {0, 0, 780, 590}, {20, 150, 600, 300},
         narrowed, {0, 119}, 262},
        // clang-format on
    };
    for (const Row& row : rows) {
        const int minimumHeight = row.minimumHeight > 0 ? row.minimumHeight : row.frame.height();
        const QSize size = row.expectedSize.isValid() ? row.expectedSize : row.frame;
        EXPECT_EQ(
            ClearOfFrameGeometry(row.anchor, row.kept, row.frame, minimumHeight, row.available),
            QRect(row.expected, size))
            << row.name;
    }
}

// A withdrawn window is hidden with no window-system window left, keeps what its controls hold,
// and when shown again its new window-system window stands where the window was placed meanwhile,
// whether it was last on the screen or shown and hidden off it.
TEST(WithdrawWindow, LetsTheWindowSystemWindowGoAndKeepsTheEntries) {
    struct Row {
        const char* name;
        bool lastShownOffScreen;
        QPoint placedAt;
    };
    const Row rows[] = {
        {"wasOnScreen", false, {120, 90}},
        {"wasKeptOffScreen", true, {300, 200}},
    };
    for (const Row& row : rows) {
        QWidget window;
        auto* entry = new QLineEdit(QStringLiteral("Delhi"));
        (new QVBoxLayout(&window))->addWidget(entry);
        window.setAttribute(Qt::WA_DontShowOnScreen, row.lastShownOffScreen);
        window.show();
        ASSERT_NE(window.windowHandle(), nullptr) << row.name;
        ASSERT_NE(window.windowHandle()->handle(), nullptr) << row.name;

        WithdrawWindow(&window);
        EXPECT_FALSE(window.isVisible()) << row.name;
        EXPECT_EQ(window.windowHandle(), nullptr) << row.name;

        window.setAttribute(Qt::WA_DontShowOnScreen, false);
        window.setGeometry(QRect(row.placedAt, window.size()));
        window.show();
        ASSERT_NE(window.windowHandle(), nullptr) << row.name;
        ASSERT_NE(window.windowHandle()->handle(), nullptr) << row.name;
        EXPECT_EQ(window.windowHandle()->geometry().topLeft(), row.placedAt) << row.name;
        EXPECT_EQ(entry->text(), QStringLiteral("Delhi")) << row.name;
    }
}

// Closing a withdrawn window still closes it: one that deletes itself on close is deleted.
TEST(WithdrawWindow, AWithdrawnWindowStillCloses) {
    QPointer<QWidget> window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    WithdrawWindow(window);
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    delete window.data();
}

} // namespace
