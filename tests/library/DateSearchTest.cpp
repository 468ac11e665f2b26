#include "LibraryFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A search that names a date finds the births on it; one that names no real date finds only
// names and places holding the text.
TEST(DateSearch, FindsTheBirthsOnTheDatesATextNames) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    BirthLibrary library(folder.filePath(QStringLiteral("births.sqlite")));
    ASSERT_FALSE(library.Open());
    const struct {
        const char* name;
        int year, month, day;
    } births[] = {{"ASHA VERMA", 1990, 8, 15},
                  {"ASHA VERMA", 1991, 1, 20},
                  {"RAVI", 1990, 12, 1},
                  {"MIRA", 1989, 8, 15}};
    for (const auto& given : births) {
        SavedBirth birth = FullBirth(QString::fromLatin1(given.name));
        birth.year = given.year;
        birth.month = given.month;
        birth.day = given.day;
        ASSERT_TRUE(std::holds_alternative<BirthLibrary::SaveOutcome>(library.Save(birth, false)));
    }
    struct Row {
        const char* why;
        const char* text;
        std::vector<QString> found; // "NAME YYYY-MM-DD", by name then date
    };
    const Row rows[] = {
        {"aYear", "1990", {"ASHA VERMA 1990-08-15", "RAVI 1990-12-01"}},
        {"aYearWithBlanksAround", " 1989 ", {"MIRA 1989-08-15"}},
        {"aMonthOfAYear", "1990-08", {"ASHA VERMA 1990-08-15"}},
        {"aMonthOfOneDigit", "1990-8", {"ASHA VERMA 1990-08-15"}},
        {"aDay", "1990-12-01", {"RAVI 1990-12-01"}},
        {"aMonthByName", "August 1990", {"ASHA VERMA 1990-08-15"}},
        {"aMonthByShortNameInSmallLetters", "aug 1989", {"MIRA 1989-08-15"}},
        {"theSameDayOfAnotherYear", "1991-08-15", {}},
        {"noSuchMonth", "1990-13", {}},
        {"noSuchDay", "1990-02-30", {}},
        {"notAMonthName", "Augustus 1990", {}},
        {"aPartOfAYear", "199", {}},
        {"namesStillSearched", "verma", {"ASHA VERMA 1990-08-15", "ASHA VERMA 1991-01-20"}},
    };
    for (const Row& row : rows) {
        auto found = library.Search(QString::fromLatin1(row.text));
        ASSERT_TRUE(std::holds_alternative<std::vector<qint64>>(found)) << row.why;
        std::vector<QString> shown;
        for (const qint64 id : std::get<std::vector<qint64>>(found)) {
            const auto birth = std::get<std::optional<SavedBirth>>(library.Load(id));
            ASSERT_TRUE(birth) << row.why;
            shown.push_back(birth->name + u' ' + BirthDateText(*birth));
        }
        EXPECT_EQ(shown, row.found) << row.why;
    }
}

} // namespace
