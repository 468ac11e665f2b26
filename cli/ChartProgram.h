#pragma once

#include <functional>

#include <QtGlobal>

// The whole of korvani-chart around RunCommand: the arguments exactly as given, standard input
// read through its descriptor, output written piece by piece, Ctrl+C and SIGTERM honoured
// between pieces. Returns the exit status. `afterImportRow` and `afterRestoreStep` are
// CommandEnvironment's.
int RunChartProgram(int argc, char* argv[],
                    const std::function<void(qint64 rowsWritten)>& afterImportRow = {},
                    const std::function<void(qint64 stepsDone)>& afterRestoreStep = {});
