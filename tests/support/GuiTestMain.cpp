#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

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
    // CTest runs many test processes at once: each keeps its settings in a folder of its own
    // inside the test-mode configuration folder, so that one test's clearing never meets
    // another's reading. The folder goes with the process.
    const QString testConfig =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QDir().mkpath(testConfig);
    const QTemporaryDir settingsFolder(testConfig + QStringLiteral("/process-XXXXXX"));
    if (settingsFolder.isValid()) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
