#include "app/SingleInstance.h"

#include "support/Capture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, TheFirstCopyRunsTheSecondIsToldAndRefused) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    MessageCapture messages;

    RunningCopyCheck first = EnsureOnlyRunningCopy({folder.path()});
    ASSERT_TRUE(first.lock && first.lock->isLocked());
    EXPECT_FALSE(first.anotherCopyRuns);
    EXPECT_TRUE(messages.messages.empty());

    const RunningCopyCheck second = EnsureOnlyRunningCopy({folder.path()});
    EXPECT_TRUE(second.anotherCopyRuns);
    EXPECT_EQ(second.lock, nullptr);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Application is already running");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information);

    // Once the first copy has ended, a new one runs.
    first.lock.reset();
    EXPECT_NE(EnsureOnlyRunningCopy({folder.path()}).lock, nullptr);
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST(SingleInstance, TheLockOfACopyThatHasEndedIsTakenOver) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // A copy that crashed leaves its lock behind: write one for a process that has ended.
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ASSERT_TRUE(ended.waitForFinished());
    const qint64 endedPid = ended.processId() != 0 ? ended.processId() : 999999;
    QFile stale(QDir(folder.path()).filePath(QStringLiteral("korvani.lock")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray::number(endedPid) + "\nkorvani\n" +
                QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();

    MessageCapture messages;
    const RunningCopyCheck check = EnsureOnlyRunningCopy({folder.path()});
    EXPECT_TRUE(check.lock && check.lock->isLocked());
    EXPECT_TRUE(messages.messages.empty());
}

TEST(SingleInstance, AnOldLockOfARunningCopyStillCounts) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const RunningCopyCheck running = CheckRunningCopy({folder.path()});
    ASSERT_TRUE(running.lock && running.lock->isLocked());
    // Make the lock look an hour old: a running copy keeps it however long it runs.
    QFile lockFile(QDir(folder.path()).filePath(QStringLiteral("korvani.lock")));
    ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lockFile.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600),
                                     QFileDevice::FileModificationTime));
    lockFile.close();
    MessageCapture messages;
    const RunningCopyCheck later = EnsureOnlyRunningCopy({folder.path()});
    EXPECT_TRUE(later.anotherCopyRuns);
    EXPECT_EQ(later.lock, nullptr);
    EXPECT_EQ(messages.messages.size(), 1u);
}

} // namespace
