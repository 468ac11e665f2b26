#pragma once

#include "astro/PositionText.h"
#include "chart/ChartState.h"

#include <array>
#include <optional>
#include <string>

// The interpretation of one decanate.
struct DecanateRow {
    const char* decanateSign;
    const char* description;
    const char* rulingPlanet;
    const char* rulingElement;
    const char* constellation;
    const char* keyword;
    const char* treeZodiac;
};

// decanateTables[decanate][sign]: decanate 0 first, 1 second, 2 third; sign 0 Aries ... 11 Pisces.
extern const std::array<std::array<DecanateRow, signCount>, 3> decanateTables;

inline constexpr std::array<const char*, 3> decanateNames = {"First Decanate", "Second Decanate",
                                                             "Third Decanate"};

// The decanate texts shown on one body's tab, in the order the tab fills them.
struct DecanateResult {
    std::string decanateName;
    std::string decanateSign;
    std::string description;
    std::string rulingPlanet;
    std::string rulingElement;
    std::string constellationName;
    std::string keyword;
    std::string treeZodiac;

    bool operator==(const DecanateResult&) const = default;
};

using DecanateResults = std::array<DecanateResult, displayedBodyCount>;

// Sign index (0 Aries ... 11 Pisces) of a display-form position text: characters 4 to 6 compared
// exactly, case included, with the twelve abbreviations. Nothing when none matches.
std::optional<int> SignOfPositionText(const std::string& positionText);

// Whole degrees in the sign from the leading digits of characters 1 and 2 of a display-form
// position text ("07 Ari 30" -> 7); anything else reads as 0.
int WholeDegreesOfPositionText(const std::string& positionText);

// Where a display-form position text falls: its decanate (0 first, 1 second, 2 third) and sign
// (0 Aries to 11 Pisces), which pick the row decanateTables[decanate][sign].
struct DecanatePlace {
    std::size_t decanate = 0;
    std::size_t sign = 0;
};

// Nothing when the text names no sign.
std::optional<DecanatePlace> FindDecanate(const std::string& positionText);

// The decanate's name and the texts of its row.
void AssignDecanate(DecanateResult& result, DecanatePlace place);

// For each displayed body (positionText 0..9), the texts of its decanate. A body whose sign is
// not recognised keeps the record it had.
void DetermineDecanates(const ChartState& chart, DecanateResults& decanateResults);
