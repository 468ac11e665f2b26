#include "chart/Validation.h"

#include "chart/TextBlanks.h"

#include <algorithm>
#include <charconv>

namespace {

// A coordinate box in range: not blank, digits only, and at most `highest`.
bool InRange(const std::string& text, long highest) {
    const auto value = CoordinateValue(text);
    return value && *value >= 0 && *value <= highest;
}

// Whether a year has 29 February in the input window's reckoning: divisible by 4, which is exact
// for the offered years.
bool IsLeapYearForEntry(int year) {
    return year % 4 == 0;
}

} // namespace

std::optional<long> CoordinateValue(const std::string& text) {
    const std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty() ||
        !std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    long value = 0;
    const auto [end, error] =
        std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (error != std::errc() || end != trimmed.data() + trimmed.size()) {
        return std::nullopt; // too large to hold: certainly out of range
    }
    return value;
}

std::optional<ValidationFault> ValidateBirthData(const BirthDataEntry& entry) {
    if (TrimBlanks(entry.name).empty()) {
        return ValidationFault{"Please Enter Name", MessageIcon::Error, FocusTarget::Name};
    }
    if (!InRange(entry.longitudeDegrees, 179)) {
        return ValidationFault{"Please Enter Value Between 0 And 179 in the Degree of Longitude",
                               MessageIcon::Error, FocusTarget::LongitudeDegrees};
    }
    if (!InRange(entry.longitudeMinutes, 59)) {
        return ValidationFault{"Please Enter Value Between 0 And 59 in the  Minute of Longitude",
                               MessageIcon::Error, FocusTarget::LongitudeMinutes};
    }
    if (!InRange(entry.latitudeDegrees, 89)) {
        return ValidationFault{"Please Enter Value Between 0 And 89 in the Degree of Latitude",
                               MessageIcon::Error, FocusTarget::LatitudeDegrees};
    }
    if (!InRange(entry.latitudeMinutes, 59)) {
        return ValidationFault{"Please Enter Value Between 0 And 59 in the  Minute of Latitude",
                               MessageIcon::Error, FocusTarget::LatitudeMinutes};
    }
    constexpr int february = 1;
    if (entry.monthPosition == february) {
        // Positions: 28 is day 29. A leap year allows up to day 29, others up to day 28.
        const int lastAllowedPosition = IsLeapYearForEntry(entry.year) ? 28 : 27;
        if (entry.dayPosition > lastAllowedPosition) {
            return ValidationFault{"Please Enter Correct Date Or Month!", MessageIcon::Information,
                                   FocusTarget::None};
        }
        return std::nullopt;
    }
    constexpr int april = 3, june = 5, september = 8, november = 10;
    constexpr int day31Position = 30;
    const int month = entry.monthPosition;
    if ((month == april || month == june || month == september || month == november) &&
        entry.dayPosition == day31Position) {
        return ValidationFault{"Please Enter Correct Date Or Month !", MessageIcon::Information,
                               FocusTarget::None};
    }
    return std::nullopt;
}

std::variant<ValidationFault, std::string> PlaceLookupSearchText(const PlaceLookupEntry& entry) {
    if (entry.city.empty()) {
        return ValidationFault{"Please Enter City", MessageIcon::Information, FocusTarget::City};
    }
    if (entry.state.empty()) {
        return ValidationFault{"Please Enter State", MessageIcon::Information, FocusTarget::State};
    }
    if (entry.country.empty()) {
        return ValidationFault{"Please Enter Country", MessageIcon::Information,
                               FocusTarget::Country};
    }
    return entry.city + ' ' + entry.state + ' ' + entry.country + " Latitude Longitude";
}
