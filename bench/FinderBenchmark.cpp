// One update of the place finder as the window thread sees it: the birth date changes, the rows
// are made again in a worker, and the window shows them. The figure is the window thread's own
// time (the change itself and the pass of the event loop that shows the rows), per update, with
// the median and the 95th percentile over 200 updates. For comparison, the worker's time for
// the same rows, which the window thread does not spend. With the system's place list when this
// build has it, else a small list of our own.

#include "app/PlaceFinderRows.h"
#include "app/frmPlaceFinder.h"
#include "bench/BenchFigures.h"
#include "places/PlaceSource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <memory>
#include <vector>

namespace {

constexpr int updates = 200;

std::shared_ptr<const PlaceSource> Places() {
    static const std::shared_ptr<const PlaceSource> source = [] {
        std::shared_ptr<const PlaceSource> system = SystemPlaceSource();
        if (system) {
            return system;
        }
        return std::shared_ptr<const PlaceSource>(std::make_shared<ListPlaceSource>(
            QList<Place>{{"San Jose", "California", "United States", "US", "America/Los_Angeles",
                          37.33939, -121.89496, 1026908},
                         {"San Juan", "San Juan", "Puerto Rico", "PR", "America/Puerto_Rico",
                          18.46633, -66.10572, 418140},
                         {"Santiago", "Santiago Metropolitan", "Chile", "CL", "America/Santiago",
                          -33.45694, -70.64827, 4837295}}));
    }();
    return source;
}

// "San": fifty places in many zones, so each update reads or looks up many zone histories.
PlaceFinderRequest Request(int update) {
    return {QString(), ParsePlaceQuery(u"San"), QDate(1901 + update % 150, 1 + update % 12, 15),
            QTime(update % 24, 30)};
}

void AddFigures(benchmark::State& state, const std::vector<double>& milliseconds) {
    state.counters["median_ms"] = Percentile(milliseconds, 0.5);
    state.counters["p95_ms"] = Percentile(milliseconds, 0.95);
    state.counters["max_ms"] = Percentile(milliseconds, 1.0);
}

void BM_FinderUpdateOnTheWindowThread(benchmark::State& state) {
    frmPlaceFinder finder(Places());
    finder.showRequest(Request(0));
    finder.show();
    while (!finder.ready()) {
        QCoreApplication::processEvents();
        QThread::yieldCurrentThread();
    }
    std::vector<double> milliseconds;
    for (auto _ : state) {
        for (int update = 1; update <= updates; ++update) {
            const PlaceFinderRequest request = Request(update);
            QElapsedTimer timer;
            timer.start();
            finder.setBirthMoment(request.birthDate, request.birthTime);
            qint64 busyNanoseconds = timer.nsecsElapsed();
            while (!finder.ready()) {
                timer.restart();
                QCoreApplication::processEvents();
                if (finder.ready()) {
                    busyNanoseconds += timer.nsecsElapsed(); // the pass that showed the rows
                } else {
                    QThread::yieldCurrentThread();
                }
            }
            milliseconds.push_back(static_cast<double>(busyNanoseconds) / 1e6);
        }
    }
    AddFigures(state, milliseconds);
}
BENCHMARK(BM_FinderUpdateOnTheWindowThread)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FinderRowsInTheWorker(benchmark::State& state) {
    const std::shared_ptr<const PlaceIndex> index = LoadPlaceIndex(*Places());
    const std::atomic<bool> stop{false};
    std::vector<double> milliseconds;
    for (auto _ : state) {
        for (int update = 1; update <= updates; ++update) {
            QElapsedTimer timer;
            timer.start();
            benchmark::DoNotOptimize(MakeFinderRows(*index, Request(update), finderRowLimit, stop));
            milliseconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
    }
    AddFigures(state, milliseconds);
}
BENCHMARK(BM_FinderRowsInTheWorker)->Iterations(1)->Unit(benchmark::kMillisecond);

// One query of the place index, as the finder makes it for each request: the matches for what was
// typed, by names and other names, the typed parts ranked; without the zone offsets. Over short
// beginnings (many matches), whole names and former names.
void BM_FinderQuery(benchmark::State& state) {
    const std::shared_ptr<const PlaceIndex> index = LoadPlaceIndex(*Places());
    const char16_t* typed[] = {u"S",         u"San",    u"Bombay", u"Kiev, Ukraine", u"New",
                               u"London",    u"Mumbai", u"Ko",     u"Springfield",   u"Köln",
                               u"Sao Paulo", u"B",      u"Peking", u"Odessa"};
    std::vector<double> milliseconds;
    for (auto _ : state) {
        for (int query = 0; query < updates; ++query) {
            const PlaceQuery place = ParsePlaceQuery(typed[query % std::size(typed)]);
            QElapsedTimer timer;
            timer.start();
            benchmark::DoNotOptimize(index->Find(place, finderRowLimit));
            milliseconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
    }
    AddFigures(state, milliseconds);
}
BENCHMARK(BM_FinderQuery)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
