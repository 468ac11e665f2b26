#include "DegreesApart.h"
#include "precise/PreciseEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <iostream>

namespace {

// The 1.20 rules' accuracy against the precise engine, in arc minutes per body (Sun to Pluto,
// Ascendant, Midheaven, the mean node), over births from 1901 to 2050: the Keplerian mean
// elements (E. M. Standish, Explanatory Supplement to the Astronomical Almanac, 1992, table
// 5.8.1) leave out the planets' mutual perturbations, largest for Jupiter and Saturn and, seen
// from the Earth, for Mars near opposition; the Moon's 25 largest periodic terms leave out the
// rest of the series; the angles use S. Newcomb's sidereal time and obliquity; the node is P.
// Schlyter's linear mean node.
constexpr std::array<double, 13> toleranceArcminutes = {1.5, 3.0, 2.0, 2.0, 6.0, 12.0, 15.0,
                                                        4.0, 3.0, 2.0, 1.5, 1.0, 6.0};

double ArcminutesApart(double a, double b) {
    return DegreesApart(a, b) * 60.0;
}

// 400 births spread over 1901 to 2050 by a fixed linear congruential sequence (the constants of
// Numerical Recipes' ranqd1), at any time of day and any place between the polar circles.
ChartState Birth(std::uint32_t& seed) {
    auto next = [&seed](int count) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int16_t>((seed >> 8) % static_cast<std::uint32_t>(count));
    };
    ChartState chart;
    chart.birthYear = static_cast<int16_t>(1901 + next(150));
    chart.birthMonth = static_cast<int16_t>(1 + next(12));
    chart.birthDay = static_cast<int16_t>(1 + next(28));
    chart.birthHour = next(24);
    chart.birthMinute = next(60);
    chart.latitudeDegrees = next(66);
    chart.latitudeMinutes = next(60);
    chart.latitudeSouthFlag = next(2) == 0 ? chartFalse : chartTrue;
    chart.longitudeDegrees = next(180);
    chart.longitudeMinutes = next(60);
    chart.longitudeEastFlag = next(2) == 0 ? chartFalse : chartTrue;
    return chart;
}

// Catches a precise engine that reads the birth instant or the place differently from the 1.20
// stages (a zone or a longitude sign turned round moves the Moon and the angles by degrees), or
// that writes a body into another's slot.
TEST(EngineAgreement, FourHundredBirthsWithinTheRulesAccuracy) {
    if (!PreciseEngineAvailability().available) {
        GTEST_SKIP() << PreciseEngineAvailability().missing;
    }
    CalculationSettings rules;
    rules.nodes = Nodes::Mean;
    CalculationSettings precise = SettingsForEngine(Engine::Precise, DrekkanaScheme::Parashara);
    std::array<double, 13> largestArcminutes{};
    std::uint32_t seed = 20261208u;
    for (int i = 0; i < 400; ++i) {
        ChartState rulesChart = Birth(seed);
        ChartState preciseChart = rulesChart;
        BodyLongitudes rulesLongitudes{};
        BodyLongitudes preciseLongitudes{};
        double ayanamsa = 0.0;
        ASSERT_FALSE(CalculateChartWith(rulesChart, rules, &rulesLongitudes, ayanamsa));
        const auto problem =
            CalculateChartWith(preciseChart, precise, &preciseLongitudes, ayanamsa);
        ASSERT_FALSE(problem) << *problem;
        for (std::size_t body = 0; body < largestArcminutes.size(); ++body) {
            const double apart = ArcminutesApart(rulesLongitudes[body], preciseLongitudes[body]);
            largestArcminutes[body] = std::max(largestArcminutes[body], apart);
            EXPECT_LE(apart, toleranceArcminutes[body])
                << bodyNames[body] << " in " << rulesChart.birthYear << "-" << rulesChart.birthMonth
                << "-" << rulesChart.birthDay;
        }
    }
    for (std::size_t body = 0; body < largestArcminutes.size(); ++body) {
        std::cout << "largest difference " << bodyNames[body] << ": " << std::fixed
                  << std::setprecision(2) << largestArcminutes[body] << "'\n";
    }
}

} // namespace
