#pragma once

#include "precise/CalculationSettings.h"
#include "request/CsvRows.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>
#include <optional>

// A batch: each data row of the CSV input (request/CsvRows.h) becomes one output line, in input
// order: the chart, or its refusal.

enum class OutputFormat { Table, Json, Csv };

// The rows of one batch, read and answered.
struct BatchSummary {
    qint64 rows = 0;
    qint64 refusedRows = 0;
    std::optional<QString> fileError; // the input as a whole cannot be used; nothing written
    // The input could not be read to its end: the reason, after the rows read before it were
    // answered; `lines` counts the lines read.
    std::optional<QString> readError;
    qint64 lines = 0;
    bool writeFailed = false; // `write` said no: the run stopped there
};

// Hands a piece of output on; false when it could not be written, which stops the batch at once.
using BatchWrite = std::function<bool(const QByteArray&)>;

// Reads CSV rows from `input`, resolves and computes each, and passes the output to `write` in
// input order, one piece of whole lines for each chunk of rows as it is done (JSON Lines, or CSV
// with a header). A refused row gives its message in its own line and never affects another
// row. With `jobs` above 1, chunks of rows are computed and formatted on that many threads,
// each with its own remembered answers over the shared place index; the output is the same.
// What is held at once stays within a fixed bound, whatever `jobs` is. JSON Lines carry each
// chart's `charts` cells only `withCharts`. Every chart is calculated by `settings`; a chart the
// precise engine cannot calculate is refused on its row.
BatchSummary RunBatch(QIODevice& input, OutputFormat format, RememberedPlaceAnswers& places,
                      const BatchWrite& write, int jobs = 1, bool withCharts = false,
                      const CalculationSettings& settings = {});

// The processors this process may run on: its CPU affinity, within the CPU limit of its control
// group (cgroup v2 cpu.max, or v1 cpu.cfs_quota_us and cpu.cfs_period_us). At least 1.
int UsableProcessorCount();

// The whole processors a control group's limit allows, rounded up: the text of cgroup v2's
// cpu.max ("200000 100000", "max 100000"); nothing when it sets no limit or cannot be read.
std::optional<int> ProcessorsOfCpuMax(QByteArrayView cpuMax);
