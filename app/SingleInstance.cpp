#include "app/SingleInstance.h"

#include "app/RunningCopyListener.h"
#include "ui/Messages.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

const QString lockFileName = QStringLiteral("korvani.lock");

// Tries the lock of one folder. Returns the lock when it is held, or nothing.
std::unique_ptr<QLockFile> TryLock(const QString& folder, QLockFile::LockError& error) {
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(lockFileName));
    // Only a lock whose owner has ended counts as stale, however long the owner has been running.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        error = QLockFile::NoError;
        return lock;
    }
    error = lock->error();
    return nullptr;
}

} // namespace

QStringList InstanceLockFolders(uid_t user, const QString& runtimeRoot, const QString& tempRoot) {
    QStringList folders;
    const QString runtime = QDir(runtimeRoot).filePath(QString::number(user));
    struct stat info {};
    // The system makes it; it is used only when it is as private as the program's own folder,
    // since the program changes nothing about it.
    if (::lstat(QFile::encodeName(runtime).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == user && (info.st_mode & 0077) == 0) {
        folders << runtime;
    }
    folders << QDir(tempRoot).filePath(QStringLiteral("korvani-%1").arg(user));
    return folders;
}

QStringList InstanceLockFolders() {
    const QString chosen = qEnvironmentVariable("KORVANI_LOCK_DIR");
    if (!chosen.isEmpty()) {
        return {chosen};
    }
    // The system's folders by their fixed names, whatever XDG_RUNTIME_DIR or TMPDIR say.
    return InstanceLockFolders(::getuid(), QStringLiteral("/run/user"),
                               QString::fromLatin1(P_tmpdir));
}

bool MakePrivateFolder(const QString& path, uid_t user) {
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != user) {
        return false;
    }
    if ((info.st_mode & 0077) != 0 && ::chmod(name.constData(), 0700) != 0) {
        return false;
    }
    return true;
}

RunningCopyCheck CheckRunningCopy(const QStringList& folders) {
    RunningCopyCheck check;
    for (const QString& folder : folders) {
        if (!MakePrivateFolder(folder, ::getuid())) {
            continue;
        }
        QLockFile::LockError error = QLockFile::NoError;
        std::unique_ptr<QLockFile> lock = TryLock(folder, error);
        if (error == QLockFile::LockFailedError) {
            check.lock.reset();
            check.anotherCopyRuns = true;
            check.folder = folder;
            return check;
        }
        if (lock && !check.lock) {
            check.lock = std::move(lock);
            check.folder = folder;
        }
        // A lock taken only to look is released as `lock` goes.
    }
    return check;
}

RunningCopyCheck EnsureOnlyRunningCopy(const QStringList& folders) {
    RunningCopyCheck check = CheckRunningCopy(folders);
    if (check.anotherCopyRuns) {
        NotifyRunningCopy(check.folder);
        ShowMessage(MessageIcon::Information, QStringLiteral("Application is already running"));
    } else if (!check.lock) {
        std::fprintf(stderr,
                     "korvani: no lock could be made in %s; another running copy of "
                     "the program would not be noticed\n",
                     qPrintable(folders.join(QStringLiteral(" or "))));
        std::fflush(stderr);
    }
    return check;
}
