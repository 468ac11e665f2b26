#pragma once

#include <array>
#include <string>
#include <string_view>

// The twelve sign abbreviations; sign k (0 = Aries) is the three letters starting at 3k.
inline constexpr std::string_view signAbbreviations = "AriTauGemCanLeoVirLibScoSagCapAquPis";
inline constexpr int signCount = 12;

// The sign names, 0 Aries ... 11 Pisces.
inline constexpr std::array<const char*, signCount> signNames = {
    "Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

// The sign (0 Aries ... 11 Pisces) whose abbreviation is the three letters at `letters`, compared
// exactly, case included; -1 for none.
int SignOfAbbreviation(const char* letters);

// The degree mark of the long form, in UTF-8.
inline constexpr std::string_view degreeMark = "\u00B0";

// Long form of an ecliptic longitude in degrees, expected in [0, 360]: whole degrees within the
// sign, "° ", whole minutes, "' ", whole seconds, '"', a blank and the sign abbreviation, every
// part truncated ("7° 30' 0\" Ari"). Exactly 360 reads as 0° Aries.
std::string FormatSignPosition(double longitudeDegrees);

// The longitude that FormatSignPosition spells, as a number in [0, 360): its magnitude, with
// exactly 360 read as 0 (0° Aries).
double LongitudeOnCircle(double longitudeDegrees);

// Nine-character display form of a long-form text: two-digit degrees, a blank, the sign
// abbreviation, a blank, two-digit minutes ("07 Ari 30"). The seconds are dropped.
std::string FormatDisplayPosition(std::string_view longForm);
