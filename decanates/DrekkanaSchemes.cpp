#include "decanates/DrekkanaSchemes.h"

#include "astro/PositionText.h"
#include "decanates/modVedicDecanates.h"

namespace {

// Signs of one element stand four apart: Aries, Leo, Sagittarius; Taurus, Virgo, Capricorn...
constexpr int signsBetweenSameElement = 4;

bool IsOddSign(int sign) {
    return sign % 2 == 0; // Aries, the first sign, is odd
}

struct SchemeNames {
    const char* name;
    const char* key;
};

constexpr std::array<SchemeNames, 4> schemeNames = {{
    {"Par\u0101\u015Bara", "parashara"},
    {"Pariv\u1E5Btti", "parivritti"},
    {"Soman\u0101tha", "somanatha"},
    {"Jagann\u0101tha", "jagannatha"},
}};

} // namespace

int ParasharaDrekkana(int sign, int part) {
    return (sign + signsBetweenSameElement * part) % signCount;
}

int ParivrittiDrekkana(int sign, int part) {
    return (3 * sign + part) % signCount;
}

int SomanathaDrekkana(int sign, int part) {
    // The n-th odd (or even) sign, counted from 0, holds parts 3n to 3n + 2 of its group.
    const int partOfGroup = 3 * (sign / 2) + part;
    if (IsOddSign(sign)) {
        return partOfGroup % signCount;
    }
    return (signCount - 1 - partOfGroup % signCount);
}

int JagannathaDrekkana(int sign, int part) {
    // The movable signs: Aries (fire), Cancer (water), Libra (air), Capricorn (earth).
    constexpr std::array<int, 4> movableSignOfElement = {0, 9, 6, 3}; // fire, earth, air, water
    const int movableSign = movableSignOfElement[static_cast<std::size_t>(sign % 4)];
    return (movableSign + signsBetweenSameElement * part) % signCount;
}

int DrekkanaSignUnder(DrekkanaScheme scheme, int sign, int part) {
    switch (scheme) {
    case DrekkanaScheme::Parivritti:
        return ParivrittiDrekkana(sign, part);
    case DrekkanaScheme::Somanatha:
        return SomanathaDrekkana(sign, part);
    case DrekkanaScheme::Jagannatha:
        return JagannathaDrekkana(sign, part);
    case DrekkanaScheme::Parashara:
        break;
    }
    return ParasharaDrekkana(sign, part);
}

const char* DrekkanaSchemeName(DrekkanaScheme scheme) {
    return schemeNames[static_cast<std::size_t>(scheme)].name;
}

const char* DrekkanaSchemeKey(DrekkanaScheme scheme) {
    return schemeNames[static_cast<std::size_t>(scheme)].key;
}

std::optional<DrekkanaScheme> DrekkanaSchemeOfKey(std::string_view key) {
    for (const DrekkanaScheme scheme : drekkanaSchemes) {
        if (key == DrekkanaSchemeKey(scheme)) {
            return scheme;
        }
    }
    return std::nullopt;
}

std::string DrekkanaLine(const std::string& positionText, DrekkanaScheme chosen) {
    const std::optional<DecanatePlace> place = FindDecanate(positionText);
    if (!place) {
        return {};
    }
    std::string line = "Drekkana:";
    for (const DrekkanaScheme scheme : drekkanaSchemes) {
        if (scheme != drekkanaSchemes.front()) {
            line += ',';
        }
        line += ' ';
        line += DrekkanaSchemeName(scheme);
        line += ' ';
        line += signNames[static_cast<std::size_t>(DrekkanaSignUnder(
            scheme, static_cast<int>(place->sign), static_cast<int>(place->decanate)))];
        if (scheme == chosen) {
            line += '*';
        }
    }
    return line;
}
