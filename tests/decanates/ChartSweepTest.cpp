#include "astro/ChartCalculation.h"
#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartInput.h"
#include "chart/TimeZones.h"
#include "decanates/modVedicDecanates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace {

int DaysInMonth(int year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return lengths[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
}

// "DD Sss MM": degrees 00..29, a known sign, minutes 00..59.
bool IsWellFormedDisplayText(const std::string& text) {
    if (text.size() != 9 || text[2] != ' ' || text[6] != ' ') {
        return false;
    }
    auto twoDigits = [&](std::size_t at, int highest) {
        if (!std::isdigit(static_cast<unsigned char>(text[at])) ||
            !std::isdigit(static_cast<unsigned char>(text[at + 1]))) {
            return false;
        }
        return (text[at] - '0') * 10 + (text[at + 1] - '0') <= highest;
    };
    return twoDigits(0, 29) && twoDigits(7, 59) && SignOfPositionText(text).has_value();
}

TEST(ChartSweep, EveryValidInputGivesWellFormedTextsAndKnownDecanates) {
    std::mt19937 random(20261207);
    auto uniform = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    constexpr int charts = 100000;
    ChartState chart; // one record for the whole run, as in the program
    DecanateResults results;
    for (int n = 0; n < charts; ++n) {
        ChartInput input;
        input.year = uniform(1901, 2050);
        input.monthPosition = uniform(0, 11);
        input.day = uniform(1, DaysInMonth(input.year, input.monthPosition + 1));
        input.hour = uniform(0, 23);
        input.minute = uniform(0, 59);
        input.longitudeDegrees = uniform(0, 179);
        input.longitudeMinutes = uniform(0, 59);
        input.latitudeDegrees = uniform(0, 89);
        input.latitudeMinutes = uniform(0, 59);
        input.east = uniform(0, 1) == 1;
        input.south = uniform(0, 1) == 1;
        input.daylightSaving = uniform(0, 1) == 1;
        input.timeZonePosition = uniform(0, timeZoneCount - 1);
        LoadChartInput(chart, input);
        CalculateChart(chart);
        results = {};
        DetermineDecanates(chart, results);

        const auto describe = [&] {
            return std::to_string(input.year) + "-" + std::to_string(input.monthPosition + 1) +
                   "-" + std::to_string(input.day) + " " + std::to_string(input.hour) + ":" +
                   std::to_string(input.minute) + " zone " +
                   std::to_string(input.timeZonePosition) + (input.east ? " E" : " W") +
                   (input.south ? " S" : " N") + (input.daylightSaving ? " dst" : "");
        };
        ASSERT_TRUE(std::isfinite(chart.chartSiderealCorrection)) << describe();
        for (int i = 0; i < positionCount; ++i) {
            ASSERT_TRUE(IsWellFormedDisplayText(chart.positionText[i]))
                << describe() << " body " << i << " [" << chart.positionText[i] << "]";
        }
        for (int i = 0; i < displayedBodyCount; ++i) {
            ASSERT_FALSE(results[i].decanateName.empty()) << describe() << " body " << i;
        }
        const double dayNumber = JulianDayNumber(chart.birthMonth, chart.birthDay, chart.birthYear);
        ASSERT_NEAR((dayNumber - 2451545.5) + UniversalTimeHours(chart) / 24.0,
                    ChartDaysSinceJ2000(chart), 1e-9)
            << describe() << ": the stages disagree on the instant";
    }
}

} // namespace
