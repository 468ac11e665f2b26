#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The four ways of casting the drekkana (D-3) chart. Each maps a sign (0 Aries ... 11 Pisces)
// and the part of it a body stands in (0 for 0°00′ to 9°59′, 1 for 10°00′ to 19°59′, 2 for
// 20°00′ to 29°59′) to the sign of the drekkana.
enum class DrekkanaScheme {
    Parashara,  // the sign, its 5th, its 9th
    Parivritti, // the 36 parts of the zodiac counted on round the signs
    Somanatha,  // odd signs counted on from Aries, even signs back from Pisces
    Jagannatha, // the movable sign of the element, its 5th, its 9th
};

inline constexpr std::array<DrekkanaScheme, 4> drekkanaSchemes = {
    DrekkanaScheme::Parashara, DrekkanaScheme::Parivritti, DrekkanaScheme::Somanatha,
    DrekkanaScheme::Jagannatha};

// Brihat Parashara Hora Shastra, ch. 6 ("the first drekkana of a sign is its own, the second
// the fifth from it, the third the ninth").
int ParasharaDrekkana(int sign, int part);

// The parivritti-traya drekkana: the zodiac's 36 parts take the signs in order from Aries, three
// to a sign, so Aries gives Aries, Taurus, Gemini and Taurus gives Cancer, Leo, Virgo. P. V. R.
// Narasimha Rao, "Vedic Astrology: An Integrated Approach" (Sagar, 2000), ch. 6.
int ParivrittiDrekkana(int sign, int part);

// The Somanatha drekkana: the 18 parts of the odd signs take the signs in zodiacal order from
// Aries (Aries: Aries, Taurus, Gemini; Gemini: Cancer, Leo, Virgo ...), the 18 parts of the even
// signs in reverse order from Pisces (Taurus: Pisces, Aquarius, Capricorn; Cancer: Sagittarius,
// Scorpio, Libra ...). Narasimha Rao, ch. 6; Sarbani Rath, "Somanath drekkana".
int SomanathaDrekkana(int sign, int part);

// The Jagannatha drekkana: counted from the movable sign of the sign's element (Aries for fire,
// Capricorn for earth, Libra for air, Cancer for water), its 5th and its 9th. Narasimha Rao,
// ch. 6.
int JagannathaDrekkana(int sign, int part);

// The drekkana sign under `scheme`.
int DrekkanaSignUnder(DrekkanaScheme scheme, int sign, int part);

// The scheme's name as the program shows it ("Parāśara", "Parivṛtti", "Somanātha",
// "Jagannātha", UTF-8) and the spelling the command takes ("parashara", "parivritti",
// "somanatha", "jagannatha").
const char* DrekkanaSchemeName(DrekkanaScheme scheme);
const char* DrekkanaSchemeKey(DrekkanaScheme scheme);
std::optional<DrekkanaScheme> DrekkanaSchemeOfKey(std::string_view key);

// One quiet line for a body's tab: its drekkana sign under every scheme, the chosen one marked
// with an asterisk: "Drekkana: Parāśara Leo*, Parivṛtti Taurus, Somanātha Taurus, Jagannātha
// Leo". Empty when the display-form position text names no sign.
std::string DrekkanaLine(const std::string& positionText, DrekkanaScheme chosen);
