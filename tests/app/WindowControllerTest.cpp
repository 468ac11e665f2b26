#include "app/WindowController.h"
#include "app/frmAbout.h"
#include "app/frmSettings.h"
#include "support/Capture.h"
#include "support/Windows.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
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

// Catches a Tools menu that opens nothing or opens the settings over another window, a choice
// that is not kept, and a reading that does not follow a choice made while it is shown: its
// calculation line, its decanate chart and each tab's drekkana line.
TEST_P(FromEachWindow, CalculationSettingsOpenOverItAndTheReadingFollows) {
    bool shown = false;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        auto* settings = FindWindow<frmSettings>("frmSettings");
        if (settings && settings->isVisible()) {
            shown = settings->isModal();
            owner = settings->parentWidget();
            settings->findChild<QComboBox*>("cboDrekkana")
                ->setCurrentIndex(static_cast<int>(DrekkanaScheme::Jagannatha));
            settings->findChild<QPushButton*>("cmdClose")->click();
        }
    });
    window->findChild<QAction*>("mnuSettings")->trigger(); // returns when the window closes
    EXPECT_TRUE(shown) << "the settings window was shown, modally";
    EXPECT_EQ(owner, window);
    EXPECT_EQ(KeptCalculationSettings().drekkana, DrekkanaScheme::Jagannatha);
    KeepCalculationSettings({}); // the next test starts from the 1.20 rules

    if (QLatin1String(GetParam().window) == QLatin1String("frmDisplay")) {
        EXPECT_EQ(window->findChild<QLabel*>("lblCalculation")->text(),
                  QStringLiteral("Korvani 1.20 rules, Jagann\u0101tha drekkana"));
        const std::string sunPosition =
            window->findChild<QLabel*>("lblPosition_0")->text().toStdString();
        EXPECT_EQ(window->findChild<QLabel*>("lblDrekkana_0")->text().toStdString(),
                  DrekkanaLine(sunPosition, DrekkanaScheme::Jagannatha));
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, FromEachWindow,
                         ::testing::Values(Place{"input", "frmMain"},
                                           Place{"result", "frmDisplay"}),
                         [](const ::testing::TestParamInfo<Place>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
