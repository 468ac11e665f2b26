// Import and export in the batch's CSV shape, through a real library file.

#include "library/BirthCsv.h"
#include "LibraryFiles.h"

#include "request/CsvRows.h"

#include "places/PlaceIndex.h"
#include "places/PlaceSource.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

namespace {

RememberedPlaceAnswers NoPlaces() {
    return RememberedPlaceAnswers(nullptr);
}

RememberedPlaceAnswers Delhi() {
    return RememberedPlaceAnswers([] {
        Place delhi;
        delhi.name = QStringLiteral("New Delhi");
        delhi.state = QStringLiteral("Delhi");
        delhi.country = QStringLiteral("India");
        delhi.countryCode = QStringLiteral("IN");
        delhi.zoneId = "Asia/Kolkata";
        delhi.latitudeDegrees = 28.63576;
        delhi.longitudeDegrees = 77.22445;
        delhi.population = 317797;
        return LoadPlaceIndex(ListPlaceSource({delhi}));
    });
}

QByteArray Export(BirthLibrary& library) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const auto error = ExportBirths(library, buffer);
    EXPECT_FALSE(error) << error->message.toStdString();
    return buffer.data();
}

ImportReport Import(BirthLibrary& library, const QByteArray& csv, bool replace = false,
                    RememberedPlaceAnswers places = NoPlaces()) {
    QBuffer buffer;
    buffer.setData(csv);
    buffer.open(QIODevice::ReadOnly);
    return ImportBirths(library, buffer, places, replace);
}

struct Csv : ::testing::Test {
    QTemporaryDir folder;
    QString File(const char* name) { return folder.filePath(QString::fromLatin1(name)); }
};

TEST_F(Csv, ExportImportExportGivesTheSameFileAndEveryField) {
    BirthLibrary library(File("one.sqlite"));
    // A list-zone birth with the finder's zone beside it, hostile text in every text field.
    SavedBirth listed = FullBirth();
    listed.offsetSeconds = 19800; // Asia/Kolkata in 1990
    listed.ianaZone = QStringLiteral("Asia/Kolkata");
    listed.note = QStringLiteral("'; DROP TABLE births; --\nline two\r\\n literally, \"quoted\" "
                                 "\U0001F30C ") +
                  QChar(u'\0') + QStringLiteral(" end");
    listed.city = QStringLiteral("  São, Paulo  ");
    // A birth known by its IANA zone only: the database decides daylight saving.
    SavedBirth zoned = FullBirth(QStringLiteral("BEN OKAFOR"));
    zoned.zoneRow.clear();
    zoned.ianaZone = QStringLiteral("Europe/London");
    zoned.year = 1941;
    zoned.month = 6;
    zoned.offsetSeconds = 7200; // double summer time
    zoned.daylightSaving = true;
    zoned.note = QString(maxNoteLength, QChar(u'\u00e9'));
    SavedBirth plain = FullBirth(QStringLiteral("CARA"));
    plain.ianaZone.clear();
    plain.offsetSeconds.reset();
    plain.daylightSaving = false;
    plain.note.clear();
    plain.city = plain.state = plain.country = QString();
    for (SavedBirth* birth : {&listed, &zoned, &plain}) {
        ASSERT_TRUE(std::holds_alternative<BirthLibrary::SaveOutcome>(library.Save(*birth, false)));
    }
    const QByteArray first = Export(library);
    EXPECT_TRUE(first.startsWith(QByteArray(birthCsvHeader) + '\n'));

    BirthLibrary empty(File("two.sqlite"));
    const ImportReport report = Import(empty, first);
    ASSERT_FALSE(report.error);
    EXPECT_TRUE(report.refused.empty()) << RefusedRowsText(report.refused).toStdString();
    EXPECT_EQ(report.added, 3);
    EXPECT_EQ(Export(empty), first);

    // Field by field: the keys differ, nothing else.
    for (const SavedBirth* birth : {&listed, &zoned, &plain}) {
        const auto found = empty.Find(birth->name, birth->year, birth->month, birth->day);
        ASSERT_TRUE(std::get<std::optional<SavedBirth>>(found));
        SavedBirth back = *std::get<std::optional<SavedBirth>>(found);
        back.id = birth->id;
        EXPECT_EQ(back, *birth);
    }
}

TEST_F(Csv, TheExportedRowsAreTheBatchsNineColumnsFirst) {
    BirthLibrary library(File("one.sqlite"));
    SavedBirth listed = FullBirth();
    SavedBirth zoned = FullBirth(QStringLiteral("BEN"));
    zoned.zoneRow.clear();
    zoned.ianaZone = QStringLiteral("Asia/Kolkata");
    for (SavedBirth* birth : {&listed, &zoned}) {
        ASSERT_TRUE(std::holds_alternative<BirthLibrary::SaveOutcome>(library.Save(*birth, false)));
    }
    const QList<QByteArray> lines = Export(library).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith(
        "ASHA RAO,1990-08-15,10:30,077:13W,28:39S,\"Indian Time, IST, +5.3\",,,1,"));
    EXPECT_TRUE(lines[2].startsWith("BEN,1990-08-15,10:30,077:13W,28:39S,,Asia/Kolkata,,,"));
}

TEST_F(Csv, RefusedRowsAreListedWithLineNumbersAndTheRestAddedTogether) {
    BirthLibrary library(File("one.sqlite"));
    SavedBirth saved = FullBirth(QStringLiteral("SAVED"));
    ASSERT_TRUE(std::holds_alternative<BirthLibrary::SaveOutcome>(library.Save(saved, false)));
    const QByteArray csv = QByteArray(batchHeader) +
                           ",note\n"
                           "asha rao,1990-08-15,10:30,77:13E,28:39N,IST,,,0,a note\n"
                           "ΣΩΚΡΑΤΗΣ,1990-08-15,10:30,77:13E,28:39N,IST,,,0,\n"
                           ",1990-08-15,10:30,77:13E,28:39N,IST,,,0,\n"
                           "BEN,1990-02-30,10:30,77:13E,28:39N,IST,,,0,\n"
                           "BEN,1990-08-15,10:30,277:13E,28:39N,IST,,,0,\n"
                           "Asha Rao,1990-08-15,11:00,77:13E,28:39N,IST,,,0,\n"
                           "saved,1990-08-15,10:30,77:13E,28:39N,IST,,,0,\n"
                           "\n"
                           "CARA,1990-08-15,10:30,,,,,New Delhi,,bad \\q\n"
                           "DEV,1990-08-15,10:30,,,,,New Delhi,,\n"
                           "EVE,1990-08-15,10:30,77:13E,28:39N,IST,,,maybe,\n" +
                           "FAY,1990-08-15,10:30,77:13E,28:39N,IST,,,0," +
                           QByteArray(maxNoteLength + 1, 'n') + "\n";
    const ImportReport report = Import(library, csv, false, Delhi());
    ASSERT_FALSE(report.error);
    ASSERT_FALSE(report.fileError);
    // Each refused row by its line, the name and date as the file writes them, and the reason.
    const char* const expected =
        "line 3: ΣΩΚΡΑΤΗΣ, 1990-08-15: the name may hold only the letters A to Z and blanks\n"
        "line 4: 1990-08-15: the name is empty\n"
        "line 5: BEN, 1990-02-30: date: Please Enter Correct Date Or Month!\n"
        "line 6: BEN, 1990-08-15: lon: Please Enter Value Between 0 And 179 in the Degree of "
        "Longitude\n"
        "line 7: Asha Rao, 1990-08-15: the same name and date are already on line 2\n"
        "line 8: saved, 1990-08-15: a birth of this name and date is already saved\n"
        "line 10: CARA, 1990-08-15: note: a backslash must be followed by \\, n, r or 0\n"
        "line 12: EVE, 1990-08-15: dst: expected 1 or 0, true or false, yes or no (got "
        "\"maybe\")\n"
        "line 13: FAY, 1990-08-15: note: longer than 2000 characters\n";
    EXPECT_EQ(RefusedRowsText(report.refused).toStdString(), expected);
    EXPECT_EQ(report.added, 2);
    // The place row: coordinates of the place, its zone by name, its words as the place.
    const auto dev =
        std::get<std::optional<SavedBirth>>(library.Find(QStringLiteral("DEV"), 1990, 8, 15));
    ASSERT_TRUE(dev);
    EXPECT_EQ(dev->longitudeDegrees + u':' + dev->longitudeMinutes, QStringLiteral("77:13"));
    EXPECT_EQ(dev->ianaZone, QStringLiteral("Asia/Kolkata"));
    EXPECT_EQ(dev->offsetSeconds, 19800);
    EXPECT_TRUE(dev->zoneRow.isEmpty());
    EXPECT_EQ(dev->city, QStringLiteral("New Delhi"));
    EXPECT_EQ(std::get<qint64>(CountBirths(library)), 3);
}

TEST_F(Csv, ReplacingTakesTheImportedBirthInsteadOfTheSavedOne) {
    BirthLibrary library(File("one.sqlite"));
    SavedBirth saved = FullBirth();
    ASSERT_TRUE(std::holds_alternative<BirthLibrary::SaveOutcome>(library.Save(saved, false)));
    const QByteArray csv = QByteArray(batchHeader) +
                           ",note\nASHA RAO,1990-08-15,11:45,77:13E,28:39N,IST,,,0,replaced\n";
    EXPECT_EQ(Import(library, csv, false).added, 0);
    const ImportReport report = Import(library, csv, true);
    EXPECT_EQ(report.added, 0);
    EXPECT_EQ(report.replaced, 1);
    EXPECT_TRUE(report.refused.empty());
    const auto found = *std::get<std::optional<SavedBirth>>(library.Find(saved.name, 1990, 8, 15));
    EXPECT_EQ(found.note, QStringLiteral("replaced"));
    EXPECT_EQ(found.hour, 11);
    EXPECT_EQ(std::get<qint64>(CountBirths(library)), 1);
}

// Replacing updates the saved birth in place: it keeps its id and time of creation, and every
// column the file does not carry; its time of change moves only when a field changed.
TEST_F(Csv, ReplacingKeepsWhatTheFileDoesNotCarry) {
    const QByteArray nine = QByteArray(batchHeader) + '\n';
    const QByteArray row = "ASHA RAO,1990-08-15,11:45,77:13E,28:39N,IST,,,0";
    const struct {
        const char* why;
        QByteArray csv;
        const char* note; // what the saved birth holds afterwards
        const char* city;
        int hour;
        bool changedMoves;
        qint64 replaced, unchanged;
    } cases[] = {
        {"nine columns: the note and the place stay", nine + row + '\n', "kept", "Zürich", 11, true,
         1, 0},
        {"the same nine again: nothing changes, the time of change stays", nine + row + '\n',
         "kept", "Zürich", 11, false, 0, 1},
        {"a note column, even empty, is carried", nine.trimmed() + ",note\n" + row + ",\n", "",
         "Zürich", 11, true, 1, 0},
        {"a city column is carried", nine.trimmed() + ",city\n" + row + ",Pune\n", "", "Pune", 11,
         true, 1, 0},
    };
    BirthLibrary library(File("one.sqlite"));
    std::vector<SavedBirth> births{FullBirth()};
    SavedBirth& saved = births.front();
    saved.note = QStringLiteral("kept");
    // Saved long ago, so that a change now moves the time of change whatever the clock's grain.
    const QDateTime longAgo(QDate(2020, 1, 2), QTime(3, 4), Qt::UTC);
    saved.created = saved.changed = longAgo;
    ASSERT_FALSE(library.AddAll(births, false));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        {
            RawFile raw(library.Path());
            ASSERT_TRUE(raw.Run(QStringLiteral("UPDATE births SET changed = '%1'")
                                    .arg(longAgo.toString(Qt::ISODateWithMs))));
        }
        const ImportReport report = Import(library, c.csv, true);
        ASSERT_FALSE(report.error);
        EXPECT_EQ(report.replaced, c.replaced);
        EXPECT_EQ(report.unchanged, c.unchanged);
        EXPECT_EQ(report.added, 0);
        const auto found = std::get<std::optional<SavedBirth>>(library.Load(saved.id));
        ASSERT_TRUE(found) << "the saved birth's id is gone";
        EXPECT_EQ(found->note, QString::fromUtf8(c.note));
        EXPECT_EQ(found->city, QString::fromUtf8(c.city));
        EXPECT_EQ(found->hour, c.hour);
        EXPECT_EQ(found->created, saved.created);
        EXPECT_EQ(found->changed != longAgo, c.changedMoves);
    }
    EXPECT_EQ(std::get<qint64>(CountBirths(library)), 1);
}

// Another import saves a birth of the file while the file is read: its row is refused as any
// saved birth's is, and the others are added.
TEST_F(Csv, ABirthSavedByAnOverlappingImportIsRefusedNotAFailure) {
    struct SavingWhileRead : QBuffer {
        QString path;
        bool saved = false;
        qint64 readData(char* data, qint64 size) override {
            if (!saved) {
                saved = true;
                BirthLibrary other(path);
                SavedBirth birth = FullBirth(QStringLiteral("BEN"));
                EXPECT_TRUE(
                    std::holds_alternative<BirthLibrary::SaveOutcome>(other.Save(birth, false)));
            }
            return QBuffer::readData(data, size);
        }
    };
    BirthLibrary library(File("one.sqlite"));
    ASSERT_FALSE(library.Open());
    SavingWhileRead input;
    input.path = library.Path();
    input.setData(QByteArray(batchHeader) + "\nASHA,1990-08-15,10:30,77:13E,28:39N,IST,,,0\n" +
                  "BEN,1990-08-15,10:30,77:13E,28:39N,IST,,,0\n");
    input.open(QIODevice::ReadOnly);
    RememberedPlaceAnswers places = NoPlaces();
    const ImportReport report = ImportBirths(library, input, places, false);
    ASSERT_FALSE(report.error) << report.error->message.toStdString();
    EXPECT_EQ(report.added, 1);
    EXPECT_EQ(RefusedRowsText(report.refused),
              QStringLiteral("line 3: BEN, 1990-08-15: a birth of this name and date is already "
                             "saved\n"));
}

// What is imported is exported on lines that import again: a row that its export would lengthen
// past the line limit (the zone row's text, quotes around a city) is refused on import.
TEST_F(Csv, AnImportedBirthAlwaysExportsOnALineThatImportsAgain) {
    BirthLibrary library(File("one.sqlite"));
    const QByteArray head = QByteArray(batchHeader) + ",city\n";
    const QByteArray start = "ASHA,1990-08-15,10:30,77:13E,28:39N,34,,,0,";
    const QByteArray fits = start + QByteArray(1000, 'c') + '\n';
    QByteArray nearLimit = start + "\"a, ";
    nearLimit += QByteArray(longestBatchLineBytes - nearLimit.size() - 1, 'c') + "\"\n";
    nearLimit.replace("ASHA", "BEN ");
    const ImportReport report = Import(library, head + fits + nearLimit);
    ASSERT_FALSE(report.error);
    EXPECT_EQ(report.added, 1);
    ASSERT_EQ(report.refused.size(), 1u);
    EXPECT_EQ(report.refused[0].line, 3);
    BirthLibrary again(File("two.sqlite"));
    const ImportReport back = Import(again, Export(library));
    EXPECT_EQ(back.added, 1) << RefusedRowsText(back.refused).toStdString();
}

// An export longer than the writer's 1 MiB pieces: one line per birth, and it imports whole.
TEST_F(Csv, AnExportOfOverAMebibyteHasOneLinePerBirthAndImportsWhole) {
    BirthLibrary library(File("one.sqlite"));
    std::vector<SavedBirth> births;
    for (int n = 0; n < 600; ++n) {
        births.push_back(FullBirth());
        births.back().year = 1901 + n % 150;
        births.back().month = 1 + n / 150;
        births.back().note = QString(maxNoteLength / 2, u'\n') + QString(maxNoteLength / 2, u'é');
    }
    ASSERT_FALSE(library.AddAll(births, false));
    const QByteArray exported = Export(library);
    ASSERT_GT(exported.size(), 1 << 20);
    EXPECT_EQ(exported.count('\n'), 601);
    BirthLibrary again(File("two.sqlite"));
    const ImportReport report = Import(again, exported);
    EXPECT_EQ(report.added, 600) << RefusedRowsText(report.refused).toStdString();
    EXPECT_EQ(Export(again), exported);
}

TEST_F(Csv, AFileWithoutTheHeaderIsRefusedWhole) {
    BirthLibrary library(File("one.sqlite"));
    for (const char* header :
         {"name,date,time,lon,lat,zone,tz,place", "name,date,time,lon,lat,zone,tz,place,dst,colour",
          "name,date,time,lon,lat,zone,tz,place,dst,note,note", ""}) {
        const ImportReport report =
            Import(library, QByteArray(header) + "\nA,1990-08-15,10:30,77:13E,28:39N,IST,,,0\n");
        EXPECT_TRUE(report.fileError) << header;
        EXPECT_EQ(report.added, 0);
    }
}

} // namespace

namespace {

// The report counts each outcome apart and names each refused row and each name written
// otherwise, for each way of treating the births the library holds already.
TEST_F(Csv, TheReportCountsEachOutcomeAndNamesTheNamesWrittenOtherwise) {
    const QByteArray csv = QByteArray(batchHeader) +
                           "\n"
                           "José Álvarez,1979-03-02,10:30,77:13E,28:39N,IST,,,0\n"
                           "Zoë,1990-08-15,10:30,77:13E,28:39N,IST,,,0\n"
                           "ASHA RAO,1990-08-15,11:45,77:13E,28:39N,IST,,,0\n"
                           "Σωκράτης,1979-03-02,10:30,77:13E,28:39N,IST,,,0\n"
                           "Renée,1990-08-15,11:45,77:13E,28:39N,IST,,,0\n";
    const char* const greek = "line 5: Σωκράτης, 1979-03-02: the name may hold only the letters A "
                              "to Z and blanks\n";
    const char* const renamed = "line 2: José Álvarez → JOSE ALVAREZ\n"
                                "line 3: Zoë → ZOE\n";
    const struct {
        const char* why;
        SavedBirthsInFile saved;
        const char* summary;
        std::string details;
    } cases[] = {
        {"keptWhenReplacingIsDeclined", SavedBirthsInFile::Keep,
         "2 births added, 0 replaced, 2 kept as they were saved, 1 row refused; 2 names written "
         "in capitals A to Z",
         std::string(greek) + renamed},
        {"refusedWithoutReplace", SavedBirthsInFile::Refuse,
         "2 births added, 0 replaced, 0 kept as they were saved, 3 rows refused; 2 names written "
         "in capitals A to Z",
         std::string("line 4: ASHA RAO, 1990-08-15: a birth of this name and date is already "
                     "saved\n") +
             greek + "line 6: Renée, 1990-08-15: a birth of this name and date is already saved\n" +
             renamed},
        {"replaced", SavedBirthsInFile::Replace,
         "2 births added, 2 replaced, 0 kept as they were saved, 1 row refused; 3 names written "
         "in capitals A to Z",
         std::string(greek) + renamed + "line 6: Renée → RENEE\n"},
    };
    int run = 0;
    for (const auto& c : cases) {
        BirthLibrary library(folder.filePath(QStringLiteral("%1.sqlite").arg(++run)));
        for (const char* name : {"ASHA RAO", "RENEE"}) {
            SavedBirth birth = FullBirth(QString::fromUtf8(name));
            ASSERT_TRUE(
                std::holds_alternative<BirthLibrary::SaveOutcome>(library.Save(birth, false)));
        }
        QBuffer buffer;
        buffer.setData(csv);
        buffer.open(QIODevice::ReadOnly);
        RememberedPlaceAnswers places = NoPlaces();
        const auto known = library.KnownBirths();
        ASSERT_TRUE(std::holds_alternative<QSet<QString>>(known));
        const ImportReport report = StoreBirthRows(
            library, ReadBirthRows(buffer, places, std::get<QSet<QString>>(known), false), c.saved);
        ASSERT_FALSE(report.error) << c.why;
        const ImportReportTexts texts = ImportReportText(report);
        EXPECT_EQ(texts.summary.toStdString(), c.summary) << c.why;
        EXPECT_EQ(texts.details.toStdString(), c.details) << c.why;
        EXPECT_EQ(std::get<qint64>(CountBirths(library)), 4) << c.why;
    }
}

} // namespace
