#include "chart/TimeZones.h"
#include "chart/ChartInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

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

TEST(ZoneCalculation, NoSelectionLeavesTheCorrectionUnchanged) {
    ChartState chart;
    Zone_Calculation(chart, 34);
    for (int position : {-1, timeZoneCount, 32767}) {
        Zone_Calculation(chart, position);
        EXPECT_EQ(chart.zoneCorrectionHours, -5) << position;
        EXPECT_EQ(chart.zoneCorrectionMinutes, -30) << position;
    }
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
