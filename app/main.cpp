#include "app/DisplaySettings.h"
#include "app/RunningCopyListener.h"
#include "app/SingleInstance.h"
#include "app/frmMain.h"
#include "links/modHelp.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

int main(int argc, char* argv[]) {
    // A scale factor Qt cannot draw at is dropped before Qt reads it.
    DropHostileDisplaySettings(stderr);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvani"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/korvani.svg")));

    // One running copy: a second one brings the first forward, says so and ends before its
    // window shows.
    const RunningCopyCheck runningCopy = EnsureOnlyRunningCopy();
    if (runningCopy.anotherCopyRuns) {
        closeAllAndEnd();
        return 0;
    }
    RunningCopyListener listener(runningCopy.lock.get());
    QObject::connect(&listener, &RunningCopyListener::anotherCopyStarted,
                     &BringVisibleWindowForward);

    // The input window deletes itself when it is closed.
    auto* window = new frmMain;
    window->show();
    return QApplication::exec();
}
