// The precise engine: one chart through the module against the library's own calls for the
// same positions, and a batch of different births on one core.

#include "decanates/modVedicDecanates.h"
#include "precise/PreciseEngine.h"

#include <benchmark/benchmark.h>
#include <swephexp.h>

#include <cstdint>
#include <vector>

namespace {

// 1990-08-15 05:00 universal time at 77°13′ East, 28°39′ North.
ChartState BenchBirth() {
    ChartState chart;
    chart.birthYear = 1990;
    chart.birthMonth = 8;
    chart.birthDay = 15;
    chart.birthHour = 5;
    chart.longitudeDegrees = 77;
    chart.longitudeMinutes = 13;
    chart.longitudeEastFlag = chartTrue;
    chart.latitudeDegrees = 28;
    chart.latitudeMinutes = 39;
    return chart;
}

bool EngineHere(benchmark::State& state) {
    const PreciseAvailability availability = PreciseEngineAvailability();
    if (!availability.available) {
        state.SkipWithError(availability.missing.c_str());
    }
    return availability.available;
}

// The library's own calls for one chart, as the module makes them: ten bodies and the node,
// the houses for the Ascendant and the Midheaven, and the ayanamsa.
void BM_LibraryCallsForOneChart(benchmark::State& state) {
    if (!EngineHere(state)) {
        return;
    }
    const ChartState chart = BenchBirth();
    const double julianDay = ChartJulianDayUt(chart);
    // The module's settings: its folder, its models (SetModels), Lahiri.
    swe_set_ephe_path("/usr/share/libswe/ephe");
    char models[] = "0,8,8,4,3,0,0,4";
    swe_set_astro_models(models, 0);
    swe_set_sid_mode(SE_SIDM_LAHIRI, 0.0, 0.0);
    const int32 flags = SEFLG_SWIEPH | SEFLG_SIDEREAL;
    char message[AS_MAXCH];
    double position[6];
    double cusps[13];
    double angles[10];
    double ayanamsa = 0.0;
    for (auto _ : state) {
        for (int32 body = SE_SUN; body <= SE_PLUTO; ++body) {
            swe_calc_ut(julianDay, body, flags, position, message);
            benchmark::DoNotOptimize(position);
        }
        swe_calc_ut(julianDay, SE_MEAN_NODE, flags, position, message);
        swe_houses_ex(julianDay, SEFLG_SIDEREAL, 28.65, 77.2167, 'E', cusps, angles);
        swe_get_ayanamsa_ex_ut(julianDay, SEFLG_SWIEPH, &ayanamsa, message);
        benchmark::DoNotOptimize(angles);
        benchmark::DoNotOptimize(ayanamsa);
    }
}
BENCHMARK(BM_LibraryCallsForOneChart);

// The same chart through the precise engine, its texts written into the chart state.
void BM_PreciseChart(benchmark::State& state) {
    if (!EngineHere(state)) {
        return;
    }
    const CalculationSettings settings =
        SettingsForEngine(Engine::Precise, DrekkanaScheme::Parashara);
    ChartState chart = BenchBirth();
    double ayanamsa = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CalculateChartWith(chart, settings, nullptr, ayanamsa));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PreciseChart);

// A batch: 1,000 different births from 1901 to 2050, each calculated and its decanates found,
// on one core; charts per second in the counter.
void BM_PreciseBatch(benchmark::State& state) {
    if (!EngineHere(state)) {
        return;
    }
    std::vector<ChartState> births;
    std::uint32_t seed = 1u;
    auto next = [&seed](int count) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int16_t>((seed >> 8) % static_cast<std::uint32_t>(count));
    };
    for (int i = 0; i < 1000; ++i) {
        ChartState chart = BenchBirth();
        chart.birthYear = static_cast<int16_t>(1901 + next(150));
        chart.birthMonth = static_cast<int16_t>(1 + next(12));
        chart.birthDay = static_cast<int16_t>(1 + next(28));
        chart.birthHour = next(24);
        births.push_back(chart);
    }
    const CalculationSettings settings =
        SettingsForEngine(Engine::Precise, DrekkanaScheme::Parashara);
    DecanateResults results;
    double ayanamsa = 0.0;
    for (auto _ : state) {
        for (ChartState& chart : births) {
            benchmark::DoNotOptimize(CalculateChartWith(chart, settings, nullptr, ayanamsa));
            DetermineDecanates(chart, results);
            benchmark::DoNotOptimize(results);
        }
    }
    state.counters["charts/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * births.size()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PreciseBatch)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
