#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// Entry point of the widget tests: one application object for the whole run, on whatever
// platform QT_QPA_PLATFORM names (offscreen under CTest).
int main(int argc, char** argv) {
    // Widget tests need no display; test discovery at build time runs this too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
