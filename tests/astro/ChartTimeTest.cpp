#include "astro/PositionText.h"
#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartInput.h"
#include "chart/TimeZones.h"
#include "support/Births.h"

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

TEST(PrepareChartTime, NoonOfJanuaryFirst2000AtGreenwich) {
    ChartState chart = Chart(Greenwich2000());
    const ChartTimeValues values = ComputeChartTime(chart);
    EXPECT_EQ(values.centuries1900, 1.0);
    EXPECT_NEAR(values.localSiderealDegrees, 280.4609, 5e-5);
    EXPECT_NEAR(values.tropicalMidheavenDegrees, 279.6145, 5e-5);
    EXPECT_NEAR(values.tropicalAscendantDegrees, 24.2979, 5e-5);
    EXPECT_NEAR(values.tropicalAscendantDegrees + values.siderealCorrection, 0.4439, 5e-5);
    EXPECT_NEAR(values.tropicalMidheavenDegrees + values.siderealCorrection, 255.7605, 5e-5);

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
    input.east = true; // the hemisphere plays no part in universal time
    EXPECT_EQ(ComputeChartTime(Chart(input)).universalTime, 11.0);
}

TEST(PrepareChartTime, SouthernLatitudeChangesOnlyTheAscendant) {
    ChartInput north = Greenwich2000();
    ChartInput south = north;
    south.south = true;
    const ChartTimeValues a = ComputeChartTime(Chart(north));
    const ChartTimeValues b = ComputeChartTime(Chart(south));
    EXPECT_EQ(a.tropicalMidheavenDegrees, b.tropicalMidheavenDegrees);
    EXPECT_GT(std::fabs(a.tropicalAscendantDegrees - b.tropicalAscendantDegrees), 1.0);
}

// The Ascendant from the standard spherical-astronomy formula, straight through atan2, from
// the local sidereal time, the obliquity and the latitude, all in degrees.
double ReferenceAscendant(double localSiderealDegrees, double obliquityDegrees,
                          double latitudeDegrees) {
    const double theta = localSiderealDegrees * degToRad;
    const double epsilon = obliquityDegrees * degToRad;
    const double phi = latitudeDegrees * degToRad;
    const double ascendant = std::atan2(std::cos(theta), -(std::sin(theta) * std::cos(epsilon) +
                                                           std::tan(phi) * std::sin(epsilon)));
    return std::fmod(ascendant / degToRad + 360.0, 360.0);
}

double DisplayToDegrees(const std::string& text) {
    const auto sign = static_cast<double>(signAbbreviations.find(text.substr(3, 3)) / 3);
    return sign * 30.0 + std::stoi(text.substr(0, 2)) + std::stoi(text.substr(7, 2)) / 60.0;
}

TEST(PrepareChartTime, AscendantAgreesWithTheReferenceFormulaAndIsRaisedBelowZero) {
    // Through the morning of 1 January 2000 the tropical Ascendant at 51°30' North climbs from
    // Aquarius into Aries; the sidereal one falls below zero and must read late in Pisces.
    bool raised = false;
    for (int minutes = 9 * 60; minutes <= 12 * 60; minutes += 10) {
        ChartInput input = Greenwich2000();
        input.hour = minutes / 60;
        input.minute = minutes % 60;
        ChartState chart = Chart(input);
        PrepareChartTime(chart);
        const ChartTimeValues values = ComputeChartTime(chart);
        const double obliquity = 23.452294 - 0.0130125 * values.centuries1900;
        double expected = ReferenceAscendant(values.localSiderealDegrees, obliquity, 51.5) +
                          values.siderealCorrection;
        if (expected < 0) {
            expected += 360;
            raised = true;
        }
        const std::string display = FormatDisplayPosition(chart.ascendantText);
        const double shown = DisplayToDegrees(display);
        const double apart = std::fabs(shown - expected);
        EXPECT_LT(std::min(apart, 360 - apart), 1.5 / 60) << display << " at minute " << minutes;
    }
    EXPECT_TRUE(raised) << "no time of the run put the sidereal Ascendant below zero";
}

TEST(PrepareChartTime, SecondOrderTermsAwayFromTheEpoch) {
    // Values of the 1900-based formulas worked independently (double precision, same order), at
    // times where T squared differs from T.
    EXPECT_DOUBLE_EQ(SiderealCorrection1900(0.5), -23.158663813113122);
    const ChartTimeValues values = ComputeChartTime(Chart(DelhiBirth()));
    EXPECT_DOUBLE_EQ(values.centuries1900, 0.9061932466347251);
    EXPECT_DOUBLE_EQ(values.localSiderealDegrees, 115.56216301911627);
}

} // namespace
