#include "app/SingleInstance.h"
#include "app/WindowController.h"

#include <QApplication>
#include <QIcon>

#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvani"));
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
