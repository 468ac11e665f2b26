#include "decanates/DrekkanaSchemes.h"
#include "decanates/modVedicDecanates.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

// The drekkana signs of every sign's three parts under each scheme, written out by hand from the
// schemes' rules: Parashara, the sign, its 5th, its 9th (Brihat Parashara Hora Shastra, ch. 6);
// Parivritti, the 36 parts round the zodiac from Aries; Somanatha, odd signs forward from Aries
// and even signs backward from Pisces (Sarbani Rath's tables of the Somanath drekkana);
// Jagannatha, the movable sign of the element, its 5th and its 9th. Each part is read from a
// position text, so 10°00′ and 20°00′ must land in the later part.
struct SchemeRow {
    const char* sign;
    std::array<const char*, 3> parashara;
    std::array<const char*, 3> parivritti;
    std::array<const char*, 3> somanatha;
    std::array<const char*, 3> jagannatha;
};

// clang-format off
//   sign    Parashara              Parivritti             Somanatha              Jagannatha
constexpr std::array<SchemeRow, 12> schemeTable = {{
    {"Ari", {"Ari", "Leo", "Sag"}, {"Ari", "Tau", "Gem"}, {"Ari", "Tau", "Gem"}, {"Ari", "Leo", "Sag"}},
    {"Tau", {"Tau", "Vir", "Cap"}, {"Can", "Leo", "Vir"}, {"Pis", "Aqu", "Cap"}, {"Cap", "Tau", "Vir"}},
    {"Gem", {"Gem", "Lib", "Aqu"}, {"Lib", "Sco", "Sag"}, {"Can", "Leo", "Vir"}, {"Lib", "Aqu", "Gem"}},
    {"Can", {"Can", "Sco", "Pis"}, {"Cap", "Aqu", "Pis"}, {"Sag", "Sco", "Lib"}, {"Can", "Sco", "Pis"}},
    {"Leo", {"Leo", "Sag", "Ari"}, {"Ari", "Tau", "Gem"}, {"Lib", "Sco", "Sag"}, {"Ari", "Leo", "Sag"}},
    {"Vir", {"Vir", "Cap", "Tau"}, {"Can", "Leo", "Vir"}, {"Vir", "Leo", "Can"}, {"Cap", "Tau", "Vir"}},
    {"Lib", {"Lib", "Aqu", "Gem"}, {"Lib", "Sco", "Sag"}, {"Cap", "Aqu", "Pis"}, {"Lib", "Aqu", "Gem"}},
    {"Sco", {"Sco", "Pis", "Can"}, {"Cap", "Aqu", "Pis"}, {"Gem", "Tau", "Ari"}, {"Can", "Sco", "Pis"}},
    {"Sag", {"Sag", "Ari", "Leo"}, {"Ari", "Tau", "Gem"}, {"Ari", "Tau", "Gem"}, {"Ari", "Leo", "Sag"}},
    {"Cap", {"Cap", "Tau", "Vir"}, {"Can", "Leo", "Vir"}, {"Pis", "Aqu", "Cap"}, {"Cap", "Tau", "Vir"}},
    {"Aqu", {"Aqu", "Gem", "Lib"}, {"Lib", "Sco", "Sag"}, {"Can", "Leo", "Vir"}, {"Lib", "Aqu", "Gem"}},
    {"Pis", {"Pis", "Can", "Sco"}, {"Cap", "Aqu", "Pis"}, {"Sag", "Sco", "Lib"}, {"Can", "Sco", "Pis"}},
}};
// clang-format on

std::string AbbreviationOf(int sign) {
    return std::string(signAbbreviations.substr(static_cast<std::size_t>(3 * sign), 3));
}

// The sign of the drekkana of a body standing at a display-form position text.
std::string DrekkanaAt(DrekkanaScheme scheme, const std::string& positionText) {
    const auto place = FindDecanate(positionText);
    if (!place) {
        return "none";
    }
    return AbbreviationOf(DrekkanaSignUnder(scheme, static_cast<int>(place->sign),
                                            static_cast<int>(place->decanate)));
}

// Catches a scheme counting from the wrong sign or in the wrong direction, and a part boundary
// read one minute off (10°00′ and 20°00′ belong to the later part; 9°59′ and 19°59′ do not).
TEST(DrekkanaSchemes, EverySignAndPartUnderEveryScheme) {
    for (const SchemeRow& row : schemeTable) {
        const std::string sign = row.sign;
        // Each part at its first and its last minute.
        const std::array<std::array<std::string, 2>, 3> partTexts = {{
            {"00 " + sign + " 00", "09 " + sign + " 59"},
            {"10 " + sign + " 00", "19 " + sign + " 59"},
            {"20 " + sign + " 00", "29 " + sign + " 59"},
        }};
        const std::array<std::pair<DrekkanaScheme, const std::array<const char*, 3>*>, 4> schemes =
            {{{DrekkanaScheme::Parashara, &row.parashara},
              {DrekkanaScheme::Parivritti, &row.parivritti},
              {DrekkanaScheme::Somanatha, &row.somanatha},
              {DrekkanaScheme::Jagannatha, &row.jagannatha}}};
        for (const auto& [scheme, expected] : schemes) {
            for (std::size_t part = 0; part < 3; ++part) {
                for (const std::string& text : partTexts[part]) {
                    EXPECT_EQ(DrekkanaAt(scheme, text), (*expected)[part])
                        << DrekkanaSchemeKey(scheme) << " at " << text;
                }
            }
        }
    }
}

// Catches a key or a name that does not read back to its own scheme, which would make
// --drekkana or the kept setting pick another scheme.
TEST(DrekkanaSchemes, KeysReadBackAndUnknownKeysAreRefused) {
    const std::array<const char*, 4> keys = {"parashara", "parivritti", "somanatha", "jagannatha"};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(DrekkanaSchemeOfKey(keys[i]), drekkanaSchemes[i]) << keys[i];
    }
    EXPECT_EQ(DrekkanaSchemeOfKey("Parashara"), std::nullopt);
    EXPECT_EQ(DrekkanaSchemeOfKey(""), std::nullopt);
    EXPECT_STREQ(DrekkanaSchemeName(DrekkanaScheme::Parivritti), "Pariv\u1E5Btti");
}

// Catches a tab line that marks the wrong scheme or lists the schemes in another order.
TEST(DrekkanaSchemes, TabLineNamesAllFourAndMarksTheChosen) {
    EXPECT_EQ(DrekkanaLine("12 Tau 30", DrekkanaScheme::Somanatha),
              "Drekkana: Par\u0101\u015Bara Virgo, Pariv\u1E5Btti Leo, Soman\u0101tha Aquarius*, "
              "Jagann\u0101tha Taurus");
    EXPECT_EQ(DrekkanaLine("", DrekkanaScheme::Parashara), "");
}

} // namespace
