#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "app/WindowController.h"

#include <QApplication>
#include <QIcon>

#include <memory>

int main(int argc, char* argv[]) {
    // --help, --version and unknown arguments are answered without opening a window, and without
    // a display when Qt has no option of its own to take first.
    if (const std::optional<int> status = AnswerCommandLineBeforeQt(argc, argv)) {
        return *status;
    }
    QApplication app(argc, argv);
    NameApplication();
    if (const std::optional<int> status = AnswerCommandLine(QCoreApplication::arguments())) {
        return *status;
    }
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/korvani.svg")));

    // One running copy: a second one says so and ends before its window shows.
    const std::unique_ptr<QLockFile> instanceLock = claimOnlyRunningCopy();
    if (!instanceLock) {
        return 0;
    }

    WindowController windows;
    windows.start();
    return QApplication::exec();
}
