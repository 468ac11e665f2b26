#include "astro/PositionText.h"
#include "precise/PreciseEngine.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

// A birth at Greenwich (51°28′ N, 0°00′) on 2000 January 1 at 12:00 universal time.
ChartState GreenwichJ2000() {
    ChartState chart;
    chart.birthYear = 2000;
    chart.birthMonth = 1;
    chart.birthDay = 1;
    chart.birthHour = 12;
    chart.latitudeDegrees = 51;
    chart.latitudeMinutes = 28;
    return chart;
}

// The texts written by hand from JPL Horizons' apparent longitudes at that instant (see
// PreciseReferenceTest) less the Lahiri ayanamsa of 23°51′11.6″, each truncated to the whole
// minute: the Sun at 256°30.9′ is "16 Sag 30". The Ascendant and the Midheaven from the sidereal
// time 18h41m50.5s (J. Meeus, Astronomical Algorithms, 2nd ed., ch. 12) and the obliquity
// 23°26′21″; the mean node 125°02.7′ from Meeus, ch. 47. Jupiter, 0.6″ from a minute's edge,
// is left out.
TEST(PreciseChart, WritesTheRulesTextsTruncatedToTheMinute) {
    if (!PreciseEngineAvailability().available) {
        GTEST_SKIP() << PreciseEngineAvailability().missing;
    }
    ChartState chart = GreenwichJ2000();
    BodyLongitudes longitudes{};
    double ayanamsa = 0.0;
    const auto problem =
        CalculateChartWith(chart, SettingsForEngine(Engine::Precise, DrekkanaScheme::Parashara),
                           &longitudes, ayanamsa);
    ASSERT_FALSE(problem) << *problem;
    const std::array<const char*, positionCount> expected = {
        "16 Sag 30", "19 Lib 28", "08 Sag 02", "07 Sco 42", "04 Aqu 06", nullptr,     "16 Ari 32",
        "20 Cap 57", "09 Cap 20", "17 Sco 36", "00 Ari 24", "15 Sag 45", "11 Can 11", "11 Cap 11"};
    for (std::size_t body = 0; body < expected.size(); ++body) {
        if (expected[body] != nullptr) {
            EXPECT_EQ(chart.positionText[body], expected[body]) << bodyNames[body];
        }
    }
    // The long forms the reading shows, and the correction the 1.20 stages leave.
    EXPECT_EQ(chart.moonPositionText, FormatSignPosition(longitudes[1]));
    EXPECT_EQ(chart.ascendantText.substr(chart.ascendantText.size() - 3), "Ari");
    EXPECT_DOUBLE_EQ(chart.chartSiderealCorrection, -ayanamsa);
    EXPECT_EQ(DegreesMinutesSeconds(ayanamsa), "23\u00B051\u203211\u2033");
}

// Catches a node choice that does not reach Rahu and Ketu: the 1.20 rules' "mean node" is their
// own node without the 1° they take off, and the true node of the precise engine is not its mean
// node (they stand up to 1°45′ apart).
TEST(PreciseChart, NodeChoiceMovesRahuAndKetu) {
    ChartState rule = GreenwichJ2000();
    ChartState mean = rule;
    BodyLongitudes ruleLongitudes{};
    BodyLongitudes meanLongitudes{};
    double ayanamsa = 0.0;
    CalculationSettings settings;
    ASSERT_FALSE(CalculateChartWith(rule, settings, &ruleLongitudes, ayanamsa));
    settings.nodes = Nodes::Mean;
    ASSERT_FALSE(CalculateChartWith(mean, settings, &meanLongitudes, ayanamsa));
    EXPECT_NEAR(meanLongitudes[12] - ruleLongitudes[12], 1.0, 1e-9);
    EXPECT_NEAR(meanLongitudes[13] - ruleLongitudes[13], 1.0, 1e-9);
    for (std::size_t body = 0; body < 12; ++body) {
        EXPECT_EQ(mean.positionText[body], rule.positionText[body]) << bodyNames[body];
    }

    if (!PreciseEngineAvailability().available) {
        GTEST_SKIP() << PreciseEngineAvailability().missing;
    }
    ChartState preciseMean = GreenwichJ2000();
    ChartState preciseTrue = preciseMean;
    BodyLongitudes meanNode{};
    BodyLongitudes trueNode{};
    settings = SettingsForEngine(Engine::Precise, DrekkanaScheme::Parashara);
    ASSERT_FALSE(CalculateChartWith(preciseMean, settings, &meanNode, ayanamsa));
    settings.nodes = Nodes::True;
    ASSERT_FALSE(CalculateChartWith(preciseTrue, settings, &trueNode, ayanamsa));
    EXPECT_NE(preciseTrue.positionText[12], preciseMean.positionText[12]);
    EXPECT_LT(std::fabs(trueNode[12] - meanNode[12]), 1.75);
    EXPECT_NEAR(std::fmod(trueNode[13] - trueNode[12] + 360.0, 360.0), 180.0, 1e-9);
}

} // namespace
