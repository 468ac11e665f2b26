#include "charts/ChartCells.h"
#include "charts/ChartGeometry.h"
#include "support/DecanateLookup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

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
            EXPECT_EQ(
                EntryLabel(d1.cells[static_cast<std::size_t>(sign)][0], LabelDetail::WholeDegrees),
                "Asc " + degreeText)
                << text;
            EXPECT_EQ(
                EntryLabel(d1.cells[static_cast<std::size_t>(sign)][1], LabelDetail::WholeDegrees),
                "Su " + degreeText)
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
        ComputeChartContents(chart, ChartKind::Decanate, {}, DrekkanaScheme::Jagannatha);
    EXPECT_EQ(CellOf(jagannatha, 0), 9);
    EXPECT_EQ(jagannatha.ascendantSign, 2);
}

// A small chart through every text a reader or the clipboard gets: the Ascendant first in its
// cell, the bodies after it by longitude, the nodes drawn and the Midheaven left out, an
// unreadable position skipped.
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
         "Aries: Mars 12\u00B005\u2032. Taurus: Moon 18\u00B040\u2032. Gemini: Rahu "
         "1\u00B000\u2032. Leo: Ascendant 5\u00B000\u2032, Sun 3\u00B010\u2032. Sagittarius: "
         "Ketu 1\u00B000\u2032."},
        {ChartStyle::NorthIndian, ChartKind::Birth,
         "House 1, Leo: Ascendant 5\u00B000\u2032, Sun 3\u00B010\u2032. House 5, Sagittarius: "
         "Ketu 1\u00B000\u2032. House 9, Aries: Mars 12\u00B005\u2032. House 10, Taurus: Moon "
         "18\u00B040\u2032. House 11, Gemini: Rahu 1\u00B000\u2032."},
        // D-3: Mars 12 Ari -> Leo at 6° of the D-3, Moon 18 Tau -> Virgo, Sun (3° Leo, 9° of the
        // D-3) and Ascendant stay in Leo; the nodes stay in their signs' first decanates.
        {ChartStyle::SouthIndian, ChartKind::Decanate,
         "Gemini: Rahu. Leo: Ascendant, Mars, Sun. Virgo: Moon. Sagittarius: Ketu."},
        {ChartStyle::NorthIndian, ChartKind::Decanate,
         "House 1, Leo: Ascendant, Mars, Sun. House 2, Virgo: Moon. House 5, Sagittarius: Ketu. "
         "House 11, Gemini: Rahu."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChartDescription(ComputeChartContents(chart, c.kind), c.style), c.description);
    }
    const std::vector<std::string> lines = ChartTextLines(birth);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "Aries: Ma 12\u00B005\u2032");
    EXPECT_EQ(lines[3], "Cancer: -");
    EXPECT_EQ(lines[4], "Leo: Asc 5\u00B000\u2032, Su 3\u00B010\u2032");
    EXPECT_EQ(ChartDescription(ComputeChartContents(ChartState{}, ChartKind::Birth),
                               ChartStyle::SouthIndian),
              "No bodies.");
    EXPECT_EQ(ChartTitle("Ravi", "", "Pune"), "Ravi, Pune");
}

// The Navamsa sign at 3°19′, 3°20′ and 29°59′ of every sign, written by hand from the rule of
// Brihat Parashara Hora Shastra (ch. 6): nine parts of 3°20′, counted from the sign itself when it
// is movable, from its 9th when fixed, from its 5th when dual. The first column is the sign the
// count starts from, the second the next one, the third the ninth part.
struct NavamsaRow {
    const char* sign;
    const char* at3d19;
    const char* at3d20;
    const char* at29d59;
};
constexpr NavamsaRow navamsaRows[12] = {
    {"Ari", "Aries", "Taurus", "Sagittarius"}, // movable: from Aries
    {"Tau", "Capricorn", "Aquarius", "Virgo"}, // fixed: from the 9th, Capricorn
    {"Gem", "Libra", "Scorpio", "Gemini"},     // dual: from the 5th, Libra
    {"Can", "Cancer", "Leo", "Pisces"},        // movable
    {"Leo", "Aries", "Taurus", "Sagittarius"}, // fixed: 9th from Leo
    {"Vir", "Capricorn", "Aquarius", "Virgo"}, // dual: 5th from Virgo
    {"Lib", "Libra", "Scorpio", "Gemini"},     // movable
    {"Sco", "Cancer", "Leo", "Pisces"},        // fixed: 9th from Scorpio
    {"Sag", "Aries", "Taurus", "Sagittarius"}, // dual: 5th from Sagittarius
    {"Cap", "Capricorn", "Aquarius", "Virgo"}, // movable
    {"Aqu", "Libra", "Scorpio", "Gemini"},     // fixed: 9th from Aquarius
    {"Pis", "Cancer", "Leo", "Pisces"},        // dual: 5th from Pisces
};

// Catches a wrong starting sign for any of the three kinds of sign, a part of 3°20′ read as three
// or four degrees (the 3°19′/3°20′ pair), a count that runs past the ninth part (29°59′), and
// minutes not read from the position text.
TEST(NavamsaCell, HandTableAtThePartEdges) {
    for (const NavamsaRow& row : navamsaRows) {
        const std::pair<const char*, const char*> cases[] = {
            {"03 %s 19", row.at3d19}, {"03 %s 20", row.at3d20}, {"29 %s 59", row.at29d59}};
        for (const auto& [pattern, expected] : cases) {
            char text[16];
            std::snprintf(text, sizeof text, pattern, row.sign);
            ChartState chart;
            chart.positionText[3] = text; // Venus
            const int cell = CellOf(ComputeChartContents(chart, ChartKind::Navamsa), 3);
            ASSERT_GE(cell, 0) << text;
            EXPECT_STREQ(signNames[static_cast<std::size_t>(cell)], expected) << text;
        }
    }
}

// One chart through the three kinds of cell: the nodes stand in every chart (Ketu in the D-3 by
// the same decanate rule as the planets), a retrograde body carries its mark in the label, the
// spoken text and the tooltip, and the bodies of a cell stand by their longitude in that chart,
// not by body index. Worked by hand:
//   Mercury 04°10′ Capricorn (retrograde), Sun 21°03′ Capricorn, Mars 04°00′ Capricorn,
//   Rahu 15°30′ Cancer, Ketu 15°30′ Capricorn, Ascendant 25°00′ Aquarius.
//   D-3: Mercury and Mars in Capricorn (first decanate, at 12°30′ and 12°00′ of the D-3), Ketu in
//   Taurus (second), Sun in Virgo (third), Rahu in Scorpio (second of Cancer), Ascendant in
//   Libra (third of Aquarius).
//   D-9: Capricorn counts from itself: Mars and Mercury in its 2nd part (Aquarius), Ketu in the
//   5th (Taurus), Sun in the 7th (Cancer); Rahu in Cancer's 5th (Scorpio); the Ascendant in
//   Aquarius's 8th part, counted from Libra: Taurus.
TEST(ChartCells, NodesMarksAndOrderInEveryKind) {
    ChartState chart;
    chart.positionText[2] = "04 Cap 10";  // Mercury
    chart.positionText[0] = "21 Cap 03";  // Sun
    chart.positionText[4] = "04 Cap 00";  // Mars
    chart.positionText[12] = "15 Can 30"; // Rahu
    chart.positionText[13] = "15 Cap 30"; // Ketu
    chart.positionText[chartAscendantBody] = "25 Aqu 00";
    RetrogradeFlags retrograde{};
    retrograde[2] = true;

    struct Row {
        const char* name;
        ChartKind kind;
        std::vector<std::string> lines; // ChartTextLines of the occupied cells, in sign order
    };
    const Row rows[] = {
        {"birthChartOrdersByDegree",
         ChartKind::Birth,
         {"Cancer: Ra 15\u00B030\u2032",
          "Capricorn: Ma 4\u00B000\u2032, Me\u211E 4\u00B010\u2032, Ke 15\u00B030\u2032, Su "
          "21\u00B003\u2032",
          "Aquarius: Asc 25\u00B000\u2032"}},
        {"decanateChartCarriesTheNodes",
         ChartKind::Decanate,
         {"Taurus: Ke", "Virgo: Su", "Capricorn: Ma, Me\u211E", "Libra: Asc", "Scorpio: Ra"}},
        {"navamsaChart",
         ChartKind::Navamsa,
         {"Taurus: Asc, Ke", "Cancer: Su", "Scorpio: Ra", "Aquarius: Ma, Me\u211E"}},
    };
    for (const Row& row : rows) {
        const ChartContents contents = ComputeChartContents(chart, row.kind, retrograde);
        std::vector<std::string> occupied;
        const std::vector<std::string> lines = ChartTextLines(contents);
        for (std::size_t sign = 0; sign < 12; ++sign) {
            if (!contents.cells[sign].empty()) {
                occupied.push_back(lines[sign]);
            }
        }
        std::vector<std::string> expected = row.lines;
        std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
            const auto signOf = [](const std::string& line) {
                for (int sign = 0; sign < 12; ++sign) {
                    if (line.rfind(std::string(signNames[static_cast<std::size_t>(sign)]) + ":",
                                   0) == 0) {
                        return sign;
                    }
                }
                return -1;
            };
            return signOf(a) < signOf(b);
        });
        EXPECT_EQ(occupied, expected) << row.name;
    }

    const ChartContents birth = ComputeChartContents(chart, ChartKind::Birth, retrograde);
    EXPECT_EQ(CellTooltipLines(birth, 9),
              (std::vector<std::string>{"Capricorn", "Mars 4\u00B000\u2032 Capricorn",
                                        "Mercury 4\u00B010\u2032 Capricorn \u211E",
                                        "Ketu 15\u00B030\u2032 Capricorn",
                                        "Sun 21\u00B003\u2032 Capricorn"}));
    EXPECT_EQ(EntrySpokenText(birth.cells[9][1]), "Mercury retrograde 4\u00B010\u2032");
    EXPECT_EQ(EntryLabel(birth.cells[9][1], LabelDetail::WholeDegrees, retrogradeFallback),
              "Me(R) 4\u00B0");
    EXPECT_EQ(CellOf(WithoutOuterPlanets(birth), 2), 9);
}

// The nine grahas only: Uranus, Neptune and Pluto leave every cell, the nodes stay.
TEST(ChartCells, NineGrahasDropTheOuterPlanets) {
    ChartState chart;
    for (int body : {7, 8, 9, 12, 13}) {
        chart.positionText[static_cast<std::size_t>(body)] = "10 Ari 00";
    }
    const ChartContents nine = WithoutOuterPlanets(ComputeChartContents(chart, ChartKind::Birth));
    EXPECT_EQ(ChartTextLines(nine)[0], "Aries: Ra 10\u00B000\u2032, Ke 10\u00B000\u2032");
}

// The one caption of every drawing, by hand from the birth data. Catches the offset's sign taken
// from the correction as it stands (which is universal time minus local time), daylight saving
// left out of the offset, half hours or local mean time's seconds lost, coordinates in the wrong
// order, and an unknown place leaving an empty part.
TEST(BirthCaption, NameDateTimePlaceCoordinatesOffset) {
    struct Row {
        const char* name;
        int correctionHours, correctionMinutes, correctionSeconds;
        bool daylightSaving;
        const char* place;
        const char* caption;
    };
    const Row rows[] = {
        {"indiaHalfHour", -5, -30, 0, false, "Delhi",
         "ASHA, 15 August 1990 10:30, Delhi, 28\u00B039\u2032N 77\u00B013\u2032E, +5:30"},
        {"westWithSummerTime", 5, 0, 0, true, "",
         "ASHA, 15 August 1990 10:30, 28\u00B039\u2032N 77\u00B013\u2032E, -4:00"},
        {"greenwich", 0, 0, 0, false, "",
         "ASHA, 15 August 1990 10:30, 28\u00B039\u2032N "
         "77\u00B013\u2032E, +0:00"},
        {"monroviaMeanTime", 0, 44, 30, false, "",
         "ASHA, 15 August 1990 10:30, 28\u00B039\u2032N 77\u00B013\u2032E, -0:44:30"},
    };
    for (const Row& row : rows) {
        ChartState chart;
        chart.birthDay = 15;
        chart.birthMonth = 8;
        chart.birthYear = 1990;
        chart.birthHour = 10;
        chart.birthMinute = 30;
        chart.latitudeDegrees = 28;
        chart.latitudeMinutes = 39;
        chart.longitudeDegrees = 77;
        chart.longitudeMinutes = 13;
        chart.longitudeEastFlag = chartTrue;
        chart.zoneCorrectionHours = static_cast<int16_t>(row.correctionHours);
        chart.zoneCorrectionMinutes = static_cast<int16_t>(row.correctionMinutes);
        chart.zoneCorrectionSeconds = static_cast<int16_t>(row.correctionSeconds);
        chart.daylightSaving = row.daylightSaving ? chartTrue : chartFalse;
        EXPECT_EQ(BirthCaption(chart, "ASHA", row.place), row.caption) << row.name;
    }
}

} // namespace
