#include "astro/ChartCalculation.h"
#include "chart/ChartInput.h"
#include "decanates/modVedicDecanates.h"

#include <benchmark/benchmark.h>

namespace {

// The 1990-08-15 10:30 Indian Time birth at 77°13' East, 28°39' North.
ChartInput BenchInput() {
    ChartInput input;
    input.year = 1990;
    input.monthPosition = 7;
    input.day = 15;
    input.hour = 10;
    input.minute = 30;
    input.longitudeDegrees = 77;
    input.longitudeMinutes = 13;
    input.latitudeDegrees = 28;
    input.latitudeMinutes = 39;
    input.east = true;
    input.timeZonePosition = 34;
    return input;
}

// One whole chart: the three calculation stages, then the decanates as the result window takes
// them.
void BM_FullChart(benchmark::State& state) {
    const ChartInput input = BenchInput();
    ChartState chart;
    DecanateResults results;
    for (auto _ : state) {
        LoadChartInput(chart, input);
        CalculateChart(chart);
        DetermineDecanates(chart, results);
        benchmark::DoNotOptimize(results);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullChart);

// The calculation alone: what every chart of a batch costs before its input is read and its
// output written.
void BM_CalculateChart(benchmark::State& state) {
    const ChartInput input = BenchInput();
    ChartState chart;
    for (auto _ : state) {
        LoadChartInput(chart, input);
        CalculateChart(chart);
        benchmark::DoNotOptimize(chart);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CalculateChart);

} // namespace

BENCHMARK_MAIN();
