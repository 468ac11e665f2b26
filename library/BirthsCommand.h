#pragma once

#include "cli/ChartCommand.h"
#include "library/BirthLibrary.h"

#include <functional>
#include <optional>

// The command's options for the library of births, read before the chart options:
//   --saved NAME[@YYYY-MM-DD]  the chart of a saved birth (the other chart options apply)
//   --export-births FILE|-     every birth as CSV in the batch's shape
//   --import-births FILE|-     adds births from such a file (--replace replaces known births)
//   --backup-births FILE       a consistent copy of the library
//   --library PATH             another library file than the default
struct BirthsCommand {
    // Set when the library answered the command itself (export, import, backup or a refusal).
    std::optional<CommandOutput> output;
    // Otherwise the arguments for RunCommand: --saved replaced by the saved birth's options.
    QStringList arguments;
};

// `afterImportRow` is passed to the import (see BirthLibrary::AddAll).
BirthsCommand RunBirthsCommand(const QStringList& arguments, const CommandEnvironment& environment,
                               const std::function<void(qint64)>& afterImportRow = {});

// The chart options that give a saved birth's data.
QStringList ChartArguments(const SavedBirth& birth);

// How many candidates a refused --saved lists.
inline constexpr int savedCandidateCount = 5;
