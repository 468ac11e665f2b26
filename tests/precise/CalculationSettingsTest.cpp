#include "precise/CalculationSettings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct RefusalCase {
    const char* name;
    Engine engine;
    Nodes nodes;
    bool ayanamsaChosen;
    const char* refusal; // nullptr: accepted
};

// Every combination the command can be given: an ayanamsa or the true node need the precise
// engine, the 1.20 rules' own node needs the 1.20 rules. Catches a refused combination that is
// calculated anyway, and one that is refused without naming its option.
class SettingsRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(SettingsRefusalTest, NamesTheOption) {
    const RefusalCase& c = GetParam();
    CalculationSettings settings;
    settings.engine = c.engine;
    settings.nodes = c.nodes;
    const std::optional<std::string> refusal = SettingsRefusal(settings, c.ayanamsaChosen);
    if (c.refusal == nullptr) {
        EXPECT_FALSE(refusal) << c.name << ": " << *refusal;
    } else {
        ASSERT_TRUE(refusal) << c.name;
        EXPECT_EQ(*refusal, c.refusal) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, SettingsRefusalTest,
    ::testing::Values(RefusalCase{"rulesDefaults", Engine::Rules120, Nodes::Rule, false, nullptr},
                      RefusalCase{"rulesMeanNode", Engine::Rules120, Nodes::Mean, false, nullptr},
                      RefusalCase{"rulesTrueNode", Engine::Rules120, Nodes::True, false,
                                  "--nodes true needs --engine precise"},
                      RefusalCase{"rulesAyanamsa", Engine::Rules120, Nodes::Rule, true,
                                  "--ayanamsa needs --engine precise"},
                      RefusalCase{"rulesAyanamsaAndTrueNode", Engine::Rules120, Nodes::True, true,
                                  "--ayanamsa needs --engine precise"},
                      RefusalCase{"preciseRuleNode", Engine::Precise, Nodes::Rule, false,
                                  "--nodes rule needs --engine 1.20"},
                      RefusalCase{"preciseMeanNode", Engine::Precise, Nodes::Mean, true, nullptr},
                      RefusalCase{"preciseTrueNode", Engine::Precise, Nodes::True, false, nullptr}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

// Catches a summary that leaves out a choice, and the 1.20 rules named with a precise engine's
// ayanamsa.
TEST(SettingsSummary, NamesEveryChoice) {
    const double lahiri = 23.0 + 43.0 / 60.0 + 12.5 / 3600.0;
    EXPECT_EQ(SettingsSummary(CalculationSettings{}, lahiri), "Korvani 1.20 rules");
    CalculationSettings precise{Engine::Precise, Ayanamsa::Lahiri, Nodes::True,
                                DrekkanaScheme::Parashara};
    EXPECT_EQ(SettingsSummary(precise, lahiri),
              "Swiss Ephemeris, Lahiri 23\u00B043\u203212\u2033, true node, "
              "Par\u0101\u015Bara drekkana");
    CalculationSettings rules{Engine::Rules120, Ayanamsa::Raman, Nodes::Mean,
                              DrekkanaScheme::Somanatha};
    EXPECT_EQ(SettingsSummary(rules, lahiri),
              "Korvani 1.20 rules, mean node, Soman\u0101tha drekkana");
    EXPECT_EQ(AyanamsaText(rules, 23.5), "Korvani 1.20 (Lahiri-type) 23\u00B030\u203200\u2033");
}

// Catches a key that reads back as another choice (a kept setting or an option would then pick
// the wrong ayanamsa).
TEST(SettingsKeys, ReadBack) {
    for (const Ayanamsa ayanamsa : ayanamsas) {
        EXPECT_EQ(AyanamsaOfKey(AyanamsaKey(ayanamsa)), ayanamsa) << AyanamsaKey(ayanamsa);
    }
    EXPECT_EQ(EngineOfKey("1.20"), Engine::Rules120);
    EXPECT_EQ(EngineOfKey("precise"), Engine::Precise);
    EXPECT_EQ(NodesOfKey("true"), Nodes::True);
    EXPECT_EQ(AyanamsaOfKey("fagan-bradley"), Ayanamsa::FaganBradley);
    EXPECT_EQ(AyanamsaOfKey("Lahiri"), std::nullopt);
    EXPECT_EQ(EngineOfKey("1.2"), std::nullopt);
}

} // namespace
