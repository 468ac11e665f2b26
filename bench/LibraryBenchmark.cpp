// The library of births with 100,000 births in a real file in a temporary folder: importing them
// from CSV in one transaction, a search for each keystroke of a typed name, the first search of
// an empty box (what the births window shows when it opens) and saving one birth.

#include "library/BirthCsv.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int births = 100000;

QByteArray Name(int row) {
    QByteArray name;
    for (int n = row; name.size() < 6; n /= 26) {
        name += char('A' + n % 26);
    }
    return name;
}

QByteArray ManyBirths() {
    QByteArray csv = "name,date,time,lon,lat,zone,tz,place,dst,city,country\n";
    const char* const cities[] = {"Zürich", "São Paulo", "New Delhi", "London", "Kraków"};
    for (int row = 0; row < births; ++row) {
        csv += Name(row) + ' ' + Name(row * 7 + 3) + ",1990-08-15,10:30,77:13E,28:39N,34,,,0," +
               cities[row % 5] + ",Somewhere\n";
    }
    return csv;
}

struct Filled {
    QTemporaryDir folder;
    std::unique_ptr<BirthLibrary> library;
    Filled() {
        library = std::make_unique<BirthLibrary>(folder.filePath(QStringLiteral("births.sqlite")));
        QBuffer input;
        input.setData(ManyBirths());
        input.open(QIODevice::ReadOnly);
        PlaceAndZoneCache places(nullptr);
        ImportBirths(*library, input, places, false);
    }
};

Filled& Library() {
    static Filled filled;
    return filled;
}

void BM_ImportBirths(benchmark::State& state) {
    const QByteArray csv = ManyBirths();
    for (auto _ : state) {
        QTemporaryDir folder;
        BirthLibrary library(folder.filePath(QStringLiteral("births.sqlite")));
        QBuffer input;
        input.setData(csv);
        input.open(QIODevice::ReadOnly);
        PlaceAndZoneCache places(nullptr);
        const ImportReport report = ImportBirths(library, input, places, false);
        if (report.added != births) {
            state.SkipWithError("the import was refused");
        }
    }
}
BENCHMARK(BM_ImportBirths)->Unit(benchmark::kMillisecond)->Iterations(3);

// Each prefix of a typed search, as the box sends them while typing.
void BM_SearchPerKeystroke(benchmark::State& state) {
    BirthLibrary& library = *Library().library;
    const QString typed = QStringLiteral("sao paulo");
    qsizetype length = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(library.Search(typed.first(length)));
        length = length % typed.size() + 1;
    }
}
BENCHMARK(BM_SearchPerKeystroke)->Unit(benchmark::kMillisecond);

// What the births window reads when it opens: every id in name order, and the first screenful.
void BM_OpenWindowList(benchmark::State& state) {
    BirthLibrary& library = *Library().library;
    for (auto _ : state) {
        const auto ids = library.Search(QString());
        for (int row = 0; row < 40; ++row) {
            benchmark::DoNotOptimize(library.Load(std::get<std::vector<qint64>>(ids)[row]));
        }
    }
}
BENCHMARK(BM_OpenWindowList)->Unit(benchmark::kMillisecond);

void BM_SaveOneBirth(benchmark::State& state) {
    BirthLibrary& library = *Library().library;
    int year = 1901;
    for (auto _ : state) {
        SavedBirth birth;
        birth.name = QStringLiteral("BENCH");
        birth.year = year;
        birth.longitudeDegrees = birth.longitudeMinutes = QStringLiteral("0");
        birth.latitudeDegrees = birth.latitudeMinutes = QStringLiteral("0");
        birth.zoneRow = QStringLiteral("Indian Time, IST, +5.3");
        benchmark::DoNotOptimize(library.Save(birth, true));
        year = year == 2050 ? 1901 : year + 1;
    }
}
BENCHMARK(BM_SaveOneBirth)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
