#include "app/frmDisplay.h"
#include "links/modHelp.h"
#include "promo/frmExit.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>

#include <gtest/gtest.h>

namespace {

class ShowCounter : public QObject {
  public:
    explicit ShowCounter(QObject* watched) { watched->installEventFilter(this); }
    int shows = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        shows += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
};

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
