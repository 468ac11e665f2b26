// The time at birth from the system's time-zone database, and the zone-list row that gives it.

#include "places/BirthTime.h"

#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartInput.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>

#include <cmath>

namespace {

using Kind = LocalTimeReading::Kind;

std::shared_ptr<const ZoneHistory> Zone(const char* id) {
    auto zone = ZoneHistory::ForZone(QByteArray(id));
    EXPECT_NE(zone, nullptr) << id << " missing from the time-zone database";
    return zone;
}

// Cases with a known history, each catching a different mistake: a sign turned round (New
// York, west of Greenwich), daylight saving of two hours (London 1941), a half and a quarter
// hour (Delhi war time, Kathmandu), seconds (Kolkata's mean time) and both clock changes.
TEST(ZoneHistory, KnownOffsetsAtBirth) {
    const struct {
        const char* name;
        const char* zone;
        QDate date;
        QTime time;
        Kind kind;
        const char* offset;
        bool daylightSaving;
        const char* laterOffset; // for a gap or a repeat
    } cases[] = {
        {"londonDoubleSummerTime",
         "Europe/London",
         {1941, 6, 1},
         {12, 0},
         Kind::Unique,
         "+2:00",
         true,
         ""},
        {"londonWinter1941StillSummerTime",
         "Europe/London",
         {1941, 1, 15},
         {12, 0},
         Kind::Unique,
         "+1:00",
         true,
         ""},
        {"londonWinter1970s",
         "Europe/London",
         {1976, 1, 15},
         {12, 0},
         Kind::Unique,
         "+0:00",
         false,
         ""},
        {"delhiWarTime", "Asia/Kolkata", {1943, 1, 15}, {12, 0}, Kind::Unique, "+6:30", true, ""},
        {"kolkataLocalMeanTime",
         "Asia/Kolkata",
         {1901, 3, 1},
         {12, 0},
         Kind::Unique,
         "+5:21:10",
         false,
         ""},
        {"kolkataToday", "Asia/Kolkata", {1990, 8, 15}, {10, 30}, Kind::Unique, "+5:30", false, ""},
        {"kathmanduQuarterHour",
         "Asia/Kathmandu",
         {1990, 8, 15},
         {10, 30},
         Kind::Unique,
         "+5:45",
         false,
         ""},
        {"newYorkBeforeSpringChange",
         "America/New_York",
         {1976, 4, 25},
         {1, 59},
         Kind::Unique,
         "-5:00",
         false,
         ""},
        {"newYorkInTheGap",
         "America/New_York",
         {1976, 4, 25},
         {2, 30},
         Kind::Gap,
         "-5:00",
         false,
         "-4:00"},
        {"newYorkAfterSpringChange",
         "America/New_York",
         {1976, 4, 25},
         {3, 0},
         Kind::Unique,
         "-4:00",
         true,
         ""},
        {"newYorkRepeatedHour",
         "America/New_York",
         {1976, 10, 31},
         {1, 30},
         Kind::Repeated,
         "-4:00",
         true,
         "-5:00"},
        {"newYorkAfterAutumnChange",
         "America/New_York",
         {1976, 10, 31},
         {2, 0},
         Kind::Unique,
         "-5:00",
         false,
         ""},
        {"newYork2050Rules",
         "America/New_York",
         {2050, 7, 4},
         {12, 0},
         Kind::Unique,
         "-4:00",
         true,
         ""},
    };
    for (const auto& row : cases) {
        const auto zone = Zone(row.zone);
        ASSERT_NE(zone, nullptr);
        const LocalTimeReading reading = zone->ReadLocalTime(row.date, row.time);
        EXPECT_EQ(reading.kind, row.kind) << row.name;
        EXPECT_EQ(FormatUtcOffset(reading.offset.offsetSeconds).toStdString(), row.offset)
            << row.name;
        EXPECT_EQ(reading.offset.daylightSaving, row.daylightSaving) << row.name;
        if (row.kind != Kind::Unique) {
            EXPECT_EQ(FormatUtcOffset(reading.laterOffset.offsetSeconds).toStdString(),
                      row.laterOffset)
                << row.name;
        }
    }
    EXPECT_EQ(ZoneHistory::ForZone("Nowhere/Atlantis"), nullptr);
}

TEST(ZoneCorrectionForOffset, SignedAndRoundedToTheMinute) {
    const struct {
        int offsetSeconds;
        int hours;
        int minutes;
        const char* shown;
    } cases[] = {
        {19800, -5, -30, "+5:30"},        {20700, -5, -45, "+5:45"}, {19270, -5, -21, "+5:21:10"},
        {-18000, 5, 0, "-5:00"},          {-1800, 0, 30, "-0:30"},   {29, 0, 0, "+0:00:29"},
        {30, 0, -1, "+0:00:30"},          {-30, 0, 1, "-0:00:30"},   {0, 0, 0, "+0:00"},
        {-34200 - 59, 9, 31, "-9:30:59"},
    };
    for (const auto& row : cases) {
        const ZoneCorrection correction = ZoneCorrectionForOffset(row.offsetSeconds);
        EXPECT_EQ(correction.hours, row.hours) << row.shown;
        EXPECT_EQ(correction.minutes, row.minutes) << row.shown;
        EXPECT_EQ(FormatUtcOffset(row.offsetSeconds).toStdString(), row.shown);
    }
}

TEST(RecommendZoneRow, NamedCases) {
    const struct {
        const char* name;
        const char* zone;
        QDate date;
        QTime time;
        int position;
        bool box;
        bool exact;
        int errorSeconds;
        const char* noteMentions;
    } cases[] = {
        {"indianTime", "Asia/Kolkata", {1990, 8, 15}, {10, 30}, 34, false, true, 0, ""},
        {"londonWinterIsGmt", "Europe/London", {1976, 1, 15}, {12, 0}, 29, false, true, 0, ""},
        {"londonDoubleSummerBoxTicked",
         "Europe/London",
         {1941, 6, 1},
         {12, 0},
         16,
         true,
         true,
         0,
         ""},
        {"newYorkSummerEasternWithBox",
         "America/New_York",
         {1976, 7, 4},
         {12, 0},
         27,
         true,
         true,
         0,
         ""},
        {"kathmanduNearestIsIndian",
         "Asia/Kathmandu",
         {1990, 8, 15},
         {10, 30},
         34,
         false,
         false,
         -900,
         "+5:45"},
        {"kolkataMeanTime",
         "Asia/Kolkata",
         {1901, 3, 1},
         {12, 0},
         34,
         false,
         false,
         530,
         "local mean time of +5:21:10"},
        {"gapNamesBothOffsets",
         "America/New_York",
         {1976, 4, 25},
         {2, 30},
         27,
         false,
         false,
         0,
         "-4:00"},
        {"repeatNamesBothOffsets",
         "America/New_York",
         {1976, 10, 31},
         {1, 30},
         27,
         true,
         false,
         0,
         "-5:00"},
    };
    for (const auto& row : cases) {
        const auto zone = Zone(row.zone);
        ASSERT_NE(zone, nullptr);
        const ZoneRecommendation got = RecommendZoneRow(zone->ReadLocalTime(row.date, row.time));
        EXPECT_EQ(got.zonePosition, row.position) << row.name;
        EXPECT_EQ(got.daylightSavingBox, row.box) << row.name;
        EXPECT_EQ(got.exact, row.exact) << row.name;
        EXPECT_EQ(got.errorSeconds, row.errorSeconds) << row.name;
        EXPECT_EQ(got.note.isEmpty(), row.exact) << row.name;
        EXPECT_TRUE(got.note.contains(QString::fromUtf8(row.noteMentions)))
            << row.name << ": " << got.note.toStdString();
    }
}

// The universal time the chart takes from the recommended row and box equals the one QTimeZone
// gives for the same local time, for every place and date of the sweep where a row can give it.
TEST(RecommendZoneRow, UniversalTimeAgreesWithTheDatabase) {
    const char* zones[] = {
        "Europe/London",      "Europe/Paris",     "Europe/Berlin",       "Europe/Moscow",
        "Asia/Kolkata",       "Asia/Kathmandu",   "Asia/Tokyo",          "Asia/Shanghai",
        "Australia/Adelaide", "Australia/Sydney", "Pacific/Auckland",    "America/New_York",
        "America/Chicago",    "America/Denver",   "America/Los_Angeles", "America/St_Johns",
        "America/Sao_Paulo",  "Pacific/Honolulu", "Africa/Lagos",        "Asia/Tehran"};
    int compared = 0;
    int exact = 0;
    for (const char* id : zones) {
        const auto zone = Zone(id);
        ASSERT_NE(zone, nullptr);
        const QTimeZone database{QByteArray(id)};
        for (int year = 1901; year <= 2050; year += 7) {
            for (const int month : {1, 4, 7, 10}) {
                const QDate date(year, month, 11 + year % 17);
                const QTime time((year * 5 + month) % 24, (year * 7) % 60);
                const LocalTimeReading reading = zone->ReadLocalTime(date, time);
                if (reading.kind != Kind::Unique) {
                    continue;
                }
                const ZoneRecommendation row = RecommendZoneRow(reading);
                ++compared;
                const qint64 databaseUniversal = QDateTime(date, time, database).toSecsSinceEpoch();
                EXPECT_EQ(reading.offset.offsetSeconds,
                          QDateTime(date, time, database).offsetFromUtc())
                    << id << " " << date.toString(Qt::ISODate).toStdString();
                if (!row.exact) {
                    EXPECT_NE(row.errorSeconds, 0) << id;
                    continue;
                }
                ++exact;
                // The chart's own universal time, from the row's correction and the box.
                ChartState chart;
                ChartInput input;
                input.year = year;
                input.monthPosition = month - 1;
                input.day = date.day();
                input.hour = time.hour();
                input.minute = time.minute();
                input.timeZonePosition = row.zonePosition;
                input.daylightSaving = row.daylightSavingBox;
                LoadChartInput(chart, input);
                const double chartUniversalHours = UniversalTimeHours(chart);
                const qint64 chartUniversal =
                    QDateTime(date, QTime(0, 0), Qt::UTC).toSecsSinceEpoch() +
                    std::llround(chartUniversalHours * 3600.0);
                EXPECT_EQ(chartUniversal, databaseUniversal)
                    << id << " " << date.toString(Qt::ISODate).toStdString() << " "
                    << time.toString().toStdString() << " row " << row.zonePosition
                    << (row.daylightSavingBox ? " with box" : "");
            }
        }
    }
    EXPECT_GT(compared, 1000);
    EXPECT_GT(exact, compared / 2) << "most births of the sweep have a row that fits";
}

} // namespace
