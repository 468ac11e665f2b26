// The time at birth from the system's time-zone database, and the zone-list row that gives it.

#include "places/BirthTime.h"

#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartInput.h"
#include "chart/TimeZones.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QTimeZone>

#include <cmath>
#include <thread>
#include <utility>
#include <vector>

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
        // Summer time all year, so not ahead of the year's lowest offset.
        {"londonWinter1941SummerTimeAllYear",
         "Europe/London",
         {1941, 1, 15},
         {12, 0},
         Kind::Unique,
         "+1:00",
         false,
         ""},
        {"londonWinter1970s",
         "Europe/London",
         {1976, 1, 15},
         {12, 0},
         Kind::Unique,
         "+0:00",
         false,
         ""},
        {"delhiWarTimeAllYear",
         "Asia/Kolkata",
         {1943, 1, 15},
         {12, 0},
         Kind::Unique,
         "+6:30",
         false,
         ""},
        {"delhiWarTimeBegins",
         "Asia/Kolkata",
         {1942, 9, 15},
         {12, 0},
         Kind::Unique,
         "+6:30",
         true,
         ""},
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
        // The exact edges: the first second of a gap and of a repeat, and the second before.
        {"newYorkLastSecondBeforeGap",
         "America/New_York",
         {1976, 4, 25},
         {1, 59, 59},
         Kind::Unique,
         "-5:00",
         false,
         ""},
        {"newYorkFirstSecondOfGap",
         "America/New_York",
         {1976, 4, 25},
         {2, 0, 0},
         Kind::Gap,
         "-5:00",
         false,
         "-4:00"},
        {"newYorkLastSecondOfGap",
         "America/New_York",
         {1976, 4, 25},
         {2, 59, 59},
         Kind::Gap,
         "-5:00",
         false,
         "-4:00"},
        {"newYorkLastSecondBeforeRepeat",
         "America/New_York",
         {1976, 10, 31},
         {0, 59, 59},
         Kind::Unique,
         "-4:00",
         true,
         ""},
        {"newYorkFirstSecondOfRepeat",
         "America/New_York",
         {1976, 10, 31},
         {1, 0, 0},
         Kind::Repeated,
         "-4:00",
         true,
         "-5:00"},
        {"newYorkLastSecondOfRepeat",
         "America/New_York",
         {1976, 10, 31},
         {1, 59, 59},
         Kind::Repeated,
         "-4:00",
         true,
         "-5:00"},
        // After 2037 the changes come from the database's rule: New York's of 2045.
        {"newYork2045SpringGap",
         "America/New_York",
         {2045, 3, 12},
         {2, 30},
         Kind::Gap,
         "-5:00",
         false,
         "-4:00"},
        {"newYork2045JustAfterSpring",
         "America/New_York",
         {2045, 3, 12},
         {3, 0, 0},
         Kind::Unique,
         "-4:00",
         true,
         ""},
        {"newYork2045AutumnRepeat",
         "America/New_York",
         {2045, 11, 5},
         {1, 30},
         Kind::Repeated,
         "-4:00",
         true,
         "-5:00"},
        {"newYork2045JustAfterAutumn",
         "America/New_York",
         {2045, 11, 5},
         {2, 0, 0},
         Kind::Unique,
         "-5:00",
         false,
         ""},
        // Seconds at the change from Madras mean time (+5:21:10) to Indian time on 1 January
        // 1906: local 00:00:00 to 00:08:49 never happened.
        {"kolkataLastMeanTimeSecond",
         "Asia/Kolkata",
         {1905, 12, 31},
         {23, 59, 59},
         Kind::Unique,
         "+5:21:10",
         false,
         ""},
        {"kolkataSkippedSeconds",
         "Asia/Kolkata",
         {1906, 1, 1},
         {0, 8, 49},
         Kind::Gap,
         "+5:21:10",
         false,
         "+5:30"},
        {"kolkataFirstIndianTimeSecond",
         "Asia/Kolkata",
         {1906, 1, 1},
         {0, 8, 50},
         Kind::Unique,
         "+5:30",
         false,
         ""},
        // Negative daylight saving in the database: Irish winter time and Namibian winter time
        // are the year's lowest offset, so not daylight saving; their summers are.
        {"dublinWinter", "Europe/Dublin", {1990, 1, 15}, {12, 0}, Kind::Unique, "+0:00", false, ""},
        {"dublinSummer", "Europe/Dublin", {1990, 7, 15}, {12, 0}, Kind::Unique, "+1:00", true, ""},
        {"windhoekWinter",
         "Africa/Windhoek",
         {2000, 7, 15},
         {12, 0},
         Kind::Unique,
         "+1:00",
         false,
         ""},
        {"windhoekSummer",
         "Africa/Windhoek",
         {2000, 1, 15},
         {12, 0},
         Kind::Unique,
         "+2:00",
         true,
         ""},
        {"sydneySummer",
         "Australia/Sydney",
         {2000, 1, 15},
         {12, 0},
         Kind::Unique,
         "+11:00",
         true,
         ""},
        {"sydneyWinter",
         "Australia/Sydney",
         {2000, 7, 15},
         {12, 0},
         Kind::Unique,
         "+10:00",
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
        EXPECT_EQ(static_cast<int>(reading.kind), static_cast<int>(row.kind)) << row.name;
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

// Offsets read once by an independent reader, Python's zoneinfo, from the same zone files:
// tests/places/reference/zone_offsets.py wrote zone_offsets.csv beside it. Fixed offsets, old
// names kept as links beside their present names, and daylight saving as people mean it.
TEST(ZoneHistory, AgreesWithZoneinfo) {
    QFile file(QStringLiteral(KORVANI_ZONE_OFFSETS_CSV));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << KORVANI_ZONE_OFFSETS_CSV;
    file.readLine(); // the header
    int rows = 0;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split(',');
        ASSERT_EQ(fields.size(), 4) << "row " << rows;
        ++rows;
        const auto zone = Zone(fields[0].constData());
        ASSERT_NE(zone, nullptr) << fields[0].toStdString();
        const ZoneOffset offset = zone->OffsetAtUniversal(fields[1].toLongLong());
        const std::string at = fields[0].toStdString() + " at " +
                               QDateTime::fromSecsSinceEpoch(fields[1].toLongLong(), Qt::UTC)
                                   .toString(Qt::ISODate)
                                   .toStdString();
        EXPECT_EQ(offset.offsetSeconds, fields[2].toInt()) << at;
        EXPECT_EQ(offset.daylightSaving, fields[3] == "1") << at;
    }
    EXPECT_GT(rows, 200);
}

// An old name gives what its present name gives, change for change, over the entry years.
TEST(ZoneHistory, OldNamesFollowTheirPresentNames) {
    const std::pair<const char*, const char*> links[] = {
        {"Asia/Calcutta", "Asia/Kolkata"},
        {"Europe/Kiev", "Europe/Kyiv"},
        {"US/Eastern", "America/New_York"},
        {"Asia/Saigon", "Asia/Ho_Chi_Minh"},
        {"America/Buenos_Aires", "America/Argentina/Buenos_Aires"},
        {"Etc/GMT+0", "Etc/GMT"},
    };
    for (const auto& [old, present] : links) {
        const auto oldZone = Zone(old);
        const auto presentZone = Zone(present);
        ASSERT_TRUE(oldZone && presentZone) << old;
        EXPECT_EQ(oldZone->id(), QByteArray(old)) << "the name stays as it was given";
        for (qint64 at = -2000000000; at < 2500000000; at += 86400 * 97) {
            EXPECT_EQ(oldZone->OffsetAtUniversal(at).offsetSeconds,
                      presentZone->OffsetAtUniversal(at).offsetSeconds)
                << old << " at " << at;
        }
    }
}

// Names Qt answers without a zone file, and names that must never give an offset: a POSIX rule
// such as "abc" or "IST-5:30" that Qt would read as one, an empty name that Qt takes as UTC, a
// path, and any offset beyond 15 hours.
TEST(ZoneHistory, FixedOffsetNamesTakenOrRefused) {
    const struct {
        const char* name;
        bool taken;
        int offsetSeconds;      // when taken
        const char* refusalHas; // when refused
    } cases[] = {
        {"UTC", true, 0, ""},
        {"UTC+05:30", true, 19800, ""},
        {"UTC+5:30", true, 19800, ""},
        {"UTC-08:00", true, -28800, ""},
        {"UTC-00:30", true, -1800, ""},
        {"UTC+14:00", true, 50400, ""},
        {"UTC+15:00", true, 54000, ""},
        {"UTC-12:00", true, -43200, ""},
        {"UTC+16:00", false, 0, "more than 15 hours"},
        {"UTC+99:00", false, 0, "unknown time zone \"UTC+99:00\""},
        {"UTC+05:30junk", false, 0, "unknown"},
        {"abc", false, 0, "unknown time zone \"abc\""},
        {"IST-5:30", false, 0, "unknown"},
        {"", false, 0, "unknown"},
        {"../etc/passwd", false, 0, "unknown"},
        {"/usr/share/zoneinfo/UTC", false, 0, "unknown"},
        {"asia/kolkata", false, 0, "unknown"},
        {"Nowhere/Atlantis", false, 0, "unknown time zone \"Nowhere/Atlantis\""},
    };
    for (const auto& row : cases) {
        const auto zone = ZoneHistory::ForZone(QByteArray(row.name));
        const QString refusal = ZoneHistory::Refusal(QByteArray(row.name));
        EXPECT_EQ(zone != nullptr, row.taken) << row.name;
        if (zone != nullptr && row.taken) {
            EXPECT_TRUE(refusal.isEmpty()) << row.name;
            for (const QDate date : {QDate(1901, 3, 1), QDate(1990, 7, 15), QDate(2050, 1, 1)}) {
                const LocalTimeReading reading = zone->ReadLocalTime(date, QTime(12, 0));
                EXPECT_EQ(static_cast<int>(reading.kind), static_cast<int>(Kind::Unique))
                    << row.name;
                EXPECT_EQ(reading.offset.offsetSeconds, row.offsetSeconds) << row.name;
                EXPECT_FALSE(reading.offset.daylightSaving) << row.name;
            }
        } else if (!row.taken) {
            EXPECT_TRUE(refusal.contains(QString::fromUtf8(row.refusalHas)))
                << row.name << ": " << refusal.toStdString();
        }
    }
}

// The cache: one history for a zone however many threads ask at once, and a bounded memory of
// names that no zone answers.
TEST(ZoneHistory, CacheSharesOneHistoryAndForgetsUnknownNamesPastItsBound) {
    std::vector<std::shared_ptr<const ZoneHistory>> got(8);
    std::vector<std::thread> threads;
    for (auto& slot : got) {
        threads.emplace_back([&slot] { slot = ZoneHistory::ForZone("America/Chicago"); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const auto& history : got) {
        ASSERT_NE(history, nullptr);
        EXPECT_EQ(history, got.front()) << "every thread holds the one history kept";
    }
    for (int number = 0; number < 1500; ++number) {
        EXPECT_EQ(ZoneHistory::ForZone(QByteArray("Nowhere/") + QByteArray::number(number)),
                  nullptr);
    }
    EXPECT_LE(ZoneHistory::RememberedRefusals(), 1000);
    EXPECT_GE(ZoneHistory::RememberedRefusals(), 1000) << "the bound is reached, not avoided";
    EXPECT_EQ(ZoneHistory::ForZone("Nowhere/1499"), nullptr) << "a forgotten name stays refused";
}

TEST(ZoneCorrectionForOffset, SignedToTheSecond) {
    const struct {
        int offsetSeconds;
        int hours;
        int minutes;
        int seconds;
        const char* shown;
    } cases[] = {
        {19800, -5, -30, 0, "+5:30"},
        {20700, -5, -45, 0, "+5:45"},
        {19270, -5, -21, -10, "+5:21:10"},
        {-18000, 5, 0, 0, "-5:00"},
        {-1800, 0, 30, 0, "-0:30"},
        {29, 0, 0, -29, "+0:00:29"},
        {30, 0, 0, -30, "+0:00:30"},
        {-30, 0, 0, 30, "-0:00:30"},
        {0, 0, 0, 0, "+0:00"},
        {-34200 - 59, 9, 30, 59, "-9:30:59"},
        {-2670, 0, 44, 30, "-0:44:30"},
    };
    for (const auto& row : cases) {
        const ZoneCorrection correction = ZoneCorrectionForOffset(row.offsetSeconds);
        EXPECT_EQ(correction.hours, row.hours) << row.shown;
        EXPECT_EQ(correction.minutes, row.minutes) << row.shown;
        EXPECT_EQ(correction.seconds, row.seconds) << row.shown;
        EXPECT_EQ(FormatUtcOffset(row.offsetSeconds).toStdString(), row.shown);
    }
}

// Which row among several that give the offset: the database's own name unticked (London's
// double summer time, New York's daylight and war time, Dublin's winter, Sydney); else a
// standard-time row, ticked in daylight saving (Dublin's summer, Windhoek's summer); else the
// row naming the place's country and no war time (Sao Paulo). Then the nearest when none fits.
TEST(RecommendZoneRow, NamedCases) {
    const struct {
        const char* name;
        const char* zone;
        QDate date;
        QTime time;
        const char* country;
        int position;
        bool box;
        bool exact;
        int errorSeconds;
        const char* noteMentions;
    } cases[] = {
        {"indianTime", "Asia/Kolkata", {1990, 8, 15}, {10, 30}, "India", 34, false, true, 0, ""},
        {"londonWinterIsGmt", "Europe/London", {1976, 1, 15}, {12, 0}, "", 29, false, true, 0, ""},
        {"londonDoubleSummerByItsName",
         "Europe/London",
         {1941, 6, 1},
         {12, 0},
         "",
         15,
         false,
         true,
         0,
         ""},
        {"londonSummerTimeAllYearByItsName",
         "Europe/London",
         {1941, 1, 15},
         {12, 0},
         "",
         16,
         false,
         true,
         0,
         ""},
        {"newYorkSummerByItsName",
         "America/New_York",
         {1990, 7, 1},
         {12, 0},
         "",
         24,
         false,
         true,
         0,
         ""},
        {"newYorkWarTimeByItsName",
         "America/New_York",
         {1943, 7, 1},
         {12, 0},
         "",
         28,
         false,
         true,
         0,
         ""},
        {"newYorkWinter", "America/New_York", {1990, 1, 15}, {12, 0}, "", 27, false, true, 0, ""},
        {"dublinWinterIsGmtUnticked",
         "Europe/Dublin",
         {1990, 1, 15},
         {12, 0},
         "Ireland",
         29,
         false,
         true,
         0,
         ""},
        {"dublinSummerIsGmtTicked",
         "Europe/Dublin",
         {1990, 7, 15},
         {12, 0},
         "Ireland",
         29,
         true,
         true,
         0,
         ""},
        {"windhoekWinterStandardRow",
         "Africa/Windhoek",
         {2000, 7, 15},
         {12, 0},
         "Namibia",
         20,
         false,
         true,
         0,
         ""},
        {"windhoekSummerStandardRowTicked",
         "Africa/Windhoek",
         {2000, 1, 15},
         {12, 0},
         "Namibia",
         20,
         true,
         true,
         0,
         ""},
        {"sydneySummerByItsName",
         "Australia/Sydney",
         {2000, 1, 15},
         {12, 0},
         "Australia",
         7,
         false,
         true,
         0,
         ""},
        {"sydneyWinterByItsName",
         "Australia/Sydney",
         {2000, 7, 15},
         {12, 0},
         "Australia",
         8,
         false,
         true,
         0,
         ""},
        {"saoPauloNamesBrazil",
         "America/Sao_Paulo",
         {1990, 8, 15},
         {12, 0},
         "Brazil",
         14,
         false,
         true,
         0,
         ""},
        {"kathmanduNearestIsIndian",
         "Asia/Kathmandu",
         {1990, 8, 15},
         {10, 30},
         "Nepal",
         34,
         false,
         false,
         -900,
         "+5:45"},
        {"kolkataMeanTime",
         "Asia/Kolkata",
         {1901, 3, 1},
         {12, 0},
         "India",
         34,
         false,
         false,
         530,
         "local mean time of +5:21:10"},
        {"gapNamesBothOffsets",
         "America/New_York",
         {1976, 4, 25},
         {2, 30},
         "",
         27,
         false,
         false,
         0,
         "-4:00"},
        {"repeatNamesBothOffsets",
         "America/New_York",
         {1976, 10, 31},
         {1, 30},
         "",
         24,
         false,
         false,
         0,
         "-5:00"},
    };
    for (const auto& row : cases) {
        const auto zone = Zone(row.zone);
        ASSERT_NE(zone, nullptr);
        const ZoneRecommendation got = RecommendZoneRow(zone->ReadLocalTime(row.date, row.time),
                                                        {QString::fromUtf8(row.country)});
        EXPECT_EQ(got.zonePosition, row.position) << row.name;
        EXPECT_EQ(got.daylightSavingBox, row.box) << row.name;
        EXPECT_EQ(got.exact, row.exact) << row.name;
        EXPECT_EQ(got.errorSeconds, row.errorSeconds) << row.name;
        EXPECT_EQ(got.note.isEmpty(), row.exact) << row.name;
        EXPECT_TRUE(got.note.contains(QString::fromUtf8(row.noteMentions)))
            << row.name << ": " << got.note.toStdString();
    }
}

// Among the rows and boxes that give the offset, the row whose name names the place's country,
// state or region wins, then the clock's own abbreviation (its standard time's with the box);
// an exact row that names neither says so. Kyiv in August 1990 kept +3:00 (MSK to July, then
// EEST at the year's lowest offset): "Baghdad Time" gave way to the Eastern European row.
TEST(RecommendZoneRow, RowNamingThePlaceOrItsClock) {
    const struct {
        const char* name;
        const char* zone;
        QDate date;
        const char* placeNames; // '|' between names
        int position;
        bool box;
        bool nameOnlyTheRows;
    } cases[] = {
        {"kyiv1990EasternEuropeNotBaghdad",
         "Europe/Kyiv",
         {1990, 8, 15},
         "Ukraine|Kyiv City|Eastern Europe",
         25,
         false,
         false},
        {"kyiv1990WithoutItsRegionBaghdadByListOrder",
         "Europe/Kyiv",
         {1990, 8, 15},
         "Ukraine|Kyiv City",
         12,
         false,
         true},
        {"kyivSummerStandardTimeTicked",
         "Europe/Kyiv",
         {2020, 7, 15},
         "Ukraine|Kyiv City|Eastern Europe",
         26,
         true,
         false},
        {"berlinSummerCestIsCetTicked",
         "Europe/Berlin",
         {1990, 7, 15},
         "Germany|Berlin",
         20,
         true,
         false},
        {"capeVerdeWestAfricaNamesWesternAfrica",
         "Atlantic/Cape_Verde",
         {1990, 7, 15},
         "Cabo Verde|Praia|Western Africa",
         67,
         false,
         false},
        {"dublinSummerGmtTickedNamesNeither",
         "Europe/Dublin",
         {1990, 7, 15},
         "Ireland|Leinster",
         29,
         true,
         true},
        {"buenosAiresBrazilZoneNamesNeither",
         "America/Argentina/Buenos_Aires",
         {2000, 1, 1},
         "Argentina|Buenos Aires F.D.",
         14,
         false,
         true},
        {"centralDistrictIsNoCentralEuropean",
         "Africa/Gaborone",
         {1990, 7, 15},
         "Botswana|Central",
         26,
         false,
         true},
    };
    for (const auto& row : cases) {
        const auto zone = Zone(row.zone);
        ASSERT_NE(zone, nullptr) << row.name;
        const ZoneRecommendation got = RecommendZoneRow(
            zone->ReadLocalTime(row.date, {12, 0}), QString::fromUtf8(row.placeNames).split(u'|'));
        EXPECT_TRUE(got.exact) << row.name;
        EXPECT_EQ(got.zonePosition, row.position) << row.name;
        EXPECT_EQ(got.daylightSavingBox, row.box) << row.name;
        EXPECT_EQ(!got.nameNote.isEmpty(), row.nameOnlyTheRows)
            << row.name << ": " << got.nameNote.toStdString();
        if (row.nameOnlyTheRows) {
            EXPECT_TRUE(got.nameNote.contains(QStringLiteral("only the row's"))) << row.name;
        }
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
