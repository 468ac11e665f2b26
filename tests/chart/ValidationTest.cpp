#include "chart/Validation.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

BirthDataEntry Valid() {
    BirthDataEntry entry;
    entry.name = "ASHA";
    entry.longitudeDegrees = "77";
    entry.longitudeMinutes = "13";
    entry.latitudeDegrees = "28";
    entry.latitudeMinutes = "39";
    entry.monthPosition = 7;
    entry.dayPosition = 14;
    entry.year = 1990;
    return entry;
}

constexpr const char* lonDegMessage =
    "Please Enter Value Between 0 And 179 in the Degree of Longitude";
constexpr const char* lonMinMessage =
    "Please Enter Value Between 0 And 59 in the  Minute of Longitude";
constexpr const char* latDegMessage =
    "Please Enter Value Between 0 And 89 in the Degree of Latitude";
constexpr const char* latMinMessage =
    "Please Enter Value Between 0 And 59 in the  Minute of Latitude";
constexpr const char* februaryMessage = "Please Enter Correct Date Or Month!";
constexpr const char* thirtyDayMessage = "Please Enter Correct Date Or Month !";

struct ValidationCase {
    const char* name;
    void (*change)(BirthDataEntry&);
    const char* message; // nullptr: accepted
    MessageIcon icon;
    FocusTarget focus;
};

class ValidateBirthDataTest : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(ValidateBirthDataTest, FirstFaultWins) {
    const ValidationCase& c = GetParam();
    BirthDataEntry entry = Valid();
    c.change(entry);
    const std::optional<ValidationFault> fault = ValidateBirthData(entry);
    if (c.message == nullptr) {
        EXPECT_FALSE(fault) << "case " << c.name << " refused with " << fault->message;
        return;
    }
    ASSERT_TRUE(fault) << "case " << c.name;
    EXPECT_EQ(fault->message, c.message) << "case " << c.name;
    EXPECT_EQ(fault->icon, c.icon) << "case " << c.name;
    EXPECT_EQ(fault->focus, c.focus) << "case " << c.name;
}

using E = BirthDataEntry;
constexpr auto error = MessageIcon::Error;
constexpr auto information = MessageIcon::Information;

// Day 31 of the month at list position `month` (0 = January): refused in the 30-day months,
// accepted in the 31-day ones.
template <int month>
void Day31(E& e) {
    e.monthPosition = month;
    e.dayPosition = 30;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ValidateBirthDataTest,
    ::testing::Values(
        ValidationCase{"valid", [](E&) {}, nullptr, error, FocusTarget::None},
        ValidationCase{"emptyName", [](E& e) { e.name = ""; }, "Please Enter Name", error,
                       FocusTarget::Name},
        ValidationCase{"blankName", [](E& e) { e.name = "   "; }, "Please Enter Name", error,
                       FocusTarget::Name},
        ValidationCase{"blankNameBeatsBadDate",
                       [](E& e) {
                           e.name = "";
                           e.monthPosition = 1;
                           e.dayPosition = 30;
                       },
                       "Please Enter Name", error, FocusTarget::Name},
        ValidationCase{"lonDeg179", [](E& e) { e.longitudeDegrees = "179"; }, nullptr, error,
                       FocusTarget::None},
        ValidationCase{"lonDeg180", [](E& e) { e.longitudeDegrees = "180"; }, lonDegMessage, error,
                       FocusTarget::LongitudeDegrees},
        ValidationCase{"lonDegEmpty", [](E& e) { e.longitudeDegrees = ""; }, lonDegMessage, error,
                       FocusTarget::LongitudeDegrees},
        ValidationCase{"lonDegBlanks", [](E& e) { e.longitudeDegrees = "  "; }, lonDegMessage,
                       error, FocusTarget::LongitudeDegrees},
        ValidationCase{"lonDegLeadingZeros", [](E& e) { e.longitudeDegrees = "007"; }, nullptr,
                       error, FocusTarget::None},
        ValidationCase{"lonDegNotANumber", [](E& e) { e.longitudeDegrees = "7a"; }, lonDegMessage,
                       error, FocusTarget::LongitudeDegrees},
        ValidationCase{"lonDegHuge", [](E& e) { e.longitudeDegrees = "99999999999999999999"; },
                       lonDegMessage, error, FocusTarget::LongitudeDegrees},
        ValidationCase{"lonMin60", [](E& e) { e.longitudeMinutes = "60"; }, lonMinMessage, error,
                       FocusTarget::LongitudeMinutes},
        ValidationCase{"latDeg89", [](E& e) { e.latitudeDegrees = "89"; }, nullptr, error,
                       FocusTarget::None},
        ValidationCase{"latDeg90", [](E& e) { e.latitudeDegrees = "90"; }, latDegMessage, error,
                       FocusTarget::LatitudeDegrees},
        ValidationCase{"latDeg95", [](E& e) { e.latitudeDegrees = "95"; }, latDegMessage, error,
                       FocusTarget::LatitudeDegrees},
        ValidationCase{"latMinEmpty", [](E& e) { e.latitudeMinutes = ""; }, latMinMessage, error,
                       FocusTarget::LatitudeMinutes},
        ValidationCase{"coordinatesInOrder",
                       [](E& e) {
                           e.longitudeMinutes = "";
                           e.latitudeDegrees = "";
                       },
                       lonMinMessage, error, FocusTarget::LongitudeMinutes},
        ValidationCase{"leapDay2000",
                       [](E& e) {
                           e.year = 2000;
                           e.monthPosition = 1;
                           e.dayPosition = 28;
                       },
                       nullptr, error, FocusTarget::None},
        ValidationCase{"leapDay1904",
                       [](E& e) {
                           e.year = 1904;
                           e.monthPosition = 1;
                           e.dayPosition = 28;
                       },
                       nullptr, error, FocusTarget::None},
        ValidationCase{"noLeapDay1901",
                       [](E& e) {
                           e.year = 1901;
                           e.monthPosition = 1;
                           e.dayPosition = 28;
                       },
                       februaryMessage, information, FocusTarget::None},
        ValidationCase{"february30InLeapYear",
                       [](E& e) {
                           e.year = 2004;
                           e.monthPosition = 1;
                           e.dayPosition = 29;
                       },
                       februaryMessage, information, FocusTarget::None},
        ValidationCase{"april31",
                       [](E& e) {
                           e.monthPosition = 3;
                           e.dayPosition = 30;
                       },
                       thirtyDayMessage, information, FocusTarget::None},
        ValidationCase{"november31",
                       [](E& e) {
                           e.monthPosition = 10;
                           e.dayPosition = 30;
                       },
                       thirtyDayMessage, information, FocusTarget::None},
        ValidationCase{"march31",
                       [](E& e) {
                           e.monthPosition = 2;
                           e.dayPosition = 30;
                       },
                       nullptr, error, FocusTarget::None},
        ValidationCase{"june31", Day31<5>, thirtyDayMessage, information, FocusTarget::None},
        ValidationCase{"september31", Day31<8>, thirtyDayMessage, information, FocusTarget::None},
        ValidationCase{"january31", Day31<0>, nullptr, error, FocusTarget::None},
        ValidationCase{"may31", Day31<4>, nullptr, error, FocusTarget::None},
        ValidationCase{"july31", Day31<6>, nullptr, error, FocusTarget::None},
        ValidationCase{"august31", Day31<7>, nullptr, error, FocusTarget::None},
        ValidationCase{"october31", Day31<9>, nullptr, error, FocusTarget::None},
        ValidationCase{"december31", Day31<11>, nullptr, error, FocusTarget::None}),
    [](const ::testing::TestParamInfo<ValidationCase>& info) { return info.param.name; });

TEST(CoordinateValue, DigitsWithinBlanks) {
    EXPECT_EQ(CoordinateValue(" 42 "), 42);
    EXPECT_EQ(CoordinateValue("0"), 0);
    EXPECT_FALSE(CoordinateValue(""));
    EXPECT_FALSE(CoordinateValue("4 2"));
    EXPECT_FALSE(CoordinateValue("-1"));
    EXPECT_FALSE(CoordinateValue("+1"));
}

} // namespace

// The place lookup: the three boxes in order, a box of blanks counts as filled, and the search text
// keeps every box exactly as typed.
TEST(PlaceLookupSearchText, ChecksInOrderThenBuildsTheSearchText) {
    struct Row {
        PlaceLookupEntry entry;
        const char* message; // nullptr: the search text below
        FocusTarget focus;
        const char* searchText;
    };
    const Row rows[] = {
        {{"", "", ""}, "Please Enter City", FocusTarget::City, nullptr},
        {{"Delhi", "", ""}, "Please Enter State", FocusTarget::State, nullptr},
        {{"", "Delhi", "India"}, "Please Enter City", FocusTarget::City, nullptr},
        {{"Delhi", "Delhi", ""}, "Please Enter Country", FocusTarget::Country, nullptr},
        {{"New Delhi", "Delhi", "India"},
         nullptr,
         FocusTarget::None,
         "New Delhi Delhi India Latitude Longitude"},
        {{" ", "  ", " x "}, nullptr, FocusTarget::None, "      x  Latitude Longitude"},
    };
    for (const Row& row : rows) {
        const auto result = PlaceLookupSearchText(row.entry);
        const std::string label = row.entry.city + '|' + row.entry.state + '|' + row.entry.country;
        if (row.message) {
            const auto* fault = std::get_if<ValidationFault>(&result);
            ASSERT_NE(fault, nullptr) << label;
            EXPECT_EQ(fault->message, row.message) << label;
            EXPECT_EQ(fault->icon, MessageIcon::Information) << label;
            EXPECT_EQ(fault->focus, row.focus) << label;
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(result)) << label;
            EXPECT_EQ(std::get<std::string>(result), row.searchText) << label;
        }
    }
}
