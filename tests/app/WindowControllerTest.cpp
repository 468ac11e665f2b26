#include "app/WindowController.h"
#include "app/frmAbout.h"
#include "support/Capture.h"
#include "support/Windows.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Where the user is when they act: the input window after start, or the result window after a
// calculation.
struct Place {
    const char* name;
    const char* window;
};

class FromEachWindow : public ::testing::TestWithParam<Place> {
  protected:
    void SetUp() override {
        controller.start();
        if (QLatin1String(GetParam().window) == QLatin1String("frmDisplay")) {
            QWidget* input = FindWindow("frmMain");
            TypeDelhiEntries(*input);
            input->findChild<QPushButton*>("cmdRashi")->click();
        }
        window = FindWindow(GetParam().window);
        ASSERT_TRUE(window && window->isVisible());
    }

    WindowController controller;
    QWidget* window = nullptr;
};

TEST_P(FromEachWindow, AboutSoftwareShowsTheAboutWindowModallyOverIt) {
    bool shown = false;
    bool modal = false;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        if (auto* about = FindWindow<frmAbout>("frmAbout"); about && about->isVisible()) {
            shown = true;
            modal = about->isModal();
            owner = about->parentWidget();
            about->close();
        }
    });
    UrlCapture capture;
    window->findChild<QAction*>("mnuAbout")->trigger(); // returns when the about window closes
    EXPECT_TRUE(shown) << "the about window was shown";
    EXPECT_TRUE(modal);
    EXPECT_EQ(owner, window);
    EXPECT_TRUE(capture.urls.empty());
}

TEST_P(FromEachWindow, ASecondCopyBringsTheVisibleWindowForward) {
    // Another program has the keyboard.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    controller.bringForward();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window)) << GetParam().name;
    EXPECT_FALSE(IsShown("frmExit")) << "a hidden window stays hidden";
}

TEST_P(FromEachWindow, ASecondCopyBringsAnOpenAboutWindowForward) {
    bool activated = false;
    QTimer::singleShot(0, [&] {
        auto* about = FindWindow<frmAbout>("frmAbout");
        ASSERT_NE(about, nullptr);
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        if (QTest::qWaitForWindowActive(&elsewhere)) {
            controller.bringForward();
            activated = QTest::qWaitForWindowActive(about);
        }
        about->close();
    });
    window->findChild<QAction*>("mnuAbout")->trigger();
    EXPECT_TRUE(activated) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Windows, FromEachWindow,
                         ::testing::Values(Place{"input", "frmMain"},
                                           Place{"result", "frmDisplay"}),
                         [](const ::testing::TestParamInfo<Place>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
