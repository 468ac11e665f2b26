#pragma once

#include "charts/ChartGeometry.h"
#include "cli/BatchRun.h"
#include "precise/CalculationSettings.h"
#include "request/ChartRequest.h"

#include <QByteArray>
#include <QCommandLineOption>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <variant>

// Exit status of a command that was refused (bad, missing or out-of-range input), and of a
// batch with any refused row.
inline constexpr int refusedExitStatus = 2;
// Exit status when the output could not be written or the batch input could not be read.
inline constexpr int failureExitStatus = 1;

// The program's name in its messages, help and version.
inline constexpr const char* programName = "korvani-chart";

// One chart, as a table, JSON or a CSV row; with `svgPath`, its birth chart and `secondChart`
// (the decanate chart or the Navamsa) are also drawn into that SVG file in `chartStyle`.
struct SingleChartRequest {
    ChartRequest chart;
    OutputFormat format = OutputFormat::Table;
    std::optional<QString> svgPath;
    ChartStyle chartStyle = ChartStyle::SouthIndian;
    ChartKind secondChart = ChartKind::Decanate;
    CalculationSettings settings; // --engine, --ayanamsa, --nodes, --drekkana
};

// Charts from CSV rows; "-" reads standard input.
struct BatchRequest {
    QString path;
    OutputFormat format = OutputFormat::Json;
    std::optional<int> jobs; // threads; nothing for one per usable processor
    bool withCharts = false; // JSON Lines carry each chart's `charts` cells
    CalculationSettings settings;
};

// The chart of a birth saved in the library of births (--saved): `single` without its `chart`,
// which the library's birth gives.
struct SavedChartRequest {
    QString saved;                      // NAME or NAME@YYYY-MM-DD
    std::optional<QString> libraryPath; // nothing for the default library file
    SingleChartRequest single;
};

// What the library of births is asked to do besides a chart.
enum class BirthsAction { Export, Import, Backup, Restore };
struct BirthsRequest {
    BirthsAction action = BirthsAction::Export;
    QString path;                       // the file; "-" for standard output or input
    std::optional<QString> libraryPath; // nothing for the default library file
    bool replace = false;               // an import replaces the births already saved
};

// The most threads --jobs takes.
inline constexpr int mostJobs = 64;

// Print the zone list with the list positions that --zone takes.
struct ListZonesRequest {};

// Print the usage text, or the version line.
struct HelpRequest {
    QString text;
};

using ParsedCommand = std::variant<SingleChartRequest, SavedChartRequest, BatchRequest,
                                   BirthsRequest, ListZonesRequest, HelpRequest, Refusal>;

// Every option the command's one parser takes.
QList<QCommandLineOption> CommandLineOptions();

// Reads a command line (arguments[0] is the program) into what it asks for, or a refusal.
// The birth data passes through the same validation as the input window.
ParsedCommand ParseCommandLine(const QStringList& arguments, RememberedPlaceAnswers& places);
// The same without a place list: --place is refused.
ParsedCommand ParseCommandLine(const QStringList& arguments);

// The usage text of --help and the version line of --version, each ending with a newline.
QString UsageText();
QString VersionText();

// Everything the command writes, and the status it ends with.
struct CommandOutput {
    int exitStatus = 0;
    QByteArray standardOutput; // UTF-8; empty when it went to CommandEnvironment::write
    QByteArray standardError;  // UTF-8
};

// What the command reads and writes besides its arguments. The defaults suit a test: no place
// list, no standard input, the output kept in CommandOutput.
struct CommandEnvironment {
    RememberedPlaceAnswers::Loader places;
    QIODevice* standardInput = nullptr;
    // When set, standard output goes here in pieces as it is made (a batch may be large); it
    // returns false when a piece could not be written, which ends the command at once.
    BatchWrite write;
    // Called inside an import's transaction after each row it writes. Only a test sets it, to
    // kill an import there: no input or timing reaches that point from outside.
    std::function<void(qint64 rowsWritten)> afterImportRow;
    // Called inside a restore's copy after each step but the last, for the same test.
    std::function<void(qint64 stepsDone)> afterRestoreStep;
};

// The command's answer when it refuses or fails: the message after the program's name on
// standard error, and the exit status.
CommandOutput RefusedOutput(const QString& message, int exitStatus = refusedExitStatus);

// Why an input file ("-" for standard input) could not be read to its end, e.g. `cannot read
// "b.csv" after line 12: Input/output error`.
QString InputReadProblem(const QString& path, qint64 linesRead, const QString& reason);

// Parses the command line and produces the output: the chart as a table, JSON or CSV (and its
// SVG file), a batch, the library of births' export, import or backup, the zone list, the usage
// text or the version; or a refusal on standard
// error with exit status 2 and nothing on standard output. An SVG file that cannot be written
// ends the command with status 1, its reason on standard error and nothing on standard output.
CommandOutput RunCommand(const QStringList& arguments, const CommandEnvironment& environment = {});
