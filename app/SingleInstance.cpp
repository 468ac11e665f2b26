#include "app/SingleInstance.h"

#include "ui/Messages.h"

#include <QDir>
#include <QStandardPaths>

QString instanceLockDirectory() {
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty()) {
        directory = QDir::tempPath();
    }
    return directory;
}

std::unique_ptr<QLockFile> claimInstanceLock(const QString& lockDirectory) {
    QDir().mkpath(lockDirectory);
    auto lock =
        std::make_unique<QLockFile>(QDir(lockDirectory).filePath(QStringLiteral("korvani.lock")));
    // Only a lock whose owner has ended counts as stale, however long the owner has been running.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0) && lock->error() == QLockFile::LockFailedError) {
        return nullptr; // another running copy holds it
    }
    // A folder the lock cannot be written to does not keep the program from starting.
    return lock;
}

std::unique_ptr<QLockFile> claimOnlyRunningCopy(const QString& lockDirectory) {
    std::unique_ptr<QLockFile> lock = claimInstanceLock(lockDirectory);
    if (!lock) {
        showMessage(MessageIcon::Information, QStringLiteral("Application is already running"));
    }
    return lock;
}
