#include "app/WindowController.h"
#include "promo/frmExit.h"
#include "support/Capture.h"
#include "support/Windows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <ostream>

namespace {

enum class Way { ExitButton, CloseCall, CloseBox };

struct EndCase {
    const char* name;
    Way way;
};

void PrintTo(const EndCase& c, std::ostream* os) {
    *os << c.name;
}

void closeExitWindow(frmExit* window, Way way) {
    switch (way) {
    case Way::ExitButton:
        window->findChild<QPushButton*>("cmdClose")->click();
        break;
    case Way::CloseCall:
        window->close();
        break;
    case Way::CloseBox:
        // What the window manager's close box does.
        window->windowHandle()->close();
        break;
    }
}

class ProgramEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(ProgramEnd, closingTheExitWindowEndsTheProgram) {
    const EndCase& c = GetParam();
    MessageCapture messages;
    UrlCapture urls;

    // The input window loaded but hidden, the result window closed by Exit: the exit window
    // is all the user sees.
    WindowController controller;
    controller.start();
    QPointer<QWidget> input = FindWindow("frmMain");
    TypeDelhiEntries(*input);
    input->findChild<QPushButton*>("cmdRashi")->click();
    QPointer<QWidget> result = FindWindow("frmDisplay");
    ASSERT_TRUE(result && result->isVisible());
    result->findChild<QPushButton*>("cmdExit")->click();
    QPointer<frmExit> window = FindWindow<frmExit>("frmExit");
    ASSERT_TRUE(window && window->isVisible());
    messages.messages.clear();

    // The close happens inside the event loop, as it does for a user; the loop must then stop.
    QTimer::singleShot(0, window, [&] { closeExitWindow(window, c.way); });
    // Only turns a hang into a failure; a passing run never waits for it.
    QTimer hang;
    hang.setSingleShot(true);
    QObject::connect(&hang, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    hang.start(60000);
    const int code = QApplication::exec();
    hang.stop();

    EXPECT_EQ(code, 0) << "case " << c.name << ": the event loop did not quit";
    DeleteUnloadedWindows();
    EXPECT_TRUE(input.isNull()) << "case " << c.name << ": the hidden window stays loaded";
    EXPECT_TRUE(result.isNull()) << "case " << c.name;
    EXPECT_TRUE(window.isNull()) << "case " << c.name << ": the exit window is not unloaded";
    for (QWidget* top : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(top->isVisible()) << "case " << c.name << ": window "
                                       << top->objectName().toStdString() << " still shown";
    }
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(urls.urls.empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, ProgramEnd,
                         ::testing::Values(EndCase{"exitButton", Way::ExitButton},
                                           EndCase{"closeCall", Way::CloseCall},
                                           EndCase{"closeBox", Way::CloseBox}),
                         [](const ::testing::TestParamInfo<EndCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
