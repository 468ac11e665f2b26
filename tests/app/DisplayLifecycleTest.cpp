#include "app/frmDisplay.h"
#include "promo/frmExit.h"
#include "support/Capture.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

void deleteUnloadedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The result window on screen over a hidden input window, as after a calculation.
class DisplayLifecycle : public ::testing::Test {
  protected:
    void SetUp() override {
        input.setObjectName(QStringLiteral("frmMain"));
        input.hide();
        hideExitWindow();
        window = displayWindow();
        window->setPositionCaption(0, QStringLiteral("07 Ari 30"));
        window->show();
        exitShows = std::make_unique<ShowCounter>(exitWindow());
    }
    void TearDown() override {
        if (window) {
            window->hide();
        }
        hideExitWindow();
    }

    QWidget input; // stands in for the input window
    QPointer<frmDisplay> window;
    std::unique_ptr<ShowCounter> exitShows;
};

TEST_F(DisplayLifecycle, DisplayWindowIsCreatedOnceAndHidden) {
    window->hide();
    EXPECT_EQ(displayWindow(), window.data());
    EXPECT_EQ(window->findChild<QLabel*>("lblPosition_0")->text(), "07 Ari 30");
    window->close();
    frmDisplay* fresh = displayWindow();
    EXPECT_NE(fresh, window.data()) << "an unloaded window is not handed out again";
    EXPECT_FALSE(fresh->isVisible());
    EXPECT_NE(fresh->findChild<QLabel*>("lblPosition_0")->text(), "07 Ari 30")
        << "a fresh window starts from its design";
    deleteUnloadedWindows();
    EXPECT_TRUE(window.isNull());
    fresh->close();
    deleteUnloadedWindows();
}

struct Way {
    const char* name;
    std::function<void(frmDisplay&)> act;
};

void clickButton(frmDisplay& window, const char* name) {
    window.findChild<QPushButton*>(name)->click();
}
void triggerMenu(frmDisplay& window, const char* name) {
    window.findChild<QAction*>(name)->trigger();
}

class Back : public DisplayLifecycle, public ::testing::WithParamInterface<Way> {};

TEST_P(Back, UnloadsAndReturnsToTheInputWindow) {
    GetParam().act(*window);
    EXPECT_TRUE(input.isVisible()) << GetParam().name;
    EXPECT_EQ(exitShows->shows, 1) << "the unload shows the exit window";
    EXPECT_FALSE(exitWindow()->isVisible()) << "and Back hides it again";
    EXPECT_FALSE(window && window->isVisible());
    deleteUnloadedWindows();
    EXPECT_TRUE(window.isNull()) << "the result window is unloaded";
    frmDisplay* next = displayWindow();
    EXPECT_FALSE(next->isVisible());
    next->close();
    deleteUnloadedWindows();
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, Back,
    ::testing::Values(Way{"button", [](frmDisplay& w) { clickButton(w, "cmdOK"); }},
                      Way{"menu", [](frmDisplay& w) { triggerMenu(w, "mnuFileBack"); }}),
    [](const ::testing::TestParamInfo<Way>& info) { return std::string(info.param.name); });

class Exit : public DisplayLifecycle, public ::testing::WithParamInterface<Way> {};

TEST_P(Exit, UnloadsAndShowsTheExitWindow) {
    GetParam().act(*window);
    EXPECT_TRUE(exitWindow()->isVisible()) << GetParam().name;
    EXPECT_EQ(exitShows->shows, 1);
    EXPECT_FALSE(input.isVisible()) << "the input window stays hidden";
    deleteUnloadedWindows();
    EXPECT_TRUE(window.isNull()) << "the result window is unloaded";
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, Exit,
    ::testing::Values(Way{"button", [](frmDisplay& w) { clickButton(w, "cmdExit"); }},
                      Way{"menu", [](frmDisplay& w) { triggerMenu(w, "mnuExit"); }},
                      Way{"closeBox", [](frmDisplay& w) { w.windowHandle()->close(); }}),
    [](const ::testing::TestParamInfo<Way>& info) { return std::string(info.param.name); });

} // namespace
