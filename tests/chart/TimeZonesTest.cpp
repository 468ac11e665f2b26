#include "chart/TimeZones.h"
#include "chart/ChartInput.h"
#include "support/TextChecksum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct ZoneCase {
    const char* name;
    int position;
    const char* listText;
    int hours, minutes;
};

class ZoneCalculationTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(ZoneCalculationTest, CorrectionAndMagnitudes) {
    const ZoneCase& c = GetParam();
    EXPECT_STREQ(timeZoneTable[c.position].listText, c.listText) << "case " << c.name;
    ChartInput input;
    input.timeZonePosition = c.position;
    ChartState chart;
    LoadChartInput(chart, input);
    EXPECT_EQ(chart.zoneCorrectionHours, c.hours) << "case " << c.name;
    EXPECT_EQ(chart.zoneCorrectionMinutes, c.minutes) << "case " << c.name;
    EXPECT_EQ(chart.zoneHours, std::abs(c.hours)) << "case " << c.name;
    EXPECT_EQ(chart.zoneMinutes, std::abs(c.minutes)) << "case " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Zones, ZoneCalculationTest,
    ::testing::Values(ZoneCase{"alaskaFirst", 0, "Alaska/Hawaii Daylight Time,AHDT,-9.0", 9, 0},
                      ZoneCase{"eastern", 27, "Eastern Standard Time,EST,-5.0", 5, 0},
                      ZoneCase{"greenwich", 29, "Greenwich Mean Time,GMT,0.0", 0, 0},
                      ZoneCase{"indian", 34, "Indian Time, IST, +5.3", -5, -30},
                      ZoneCase{"dateLineEast", 35, "Int'l Date Line East,IDLE,+12.0", -12, 0},
                      ZoneCase{"dateLineWest", 36, "Int'l Date Line West,IDLW,-12.0", 12, 0},
                      ZoneCase{"newZealandSummer", 46, "New Zealand Std Summer Time,NZST,+13.0",
                               -13, 0},
                      ZoneCase{"newfoundland", 50, "Newfoundland Standard Time,NST,-3.5", 3, 30},
                      ZoneCase{"northSumatra", 52, "North Sumatra Time,NST,+6.5", -6, -30},
                      ZoneCase{"universal", 61, "Universal Time, UT, 0.0", 0, 0},
                      ZoneCase{"yukonLast", 70, "Yukon War Time,YWT,-8.0", 8, 0}),
    [](const ::testing::TestParamInfo<ZoneCase>& info) { return info.param.name; });

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(TimeZoneTable, AlphabeticalIgnoringCaseAndConsistentWithItsNominalOffsets) {
    EXPECT_STREQ(timeZoneTable[defaultTimeZonePosition].listText, "Greenwich Mean Time,GMT,0.0");
    for (int i = 0; i < timeZoneCount; ++i) {
        const TimeZoneEntry& zone = timeZoneTable[i];
        if (i > 0) {
            EXPECT_LE(Lower(timeZoneTable[i - 1].listText), Lower(zone.listText)) << i;
        }
        // The nominal offset is the last comma-separated part; the correction is its negative,
        // a fraction standing for 30 minutes.
        const std::string text = zone.listText;
        const double nominal = std::stod(text.substr(text.rfind(',') + 1));
        const int wholeHours = static_cast<int>(nominal);
        const bool half = nominal != wholeHours;
        EXPECT_EQ(zone.zoneCorrectionHours, -wholeHours) << text;
        EXPECT_EQ(zone.zoneCorrectionMinutes, half ? (nominal > 0 ? -30 : 30) : 0) << text;
    }
}

// The 71 list texts as the user reads them, checked character by character against the zone list
// when they were written down: the SHA-256 of the texts in list order, each followed by a line
// feed, and the length of each text to point at the row that changed.
constexpr std::string_view zoneTextsSha256 =
    "e9c501f074426028b4f2b961080ccd3e24ee74f61da4c7f3fd041787d8a2deea";
constexpr std::array<std::size_t, timeZoneCount> zoneTextLengths = {
    37, 38, 32, 31, 26, 43, 42, 43, 43, 42, 42, 21, 23, 30, 23, 36, 28, 25, 30, 34, 30, 30, 25, 25,
    30, 39, 30, 30, 25, 27, 28, 31, 32, 26, 22, 31, 31, 19, 28, 19, 38, 29, 23, 31, 31, 26, 38, 30,
    33, 25, 35, 20, 27, 30, 30, 25, 39, 39, 39, 38, 27, 23, 23, 21, 21, 21, 21, 25, 28, 28, 23};

TEST(TimeZoneTable, EveryListTextAsWritten) {
    std::vector<std::string_view> texts;
    for (int i = 0; i < timeZoneCount; ++i) {
        const char* text = timeZoneTable[i].listText;
        texts.emplace_back(text);
        EXPECT_EQ(std::strlen(text), zoneTextLengths[i])
            << "zone table, position " << i << ": \"" << text
            << "\" has lost or gained a character";
    }
    EXPECT_EQ(Sha256OfLines(texts), zoneTextsSha256)
        << "zone table: a list text has changed; compare every text with the zone list";
}

TEST(ZoneCalculation, NoSelectionLeavesTheCorrectionUnchanged) {
    ChartState chart;
    Zone_Calculation(chart, 34);
    for (int position : {-1, timeZoneCount, 32767}) {
        Zone_Calculation(chart, position);
        EXPECT_EQ(chart.zoneCorrectionHours, -5) << position;
        EXPECT_EQ(chart.zoneCorrectionMinutes, -30) << position;
    }
}

// The window computes into one chart state again and again. Catches the seconds of a place's
// own time (Monrovia's -0:44:30) left in the state when the next birth takes a row.
TEST(LoadChartInput, ARowAfterAPlacesOwnTimeHasNoSeconds) {
    ChartState chart;
    ChartInput input;
    input.zoneCorrection = ZoneCorrection{0, 44, 30};
    LoadChartInput(chart, input);
    EXPECT_EQ(chart.zoneCorrectionSeconds, 30);
    input.zoneCorrection.reset();
    input.timeZonePosition = 34;
    LoadChartInput(chart, input);
    EXPECT_EQ(chart.zoneCorrectionHours, -5);
    EXPECT_EQ(chart.zoneCorrectionMinutes, -30);
    EXPECT_EQ(chart.zoneCorrectionSeconds, 0);
}

TEST(LoadChartInput, FlagsAreMinusOneOrZero) {
    ChartInput input;
    input.east = false;
    input.south = false;
    ChartState chart;
    LoadChartInput(chart, input);
    EXPECT_EQ(chart.longitudeEastFlag, 0);
    EXPECT_EQ(chart.latitudeSouthFlag, 0);
    EXPECT_EQ(chart.daylightSaving, 0);
    input.east = true;
    input.south = true;
    input.daylightSaving = true;
    LoadChartInput(chart, input);
    EXPECT_EQ(chart.longitudeEastFlag, -1);
    EXPECT_EQ(chart.latitudeSouthFlag, -1);
    EXPECT_EQ(chart.daylightSaving, -1);
}

TEST(LoadChartInput, MonthFromListPositionAndDaylightSavingLeavesTheZoneAlone) {
    ChartInput input;
    input.monthPosition = 11;
    input.timeZonePosition = 27;
    input.daylightSaving = true;
    ChartState chart;
    LoadChartInput(chart, input);
    EXPECT_EQ(chart.birthMonth, 12);
    EXPECT_EQ(chart.zoneCorrectionHours, 5);
    EXPECT_EQ(chart.zoneHours, 5);
}

} // namespace
