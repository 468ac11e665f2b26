#pragma once

// The built korvani-chart run as a separate process: what it writes and the status it ends with.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

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
