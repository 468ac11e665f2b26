#include "app/WindowController.h"
#include "support/Windows.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Start {
    const char* name;
    QPoint inputAt;  // where the user left the input window
    qreal fontScale; // the desktop font, times the default
};

class WindowPositions : public ::testing::TestWithParam<Start> {
  protected:
    void SetUp() override {
        DeleteUnloadedWindows(); // nothing left from an earlier case
        defaultFont = QApplication::font();
        QFont font = defaultFont;
        font.setPointSizeF(font.pointSizeF() * GetParam().fontScale);
        QApplication::setFont(font);
        controller.start();
        input = FindWindow("frmMain");
        input->move(GetParam().inputAt);
        TypeDelhiEntries(*input);
    }
    void TearDown() override { QApplication::setFont(defaultFont); }

    // Wholly on its screen; a window whose smallest size is larger than the screen keeps at
    // least its top-left corner, with the title and menus, on it.
    static bool OnScreen(const QWidget* window) {
        const QRect available = window->screen()->availableGeometry();
        const QRect frame = window->frameGeometry();
        if (frame.width() > available.width() || frame.height() > available.height()) {
            return window->minimumSizeHint().width() > available.width() ||
                           window->minimumSizeHint().height() > available.height()
                       ? available.contains(frame.topLeft())
                       : false;
        }
        return available.contains(frame);
    }

    QFont defaultFont;
    WindowController controller;
    QWidget* input = nullptr;
};

// The result opens where the input window was and Back brings the input window back where it
// stood, moved as far as the user moved the result window (not where the result window was
// fitted onto the screen); a window that would reach past the screen moves just enough to fit.
TEST_P(WindowPositions, EachWindowTakesThePlaceOfTheOtherAndStaysOnScreen) {
    const Start& start = GetParam();
    const QRect available = input->screen()->availableGeometry();
    const QPoint inputCorner = input->frameGeometry().topLeft();
    input->findChild<QPushButton*>("cmdRashi")->click();
    QWidget* result = FindWindow("frmDisplay");
    ASSERT_TRUE(result && result->isVisible()) << start.name;
    const QRect resultFrame = result->frameGeometry();
    EXPECT_TRUE(OnScreen(result)) << start.name;
    EXPECT_EQ(resultFrame.topLeft(), FittedFrameTopLeft(inputCorner, resultFrame.size(), available))
        << start.name;

    const QPoint userMove(25, 15);
    result->move(resultFrame.topLeft() + userMove); // the user moves it a little
    result->findChild<QPushButton*>("cmdOK")->click();
    ASSERT_TRUE(input->isVisible()) << start.name;
    EXPECT_TRUE(OnScreen(input)) << start.name;
    EXPECT_EQ(input->frameGeometry().topLeft(),
              FittedFrameTopLeft(inputCorner + userMove, input->frameGeometry().size(), available))
        << start.name;
}

// Back with the result window where it was put: the input window stands exactly where it stood,
// also partly past the screen's edge, where a window manager may keep it.
TEST_P(WindowPositions, BackWithTheResultUnmovedIsToThePixel) {
    const QPoint inputCorner = input->frameGeometry().topLeft();
    input->findChild<QPushButton*>("cmdRashi")->click();
    QWidget* result = FindWindow("frmDisplay");
    ASSERT_TRUE(result && result->isVisible()) << GetParam().name;
    result->findChild<QPushButton*>("cmdOK")->click();
    ASSERT_TRUE(input->isVisible()) << GetParam().name;
    EXPECT_EQ(input->frameGeometry().topLeft(), inputCorner) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Starts, WindowPositions,
    ::testing::Values(Start{"topLeft", {0, 0}, 1.0}, Start{"partlyPastTheTopLeft", {-3, -2}, 1.0},
                      Start{"middle", {60, 40}, 1.0}, Start{"nearBottomRight", {700, 500}, 1.0},
                      Start{"largerFontNearBottomRight", {700, 500}, 1.5},
                      Start{"doubleFont", {10, 10}, 2.0}),
    [](const ::testing::TestParamInfo<Start>& info) { return std::string(info.param.name); });

} // namespace
