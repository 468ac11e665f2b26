// Reading the command line into a chart request: accepted inputs and what they become.

#include "cli/ChartCommand.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>

namespace {

QStringList CommandLine(const QStringList& options) {
    return QStringList{QStringLiteral("korvani-chart")} + options;
}

struct AcceptedCase {
    const char* name;
    QStringList options;
    ChartInput expected;
    bool json;
};

ChartInput Input(int month, int day, int year, int hour, int minute, int lonDegrees, int lonMinutes,
                 bool east, int latDegrees, int latMinutes, bool south, int zone, bool dst) {
    ChartInput input;
    input.monthPosition = month - 1;
    input.day = day;
    input.year = year;
    input.hour = hour;
    input.minute = minute;
    input.longitudeDegrees = lonDegrees;
    input.longitudeMinutes = lonMinutes;
    input.east = east;
    input.latitudeDegrees = latDegrees;
    input.latitudeMinutes = latMinutes;
    input.south = south;
    input.timeZonePosition = zone;
    input.daylightSaving = dst;
    return input;
}

void PrintTo(const AcceptedCase& row, std::ostream* out) {
    *out << row.name;
}

class AcceptedCommandLine : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedCommandLine, BecomesTheChartInput) {
    const AcceptedCase& row = GetParam();
    const ParsedCommand command = ParseCommandLine(CommandLine(row.options));
    const auto* refusal = std::get_if<Refusal>(&command);
    ASSERT_EQ(refusal, nullptr) << "case " << row.name << ": " << refusal->message.toStdString();
    const auto* request = std::get_if<SingleChartRequest>(&command);
    ASSERT_NE(request, nullptr) << "case " << row.name;
    const ChartInput& got = request->chart.input;
    const ChartInput& want = row.expected;
    EXPECT_EQ(got.monthPosition, want.monthPosition) << "case " << row.name;
    EXPECT_EQ(got.day, want.day) << "case " << row.name;
    EXPECT_EQ(got.year, want.year) << "case " << row.name;
    EXPECT_EQ(got.hour, want.hour) << "case " << row.name;
    EXPECT_EQ(got.minute, want.minute) << "case " << row.name;
    EXPECT_EQ(got.longitudeDegrees, want.longitudeDegrees) << "case " << row.name;
    EXPECT_EQ(got.longitudeMinutes, want.longitudeMinutes) << "case " << row.name;
    EXPECT_EQ(got.east, want.east) << "case " << row.name;
    EXPECT_EQ(got.latitudeDegrees, want.latitudeDegrees) << "case " << row.name;
    EXPECT_EQ(got.latitudeMinutes, want.latitudeMinutes) << "case " << row.name;
    EXPECT_EQ(got.south, want.south) << "case " << row.name;
    EXPECT_EQ(got.timeZonePosition, want.timeZonePosition) << "case " << row.name;
    EXPECT_EQ(got.daylightSaving, want.daylightSaving) << "case " << row.name;
    EXPECT_EQ(request->format == OutputFormat::Json, row.json) << "case " << row.name;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, AcceptedCommandLine,
    testing::Values(
        AcceptedCase{"indianTimePlaceEastNorth",
                     {"--date", "1990-08-15", "--time", "10:30", "--lon", "077:13E", "--lat", "28:39N", "--zone", "34"},
                     Input(8, 15, 1990, 10, 30, 77, 13, true, 28, 39, false, 34, false), false},
        AcceptedCase{"westSouthWithDstAndJson",
                     {"--date", "1976-07-04", "--time", "23:45", "--lon", "074:00W", "--lat", "40:43S", "--zone", "27", "--dst", "--json"},
                     Input(7, 4, 1976, 23, 45, 74, 0, false, 40, 43, true, 27, true), true},
        AcceptedCase{"secondsAcceptedAndDropped",
                     {"--date", "2000-01-01", "--time", "12:00:59", "--lon", "000:00W", "--lat", "51:30N", "--zone", "29"},
                     Input(1, 1, 2000, 12, 0, 0, 0, false, 51, 30, false, 29, false), false},
        AcceptedCase{"firstDayOfTheLists",
                     {"--date", "1901-01-01", "--time", "00:00:00", "--lon", "0:0E", "--lat", "0:0N", "--zone", "0"},
                     Input(1, 1, 1901, 0, 0, 0, 0, true, 0, 0, false, 0, false), false},
        AcceptedCase{"lastDayOfTheListsAndLargestCoordinates",
                     {"--date", "2050-12-31", "--time", "23:59:59", "--lon", "179:59W", "--lat", "89:59S", "--zone", "70"},
                     Input(12, 31, 2050, 23, 59, 179, 59, false, 89, 59, true, 70, false), false},
        AcceptedCase{"leapDay2000",
                     {"--date", "2000-02-29", "--time", "06:05", "--lon", "7:5E", "--lat", "9:8N", "--zone", "29"},
                     Input(2, 29, 2000, 6, 5, 7, 5, true, 9, 8, false, 29, false), false},
        AcceptedCase{"hemispheresInSmallLetters",
                     {"--date", "1904-02-29", "--time", "12:00", "--lon", "010:20w", "--lat", "30:40s", "--zone", "61"},
                     Input(2, 29, 1904, 12, 0, 10, 20, false, 30, 40, true, 61, false), false},
        AcceptedCase{"day31InAMonthThatHasIt",
                     {"--date", "2001-03-31", "--time", "12:00", "--lon", "001:00E", "--lat", "01:00N", "--zone", "07"},
                     Input(3, 31, 2001, 12, 0, 1, 0, true, 1, 0, false, 7, false), false},
        AcceptedCase{"optionsWithEqualsInAnyOrder",
                     {"--json", "--zone=5", "--lat=12:34S", "--lon=123:45E", "--time=01:02", "--date=2010-11-30"},
                     Input(11, 30, 2010, 1, 2, 123, 45, true, 12, 34, true, 5, false), true}),
    [](const testing::TestParamInfo<AcceptedCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(ParseCommandLine, ListZonesAlone) {
    EXPECT_TRUE(std::holds_alternative<ListZonesRequest>(
        ParseCommandLine(CommandLine({QStringLiteral("--list-zones")}))));
}

TEST(ParseCommandLine, HelpNamesEveryOption) {
    for (const char* option : {"--help", "-h"}) {
        const ParsedCommand command = ParseCommandLine(CommandLine({QString::fromLatin1(option)}));
        const auto* help = std::get_if<HelpRequest>(&command);
        ASSERT_NE(help, nullptr) << option;
        for (const char* name : {"--date", "--time", "--lon", "--lat", "--zone", "--dst", "--json",
                                 "--list-zones", "--jobs"}) {
            EXPECT_TRUE(help->text.contains(QString::fromLatin1(name)))
                << option << " does not mention " << name;
        }
    }
}

// Catches an option the parser takes that --help leaves out (the library's options once were),
// and an option the table below expects that the parser no longer takes. The table is the
// README's option table, written out by hand.
TEST(ParseCommandLine, HelpNamesEveryOptionTheParserTakes) {
    const struct {
        const char* option;
        const char* section; // where the README lists it
    } documented[] = {
        {"--date", "birth data"},
        {"--time", "birth data"},
        {"--lon", "birth data"},
        {"--lat", "birth data"},
        {"--place", "birth data"},
        {"--zone", "time zone"},
        {"--dst", "time zone"},
        {"--tz", "time zone"},
        {"--json", "output"},
        {"--format", "output"},
        {"--batch", "output"},
        {"--jobs", "output"},
        {"--charts", "output"},
        {"--svg", "output"},
        {"--chart-style", "output"},
        {"--second-chart", "output"},
        {"--list-zones", "output"},
        {"--engine", "calculation"},
        {"--ayanamsa", "calculation"},
        {"--nodes", "calculation"},
        {"--drekkana", "calculation"},
        {"-h", "help"},
        {"--help", "help"},
        {"--version", "help"},
        {"--saved", "library"},
        {"--export-births", "library"},
        {"--import-births", "library"},
        {"--replace", "library"},
        {"--backup-births", "library"},
        {"--restore-births", "library"},
        {"--library", "library"},
    };
    QStringList taken;
    for (const QCommandLineOption& option : CommandLineOptions()) {
        for (const QString& name : option.names()) {
            taken.append(QString(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) +
                         name);
        }
    }
    QStringList expected;
    const QString usage = UsageText();
    for (const auto& row : documented) {
        expected.append(QString::fromLatin1(row.option));
        // The name followed by a blank, a comma or a line end, so that --chart does not pass for
        // --charts.
        const QRegularExpression named(QRegularExpression::escape(row.option) +
                                       QStringLiteral("[ ,\\n]"));
        EXPECT_TRUE(usage.contains(named))
            << "--help does not name " << row.option << " (" << row.section << ")";
    }
    taken.sort();
    expected.sort();
    EXPECT_EQ(taken, expected) << "the parser's options differ from the documented ones";
}

TEST(ParseCommandLine, EmptyArgumentListIsRefusedNotACrash) {
    const ParsedCommand command = ParseCommandLine({});
    ASSERT_TRUE(std::holds_alternative<Refusal>(command));
    EXPECT_EQ(std::get<Refusal>(command).message.toStdString(),
              "--date: missing; give the date of birth as YYYY-MM-DD");
}

TEST(RunCommand, RefusalGoesToStandardErrorOnly) {
    const CommandOutput output =
        RunCommand(CommandLine({"--date", "2000-01-01", "--time", "12:00", "--lon", "000:00W",
                                "--lat", "51:30N", "--zone", "71"}));
    EXPECT_EQ(output.exitStatus, refusedExitStatus);
    EXPECT_TRUE(output.standardOutput.isEmpty());
    EXPECT_TRUE(output.standardError.startsWith("korvani-chart: --zone: "))
        << output.standardError.toStdString();
    EXPECT_TRUE(output.standardError.contains("71")) << output.standardError.toStdString();
    EXPECT_TRUE(output.standardError.endsWith('\n'));
}

TEST(RunCommand, ChartGoesToStandardOutputOnly) {
    const CommandOutput output =
        RunCommand(CommandLine({"--date", "2000-01-01", "--time", "12:00", "--lon", "000:00W",
                                "--lat", "51:30N", "--zone", "29"}));
    EXPECT_EQ(output.exitStatus, 0);
    EXPECT_TRUE(output.standardError.isEmpty()) << output.standardError.toStdString();
    EXPECT_TRUE(output.standardOutput.contains("16 Sag 31")) << output.standardOutput.toStdString();
}

} // namespace
