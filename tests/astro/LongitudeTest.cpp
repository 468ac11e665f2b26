// The longitude of every point of a chart as a number, against values worked independently of
// this code, and the position texts as the truncation of those numbers.

#include "astro/ChartCalculation.h"
#include "astro/PositionText.h"
#include "chart/ChartInput.h"
#include "support/Births.h"

#include <gtest/gtest.h>

#include <array>

namespace {

struct ReferenceChart {
    const char* name;
    ChartInput input;
    std::array<double, positionCount> longitudes; // body-index order, degrees
};

ChartInput AtGreenwich(int year, int month, int day, int hour) {
    ChartInput input = Birth(year, month, day, hour, 0, greenwichZone);
    input.latitudeDegrees = 51;
    input.latitudeMinutes = 30;
    return input;
}

// Worked by tests/astro/reference/sidereal_longitudes.py (mpmath, 30 digits; the script names
// every formula and its source).
const ReferenceChart referenceCharts[] = {
    {"greenwich2000",
     Greenwich2000(),
     {256.52564110877884, 199.46259807211769, 248.05203345820658, 217.72407751810477,
      304.12881076859534, 1.5071435207039618, 16.360670743455456, 290.93611425281444,
      279.33761216634698, 227.60028858041267, 0.44393097583400309, 255.76048575931783,
      100.26851651634177, 280.26851651634177}},
    {"greenwich1901",
     AtGreenwich(1901, 1, 1, 0),
     {257.42580147888814, 25.830222282162981, 245.20443963836264, 228.27571665552735,
      139.15622798537478, 243.45366885157565, 255.33661144861259, 231.82274027522645,
      65.034044255678851, 53.776014861551271, 164.53325437028583, 76.658328564404525,
      216.42577882759048, 36.425778827590482}},
    {"greenwich2050",
     AtGreenwich(2050, 12, 31, 12),
     {255.41784981475940, 114.06801135795025, 233.02539650940307, 208.62063249285857,
      340.57285010326683, 131.16357376176720, 283.02080585913031, 150.93539704366800,
      31.316830858173630, 314.22195050966088, 358.95606497155295, 254.72237611760600,
      193.17847346915657, 13.178473469156572}},
    {"delhi1990",
     DelhiBirth(),
     {118.39218151562569, 48.907699584125567, 145.44099029890386, 97.844944130936646,
      27.487578942846008, 95.637421413176294, 266.03943321762134, 252.23273885253030,
      258.46112389187754, 201.35424336740146, 178.70511528203123, 89.962587979038307,
      281.82631599828559, 101.82631599828559}},
};

// The script and this code differ by the code's 15-digit angle constants, far below this; a
// wrong term, constant or body order moves a longitude by far more.
constexpr double toleranceDegrees = 1e-6;

class SiderealLongitudeOfEveryKindOfBody : public ::testing::TestWithParam<ReferenceChart> {};

TEST_P(SiderealLongitudeOfEveryKindOfBody, MatchesTheIndependentReference) {
    const ReferenceChart& reference = GetParam();
    ChartState chart;
    LoadChartInput(chart, reference.input);
    BodyLongitudes longitudes{};
    CalculateChart(chart, &longitudes);
    for (int body = 0; body < positionCount; ++body) {
        EXPECT_NEAR(longitudes[body], reference.longitudes[body], toleranceDegrees)
            << reference.name << ", " << bodyNames[body];
    }
}

INSTANTIATE_TEST_SUITE_P(Charts, SiderealLongitudeOfEveryKindOfBody,
                         ::testing::ValuesIn(referenceCharts),
                         [](const ::testing::TestParamInfo<ReferenceChart>& info) {
                             return info.param.name;
                         });

// Over a spread of births, each text is its number truncated: the long forms the chart keeps
// for the Moon, the Ascendant and the Midheaven, and the display form of all fourteen. The
// numbers stay in [0, 360), and the same chart computed without them has the same texts.
TEST(BodyLongitudes, TheTextsAreTheNumbersTruncated) {
    for (int step = 0; step < 400; ++step) {
        const ChartInput input = Birth(1901 + step * 37 % 150, 1 + step % 12, 1 + step * 7 % 28,
                                       step * 5 % 24, step * 13 % 60, step % timeZoneCount,
                                       step % 3 == 0, {step * 3 % 180, step % 60, step % 2 == 0});
        ChartState chart;
        LoadChartInput(chart, input);
        ChartState withoutNumbers = chart;
        BodyLongitudes longitudes{};
        CalculateChart(chart, &longitudes);
        CalculateChart(withoutNumbers);
        ASSERT_EQ(chart.positionText, withoutNumbers.positionText) << "step " << step;
        for (int body = 0; body < positionCount; ++body) {
            const double longitude = longitudes[body];
            ASSERT_GE(longitude, 0.0) << "step " << step << ", body " << body;
            ASSERT_LT(longitude, 360.0) << "step " << step << ", body " << body;
            EXPECT_EQ(chart.positionText[body],
                      FormatDisplayPosition(FormatSignPosition(longitude)))
                << "step " << step << ", " << bodyNames[body];
        }
        EXPECT_EQ(chart.moonPositionText, FormatSignPosition(longitudes[1])) << "step " << step;
        EXPECT_EQ(chart.ascendantText, FormatSignPosition(longitudes[10])) << "step " << step;
        EXPECT_EQ(chart.midheavenText, FormatSignPosition(longitudes[11])) << "step " << step;
    }
}

TEST(LongitudeOnCircle, TheCircleClosesAtThreeHundredSixty) {
    const struct {
        double in;
        double out;
    } rows[] = {{0.0, 0.0}, {359.999, 359.999}, {360.0, 0.0}, {-12.5, 12.5}, {180.0, 180.0}};
    for (const auto& row : rows) {
        EXPECT_EQ(LongitudeOnCircle(row.in), row.out) << row.in;
        EXPECT_EQ(FormatSignPosition(row.in), FormatSignPosition(LongitudeOnCircle(row.in)))
            << row.in;
    }
}

} // namespace
