#include "cli/ChartProgram.h"

#include "cli/ChartCommand.h"

#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <optional>

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

// The bytes a pipe takes now without its writer waiting: its capacity less the pages its queued
// bytes fill, and one page more for the one partly filled (Linux keeps a pipe's bytes in whole
// pages). Nothing when the descriptor is no pipe.
std::optional<qsizetype> PipeRoom(int descriptor) {
    const int capacity = fcntl(descriptor, F_GETPIPE_SZ);
    int queued = 0;
    if (capacity <= 0 || ioctl(descriptor, FIONREAD, &queued) != 0) {
        return std::nullopt;
    }
    const qsizetype page = sysconf(_SC_PAGESIZE);
    return std::max<qsizetype>(0, capacity - ((queued + page - 1) / page + 1) * page);
}

// How much of `bytes` to write to a pipe next: the whole lines that fit in its room now, waiting
// for room while there is none. A stop signal ends the program while it waits, with whole lines
// written. A line longer than the pipe can ever take goes in pieces once the pipe is empty. The
// whole of `bytes` when the descriptor is no pipe.
qsizetype NextPart(int descriptor, QByteArrayView bytes) {
    while (true) {
        const std::optional<qsizetype> room = PipeRoom(descriptor);
        if (!room) {
            return bytes.size();
        }
        const QByteArrayView fits = bytes.first(std::min(*room, bytes.size()));
        if (fits.size() == bytes.size()) {
            return bytes.size();
        }
        if (const qsizetype lineEnd = fits.lastIndexOf('\n'); lineEnd >= 0) {
            return lineEnd + 1;
        }
        int queued = 0;
        if (*room > 0 && ioctl(descriptor, FIONREAD, &queued) == 0 && queued == 0) {
            return fits.size();
        }
        // Wait until the reader takes some, or has gone (then the write ends the program by
        // SIGPIPE); a little room that does not yet fit a line is looked at again shortly.
        pollfd ready{descriptor, POLLOUT, 0};
        const int waited = poll(&ready, 1, -1);
        if (waited > 0 && (ready.revents & (POLLERR | POLLHUP)) != 0) {
            return bytes.size();
        }
        if (*room > 0) {
            poll(nullptr, 0, 5);
        }
    }
}

// One piece to standard output, written at once; false when it could not be written (a full
// disk). A closed pipe ends the program quietly through SIGPIPE, as by default. Into a pipe it
// goes line by line as its reader makes room, so that a stop signal while the reader does not
// read ends the program at once with whole lines written.
bool WriteToStandardOutput(const QByteArray& piece) {
    QByteArrayView rest(piece);
    while (!rest.isEmpty()) {
        const qsizetype part = NextPart(STDOUT_FILENO, rest);
        writing.store(true);
        qsizetype written = 0;
        while (written < part) {
            const ssize_t wrote = ::write(STDOUT_FILENO, rest.data() + written,
                                          static_cast<std::size_t>(part - written));
            if (wrote < 0 && errno != EINTR) {
                break;
            }
            written += std::max<ssize_t>(wrote, 0);
        }
        writing.store(false);
        if (const int signalNumber = pendingSignal.load(); signalNumber != 0) {
            EndBySignal(signalNumber);
        }
        if (written < part) {
            return false;
        }
        rest = rest.sliced(part);
    }
    return true;
}

} // namespace

int RunChartProgram(int argc, char* argv[],
                    const std::function<void(qint64 rowsWritten)>& afterImportRow,
                    const std::function<void(qint64 stepsDone)>& afterRestoreStep) {
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
    environment.afterRestoreStep = afterRestoreStep;

    const CommandOutput output = RunCommand(arguments, environment);
    std::fwrite(output.standardError.constData(), 1,
                static_cast<std::size_t>(output.standardError.size()), stderr);
    return output.exitStatus;
}
