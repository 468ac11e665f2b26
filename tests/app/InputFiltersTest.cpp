#include "app/InputFilters.h"
#include "app/CalculationDriver.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>

namespace {

struct KeyCase {
    const char* name;
    char16_t typed;
    bool accepted;
    char16_t reaches; // what reaches the box when accepted
};

void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << c.name;
}

class NameKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(NameKeyTest, LettersPassAsCapitalsOthersAreRefused) {
    const KeyCase& c = GetParam();
    const KeystrokeVerdict verdict = FilterNameKey(c.typed);
    EXPECT_EQ(verdict.accepted, c.accepted) << "case " << c.name;
    if (c.accepted) {
        EXPECT_EQ(verdict.character, c.reaches) << "case " << c.name;
        EXPECT_TRUE(verdict.message.isEmpty()) << "case " << c.name;
    } else {
        EXPECT_EQ(verdict.message, "Please Enter only Letters") << "case " << c.name;
        EXPECT_EQ(verdict.icon, MessageIcon::Information) << "case " << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, NameKeyTest,
    ::testing::Values(KeyCase{"smallA", u'a', true, u'A'}, KeyCase{"smallZ", u'z', true, u'Z'},
                      KeyCase{"capitalA", u'A', true, u'A'}, KeyCase{"capitalZ", u'Z', true, u'Z'},
                      KeyCase{"blank", u' ', true, u' '}, KeyCase{"enter", 13, true, 13},
                      KeyCase{"backspace", 8, true, 8}, KeyCase{"digit7", u'7', false, 0},
                      KeyCase{"atBeforeA", u'@', false, 0},
                      KeyCase{"bracketAfterZ", u'[', false, 0},
                      KeyCase{"graveBeforeSmallA", u'`', false, 0},
                      KeyCase{"braceAfterSmallZ", u'{', false, 0},
                      KeyCase{"hyphen", u'-', false, 0}, KeyCase{"apostrophe", u'\'', false, 0},
                      KeyCase{"tab", 9, false, 0}, KeyCase{"accentedE", u'\u00e9', false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

class CoordinateKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(CoordinateKeyTest, DigitsAndBackspacePassOthersAreRefused) {
    const KeyCase& c = GetParam();
    const KeystrokeVerdict verdict = FilterCoordinateKey(c.typed);
    EXPECT_EQ(verdict.accepted, c.accepted) << "case " << c.name;
    if (c.accepted) {
        EXPECT_EQ(verdict.character, c.reaches) << "case " << c.name;
    } else {
        EXPECT_EQ(verdict.message, "Only Numbers Are Accepted") << "case " << c.name;
        EXPECT_EQ(verdict.icon, MessageIcon::Error) << "case " << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CoordinateKeyTest,
    ::testing::Values(KeyCase{"digit0", u'0', true, u'0'}, KeyCase{"digit9", u'9', true, u'9'},
                      KeyCase{"backspace", 8, true, 8}, KeyCase{"slashBefore0", u'/', false, 0},
                      KeyCase{"colonAfter9", u':', false, 0}, KeyCase{"enter", 13, false, 0},
                      KeyCase{"blank", u' ', false, 0}, KeyCase{"minus", u'-', false, 0},
                      KeyCase{"point", u'.', false, 0}, KeyCase{"letter", u'a', false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NamePaste, KeepsLettersAsCapitalsAndReportsRefusalsOnce) {
    const PasteVerdict verdict = FilterNamePaste(QStringLiteral("ann-marie 2nd"));
    EXPECT_EQ(verdict.text, "ANNMARIE ND");
    EXPECT_EQ(verdict.message, "Please Enter only Letters");
    EXPECT_EQ(verdict.icon, MessageIcon::Information);
}

TEST(NamePaste, CleanTextPassesWithoutMessageAndLineBreaksDropSilently) {
    const PasteVerdict verdict = FilterNamePaste(QStringLiteral("Ravi Kumar\r\n"));
    EXPECT_EQ(verdict.text, "RAVI KUMAR");
    EXPECT_TRUE(verdict.message.isEmpty());
}

TEST(CoordinatePaste, DigitsGoInWholeAnythingElseIsRefusedWhole) {
    EXPECT_EQ(FilterCoordinatePaste(QStringLiteral("077")).text, "077");
    EXPECT_TRUE(FilterCoordinatePaste(QStringLiteral("077")).message.isEmpty());
    for (const char* refused : {"77a", " 77", "7.5", "-7", "\u0661"}) {
        const PasteVerdict verdict = FilterCoordinatePaste(QString::fromUtf8(refused));
        EXPECT_TRUE(verdict.text.isEmpty()) << "paste " << refused;
        EXPECT_EQ(verdict.message, "Only Numbers Are Accepted") << "paste " << refused;
        EXPECT_EQ(verdict.icon, MessageIcon::Error) << "paste " << refused;
    }
}

TEST(DriverReading, ControlTextsBecomeNumbers) {
    DriverControls controls;
    controls.monthPosition = 7;
    controls.dayText = "15";
    controls.yearText = "1990";
    controls.hourText = "10";
    controls.minuteText = "30";
    controls.longitudeDegreesText = "077";
    controls.longitudeMinutesText = "13";
    controls.latitudeDegreesText = "28";
    controls.latitudeMinutesText = "39";
    controls.east = false;
    controls.south = true;
    controls.daylightSaving = true;
    controls.timeZonePosition = 34;
    const ChartInput input = ReadChartInput(controls, ChartState{});
    EXPECT_EQ(input.monthPosition, 7);
    EXPECT_EQ(input.day, 15);
    EXPECT_EQ(input.year, 1990);
    EXPECT_EQ(input.hour, 10);
    EXPECT_EQ(input.minute, 30);
    EXPECT_EQ(input.longitudeDegrees, 77);
    EXPECT_EQ(input.longitudeMinutes, 13);
    EXPECT_EQ(input.latitudeDegrees, 28);
    EXPECT_EQ(input.latitudeMinutes, 39);
    EXPECT_FALSE(input.east);
    EXPECT_TRUE(input.south);
    EXPECT_TRUE(input.daylightSaving);
    EXPECT_EQ(input.timeZonePosition, 34);
}

TEST(DriverReading, TextThatDoesNotConvertKeepsThePreviousValue) {
    ChartState previous;
    previous.birthDay = 9;
    previous.longitudeDegrees = 12;
    previous.birthMonth = 4;
    DriverControls controls;
    controls.monthPosition = -1;
    controls.dayText = "";
    controls.yearText = "2000";
    controls.longitudeDegreesText = "99999"; // beyond 16 bits
    const ChartInput input = ReadChartInput(controls, previous);
    EXPECT_EQ(input.day, 9);
    EXPECT_EQ(input.longitudeDegrees, 12);
    EXPECT_EQ(input.monthPosition, 3);
    EXPECT_EQ(input.year, 2000);
}

TEST(DriverSteps, AFailingStepIsSkippedAndTheNextRuns) {
    int ran = 0;
    EXPECT_FALSE(RunGuardedStep([] { throw std::runtime_error("stage failed"); }));
    EXPECT_TRUE(RunGuardedStep([&] { ++ran; }));
    EXPECT_EQ(ran, 1);
}

TEST(DriverSteps, AZoneOutsideTheTableKeepsTheCorrection) {
    ChartState chart;
    chart.zoneCorrectionHours = -5;
    chart.zoneCorrectionMinutes = -30;
    DriverControls controls;
    controls.dayText = "1";
    controls.yearText = "1901";
    controls.hourText = "0";
    controls.minuteText = "0";
    controls.longitudeDegreesText = "0";
    controls.longitudeMinutesText = "0";
    controls.latitudeDegreesText = "0";
    controls.latitudeMinutesText = "0";
    controls.timeZonePosition = -1;
    CalculateFromControls(chart, controls);
    EXPECT_EQ(chart.zoneCorrectionHours, -5);
    EXPECT_EQ(chart.zoneCorrectionMinutes, -30);
    EXPECT_EQ(chart.zoneHours, 5);
    EXPECT_EQ(chart.zoneMinutes, 30);
    EXPECT_FALSE(chart.positionText[0].empty()) << "the stages still ran";
}

} // namespace
