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
// line. Further columns after the nine are read and ignored when the header names each of them
// (the library of births exports its own fields there). Each data row becomes one output line, in
// input order: the chart, or its refusal.

inline constexpr const char* batchHeader = "name,date,time,lon,lat,zone,tz,place,dst";
inline constexpr int batchColumnCount = 9;
// A longer line is refused whole, without reading it into memory.
inline constexpr qsizetype longestBatchLineBytes = 64 * 1024;

enum class OutputFormat { Table, Json, Csv };

// An open file descriptor read as a device: each read returns what the descriptor has now (at
// least one byte, waiting only when it has none), so that rows coming slowly down a pipe are
// answered as they come. QFile would wait to fill the whole request.
class DescriptorDevice : public QIODevice {
  public:
    explicit DescriptorDevice(int descriptor) : descriptor_(descriptor) {}
    int Descriptor() const { return descriptor_; }
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    int descriptor_;
};

// One line of input without its line end; a line longer than longestBatchLineBytes comes as
// `tooLong` without its bytes.
struct InputLine {
    QByteArrayView bytes;
    bool tooLong = false;
};

// Reads the lines of a device through one buffer, a large piece at a time. A line ends at LF,
// CR LF or a CR alone. A line's bytes stay valid until the next call of Next.
class LineReader {
  public:
    explicit LineReader(QIODevice& input);
    // The next line; nothing at the end of the input.
    std::optional<InputLine> Next();
    // Whether the next line would have to wait for input that has not come yet: no whole line is
    // in the buffer, and the device is a pipe or terminal with nothing to read now.
    bool WouldWait() const;

  private:
    static constexpr qsizetype readPieceBytes = 256 * 1024;
    static InputLine Measured(QByteArrayView bytes, bool tooLong);

    QIODevice& input_;
    QByteArray buffer_;
    qsizetype start_ = 0; // the unread bytes of the buffer
    qsizetype end_ = 0;
    bool ended_ = false; // the device has no more
};

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

// The chart values of a split row of the batch's nine columns (at least nine fields): blank
// values are not given, and `dst` is read by its spellings or refused. The views are the row's.
std::variant<ChartFields, Refusal> BatchRowFields(const CsvFields& fields);

// The rows of one batch, read and answered.
struct BatchSummary {
    qint64 rows = 0;
    qint64 refusedRows = 0;
    std::optional<QString> fileError; // the input as a whole cannot be used; nothing written
    bool writeFailed = false;         // `write` said no: the run stopped there
};

// Hands a piece of output on; false when it could not be written, which stops the batch at once.
using BatchWrite = std::function<bool(const QByteArray&)>;

// Reads CSV rows from `input`, resolves and computes each, and passes the output to `write` in
// input order, one piece of whole lines for each chunk of rows as it is done (JSON Lines, or CSV
// with a header). A refused row gives its message in its own line and never affects another
// row. With `jobs` above 1, chunks of rows are computed and formatted on that many threads,
// each with its own remembered answers over the shared place index; the output is the same.
// What is held at once stays within a fixed bound, whatever `jobs` is. JSON Lines carry each
// chart's `charts` cells only `withCharts`.
BatchSummary RunBatch(QIODevice& input, OutputFormat format, PlaceAndZoneCache& places,
                      const BatchWrite& write, int jobs = 1, bool withCharts = false);

// The processors this process may run on: its CPU affinity, within the CPU limit of its control
// group (cgroup v2 cpu.max, or v1 cpu.cfs_quota_us and cpu.cfs_period_us). At least 1.
int UsableProcessorCount();

// The whole processors a control group's limit allows, rounded up: the text of cgroup v2's
// cpu.max ("200000 100000", "max 100000"); nothing when it sets no limit or cannot be read.
std::optional<int> ProcessorsOfCpuMax(QByteArrayView cpuMax);
