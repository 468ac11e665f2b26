#include "precise/PreciseEngine.h"

#include "astro/ChartCalculation.h"
#include "astro/PositionText.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include <cmath>
#include <mutex>

#ifndef KORVANI_MODULE_FROM_BIN
#error "KORVANI_MODULE_FROM_BIN comes from the install folders in CMake"
#endif
#ifndef KORVANI_EPHEMERIS_FOLDER
#error "KORVANI_EPHEMERIS_FOLDER comes from libswe's pkg-config file"
#endif

namespace {

constexpr const char* moduleName = "korvani-precise.so";
// Julian day of 2000 January 1, 12h, the origin of ChartDaysSinceJ2000.
constexpr double julianDayJ2000 = 2451545.0;

// The module beside the running program, where the package puts it relative to the program, and
// in the build tree the module's folder beside the programs' folders (tests one folder deeper).
QStringList ModuleCandidates() {
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (program.isEmpty()) {
        return {};
    }
    const QString folder = QFileInfo(program).absolutePath();
    const QString name = QString::fromLatin1(moduleName);
    return {folder + u'/' + name, folder + QStringLiteral("/" KORVANI_MODULE_FROM_BIN "/") + name,
            folder + QStringLiteral("/../precise/") + name,
            folder + QStringLiteral("/../../precise/") + name};
}

struct LoadedModule {
    PreciseChartFunction chart = nullptr;
    PreciseAvailability availability;
};

LoadedModule LoadModule() {
    LoadedModule loaded;
    // The library first, its symbols made global for the module, which leaves them unresolved.
    QLibrary library(QStringLiteral("swe"), 2);
    library.setLoadHints(QLibrary::ExportExternalSymbolsHint | QLibrary::PreventUnloadHint);
    if (!library.load()) {
        loaded.availability.missing = "Install the package libswe2.0 to use the precise engine.";
        return loaded;
    }
    QString loadProblem;
    for (const QString& candidate : ModuleCandidates()) {
        if (!QFileInfo::exists(candidate)) {
            continue;
        }
        QLibrary module(candidate);
        module.setLoadHints(QLibrary::PreventUnloadHint);
        loaded.chart = reinterpret_cast<PreciseChartFunction>(module.resolve(preciseChartSymbol));
        if (loaded.chart != nullptr) {
            break;
        }
        loadProblem = module.errorString();
    }
    if (loaded.chart == nullptr) {
        loaded.availability.missing =
            "The precise engine's module korvani-precise.so could not be loaded" +
            (loadProblem.isEmpty() ? std::string(".") : " (" + loadProblem.toStdString() + ").");
        return loaded;
    }
    const QString folder = QStringLiteral(KORVANI_EPHEMERIS_FOLDER);
    for (const char* file : {"sepl_18.se1", "semo_18.se1"}) {
        if (!QFileInfo::exists(folder + u'/' + QLatin1String(file))) {
            loaded.availability.missing =
                "Install the package swe-basic-data (the ephemeris files) to use the precise "
                "engine.";
            return loaded;
        }
    }
    loaded.availability.available = true;
    return loaded;
}

const LoadedModule& Module() {
    static const LoadedModule loaded = LoadModule();
    return loaded;
}

double OnCircle(double degrees) {
    double reduced = std::fmod(degrees, 360.0);
    if (reduced < 0.0) {
        reduced += 360.0;
    }
    return reduced;
}

bool IsSet(int16_t flag) {
    return flag != 0;
}

} // namespace

PreciseAvailability PreciseEngineAvailability() {
    return Module().availability;
}

std::optional<std::string> RunPreciseChart(PreciseRequest request, PreciseResult& result) {
    const LoadedModule& module = Module();
    if (!module.availability.available) {
        return module.availability.missing;
    }
    request.ephemerisFolder = KORVANI_EPHEMERIS_FOLDER;
    if (!module.chart(request, result)) {
        return std::string("The precise engine failed: ") + result.problem;
    }
    return std::nullopt;
}

double ChartJulianDayUt(const ChartState& chart) {
    return julianDayJ2000 + ChartDaysSinceJ2000(chart);
}

std::optional<std::string> CalculatePreciseChart(ChartState& chart,
                                                 const CalculationSettings& settings,
                                                 BodyLongitudes* longitudes,
                                                 double& ayanamsaDegrees) {
    PreciseRequest request;
    request.julianDayUt = ChartJulianDayUt(chart);
    request.latitudeNorthDegrees = chart.latitudeDegrees + chart.latitudeMinutes / 60.0;
    if (IsSet(chart.latitudeSouthFlag)) {
        request.latitudeNorthDegrees = -request.latitudeNorthDegrees;
    }
    request.longitudeEastDegrees = chart.longitudeDegrees + chart.longitudeMinutes / 60.0;
    if (!IsSet(chart.longitudeEastFlag)) {
        request.longitudeEastDegrees = -request.longitudeEastDegrees;
    }
    request.siderealMode = SiderealModeOf(settings.ayanamsa);
    request.trueNode = settings.nodes == Nodes::True;
    PreciseResult result;
    if (auto problem = RunPreciseChart(request, result)) {
        return problem;
    }
    ayanamsaDegrees = result.ayanamsaDegrees;
    chart.chartSiderealCorrection = -result.ayanamsaDegrees;

    // Body-index order: Sun to Pluto, Ascendant, Midheaven, Rahu, Ketu opposite Rahu.
    BodyLongitudes sidereal{};
    for (int i = 0; i < preciseLongitudeCount; ++i) {
        sidereal[static_cast<std::size_t>(i)] = OnCircle(result.longitudesDegrees[i]);
    }
    sidereal[13] = OnCircle(sidereal[12] + 180.0);
    std::array<std::string, positionCount> longForms;
    for (std::size_t i = 0; i < longForms.size(); ++i) {
        longForms[i] = FormatSignPosition(sidereal[i]);
        chart.positionText[i] = FormatDisplayPosition(longForms[i]);
    }
    chart.moonPositionText = longForms[1];
    chart.ascendantText = longForms[10];
    chart.midheavenText = longForms[11];
    if (longitudes != nullptr) {
        *longitudes = sidereal;
    }
    return std::nullopt;
}

std::optional<std::string> CalculateChartWith(ChartState& chart,
                                              const CalculationSettings& settings,
                                              BodyLongitudes* longitudes, double& ayanamsaDegrees) {
    if (settings.engine == Engine::Precise) {
        return CalculatePreciseChart(chart, settings, longitudes, ayanamsaDegrees);
    }
    CalculateChart(chart, longitudes, settings.nodes == Nodes::Mean ? 0.0 : ruleNodeLessDegrees);
    ayanamsaDegrees = -chart.chartSiderealCorrection;
    return std::nullopt;
}
