#pragma once

#include "chart/ChartInput.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <variant>

// Exit status of a command that was refused (bad, missing or out-of-range input).
inline constexpr int refusedExitStatus = 2;

// A chart to compute from validated birth data.
struct ChartRequest {
    ChartInput input;
    bool json = false;
};

// Print the zone list with the list positions that --zone takes.
struct ListZonesRequest {};

// Print the usage text.
struct HelpRequest {
    QString text;
};

// The input cannot be used; the message says why, naming the option and its allowed range or
// quoting the input window's own validation message.
struct Refusal {
    QString message;
};

using ParsedCommand = std::variant<ChartRequest, ListZonesRequest, HelpRequest, Refusal>;

// Reads a command line (arguments[0] is the program) into what it asks for, or a refusal.
// The birth data passes through the same validation as the input window.
ParsedCommand ParseCommandLine(const QStringList& arguments);

// Everything the command writes, and the status it ends with.
struct CommandOutput {
    int exitStatus = 0;
    QByteArray standardOutput; // UTF-8
    QByteArray standardError;  // UTF-8
};

// Parses the command line and produces the output: the chart as a table or JSON, the zone list,
// the usage text, or a refusal on standard error with exit status 2 and nothing on standard
// output.
CommandOutput RunCommand(const QStringList& arguments);
