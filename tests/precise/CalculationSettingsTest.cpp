#include "precise/CalculationSettings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct OptionsCase {
    const char* name;
    CalculationOptions options;
    std::optional<CalculationSettings> settings; // nothing: refused
    const char* refusal;
};

// The command's options as a script gives them. Catches a default that is not the 1.20 rules,
// an engine change that keeps the other engine's node, and a value or combination refused
// without naming its option.
class SettingsFromOptionsTest : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(SettingsFromOptionsTest, SettingsOrRefusal) {
    const OptionsCase& c = GetParam();
    const auto read = SettingsFromOptions(c.options);
    if (c.settings) {
        ASSERT_TRUE(std::holds_alternative<CalculationSettings>(read))
            << c.name << ": " << std::get<std::string>(read);
        EXPECT_EQ(std::get<CalculationSettings>(read), *c.settings) << c.name;
    } else {
        ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.name;
        EXPECT_EQ(std::get<std::string>(read), c.refusal) << c.name;
    }
}

constexpr CalculationSettings rulesDefaults{};
constexpr CalculationSettings preciseDefaults{Engine::Precise, Ayanamsa::Lahiri, Nodes::Mean,
                                              DrekkanaScheme::Parashara};

INSTANTIATE_TEST_SUITE_P(
    CommandLine, SettingsFromOptionsTest,
    ::testing::Values(
        OptionsCase{"noOptions", {}, rulesDefaults, nullptr},
        OptionsCase{"rulesNamed", {"1.20", {}, {}, {}}, rulesDefaults, nullptr},
        OptionsCase{"preciseAlone", {"precise", {}, {}, {}}, preciseDefaults, nullptr},
        OptionsCase{"everyChoice",
                    {"precise", "yukteshwar", "true", "jagannatha"},
                    CalculationSettings{Engine::Precise, Ayanamsa::Yukteshwar, Nodes::True,
                                        DrekkanaScheme::Jagannatha},
                    nullptr},
        OptionsCase{"drekkanaWithTheRules",
                    {{}, {}, "mean", "somanatha"},
                    CalculationSettings{Engine::Rules120, Ayanamsa::Lahiri, Nodes::Mean,
                                        DrekkanaScheme::Somanatha},
                    nullptr},
        OptionsCase{"ayanamsaWithoutEngine",
                    {{}, "raman", {}, {}},
                    std::nullopt,
                    "--ayanamsa needs --engine precise"},
        OptionsCase{"lahiriWithTheRules",
                    {"1.20", "lahiri", {}, {}},
                    std::nullopt,
                    "--ayanamsa needs --engine precise"},
        OptionsCase{"trueNodeWithoutEngine",
                    {{}, {}, "true", {}},
                    std::nullopt,
                    "--nodes true needs --engine precise"},
        OptionsCase{"ruleNodeWithPrecise",
                    {"precise", {}, "rule", {}},
                    std::nullopt,
                    "--nodes rule needs --engine 1.20"},
        OptionsCase{"unknownEngine",
                    {"1.2", {}, {}, {}},
                    std::nullopt,
                    "--engine: \"1.2\" is not 1.20 or precise"},
        OptionsCase{"unknownAyanamsa",
                    {"precise", "Lahiri", {}, {}},
                    std::nullopt,
                    "--ayanamsa: \"Lahiri\" is not lahiri, raman, krishnamurti, "
                    "fagan-bradley, true-chitra or yukteshwar"},
        OptionsCase{"unknownNodes",
                    {{}, {}, "osculating", {}},
                    std::nullopt,
                    "--nodes: \"osculating\" is not rule, mean or true"},
        OptionsCase{"unknownDrekkana",
                    {{}, {}, {}, "parasara"},
                    std::nullopt,
                    "--drekkana: \"parasara\" is not parashara, parivritti, somanatha or "
                    "jagannatha"}),
    [](const ::testing::TestParamInfo<OptionsCase>& info) { return info.param.name; });

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
