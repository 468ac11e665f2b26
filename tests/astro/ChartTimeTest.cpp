#include "astro/PositionText.h"
#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartInput.h"
#include "chart/TimeZones.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct DayNumberCase {
    const char* name;
    int month, day, year;
    double dayNumber;
};

class JulianDayNumberTest : public ::testing::TestWithParam<DayNumberCase> {};

TEST_P(JulianDayNumberTest, MatchesTheAlmanac) {
    const DayNumberCase& c = GetParam();
    EXPECT_EQ(JulianDayNumber(c.month, c.day, c.year), c.dayNumber) << "case " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Dates, JulianDayNumberTest,
    ::testing::Values(DayNumberCase{"j2000", 1, 1, 2000, 2451545},
                      DayNumberCase{"year1900", 1, 1, 1900, 2415021},
                      DayNumberCase{"epoch1900", 12, 31, 1899, 2415020},
                      DayNumberCase{"leapDay2000", 2, 29, 2000, 2451604},
                      DayNumberCase{"firstGregorianDay", 10, 15, 1582, 2299161},
                      DayNumberCase{"lastJulianDay", 10, 4, 1582, 2299160},
                      DayNumberCase{"leapDay1904", 2, 29, 1904, 2416540},
                      DayNumberCase{"lastOffered", 12, 31, 2050, 2470172}),
    [](const ::testing::TestParamInfo<DayNumberCase>& info) { return info.param.name; });

TEST(JulianDayNumber, ConsecutiveDaysAcrossTheOfferedYearsDifferByOne) {
    static constexpr int monthLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    double previous = JulianDayNumber(12, 31, 1900);
    for (int year = 1901; year <= 2050; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
            const int length = monthLengths[month - 1] + (month == 2 && leap ? 1 : 0);
            for (int day = 1; day <= length; ++day) {
                const double current = JulianDayNumber(month, day, year);
                ASSERT_EQ(current - previous, 1.0) << year << '-' << month << '-' << day;
                previous = current;
            }
        }
    }
}

TEST(SiderealCorrection1900, EpochAndOneCenturyLater) {
    EXPECT_NEAR(SiderealCorrection1900(0.0), -22.4663, 5e-5);
    EXPECT_NEAR(SiderealCorrection1900(1.0), -23.8540, 5e-5);
}

TEST(FullArcTangent, QuadrantsAndAxes) {
    const double pi = piLiteral;
    EXPECT_DOUBLE_EQ(FullArcTangent(1.0, 1.0), std::atan(1.0));
    EXPECT_DOUBLE_EQ(FullArcTangent(1.0, 0.0), pi / 2);
    EXPECT_DOUBLE_EQ(FullArcTangent(-1.0, 0.0), -pi / 2);
    EXPECT_DOUBLE_EQ(FullArcTangent(0.0, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(FullArcTangent(0.0, -1.0), pi);
    EXPECT_DOUBLE_EQ(FullArcTangent(1.0, -1.0), pi - std::atan(1.0));
    EXPECT_DOUBLE_EQ(FullArcTangent(-1.0, -1.0), -(pi - std::atan(1.0)));
}

TEST(NormalizeDegrees, OneTurnEachWay) {
    EXPECT_DOUBLE_EQ(NormalizeDegrees(-10.0), 350.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(370.0), 10.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(360.0), 360.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(0.0), 0.0);
}

ChartState Chart(const ChartInput& input) {
    ChartState chart;
    LoadChartInput(chart, input);
    return chart;
}

ChartInput Greenwich2000() {
    ChartInput input;
    input.year = 2000;
    input.hour = 12;
    input.latitudeDegrees = 51;
    input.latitudeMinutes = 30;
    input.east = false;
    input.timeZonePosition = defaultTimeZonePosition;
    return input;
}

TEST(PrepareChartTime, NoonOfJanuaryFirst2000AtGreenwich) {
    ChartState chart = Chart(Greenwich2000());
    const ChartTimeValues values = ComputeChartTime(chart);
    EXPECT_EQ(values.centuries1900, 1.0);
    EXPECT_NEAR(values.localSiderealDegrees, 280.4609, 5e-5);
    EXPECT_NEAR(values.tropicalMidheaven, 279.6145, 5e-5);
    EXPECT_NEAR(values.tropicalAscendant, 24.2979, 5e-5);
    EXPECT_NEAR(values.tropicalAscendant + values.siderealCorrection, 0.4439, 5e-5);
    EXPECT_NEAR(values.tropicalMidheaven + values.siderealCorrection, 255.7605, 5e-5);

    PrepareChartTime(chart);
    EXPECT_EQ(chart.ascendantText, "0\u00B0 26' 38\" Ari");
    EXPECT_EQ(chart.midheavenText, "15\u00B0 45' 37\" Sag");
    EXPECT_EQ(chart.chartSiderealCorrection, SiderealCorrection1900(1.0));
}

TEST(PrepareChartTime, UniversalTimeIsNotWrappedAndKeepsTheCivilDate) {
    // 00:30 East of Greenwich in a zone of 5 h 30 min: five hours before the day's 0h.
    ChartInput input;
    input.year = 1990;
    input.monthPosition = 7;
    input.day = 15;
    input.minute = 30;
    input.longitudeDegrees = 77;
    input.east = true;
    input.timeZonePosition = 34; // Indian Time
    const ChartTimeValues values = ComputeChartTime(Chart(input));
    EXPECT_EQ(values.universalTime, -5.0);
    EXPECT_EQ(values.dayNumber, JulianDayNumber(8, 15, 1990));
    EXPECT_DOUBLE_EQ(values.centuries1900, ((values.dayNumber - 2415020) - 5.0 / 24 - 0.5) / 36525);
}

TEST(PrepareChartTime, DaylightSavingAtLongitudeZeroIsOneHourEarlier) {
    ChartInput input = Greenwich2000();
    input.daylightSaving = true;
    EXPECT_EQ(ComputeChartTime(Chart(input)).universalTime, 11.0);
    input.east = true; // 0°0' East counts as West; the result is the same
    EXPECT_EQ(ComputeChartTime(Chart(input)).universalTime, 11.0);
}

TEST(PrepareChartTime, SouthernLatitudeChangesOnlyTheAscendant) {
    ChartInput north = Greenwich2000();
    ChartInput south = north;
    south.south = true;
    const ChartTimeValues a = ComputeChartTime(Chart(north));
    const ChartTimeValues b = ComputeChartTime(Chart(south));
    EXPECT_EQ(a.tropicalMidheaven, b.tropicalMidheaven);
    EXPECT_GT(std::fabs(a.tropicalAscendant - b.tropicalAscendant), 1.0);
}

TEST(PrepareChartTime, AnglesBelowZeroAreRaisedBeforeFormatting) {
    // A tropical Ascendant under the ayanamsa gives a negative sidereal value; it must read
    // as a late degree of Pisces, Aquarius or Capricorn, never as a negative or garbled text.
    for (int hour = 0; hour < 24; ++hour) {
        ChartInput input = Greenwich2000();
        input.hour = hour;
        ChartState chart = Chart(input);
        PrepareChartTime(chart);
        const ChartTimeValues values = ComputeChartTime(chart);
        double sidereal = values.tropicalAscendant + values.siderealCorrection;
        if (sidereal < 0) {
            sidereal += 360;
        }
        EXPECT_EQ(chart.ascendantText, FormatSignPosition(sidereal)) << "hour " << hour;
        EXPECT_EQ(chart.ascendantText.find('-'), std::string::npos) << chart.ascendantText;
    }
}

} // namespace
