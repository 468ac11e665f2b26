// The command's --tz, --place and zone names, and batches of CSV rows, run in-process over a
// small place list of the test's own.

#include "cli/ChartCommand.h"
#include "cli/TestPlaces.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

CommandOutput RunWith(const QStringList& options,
                      const CommandEnvironment& environment = WithPlaces()) {
    return RunCommand(QStringList{QStringLiteral("korvani-chart")} + options, environment);
}

QJsonObject Json(const CommandOutput& output) {
    EXPECT_EQ(output.exitStatus, 0) << output.standardError.toStdString();
    return QJsonDocument::fromJson(output.standardOutput).object();
}

const QStringList delhiBirth = {"--date", "1990-08-15", "--time", "10:30"};
const QStringList delhiPlace = {"--lon", "077:13E", "--lat", "28:39N"};

// Accepted zones: the correction the chart gets and what the input object reports.
TEST(ZoneOptions, CorrectionAndReportedInput) {
    const struct {
        const char* name;
        QStringList options;
        int hours;
        int minutes;
        const char* source;
        const char* offset;
        bool daylightSaving;
        const char* longitude;
    } cases[] = {
        {"tzIndia", delhiBirth + delhiPlace + QStringList{"--tz", "Asia/Kolkata"}, -5, -30, "tz",
         "+5:30", false, "077:13E"},
        {"tzDoubleSummerTime",
         QStringList{"--date", "1941-06-01", "--time", "12:00", "--lon", "000:08W", "--lat",
                     "51:31N", "--tz", "Europe/London"},
         -2, 0, "tz", "+2:00", true, "000:08W"},
        {"tzWarTime",
         QStringList{"--date", "1943-01-15", "--time", "12:00"} + delhiPlace +
             QStringList{"--tz", "Asia/Kolkata"},
         // War time all year: not ahead of that year's lowest offset, so no daylight saving.
         -6, -30, "tz", "+6:30", false, "077:13E"},
        {"tzMeanTimeToTheSecond",
         QStringList{"--date", "1901-03-01", "--time", "12:00"} + delhiPlace +
             QStringList{"--tz", "Asia/Kolkata"},
         -5, -21, "tz", "+5:21:10", false, "077:13E"},
        {"tzWestOfGreenwich",
         QStringList{"--date", "1976-07-04", "--time", "23:45", "--lon", "074:00W", "--lat",
                     "40:43N", "--tz", "America/New_York"},
         4, 0, "tz", "-4:00", true, "074:00W"},
        {"placeGivesZone", delhiBirth + QStringList{"--place", "Kathmandu"}, -5, -45, "place",
         "+5:45", false, "085:19E"},
        {"placeWithListZone",
         delhiBirth + QStringList{"--place", "New Delhi, India", "--zone", "34"}, -5, -30, "list",
         "+5:30", false, "077:13E"},
        {"placeWithTz", delhiBirth + QStringList{"--place", "London", "--tz", "Asia/Kolkata"}, -5,
         -30, "tz", "+5:30", false, "000:08W"},
        {"zoneAbbreviation", delhiBirth + delhiPlace + QStringList{"--zone", "IST"}, -5, -30,
         "list", "+5:30", false, "077:13E"},
        {"zoneTextWithDst",
         delhiBirth + delhiPlace + QStringList{"--zone", "Eastern Standard Time,EST,-5.0", "--dst"},
         5, 0, "list", "-4:00", true, "077:13E"},
        {"zoneAbbreviationAnyCase", delhiBirth + delhiPlace + QStringList{"--zone", "gmt"}, 0, 0,
         "list", "+0:00", false, "077:13E"},
    };
    for (const auto& row : cases) {
        const QJsonObject chart = Json(RunWith(row.options + QStringList{"--json"}));
        EXPECT_EQ(chart["zoneCorrectionHours"].toInt(-99), row.hours) << row.name;
        EXPECT_EQ(chart["zoneCorrectionMinutes"].toInt(-99), row.minutes) << row.name;
        const QJsonObject input = chart["input"].toObject();
        EXPECT_EQ(input["zone"].toObject()["source"].toString(), row.source) << row.name;
        EXPECT_EQ(input["offset"].toString(), row.offset) << row.name;
        EXPECT_EQ(input["daylightSaving"].toBool(), row.daylightSaving) << row.name;
        EXPECT_EQ(input["longitude"].toString(), row.longitude) << row.name;
    }
}

// The same birth instant by list row and by database gives the same chart.
TEST(ZoneOptions, TzAndMatchingRowGiveTheSameChart) {
    const QJsonObject byRow =
        Json(RunWith(delhiBirth + delhiPlace + QStringList{"--zone", "34", "--json"}));
    const QJsonObject byTz =
        Json(RunWith(delhiBirth + delhiPlace + QStringList{"--tz", "Asia/Kolkata", "--json"}));
    EXPECT_EQ(byRow["positionText"], byTz["positionText"]);
    EXPECT_EQ(byRow["ascendantText"], byTz["ascendantText"]);
    const QJsonArray bodies = byTz["bodies"].toArray();
    ASSERT_EQ(bodies.size(), 14);
    const QStringList names = {"Sun",       "Moon",      "Mercury", "Venus",   "Mars",
                               "Jupiter",   "Saturn",    "Uranus",  "Neptune", "Pluto",
                               "Ascendant", "Midheaven", "Rahu",    "Ketu"};
    for (int body = 0; body < 14; ++body) {
        const QJsonObject object = bodies[body].toObject();
        EXPECT_EQ(object["name"].toString(), names[body]);
        EXPECT_EQ(object["position"], byTz["positionText"].toArray()[body]);
        // The number agrees with the text: "18 Tau 54" is 30 + 18 + 54/60 degrees or a little more.
        const QString text = object["position"].toString();
        const double fromText =
            QStringLiteral("AriTauGemCanLeoVirLibScoSagCapAquPis").indexOf(text.mid(3, 3)) / 3 *
                30.0 +
            text.left(2).toInt() + text.right(2).toInt() / 60.0;
        const double longitude = object["longitudeDegrees"].toDouble(-1);
        EXPECT_GE(longitude, fromText) << names[body].toStdString();
        EXPECT_LT(longitude, fromText + 1.0 / 60.0) << names[body].toStdString();
        EXPECT_EQ(object.contains("keyword"), body < 10) << names[body].toStdString();
    }
}

TEST(ZoneOptions, Refusals) {
    const struct {
        const char* name;
        QStringList options;
        const char* message;
    } cases[] = {
        {"gapNamesBothOffsets",
         QStringList{"--date", "1976-04-25", "--time", "02:30", "--lon", "074:00W", "--lat",
                     "40:43N", "--tz", "America/New_York"},
         "--tz: 02:30 on 1976-04-25 did not exist in America/New_York: the clocks went forward "
         "from -5:00 to -4:00; check the time, or give --zone and --dst"},
        {"repeatNamesBothOffsets",
         QStringList{"--date", "1976-10-31", "--time", "01:30", "--lon", "074:00W", "--lat",
                     "40:43N", "--tz", "America/New_York"},
         "--tz: 01:30 on 1976-10-31 happened twice in America/New_York, first at -4:00 and then at "
         "-5:00; give the offset with --zone and --dst instead"},
        {"placeZoneRepeat",
         QStringList{"--date", "1976-10-31", "--time", "01:30", "--place",
                     "Springfield, Massachusetts"},
         "--place: 01:30 on 1976-10-31 happened twice in America/New_York, first at -4:00 and then "
         "at -5:00; give the offset with --zone and --dst instead"},
        {"dstWithTz", delhiBirth + delhiPlace + QStringList{"--tz", "Asia/Kolkata", "--dst"},
         "--dst: cannot be combined with --tz; the time-zone database says whether daylight "
         "saving was in force"},
        {"dstWithPlaceZone", delhiBirth + QStringList{"--place", "London", "--dst"},
         "--dst: cannot be combined with --place; the time-zone database says whether daylight "
         "saving was in force"},
        {"tzWithZone",
         delhiBirth + delhiPlace + QStringList{"--tz", "Asia/Kolkata", "--zone", "34"},
         "--tz: cannot be combined with --zone; give one of them"},
        {"unknownTz", delhiBirth + delhiPlace + QStringList{"--tz", "Asia/Atlantis"},
         "--tz: unknown time zone \"Asia/Atlantis\" (expected a name of the time-zone database "
         "such as Asia/Kolkata)"},
        {"tzSixteenHoursEast", delhiBirth + delhiPlace + QStringList{"--tz", "UTC+16:00"},
         "--tz: time zone \"UTC+16:00\" gives an offset of +16:00, more than 15 hours from "
         "universal time"},
        {"tzSixteenHoursWest", delhiBirth + delhiPlace + QStringList{"--tz", "UTC-16:00"},
         "--tz: time zone \"UTC-16:00\" gives an offset of -16:00, more than 15 hours from "
         "universal time"},
        {"placeWithLongitude", delhiBirth + QStringList{"--place", "London", "--lon", "000:08W"},
         "--place: cannot be combined with --lon or --lat; the place gives the coordinates"},
        {"ambiguousPlace", delhiBirth + QStringList{"--place", "Springfield"},
         "--place: \"Springfield\" names more than one place; add the state or country: "
         "Springfield, Missouri, United States of America; Springfield, Massachusetts, United "
         "States of America"},
        {"placeNotFound", delhiBirth + QStringList{"--place", "London, France"},
         "--place: no place matches \"London, France\" (give \"City, State, Country\" or use --lon "
         "and --lat)"},
        {"ambiguousAbbreviation", delhiBirth + delhiPlace + QStringList{"--zone", "NST"},
         "--zone: \"NST\" names more than one zone; give its position: 50 Newfoundland Standard "
         "Time,NST,-3.5; 52 North Sumatra Time,NST,+6.5"},
    };
    for (const auto& row : cases) {
        const CommandOutput output = RunWith(row.options);
        EXPECT_EQ(output.exitStatus, refusedExitStatus) << row.name;
        EXPECT_TRUE(output.standardOutput.isEmpty()) << row.name;
        EXPECT_EQ(output.standardError.toStdString(),
                  std::string("korvani-chart: ") + row.message + "\n")
            << row.name;
    }
    // Without a place list, --place is refused and says what to give instead.
    const CommandOutput noList =
        RunWith(delhiBirth + QStringList{"--place", "London"}, CommandEnvironment{});
    EXPECT_EQ(noList.exitStatus, refusedExitStatus);
    EXPECT_TRUE(noList.standardError.contains("no place list"))
        << noList.standardError.toStdString();
}

CommandOutput RunBatchText(const QByteArray& csv, const QStringList& extra = {}) {
    QBuffer input;
    input.setData(csv);
    input.open(QIODevice::ReadOnly);
    return RunWith(QStringList{"--batch", "-"} + extra, WithPlaces(&input));
}

const QByteArray header = "name,date,time,lon,lat,zone,tz,place,dst\n";

// A batch mixing good and bad rows: each row's own answer, in order, the bad never spoiling
// the good; every refusal exactly the single command's.
TEST(Batch, MixedRowsEachAnsweredAlone) {
    const QByteArray rows =
        header + "Asha,1990-08-15,10:30,077:13E,28:39N,34,,,\n"              // line 2
                 "Bad date,1990-02-30,10:30,077:13E,28:39N,34,,,\n"          // line 3
                 "\"Smith, J\",1976-07-04,23:45,074:00W,40:43N,EST,,,yes\n"  // line 4
                 "\n"                                                        // line 5, blank
                 "Gap,1976-04-25,02:30,074:00W,40:43N,,America/New_York,,\n" // line 6
                 "By place,1990-08-15,10:30,,,,,\"New Delhi, India\",0\n"    // line 7
                 "Bad dst,1990-08-15,10:30,077:13E,28:39N,34,,,maybe\r\n"    // line 8
                 "Same as 2,1990-08-15,10:30,077:13E,28:39N,,Asia/Kolkata,,FALSE\n"; // line 9
    const CommandOutput output = RunBatchText(rows);
    EXPECT_EQ(output.exitStatus, refusedExitStatus);
    EXPECT_EQ(output.standardError, "korvani-chart: 3 of 7 rows refused\n");
    const QList<QByteArray> lines = output.standardOutput.split('\n');
    ASSERT_EQ(lines.size(), 8) << output.standardOutput.toStdString(); // seven and the last end
    EXPECT_TRUE(lines.last().isEmpty());

    const struct {
        int line;
        const char* error; // empty for a chart
        QStringList sameAsCommand;
    } expected[] = {
        {2,
         "",
         {"--date", "1990-08-15", "--time", "10:30", "--lon", "077:13E", "--lat", "28:39N",
          "--zone", "34"}},
        {3, "date: Please Enter Correct Date Or Month!", {}},
        {4,
         "",
         {"--date", "1976-07-04", "--time", "23:45", "--lon", "074:00W", "--lat", "40:43N",
          "--zone", "27", "--dst"}},
        {6,
         "tz: 02:30 on 1976-04-25 did not exist in America/New_York: the clocks went forward "
         "from -5:00 to -4:00; check the time, or give --zone and --dst",
         {}},
        {7, "", {"--date", "1990-08-15", "--time", "10:30", "--place", "New Delhi, India"}},
        {8, "dst: expected 1 or 0, true or false, yes or no (got \"maybe\")", {}},
        {9,
         "",
         {"--date", "1990-08-15", "--time", "10:30", "--lon", "077:13E", "--lat", "28:39N",
          "--zone", "34"}},
    };
    for (int row = 0; row < 7; ++row) {
        QJsonParseError parseError;
        const QJsonObject object = QJsonDocument::fromJson(lines[row], &parseError).object();
        ASSERT_EQ(parseError.error, QJsonParseError::NoError) << lines[row].toStdString();
        EXPECT_EQ(object["line"].toInt(), expected[row].line);
        EXPECT_EQ(object["error"].toString().toStdString(), expected[row].error)
            << "line " << expected[row].line;
        if (!expected[row].sameAsCommand.isEmpty()) {
            const QJsonObject single =
                Json(RunWith(expected[row].sameAsCommand + QStringList{"--json"}));
            EXPECT_EQ(object["positionText"], single["positionText"])
                << "line " << expected[row].line;
            EXPECT_EQ(object["decanates"], single["decanates"]) << "line " << expected[row].line;
        }
    }
    EXPECT_EQ(QJsonDocument::fromJson(lines[2]).object()["input"].toObject()["name"].toString(),
              "Smith, J");
}

// CSV format: a header and one row per data row, every row with the header's column count.
TEST(Batch, CsvRowsMatchTheHeader) {
    const CommandOutput output = RunBatchText(header + "A,1990-08-15,10:30,077:13E,28:39N,34,,,\n"
                                                       "B,1990-08-15,10:30,077:13E,28:39N,99,,,\n",
                                              {"--format", "csv"});
    EXPECT_EQ(output.exitStatus, refusedExitStatus);
    const QList<QByteArray> lines = output.standardOutput.split('\n');
    ASSERT_EQ(lines.size(), 4) << output.standardOutput.toStdString();
    // Count columns outside quotes.
    const auto columns = [](const QByteArray& line) {
        int count = 1;
        bool quoted = false;
        for (const char character : line) {
            quoted = character == '"' ? !quoted : quoted;
            count += (!quoted && character == ',') ? 1 : 0;
        }
        return count;
    };
    EXPECT_EQ(columns(lines[1]), columns(lines[0]));
    EXPECT_EQ(columns(lines[2]), columns(lines[0]));
    EXPECT_TRUE(lines[1].startsWith(
        "2,,A,1990-08-15,10:30,077:13E,28:39N,list,\"Indian Time, IST, +5.3\",+5:30,0,"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("3,\"zone: expected")) << lines[2].toStdString();
}

// Malformed input: a clear message for the row or the file, and the next good row still answered.
TEST(Batch, MalformedInput) {
    const QByteArray good = "ok,1990-08-15,10:30,077:13E,28:39N,34,,,\n";
    const struct {
        const char* name;
        QByteArray csv;
        int exitStatus;
        const char* rowError;  // for the row on line 2; empty when the whole file is refused
        const char* fileError; // on standard error
    } cases[] = {
        {"empty", "", 2, "",
         "--batch: the input is empty; expected the header "
         "name,date,time,lon,lat,zone,tz,place,dst and one row per chart"},
        {"headerOnly", header, 2, "", "--batch: the input has a header but no rows"},
        {"wrongHeader", "date,time\n" + good, 2, "",
         "--batch: line 1 must be the header name,date,time,lon,lat,zone,tz,place,dst"},
        {"unbalancedQuotes", header + "\"open,1990-08-15,10:30,077:13E,28:39N,34,,,\n" + good, 2,
         "unbalanced quotes: a quoted value is not closed on its line", "1 of 2 rows refused"},
        {"quoteInsideValue", header + "o\"k,1990-08-15,10:30,077:13E,28:39N,34,,,\n" + good, 2,
         "unbalanced quotes: a quote inside an unquoted value", "1 of 2 rows refused"},
        {"tooFewColumns", header + "ok,1990-08-15,10:30\n" + good, 2,
         "expected 9 columns (name,date,time,lon,lat,zone,tz,place,dst), found 3",
         "1 of 2 rows refused"},
        {"tooManyColumns", header + "ok,1990-08-15,10:30,077:13E,28:39N,34,,,,\n" + good, 2,
         "expected 9 columns (name,date,time,lon,lat,zone,tz,place,dst), found 10",
         "1 of 2 rows refused"},
        {"invalidUtf8", header + "\xC3\x28,1990-08-15,10:30,077:13E,28:39N,34,,,\n" + good, 2,
         "the line is not valid UTF-8", "1 of 2 rows refused"},
        {"megabyteLine", header + QByteArray(1 << 20, 'x') + "\n" + good, 2,
         "the line is longer than 65536 bytes", "1 of 2 rows refused"},
        {"byteOrderMarkAndNoFinalNewline", "\xEF\xBB\xBF" + header + good.chopped(1), 0, "", ""},
        // Named columns after the nine are read and ignored; each must be named, once.
        {"namedColumns", header.chopped(1) + ",city,note\n" + good.chopped(1) + ",Delhi,x\n", 0, "",
         ""},
        {"namedColumnsRowShort", header.chopped(1) + ",city\n" + good + good.chopped(1) + ",x\n", 2,
         "expected 10 columns (as the header names them), found 9", "1 of 2 rows refused"},
        {"unnamedColumn", header.chopped(1) + ",city,\n" + good, 2, "",
         "--batch: line 1 must be the header name,date,time,lon,lat,zone,tz,place,dst"},
        {"columnNamedTwice", header.chopped(1) + ",city,City\n" + good, 2, "",
         "--batch: line 1 must be the header name,date,time,lon,lat,zone,tz,place,dst"},
    };
    for (const auto& row : cases) {
        const CommandOutput output = RunBatchText(row.csv);
        EXPECT_EQ(output.exitStatus, row.exitStatus) << row.name;
        const QByteArray expectedError =
            *row.fileError ? "korvani-chart: " + QByteArray(row.fileError) + "\n" : QByteArray();
        EXPECT_EQ(output.standardError, expectedError) << row.name;
        if (*row.rowError == '\0' && row.exitStatus != 0) {
            EXPECT_TRUE(output.standardOutput.isEmpty()) << row.name;
            continue;
        }
        const QList<QByteArray> lines = output.standardOutput.split('\n');
        ASSERT_GE(lines.size(), 2) << row.name;
        const QJsonObject first = QJsonDocument::fromJson(lines[0]).object();
        EXPECT_EQ(first["line"].toInt(), 2) << row.name;
        EXPECT_EQ(first["error"].toString().toStdString(), row.rowError) << row.name;
        const QJsonObject last = QJsonDocument::fromJson(lines[lines.size() - 2]).object();
        EXPECT_FALSE(last.contains("error")) << row.name;
        EXPECT_TRUE(last.contains("positionText")) << row.name;
    }
}

} // namespace

// A run remembers the answers about places and zones: a value named again, in another row,
// gets the answer it got the first time, refusals included.
TEST(Batch, ValuesNamedAgainAnsweredAlike) {
    const QByteArray rows[] = {
        "A,1990-08-15,10:30,,,,,\"London, England\",",
        "B,1990-08-15,10:30,,,,,London,",                        // more than one place
        "C,1990-08-15,10:30,,,,,Nowhere Town,",                  // no place
        "D,1990-08-15,10:30,077:13E,28:39N,ist,,,",              // one row's abbreviation
        "E,1990-08-15,10:30,077:13E,28:39N,NST,,,",              // two rows' abbreviation
        "F,1990-08-15,10:30,077:13E,28:39N,,Asia/Kathmandu,,",   // a database zone
        "G,1990-08-15,10:30,077:13E,28:39N,,Nowhere/Atlantis,,", // an unknown one
    };
    QByteArray csv = header;
    for (int pass = 0; pass < 2; ++pass) {
        for (const QByteArray& row : rows) {
            csv += row + '\n';
        }
    }
    const CommandOutput output = RunBatchText(csv);
    const QList<QByteArray> lines = output.standardOutput.split('\n');
    const qsizetype count = std::size(rows);
    ASSERT_EQ(lines.size(), 2 * count + 1) << output.standardOutput.toStdString();
    for (qsizetype row = 0; row < count; ++row) {
        QJsonObject first = QJsonDocument::fromJson(lines[row]).object();
        QJsonObject again = QJsonDocument::fromJson(lines[row + count]).object();
        EXPECT_EQ(again.take(u"line").toInt(), first.take(u"line").toInt() + count);
        EXPECT_EQ(again, first) << lines[row].toStdString();
    }
}
