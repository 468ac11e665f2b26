#pragma once

#include "library/BirthLibrary.h"
#include "request/ChartRequest.h"

#include <QIODevice>

#include <functional>
#include <optional>
#include <vector>

// Births as CSV in the batch's shape: its nine columns, so that an exported file runs through
// `korvani-chart --batch` unchanged, then named columns that only the library reads. The named
// text columns write a backslash, line feed, carriage return and NUL as \\, \n, \r and \0, so
// that every record stays on one line.
inline constexpr const char* birthCsvHeader =
    "name,date,time,lon,lat,zone,tz,place,dst,city,state,country,ianaZone,note,created,changed";

// Writes the header and every birth, ordered by name and date; `births`, when given, counts the
// births written.
std::optional<LibraryError> ExportBirths(BirthLibrary& library, QIODevice& output,
                                         qint64* births = nullptr);

// A row of an import file that was not stored: its line, the name and date as the file writes
// them (empty when the line could not be split into fields), and why.
struct RefusedRow {
    qint64 line = 0;
    QString message;
    bool inLibrary = false; // refused only because the library already holds the birth
    QString name;
    QString date;
};

// A name stored otherwise than the file writes it (NameInCapitals): "José Álvarez" as
// "JOSE ALVAREZ".
struct RenamedRow {
    qint64 line = 0;
    QString written; // as the file writes it
    QString stored;
    bool inLibrary = false; // a birth the library already holds
};

// The rows of an import file that may be added, and those refused.
struct BirthRows {
    std::vector<SavedBirth> births;
    std::vector<FieldsLeftOut> leftOut; // for each birth, the columns the file does not carry
    std::vector<qint64> lines;          // for each birth, its line in the file
    std::vector<RefusedRow> refused;
    std::vector<RenamedRow> renamed;
    // Without `replace`: the births refused only because the library holds them, in file order,
    // so that a caller who then chooses to replace them need not read the file again.
    std::vector<SavedBirth> inLibrary;
    std::vector<FieldsLeftOut> inLibraryLeftOut;
    std::vector<qint64> inLibraryLines;
    std::optional<QString> fileError; // the file as a whole cannot be used
    // The file could not be read to its end, after `linesRead` lines: the reason. The rows
    // read before it are no whole file and are not to be added.
    std::optional<QString> readError;
    qint64 linesRead = 0;
};

// Reads births by the batch's rules (ResolveChartRequest) and the name box's rule, each name
// written in capitals (NameInCapitals). A birth whose name and date are in `known` (BirthKey) or
// on an earlier line is refused, unless `replace`.
BirthRows ReadBirthRows(QIODevice& input, RememberedPlaceAnswers& places,
                        const QSet<QString>& known, bool replace);

struct ImportReport {
    qint64 added = 0;
    qint64 replaced = 0;  // written over the saved birth of the same name and date
    qint64 unchanged = 0; // asked to replace a saved birth that held the same already
    qint64 kept = 0;      // saved births the file holds too, kept as saved: replacing was declined
    std::vector<RefusedRow> refused;
    std::vector<RenamedRow> renamed; // of the births stored
    std::optional<QString> fileError;
    std::optional<QString> readError; // as BirthRows has it; nothing was added
    qint64 linesRead = 0;
    std::optional<LibraryError> error; // nothing was added
};

// What an import does with the births of the file that the library holds already.
enum class SavedBirthsInFile {
    Refuse,  // refused rows, as the command does without --replace
    Keep,    // kept as saved, as the window does when the user declines to replace them
    Replace, // written over the saved ones
};

// Stores the rows ReadBirthRows read in one transaction, and reports what became of each.
ImportReport StoreBirthRows(BirthLibrary& library, BirthRows rows, SavedBirthsInFile saved,
                            const std::function<void(qint64 rowsWritten)>& afterRow = {});

// Reads the rows and adds the accepted ones in one transaction.
ImportReport ImportBirths(BirthLibrary& library, QIODevice& input, RememberedPlaceAnswers& places,
                          bool replace,
                          const std::function<void(qint64 rowsWritten)>& afterRow = {});

// The refused rows as lines of text: "line N: name, date: message".
QString RefusedRowsText(const std::vector<RefusedRow>& refused);

// An import's report in words, for the window and the command alike. `summary`: "3 births
// added, 1 replaced, 2 kept as they were saved, 1 row refused; 1 name written in capitals A to
// Z". `details`: a line for each refused row, then one for each name written otherwise
// ("line 4: José Álvarez → JOSE ALVAREZ").
struct ImportReportTexts {
    QString summary;
    QString details;
};
ImportReportTexts ImportReportText(const ImportReport& report);
