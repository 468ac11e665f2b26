#include "chartview/ChartPainter.h"
#include "support/ChartSvgCheck.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct SvgCase {
    const char* name;
    ChartStyle style;
    // Position texts of Sun..Pluto and the Ascendant (index 10).
    std::array<const char*, 11> positions;
    // Expected sign (0 Aries .. 11 Pisces) of Sun..Pluto and the Ascendant in D-1 and in D-3.
    std::array<int, 11> birthSigns;
    std::array<int, 11> decanateSigns;
};

const std::array<const char*, 11> spread = {"28 Leo 10", "18 Tau 40", "02 Vir 11", "15 Can 00",
                                            "12 Ari 05", "07 Sag 30", "22 Cap 01", "11 Sco 12",
                                            "19 Sag 44", "25 Lib 10", "05 Leo 00"};
const std::array<int, 11> spreadBirth = {4, 1, 5, 3, 0, 8, 9, 7, 8, 6, 4};
const std::array<int, 11> spreadDecanate = {0, 5, 5, 7, 4, 8, 5, 11, 0, 2, 4};
// Nine of eleven in Leo.
const std::array<const char*, 11> crowded = {"28 Leo 10", "18 Leo 40", "02 Leo 11", "15 Leo 00",
                                             "12 Leo 05", "07 Leo 30", "22 Leo 01", "11 Leo 12",
                                             "19 Sag 44", "25 Leo 10", "05 Leo 00"};
const std::array<int, 11> crowdedBirth = {4, 4, 4, 4, 4, 4, 4, 4, 8, 4, 4};
const std::array<int, 11> crowdedDecanate = {0, 8, 4, 8, 8, 4, 0, 8, 0, 0, 4};

void PrintTo(const SvgCase& c, std::ostream* out) {
    *out << c.name;
}

class ChartSvgTest : public ::testing::TestWithParam<SvgCase> {};

// Every label's anchor lies in the cell of its body's sign, as the plain layout gives the cell;
// every body shows once; North Indian numbers stand in their sign's house; the ascendant's mark
// stands in its cell.
TEST_P(ChartSvgTest, LabelsStandInTheirCells) {
    const SvgCase& c = GetParam();
    ChartState chart;
    for (std::size_t i = 0; i < c.positions.size(); ++i) {
        chart.positionText[i] = c.positions[i];
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const ChartContents birth = ComputeChartContents(chart, ChartKind::Birth);
    const ChartContents decanate = ComputeChartContents(chart, ChartKind::Decanate);
    ASSERT_TRUE(WriteChartsSvg(buffer, {&birth, &decanate}, c.style, SvgChartFont(),
                               QStringLiteral("Ravi, 12 March 1980 14:30, Pune")));
    ExpectLabelsInCells(ParseSvg(buffer.data()), c.style,
                        {WithoutNodes(c.birthSigns), WithoutNodes(c.decanateSigns)}, c.name);
}

INSTANTIATE_TEST_SUITE_P(
    BothStyles, ChartSvgTest,
    ::testing::Values(
        SvgCase{"southSpread", ChartStyle::SouthIndian, spread, spreadBirth, spreadDecanate},
        SvgCase{"northSpread", ChartStyle::NorthIndian, spread, spreadBirth, spreadDecanate},
        SvgCase{"southCrowded", ChartStyle::SouthIndian, crowded, crowdedBirth, crowdedDecanate},
        SvgCase{"northCrowded", ChartStyle::NorthIndian, crowded, crowdedBirth, crowdedDecanate}),
    [](const ::testing::TestParamInfo<SvgCase>& info) { return info.param.name; });

// A write that fails (a full disc) is reported, not taken for a written SVG.
TEST(ChartSvg, FailedWriteIsReported) {
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly)) {
        GTEST_SKIP() << "no /dev/full here";
    }
    ChartState chart;
    for (std::size_t i = 0; i < spread.size(); ++i) {
        chart.positionText[i] = spread[i];
    }
    const ChartContents birth = ComputeChartContents(chart, ChartKind::Birth);
    EXPECT_FALSE(
        WriteChartsSvg(full, {&birth}, ChartStyle::SouthIndian, SvgChartFont(), QString()));
}

} // namespace
