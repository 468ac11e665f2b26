#include "astro/PositionText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

namespace {

struct PositionCase {
    const char* name;
    double longitude;
    const char* longForm;
    const char* displayForm;
};

class PositionTextTest : public ::testing::TestWithParam<PositionCase> {};

TEST_P(PositionTextTest, LongAndDisplayForms) {
    const PositionCase& c = GetParam();
    const std::string longForm = FormatSignPosition(c.longitude);
    EXPECT_EQ(longForm, c.longForm) << "case " << c.name;
    EXPECT_EQ(FormatDisplayPosition(longForm), c.displayForm) << "case " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, PositionTextTest,
    ::testing::Values(
        PositionCase{"zero", 0.0, "0\u00B0 0' 0\" Ari", "00 Ari 00"},
        PositionCase{"sevenAndAHalf", 7.5, "7\u00B0 30' 0\" Ari", "07 Ari 30"},
        PositionCase{"cancer", 100.25, "10\u00B0 15' 0\" Can", "10 Can 15"},
        PositionCase{"midheaven2000", 255.7605, "15\u00B0 45' 37\" Sag", "15 Sag 45"},
        PositionCase{"lateInPisces", 359.5, "29\u00B0 30' 0\" Pis", "29 Pis 30"},
        PositionCase{"truncationNeverCarries", 29.9999999, "29\u00B0 59' 59\" Ari", "29 Ari 59"},
        PositionCase{"signEdge", 30.0, "0\u00B0 0' 0\" Tau", "00 Tau 00"},
        PositionCase{"negativeTakesMagnitude", -45.5, "15\u00B0 30' 0\" Tau", "15 Tau 30"},
        // Ketu exactly opposite a Rahu of 180 degrees: the circle closes at Aries.
        PositionCase{"fullCircleIsAries", 360.0, "0\u00B0 0' 0\" Ari", "00 Ari 00"}),
    [](const ::testing::TestParamInfo<PositionCase>& info) { return info.param.name; });

TEST(PositionText, LongFormOfSevenAndAHalfIsThirteenCharacters) {
    // Counted in characters: the degree mark is one character (two bytes in UTF-8).
    const std::string text = FormatSignPosition(7.5);
    EXPECT_EQ(text.size(), 13u + 1u) << text;
}

TEST(PositionText, EveryWholeMinuteOfTheCircleRoundTrips) {
    // Whole minutes land on their own sign, degree and minute; the display form never carries.
    for (int minuteOfCircle = 0; minuteOfCircle < 360 * 60; ++minuteOfCircle) {
        const double longitude = minuteOfCircle / 60.0 + 1e-9;
        const int sign = minuteOfCircle / (30 * 60);
        const int degree = (minuteOfCircle / 60) % 30;
        const int minute = minuteOfCircle % 60;
        char expected[32];
        std::snprintf(expected, sizeof expected, "%02d %s %02d", degree,
                      std::string(signAbbreviations.substr(3 * sign, 3)).c_str(), minute);
        ASSERT_EQ(FormatDisplayPosition(FormatSignPosition(longitude)), expected)
            << "longitude " << longitude;
    }
}

TEST(PositionText, DisplayFormTrimsBlanksAroundItsParts) {
    EXPECT_EQ(FormatDisplayPosition("  5\u00B0  7' 3\" Leo"), "05 Leo 07");
}

TEST(PositionText, DisplayFormOfMalformedTextStaysDefined) {
    // Not produced by the program, but must not crash or read out of bounds.
    // A part of length 0 or 1 gets one "0" in front; the sign is the last three characters.
    EXPECT_EQ(FormatDisplayPosition(""), "0  0");
    EXPECT_EQ(FormatDisplayPosition("xy"), "xy xy 0");
}

TEST(PositionText, NonFiniteInputReadsAsZero) {
    EXPECT_EQ(FormatSignPosition(std::numeric_limits<double>::quiet_NaN()), "0\u00B0 0' 0\" Ari");
    EXPECT_EQ(FormatSignPosition(std::numeric_limits<double>::infinity()), "0\u00B0 0' 0\" Ari");
}

} // namespace
