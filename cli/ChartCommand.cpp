#include "cli/ChartCommand.h"

#include "chart/TimeZones.h"
#include "chart/Validation.h"
#include "cli/ChartOutput.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRegularExpression>
#include <QRegularExpressionMatch>

#include <algorithm>
#include <optional>

namespace {

// The window needs a name; the command does not ask for one.
constexpr const char* commandLineName = "KORVANI CHART";

// The year list of the input window.

const QString dateFormat = QStringLiteral("expected YYYY-MM-DD with a year from 1901 to 2050");
const QString timeFormat =
    QStringLiteral("expected HH:MM or HH:MM:SS with hours 00 to 23 and minutes and seconds 00 "
                   "to 59");
const QString longitudeFormat =
    QStringLiteral("expected DDD:MM followed by E or W, with degrees 0 to 179 and minutes 0 to 59");
const QString latitudeFormat =
    QStringLiteral("expected DD:MM followed by N or S, with degrees 0 to 89 and minutes 0 to 59");
const QString zoneFormat =
    QStringLiteral("expected a zone list position from 0 to 70 (see --list-zones)");

// Text from the command line made safe for a message: control characters shown as '?', long
// texts cut short.
QString Shown(const QString& text, qsizetype longest) {
    QString shown = text.left(longest);
    for (QChar& character : shown) {
        if (!character.isPrint()) {
            character = u'?';
        }
    }
    if (text.size() > longest) {
        shown += QStringLiteral("...");
    }
    return shown;
}

// An input value quoted for a message.
QString Quoted(const QString& value) {
    return u'"' + Shown(value, 40) + u'"';
}

QString Malformed(const QString& option, const QString& expected, const QString& value) {
    return QStringLiteral("--%1: %2 (got %3)").arg(option, expected, Quoted(value));
}

QString OutOfRange(const QString& option, const QString& part, const QString& range,
                   const QString& value) {
    return QStringLiteral("--%1: the %2 must be from %3 (got %4)").arg(option, part, range, value);
}

// The whole match of a pattern, or nothing. Digits are written [0-9]: \d would also match
// digits of other scripts.
std::optional<QRegularExpressionMatch> Match(const QString& pattern, const QString& value) {
    const QRegularExpression expression(QRegularExpression::anchoredPattern(pattern));
    QRegularExpressionMatch match = expression.match(value);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return match;
}

// A date in the input window's lists: year 1901..2050, month 1..12, day 1..31. Whether the
// month has that day is left to the window's validation.
struct DateValue {
    int year = 0;
    int month = 0;
    int day = 0;
};

std::variant<DateValue, Refusal> ReadDate(const QString& value) {
    const auto match = Match(QStringLiteral("([0-9]{4})-([0-9]{2})-([0-9]{2})"), value);
    if (!match) {
        return Refusal{Malformed(QStringLiteral("date"), dateFormat, value)};
    }
    const DateValue date{match->captured(1).toInt(), match->captured(2).toInt(),
                         match->captured(3).toInt()};
    if (date.year < firstEntryYear || date.year > lastEntryYear) {
        return Refusal{OutOfRange(QStringLiteral("date"), QStringLiteral("year"),
                                  QStringLiteral("1901 to 2050"), match->captured(1))};
    }
    if (date.month < 1 || date.month > 12) {
        return Refusal{OutOfRange(QStringLiteral("date"), QStringLiteral("month"),
                                  QStringLiteral("01 to 12"), match->captured(2))};
    }
    if (date.day < 1 || date.day > 31) {
        return Refusal{OutOfRange(QStringLiteral("date"), QStringLiteral("day"),
                                  QStringLiteral("01 to 31"), match->captured(3))};
    }
    return date;
}

struct TimeValue {
    int hour = 0;
    int minute = 0;
};

// Local clock time; seconds are checked like the window's seconds list and then dropped.
std::variant<TimeValue, Refusal> ReadTime(const QString& value) {
    const auto match = Match(QStringLiteral("([0-9]{2}):([0-9]{2})(?::([0-9]{2}))?"), value);
    if (!match) {
        return Refusal{Malformed(QStringLiteral("time"), timeFormat, value)};
    }
    const TimeValue time{match->captured(1).toInt(), match->captured(2).toInt()};
    if (time.hour > 23) {
        return Refusal{OutOfRange(QStringLiteral("time"), QStringLiteral("hour"),
                                  QStringLiteral("00 to 23"), match->captured(1))};
    }
    if (time.minute > 59) {
        return Refusal{OutOfRange(QStringLiteral("time"), QStringLiteral("minute"),
                                  QStringLiteral("00 to 59"), match->captured(2))};
    }
    if (match->hasCaptured(3) && match->captured(3).toInt() > 59) {
        return Refusal{OutOfRange(QStringLiteral("time"), QStringLiteral("seconds"),
                                  QStringLiteral("00 to 59"), match->captured(3))};
    }
    return time;
}

// A coordinate as the window's boxes hold it: the degree and minute texts as typed (at most as
// many digits as the box takes) and the hemisphere. The ranges are checked by the window's
// validation, with its messages.
struct CoordinateTexts {
    QString degrees;
    QString minutes;
    bool secondHemisphere = false; // West for a longitude, South for a latitude
};

std::variant<CoordinateTexts, Refusal> ReadCoordinate(const QString& option,
                                                      const QString& expected, int degreeDigits,
                                                      QChar first, QChar second,
                                                      const QString& value) {
    // The hemisphere letter in either case, ASCII only: no Unicode case folding lets another
    // letter pass for one of them.
    const QString pattern = QStringLiteral("([0-9]{1,%1}):([0-9]{1,2})([%2%3%4%5])")
                                .arg(degreeDigits)
                                .arg(first.toUpper())
                                .arg(first.toLower())
                                .arg(second.toUpper())
                                .arg(second.toLower());
    const std::optional<QRegularExpressionMatch> match = Match(pattern, value);
    if (!match) {
        return Refusal{Malformed(option, expected, value)};
    }
    return CoordinateTexts{match->captured(1), match->captured(2),
                           match->captured(3).toUpper() == QString(second.toUpper())};
}

std::variant<int, Refusal> ReadZone(const QString& value) {
    bool converted = false;
    const int position = Match(QStringLiteral("[0-9]+"), value) ? value.toInt(&converted) : -1;
    if (!converted || position >= timeZoneCount) {
        return Refusal{Malformed(QStringLiteral("zone"), zoneFormat, value)};
    }
    return position;
}

struct Options {
    QCommandLineOption date{QStringLiteral("date"),
                            QStringLiteral("Date of birth, 1901-01-01 to 2050-12-31."),
                            QStringLiteral("YYYY-MM-DD")};
    QCommandLineOption time{
        QStringLiteral("time"),
        QStringLiteral("Local clock time of birth; seconds are accepted and not used."),
        QStringLiteral("HH:MM[:SS]")};
    QCommandLineOption longitude{
        QStringLiteral("lon"),
        QStringLiteral("Longitude of the birthplace: degrees 0 to 179, minutes, East or West."),
        QStringLiteral("DDD:MM(E|W)")};
    QCommandLineOption latitude{
        QStringLiteral("lat"),
        QStringLiteral("Latitude of the birthplace: degrees 0 to 89, minutes, North or South."),
        QStringLiteral("DD:MM(N|S)")};
    QCommandLineOption zone{QStringLiteral("zone"),
                            QStringLiteral("Time zone: its position 0 to 70 in --list-zones."),
                            QStringLiteral("N")};
    QCommandLineOption dst{QStringLiteral("dst"),
                           QStringLiteral("Daylight saving time: universal time one hour "
                                          "earlier than the zone alone gives.")};
    QCommandLineOption json{QStringLiteral("json"),
                            QStringLiteral("Write the chart as one JSON object.")};
    QCommandLineOption listZones{QStringLiteral("list-zones"),
                                 QStringLiteral("List the time zones with their positions.")};
};

QString Usage() {
    return QStringLiteral(
        "Computes the sidereal positions of a birth chart and the Vedic decanates of the Sun, "
        "the Moon and the planets.\n\n"
        "  korvani-chart --date YYYY-MM-DD --time HH:MM[:SS] --lon DDD:MM(E|W) --lat DD:MM(N|S) "
        "--zone N [--dst] [--json]\n"
        "  korvani-chart --list-zones\n\n"
        "Example: korvani-chart --date 1990-08-15 --time 10:30 --lon 077:13E --lat 28:39N "
        "--zone 34\n"
        "Refused input is reported on standard error with exit status 2.");
}

ParsedCommand ReadChartRequest(const QCommandLineParser& parser, const Options& options) {
    for (const QCommandLineOption* option :
         {&options.date, &options.time, &options.longitude, &options.latitude, &options.zone}) {
        const QString name = option->names().constFirst();
        if (!parser.isSet(*option)) {
            return Refusal{QStringLiteral("missing option --%1 %2 (or use --list-zones)")
                               .arg(name, option->valueName())};
        }
        if (parser.values(*option).size() > 1) {
            return Refusal{QStringLiteral("--%1 given more than once").arg(name)};
        }
    }

    const auto date = ReadDate(parser.value(options.date));
    if (const auto* refusal = std::get_if<Refusal>(&date)) {
        return *refusal;
    }
    const auto time = ReadTime(parser.value(options.time));
    if (const auto* refusal = std::get_if<Refusal>(&time)) {
        return *refusal;
    }
    const auto longitude = ReadCoordinate(QStringLiteral("lon"), longitudeFormat, 3, u'E', u'W',
                                          parser.value(options.longitude));
    if (const auto* refusal = std::get_if<Refusal>(&longitude)) {
        return *refusal;
    }
    const auto latitude = ReadCoordinate(QStringLiteral("lat"), latitudeFormat, 2, u'N', u'S',
                                         parser.value(options.latitude));
    if (const auto* refusal = std::get_if<Refusal>(&latitude)) {
        return *refusal;
    }
    const auto zone = ReadZone(parser.value(options.zone));
    if (const auto* refusal = std::get_if<Refusal>(&zone)) {
        return *refusal;
    }

    const auto& [year, month, day] = std::get<DateValue>(date);
    const auto& lon = std::get<CoordinateTexts>(longitude);
    const auto& lat = std::get<CoordinateTexts>(latitude);
    BirthDataEntry entry;
    entry.name = commandLineName;
    entry.longitudeDegrees = lon.degrees.toStdString();
    entry.longitudeMinutes = lon.minutes.toStdString();
    entry.latitudeDegrees = lat.degrees.toStdString();
    entry.latitudeMinutes = lat.minutes.toStdString();
    entry.monthPosition = month - 1;
    entry.dayPosition = day - 1;
    entry.year = year;
    if (const auto fault = ValidateBirthData(entry)) {
        return Refusal{QString::fromStdString(fault->message)};
    }

    // Validation has passed, so every coordinate text spells a number in range.
    ChartRequest request;
    ChartInput& input = request.input;
    input.monthPosition = entry.monthPosition;
    input.day = day;
    input.year = year;
    input.hour = std::get<TimeValue>(time).hour;
    input.minute = std::get<TimeValue>(time).minute;
    input.longitudeDegrees = static_cast<int>(*CoordinateValue(entry.longitudeDegrees));
    input.longitudeMinutes = static_cast<int>(*CoordinateValue(entry.longitudeMinutes));
    input.latitudeDegrees = static_cast<int>(*CoordinateValue(entry.latitudeDegrees));
    input.latitudeMinutes = static_cast<int>(*CoordinateValue(entry.latitudeMinutes));
    input.east = !lon.secondHemisphere;
    input.south = lat.secondHemisphere;
    input.daylightSaving = parser.isSet(options.dst);
    input.timeZonePosition = std::get<int>(zone);
    request.json = parser.isSet(options.json);
    return request;
}

} // namespace

ParsedCommand ParseCommandLine(const QStringList& arguments) {
    const Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(Usage());
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    parser.addOptions({options.date, options.time, options.longitude, options.latitude,
                       options.zone, options.dst, options.json, options.listZones});

    QStringList commandLine = arguments;
    if (commandLine.isEmpty()) {
        commandLine.append(QStringLiteral("korvani-chart"));
    }
    if (!parser.parse(commandLine)) {
        // Qt's message quotes the offending option, which may be of any length.
        return Refusal{Shown(parser.errorText(), 160) + QStringLiteral(" See --help.")};
    }
    if (parser.isSet(help)) {
        return HelpRequest{parser.helpText()};
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
    return ReadChartRequest(parser, options);
}

CommandOutput RunCommand(const QStringList& arguments) {
    const ParsedCommand command = ParseCommandLine(arguments);
    CommandOutput output;
    if (const auto* refusal = std::get_if<Refusal>(&command)) {
        output.exitStatus = refusedExitStatus;
        output.standardError =
            (QStringLiteral("korvani-chart: ") + refusal->message + u'\n').toUtf8();
    } else if (const auto* help = std::get_if<HelpRequest>(&command)) {
        output.standardOutput = help->text.toUtf8();
    } else if (std::holds_alternative<ListZonesRequest>(command)) {
        output.standardOutput = FormatZoneList().toUtf8();
    } else {
        const auto& request = std::get<ChartRequest>(command);
        const ChartResult result = ComputeChart(request.input);
        output.standardOutput =
            request.json ? FormatChartJson(result) : FormatChartTable(result).toUtf8();
    }
    return output;
}
