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

struct RefusedRow {
    qint64 line = 0;
    QString message;
    bool inLibrary = false; // refused only because the library already holds the birth
};

// The rows of an import file that may be added, and those refused.
struct BirthRows {
    std::vector<SavedBirth> births;
    std::vector<FieldsLeftOut> leftOut; // for each birth, the columns the file does not carry
    std::vector<qint64> lines;          // for each birth, its line in the file
    std::vector<RefusedRow> refused;
    // Without `replace`: the births refused only because the library holds them, in file order,
    // so that a caller who then chooses to replace them need not read the file again.
    std::vector<SavedBirth> inLibrary;
    std::vector<FieldsLeftOut> inLibraryLeftOut;
    std::optional<QString> fileError; // the file as a whole cannot be used
    // The file could not be read to its end, after `linesRead` lines: the reason. The rows
    // read before it are no whole file and are not to be added.
    std::optional<QString> readError;
    qint64 linesRead = 0;
};

// Reads births by the batch's rules (ResolveChartRequest) and the name box's rule. A
// birth whose name and date are in `known` (BirthKey) or on an earlier line is refused, unless
// `replace`.
BirthRows ReadBirthRows(QIODevice& input, RememberedPlaceAnswers& places,
                        const QSet<QString>& known, bool replace);

struct ImportReport {
    qint64 added = 0;
    qint64 replaced = 0;  // written over the saved birth of the same name and date
    qint64 unchanged = 0; // asked to replace a saved birth that held the same already
    std::vector<RefusedRow> refused;
    std::optional<QString> fileError;
    std::optional<QString> readError; // as BirthRows has it; nothing was added
    qint64 linesRead = 0;
    std::optional<LibraryError> error; // nothing was added
};

// Reads the rows and adds the accepted ones in one transaction.
ImportReport ImportBirths(BirthLibrary& library, QIODevice& input, RememberedPlaceAnswers& places,
                          bool replace,
                          const std::function<void(qint64 rowsWritten)>& afterRow = {});

// The refused rows as lines of text: "line N: message".
QString RefusedRowsText(const std::vector<RefusedRow>& refused);
