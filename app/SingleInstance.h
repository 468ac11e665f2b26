#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// The folder that holds the lock of the running copy: the user's runtime folder.
QString instanceLockDirectory();

// Claims the one-running-copy lock in `lockDirectory`. Returns the lock, or nothing when
// another running copy holds it; the lock of a copy that has ended (crashed) is taken over.
// The lock is released when the returned object goes.
std::unique_ptr<QLockFile> claimInstanceLock(const QString& lockDirectory);

// Start-up check of the program: claims the lock, and when another copy runs shows
// "Application is already running" (information icon) and returns nothing.
std::unique_ptr<QLockFile>
claimOnlyRunningCopy(const QString& lockDirectory = instanceLockDirectory());
