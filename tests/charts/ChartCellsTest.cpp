#include "charts/ChartCells.h"
#include "charts/ChartGeometry.h"
#include "support/DecanateLookup.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

const char* const signLetters[12] = {"Ari", "Tau", "Gem", "Can", "Leo", "Vir",
                                     "Lib", "Sco", "Sag", "Cap", "Aqu", "Pis"};

// The sign whose cell holds `body`; -1 when no cell does.
int CellOf(const ChartContents& contents, int body) {
    for (int sign = 0; sign < 12; ++sign) {
        for (const ChartEntry& entry : contents.cells[static_cast<std::size_t>(sign)]) {
            if (entry.body == body) {
                return sign;
            }
        }
    }
    return -1;
}

// At the decanate edges of every sign, the Sun and the Ascendant stand in the D-3 cell of the
// sign that the decanate stage's interpretation table names, and in the D-1 cell of their own
// sign with their whole degrees.
TEST(ChartPlacement, DecanateCellIsTheTablesDecanateSign) {
    const std::array<std::pair<const char*, int>, 4> edges = {
        {{"09 %s 59", 9}, {"10 %s 00", 10}, {"19 %s 59", 19}, {"20 %s 00", 20}}};
    for (int sign = 0; sign < 12; ++sign) {
        for (const auto& [pattern, degrees] : edges) {
            char text[16];
            std::snprintf(text, sizeof text, pattern, signLetters[sign]);
            const std::optional<DecanateResult> decanate = LookUpDecanate(text);
            ASSERT_TRUE(decanate) << text;
            ChartState chart;
            chart.positionText[0] = text;
            chart.positionText[chartAscendantBody] = text;
            const ChartContents d3 = ComputeChartContents(chart, ChartKind::Decanate);
            for (const int body : {0, chartAscendantBody}) {
                const int cell = CellOf(d3, body);
                ASSERT_GE(cell, 0) << text << " body " << body;
                EXPECT_EQ(signNames[static_cast<std::size_t>(cell)], decanate->decanateSign)
                    << text << " body " << body;
            }
            EXPECT_EQ(d3.ascendantSign, CellOf(d3, chartAscendantBody)) << text;

            const ChartContents d1 = ComputeChartContents(chart, ChartKind::Birth);
            EXPECT_EQ(CellOf(d1, 0), sign) << text;
            EXPECT_EQ(d1.ascendantSign, sign) << text;
            const std::string degreeText = std::to_string(degrees) + "\u00B0";
            EXPECT_EQ(EntryLabel(d1.cells[static_cast<std::size_t>(sign)][0]), "Asc " + degreeText)
                << text;
            EXPECT_EQ(EntryLabel(d1.cells[static_cast<std::size_t>(sign)][1]), "Su " + degreeText)
                << text;
        }
    }
}

// Catches a decanate chart that ignores the chosen scheme: under Jagannatha a Sun at 5° Taurus
// stands in Capricorn and an Ascendant at 25° Gemini in Gemini (the movable earth and air signs'
// trines), where the Parashara drekkana puts them in Taurus and Aquarius.
TEST(ChartPlacement, DecanateCellFollowsTheScheme) {
    ChartState chart;
    chart.positionText[0] = "05 Tau 00";
    chart.positionText[chartAscendantBody] = "25 Gem 00";
    const ChartContents parashara = ComputeChartContents(chart, ChartKind::Decanate);
    EXPECT_EQ(CellOf(parashara, 0), 1);
    EXPECT_EQ(parashara.ascendantSign, 10);
    const ChartContents jagannatha =
        ComputeChartContents(chart, ChartKind::Decanate, DrekkanaScheme::Jagannatha);
    EXPECT_EQ(CellOf(jagannatha, 0), 9);
    EXPECT_EQ(jagannatha.ascendantSign, 2);
}

// A small chart through every text a reader or the clipboard gets: the Ascendant first in its
// cell, the nodes and the Midheaven left out, an unreadable position skipped.
TEST(ChartTexts, DescriptionAndLinesReadTheCells) {
    ChartState chart;
    chart.positionText[4] = "12 Ari 05"; // Mars
    chart.positionText[1] = "18 Tau 40"; // Moon
    chart.positionText[0] = "03 Leo 10"; // Sun
    chart.positionText[chartAscendantBody] = "05 Leo 00";
    chart.positionText[11] = "14 Tau 00"; // Midheaven
    chart.positionText[12] = "01 Gem 00"; // Rahu
    chart.positionText[13] = "01 Sag 00"; // Ketu
    chart.positionText[5] = "xx";         // Jupiter, unreadable
    const ChartContents birth = ComputeChartContents(chart, ChartKind::Birth);

    struct Case {
        ChartStyle style;
        ChartKind kind;
        const char* description;
    };
    const Case cases[] = {
        {ChartStyle::SouthIndian, ChartKind::Birth,
         "Aries: Mars 12\u00B0. Taurus: Moon 18\u00B0. Leo: Ascendant 5\u00B0, Sun 3\u00B0."},
        {ChartStyle::NorthIndian, ChartKind::Birth,
         "House 1, Leo: Ascendant 5\u00B0, Sun 3\u00B0. House 9, Aries: Mars 12\u00B0. "
         "House 10, Taurus: Moon 18\u00B0."},
        // D-3: Mars 12 Ari -> Leo, Moon 18 Tau -> Virgo, Sun and Ascendant stay in Leo.
        {ChartStyle::SouthIndian, ChartKind::Decanate, "Leo: Ascendant, Sun, Mars. Virgo: Moon."},
        {ChartStyle::NorthIndian, ChartKind::Decanate,
         "House 1, Leo: Ascendant, Sun, Mars. House 2, Virgo: Moon."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChartDescription(ComputeChartContents(chart, c.kind), c.style), c.description);
    }
    const std::vector<std::string> lines = ChartTextLines(birth);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "Aries: Ma 12\u00B0");
    EXPECT_EQ(lines[2], "Gemini: -");
    EXPECT_EQ(lines[4], "Leo: Asc 5\u00B0, Su 3\u00B0");
    EXPECT_EQ(ChartDescription(ComputeChartContents(ChartState{}, ChartKind::Birth),
                               ChartStyle::SouthIndian),
              "No bodies.");
    EXPECT_EQ(ChartTitle("Ravi", "", "Pune"), "Ravi, Pune");
}

} // namespace
