#include "app/CommandLine.h"
#include "app/DisplaySettings.h"
#include "app/RunningCopyListener.h"
#include "app/SingleInstance.h"
#include "app/WindowController.h"

#include <QApplication>
#include <QIcon>
#include <QThreadPool>

#include <cstdio>

int main(int argc, char* argv[]) {
    // --help, --version and unknown arguments are answered without opening a window, and without
    // a display when Qt has no option of its own to take first.
    if (const std::optional<int> status = AnswerCommandLineBeforeQt(argc, argv)) {
        return *status;
    }
    // A scale factor Qt cannot draw at is dropped before Qt reads it.
    DropHostileDisplaySettings(stderr);
    QApplication app(argc, argv);
    NameApplication();
    if (const std::optional<int> status = AnswerCommandLine(QCoreApplication::arguments())) {
        return *status;
    }
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/korvani.svg")));

    // One running copy: a second one brings the first forward, says so and ends before its
    // window shows.
    const RunningCopyCheck runningCopy = EnsureOnlyRunningCopy();
    if (runningCopy.anotherCopyRuns) {
        return 0;
    }

    int status = 0;
    {
        WindowController windows;
        RunningCopyListener listener(runningCopy.lock.get());
        QObject::connect(&listener, &RunningCopyListener::anotherCopyStarted, &windows,
                         &WindowController::bringForward);
        windows.start();
        status = QApplication::exec();
    }
    // The windows are gone; the notes their last workers write are on disk before the program
    // ends.
    QThreadPool::globalInstance()->waitForDone();
    return status;
}
