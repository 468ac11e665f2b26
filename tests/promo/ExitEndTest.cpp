#include "links/modHelp.h"
#include "promo/frmExit.h"
#include "support/Capture.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <ostream>

namespace {

// Stands for the input and result windows: closing it by the user shows the exit window, as
// theirs do, unless the program is ending.
class OtherWindow : public QWidget {
  public:
    int closes = 0;
    bool closedWhileEnding = false;

  protected:
    void closeEvent(QCloseEvent* event) override {
        ++closes;
        closedWhileEnding = isProgramEnding();
        if (!isProgramEnding()) {
            showExitWindow();
        }
        event->accept();
    }
};

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

    OtherWindow input; // loaded but hidden, as while the result window is shown
    input.setObjectName("input");
    OtherWindow result;
    result.setObjectName("result");
    result.show();
    showExitWindow();
    QPointer<frmExit> window = exitWindow();
    ASSERT_TRUE(window->isVisible());

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
    EXPECT_EQ(input.closes, 1) << "case " << c.name << ": the hidden window stays loaded";
    EXPECT_EQ(result.closes, 1) << "case " << c.name;
    EXPECT_TRUE(input.closedWhileEnding) << "case " << c.name;
    EXPECT_TRUE(result.closedWhileEnding) << "case " << c.name;
    EXPECT_TRUE(window.isNull()) << "case " << c.name << ": the exit window is not unloaded";
    for (QWidget* top : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(top->isVisible()) << "case " << c.name << ": window "
                                       << top->objectName().toStdString() << " still shown";
    }
    EXPECT_FALSE(isProgramEnding());
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
