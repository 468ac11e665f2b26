// The built korvani-chart run as a separate process: what it writes and the status it ends with.

#include "RunChart.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Valid birth data; a refusal case replaces one option's value, drops it or adds more.
const QStringList greenwich2000 = {"--date",  "2000-01-01", "--time", "12:00",  "--lon",
                                   "000:00W", "--lat",      "51:30N", "--zone", "29"};

QStringList With(const QString& option, const QString& value,
                 const QStringList& base = greenwich2000) {
    QStringList arguments = base;
    arguments[arguments.indexOf(option) + 1] = value;
    return arguments;
}

QStringList Without(const QString& option) {
    QStringList arguments = greenwich2000;
    const qsizetype at = arguments.indexOf(option);
    arguments.remove(at, 2);
    return arguments;
}

struct RefusalCase {
    const char* name;
    QStringList arguments;
    QByteArray message;
};

void PrintTo(const RefusalCase& row, std::ostream* out) {
    *out << row.name;
}

class Refused : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refused, MessageOnStandardErrorStatusTwoNothingOnStandardOutput) {
    const RefusalCase& row = GetParam();
    const ProcessRun run = RunChart(row.arguments);
    ASSERT_FALSE(run.crashed) << "case " << row.name;
    EXPECT_EQ(run.exitCode, 2) << "case " << row.name;
    EXPECT_EQ(run.standardOutput, QByteArray()) << "case " << row.name;
    EXPECT_EQ(run.standardError, "korvani-chart: " + row.message + "\n") << "case " << row.name;
}

const QByteArray dateFormat = "--date: expected YYYY-MM-DD with a year from 1901 to 2050";
const QByteArray timeFormat = "--time: expected HH:MM or HH:MM:SS with hours 00 to 23 and "
                              "minutes and seconds 00 to 59";
const QByteArray lonFormat =
    "--lon: expected DDD:MM followed by E or W, with degrees 0 to 179 and minutes 0 to 59";
const QByteArray latFormat =
    "--lat: expected DD:MM followed by N or S, with degrees 0 to 89 and minutes 0 to 59";
const QByteArray zoneFormat = "--zone: expected a zone list position from 0 to 70, a zone text "
                              "or its abbreviation (see --list-zones)";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, Refused,
    testing::Values(
        // The window's own validation messages, exactly.
        RefusalCase{"longitudeDegrees180", With("--lon", "180:00E"), "--lon: Please Enter Value Between 0 And 179 in the Degree of Longitude"},
        RefusalCase{"longitudeMinutes60", With("--lon", "077:60E"), "--lon: Please Enter Value Between 0 And 59 in the  Minute of Longitude"},
        RefusalCase{"latitudeDegrees90", With("--lat", "90:00N"), "--lat: Please Enter Value Between 0 And 89 in the Degree of Latitude"},
        RefusalCase{"latitudeMinutes60", With("--lat", "51:60S"), "--lat: Please Enter Value Between 0 And 59 in the  Minute of Latitude"},
        RefusalCase{"february30", With("--date", "2001-02-30"), "--date: Please Enter Correct Date Or Month!"},
        RefusalCase{"february29NotLeap", With("--date", "1901-02-29"), "--date: Please Enter Correct Date Or Month!"},
        RefusalCase{"february30LeapYear", With("--date", "2000-02-30"), "--date: Please Enter Correct Date Or Month!"},
        RefusalCase{"april31", With("--date", "2001-04-31"), "--date: Please Enter Correct Date Or Month !"},
        RefusalCase{"november31", With("--date", "2050-11-31"), "--date: Please Enter Correct Date Or Month !"},
        RefusalCase{"longitudeCheckedBeforeDateAsInWindow", With("--date", "2001-02-30", With("--lon", "180:00E")),
                    "--lon: Please Enter Value Between 0 And 179 in the Degree of Longitude"},
        // Values the window's lists cannot hold.
        RefusalCase{"year1900", With("--date", "1900-12-31"), "--date: the year must be from 1901 to 2050 (got 1900)"},
        RefusalCase{"year2051", With("--date", "2051-01-01"), "--date: the year must be from 1901 to 2050 (got 2051)"},
        RefusalCase{"month0", With("--date", "2000-00-10"), "--date: the month must be from 01 to 12 (got 00)"},
        RefusalCase{"month13", With("--date", "2000-13-10"), "--date: the month must be from 01 to 12 (got 13)"},
        RefusalCase{"day0", With("--date", "2000-01-00"), "--date: the day must be from 01 to 31 (got 00)"},
        RefusalCase{"day32", With("--date", "2000-01-32"), "--date: the day must be from 01 to 31 (got 32)"},
        RefusalCase{"hour24", With("--time", "24:00"), "--time: the hour must be from 00 to 23 (got 24)"},
        RefusalCase{"minute60", With("--time", "12:60"), "--time: the minute must be from 00 to 59 (got 60)"},
        RefusalCase{"seconds60", With("--time", "12:00:60"), "--time: the seconds must be from 00 to 59 (got 60)"},
        RefusalCase{"zone71", With("--zone", "71"), zoneFormat + " (got \"71\")"},
        RefusalCase{"zoneMinus1", With("--zone", "-1"), zoneFormat + " (got \"-1\")"},
        RefusalCase{"zoneHuge", With("--zone", "99999999999999999999"), zoneFormat + " (got \"99999999999999999999\")"},
        RefusalCase{"zoneUnknownName", With("--zone", "Nowhere Time"), zoneFormat + " (got \"Nowhere Time\")"},
        RefusalCase{"zoneOtherScriptDigit", With("--zone", QString::fromUtf8("\u0663")), zoneFormat + " (got \"\xD9\xA3\")"},
        RefusalCase{"zoneEmpty", With("--zone", ""), zoneFormat + " (got \"\")"},
        // Malformed values.
        RefusalCase{"dateWithoutLeadingZeros", With("--date", "2000-1-1"), dateFormat + " (got \"2000-1-1\")"},
        RefusalCase{"dateWithSlashes", With("--date", "2000/01/01"), dateFormat + " (got \"2000/01/01\")"},
        RefusalCase{"dateEmpty", With("--date", ""), dateFormat + " (got \"\")"},
        RefusalCase{"dateHugeYear", With("--date", "99999999999-01-01"), dateFormat + " (got \"99999999999-01-01\")"},
        RefusalCase{"timeHourOnly", With("--time", "12"), timeFormat + " (got \"12\")"},
        RefusalCase{"timeOneDigitHour", With("--time", "9:30"), timeFormat + " (got \"9:30\")"},
        RefusalCase{"timeEmptySeconds", With("--time", "12:00:"), timeFormat + " (got \"12:00:\")"},
        RefusalCase{"longitudeUnknownHemisphere", With("--lon", "77:13X"), lonFormat + " (got \"77:13X\")"},
        RefusalCase{"longitudeNorth", With("--lon", "77:13N"), lonFormat + " (got \"77:13N\")"},
        RefusalCase{"longitudeWithoutColon", With("--lon", "07713E"), lonFormat + " (got \"07713E\")"},
        RefusalCase{"longitudeFourDegreeDigits", With("--lon", "1000:00E"), lonFormat + " (got \"1000:00E\")"},
        RefusalCase{"longitudeNegative", With("--lon", "-77:13E"), lonFormat + " (got \"-77:13E\")"},
        RefusalCase{"longitudeEmpty", With("--lon", ""), lonFormat + " (got \"\")"},
        RefusalCase{"longitudeBlankDegrees", With("--lon", ":13E"), lonFormat + " (got \":13E\")"},
        RefusalCase{"latitudeThreeDegreeDigits", With("--lat", "051:30N"), latFormat + " (got \"051:30N\")"},
        RefusalCase{"latitudeEast", With("--lat", "51:30E"), latFormat + " (got \"51:30E\")"},
        RefusalCase{"latitudeFoldedLetter", With("--lat", QString::fromUtf8("51:30\u017F")), latFormat + " (got \"51:30\xC5\xBF\")"},
        RefusalCase{"latitudeDecimal", With("--lat", "51.5N"), latFormat + " (got \"51.5N\")"},
        RefusalCase{"controlCharactersShownSafely", With("--lat", "5\t1\n"), latFormat + " (got \"5?1?\")"},
        RefusalCase{"longValueCutShort", With("--lat", QString(1000, u'9')), latFormat + " (got \"" + QByteArray(40, '9') + "...\")"},
        // Missing, unknown and repeated options.
        RefusalCase{"noArguments", {}, "--date: missing; give the date of birth as YYYY-MM-DD"},
        RefusalCase{"missingTime", Without("--time"), "--time: missing; give the local time of birth as HH:MM[:SS]"},
        RefusalCase{"missingLongitude", Without("--lon"), "--lon: missing; give DDD:MM(E|W) with --lat, or --place PLACE instead of both"},
        RefusalCase{"missingLatitude", Without("--lat"), "--lat: missing; give DD:MM(N|S) with --lon, or --place PLACE instead of both"},
        RefusalCase{"missingZone", Without("--zone"), "--zone: missing; give --zone N (see --list-zones), --tz ZONE or --place PLACE"},
        RefusalCase{"valueMissingAtTheEnd", Without("--zone") << "--zone", "Missing value after '--zone'. See --help."},
        RefusalCase{"unknownOption", QStringList(greenwich2000) << "--planet" << "Mars", "Unknown option 'planet'. See --help."},
        RefusalCase{"hugeUnknownOptionCutShort", QStringList(greenwich2000) << "--" + QString(100000, u'a'),
                    "Unknown option '" + QByteArray(144, 'a') + "... See --help."},
        RefusalCase{"singleDashWord", QStringList(greenwich2000) << "-json", "Unknown options: j, s, o, n. See --help."},
        RefusalCase{"flagWithValue", QStringList(greenwich2000) << "--dst=yes", "Unexpected value after '--dst'. See --help."},
        RefusalCase{"strayArgument", QStringList(greenwich2000) << "extra", "unexpected argument \"extra\"; every value follows its option"},
        RefusalCase{"repeatedOption", QStringList(greenwich2000) << "--zone" << "34", "--zone given more than once"},
        RefusalCase{"listZonesWithChart", QStringList(greenwich2000) << "--list-zones", "--list-zones takes no other option"},
        RefusalCase{"listZonesAsJson", {"--list-zones", "--json"}, "--list-zones takes no other option"},
        RefusalCase{"jobsZero", QStringList(greenwich2000) << "--jobs" << "0", "--jobs: expected a number of threads from 1 to 64 (got \"0\")"},
        RefusalCase{"jobsPastTheMost", {"--batch", "-", "--jobs", "65"}, "--jobs: expected a number of threads from 1 to 64 (got \"65\")"},
        RefusalCase{"jobsSigned", {"--batch", "-", "--jobs", "+2"}, "--jobs: expected a number of threads from 1 to 64 (got \"+2\")"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });
// clang-format on

QJsonObject ChartJson(const QStringList& arguments) {
    const ProcessRun run = RunChart(arguments + QStringList{"--json"});
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_EQ(run.standardError, QByteArray());
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.standardOutput, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

struct KnownChart {
    const char* name;
    QStringList arguments;
    const char* moonPositionText; // long form, UTF-8
    const char* moonDisplay;
    int zoneCorrectionHours;
    int zoneCorrectionMinutes;
};

void PrintTo(const KnownChart& row, std::ostream* out) {
    *out << row.name;
}

class KnownCharts : public testing::TestWithParam<KnownChart> {};

TEST_P(KnownCharts, JsonCarriesTheVerifiedMoon) {
    const KnownChart& row = GetParam();
    const QJsonObject chart = ChartJson(row.arguments);
    EXPECT_EQ(chart["moonPositionText"].toString(), QString::fromUtf8(row.moonPositionText))
        << "chart " << row.name;
    EXPECT_EQ(chart["positionText"].toArray()[1].toString(), QString::fromUtf8(row.moonDisplay))
        << "chart " << row.name;
    EXPECT_EQ(chart["zoneCorrectionHours"].toInt(-99), row.zoneCorrectionHours)
        << "chart " << row.name;
    EXPECT_EQ(chart["zoneCorrectionMinutes"].toInt(-99), row.zoneCorrectionMinutes)
        << "chart " << row.name;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, KnownCharts,
    testing::Values(
        KnownChart{"greenwich2000", greenwich2000, "19° 27' 45\" Lib", "19 Lib 27", 0, 0},
        KnownChart{"delhi1990IndianTime",
                   {"--date", "1990-08-15", "--time", "10:30", "--lon", "077:13E", "--lat", "28:39N", "--zone", "34"},
                   "18° 54' 27\" Tau", "18 Tau 54", -5, -30},
        KnownChart{"delhi1990WithDst",
                   {"--date", "1990-08-15", "--time", "10:30", "--lon", "077:13E", "--lat", "28:39N", "--zone", "34", "--dst"},
                   "18° 18' 48\" Tau", "18 Tau 18", -5, -30},
        KnownChart{"newYork1976EasternWithDst",
                   {"--date", "1976-07-04", "--time", "23:45", "--lon", "074:00W", "--lat", "40:43N", "--zone", "27", "--dst"},
                   "25° 20' 50\" Vir", "25 Vir 20", 5, 0}),
    [](const testing::TestParamInfo<KnownChart>& info) { return std::string(info.param.name); });
// clang-format on

TEST(Executable, JsonOfGreenwich2000) {
    const QJsonObject chart = ChartJson(greenwich2000);
    EXPECT_EQ(chart["ascendantText"].toString(), QString::fromUtf8("0° 26' 38\" Ari"));
    EXPECT_EQ(chart["midheavenText"].toString(), QString::fromUtf8("15° 45' 37\" Sag"));
    const QJsonArray positions = chart["positionText"].toArray();
    ASSERT_EQ(positions.size(), 14);
    EXPECT_EQ(positions[0].toString(), "16 Sag 31");
    EXPECT_TRUE(chart["chartSiderealCorrection"].isDouble());
    const QJsonArray decanates = chart["decanates"].toArray();
    ASSERT_EQ(decanates.size(), 10);
    EXPECT_EQ(decanates[1].toObject()["body"].toString(), "Moon");
    EXPECT_EQ(decanates[1].toObject()["keyword"].toString(), "Inspiration");
}

TEST(Executable, LongitudeHemisphereReachesTheAscendant) {
    const QStringList delhi = {"--date",  "1990-08-15", "--time", "10:30",  "--lon",
                               "077:13E", "--lat",      "28:39N", "--zone", "34"};
    EXPECT_NE(ChartJson(delhi)["ascendantText"],
              ChartJson(With("--lon", "077:13W", delhi))["ascendantText"])
        << "East and West of Greenwich must give different Ascendants";
    EXPECT_EQ(ChartJson(With("--lon", "000:00E"))["ascendantText"],
              ChartJson(greenwich2000)["ascendantText"])
        << "on the Greenwich meridian East and West are the same place";
}

TEST(Executable, DefaultTable) {
    const ProcessRun run = RunChart(greenwich2000);
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.standardError, QByteArray());
    const QList<QByteArray> lines = run.standardOutput.split('\n');
    ASSERT_EQ(lines.size(), 21) << run.standardOutput.toStdString();
    EXPECT_EQ(lines[0], "Used: KORVANI CHART; 2000-01-01 12:00; 000:00W 51:30N; zone Greenwich "
                        "Mean Time,GMT,0.0 (list), offset +0:00; daylight saving: no; place: none");
    EXPECT_EQ(lines[1], "Calculation: Korvani 1.20 rules");
    EXPECT_TRUE(lines[3].startsWith("Body     Position   Decanate")) << lines[3].toStdString();
    EXPECT_TRUE(lines[5].startsWith("Sun      16 Sag 31  Second Decanate  Aries"))
        << lines[5].toStdString();
    EXPECT_TRUE(lines[6].startsWith("Moon     19 Lib 27  Second Decanate  Aquarius"))
        << lines[6].toStdString();
    EXPECT_EQ(lines[16], "Ascendant  00 Ari 26");
    EXPECT_EQ(lines[17], "Midheaven  15 Sag 45");
}

TEST(Executable, SecondsChangeNothing) {
    const ProcessRun withoutSeconds = RunChart(greenwich2000);
    const ProcessRun withSeconds = RunChart(With("--time", "12:00:59"));
    EXPECT_EQ(withSeconds.exitCode, 0) << withSeconds.standardError.toStdString();
    EXPECT_EQ(withSeconds.standardOutput, withoutSeconds.standardOutput);
}

TEST(Executable, ListZones) {
    // Given twice is still only --list-zones.
    const ProcessRun run = RunChart({"--list-zones", "--list-zones"});
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.standardError, QByteArray());
    ASSERT_TRUE(run.standardOutput.endsWith('\n'));
    const QList<QByteArray> lines = run.standardOutput.chopped(1).split('\n');
    ASSERT_EQ(lines.size(), 71);
    EXPECT_EQ(lines[29], "29  Greenwich Mean Time,GMT,0.0");
    EXPECT_EQ(lines[34], "34  Indian Time, IST, +5.3");
}

TEST(Executable, Help) {
    const ProcessRun run = RunChart({"--help"});
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.standardError, QByteArray());
    EXPECT_TRUE(run.standardOutput.contains("korvani-chart --list-zones"))
        << run.standardOutput.toStdString();
}

// The arguments reach the command exactly as given: Qt's own options are not taken out first,
// and text outside the Basic Multilingual Plane survives into the message.
TEST(Executable, ArgumentsExactlyAsGiven) {
    const struct {
        const char* name;
        QStringList arguments;
        QByteArray message;
    } cases[] = {
        {"qtOptionAsTimeValue",
         {"--date", "2000-01-01", "--time", "-qmljsdebugger=port:1", "--lon", "000:00W", "--lat",
          "51:30N", "--zone", "29"},
         timeFormat + " (got \"-qmljsdebugger=port:1\")"},
        {"qtOptionBeforeTheTime",
         {"--date", "2000-01-01", "--time", "-qmljsdebugger=port:1", "02:04", "--lon", "000:00W",
          "--lat", "51:30N", "--zone", "29"},
         "unexpected argument \"02:04\"; every value follows its option"},
        {"qtStyleOptionAlone", QStringList(greenwich2000) << "-style=fusion",
         "Unknown options: s, t, y, l, e, =, f, u, s, i, o, n. See --help."},
        {"emojiInAValue", With("--zone", QString::fromUtf8("\xF0\x9F\x98\x80")),
         zoneFormat + " (got \"\xF0\x9F\x98\x80\")"},
        {"emojiCountsAsOneCharacter",
         With("--lat", QString::fromUtf8("\xF0\x9F\x98\x80").repeated(41)),
         latFormat + " (got \"" + QByteArray("\xF0\x9F\x98\x80").repeated(40) + "...\")"},
    };
    for (const auto& row : cases) {
        const ProcessRun run = RunChart(row.arguments);
        EXPECT_EQ(run.exitCode, 2) << row.name;
        EXPECT_EQ(run.standardError, "korvani-chart: " + row.message + "\n") << row.name;
    }
}

// --help and --version the GNU way: on standard output, exit 0, the program's own name.
TEST(Executable, HelpAndVersion) {
    const ProcessRun version = RunChart({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.standardError, QByteArray());
    EXPECT_EQ(version.standardOutput, "korvani-chart " KORVANI_PROJECT_VERSION "\n");

    const ProcessRun help = RunChart({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.standardOutput.startsWith("Usage: korvani-chart --date"))
        << help.standardOutput.left(200).toStdString();
    for (const char* option : {"--tz", "--place", "--batch", "--format", "--version"}) {
        EXPECT_TRUE(help.standardOutput.contains(option)) << option;
    }
}

// With one chart --jobs changes nothing.
TEST(Executable, JobsWithOneChartChangesNothing) {
    const ProcessRun plain = RunChart(greenwich2000);
    const ProcessRun withJobs = RunChart(QStringList(greenwich2000) << "--jobs"
                                                                    << "3");
    EXPECT_EQ(withJobs.exitCode, 0) << withJobs.standardError.toStdString();
    EXPECT_EQ(withJobs.standardOutput, plain.standardOutput);
}

QByteArray BatchRows(int count) {
    QByteArray rows;
    for (int row = 0; row < count; ++row) {
        rows += "Row " + QByteArray::number(row) + ",1990-08-15,10:30,077:13E,28:39N,34,,,\n";
    }
    return rows;
}

// A batch reading from a pipe that stays open: what it writes before its input ends, how it ends.
struct OpenInputBatch {
    QProcess process;
    explicit OpenInputBatch(int rows, const QString& outputFile = {}) {
        if (!outputFile.isEmpty()) {
            process.setStandardOutputFile(outputFile);
        }
        process.start(QStringLiteral(KORVANI_CHART_PATH),
                      QStringList{"--batch", "-", "--jobs", "2"});
        EXPECT_TRUE(process.waitForStarted(120000));
        process.write("name,date,time,lon,lat,zone,tz,place,dst\n" + BatchRows(rows));
        while (process.bytesToWrite() > 0 && process.waitForBytesWritten(20000)) {
        }
    }
};

// Every line of a batch's output is whole: the chart of one of BatchRows, its line end included.
void ExpectWholeChartLines(const QByteArray& output) {
    ASSERT_TRUE(output.endsWith('\n')) << output.right(100).toStdString();
    for (const QByteArray& line : output.chopped(1).split('\n')) {
        EXPECT_EQ(QJsonDocument::fromJson(line).object()["input"].toObject()["date"].toString(),
                  "1990-08-15")
            << line.left(100).toStdString();
    }
}

// Output appears chunk by chunk while the input is still open; SIGTERM then ends the run at once,
// by the signal, and what was written is whole lines.
TEST(Executable, BatchWritesAsItGoesAndStopsOnSigtermWithWholeLines) {
    // Far less than a chunk: the rows that have come are answered before more come.
    OpenInputBatch batch(20);
    QByteArray output;
    while (output.count('\n') < 20 && batch.process.waitForReadyRead(20000)) {
        output += batch.process.readAllStandardOutput();
    }
    ASSERT_EQ(output.count('\n'), 20) << "the rows were not answered before the input ended";
    batch.process.terminate(); // SIGTERM
    ASSERT_TRUE(batch.process.waitForFinished(120000)) << "the run did not stop";
    output += batch.process.readAllStandardOutput();
    EXPECT_EQ(batch.process.exitStatus(), QProcess::CrashExit);
    ExpectWholeChartLines(output);
}

// SIGTERM stops a batch whose output pipe nobody reads, and the pipe holds whole lines.
TEST(Executable, BatchStopsOnSigtermWhileItsReaderDoesNotRead) {
    QTemporaryDir folder;
    const QString fifo = folder.filePath(QStringLiteral("output"));
    const int reader = MakeFifo(fifo);
    ASSERT_GE(reader, 0);
    const int capacity = fcntl(reader, F_GETPIPE_SZ);
    // Far more output than the pipe holds: the command comes to wait for its reader.
    OpenInputBatch batch(200, fifo);
    int queued = 0;
    for (int wait = 0;
         wait < 12000 && ioctl(reader, FIONREAD, &queued) == 0 && queued < capacity / 2; ++wait) {
        QThread::msleep(10);
    }
    ASSERT_GE(queued, capacity / 2) << "the pipe did not fill";
    batch.process.terminate(); // SIGTERM
    // A generous bound: a stalled run that ignores the signal never ends.
    const bool stopped = batch.process.waitForFinished(10000);
    EXPECT_TRUE(stopped) << "the run did not stop while its output was stalled";
    if (!stopped) {
        batch.process.kill();
        batch.process.waitForFinished(-1);
    }
    EXPECT_EQ(batch.process.exitStatus(), QProcess::CrashExit);
    const QByteArray output = ReadAvailable(reader);
    ::close(reader);
    ExpectWholeChartLines(output);
}

// --svg writes into a FIFO where it stands, leaving it a FIFO; "-" makes the drawing the whole
// of standard output.
TEST(Executable, SvgIntoAFifoOrStandardOutputReplacesNothing) {
    QTemporaryDir folder;
    const QString fifo = folder.filePath(QStringLiteral("chart.svg"));
    // The drawing, some 30 KB, fits in the pipe: read once the command has ended.
    const int reader = MakeFifo(fifo);
    ASSERT_GE(reader, 0);
    const ProcessRun intoFifo = RunChart(greenwich2000 + QStringList{"--svg", fifo});
    EXPECT_EQ(intoFifo.exitCode, 0) << intoFifo.standardError.toStdString();
    const QByteArray drawing = ReadAvailable(reader);
    ::close(reader);
    EXPECT_TRUE(drawing.startsWith("<?xml")) << drawing.left(100).toStdString();
    EXPECT_TRUE(IsFifo(fifo)) << "the FIFO was replaced";

    const ProcessRun toStandardOutput = RunChart(greenwich2000 + QStringList{"--svg", "-"});
    EXPECT_EQ(toStandardOutput.exitCode, 0) << toStandardOutput.standardError.toStdString();
    EXPECT_EQ(toStandardOutput.standardOutput, drawing);
}

// A full disk stops the run at once, with a message and status 1, though its input never ends.
TEST(Executable, BatchStopsAtTheFirstWriteError) {
    if (!QFile::exists(QStringLiteral("/dev/full"))) {
        GTEST_SKIP() << "no /dev/full here";
    }
    OpenInputBatch batch(3000, QStringLiteral("/dev/full"));
    ASSERT_TRUE(batch.process.waitForFinished(20000)) << "the run went on after the error";
    EXPECT_EQ(batch.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(batch.process.exitCode(), 1);
    EXPECT_EQ(batch.process.readAllStandardError(),
              "korvani-chart: the output could not be written\n");
}

// The exit statuses that the help text states are the ones the program ends with.
TEST(Executable, ExitStatusesAsTheHelpStates) {
    const QByteArray help = RunChart({"--help"}).standardOutput;
    const qsizetype section = help.indexOf("Exit status:\n");
    ASSERT_GE(section, 0) << "the help states no exit status";
    // "  N  text" lines of the section: the status stated for a phrase.
    const auto statedFor = [&](const char* phrase) {
        const qsizetype at = help.indexOf(phrase, section);
        const qsizetype lineStart = help.lastIndexOf("\n  ", at) + 3;
        bool number = false;
        const int status = help.mid(lineStart, 1).toInt(&number);
        return number ? status : -1;
    };
    const struct {
        const char* phrase;
        QStringList arguments;
    } cases[] = {
        {"was written", greenwich2000},
        {"was written", {"--list-zones"}},
        {"input was refused", With("--zone", "71")},
        {"could not be read", {"--batch", "/nonexistent/births.csv"}},
    };
    for (const auto& row : cases) {
        const int stated = statedFor(row.phrase);
        ASSERT_GE(stated, 0) << "no status stated for " << row.phrase;
        EXPECT_EQ(RunChart(row.arguments).exitCode, stated) << row.phrase;
    }
}

} // namespace
