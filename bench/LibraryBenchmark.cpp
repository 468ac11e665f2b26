// The library of births with 100,000 births in a real file in a temporary folder: importing them
// from CSV in one transaction, a search for each keystroke of a typed name and of a typed date,
// the first search of an empty box (what the births window shows when it opens), the list sorted
// by each column either way (a click on its header), saving one birth, and the births window
// opened and painted.

#include "app/frmBirths.h"
#include "library/BirthCsv.h"

#include <QApplication>
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

// Dates, times and places vary from row to row, so that each order has work to do.
QByteArray ManyBirths() {
    QByteArray csv = "name,date,time,lon,lat,zone,tz,place,dst,city,state,country\n";
    const char* const cities[] = {"Zürich", "São Paulo", "New Delhi", "London", "Kraków"};
    const char* const states[] = {"", "Delhi", "Małopolska", "England"};
    const char* const countries[] = {"Schweiz",        "Brasil", "India", "Polska",
                                     "United Kingdom", "España", "Ísland"};
    for (int row = 0; row < births; ++row) {
        const QByteArray date = QByteArray::number(1901 + row % 120) + '-' +
                                QByteArray::number(101 + row / 7 % 12).sliced(1) + '-' +
                                QByteArray::number(101 + row / 3 % 28).sliced(1);
        const QByteArray time = QByteArray::number(100 + row / 11 % 24).sliced(1) + ':' +
                                QByteArray::number(100 + row / 13 % 60).sliced(1);
        csv += Name(row) + ' ' + Name(row * 7 + 3) + ',' + date + ',' + time +
               ",77:13E,28:39N,34,,,0," + cities[row % 5] + ',' + states[row / 5 % 4] + ',' +
               countries[row % 7] + '\n';
    }
    return csv;
}

QString WhyNotImported(const ImportReport& report) {
    return report.error       ? report.error->message
           : report.fileError ? *report.fileError
                              : RefusedRowsText(report.refused).left(400);
}

struct Filled {
    QTemporaryDir folder;
    std::unique_ptr<BirthLibrary> library;
    Filled() {
        library = std::make_unique<BirthLibrary>(folder.filePath(QStringLiteral("births.sqlite")));
        QBuffer input;
        input.setData(ManyBirths());
        input.open(QIODevice::ReadOnly);
        RememberedPlaceAnswers places(nullptr);
        const ImportReport report = ImportBirths(*library, input, places, false);
        if (report.added != births) {
            // Every figure would be of a smaller library than it says.
            qFatal("the benchmark's births were not all imported: %s",
                   qPrintable(WhyNotImported(report)));
        }
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
        RememberedPlaceAnswers places(nullptr);
        const ImportReport report = ImportBirths(library, input, places, false);
        if (report.added != births) {
            state.SkipWithError(WhyNotImported(report).toStdString().c_str());
        }
    }
}
BENCHMARK(BM_ImportBirths)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the list reads when it opens (name ascending) or when a column's header is clicked: every
// id in that order, and the first screenful. Arguments: the column (name, date, time, place) and
// 1 for descending.
void BM_SortedList(benchmark::State& state) {
    BirthLibrary& library = *Library().library;
    const BirthOrder order{static_cast<BirthOrderColumn>(state.range(0)),
                           state.range(1) != 0 ? Qt::DescendingOrder : Qt::AscendingOrder};
    for (auto _ : state) {
        const auto ids = library.Search(QString(), order);
        for (int row = 0; row < 40; ++row) {
            benchmark::DoNotOptimize(library.Load(std::get<std::vector<qint64>>(ids)[row]));
        }
    }
}
BENCHMARK(BM_SortedList)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->ArgNames({"column", "descending"})
    ->Unit(benchmark::kMillisecond);

// A search while typing, in each order: each prefix of a typed place, as the box sends them.
void BM_SortedSearchPerKeystroke(benchmark::State& state) {
    BirthLibrary& library = *Library().library;
    const BirthOrder order{static_cast<BirthOrderColumn>(state.range(0)),
                           state.range(1) != 0 ? Qt::DescendingOrder : Qt::AscendingOrder};
    const QString typed = QStringLiteral("sao paulo");
    qsizetype length = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(library.Search(typed.first(length), order));
        length = length % typed.size() + 1;
    }
}
BENCHMARK(BM_SortedSearchPerKeystroke)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->ArgNames({"column", "descending"})
    ->Unit(benchmark::kMillisecond);

// A date searched while typing, in each order: each prefix of a day ("1990-08-15", argument 0) or
// of a month named ("august 1990", argument 1); the prefixes that name a year, a month or a day
// search the dates as well as the names and places.
void BM_DateSearchPerKeystroke(benchmark::State& state) {
    BirthLibrary& library = *Library().library;
    const BirthOrder order{static_cast<BirthOrderColumn>(state.range(0)),
                           state.range(1) != 0 ? Qt::DescendingOrder : Qt::AscendingOrder};
    const QString typed =
        state.range(2) == 0 ? QStringLiteral("1990-08-15") : QStringLiteral("august 1990");
    qsizetype length = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(library.Search(typed.first(length), order));
        length = length % typed.size() + 1;
    }
}
BENCHMARK(BM_DateSearchPerKeystroke)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}, {0, 1}})
    ->ArgNames({"column", "descending", "named"})
    ->Unit(benchmark::kMillisecond);

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

// The births window as the user opens it: made, filled with every id in name order, shown and
// painted with its first screenful.
void BM_OpenBirthsWindow(benchmark::State& state) {
    BirthLibrary& library = *Library().library;
    for (auto _ : state) {
        frmBirths window(library);
        window.refresh();
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}
BENCHMARK(BM_OpenBirthsWindow)->Unit(benchmark::kMillisecond);

} // namespace
