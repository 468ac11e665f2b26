#include "decanates/modVedicDecanates.h"
#include "support/DecanateLookup.h"
#include "support/TextChecksum.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct DecanateCase {
    const char* name;
    const char* positionText;
    const char* decanateName;
    const char* decanateSign;
};

class DecanateLookupTest : public ::testing::TestWithParam<DecanateCase> {};

TEST_P(DecanateLookupTest, NameAndSign) {
    const DecanateCase& c = GetParam();
    const auto result = LookUpDecanate(c.positionText);
    ASSERT_TRUE(result) << "case " << c.name;
    EXPECT_EQ(result->decanateName, c.decanateName) << "case " << c.name;
    EXPECT_EQ(result->decanateSign, c.decanateSign) << "case " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Edges, DecanateLookupTest,
    ::testing::Values(DecanateCase{"startOfAries", "00 Ari 00", "First Decanate", "Aries"},
                      DecanateCase{"minutesIgnored", "09 Tau 59", "First Decanate", "Taurus"},
                      DecanateCase{"tenDegrees", "10 Gem 00", "Second Decanate", "Libra"},
                      DecanateCase{"endOfSecond", "19 Can 59", "Second Decanate", "Scorpio"},
                      DecanateCase{"twentyDegrees", "20 Sco 00", "Third Decanate", "Cancer"},
                      DecanateCase{"endOfZodiac", "29 Pis 59", "Third Decanate", "Scorpio"}),
    [](const ::testing::TestParamInfo<DecanateCase>& info) { return info.param.name; });

TEST(DecanateTables, NamedRowsReadExactly) {
    const auto libraThird = LookUpDecanate("25 Lib 10");
    ASSERT_TRUE(libraThird);
    EXPECT_EQ(*libraThird,
              (DecanateResult{"Third Decanate", "Gemini",
                              "You will hate the opposite sex and will have an "
                              "unstable income.",
                              "Mercury", "Air", "The Great Bear", "Sense", "Fig tree"}));
    const auto geminiFirst = LookUpDecanate("03 Gem 00");
    ASSERT_TRUE(geminiFirst);
    EXPECT_EQ(geminiFirst->constellationName, "The Great Bear");
    EXPECT_EQ(geminiFirst->keyword, "Intuition");
    EXPECT_EQ(geminiFirst->treeZodiac, "Ash tree");
    EXPECT_EQ(LookUpDecanate("15 Aqu 00")->constellationName, "Canes Majo");
    EXPECT_EQ(LookUpDecanate("05 Cap 00")->treeZodiac, "Beech tree, Apple tree,");
}

// The 36 rows as the result window shows them, checked character by character against the
// decanate tables when they were written down: the SHA-256 of every text, decanate by decanate
// (first, second, third), sign by sign (Aries to Pisces), the seven texts of a row in DecanateRow
// order, each followed by a line feed; and the length of each text to point at the one changed.
constexpr std::string_view decanateTextsSha256 =
    "98adea8e0628938047b9f0961f4a2a71e4e4ffb5e590f767162b0e85dfe86f42";
constexpr std::array<std::array<std::size_t, 7>, 36> decanateTextLengths = {{
    {{5, 166, 4, 4, 10, 8, 12}},  // Aries, first
    {{6, 113, 5, 5, 5, 13, 12}},  // Taurus, first
    {{6, 99, 7, 3, 14, 9, 8}},    // Gemini, first
    {{6, 84, 8, 5, 11, 4, 22}},   // Cancer, first
    {{3, 167, 7, 4, 6, 10, 12}},  // Leo, first
    {{5, 113, 7, 5, 6, 10, 9}},   // Virgo, first
    {{5, 104, 5, 3, 7, 8, 23}},   // Libra, first
    {{7, 99, 14, 5, 9, 9, 8}},    // Scorpio, first
    {{11, 108, 7, 4, 4, 5, 8}},   // Sagittarius, first
    {{9, 102, 6, 5, 13, 10, 23}}, // Capricorn, first
    {{8, 124, 17, 3, 8, 11, 12}}, // Aquarius, first
    {{6, 132, 19, 5, 7, 5, 9}},   // Pisces, first
    {{3, 107, 7, 4, 9, 6, 11}},   // Aries, second
    {{5, 171, 7, 5, 8, 10, 6}},   // Taurus, second
    {{5, 74, 5, 3, 5, 12, 12}},   // Gemini, second
    {{7, 176, 14, 5, 3, 14, 11}}, // Cancer, second
    {{11, 95, 7, 4, 6, 9, 13}},   // Leo, second
    {{9, 114, 6, 5, 19, 9, 9}},   // Virgo, second
    {{8, 89, 17, 3, 7, 11, 11}},  // Libra, second
    {{6, 169, 19, 5, 9, 14, 6}},  // Scorpio, second
    {{5, 122, 4, 4, 8, 10, 12}},  // Sagittarius, second
    {{6, 117, 5, 5, 5, 6, 11}},   // Capricorn, second
    {{6, 113, 7, 3, 10, 8, 8}},   // Aquarius, second
    {{6, 133, 8, 5, 5, 10, 8}},   // Pisces, second
    {{11, 116, 7, 4, 7, 12, 8}},  // Aries, third
    {{9, 65, 6, 5, 16, 10, 8}},   // Taurus, third
    {{8, 87, 17, 3, 5, 10, 9}},   // Gemini, third
    {{6, 67, 19, 5, 10, 8, 9}},   // Cancer, third
    {{5, 112, 4, 4, 7, 9, 10}},   // Leo, third
    {{6, 98, 5, 5, 6, 12, 13}},   // Virgo, third
    {{6, 64, 7, 3, 14, 5, 8}},    // Libra, third
    {{6, 122, 8, 5, 4, 8, 8}},    // Scorpio, third
    {{3, 107, 7, 4, 6, 8, 9}},    // Sagittarius, third
    {{5, 48, 7, 5, 15, 9, 9}},    // Capricorn, third
    {{5, 74, 5, 3, 5, 9, 10}},    // Aquarius, third
    {{7, 89, 14, 5, 16, 6, 13}},  // Pisces, third
}};

TEST(DecanateTables, EveryTextAsWritten) {
    static constexpr const char* fieldNames[] = {"decanate sign",  "description",   "ruling planet",
                                                 "ruling element", "constellation", "keyword",
                                                 "tree zodiac"};
    std::vector<std::string_view> texts;
    for (int decanate = 0; decanate < 3; ++decanate) {
        for (int sign = 0; sign < signCount; ++sign) {
            const DecanateRow& row = decanateTables[decanate][sign];
            const char* fields[] = {row.decanateSign,  row.description,   row.rulingPlanet,
                                    row.rulingElement, row.constellation, row.keyword,
                                    row.treeZodiac};
            for (int field = 0; field < 7; ++field) {
                texts.emplace_back(fields[field]);
                EXPECT_EQ(std::strlen(fields[field]),
                          decanateTextLengths[12 * decanate + sign][field])
                    << "decanate table, " << decanateNames[decanate] << " of "
                    << signAbbreviations.substr(3 * sign, 3) << ", " << fieldNames[field] << ": \""
                    << fields[field] << "\" has lost or gained a character";
            }
        }
    }
    EXPECT_EQ(Sha256OfLines(texts), decanateTextsSha256)
        << "decanate table: a text has changed; compare every row with the decanate tables";
}

TEST(DecanateTables, TwoDescriptionsKeepTheirTrailingBlank) {
    std::set<std::string> withTrailingBlank;
    for (int decanate = 0; decanate < 3; ++decanate) {
        for (int sign = 0; sign < signCount; ++sign) {
            const std::string description = decanateTables[decanate][sign].description;
            if (!description.empty() && description.back() == ' ') {
                withTrailingBlank.insert(std::string(signAbbreviations.substr(3 * sign, 3)) +
                                         std::to_string(decanate));
            }
        }
    }
    EXPECT_EQ(withTrailingBlank, (std::set<std::string>{"Vir0", "Sco1"}));
}

TEST(DecanateTables, RowsFollowTheTraditionalRules) {
    // The decanate sign is the sign itself, the fifth and the ninth from it; the ruler is the
    // decanate sign's ruler; the element is the body's sign's, cycling fire, earth, air, water.
    static constexpr const char* signNames[] = {"Aries",       "Taurus",    "Gemini",   "Cancer",
                                                "Leo",         "Virgo",     "Libra",    "Scorpio",
                                                "Sagittarius", "Capricorn", "Aquarius", "Pisces"};
    static constexpr const char* rulers[] = {"Mars",
                                             "Venus",
                                             "Mercury",
                                             "The Moon",
                                             "The Sun",
                                             "Mercury",
                                             "Venus",
                                             "Pluto and Mars",
                                             "Jupiter",
                                             "Saturn",
                                             "Uranus and Saturn",
                                             "Neptune and Jupiter"};
    static constexpr const char* elements[] = {"Fire", "Earth", "Air", "Water"};
    for (int decanate = 0; decanate < 3; ++decanate) {
        for (int sign = 0; sign < signCount; ++sign) {
            const DecanateRow& row = decanateTables[decanate][sign];
            const int decanateSign = (sign + 4 * decanate) % 12;
            EXPECT_STREQ(row.decanateSign, signNames[decanateSign]) << sign << "/" << decanate;
            EXPECT_STREQ(row.rulingPlanet, rulers[decanateSign]) << sign << "/" << decanate;
            EXPECT_STREQ(row.rulingElement, elements[sign % 4]) << sign << "/" << decanate;
            EXPECT_GT(std::string(row.description).size(), 40u) << sign << "/" << decanate;
        }
    }
}

TEST(DecanateTables, EveryRowIsReachableFromAPositionText) {
    std::set<const DecanateRow*> reached;
    for (int sign = 0; sign < signCount; ++sign) {
        for (int degree = 0; degree < 30; ++degree) {
            char text[32];
            std::snprintf(text, sizeof text, "%02d %s 30", degree,
                          std::string(signAbbreviations.substr(3 * sign, 3)).c_str());
            const auto result = LookUpDecanate(text);
            ASSERT_TRUE(result) << text;
            const DecanateRow& row = decanateTables[degree / 10][sign];
            EXPECT_EQ(result->description, row.description) << text;
            reached.insert(&row);
        }
    }
    EXPECT_EQ(reached.size(), 36u);
}

TEST(DetermineDecanates, UnrecognisedSignKeepsThePreviousRecord) {
    ChartState chart;
    for (int i = 0; i < displayedBodyCount; ++i) {
        chart.positionText[i] = "12 Leo 30";
    }
    DecanateResults results;
    DetermineDecanates(chart, results);
    const DecanateResult leoSecond = results[4];
    EXPECT_EQ(leoSecond.decanateName, "Second Decanate");

    chart.positionText[4] = "12 leo 30"; // lower case is not a sign
    chart.positionText[5] = "";
    chart.positionText[6] = "05 Vir 00";
    chart.positionText[12] = "05 Vir 00"; // Rahu has no tab: changes nothing
    DetermineDecanates(chart, results);
    EXPECT_EQ(results[4], leoSecond);
    EXPECT_EQ(results[5], leoSecond);
    EXPECT_EQ(results[6].decanateSign, "Virgo");
    EXPECT_EQ(results[0], results[1]) << "two bodies in one decanate read the same";
}

TEST(DetermineDecanates, BeforeAnyCalculationNothingIsRecognised) {
    const ChartState fresh;
    for (const std::string& text : fresh.positionText) {
        EXPECT_TRUE(text.empty());
    }
    DecanateResults results;
    DetermineDecanates(fresh, results);
    EXPECT_EQ(results, DecanateResults{});
}

} // namespace
