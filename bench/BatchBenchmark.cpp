// The command's batch path in-process (parse, compute, format) and a place query. Figures
// only; run on one core: taskset -c 0 korvani-bench --benchmark_filter=Batch
#include "cli/BatchRun.h"
#include "places/PlaceIndex.h"

#include <benchmark/benchmark.h>

#include <QBuffer>

namespace {

// Rows with `tz`, over a spread of dates and times so that the zone lookups are real ones.
QByteArray BatchRows(int count) {
    QByteArray csv = "name,date,time,lon,lat,zone,tz,place,dst\n";
    const char* zones[] = {"Asia/Kolkata", "Europe/London", "America/New_York", "Asia/Tokyo"};
    for (int row = 0; row < count; ++row) {
        char line[160];
        std::snprintf(line, sizeof line, "Row %d,%04d-%02d-%02d,%02d:%02d,077:13E,28:39N,,%s,,\n",
                      row, 1901 + row % 150, 1 + row % 12, 1 + row % 28, row % 24, row % 60,
                      zones[row % 4]);
        csv += line;
    }
    return csv;
}

void RunBatchOnce(benchmark::State& state, OutputFormat format,
                  const CalculationSettings& settings = {}) {
    const int rows = static_cast<int>(state.range(0));
    const QByteArray csv = BatchRows(rows);
    RememberedPlaceAnswers places(nullptr);
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer input;
        input.setData(csv);
        input.open(QIODevice::ReadOnly);
        const BatchSummary summary = RunBatch(
            input, format, places,
            [&bytes](const QByteArray& piece) {
                bytes += piece.size();
                return true;
            },
            1, false, settings);
        benchmark::DoNotOptimize(summary);
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["outputBytes"] = static_cast<double>(bytes) / state.iterations();
}

void BM_BatchJsonLines(benchmark::State& state) {
    RunBatchOnce(state, OutputFormat::Json);
}
void BM_BatchCsv(benchmark::State& state) {
    RunBatchOnce(state, OutputFormat::Csv);
}
BENCHMARK(BM_BatchJsonLines)->Arg(1000000)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_BatchCsv)->Arg(1000000)->Unit(benchmark::kSecond)->Iterations(1);

// The same JSON Lines by the precise engine (--engine precise), on one thread.
void BM_BatchJsonLinesPrecise(benchmark::State& state) {
    RunBatchOnce(state, OutputFormat::Json,
                 SettingsForEngine(Engine::Precise, DrekkanaScheme::Parashara));
}
BENCHMARK(BM_BatchJsonLinesPrecise)->Arg(100000)->Unit(benchmark::kSecond)->Iterations(1);

void BM_PlaceQuery(benchmark::State& state) {
    const std::unique_ptr<PlaceSource> source = SystemPlaceSource();
    if (!source) {
        state.SkipWithError("this build has no place list");
        return;
    }
    const std::shared_ptr<const PlaceIndex> index = LoadPlaceIndex(*source);
    const PlaceQuery queries[] = {ParsePlaceQuery(u"New Delhi, Delhi, India"),
                                  ParsePlaceQuery(u"Springfield"), ParsePlaceQuery(u"sa"),
                                  ParsePlaceQuery(u"London, England")};
    std::size_t at = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(index->Find(queries[at++ % std::size(queries)]));
    }
}
BENCHMARK(BM_PlaceQuery)->Unit(benchmark::kMicrosecond);

void BM_PlaceIndexLoad(benchmark::State& state) {
    const std::unique_ptr<PlaceSource> source = SystemPlaceSource();
    if (!source) {
        state.SkipWithError("this build has no place list");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadPlaceIndex(*source));
    }
}
BENCHMARK(BM_PlaceIndexLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
