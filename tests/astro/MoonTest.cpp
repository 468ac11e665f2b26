#include "astro/PositionText.h"
#include "astro/modVedicEphemeris.h"
#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartInput.h"
#include "support/Births.h"

#include <gtest/gtest.h>

namespace {

TEST(Moon, Epoch2000FromTheWorkedExample) {
    // The abridged lunar series at T = 0 (J2000.0), worked by hand from its mean elements and
    // periodic terms.
    EXPECT_NEAR(MoonTropicalLongitudeDegrees(0.0), 223.3161029, 5e-8);
    EXPECT_NEAR(SiderealCorrectionJ2000(0.0), -23.8535048, 5e-8);
}

struct MoonCase {
    const char* name;
    ChartInput input;
    double universalTime;
    double sidereal;  // degrees, worked value; 0 where only the text is given
    const char* text; // long form
};

class MoonExampleTest : public ::testing::TestWithParam<MoonCase> {};

TEST_P(MoonExampleTest, ToTheSecond) {
    const MoonCase& c = GetParam();
    ChartState chart;
    LoadChartInput(chart, c.input);
    EXPECT_EQ(UniversalTimeHours(chart), c.universalTime) << "case " << c.name;
    const double t = MoonCenturiesJ2000(chart);
    double sidereal = MoonTropicalLongitudeDegrees(t) + SiderealCorrectionJ2000(t);
    if (sidereal < 0) {
        sidereal += 360;
    }
    if (c.sidereal != 0.0) {
        EXPECT_NEAR(sidereal, c.sidereal, 5e-8) << "case " << c.name;
    }
    ComputeMoonPosition(chart);
    EXPECT_EQ(chart.moonPositionText, c.text) << "case " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, MoonExampleTest,
    ::testing::Values(
        MoonCase{"j2000", Birth(2000, 1, 1, 12, 0, greenwichZone, false, {0, 0, false}), 12.0,
                 199.4625981, "19\u00B0 27' 45\" Lib"},
        MoonCase{"delhi1990", Birth(1990, 8, 15, 10, 30, indianZone, false, {77, 13, true}), 5.0,
                 48.9076996, "18\u00B0 54' 27\" Tau"},
        MoonCase{"delhi1990Daylight", Birth(1990, 8, 15, 10, 30, indianZone, true, {77, 13, true}),
                 4.0, 0.0 /* only the text is worked */, "18\u00B0 18' 48\" Tau"},
        MoonCase{"newYork1976NotWrapped",
                 Birth(1976, 7, 4, 23, 45, easternStandardZone, true, {74, 0, false}), 27.75,
                 175.3474468, "25\u00B0 20' 50\" Vir"}),
    [](const ::testing::TestParamInfo<MoonCase>& info) { return info.param.name; });

TEST(Moon, TimeArgumentOfTheDelhiExample) {
    ChartState chart;
    LoadChartInput(chart, Birth(1990, 8, 15, 10, 30, indianZone, false, {77, 13, true}));
    EXPECT_NEAR(MoonCenturiesJ2000(chart), -0.0938067534, 5e-11);
}

TEST(Moon, TheZoneDecidesTheDirectionNotTheBirthplace) {
    // New York time kept at a place east of Greenwich: universal time is still local + 5 hours,
    // the same instant the planets are computed for.
    ChartState east;
    ChartState west;
    LoadChartInput(east, Birth(2000, 1, 1, 12, 0, easternStandardZone, false, {74, 0, true}));
    LoadChartInput(west, Birth(2000, 1, 1, 12, 0, easternStandardZone, false, {74, 0, false}));
    EXPECT_EQ(UniversalTimeHours(east), 17.0);
    EXPECT_EQ(UniversalTimeHours(west), 17.0);
    ComputeMoonPosition(east);
    ComputeMoonPosition(west);
    EXPECT_EQ(east.moonPositionText, west.moonPositionText);
}

TEST(Moon, SiderealBelowZeroIsRaisedOnce) {
    // At the start of 14 January 2000 the Moon stood near 16 degrees of Aries, less than the
    // ayanamsa.
    ChartState chart;
    LoadChartInput(chart, Birth(2000, 1, 14, 0, 0, greenwichZone));
    const double t = MoonCenturiesJ2000(chart);
    const double sidereal = MoonTropicalLongitudeDegrees(t) + SiderealCorrectionJ2000(t);
    ASSERT_LT(sidereal, 0.0) << "the case must reach below zero";
    ComputeMoonPosition(chart);
    EXPECT_EQ(chart.moonPositionText, FormatSignPosition(sidereal + 360.0));
    EXPECT_NE(chart.moonPositionText.find("Pis"), std::string::npos) << chart.moonPositionText;
}

} // namespace
