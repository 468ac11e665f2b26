#pragma once

#include "decanates/DrekkanaSchemes.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// What a chart is calculated with: the engine, the ayanamsa, the nodes and the drekkana scheme.
// The defaults are the program's own 1.20 rules.

enum class Engine {
    Rules120, // Keplerian mean elements and the program's own Lahiri-type ayanamsa
    Precise,  // the Swiss Ephemeris through Debian's libswe and its ephemeris files
};

// The ayanamsas of the precise engine, each the library's sidereal mode of that name.
enum class Ayanamsa { Lahiri, Raman, Krishnamurti, FaganBradley, TrueChitra, Yukteshwar };
inline constexpr std::array<Ayanamsa, 6> ayanamsas = {
    Ayanamsa::Lahiri,       Ayanamsa::Raman,      Ayanamsa::Krishnamurti,
    Ayanamsa::FaganBradley, Ayanamsa::TrueChitra, Ayanamsa::Yukteshwar};

enum class Nodes {
    Rule, // the 1.20 rules' mean node less 1°; 1.20 engine only
    Mean, // the engine's own mean node
    True, // the true (osculating) node; precise engine only
};

struct CalculationSettings {
    Engine engine = Engine::Rules120;
    Ayanamsa ayanamsa = Ayanamsa::Lahiri; // used by the precise engine only
    Nodes nodes = Nodes::Rule;
    DrekkanaScheme drekkana = DrekkanaScheme::Parashara;

    bool operator==(const CalculationSettings&) const = default;
};

// The settings a newly chosen engine starts from: the 1.20 rules, or the precise engine with
// Lahiri and the mean node; the drekkana scheme is kept.
CalculationSettings SettingsForEngine(Engine engine, DrekkanaScheme drekkana);

// Names as the program shows them, and the spellings the command and the kept settings take.
const char* EngineName(Engine engine);       // "Korvani 1.20 rules", "Swiss Ephemeris (precise)"
const char* EngineKey(Engine engine);        // "1.20", "precise"
const char* AyanamsaName(Ayanamsa ayanamsa); // "Lahiri", "Raman" ... "True Chitra"
const char* AyanamsaKey(Ayanamsa ayanamsa);  // "lahiri", "raman" ... "true-chitra"
const char* NodesName(Nodes nodes);          // "as 1.20 computes them", "mean node", "true node"
const char* NodesKey(Nodes nodes);           // "rule", "mean", "true"
std::optional<Engine> EngineOfKey(std::string_view key);
std::optional<Ayanamsa> AyanamsaOfKey(std::string_view key);
std::optional<Nodes> NodesOfKey(std::string_view key);

// The library's SE_SIDM_ number of an ayanamsa.
int SiderealModeOf(Ayanamsa ayanamsa);

// The name of the 1.20 rules' own ayanamsa.
inline constexpr const char* rulesAyanamsaName = "Korvani 1.20 (Lahiri-type)";

// Why the combination cannot be calculated, naming the option at fault ("--ayanamsa needs
// --engine precise"), or nothing when it can. `ayanamsaChosen`: an ayanamsa was asked for, which
// the 1.20 rules cannot take (they have their own).
std::optional<std::string> SettingsRefusal(const CalculationSettings& settings,
                                           bool ayanamsaChosen);

// The values the command's options gave (nothing for an option not given), each spelt as the
// option takes it.
struct CalculationOptions {
    std::optional<std::string_view> engine;
    std::optional<std::string_view> ayanamsa;
    std::optional<std::string_view> nodes;
    std::optional<std::string_view> drekkana;
};

// The settings the options ask for, the rest at the chosen engine's defaults (the 1.20 rules when
// no engine is named); or why not, naming the option: an unknown value
// ("--engine: \"fast\" is not 1.20 or precise") or a combination SettingsRefusal refuses.
std::variant<CalculationSettings, std::string>
SettingsFromOptions(const CalculationOptions& options);

// An angle in degrees as whole degrees, minutes and seconds, each truncated: "23°43′12″".
std::string DegreesMinutesSeconds(double degrees);

// The ayanamsa's name and value: "Lahiri 23°43′12″", "Korvani 1.20 (Lahiri-type) 23°51′02″".
std::string AyanamsaText(const CalculationSettings& settings, double ayanamsaDegrees);

// The one line that names the calculation on every output: "Korvani 1.20 rules" (with the node
// and the drekkana scheme when they are not the rules' own), or "Swiss Ephemeris, Lahiri
// 23°43′12″, true node, Parāśara drekkana".
std::string SettingsSummary(const CalculationSettings& settings, double ayanamsaDegrees);
