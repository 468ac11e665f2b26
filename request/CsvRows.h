#pragma once

#include "request/ChartRequest.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Batch rows: CSV with the header row name,date,time,lon,lat,zone,tz,place,dst; one record a
// line. Further columns after the nine are read and ignored when the header names each of them
// (the library of births exports its own fields there).

inline constexpr const char* batchHeader = "name,date,time,lon,lat,zone,tz,place,dst";
inline constexpr int batchColumnCount = 9;
// A longer line is refused whole, without reading it into memory.
inline constexpr qsizetype longestBatchLineBytes = 64 * 1024;

// An open file descriptor read as a device: each read returns what the descriptor has now (at
// least one byte, waiting only when it has none), so that rows coming slowly down a pipe are
// answered as they come. QFile would wait to fill the whole request. A descriptor in
// non-blocking mode is waited for as a blocking one; a failed read gives -1 with the system's
// reason as the error string.
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
    // The next line; nothing at the end of the input, or when it could not be read.
    std::optional<InputLine> Next();
    // Why the input could not be read to its end (the device's error string); nothing when it
    // was, or is still being, read.
    const std::optional<QString>& ReadError() const { return readError_; }
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
    std::optional<QString> readError_;
};

// The text of a line, or nothing when it is not UTF-8. A byte-order mark at its start is no
// part of the text (as QString::fromUtf8 reads it).
std::optional<QByteArrayView> Utf8Line(QByteArrayView bytes);

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

// Appends one CSV field (UTF-8): in double quotes, its quotes doubled, when it holds a comma, a
// quote or a line break or has white space at either end (the batch trims values, so such
// blanks survive only quoted); as it is otherwise. SplitCsvLine reads it back unless it holds a
// line break, which ends a record however it is quoted: the births export writes a note's line
// breaks as escapes.
void AppendCsvField(std::string& out, std::string_view utf8);

// The column names of line 1 of a batch or a births file: the batch's nine first, then any
// further names, each given once. Names are compared without regard to case or to white space
// around them, and come back in lower case. Nothing when the line is not such a header.
std::optional<QStringList> ReadBatchHeader(const InputLine& line);

// The chart values of a split row of the batch's nine columns (at least nine fields): blank
// values are not given, and `dst` is read by its spellings or refused. The views are the row's.
std::variant<ChartFields, Refusal> BatchRowFields(const CsvFields& fields);
