#include "app/DisplaySettings.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct FactorCase {
    const char* value;
    bool usable;
};

void PrintTo(const FactorCase& c, std::ostream* out) {
    *out << '"' << c.value << '"';
}

class ScaleFactor : public ::testing::TestWithParam<FactorCase> {};

TEST_P(ScaleFactor, OnlyFiniteNumbersFromAQuarterToEightAreUsable) {
    EXPECT_EQ(IsUsableScaleFactor(QByteArray(GetParam().value)), GetParam().usable)
        << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ScaleFactor,
    ::testing::Values(FactorCase{"1", true}, FactorCase{"1.5", true}, FactorCase{"0.25", true},
                      FactorCase{"8", true}, FactorCase{" 2 ", true}, FactorCase{"2e0", true},
                      FactorCase{"0.2499", false}, FactorCase{"8.0001", false},
                      FactorCase{"0", false}, FactorCase{"-1", false}, FactorCase{"-0", false},
                      FactorCase{"nan", false}, FactorCase{"inf", false}, FactorCase{"-inf", false},
                      FactorCase{"1e308", false}, FactorCase{"1e309", false}, FactorCase{"", false},
                      FactorCase{"abc", false}, FactorCase{"1,5", false}, FactorCase{"2x", false}));

class ScreenScaleFactors : public ::testing::TestWithParam<FactorCase> {};

TEST_P(ScreenScaleFactors, EveryScreenNeedsAUsableFactor) {
    EXPECT_EQ(IsUsableScreenScaleFactors(QByteArray(GetParam().value)), GetParam().usable)
        << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, ScreenScaleFactors,
                         ::testing::Values(FactorCase{"2", true}, FactorCase{"1;1.5", true},
                                           FactorCase{"DP-1=2;HDMI-1=1", true},
                                           FactorCase{"1;-1", false}, FactorCase{"DP-1=0", false},
                                           FactorCase{"DP-1=nan;HDMI-1=1", false},
                                           FactorCase{"1;", false}, FactorCase{"", false}));

struct EnvironmentCase {
    const char* name;
    const char* scale;   // QT_SCALE_FACTOR, or nullptr for unset
    const char* screens; // QT_SCREEN_SCALE_FACTORS, or nullptr for unset
    bool scaleKept;
    bool screensKept;
};

void PrintTo(const EnvironmentCase& c, std::ostream* out) {
    *out << c.name;
}

class HostileSettings : public ::testing::TestWithParam<EnvironmentCase> {};

TEST_P(HostileSettings, AreRemovedWithOneLineEach) {
    const EnvironmentCase& c = GetParam();
    const auto set = [](const char* name, const char* value) {
        value ? qputenv(name, value) : qunsetenv(name);
    };
    set("QT_SCALE_FACTOR", c.scale);
    set("QT_SCREEN_SCALE_FACTORS", c.screens);

    const QStringList lines = DropHostileDisplaySettings(nullptr);

    const bool scaleSet = c.scale != nullptr;
    const bool screensSet = c.screens != nullptr;
    EXPECT_EQ(qEnvironmentVariableIsSet("QT_SCALE_FACTOR"), scaleSet && c.scaleKept) << c.name;
    EXPECT_EQ(qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS"), screensSet && c.screensKept)
        << c.name;
    if (scaleSet && c.scaleKept) {
        EXPECT_EQ(qgetenv("QT_SCALE_FACTOR"), QByteArray(c.scale)) << c.name;
    }
    const qsizetype removed =
        (scaleSet && !c.scaleKept ? 1 : 0) + (screensSet && !c.screensKept ? 1 : 0);
    ASSERT_EQ(lines.size(), removed) << c.name;
    if (scaleSet && !c.scaleKept) {
        EXPECT_EQ(lines.front(), QStringLiteral("korvani: QT_SCALE_FACTOR=%1 ignored: a scale "
                                                "factor is a number from 0.25 to 8")
                                     .arg(QString::fromLatin1(c.scale)))
            << c.name;
    }
    EXPECT_TRUE(DropHostileDisplaySettings(nullptr).isEmpty()) << "said once, " << c.name;
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
}

INSTANTIATE_TEST_SUITE_P(
    Environments, HostileSettings,
    ::testing::Values(EnvironmentCase{"neitherSet", nullptr, nullptr, false, false},
                      EnvironmentCase{"usableScale", "1.5", nullptr, true, false},
                      EnvironmentCase{"negativeScale", "-1", nullptr, false, false},
                      EnvironmentCase{"zeroScale", "0", "1;2", false, true},
                      EnvironmentCase{"nanScale", "nan", nullptr, false, false},
                      EnvironmentCase{"hugeScale", "1e308", nullptr, false, false},
                      EnvironmentCase{"badScreens", "2", "1;0", true, false},
                      EnvironmentCase{"bothBad", "-1", "inf", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
