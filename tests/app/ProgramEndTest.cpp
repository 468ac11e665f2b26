#include "app/WindowController.h"
#include "app/frmDisplay.h"
#include "app/frmMain.h"
#include "promo/frmExit.h"
#include "support/Capture.h"
#include "support/Windows.h"

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

TEST(ProgramEnd, ExitFromTheFileMenuShowsTheExitWindowWhoseClosingEndsTheProgram) {
    WindowController controller;
    controller.start();
    QPointer<frmMain> window = FindWindow<frmMain>("frmMain");
    window->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    settle();
    EXPECT_TRUE(window.isNull()) << "closing unloads the input window";
    QPointer<frmExit> exit = FindWindow<frmExit>("frmExit");
    ASSERT_TRUE(exit);
    EXPECT_TRUE(exit->isVisible());
    EXPECT_EQ(visibleWindows(), QStringList{"frmExit"});

    EXPECT_TRUE(endsTheProgram([exit] { exit->close(); }));
    settle();
    EXPECT_TRUE(visibleWindows().isEmpty()) << visibleWindows().join(", ").toStdString();
}

TEST(ProgramEnd, TheCloseBoxDoesTheSame) {
    WindowController controller;
    controller.start();
    QPointer<frmMain> window = FindWindow<frmMain>("frmMain");
    EXPECT_TRUE(window->close());
    settle();
    EXPECT_TRUE(window.isNull());
    QPointer<frmExit> exit = FindWindow<frmExit>("frmExit");
    ASSERT_TRUE(exit);
    EXPECT_TRUE(exit->isVisible());
    EXPECT_TRUE(endsTheProgram([exit] { exit->close(); }));
    settle();
    EXPECT_TRUE(visibleWindows().isEmpty()) << visibleWindows().join(", ").toStdString();
}

TEST(ProgramEnd, EndingFromTheResultWindowUnloadsTheHiddenInputWindowQuietly) {
    WindowController controller;
    controller.start();
    QPointer<frmMain> window = FindWindow<frmMain>("frmMain");
    TypeDelhiEntries(*window);
    MessageCapture messages;
    window->findChild<QPushButton*>(QStringLiteral("cmdRashi"))->click();
    ASSERT_TRUE(messages.messages.empty());
    QPointer<frmDisplay> display = FindWindow<frmDisplay>("frmDisplay");
    ASSERT_TRUE(display->isVisible());
    EXPECT_FALSE(window->isVisible());

    display->findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
    QPointer<frmExit> exit = FindWindow<frmExit>("frmExit");
    ASSERT_TRUE(exit);
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
