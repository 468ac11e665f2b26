// korvani-chart: the birth chart and its decanates on the command line, without a window.

#include "cli/ChartProgram.h"

int main(int argc, char* argv[]) {
    return RunChartProgram(argc, argv);
}
