#include "precise/CalculationSettings.h"

#include <array>
#include <cmath>

namespace {

struct Named {
    const char* name;
    const char* key;
};

constexpr std::array<Named, 2> engineNames = {{
    {"Korvani 1.20 rules", "1.20"},
    {"Swiss Ephemeris (precise)", "precise"},
}};

constexpr std::array<Named, 6> ayanamsaNames = {{
    {"Lahiri", "lahiri"},
    {"Raman", "raman"},
    {"Krishnamurti", "krishnamurti"},
    {"Fagan-Bradley", "fagan-bradley"},
    {"True Chitra", "true-chitra"},
    {"Yukteshwar", "yukteshwar"},
}};

constexpr std::array<Named, 3> nodesNames = {{
    {"as 1.20 computes them", "rule"},
    {"mean node", "mean"},
    {"true node", "true"},
}};

// The library's sidereal modes (swephexp.h): SE_SIDM_LAHIRI 1, SE_SIDM_RAMAN 3,
// SE_SIDM_KRISHNAMURTI 5, SE_SIDM_FAGAN_BRADLEY 0, SE_SIDM_TRUE_CITRA 27, SE_SIDM_YUKTESHWAR 7.
constexpr std::array<int, 6> siderealModes = {1, 3, 5, 0, 27, 7};

template <typename Choice, std::size_t n>
std::optional<Choice> OfKey(const std::array<Named, n>& names, std::string_view key) {
    for (std::size_t i = 0; i < n; ++i) {
        if (key == names[i].key) {
            return static_cast<Choice>(i);
        }
    }
    return std::nullopt;
}

template <typename Choice, std::size_t n>
const Named& Of(const std::array<Named, n>& names, Choice choice) {
    return names[static_cast<std::size_t>(choice)];
}

} // namespace

CalculationSettings SettingsForEngine(Engine engine, DrekkanaScheme drekkana) {
    CalculationSettings settings;
    settings.engine = engine;
    settings.nodes = engine == Engine::Precise ? Nodes::Mean : Nodes::Rule;
    settings.drekkana = drekkana;
    return settings;
}

const char* EngineName(Engine engine) {
    return Of(engineNames, engine).name;
}
const char* EngineKey(Engine engine) {
    return Of(engineNames, engine).key;
}
const char* AyanamsaName(Ayanamsa ayanamsa) {
    return Of(ayanamsaNames, ayanamsa).name;
}
const char* AyanamsaKey(Ayanamsa ayanamsa) {
    return Of(ayanamsaNames, ayanamsa).key;
}
const char* NodesName(Nodes nodes) {
    return Of(nodesNames, nodes).name;
}
const char* NodesKey(Nodes nodes) {
    return Of(nodesNames, nodes).key;
}
std::optional<Engine> EngineOfKey(std::string_view key) {
    return OfKey<Engine>(engineNames, key);
}
std::optional<Ayanamsa> AyanamsaOfKey(std::string_view key) {
    return OfKey<Ayanamsa>(ayanamsaNames, key);
}
std::optional<Nodes> NodesOfKey(std::string_view key) {
    return OfKey<Nodes>(nodesNames, key);
}

int SiderealModeOf(Ayanamsa ayanamsa) {
    return siderealModes[static_cast<std::size_t>(ayanamsa)];
}

std::optional<std::string> SettingsRefusal(const CalculationSettings& settings,
                                           bool ayanamsaChosen) {
    if (settings.engine == Engine::Precise) {
        if (settings.nodes == Nodes::Rule) {
            return std::string("--nodes rule needs --engine 1.20");
        }
        return std::nullopt;
    }
    if (ayanamsaChosen) {
        return std::string("--ayanamsa needs --engine precise");
    }
    if (settings.nodes == Nodes::True) {
        return std::string("--nodes true needs --engine precise");
    }
    return std::nullopt;
}

namespace {

// "--nodes: \"x\" is not rule, mean or true": the option, the value and the keys it takes.
template <std::size_t n>
std::string UnknownValue(const char* option, std::string_view value,
                         const std::array<Named, n>& names) {
    std::string message = std::string(option) + ": \"" + std::string(value) + "\" is not ";
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) {
            message += i + 1 == n ? " or " : ", ";
        }
        message += names[i].key;
    }
    return message;
}

} // namespace

std::variant<CalculationSettings, std::string>
SettingsFromOptions(const CalculationOptions& options) {
    Engine engine = Engine::Rules120;
    if (options.engine) {
        const auto read = EngineOfKey(*options.engine);
        if (!read) {
            return UnknownValue("--engine", *options.engine, engineNames);
        }
        engine = *read;
    }
    DrekkanaScheme drekkana = DrekkanaScheme::Parashara;
    if (options.drekkana) {
        const auto read = DrekkanaSchemeOfKey(*options.drekkana);
        if (!read) {
            std::array<Named, 4> schemes{};
            for (std::size_t i = 0; i < schemes.size(); ++i) {
                schemes[i] = {DrekkanaSchemeName(drekkanaSchemes[i]),
                              DrekkanaSchemeKey(drekkanaSchemes[i])};
            }
            return UnknownValue("--drekkana", *options.drekkana, schemes);
        }
        drekkana = *read;
    }
    CalculationSettings settings = SettingsForEngine(engine, drekkana);
    if (options.ayanamsa) {
        const auto read = AyanamsaOfKey(*options.ayanamsa);
        if (!read) {
            return UnknownValue("--ayanamsa", *options.ayanamsa, ayanamsaNames);
        }
        settings.ayanamsa = *read;
    }
    if (options.nodes) {
        const auto read = NodesOfKey(*options.nodes);
        if (!read) {
            return UnknownValue("--nodes", *options.nodes, nodesNames);
        }
        settings.nodes = *read;
    }
    if (auto refusal = SettingsRefusal(settings, options.ayanamsa.has_value())) {
        return *refusal;
    }
    return settings;
}

std::string DegreesMinutesSeconds(double degrees) {
    const double magnitude = std::fabs(degrees);
    const double whole = std::floor(magnitude);
    const double minutesExact = 60.0 * (magnitude - whole);
    const double minutes = std::floor(minutesExact);
    const double seconds = std::floor(60.0 * (minutesExact - minutes));
    auto twoDigits = [](double value) {
        const int n = static_cast<int>(value);
        return (n < 10 ? "0" : "") + std::to_string(n);
    };
    return (degrees < 0.0 ? "-" : "") + std::to_string(static_cast<int>(whole)) + "\u00B0" +
           twoDigits(minutes) + "\u2032" + twoDigits(seconds) + "\u2033";
}

std::string AyanamsaText(const CalculationSettings& settings, double ayanamsaDegrees) {
    const char* name =
        settings.engine == Engine::Precise ? AyanamsaName(settings.ayanamsa) : rulesAyanamsaName;
    return std::string(name) + ' ' + DegreesMinutesSeconds(ayanamsaDegrees);
}

std::string SettingsSummary(const CalculationSettings& settings, double ayanamsaDegrees) {
    std::string summary;
    if (settings.engine == Engine::Precise) {
        summary = "Swiss Ephemeris, " + AyanamsaText(settings, ayanamsaDegrees) + ", " +
                  NodesName(settings.nodes);
    } else {
        summary = EngineName(Engine::Rules120);
        if (settings.nodes != Nodes::Rule) {
            summary += std::string(", ") + NodesName(settings.nodes);
        }
        if (settings.drekkana == DrekkanaScheme::Parashara) {
            return summary;
        }
    }
    return summary + ", " + DrekkanaSchemeName(settings.drekkana) + " drekkana";
}
