// Copies of the real program started side by side: a later copy brings the running one
// forward, and a copy killed with SIGKILL leaves nothing that keeps the next one from starting.

#include "app/RunningCopyListener.h"
#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Generous bounds: each is the longest wait for an event that comes in well under a second.
constexpr int patienceMilliseconds = 60000;

// Starts the program with its lock in `lockFolder`, drawing off screen.
std::unique_ptr<QProcess> StartProgram(const QString& lockFolder) {
    auto program = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KORVANI_LOCK_DIR"), lockFolder);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program->setProcessEnvironment(environment);
    program->start(QStringLiteral(KORVANI_PROGRAM_PATH), {});
    EXPECT_TRUE(program->waitForStarted(patienceMilliseconds)) << KORVANI_PROGRAM_PATH;
    return program;
}

// Waits until a copy holds the lock in `lockFolder` and answers there, or the program ends.
bool AnswersThere(QProcess& program, const QString& lockFolder) {
    for (int attempt = 0; attempt < patienceMilliseconds / 100; ++attempt) {
        if (NotifyRunningCopy(lockFolder, patienceMilliseconds)) {
            return true;
        }
        if (program.state() == QProcess::NotRunning) {
            return false;
        }
        QThread::msleep(100); // the program is still starting: look again
    }
    return false;
}

void Kill(QProcess& program) {
    program.kill(); // SIGKILL: nothing is cleaned up
    program.waitForFinished(patienceMilliseconds);
}

TEST(ProgramRunningCopy, ASecondCopyBringsTheRunningOneForward) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // This test is the running copy.
    const RunningCopyCheck running = CheckRunningCopy({folder.path()});
    ASSERT_TRUE(running.lock && running.lock->isLocked());
    RunningCopyListener listener(running.lock.get());
    ASSERT_TRUE(listener.isListening());
    QSignalSpy broughtForward(&listener, &RunningCopyListener::anotherCopyStarted);

    std::unique_ptr<QProcess> second = StartProgram(folder.path());
    EXPECT_TRUE(broughtForward.wait(patienceMilliseconds));
    EXPECT_EQ(broughtForward.size(), 1);
    // The second copy now shows "Application is already running" and waits for OK; nobody
    // can press it off screen.
    EXPECT_TRUE(running.lock->isLocked());
    Kill(*second);
}

TEST(ProgramRunningCopy, ACopyKilledWithSigkillLeavesTheWayFree) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::unique_ptr<QProcess> first = StartProgram(folder.path());
    ASSERT_TRUE(AnswersThere(*first, folder.path())) << first->readAllStandardError().toStdString();
    EXPECT_TRUE(CheckRunningCopy({folder.path()}).anotherCopyRuns);

    Kill(*first);
    // The lock and the socket stay behind; neither counts as a running copy.
    EXPECT_TRUE(QFile::exists(QDir(folder.path()).filePath("korvani.lock")));
    EXPECT_TRUE(QFile::exists(RunningCopyServerName(folder.path())));
    EXPECT_FALSE(NotifyRunningCopy(folder.path(), 1000));

    std::unique_ptr<QProcess> next = StartProgram(folder.path());
    EXPECT_TRUE(AnswersThere(*next, folder.path()))
        << "the next copy starts normally: " << next->readAllStandardError().toStdString();
    EXPECT_TRUE(CheckRunningCopy({folder.path()}).anotherCopyRuns);
    Kill(*next);
}

TEST(ProgramRunningCopy, WithoutAnyLockTheProgramStartsAndSaysSoOnce) {
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    // A file where the lock folder should be: no lock can be made.
    const QString notAFolder = base.filePath(QStringLiteral("file"));
    QFile file(notAFolder);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    std::unique_ptr<QProcess> program = StartProgram(notAFolder);
    program->setReadChannel(QProcess::StandardError);
    const QByteArray line = "korvani: no lock could be made in " + notAFolder.toUtf8();
    QByteArray said;
    while (!said.contains(line + ";") && program->waitForReadyRead(patienceMilliseconds)) {
        said += program->readAllStandardError();
    }
    EXPECT_EQ(said.count(line), 1) << said.toStdString();
    EXPECT_EQ(program->state(), QProcess::Running) << "it started anyway";
    Kill(*program);
}

} // namespace
