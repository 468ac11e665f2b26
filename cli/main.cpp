// korvani-chart: the birth chart and its decanates on the command line, without a window.

#include "cli/ChartCommand.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    const QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvani-chart"));

    const CommandOutput output = RunCommand(QCoreApplication::arguments());
    std::fwrite(output.standardOutput.constData(), 1, output.standardOutput.size(), stdout);
    std::fwrite(output.standardError.constData(), 1, output.standardError.size(), stderr);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("korvani-chart: the output could not be written\n", stderr);
        return 1;
    }
    return output.exitStatus;
}
