#pragma once

#include "cli/ChartCommand.h"
#include "library/BirthLibrary.h"

#include <variant>

// The command's work with the library of births, asked for by the options of ChartCommand:
//   --saved NAME[@YYYY-MM-DD]  the chart of a saved birth (the output options apply)
//   --export-births FILE|-     every birth as CSV in the batch's shape
//   --import-births FILE|-     adds births from such a file (--replace replaces known births)
//   --backup-births FILE       a consistent copy of the library
//   --restore-births FILE      replaces the library with a backup, keeping the old one beside
//   --library PATH             another library file than the default

// The saved birth's chart as the command computes it, or why there is none.
std::variant<SingleChartRequest, CommandOutput> SavedBirthChart(const SavedChartRequest& request,
                                                                RememberedPlaceAnswers& places);

// Export, import, backup or restore, with its output.
CommandOutput RunBirthsRequest(const BirthsRequest& request, const CommandEnvironment& environment);

// How many candidates a refused --saved lists.
inline constexpr int savedCandidateCount = 5;
