// korvani-chart: the birth chart and its decanates on the command line, without a window.

#include "cli/ChartCommand.h"
#include "library/BirthsCommand.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // The arguments exactly as given. No QCoreApplication: it would take Qt's own options
    // (-qmljsdebugger=... and the like) out of the list before the command saw them.
    QStringList arguments{QString::fromLatin1(programName)};
    for (int index = 1; index < argc; ++index) {
        arguments.append(QString::fromLocal8Bit(argv[index]));
    }

    QFile standardInput;
    if (!standardInput.open(stdin, QIODevice::ReadOnly)) {
        std::fputs("korvani-chart: standard input could not be opened\n", stderr);
    }
    CommandEnvironment environment;
    environment.places = SystemPlaceLoader();
    environment.standardInput = standardInput.isOpen() ? &standardInput : nullptr;
    bool writeFailed = false;
    environment.write = [&writeFailed](const QByteArray& piece) {
        if (!writeFailed &&
            std::fwrite(piece.constData(), 1, static_cast<std::size_t>(piece.size()), stdout) !=
                static_cast<std::size_t>(piece.size())) {
            writeFailed = true;
        }
    };

    // A test setting: the import stops after so many rows, inside its transaction, says so on
    // standard error and waits there to be killed.
    const qint64 pauseAfterRows = qEnvironmentVariableIntValue("KORVANI_TEST_IMPORT_PAUSE_ROWS");
    const auto afterImportRow = [pauseAfterRows](qint64 rowsWritten) {
        if (pauseAfterRows > 0 && rowsWritten == pauseAfterRows) {
            std::fputs("korvani-chart: import paused\n", stderr);
            std::fflush(stderr);
            while (true) {
                pause();
            }
        }
    };
    const BirthsCommand births = RunBirthsCommand(arguments, environment, afterImportRow);
    const CommandOutput output =
        births.output ? *births.output : RunCommand(births.arguments, environment);
    std::fwrite(output.standardError.constData(), 1,
                static_cast<std::size_t>(output.standardError.size()), stderr);
    if (writeFailed || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("korvani-chart: the output could not be written\n", stderr);
        return failureExitStatus;
    }
    return output.exitStatus;
}
