#include "app/frmDisplay.h"
#include "app/frmMain.h"

#include "links/modHelp.h"
#include "promo/frmExit.h"
#include "support/Capture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Deletes what closing has unloaded.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList visibleWindows() {
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            names << widget->objectName();
        }
    }
    return names;
}

// Runs the event loop, does `action` from inside it, and reports whether the program ended
// (the loop was told to quit) rather than being stopped by the guard.
bool endsTheProgram(const std::function<void()>& action) {
    bool guardFired = false;
    QTimer::singleShot(0, action);
    // Only a guard against a program that does not end; never reached when it does.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        guardFired = true;
        QCoreApplication::exit(1);
    });
    guard.start(60000);
    const int code = QApplication::exec();
    return !guardFired && code == 0;
}

void enterDelhi(frmMain& window) {
    QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("txtName")), "asha");
    QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("txtLonD")), "77");
    QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("txtLonM")), "13");
    QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("txtLatD")), "28");
    QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("txtLatM")), "39");
}

TEST(ProgramEnd, ExitFromTheFileMenuShowsTheExitWindowWhoseClosingEndsTheProgram) {
    QPointer<frmMain> window = new frmMain;
    window->show();
    window->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    settle();
    EXPECT_TRUE(window.isNull()) << "closing unloads the input window";
    QPointer<frmExit> exit = exitWindow();
    EXPECT_TRUE(exit->isVisible());
    EXPECT_EQ(visibleWindows(), QStringList{"frmExit"});

    EXPECT_TRUE(endsTheProgram([exit] { exit->close(); }));
    settle();
    EXPECT_TRUE(visibleWindows().isEmpty()) << visibleWindows().join(", ").toStdString();
}

TEST(ProgramEnd, TheCloseBoxDoesTheSame) {
    QPointer<frmMain> window = new frmMain;
    window->show();
    EXPECT_TRUE(window->close());
    settle();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(exitWindow()->isVisible());
    QPointer<frmExit> exit = exitWindow();
    EXPECT_TRUE(endsTheProgram([exit] { exit->close(); }));
    settle();
    EXPECT_TRUE(visibleWindows().isEmpty()) << visibleWindows().join(", ").toStdString();
}

TEST(ProgramEnd, EndingFromTheResultWindowUnloadsTheHiddenInputWindowQuietly) {
    QPointer<frmMain> window = new frmMain;
    window->show();
    enterDelhi(*window);
    MessageCapture messages;
    window->findChild<QPushButton*>(QStringLiteral("cmdRashi"))->click();
    ASSERT_TRUE(messages.messages.empty());
    QPointer<frmDisplay> display = displayWindow();
    ASSERT_TRUE(display->isVisible());
    EXPECT_FALSE(window->isVisible());

    display->findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
    QPointer<frmExit> exit = exitWindow();
    EXPECT_TRUE(exit->isVisible());

    EXPECT_TRUE(endsTheProgram([exit] { exit->close(); }));
    settle();
    // The hidden input window was unloaded too, and its closing did not bring the exit window
    // back.
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(display.isNull());
    EXPECT_TRUE(visibleWindows().isEmpty()) << visibleWindows().join(", ").toStdString();
}

} // namespace
