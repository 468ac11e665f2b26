#include "app/WindowController.h"
#include "support/Capture.h"
#include "support/Windows.h"

#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// Ending the program closes the result window without bringing the exit window back. The
// program's end is final, so this is the only test of its executable.
TEST(DisplayEnd, EndingTheProgramDoesNotShowTheExitWindowAgain) {
    WindowController controller;
    controller.start();
    QPointer<QWidget> input = FindWindow("frmMain");
    TypeDelhiEntries(*input);
    input->findChild<QPushButton*>(QStringLiteral("cmdRashi"))->click();
    QPointer<QWidget> result = FindWindow("frmDisplay");
    ASSERT_TRUE(result && result->isVisible());
    ShowCounter exitShows(FindWindow("frmExit"));

    controller.endProgram();
    EXPECT_EQ(exitShows.shows, 0);
    DeleteUnloadedWindows();
    EXPECT_TRUE(result.isNull()) << "the result window is unloaded";
    EXPECT_TRUE(input.isNull()) << "the hidden input window is unloaded";
}

} // namespace
