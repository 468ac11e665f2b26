// korvani-chart for the tests, built from the command's own sources: `korvani-chart-pausing-import
// N ARGUMENTS...` runs the command on ARGUMENTS; an import that has written N rows inside its
// transaction says "import paused" on standard error and waits there to be killed, and a restore
// that has copied N steps inside its transaction says "restore paused" and waits the same way.

#include "cli/ChartProgram.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

[[noreturn]] void PauseForever(const char* what) {
    std::fprintf(stderr, "korvani-chart: %s paused\n", what);
    std::fflush(stderr);
    while (true) {
        pause();
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("usage: korvani-chart-pausing-import N ARGUMENTS...\n", stderr);
        return 2;
    }
    const qint64 pauseAt = std::strtoll(argv[1], nullptr, 10);
    argv[1] = argv[0]; // the command's arguments follow the count
    return RunChartProgram(
        argc - 1, argv + 1,
        [pauseAt](qint64 rowsWritten) {
            if (rowsWritten == pauseAt) {
                PauseForever("import");
            }
        },
        [pauseAt](qint64 stepsDone) {
            if (stepsDone == pauseAt) {
                PauseForever("restore");
            }
        });
}
