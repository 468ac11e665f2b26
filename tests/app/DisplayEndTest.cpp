#include "app/frmDisplay.h"
#include "links/modHelp.h"
#include "promo/frmExit.h"
#include "support/Capture.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>

#include <gtest/gtest.h>

namespace {

// Ending the program closes the result window without bringing the exit window back. The
// program's end is final, so this is the only test of its executable.
TEST(DisplayEnd, ClosingAllWindowsDoesNotShowTheExitWindowAgain) {
    QWidget input;
    input.setObjectName(QStringLiteral("frmMain"));
    QPointer<frmDisplay> window = displayWindow();
    window->show();
    QPointer<frmExit> exit = exitWindow();
    exit->hide();
    ShowCounter exitShows(exit);

    closeAllAndEnd();
    EXPECT_EQ(exitShows.shows, 0);
    EXPECT_FALSE(input.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "the result window is unloaded";
}

} // namespace
