#pragma once

#include <optional>
#include <string>
#include <variant>

// The years the input window offers.
inline constexpr int firstEntryYear = 1901;
inline constexpr int lastEntryYear = 2050;

// The birth data as the input window holds it: texts as typed, list positions as selected.
struct BirthDataEntry {
    std::string name;
    std::string longitudeDegrees; // txtLonD
    std::string longitudeMinutes; // txtLonM
    std::string latitudeDegrees;  // txtLatD
    std::string latitudeMinutes;  // txtLatM
    int monthPosition = 0;        // cboMonth, 0 = January
    int dayPosition = 0;          // cboDate, 0 = day 1
    int year = firstEntryYear;    // the number of the selected cboYear item
};

enum class MessageIcon { Error, Information };

// The control that takes the focus after a fault.
enum class FocusTarget {
    None,
    Name,
    LongitudeDegrees,
    LongitudeMinutes,
    LatitudeDegrees,
    LatitudeMinutes,
    City,
    State,
    Country
};

struct ValidationFault {
    std::string message;
    MessageIcon icon;
    FocusTarget focus;
};

// Checks the birth data in the input window's order and returns the first fault, or nothing
// when the data may be used.
std::optional<ValidationFault> ValidateBirthData(const BirthDataEntry& entry);

// The value a coordinate box spells: its text without leading and trailing blanks, read as a
// decimal number. Nothing when the box is blank or holds anything but digits.
std::optional<long> CoordinateValue(const std::string& text);

// The place as the input window's lookup boxes hold it, texts as typed.
struct PlaceLookupEntry {
    std::string city;    // txtMCity
    std::string state;   // txtMState
    std::string country; // txtMCountry
};

// Checks the three place boxes in order (a box of blanks counts as filled) and returns the first
// fault, or the search text for the place finder and the web search: city, state and country
// separated by one blank, then " Latitude Longitude".
std::variant<ValidationFault, std::string> PlaceLookupSearchText(const PlaceLookupEntry& entry);
