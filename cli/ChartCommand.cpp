#include "cli/ChartCommand.h"

#include "cli/BirthsCommand.h"
#include "cli/ChartSvgFile.h"
#include "precise/PreciseEngine.h"

#include <QBuffer>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>

#include <algorithm>
#include <array>

#ifndef KORVANI_VERSION
#error "KORVANI_VERSION comes from the project version in CMake"
#endif

namespace {

struct Options {
    QCommandLineOption date{QStringLiteral("date"), QString(), QStringLiteral("YYYY-MM-DD")};
    QCommandLineOption time{QStringLiteral("time"), QString(), QStringLiteral("HH:MM[:SS]")};
    QCommandLineOption longitude{QStringLiteral("lon"), QString(), QStringLiteral("DDD:MM(E|W)")};
    QCommandLineOption latitude{QStringLiteral("lat"), QString(), QStringLiteral("DD:MM(N|S)")};
    QCommandLineOption zone{QStringLiteral("zone"), QString(), QStringLiteral("N")};
    QCommandLineOption tz{QStringLiteral("tz"), QString(), QStringLiteral("ZONE")};
    QCommandLineOption place{QStringLiteral("place"), QString(), QStringLiteral("PLACE")};
    QCommandLineOption dst{QStringLiteral("dst"), QString()};
    QCommandLineOption json{QStringLiteral("json"), QString()};
    QCommandLineOption format{QStringLiteral("format"), QString(), QStringLiteral("FORMAT")};
    QCommandLineOption batch{QStringLiteral("batch"), QString(), QStringLiteral("FILE")};
    QCommandLineOption jobs{QStringLiteral("jobs"), QString(), QStringLiteral("N")};
    QCommandLineOption svg{QStringLiteral("svg"), QString(), QStringLiteral("FILE")};
    QCommandLineOption chartStyle{QStringLiteral("chart-style"), QString(),
                                  QStringLiteral("STYLE")};
    QCommandLineOption secondChart{QStringLiteral("second-chart"), QString(),
                                   QStringLiteral("CHART")};
    QCommandLineOption charts{QStringLiteral("charts"), QString()};
    QCommandLineOption engine{QStringLiteral("engine"), QString(), QStringLiteral("ENGINE")};
    QCommandLineOption ayanamsa{QStringLiteral("ayanamsa"), QString(), QStringLiteral("AYANAMSA")};
    QCommandLineOption nodes{QStringLiteral("nodes"), QString(), QStringLiteral("NODES")};
    QCommandLineOption drekkana{QStringLiteral("drekkana"), QString(), QStringLiteral("SCHEME")};
    QCommandLineOption listZones{QStringLiteral("list-zones"), QString()};
    QCommandLineOption saved{QStringLiteral("saved"), QString(),
                             QStringLiteral("NAME[@YYYY-MM-DD]")};
    QCommandLineOption exportBirths{QStringLiteral("export-births"), QString(),
                                    QStringLiteral("FILE")};
    QCommandLineOption importBirths{QStringLiteral("import-births"), QString(),
                                    QStringLiteral("FILE")};
    QCommandLineOption replace{QStringLiteral("replace"), QString()};
    QCommandLineOption backupBirths{QStringLiteral("backup-births"), QString(),
                                    QStringLiteral("FILE")};
    QCommandLineOption restoreBirths{QStringLiteral("restore-births"), QString(),
                                     QStringLiteral("FILE")};
    QCommandLineOption library{QStringLiteral("library"), QString(), QStringLiteral("PATH")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QString()};
    QCommandLineOption version{QStringLiteral("version"), QString()};

    QList<QCommandLineOption> All() const {
        return {date,    time,         longitude,     latitude, zone,         tz,
                place,   dst,          json,          format,   batch,        jobs,
                svg,     chartStyle,   secondChart,   charts,   engine,       ayanamsa,
                nodes,   drekkana,     listZones,     saved,    exportBirths, importBirths,
                replace, backupBirths, restoreBirths, library,  help,         version};
    }
    // The options that take a value, each given once at most.
    QList<const QCommandLineOption*> Valued() const {
        return {&date,         &time,         &longitude,    &latitude,      &zone,     &tz,
                &place,        &format,       &batch,        &jobs,          &svg,      &chartStyle,
                &secondChart,  &engine,       &ayanamsa,     &nodes,         &drekkana, &saved,
                &exportBirths, &importBirths, &backupBirths, &restoreBirths, &library};
    }
};

// The options that describe one chart; a batch takes them from its columns instead.
QList<const QCommandLineOption*> ChartOptions(const Options& options) {
    return {&options.date, &options.time, &options.longitude, &options.latitude,
            &options.zone, &options.tz,   &options.place,     &options.dst};
}

// The option's value as UTF-8, kept in `storage`; nothing when the option is not given.
std::optional<QByteArrayView> Value(const QCommandLineParser& parser,
                                    const QCommandLineOption& option, QByteArray& storage) {
    if (!parser.isSet(option)) {
        return std::nullopt;
    }
    storage = parser.value(option).toUtf8();
    return QByteArrayView(storage);
}

std::variant<OutputFormat, Refusal> ReadFormat(const QCommandLineParser& parser,
                                               const Options& options, OutputFormat fallback) {
    if (!parser.isSet(options.format)) {
        return parser.isSet(options.json) ? OutputFormat::Json : fallback;
    }
    const QString value = parser.value(options.format);
    std::optional<OutputFormat> format;
    if (value == u"json") {
        format = OutputFormat::Json;
    } else if (value == u"csv") {
        format = OutputFormat::Csv;
    } else if (value == u"table") {
        format = OutputFormat::Table;
    }
    if (!format) {
        return Refusal{
            QStringLiteral("--format: expected table, json or csv (got %1)").arg(Quoted(value))};
    }
    if (parser.isSet(options.json) && *format != OutputFormat::Json) {
        return Refusal{QStringLiteral("--json and --format %1 cannot be combined").arg(value)};
    }
    return *format;
}

std::variant<ChartStyle, Refusal> ReadChartStyle(const QCommandLineParser& parser,
                                                 const Options& options) {
    const QString value = parser.value(options.chartStyle);
    if (!parser.isSet(options.chartStyle) || value == u"south") {
        return ChartStyle::SouthIndian;
    }
    if (value == u"north") {
        return ChartStyle::NorthIndian;
    }
    return Refusal{
        QStringLiteral("--chart-style: expected south or north (got %1)").arg(Quoted(value))};
}

std::variant<ChartKind, Refusal> ReadSecondChart(const QCommandLineParser& parser,
                                                 const Options& options) {
    const QString value = parser.value(options.secondChart);
    if (!parser.isSet(options.secondChart) || value == u"d3") {
        return ChartKind::Decanate;
    }
    if (value == u"d9") {
        return ChartKind::Navamsa;
    }
    return Refusal{QStringLiteral("--second-chart: expected d3 or d9 (got %1)").arg(Quoted(value))};
}

// The calculation the options ask for: the 1.20 rules unless they say otherwise.
std::variant<CalculationSettings, Refusal> ReadCalculationSettings(const QCommandLineParser& parser,
                                                                   const Options& options) {
    std::array<std::string, 4> values; // what `asked` views
    CalculationOptions asked;
    const auto read = [&](const QCommandLineOption& option, std::size_t slot) {
        std::optional<std::string_view> value;
        if (parser.isSet(option)) {
            values[slot] = parser.value(option).toStdString();
            value = values[slot];
        }
        return value;
    };
    asked.engine = read(options.engine, 0);
    asked.ayanamsa = read(options.ayanamsa, 1);
    asked.nodes = read(options.nodes, 2);
    asked.drekkana = read(options.drekkana, 3);
    auto settings = SettingsFromOptions(asked);
    if (const auto* refusal = std::get_if<std::string>(&settings)) {
        return Refusal{Shown(QString::fromStdString(*refusal), 160)};
    }
    return std::get<CalculationSettings>(settings);
}

// The drawing options that do not fit the output asked for; nothing when they fit.
std::optional<Refusal> DrawingOptionsRefusal(const QCommandLineParser& parser,
                                             const Options& options, bool batch,
                                             OutputFormat format) {
    if (batch && parser.isSet(options.svg)) {
        return Refusal{QStringLiteral("--svg draws one chart and cannot be used with --batch")};
    }
    if (parser.value(options.svg) == u"-" &&
        (parser.isSet(options.json) || parser.isSet(options.format))) {
        return Refusal{QStringLiteral("--svg - makes the drawing the whole of standard output; it "
                                      "cannot be combined with --%1")
                           .arg(parser.isSet(options.json) ? QStringLiteral("json")
                                                           : QStringLiteral("format"))};
    }
    if (parser.isSet(options.chartStyle) && !parser.isSet(options.svg)) {
        return Refusal{QStringLiteral("--chart-style chooses the layout of --svg; give --svg")};
    }
    if (parser.isSet(options.secondChart) && !parser.isSet(options.svg)) {
        return Refusal{
            QStringLiteral("--second-chart chooses the second chart of --svg; give --svg")};
    }
    if (parser.isSet(options.charts) && format != OutputFormat::Json) {
        return Refusal{QStringLiteral("--charts adds the chart cells to JSON output; it cannot be "
                                      "used with --format %1")
                           .arg(format == OutputFormat::Csv ? QStringLiteral("csv")
                                                            : QStringLiteral("table"))};
    }
    return std::nullopt;
}

// The library's actions, or a refusal of the library options as given; nothing when the command
// line names no action and no library option.
std::optional<std::variant<BirthsRequest, SavedChartRequest, Refusal>>
ReadBirthsOptions(const QCommandLineParser& parser, const Options& options) {
    const std::pair<const QCommandLineOption*, std::optional<BirthsAction>> actions[] = {
        {&options.saved, std::nullopt},
        {&options.exportBirths, BirthsAction::Export},
        {&options.importBirths, BirthsAction::Import},
        {&options.backupBirths, BirthsAction::Backup},
        {&options.restoreBirths, BirthsAction::Restore}};
    QStringList asked;
    const std::pair<const QCommandLineOption*, std::optional<BirthsAction>>* chosen = nullptr;
    for (const auto& action : actions) {
        if (parser.isSet(*action.first)) {
            asked.append(QStringLiteral("--") + action.first->names().constFirst());
            chosen = &action;
        }
    }
    const bool replace = parser.isSet(options.replace);
    if (asked.isEmpty()) {
        if (parser.isSet(options.library) || replace) {
            return Refusal{QStringLiteral("%1 goes with --saved, --export-births, --import-births, "
                                          "--backup-births or --restore-births")
                               .arg(parser.isSet(options.library) ? QStringLiteral("--library")
                                                                  : QStringLiteral("--replace"))};
        }
        return std::nullopt;
    }
    if (asked.size() > 1) {
        return Refusal{QStringLiteral("%1 cannot be combined").arg(asked.join(u' '))};
    }
    if (replace && chosen->second != BirthsAction::Import) {
        return Refusal{QStringLiteral("--replace goes with --import-births")};
    }
    for (const QCommandLineOption* option : {chosen->first, &options.library}) {
        if (parser.isSet(*option) && parser.value(*option).isEmpty()) {
            return Refusal{QStringLiteral("--%1 needs a value").arg(option->names().constFirst())};
        }
    }
    std::optional<QString> libraryPath;
    if (parser.isSet(options.library)) {
        libraryPath = parser.value(options.library);
        // SQLite reads these as a library in memory, which would vanish with the command.
        if (*libraryPath == QStringLiteral(":memory:") ||
            libraryPath->startsWith(QStringLiteral("file:"))) {
            return Refusal{QStringLiteral("--library: %1 is not a file's path")
                               .arg(Quoted(Shown(*libraryPath, 160)))};
        }
    }
    if (!chosen->second) {
        return SavedChartRequest{parser.value(options.saved), libraryPath, {}};
    }
    // Only --saved computes a chart and takes the chart's output options.
    const QStringList own = {chosen->first->names().constFirst(), QStringLiteral("library"),
                             QStringLiteral("replace")};
    for (const QString& name : parser.optionNames()) {
        if (!own.contains(name)) {
            return Refusal{QStringLiteral("%1 takes no chart options (got %2)")
                               .arg(asked.constFirst(), Quoted(QStringLiteral("--") + name))};
        }
    }
    return BirthsRequest{*chosen->second, parser.value(*chosen->first), libraryPath, replace};
}

} // namespace

QList<QCommandLineOption> CommandLineOptions() {
    return Options().All();
}

CommandOutput RefusedOutput(const QString& message, int exitStatus) {
    CommandOutput output;
    output.exitStatus = exitStatus;
    output.standardError =
        (QLatin1StringView(programName) + QStringLiteral(": ") + message + u'\n').toUtf8();
    return output;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: korvani-chart --date YYYY-MM-DD --time HH:MM[:SS]\n"
        "                     (--lon DDD:MM(E|W) --lat DD:MM(N|S) | --place PLACE)\n"
        "                     (--zone ZONE [--dst] | --tz ZONE) [--json | --format FORMAT]\n"
        "                     [--svg FILE [--chart-style south|north] [--second-chart d3|d9]]\n"
        "                     [CALCULATION]\n"
        "  or:  korvani-chart --batch FILE [--format json|csv] [--jobs N] [--charts]\n"
        "                     [CALCULATION]\n"
        "  or:  korvani-chart --saved NAME[@YYYY-MM-DD] [--json | --format FORMAT]\n"
        "                     [--svg FILE [--chart-style south|north] [--second-chart d3|d9]]\n"
        "                     [--library PATH] [CALCULATION]\n"
        "  or:  korvani-chart (--export-births FILE | --import-births FILE [--replace]\n"
        "                     | --backup-births FILE | --restore-births FILE)\n"
        "                     [--library PATH]\n"
        "  or:  korvani-chart --list-zones\n"
        "Compute the sidereal positions of a birth chart and the Vedic decanates of the Sun, the\n"
        "Moon and the planets.\n"
        "\n"
        "Birth data:\n"
        "      --date YYYY-MM-DD   date of birth, 1901-01-01 to 2050-12-31\n"
        "      --time HH:MM[:SS]   local clock time of birth; the seconds count only at a clock\n"
        "                          change\n"
        "      --lon DDD:MM(E|W)   longitude: degrees 0 to 179, minutes 0 to 59, East or West\n"
        "      --lat DD:MM(N|S)    latitude: degrees 0 to 89, minutes 0 to 59, North or South\n"
        "      --place PLACE       \"City[, State][, Country]\" from the place list: gives the\n"
        "                          coordinates and, without --zone or --tz, the time zone;\n"
        "                          not with --lon or --lat\n"
        "\n"
        "Time zone (one of):\n"
        "      --zone ZONE         a row of the zone list: its position 0 to 70, its text, or its\n"
        "                          abbreviation when no other row has it (see --list-zones)\n"
        "      --dst               with --zone: daylight saving time, universal time one hour\n"
        "                          earlier than the zone alone gives\n"
        "      --tz ZONE           a time-zone database name such as Asia/Kolkata: the offset in\n"
        "                          force at that local date and time, to the second; a time\n"
        "                          skipped or repeated at a clock change is refused; not with\n"
        "                          --dst\n"
        "\n"
        "Output:\n"
        "      --json              the chart as one JSON object (same as --format json); each\n"
        "                          of Mercury to Pluto in \"bodies\" says whether it is\n"
        "                          \"retrograde\" (its longitude decreasing at the birth); its\n"
        "                          \"charts\" holds the cells of the birth chart (D-1), the\n"
        "                          decanate chart (D-3) and the Navamsa (D-9, each sign in nine\n"
        "                          parts of 3°20′): twelve signs from Aries, each with the\n"
        "                          bodies standing there, Rahu and Ketu included, and those of\n"
        "                          them that are retrograde\n"
        "      --format FORMAT     table (the default for one chart), json, or csv (a header\n"
        "                          and one flat row per chart)\n"
        "      --batch FILE        charts from CSV rows, \"-\" for standard input; the header is\n"
        "                          name,date,time,lon,lat,zone,tz,place,dst and each value is\n"
        "                          written as its option takes it (dst: 1/0, true/false,\n"
        "                          yes/no, empty for no); writes JSON Lines, one object per\n"
        "                          row with its \"line\" and the chart or its \"error\"\n"
        "      --jobs N            with --batch: compute on N threads, 1 to 64 (default: one\n"
        "                          per processor this command may use); the output is the\n"
        "                          same, in input order, written as each chunk is done\n"
        "      --charts            with --batch and JSON: each line carries \"charts\" too\n"
        "      --svg FILE          also draw the birth chart and the decanate chart side by side\n"
        "                          into FILE as SVG, captioned with the name, date and time,\n"
        "                          place, coordinates and zone offset; a retrograde planet\n"
        "                          carries \u211E after its name; not with --batch; \"-\"\n"
        "                          makes the drawing the whole of standard output\n"
        "      --chart-style STYLE with --svg: south (South Indian, the default) or north\n"
        "                          (North Indian)\n"
        "      --second-chart CHART with --svg: the chart beside the birth chart, d3 (the\n"
        "                          decanate chart, the default) or d9 (the Navamsa)\n"
        "      --list-zones        list the time zones with their positions\n"
        "\n"
        "Calculation (CALCULATION; by default the program's own 1.20 rules, whatever the\n"
        "window's settings; the table, the JSON \"settings\" and the --svg caption name it):\n"
        "      --engine ENGINE     1.20 (the default: mean orbital elements and the program's own\n"
        "                          Lahiri-type ayanamsa) or precise (the Swiss Ephemeris, from\n"
        "                          the packages libswe2.0 and swe-basic-data)\n"
        "      --ayanamsa AYANAMSA with --engine precise: lahiri (the default), raman,\n"
        "                          krishnamurti, fagan-bradley, true-chitra or yukteshwar\n"
        "      --nodes NODES       rule (the mean node less 1 degree; 1.20 only, its default),\n"
        "                          mean (the engine's mean node; the precise default) or true\n"
        "                          (the true node; precise only)\n"
        "      --drekkana SCHEME   the decanate chart's (D-3) scheme: parashara (the default),\n"
        "                          parivritti, somanatha or jagannatha; the decanate texts stay\n"
        "                          the program's own\n"
        "  -h, --help              display this help and exit\n"
        "      --version           output version information and exit\n"
        "\n"
        "Library of births:\n"
        "      --saved NAME[@YYYY-MM-DD]\n"
        "                          instead of the birth data: a birth saved in the library, the\n"
        "                          name in any case; @YYYY-MM-DD picks one of several\n"
        "      --export-births FILE\n"
        "                          write every saved birth as CSV in the batch's columns, then\n"
        "                          city,state,country,ianaZone,note,created,changed; \"-\" for\n"
        "                          standard output\n"
        "      --import-births FILE\n"
        "                          add the births of such a file, \"-\" for standard input, in\n"
        "                          one transaction; refused rows are listed on standard error\n"
        "      --replace           with --import-births: replace births already saved\n"
        "      --backup-births FILE\n"
        "                          write a consistent copy of the library\n"
        "      --restore-births FILE\n"
        "                          replace the library with FILE, a backup of it (this or an\n"
        "                          older version); the library as it was is kept beside it,\n"
        "                          its name followed by .before-restore-TIME; either the old\n"
        "                          library or the restored one is whole, also when the command\n"
        "                          is stopped\n"
        "      --library PATH      another library file than births.sqlite in the user's data\n"
        "                          folder\n"
        "\n"
        "Examples:\n"
        "  korvani-chart --date 1990-08-15 --time 10:30 --lon 077:13E --lat 28:39N --zone 34\n"
        "  korvani-chart --date 1941-06-01 --time 12:00 --place \"London, England\" --json\n"
        "  korvani-chart --date 1990-08-15 --time 10:30 --lon 077:13E --lat 28:39N --tz "
        "Asia/Kolkata\n"
        "  korvani-chart --batch births.csv --format csv > charts.csv\n"
        "  korvani-chart --date 1990-08-15 --time 10:30 --place \"New Delhi\" --svg chart.svg\n"
        "  korvani-chart --saved \"Asha Rao@1990-08-15\" --json\n"
        "  korvani-chart --saved \"Asha Rao\" --engine precise --ayanamsa krishnamurti\n"
        "\n"
        "Exit status:\n"
        "  0  the chart, list, help or version was written; in a batch, every row succeeded\n"
        "  1  the output could not be written, or the batch file could not be read; also\n"
        "     when the --svg file or the library of births could not be read or written,\n"
        "     an import's input could not be read to its end, or --engine precise lacks its\n"
        "     library or files (the package is named)\n"
        "  2  the input was refused (the reason is on standard error); in a batch or an\n"
        "     import, any row was refused (the count is on standard error)\n");
}

QString VersionText() {
    return QStringLiteral("%1 %2\n").arg(QLatin1StringView(programName),
                                         QLatin1StringView(KORVANI_VERSION));
}

ParsedCommand ParseCommandLine(const QStringList& arguments, RememberedPlaceAnswers& places) {
    const Options options;
    QCommandLineParser parser;
    parser.addOptions(CommandLineOptions());

    QStringList commandLine = arguments;
    if (commandLine.isEmpty()) {
        commandLine.append(QLatin1StringView(programName));
    }
    if (!parser.parse(commandLine)) {
        // Qt's message quotes the offending option, which may be of any length.
        return Refusal{Shown(parser.errorText(), 160) + QStringLiteral(" See --help.")};
    }
    // --help and --version answer whatever else is given, as GNU programs do.
    if (parser.isSet(options.help)) {
        return HelpRequest{UsageText()};
    }
    if (parser.isSet(options.version)) {
        return HelpRequest{VersionText()};
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Refusal{QStringLiteral("unexpected argument %1; every value follows its option")
                           .arg(Quoted(parser.positionalArguments().constFirst()))};
    }
    if (parser.isSet(options.listZones)) {
        const QStringList names = parser.optionNames();
        if (std::any_of(names.begin(), names.end(), [&](const QString& name) {
                return !options.listZones.names().contains(name);
            })) {
            return Refusal{QStringLiteral("--list-zones takes no other option")};
        }
        return ListZonesRequest{};
    }
    for (const QCommandLineOption* option : options.Valued()) {
        if (parser.values(*option).size() > 1) {
            return Refusal{
                QStringLiteral("--%1 given more than once").arg(option->names().constFirst())};
        }
    }
    std::optional<int> jobs;
    if (parser.isSet(options.jobs)) {
        const QString value = parser.value(options.jobs);
        bool read = false;
        const int threads = value.toInt(&read);
        if (!read || threads < 1 || threads > mostJobs ||
            !std::all_of(value.begin(), value.end(), [](QChar c) { return c.isDigit(); })) {
            return Refusal{QStringLiteral("--jobs: expected a number of threads from 1 to %1 (got "
                                          "%2)")
                               .arg(mostJobs)
                               .arg(Quoted(value))};
        }
        jobs = threads;
    }
    std::optional<SavedChartRequest> saved;
    if (const auto births = ReadBirthsOptions(parser, options)) {
        if (const auto* refusal = std::get_if<Refusal>(&*births)) {
            return *refusal;
        }
        if (const auto* request = std::get_if<BirthsRequest>(&*births)) {
            return *request;
        }
        saved = std::get<SavedChartRequest>(*births);
    }
    const auto settings = ReadCalculationSettings(parser, options);
    if (const auto* refusal = std::get_if<Refusal>(&settings)) {
        return *refusal;
    }
    if (parser.isSet(options.batch)) {
        if (saved) {
            return Refusal{QStringLiteral("--batch takes the birth data from its columns, not from "
                                          "--saved")};
        }
        for (const QCommandLineOption* option : ChartOptions(options)) {
            if (parser.isSet(*option)) {
                return Refusal{QStringLiteral("--batch takes the birth data from its columns, not "
                                              "from --%1")
                                   .arg(option->names().constFirst())};
            }
        }
        const auto format = ReadFormat(parser, options, OutputFormat::Json);
        if (const auto* refusal = std::get_if<Refusal>(&format)) {
            return *refusal;
        }
        if (std::get<OutputFormat>(format) == OutputFormat::Table) {
            return Refusal{QStringLiteral("--batch writes json or csv, not a table")};
        }
        if (const auto refusal =
                DrawingOptionsRefusal(parser, options, true, std::get<OutputFormat>(format))) {
            return *refusal;
        }
        return BatchRequest{parser.value(options.batch), std::get<OutputFormat>(format), jobs,
                            parser.isSet(options.charts), std::get<CalculationSettings>(settings)};
    }

    // The birth data first: from the library for --saved, otherwise from the options.
    SingleChartRequest single;
    if (saved) {
        for (const QCommandLineOption* option : ChartOptions(options)) {
            if (parser.isSet(*option)) {
                return Refusal{QStringLiteral("--saved takes the birth data from the library, "
                                              "not from --%1")
                                   .arg(option->names().constFirst())};
            }
        }
    } else {
        std::array<QByteArray, 7> values; // what `fields` views
        ChartFields fields;
        fields.date = Value(parser, options.date, values[0]);
        fields.time = Value(parser, options.time, values[1]);
        fields.longitude = Value(parser, options.longitude, values[2]);
        fields.latitude = Value(parser, options.latitude, values[3]);
        fields.zone = Value(parser, options.zone, values[4]);
        fields.tz = Value(parser, options.tz, values[5]);
        fields.place = Value(parser, options.place, values[6]);
        fields.daylightSaving = parser.isSet(options.dst);
        const auto request = ResolveChartRequest(fields, places);
        if (const auto* refusal = std::get_if<Refusal>(&request)) {
            return *refusal;
        }
        single.chart = std::get<ChartRequest>(request);
    }
    const auto format = ReadFormat(parser, options, OutputFormat::Table);
    if (const auto* refusal = std::get_if<Refusal>(&format)) {
        return *refusal;
    }
    if (const auto refusal =
            DrawingOptionsRefusal(parser, options, false, std::get<OutputFormat>(format))) {
        return *refusal;
    }
    const auto style = ReadChartStyle(parser, options);
    if (const auto* refusal = std::get_if<Refusal>(&style)) {
        return *refusal;
    }
    const auto second = ReadSecondChart(parser, options);
    if (const auto* refusal = std::get_if<Refusal>(&second)) {
        return *refusal;
    }
    single.format = std::get<OutputFormat>(format);
    single.settings = std::get<CalculationSettings>(settings);
    if (parser.isSet(options.svg)) {
        single.svgPath = parser.value(options.svg);
        single.chartStyle = std::get<ChartStyle>(style);
        single.secondChart = std::get<ChartKind>(second);
    }
    if (saved) {
        saved->single = std::move(single);
        return *saved;
    }
    return single;
}

ParsedCommand ParseCommandLine(const QStringList& arguments) {
    RememberedPlaceAnswers noPlaces(nullptr);
    return ParseCommandLine(arguments, noPlaces);
}

QString InputReadProblem(const QString& path, qint64 linesRead, const QString& reason) {
    return QStringLiteral("cannot read %1%2: %3")
        .arg(path == u"-" ? QStringLiteral("standard input") : Quoted(Shown(path, 160)),
             linesRead > 0 ? QStringLiteral(" after line %1").arg(linesRead) : QString(), reason);
}

namespace {

// Why the precise engine a chart or batch asks for cannot run here (the package to install), or
// nothing.
std::optional<QString> MissingEngine(const ParsedCommand& command) {
    const CalculationSettings* settings = nullptr;
    if (const auto* single = std::get_if<SingleChartRequest>(&command)) {
        settings = &single->settings;
    } else if (const auto* batch = std::get_if<BatchRequest>(&command)) {
        settings = &batch->settings;
    }
    if (settings == nullptr || settings->engine != Engine::Precise) {
        return std::nullopt;
    }
    const PreciseAvailability precise = PreciseEngineAvailability();
    if (precise.available) {
        return std::nullopt;
    }
    return QStringLiteral("--engine precise: %1").arg(QString::fromStdString(precise.missing));
}

} // namespace

CommandOutput RunCommand(const QStringList& arguments, const CommandEnvironment& environment) {
    RememberedPlaceAnswers places(environment.places);
    ParsedCommand command = ParseCommandLine(arguments, places);
    if (const auto* saved = std::get_if<SavedChartRequest>(&command)) {
        auto chart = SavedBirthChart(*saved, places);
        if (auto* refused = std::get_if<CommandOutput>(&chart)) {
            return *refused;
        }
        command = std::get<SingleChartRequest>(std::move(chart));
    }
    if (const auto* births = std::get_if<BirthsRequest>(&command)) {
        return RunBirthsRequest(*births, environment);
    }
    CommandOutput output;
    const auto refuse = [&output](const QString& message, int status) {
        const CommandOutput refused = RefusedOutput(message, status);
        output.exitStatus = refused.exitStatus;
        output.standardError = refused.standardError;
    };
    if (const auto* refusal = std::get_if<Refusal>(&command)) {
        refuse(refusal->message, refusedExitStatus);
    } else if (const auto* help = std::get_if<HelpRequest>(&command)) {
        output.standardOutput = help->text.toUtf8();
    } else if (std::holds_alternative<ListZonesRequest>(command)) {
        output.standardOutput = FormatZoneList().toUtf8();
    } else if (const auto missing = MissingEngine(command)) {
        refuse(*missing, failureExitStatus);
        return output;
    } else if (const auto* single = std::get_if<SingleChartRequest>(&command)) {
        ChartResult result;
        if (const auto problem = ComputeChartInto(result, single->chart.input, &single->chart.used,
                                                  single->settings)) {
            refuse(*problem, failureExitStatus);
            return output;
        }
        // The drawing first: when it cannot be written, nothing else is, and the command fails.
        // "-" makes the drawing the whole of standard output.
        const bool svgToStandardOutput = single->svgPath == QStringLiteral("-");
        if (svgToStandardOutput) {
            QBuffer buffer(&output.standardOutput);
            buffer.open(QIODevice::WriteOnly);
            if (const auto problem =
                    WriteChartSvg(buffer, result, single->chartStyle, single->secondChart)) {
                output.standardOutput.clear();
                refuse(QStringLiteral("--svg: cannot write to standard output: %1").arg(*problem),
                       failureExitStatus);
                return output;
            }
        } else if (single->svgPath) {
            if (const auto problem = WriteChartSvgFile(*single->svgPath, result, single->chartStyle,
                                                       single->secondChart)) {
                refuse(QStringLiteral("--svg: cannot write %1: %2")
                           .arg(Quoted(*single->svgPath), *problem),
                       failureExitStatus);
                return output;
            }
        }
        if (!svgToStandardOutput) {
            switch (single->format) {
            case OutputFormat::Json:
                output.standardOutput = FormatChartJson(result);
                break;
            case OutputFormat::Csv:
                output.standardOutput = ChartCsvHeader();
                AppendChartCsvRow(output.standardOutput, result, 1);
                break;
            case OutputFormat::Table:
                output.standardOutput = FormatChartTable(result).toUtf8();
                break;
            }
        }
    } else {
        const auto& batch = std::get<BatchRequest>(command);
        QFile file;
        QIODevice* input = environment.standardInput;
        if (batch.path != u"-") {
            file.setFileName(batch.path);
            if (!file.open(QIODevice::ReadOnly)) {
                refuse(QStringLiteral("--batch: cannot read %1: %2")
                           .arg(Quoted(batch.path), file.errorString()),
                       failureExitStatus);
                return output;
            }
            input = &file;
        }
        if (input == nullptr) {
            refuse(QStringLiteral("--batch: no standard input to read"), failureExitStatus);
            return output;
        }
        const BatchWrite write =
            environment.write ? environment.write : BatchWrite([&output](const QByteArray& piece) {
                output.standardOutput += piece;
                return true;
            });
        const BatchSummary summary =
            RunBatch(*input, batch.format, places, write,
                     batch.jobs.value_or(std::min(UsableProcessorCount(), mostJobs)),
                     batch.withCharts, batch.settings);
        if (summary.writeFailed) {
            refuse(QStringLiteral("the output could not be written"), failureExitStatus);
        } else if (summary.readError) {
            refuse(QStringLiteral("--batch: ") +
                       InputReadProblem(batch.path, summary.lines, *summary.readError),
                   failureExitStatus);
        } else if (summary.fileError) {
            refuse(*summary.fileError, refusedExitStatus);
        } else if (summary.refusedRows > 0) {
            refuse(
                QStringLiteral("%1 of %2 rows refused").arg(summary.refusedRows).arg(summary.rows),
                refusedExitStatus);
        }
        return output;
    }
    if (environment.write && !output.standardOutput.isEmpty()) {
        if (!environment.write(output.standardOutput)) {
            refuse(QStringLiteral("the output could not be written"), failureExitStatus);
        }
        output.standardOutput.clear();
    }
    return output;
}
