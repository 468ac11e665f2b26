#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <memory>

// The folders where the lock of the running copy may go, in the order they are tried. They
// depend on the user only: the user's runtime folder /run/user/<uid> when it exists, belongs to
// the user and is closed to others, then the user's own folder korvani-<uid> under /tmp.
// KORVANI_LOCK_DIR, when set, replaces both (for tests and scripts); nothing else in the
// environment counts.
QStringList InstanceLockFolders();

// The same for a given user, runtime root and temporary folder.
QStringList InstanceLockFolders(uid_t user, const QString& runtimeRoot, const QString& tempRoot);

// Makes `path` a folder that only `user` can use: creates it with mode 0700, or accepts an
// existing folder (not a link) that belongs to `user`, taking others' access away. Refuses
// anything else, such as a folder of someone else.
bool MakePrivateFolder(const QString& path, uid_t user);

// The outcome of looking for another running copy.
struct RunningCopyCheck {
    std::unique_ptr<QLockFile> lock; // held when this copy is the running one
    bool anotherCopyRuns = false;
    QString folder; // the folder of the lock held, by this copy or by the other one
};

// Looks for another running copy through a lock in the first folder that can hold one; later
// folders are looked at too, so that a copy that had to use one of them still counts. A folder
// that cannot hold a lock is passed over. When no folder can, nothing is locked and no other copy
// is found: the program runs without the check.
RunningCopyCheck CheckRunningCopy(const QStringList& folders);

// Start-up check of the program: when another copy runs, asks it to come forward, shows
// "Application is already running" (information icon) and returns the check, holding no lock.
// When no lock can be made at all, says so once on standard error.
RunningCopyCheck EnsureOnlyRunningCopy(const QStringList& folders = InstanceLockFolders());
