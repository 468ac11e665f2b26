// The windows under a real window manager (openbox on Xvfb, see under-window-manager.sh): where
// each opens, where the input window comes back after Back, and that the exit window never
// flashes on Back. A window manager places and frames windows asynchronously, so every check
// polls for the frame with a timeout.

#include "app/WindowController.h"
#include "support/Capture.h"
#include "support/Windows.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

inline void PrintTo(const QPoint& point, std::ostream* out) {
    *out << "(" << point.x() << ", " << point.y() << ")";
}

namespace {

// Generous: a loaded machine (or a sanitizer build) may take seconds to map a window.
constexpr int frameTimeoutMilliseconds = 20000;

// Counts the times the exit window reaches the screen: shown while not kept off it.
class ExitWindowShows : public QObject {
  public:
    ExitWindowShows() { qApp->installEventFilter(this); }
    int shows = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            watched->objectName() == QLatin1String("frmExit") &&
            !static_cast<QWidget*>(watched)->testAttribute(Qt::WA_DontShowOnScreen)) {
            ++shows;
        }
        return false;
    }
};

// Waits until the window is on screen, framed by the window manager, with its frame's top-left
// corner at `corner`. False after the timeout.
bool WaitForFrameAt(const QWidget* window, QPoint corner) {
    return QTest::qWaitFor(
        [&] {
            return window->isVisible() && window->frameGeometry() != window->geometry() &&
                   window->frameGeometry().topLeft() == corner;
        },
        frameTimeoutMilliseconds);
}

// Framed: the frame is known and holds the window (a frame just mapped can read 1 x 1 first).
bool WaitForFramed(const QWidget* window) {
    return QTest::qWaitFor(
        [&] {
            const QRect frame = window->frameGeometry();
            return window->isVisible() && frame != window->geometry() &&
                   frame.contains(window->geometry());
        },
        frameTimeoutMilliseconds);
}

// Whether the frame's top-left corner is at a corner of the screen's area for windows.
bool AtAScreenCorner(const QWidget* window) {
    const QRect available = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    const bool atLeft = frame.left() == available.left();
    const bool atRight = frame.right() == available.right();
    const bool atTop = frame.top() == available.top();
    const bool atBottom = frame.bottom() == available.bottom();
    return (atLeft || atRight) && (atTop || atBottom);
}

struct Start {
    const char* name;
    QPoint inputAt; // where the user puts the input window; null: where it opens
};

void PrintTo(const Start& start, std::ostream* out) {
    *out << start.name;
}

class WindowManager : public ::testing::TestWithParam<Start> {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs an X display with a window manager (under-window-manager.sh)";
        }
        controller.start();
        input = FindWindow("frmMain");
        ASSERT_NE(input, nullptr);
        ASSERT_TRUE(WaitForFramed(input)) << "no window manager framed the input window";
        TypeDelhiEntries(*input);
    }
    void TearDown() override { DeleteUnloadedWindows(); }

    MessageCapture messages;
    WindowController controller;
    QWidget* input = nullptr;
    ExitWindowShows exitShows;
};

TEST_P(WindowManager, WindowsOpenWhereTheOneTheyReplaceWasAndStayThere) {
    const QRect available = input->screen()->availableGeometry();
    EXPECT_FALSE(AtAScreenCorner(input)) << "the input window opened at a corner";
    if (!GetParam().inputAt.isNull()) {
        input->move(GetParam().inputAt); // the user moves it
        ASSERT_TRUE(WaitForFrameAt(input, GetParam().inputAt));
    }
    const QPoint inputCorner = input->frameGeometry().topLeft();

    // Calculate: the result window opens where the input window was.
    input->findChild<QPushButton*>(QStringLiteral("cmdRashi"))->click();
    QWidget* result = FindWindow("frmDisplay");
    ASSERT_NE(result, nullptr);
    ASSERT_TRUE(WaitForFramed(result));
    const QPoint resultWanted =
        FittedFrameTopLeft(inputCorner, result->frameGeometry().size(), available);
    EXPECT_TRUE(WaitForFrameAt(result, resultWanted))
        << "result at " << ::testing::PrintToString(result->frameGeometry().topLeft())
        << ", wanted " << ::testing::PrintToString(resultWanted);

    // Show Charts off and on again: the window gives back the panel's room, then takes the size
    // it opened at again (Qt's own sizing would stop at two thirds of the screen).
    const QSize opened = result->size();
    auto* showCharts = result->findChild<QCheckBox*>(QStringLiteral("chkShowCharts"));
    ASSERT_NE(showCharts, nullptr);
    showCharts->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return result->width() < opened.width(); },
                                frameTimeoutMilliseconds));
    showCharts->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return result->size() == opened; }, frameTimeoutMilliseconds))
        << result->width() << " x " << result->height() << ", opened at " << opened.width() << " x "
        << opened.height();
    ASSERT_TRUE(WaitForFrameAt(result, resultWanted))
        << "result at " << ::testing::PrintToString(result->frameGeometry().topLeft())
        << " after Show Charts again, wanted " << ::testing::PrintToString(resultWanted);

    // The user moves it a little; Back brings the input window back where it stood, moved as
    // far as the result window was, and the exit window never reaches the screen on the way.
    const QPoint moved = result->frameGeometry().topLeft() - QPoint(40, 30);
    result->move(moved);
    ASSERT_TRUE(WaitForFrameAt(result, moved));
    result->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    DeleteUnloadedWindows();
    const QPoint inputWanted =
        FittedFrameTopLeft(ReturningFrameTopLeft(inputCorner, resultWanted, moved),
                           input->frameGeometry().size(), available);
    EXPECT_TRUE(WaitForFrameAt(input, inputWanted))
        << "input at " << ::testing::PrintToString(input->frameGeometry().topLeft()) << ", wanted "
        << ::testing::PrintToString(inputWanted);
    QWidget* exit = FindWindow("frmExit");
    ASSERT_NE(exit, nullptr);
    EXPECT_FALSE(exit->isVisible());
    EXPECT_EQ(exitShows.shows, 0) << "the exit window reached the screen on Back";

    // Calculate again, then Exit: the exit window opens centred over the result window.
    input->findChild<QPushButton*>(QStringLiteral("cmdRashi"))->click();
    result = FindWindow("frmDisplay");
    ASSERT_NE(result, nullptr);
    ASSERT_TRUE(WaitForFramed(result));
    EXPECT_EQ(exitShows.shows, 0) << "the exit window reached the screen on Calculate";
    ASSERT_TRUE(WaitForFrameAt(
        result, FittedFrameTopLeft(inputWanted, result->frameGeometry().size(), available)));
    const QRect resultFrame = result->frameGeometry();
    result->findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
    ASSERT_TRUE(WaitForFramed(exit));
    const QPoint exitWanted =
        CentredFrameTopLeft(resultFrame, exit->frameGeometry().size(), available);
    EXPECT_TRUE(WaitForFrameAt(exit, exitWanted))
        << "exit at " << ::testing::PrintToString(exit->frameGeometry().topLeft()) << ", wanted "
        << ::testing::PrintToString(exitWanted);
    EXPECT_FALSE(AtAScreenCorner(exit)) << "the exit window opened at a corner";
    EXPECT_EQ(exitShows.shows, 1);
}

INSTANTIATE_TEST_SUITE_P(Starts, WindowManager,
                         ::testing::Values(Start{"whereItOpens", {}},
                                           Start{"movedRight", {470, 120}},
                                           Start{"nearTheBottomRight", {900, 520}}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
