#include "charts/ChartGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

namespace {

// South Indian: (column, row) of each sign's cell, Pisces top left and on clockwise; the same
// for every ascendant.
constexpr int southCells[12][2] = {{1, 0}, {2, 0}, {3, 0}, {3, 1}, {3, 2}, {3, 3},
                                   {2, 3}, {1, 3}, {0, 3}, {0, 2}, {0, 1}, {0, 0}};

// North Indian: the centre of each house's figure, house 1 the top diamond, counter-clockwise.
constexpr double third = 1.0 / 12.0;
constexpr double houseCentres[12][2] = {{0.5, 0.25}, {0.25, third},     {third, 0.25},
                                        {0.25, 0.5}, {third, 0.75},     {0.25, 1 - third},
                                        {0.5, 0.75}, {0.75, 1 - third}, {1 - third, 0.75},
                                        {0.75, 0.5}, {1 - third, 0.25}, {0.75, third}};

// North Indian: the sign numbers (1 Aries ... 12 Pisces) of houses 1 to 12 for each ascendant.
const char* const northHouseSigns[12] = {
    "1 2 3 4 5 6 7 8 9 10 11 12", "2 3 4 5 6 7 8 9 10 11 12 1", "3 4 5 6 7 8 9 10 11 12 1 2",
    "4 5 6 7 8 9 10 11 12 1 2 3", "5 6 7 8 9 10 11 12 1 2 3 4", "6 7 8 9 10 11 12 1 2 3 4 5",
    "7 8 9 10 11 12 1 2 3 4 5 6", "8 9 10 11 12 1 2 3 4 5 6 7", "9 10 11 12 1 2 3 4 5 6 7 8",
    "10 11 12 1 2 3 4 5 6 7 8 9", "11 12 1 2 3 4 5 6 7 8 9 10", "12 1 2 3 4 5 6 7 8 9 10 11"};

UnitPoint Centre(const std::vector<UnitPoint>& polygon) {
    UnitPoint sum;
    for (const UnitPoint& p : polygon) {
        sum.x += p.x / static_cast<double>(polygon.size());
        sum.y += p.y / static_cast<double>(polygon.size());
    }
    return sum;
}

bool RectInside(const std::vector<UnitPoint>& polygon, const UnitRect& r) {
    return PolygonContains(polygon, {r.left, r.top}) &&
           PolygonContains(polygon, {r.left + r.width, r.top}) &&
           PolygonContains(polygon, {r.left, r.top + r.height}) &&
           PolygonContains(polygon, {r.left + r.width, r.top + r.height});
}

struct LayoutCase {
    ChartStyle style;
    int ascendantSign;
};

class SignToCellTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(SignToCellTest, CellsHousesAndBoxes) {
    const auto [style, ascendant] = GetParam();
    const ChartGeometry geometry = LayOutChart(style, ascendant);
    std::ostringstream houseSigns;
    std::array<int, 13> signOfHouse{};
    for (int sign = 0; sign < 12; ++sign) {
        const ChartCellGeometry& cell = geometry.cells[static_cast<std::size_t>(sign)];
        EXPECT_EQ(cell.sign, sign);
        const UnitPoint centre = Centre(cell.polygon);
        if (style == ChartStyle::SouthIndian) {
            EXPECT_FALSE(cell.house);
            EXPECT_NEAR(centre.x, (southCells[sign][0] + 0.5) / 4, 1e-9) << "sign " << sign;
            EXPECT_NEAR(centre.y, (southCells[sign][1] + 0.5) / 4, 1e-9) << "sign " << sign;
        } else {
            ASSERT_TRUE(cell.house) << "sign " << sign;
            const int house = *cell.house;
            signOfHouse[static_cast<std::size_t>(house)] = sign + 1;
            EXPECT_NEAR(centre.x, houseCentres[house - 1][0], 1e-9) << "house " << house;
            EXPECT_NEAR(centre.y, houseCentres[house - 1][1], 1e-9) << "house " << house;
            ASSERT_TRUE(cell.numberBox);
            EXPECT_TRUE(RectInside(cell.polygon, *cell.numberBox)) << "house " << house;
            const UnitRect& t = cell.textBox;
            const UnitRect& n = *cell.numberBox;
            const bool apart = n.left >= t.left + t.width || t.left >= n.left + n.width ||
                               n.top >= t.top + t.height || t.top >= n.top + n.height;
            EXPECT_TRUE(apart) << "house " << house << ": number box overlaps the labels";
        }
        EXPECT_TRUE(RectInside(cell.polygon, cell.textBox)) << "sign " << sign;
        EXPECT_GT(cell.textBox.width * cell.textBox.height, 0.02) << "sign " << sign;
    }
    if (style == ChartStyle::NorthIndian) {
        for (int house = 1; house <= 12; ++house) {
            houseSigns << (house > 1 ? " " : "") << signOfHouse[static_cast<std::size_t>(house)];
            EXPECT_EQ(NorthIndianHouseSign(house, ascendant) + 1,
                      signOfHouse[static_cast<std::size_t>(house)]);
        }
        EXPECT_EQ(houseSigns.str(), northHouseSigns[ascendant]);
        EXPECT_FALSE(geometry.ascendantMark);
    } else {
        ASSERT_TRUE(geometry.ascendantMark);
        const auto& cell = geometry.cells[static_cast<std::size_t>(ascendant)].polygon;
        const UnitLine mark = *geometry.ascendantMark;
        EXPECT_TRUE(PolygonContains(cell, mark.from) && PolygonContains(cell, mark.to));
        // The mark stays clear of the labels.
        const UnitRect& t = geometry.cells[static_cast<std::size_t>(ascendant)].textBox;
        EXPECT_LT(std::max(mark.from.y, mark.to.y), t.top);
    }
    const std::array<int, 12> order = ReadingOrder(style, ascendant);
    EXPECT_EQ(order[0], style == ChartStyle::SouthIndian ? 0 : ascendant);
}

std::vector<LayoutCase> AllLayouts() {
    std::vector<LayoutCase> cases;
    for (const ChartStyle style : {ChartStyle::SouthIndian, ChartStyle::NorthIndian}) {
        for (int sign = 0; sign < 12; ++sign) {
            cases.push_back({style, sign});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryAscendant, SignToCellTest, ::testing::ValuesIn(AllLayouts()),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                             return std::string(info.param.style == ChartStyle::SouthIndian
                                                    ? "south"
                                                    : "north") +
                                    "Ascendant" + std::to_string(info.param.ascendantSign);
                         });

TEST(PolygonContains, EitherWindingAndEdges) {
    const std::vector<UnitPoint> clockwise = {{0, 0}, {1, 0}, {0, 1}};
    const std::vector<UnitPoint> counter = {{0, 0}, {0, 1}, {1, 0}};
    for (const auto* triangle : {&clockwise, &counter}) {
        EXPECT_TRUE(PolygonContains(*triangle, {0.2, 0.2}));
        EXPECT_TRUE(PolygonContains(*triangle, {0.5, 0.5}));
        EXPECT_FALSE(PolygonContains(*triangle, {0.6, 0.6}));
        EXPECT_FALSE(PolygonContains(*triangle, {-0.1, 0.5}));
    }
}

} // namespace
