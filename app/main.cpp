#include "app/SingleInstance.h"
#include "app/frmMain.h"
#include "links/modHelp.h"

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
        closeAllAndEnd();
        return 0;
    }

    // The input window deletes itself when it is closed.
    auto* window = new frmMain;
    window->show();
    return QApplication::exec();
}
