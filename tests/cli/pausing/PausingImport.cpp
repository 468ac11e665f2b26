// korvani-chart for the tests, built from the command's own sources: `korvani-chart-pausing-import
// ROWS ARGUMENTS...` runs the command on ARGUMENTS, and an import that has written ROWS rows
// inside its transaction says "import paused" on standard error and waits there to be killed.

#include "cli/ChartProgram.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("usage: korvani-chart-pausing-import ROWS ARGUMENTS...\n", stderr);
        return 2;
    }
    const qint64 pauseAfterRows = std::strtoll(argv[1], nullptr, 10);
    argv[1] = argv[0]; // the command's arguments follow the row count
    return RunChartProgram(argc - 1, argv + 1, [pauseAfterRows](qint64 rowsWritten) {
        if (rowsWritten == pauseAfterRows) {
            std::fputs("korvani-chart: import paused\n", stderr);
            std::fflush(stderr);
            while (true) {
                pause();
            }
        }
    });
}
