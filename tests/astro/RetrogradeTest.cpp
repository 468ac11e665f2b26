#include "astro/Retrograde.h"
#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartInput.h"
#include "support/Births.h"

#include <gtest/gtest.h>

namespace {

constexpr int mercury = 2;
constexpr int jupiter = 5;
constexpr int saturn = 6;

// Instants (universal time) where a planet's direction of motion is published, independently of
// this program:
// - SkyEye, obliquity.net (computed from JPL DE406), April 2024: Mercury stationary in ecliptic
//   longitude on 1 April, turning retrograde; inferior conjunction late on 11 April.
// - The hours of Mercury's 2024 stations, 1 April 22:14 UT (retrograde) and 25 April 12:54 UT
//   (direct), as the 2024 almanacs list them (6:14 pm EDT and 8:54 am EDT; cafeastrology.com,
//   "Mercury turns retrograde in Aries 2024"; 3:14 pm and 5:54 am PDT, tracyastrosalon, March
//   2024).
// - Mercury's station direct on 8 January 2017, 09:42:40 UT (grandtrines.wordpress.com, "Promethean
//   Mercury turns direct", January 2017).
// - Saturn at opposition on 8 September 2024, 04:27 UT (sciencythoughts.blogspot.com, September
//   2024; J. L. Hunt, whenthecurveslineup.com, 7 September 2024, times from the US Naval
//   Observatory's MICA: "Saturn continues to retrograde"); an outer planet at opposition moves
//   backwards.
// - Saturn in conjunction with the Sun on 28 February 2024 (Fairbanks Museum, 28 February 2024);
//   an outer planet behind the Sun moves forwards.
// - Jupiter stationary on 9 October 2024, 07:04 UT, turning retrograde (12:04 am PDT;
//   tracyastrosalon, "Jupiter Stations Retrograde - October 9", October 2024).
struct RetrogradeCase {
    const char* name;
    int body;
    int year, month, day, hour, minute; // universal time
    bool retrograde;
};

constexpr RetrogradeCase retrogradeCases[] = {
    {"mercuryTwelveHoursBeforeTurningBack", mercury, 2024, 4, 1, 10, 0, false},
    {"mercuryTwelveHoursAfterTurningBack", mercury, 2024, 4, 2, 10, 0, true},
    {"mercuryAtInferiorConjunction", mercury, 2024, 4, 11, 12, 0, true},
    {"mercuryTwelveHoursBeforeTurningForward", mercury, 2024, 4, 25, 1, 0, true},
    {"mercuryTwelveHoursAfterTurningForward", mercury, 2024, 4, 26, 1, 0, false},
    {"mercuryElevenHoursBeforeTurningForward2017", mercury, 2017, 1, 7, 22, 40, true},
    {"mercuryElevenHoursAfterTurningForward2017", mercury, 2017, 1, 8, 20, 40, false},
    {"saturnAtOpposition", saturn, 2024, 9, 8, 4, 27, true},
    {"saturnBehindTheSun", saturn, 2024, 2, 28, 12, 0, false},
    {"jupiterTwelveHoursBeforeTurningBack", jupiter, 2024, 10, 8, 19, 0, false},
    {"jupiterTwelveHoursAfterTurningBack", jupiter, 2024, 10, 9, 19, 0, true},
};

class RetrogradeAtPublishedDates : public ::testing::TestWithParam<RetrogradeCase> {};

// Catches a sign slip in the motion (every row flips), a span too wide to see a station within a
// day (the rows twelve hours from a station), and a wrong element row for the body.
TEST_P(RetrogradeAtPublishedDates, AgreesWithThePublishedEphemeris) {
    const RetrogradeCase& c = GetParam();
    const double d = DaysSinceJ2000(c.year, c.month, c.day, c.hour, c.minute);
    EXPECT_EQ(IsRetrogradeAt(c.body, d), c.retrograde) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Planets, RetrogradeAtPublishedDates, ::testing::ValuesIn(retrogradeCases),
                         [](const ::testing::TestParamInfo<RetrogradeCase>& info) {
                             return info.param.name;
                         });

// The birth's zone decides the instant: 2 April 2024 02:00 Indian time is 1 April 20:30 UT, about
// two hours before Mercury turns back. Read as universal time it would already be retrograde.
// The Sun, the Moon, the angles and the nodes never carry the mark.
TEST(RetrogradeBodies, TheBirthsZoneDecidesTheInstant) {
    ChartState chart;
    LoadChartInput(chart, Birth(2024, 4, 2, 2, 0, indianZone, false, {77, 13, true}));
    const std::array<bool, positionCount> before = RetrogradeBodies(chart);
    EXPECT_FALSE(before[mercury]);
    LoadChartInput(chart, Birth(2024, 4, 2, 8, 0, indianZone, false, {77, 13, true}));
    const std::array<bool, positionCount> after = RetrogradeBodies(chart);
    EXPECT_TRUE(after[mercury]);
    for (const int body : {0, 1, 10, 11, 12, 13}) {
        EXPECT_FALSE(after[static_cast<std::size_t>(body)])
            << bodyNames[static_cast<std::size_t>(body)];
    }
}

} // namespace
