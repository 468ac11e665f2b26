#include "app/WindowController.h"
#include "app/frmDisplay.h"
#include "support/Capture.h"
#include "support/Windows.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// The result window on screen over the hidden input window, after a calculation.
class DisplayLifecycle : public ::testing::Test {
  protected:
    void SetUp() override {
        controller.start();
        input = FindWindow("frmMain");
        TypeDelhiEntries(*input);
        input->findChild<QPushButton*>(QStringLiteral("cmdRashi"))->click();
        window = FindWindow<frmDisplay>("frmDisplay");
        ASSERT_TRUE(window && window->isVisible());
        exitShows = std::make_unique<ShowCounter>(FindWindow("frmExit"));
    }

    WindowController controller;
    QPointer<QWidget> input;
    QPointer<frmDisplay> window;
    std::unique_ptr<ShowCounter> exitShows;
};

TEST_F(DisplayLifecycle, EachCalculationAfterBackLoadsAFreshResultWindow) {
    const QString moon = window->findChild<QLabel*>("lblPosition_1")->text();
    window->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    DeleteUnloadedWindows();
    EXPECT_TRUE(window.isNull()) << "Back unloads the result window";
    input->findChild<QPushButton*>(QStringLiteral("cmdRashi"))->click();
    frmDisplay* fresh = FindWindow<frmDisplay>("frmDisplay");
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_EQ(fresh->findChild<QLabel*>("lblPosition_1")->text(), moon);
}

// Labels of the first tab narrower than their text needs, by name.
std::vector<std::string> SqueezedLabels(QWidget* window) {
    std::vector<std::string> squeezed;
    QWidget* page = window->findChild<QWidget*>(QStringLiteral("tabBody_0"));
    for (const QLabel* label : page->findChildren<QLabel*>()) {
        if (!label->wordWrap() && label->width() < label->sizeHint().width()) {
            squeezed.push_back(label->objectName().toStdString());
        }
    }
    return squeezed;
}

// Later result windows take the page sizes the first one measured, unless the desktop's font
// has changed since; either way no text is cut.
TEST_F(DisplayLifecycle, LaterResultWindowsAreLaidOutAsTheFirst) {
    const QSize first = window->size();
    const QRect firstPosition = window->findChild<QLabel*>("lblPosition_0")->geometry();
    EXPECT_EQ(SqueezedLabels(window), std::vector<std::string>{});
    const auto again = [&] {
        FindWindow("frmDisplay")->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        DeleteUnloadedWindows();
        input->findChild<QPushButton*>(QStringLiteral("cmdRashi"))->click();
        return FindWindow("frmDisplay");
    };
    QWidget* second = again();
    EXPECT_EQ(second->size(), first);
    EXPECT_EQ(second->findChild<QLabel*>("lblPosition_0")->geometry(), firstPosition);

    const QFont defaultFont = QApplication::font();
    QFont larger = defaultFont;
    larger.setPointSizeF(defaultFont.pointSizeF() * 1.5);
    QApplication::setFont(larger);
    QWidget* third = again();
    EXPECT_GT(third->findChild<QLabel*>("lblPosition_0")->height(), firstPosition.height());
    EXPECT_EQ(SqueezedLabels(third), std::vector<std::string>{});
    QApplication::setFont(defaultFont);
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
    EXPECT_TRUE(input->isVisible()) << GetParam().name;
    EXPECT_TRUE(QTest::qWaitForWindowActive(input)) << "the keyboard follows the input window back";
    EXPECT_EQ(exitShows->shows, 1) << "the unload shows the exit window";
    EXPECT_FALSE(IsShown("frmExit")) << "and Back hides it again";
    EXPECT_FALSE(window && window->isVisible());
    DeleteUnloadedWindows();
    EXPECT_TRUE(window.isNull()) << "the result window is unloaded";
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, Back,
    ::testing::Values(Way{"button", [](frmDisplay& w) { clickButton(w, "cmdOK"); }},
                      Way{"menu", [](frmDisplay& w) { triggerMenu(w, "mnuFileBack"); }}),
    [](const ::testing::TestParamInfo<Way>& info) { return std::string(info.param.name); });

class Exit : public DisplayLifecycle, public ::testing::WithParamInterface<Way> {};

TEST_P(Exit, UnloadsAndShowsTheExitWindow) {
    GetParam().act(*window);
    EXPECT_TRUE(IsShown("frmExit")) << GetParam().name;
    EXPECT_EQ(exitShows->shows, 1);
    EXPECT_FALSE(input->isVisible()) << "the input window stays hidden";
    DeleteUnloadedWindows();
    EXPECT_TRUE(window.isNull()) << "the result window is unloaded";
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, Exit,
    ::testing::Values(Way{"button", [](frmDisplay& w) { clickButton(w, "cmdExit"); }},
                      Way{"menu", [](frmDisplay& w) { triggerMenu(w, "mnuExit"); }},
                      Way{"closeBox", [](frmDisplay& w) { w.windowHandle()->close(); }}),
    [](const ::testing::TestParamInfo<Way>& info) { return std::string(info.param.name); });

} // namespace
