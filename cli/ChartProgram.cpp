#include "cli/ChartProgram.h"

#include "cli/ChartCommand.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

// Ctrl+C and SIGTERM end the program at once, as by default, unless a piece of output is being
// written: then that piece is finished first, so that only whole lines are left.
std::atomic<bool> writing{false};
std::atomic<int> pendingSignal{0};

void EndBySignal(int signalNumber) {
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

extern "C" void OnStopSignal(int signalNumber) {
    if (writing.load()) {
        pendingSignal.store(signalNumber);
        return;
    }
    EndBySignal(signalNumber);
}

void StopBetweenWrites() {
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// One piece to standard output, flushed at once; false when it could not be written (a full
// disk). A closed pipe ends the program quietly through SIGPIPE, as by default.
bool WriteToStandardOutput(const QByteArray& piece) {
    writing.store(true);
    const bool written = std::fwrite(piece.constData(), 1, static_cast<std::size_t>(piece.size()),
                                     stdout) == static_cast<std::size_t>(piece.size()) &&
                         std::fflush(stdout) == 0;
    writing.store(false);
    if (const int signalNumber = pendingSignal.load(); signalNumber != 0) {
        EndBySignal(signalNumber);
    }
    return written;
}

} // namespace

int RunChartProgram(int argc, char* argv[],
                    const std::function<void(qint64 rowsWritten)>& afterImportRow) {
    StopBetweenWrites();
    // The arguments exactly as given. No QCoreApplication: it would take Qt's own options
    // (-qmljsdebugger=... and the like) out of the list before the command saw them.
    QStringList arguments{QString::fromLatin1(programName)};
    for (int index = 1; index < argc; ++index) {
        arguments.append(QString::fromLocal8Bit(argv[index]));
    }

    // Read through the descriptor: a read returns what a pipe holds now rather than waiting to
    // fill the whole request, so a slow input is answered as it comes.
    DescriptorDevice standardInput(STDIN_FILENO);
    if (!standardInput.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        std::fputs("korvani-chart: standard input could not be opened\n", stderr);
    }
    CommandEnvironment environment;
    environment.places = SystemPlaceLoader();
    environment.standardInput = standardInput.isOpen() ? &standardInput : nullptr;
    environment.write = WriteToStandardOutput;
    environment.afterImportRow = afterImportRow;

    const CommandOutput output = RunCommand(arguments, environment);
    std::fwrite(output.standardError.constData(), 1,
                static_cast<std::size_t>(output.standardError.size()), stderr);
    return output.exitStatus;
}
