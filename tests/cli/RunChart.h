#pragma once

// The built korvani-chart run as a separate process: what it writes and the status it ends with.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct ProcessRun {
    bool crashed = true;
    int exitCode = -1;
    QByteArray standardOutput;
    QByteArray standardError;
};

inline ProcessRun RunChart(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(KORVANI_CHART_PATH), arguments);
    ProcessRun run;
    // A generous bound: the command ends in milliseconds, and a hang must fail, not block.
    constexpr int patienceMilliseconds = 120000;
    if (!process.waitForStarted(patienceMilliseconds) ||
        !process.waitForFinished(patienceMilliseconds)) {
        process.kill();
        ADD_FAILURE() << "could not run " << KORVANI_CHART_PATH << ": "
                      << process.errorString().toStdString();
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.standardOutput = process.readAllStandardOutput();
    run.standardError = process.readAllStandardError();
    return run;
}

// Everything a descriptor opened without waiting (O_NONBLOCK) holds now.
inline QByteArray ReadAvailable(int descriptor) {
    QByteArray bytes;
    char piece[65536];
    ssize_t read = 0;
    while ((read = ::read(descriptor, piece, sizeof piece)) > 0) {
        bytes.append(piece, read);
    }
    return bytes;
}

// Makes a FIFO at `path` and opens its reading end without waiting; the descriptor, or -1.
inline int MakeFifo(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    return mkfifo(name.constData(), 0600) == 0
               ? ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)
               : -1;
}

// Whether `path` is a FIFO still.
inline bool IsFifo(const QString& path) {
    struct stat status = {};
    return stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}
