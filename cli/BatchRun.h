#pragma once

#include "cli/ChartRequest.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Batch rows: CSV with the header row name,date,time,lon,lat,zone,tz,place,dst; one record a
// line. Each data row becomes one output line, in input order: the chart, or its refusal.

inline constexpr const char* batchHeader = "name,date,time,lon,lat,zone,tz,place,dst";
inline constexpr int batchColumnCount = 9;
// A longer line is refused whole, without reading it into memory.
inline constexpr qsizetype longestBatchLineBytes = 64 * 1024;

enum class OutputFormat { Table, Json, Csv };

// The fields of one CSV line, as views of the line or, for a quoted field that holds doubled
// quotes, of `unquoted`. Kept from line to line so that the storage is reused.
struct CsvFields {
    std::vector<QByteArrayView> values;
    std::string unquoted; // such fields with their doubled quotes made single
};

// Splits a line into `fields`, which are overwritten: separated by commas, a field in double
// quotes may hold commas and doubled quotes. A quoted field cannot run past the end of its
// line. The problem, when the quotes do not balance. The views stay valid while the line's
// bytes do and until `fields` is used again.
std::optional<QString> SplitCsvLine(QByteArrayView line, CsvFields& fields);

// The rows of one batch, read and answered.
struct BatchSummary {
    qint64 rows = 0;
    qint64 refusedRows = 0;
    std::optional<QString> fileError; // the input as a whole cannot be used; nothing written
};

// Reads CSV rows from `input`, resolves and computes each, and passes the output in pieces to
// `write` (JSON Lines, or CSV with a header). A refused row gives its message in its own line
// and never affects another row.
BatchSummary RunBatch(QIODevice& input, OutputFormat format, PlaceLookup& places,
                      const std::function<void(const QByteArray&)>& write);
