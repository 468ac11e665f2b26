#include "decanates/modVedicDecanates.h"
#include "support/DecanateLookup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

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
